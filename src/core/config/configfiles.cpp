#include "core/config/configfiles.h"

#include <QDir>
#include <QFileInfo>

namespace morla {

QByteArray KeptField::bytesFor(const QString& shown) const {
    return shown == text ? bytes : ToAnsi(shown);
}

QString UnstorableText(const QStringList& texts, const QString& path) {
    for (const QString& t : texts)
        if (const QString lost = NonAnsiCharacters(t); !lost.isEmpty())
            return QStringLiteral(
                       "El texto \"%1\" lleva caracteres que el archivo no admite (%2): %3")
                .arg(t, lost, QDir::toNativeSeparators(path));
    return {};
}

namespace {
// Names that Windows keeps for devices, whatever the extension.
bool IsDeviceName(const QString& base) {
    static const QStringList names{"CON", "PRN", "AUX", "NUL"};
    const QString upper = base.toUpper();
    if (names.contains(upper)) return true;
    return upper.size() == 4 &&
           (upper.startsWith(QLatin1String("COM")) || upper.startsWith(QLatin1String("LPT"))) &&
           upper.at(3).unicode() >= u'1' && upper.at(3).unicode() <= u'9';
}

// Why `part` cannot stand inside a file or folder name; empty when it can.
QString PartProblem(const QString& part) {
    if (part.contains('/') || part.contains('\\'))
        return QStringLiteral("tiene un separador de carpetas");
    if (part.contains(QLatin1String(".."))) return QStringLiteral("tiene \"..\"");
    for (QChar c : part) {
        if (c.unicode() < 0x20) return QStringLiteral("tiene un carácter de control");
        if (QStringLiteral("<>:\"|?*").contains(c))
            return QStringLiteral("tiene el carácter \"%1\", que el sistema de archivos no admite")
                .arg(c);
    }
    if (!NonAnsiCharacters(part).isEmpty())
        return QStringLiteral("tiene caracteres que el archivo no puede guardar");
    return {};
}
}  // namespace

QString ModelFileNameProblem(const QString& model, const QString& firmware) {
    const auto named = [](const QString& what, const QString& text, const QString& why) {
        return QStringLiteral("%1 \"%2\" %3").arg(what, text, why);
    };
    if (model.trimmed().isEmpty())
        return named(QStringLiteral("El equipo"), model, QStringLiteral("está vacío"));
    if (QString why = PartProblem(model); !why.isEmpty())
        return named(QStringLiteral("El equipo"), model, why);
    if (model.endsWith('.') || model.endsWith(' ') || model.startsWith(' '))
        return named(QStringLiteral("El equipo"), model,
                     QStringLiteral("empieza o termina con espacio o punto"));
    if (IsDeviceName(model))
        return named(QStringLiteral("El equipo"), model,
                     QStringLiteral("es un nombre reservado del sistema"));
    if (QString why = PartProblem(firmware); !why.isEmpty())
        return named(QStringLiteral("El firmware"), firmware, why);
    if (IsDeviceName(model + firmware))
        return named(QStringLiteral("El archivo"), model + firmware,
                     QStringLiteral("es un nombre reservado del sistema"));
    return {};
}

QString ModelConfigFolder(const Paths& paths, const QString& model) {
    return JoinPath(JoinPath(paths.AppFolder, model), QStringLiteral("Configuracion"));
}

QString EditorConfigPath(const Paths& paths, const QString& model, const QString& firmware) {
    return JoinPath(ModelConfigFolder(paths, model), model + firmware + QStringLiteral(".CCon"));
}

QString FlagString(const QString& text, int count) {
    QString out;
    out.reserve(count);
    for (int i = 0; i < count; ++i) out += i < text.size() && text[i] == '1' ? '1' : '0';
    return out;
}

ParamFlagParts SplitParamFlags(const QString& flags) {
    return {flags.mid(0, 10), flags.mid(10, 9), flags.mid(19, 1)};
}

int ScanPresentRecords(const QString& path, const RecordType& type,
                       const std::function<bool(int, const QStringList&)>& visit,
                       QString* problem) {
    if (problem) problem->clear();
    const QString real = ResolvePath(path);
    if (!QFileInfo::exists(real)) return 0;
    QString cause;
    const int last = ScanRecords(real, type.length, type.fields, visit, &cause);
    if (!cause.isEmpty() && problem) *problem = ReadRefusal(real, cause);
    return last;
}

QStringList EquipmentNames(const QString& indexPath, QString* problem) {
    QStringList names;
    ScanPresentRecords(
        indexPath, EquipmentIndexRecord,
        [&](int, const QStringList& f) {
            names << f[0];
            return true;
        },
        problem);
    return names;
}

RecordWriteResult RecordInEquipmentIndex(const QString& indexPath, const QString& model,
                                         const QString& identification, const QString& within) {
    int found = 0;
    QString problem;
    ScanPresentRecords(
        indexPath, EquipmentIndexRecord,
        [&](int n, const QStringList& f) {
            if (f[0] != model || f[1] != identification) return true;
            found = n;
            return false;
        },
        &problem);
    if (!problem.isEmpty()) return RecordWriteResult{false, problem};
    if (found > 0) {
        // The same pair again: the record keeps its own bytes.
        const RecordBytes same = ReadRecordBytes(indexPath, EquipmentIndexRecord, found);
        return WriteRecordBytes(indexPath, EquipmentIndexRecord, same.fields, found, within);
    }
    return WriteRecord(indexPath, EquipmentIndexRecord, {model, identification},
                       RecordCount(indexPath, EquipmentIndexRecord.length) + 1, within);
}

QStringList UserNames(const QString& usersPath, QString* problem) {
    QStringList names;
    ScanPresentRecords(
        usersPath, UserRecord,
        [&](int, const QStringList& f) {
            names << f[0];
            return true;
        },
        problem);
    return names;
}

std::optional<FoundUser> FindUser(const QString& usersPath, const QString& name, QString* problem) {
    int found = 0;
    ScanPresentRecords(
        usersPath, UserRecord,
        [&](int n, const QStringList& f) {
            if (f[0] != name) return true;
            found = n;
            return false;
        },
        problem);
    if (found == 0) return std::nullopt;
    return FoundUser{found, ReadRecordBytes(usersPath, UserRecord, found).fields};
}

std::optional<int> SlotNumber(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 5) return std::nullopt;
    for (QChar c : t)
        if (c.unicode() < u'0' || c.unicode() > u'9') return std::nullopt;
    const int n = t.toInt();
    if (n < 1 || n > 32767) return std::nullopt;
    return n;
}

QList<QByteArray> SoftwareSettingsFields(const SoftwareSettingsInput& in) {
    QList<QByteArray> f;
    for (int i = 0; i < SoftwareSettingsRecord.fields; ++i)
        f << (i < in.before.size() ? in.before[i] : QByteArray());
    f[21] = QByteArray::number(in.selectedUser);
    f[22] = ToAnsi(in.date);
    f[23] = ToAnsi(in.retries);
    f[24] = ToAnsi(in.timeout);
    f[25] = in.installationCode;
    return f;
}

}  // namespace morla
