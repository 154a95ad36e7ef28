#include "core/config/installation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStorageInfo>
#include <algorithm>
#include <utility>

#include "core/config/recordfile.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace morla {

namespace {

const QString kWin95 = QStringLiteral("Windows 95");

QString withoutTrailingSeparator(const QString& folder) {
    QString f = folder;
    while (f.size() > 1 && (f.endsWith('/') || f.endsWith('\\')) &&
           !f.endsWith(QStringLiteral(":\\")))
        f.chop(1);
    return f;
}

QString join(const QString& base, const QStringList& parts) {
    QString path = base;
    for (const QString& p : parts) path = JoinPath(path, p);
    return path;
}

QString equipmentFolder(const QString& app) {
    return join(
        app, {QStringLiteral("Utilerias"), QStringLiteral("Generales"), QStringLiteral("Equipos")});
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QFileInfoList matching(const QString& folder, const QString& pattern) {
    // Name filters match without regard to letter case.
    return QDir(folder).entryInfoList({pattern}, QDir::Files | QDir::Hidden | QDir::System,
                                      QDir::Name);
}

// Copies a folder with everything in it; on failure names what could not be copied.
bool copyTree(const QString& from, const QString& to, QString* failed) {
    if (!QDir().mkpath(to)) {
        *failed = to;
        return false;
    }
    const QFileInfoList entries = QDir(from).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                           QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& e : entries) {
        const QString target = JoinPath(to, e.fileName());
        if (e.isDir()) {
            if (!copyTree(e.filePath(), target, failed)) return false;
        } else if (!QFile::copy(e.filePath(), target)) {
            *failed = e.filePath();
            return false;
        }
    }
    return true;
}

// Renames done so far, undone in reverse order when a later one fails.
class Journal {
  public:
    bool move(const QString& from, const QString& to) {
        if (!QDir().rename(from, to)) {
            failed_ = from;
            return false;
        }
        done_.emplace_back(from, to);
        return true;
    }
    void undo() {
        for (auto it = done_.rbegin(); it != done_.rend(); ++it)
            QDir().rename(it->second, it->first);
        done_.clear();
    }
    QString failed() const { return failed_; }

  private:
    std::vector<std::pair<QString, QString>> done_;
    QString failed_;
};

}  // namespace

QStringList SelectorEquipment() {
    return {QStringLiteral("Sorvanell"),  QStringLiteral("Luvero"),
            QStringLiteral("Zentavira"),  QStringLiteral("Haldrivonexa"),
            QStringLiteral("Quarn"),      QStringLiteral("Quarn Dolmeth"),
            QStringLiteral("Pellitor"),   QStringLiteral("Kovalindres"),
            QStringLiteral("Tervolinda"), QStringLiteral("Tervolinda Voz")};
}

QStringList SelectorOperatingSystems() {
    return {kWin95,
            QStringLiteral("Windows 98"),
            QStringLiteral("Windows Me"),
            QStringLiteral("Windows XP"),
            QStringLiteral("Windows NT 4.0"),
            QStringLiteral("Windows 2000")};
}

QString ModelFolderName(const QString& equipment) {
    if (equipment == QStringLiteral("Quarn Dolmeth")) return QStringLiteral("Quarn");
    if (equipment == QStringLiteral("Tervolinda Voz")) return QStringLiteral("Tervolinda");
    return equipment;
}

QStringList KitFolderNames() {
    QStringList names{QStringLiteral("Imagenes"), QStringLiteral("Utilerias")};
    for (const QString& e : SelectorEquipment())
        if (!names.contains(ModelFolderName(e))) names << ModelFolderName(e);
    return names;
}

QString DriveRoot(const QString& appFolder) {
    const QString app = withoutTrailingSeparator(appFolder);
#ifdef Q_OS_WIN
    if (app.size() >= 2 && app.at(1) == ':') return app.left(2) + QStringLiteral("\\");
    return native(QStorageInfo(app).rootPath());
#else
    return native(QFileInfo(QDir::cleanPath(app)).absolutePath());
#endif
}

QString InstallationMarker(const QString& appFolder) {
    return JoinPath(equipmentFolder(withoutTrailingSeparator(appFolder)),
                    QStringLiteral("KLMV.DLL"));
}

QString InstallationWorkFolder(const QString& appFolder) {
    return JoinPath(DriveRoot(appFolder), QStringLiteral("Tempo2"));
}

QString AuxiliaryProgram(const QString& appFolder) {
    return JoinPath(DriveRoot(appFolder), QStringLiteral("lnkx.exe"));
}

bool InstallationPending(const QString& appFolder) {
    return FileExists(InstallationMarker(appFolder));
}

void RemoveAuxiliaryProgram(const QString& appFolder) {
    DeleteFile(AuxiliaryProgram(appFolder));
}

InstallResult InstallForEquipment(const QString& appFolder, const QString& equipment,
                                  const QString& operatingSystem) {
    InstallResult r;
    const QString app = withoutTrailingSeparator(appFolder);
    const QString drive = DriveRoot(app);
    const QString work = InstallationWorkFolder(app);
    const QString modelFolder = ModelFolderName(equipment);

    // Every source is looked for first: a missing one stops the installation untouched.
    auto folder = [&r](const QString& path) {
        const QString real = ResolvePath(path);
        if (QFileInfo(real).isDir()) return real;
        r.missing << native(path);
        return QString();
    };
    auto file = [&r](const QString& path) {
        const QString real = ResolvePath(path);
        if (QFileInfo(real).isFile()) return real;
        r.missing << native(path);
        return QString();
    };
    const QString images = folder(JoinPath(app, QStringLiteral("Imagenes")));
    const QString model = folder(JoinPath(app, modelFolder));
    const QString equip = folder(equipmentFolder(app));
    QString settings, library;
    QFileInfoList dataFiles, auxiliary;
    if (!equip.isEmpty()) {
        settings = file(JoinPath(equip, equipment + QStringLiteral(".Ccon")));
        library = file(JoinPath(equip, operatingSystem == kWin95 ? QStringLiteral("KLMV95.DLL")
                                                                 : QStringLiteral("KLMV.DLL")));
        auxiliary = matching(equip, QStringLiteral("lnkx.*"));
        if (auxiliary.isEmpty()) r.missing << native(JoinPath(equip, QStringLiteral("lnkx.*")));
        for (const QString& pattern :
             {QStringLiteral("Equipo.*"), QStringLiteral("Comandos.*"),
              QStringLiteral("Usuarios.*"), QStringLiteral("UltEnvio.*")}) {
            const QFileInfoList found = matching(equip, pattern);
            // A program that never wrote a configuration has no last-sent record yet.
            if (found.isEmpty() && pattern != QStringLiteral("UltEnvio.*"))
                r.missing << native(JoinPath(equip, pattern));
            dataFiles << found;
        }
    }
    if (!r.missing.isEmpty()) {
        r.error = QStringLiteral(
                      "No se pudo instalar %1: falta %2\nLa carpeta del programa "
                      "quedó como estaba.")
                      .arg(equipment, r.missing.join(QStringLiteral(", ")));
        return r;
    }

    if (QFileInfo::exists(work) && !QDir(work).removeRecursively()) {
        r.error = QStringLiteral(
                      "No se pudo borrar la carpeta de trabajo %1. La carpeta del "
                      "programa quedó como estaba.")
                      .arg(native(work));
        return r;
    }
    const QString fresh = JoinPath(work, QStringLiteral("Nuevo"));
    const QString previous = JoinPath(work, QStringLiteral("Anterior"));
    const QString staged = JoinPath(work, QStringLiteral("Auxiliar"));
    const QString newEquip = equipmentFolder(fresh);
    auto stop = [&](const QString& why) {
        QDir(work).removeRecursively();
        r.error = why + QStringLiteral("\nLa carpeta del programa quedó como estaba.");
        return r;
    };

    // The new layout, whole, in the work folder.
    QString failed;
    bool copied = QDir().mkpath(newEquip) && QDir().mkpath(previous) && QDir().mkpath(staged);
    if (!copied) failed = work;
    copied = copied && copyTree(images, JoinPath(fresh, QFileInfo(images).fileName()), &failed);
    copied = copied && copyTree(model, JoinPath(fresh, QFileInfo(model).fileName()), &failed);
    auto copyFile = [&failed](const QString& from, const QString& to) {
        if (QFile::copy(from, to)) return true;
        failed = from;
        return false;
    };
    for (const QFileInfo& f : dataFiles)
        copied = copied && copyFile(f.filePath(), JoinPath(newEquip, f.fileName()));
    copied = copied && copyFile(settings, JoinPath(newEquip, QStringLiteral("Software.Ccon")));
    copied = copied && copyFile(library, JoinPath(fresh, QStringLiteral("DRQdll.dll")));
    for (const QFileInfo& f : auxiliary)
        copied = copied && copyFile(f.filePath(), JoinPath(staged, f.fileName()));
    if (!copied)
        return stop(
            QStringLiteral("No se pudo copiar %1 en %2.").arg(native(failed), native(work)));

    // The swap: the kit's old folders and line library go aside, the new ones take their place.
    Journal journal;
    bool moved = true;
    const QStringList kit = KitFolderNames();
    const QFileInfoList present =
        QDir(app).entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& e : present) {
        const bool kitFolder = std::any_of(kit.begin(), kit.end(), [&e](const QString& k) {
            return k.compare(e.fileName(), Qt::CaseInsensitive) == 0;
        });
        if (kitFolder && !e.isSymLink())
            moved = moved && journal.move(e.filePath(), JoinPath(previous, e.fileName()));
    }
    const QString oldLibrary = ResolvePath(JoinPath(app, QStringLiteral("DRQdll.dll")));
    if (moved && QFileInfo(oldLibrary).isFile())
        moved = journal.move(oldLibrary, JoinPath(previous, QFileInfo(oldLibrary).fileName()));
    for (const QFileInfo& e :
         QDir(fresh).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        moved = moved && journal.move(e.filePath(), JoinPath(app, e.fileName()));
    const QString previousAux = JoinPath(previous, QStringLiteral("Auxiliar"));
    moved = moved && QDir().mkpath(previousAux);
    for (const QFileInfo& e : QDir(staged).entryInfoList(QDir::Files | QDir::Hidden)) {
        const QString existing = ResolvePath(JoinPath(drive, e.fileName()));
        if (moved && QFileInfo(existing).isFile())
            moved = journal.move(existing, JoinPath(previousAux, QFileInfo(existing).fileName()));
        moved = moved && journal.move(e.filePath(), JoinPath(drive, e.fileName()));
    }
    if (!moved) {
        journal.undo();
        return stop(
            QStringLiteral("No se pudo mover %1 al instalar.").arg(native(journal.failed())));
    }
    QDir(work).removeRecursively();
    r.ok = true;
    r.startAuxiliary = operatingSystem == kWin95;
    return r;
}

bool StartAuxiliaryProgram(const QString& path) {
    QProcess process;
    process.setProgram(ResolvePath(path));
    process.setWorkingDirectory(QFileInfo(ResolvePath(path)).absolutePath());
#ifdef Q_OS_WIN
    // Minimised, with the focus.
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* a) {
        a->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        a->startupInfo->wShowWindow = SW_SHOWMINIMIZED;
    });
#endif
    return process.startDetached();
}

}  // namespace morla
