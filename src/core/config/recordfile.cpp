#include "core/config/recordfile.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "core/codec/text.h"
#include "core/config/filecause.h"

namespace morla {

QString JoinPath(const QString& base, const QString& rest) {
    if (base.isEmpty()) return rest;
    if (base.endsWith('/') || base.endsWith('\\')) return base + rest;
    return base + QDir::separator() + rest;
}

QString ResolvePath(const QString& path) {
    // A link counts as there even when what it points to is not (a port that is unplugged).
    auto present = [](const QString& p) {
        return QFileInfo::exists(p) || QFileInfo(p).isSymLink();
    };
    if (path.isEmpty() || present(path)) return path;
    const QString clean = QDir::fromNativeSeparators(path);
    const QStringList parts = clean.split('/');
    QString current = clean.startsWith('/') ? QStringLiteral("/") : QString();
    int first = 0;
    if (!parts.isEmpty() && parts[0].endsWith(':')) {  // drive letter
        current = parts[0] + '/';
        first = 1;
    }
    for (int i = first; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part.isEmpty()) continue;
        QString candidate = current.isEmpty() ? part : QDir(current).filePath(part);
        if (!present(candidate)) {
            const QDir dir(current.isEmpty() ? QStringLiteral(".") : current);
            const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden |
                                                      QDir::System | QDir::NoDotAndDotDot);
            for (const QString& e : entries) {
                if (e.compare(part, Qt::CaseInsensitive) == 0) {
                    candidate = current.isEmpty() ? e : QDir(current).filePath(e);
                    break;
                }
            }
            if (!present(candidate)) {
                // Not there under any spelling: the rest stays as written, under what exists.
                QString rest = parts.mid(i).join('/');
                return QDir::toNativeSeparators(current.isEmpty() ? rest
                                                                  : QDir(current).filePath(rest));
            }
        }
        current = candidate;
    }
    return QDir::toNativeSeparators(current);
}

bool FileExists(const QString& path) {
    return QFileInfo(ResolvePath(path)).isFile();
}

bool DeleteFile(const QString& path) {
    const QString real = ResolvePath(path);
    return QFileInfo(real).isFile() && QFile::remove(real);
}

int RecordSize(const QStringList& fields) {
    int size = 0;
    for (const QString& f : fields) size += 2 + int(ToAnsi(f).size());
    return size;
}

int RecordCount(const QString& path, int recordLength) {
    const QFileInfo info(ResolvePath(path));
    if (!info.isFile() || recordLength <= 0) return 0;
    return int((info.size() + recordLength - 1) / recordLength);
}

QStringList DecodeRecord(const QByteArray& record, int fieldCount) {
    QStringList fields(qMax(fieldCount, 0));
    // A short last record reads as far as it goes; a count running past the record stops there.
    qsizetype pos = 0;
    for (QString& field : fields) {
        if (pos + 2 > record.size()) break;
        const int count = static_cast<unsigned char>(record[pos]) |
                          (static_cast<unsigned char>(record[pos + 1]) << 8);
        pos += 2;
        const qsizetype available = qMin<qsizetype>(count, record.size() - pos);
        field = FromAnsi(record.mid(pos, available));
        pos += available;
    }
    return fields;
}

QString ReadRefusal(const QString& path, const QString& cause) {
    return QStringLiteral("No se leyó %1: %2.").arg(QDir::toNativeSeparators(path), cause);
}

namespace {
// Opens a record file to read: a regular file no larger than any file of the program.
bool OpenRecordFile(QFile& file, const QString& real, int recordLength, QString* cause) {
    if (!OpenRegularFile(file, real, cause)) return false;
    const qint64 bound = RecordFileBound(qMax(recordLength, 1));
    if (file.size() <= bound) return true;
    *cause = QStringLiteral(
                 "mide %1 bytes y un archivo de registros de %2 bytes no pasa de %3 bytes "
                 "(%4 registros)")
                 .arg(file.size())
                 .arg(recordLength)
                 .arg(bound)
                 .arg(kMaxRecordNumber);
    file.close();
    return false;
}
}  // namespace

RecordRead ReadRecord(const QString& path, int recordLength, int fieldCount, int recordNumber) {
    RecordRead result;
    for (int i = 0; i < fieldCount; ++i) result.fields.append(QString());
    QFile file;
    if (recordNumber < 1) result.cause = QStringLiteral("número de registro no válido");
    if (recordNumber < 1 || !OpenRecordFile(file, ResolvePath(path), recordLength, &result.cause)) {
        result.ok = false;
        result.eof = true;
        return result;
    }
    const qint64 offset = qint64(recordNumber - 1) * recordLength;
    if (offset >= file.size()) {
        result.eof = true;
        return result;
    }
    file.seek(offset);
    result.fields = DecodeRecord(file.read(recordLength), fieldCount);
    return result;
}

namespace {

// Temporary files of a save are named "~" + file name + kSaveMark + six characters, beside
// the file they replace, so an interrupted save can be recognised and cleaned up.
const QString kSaveMark = QStringLiteral(".morla-");

// In a save a missing name or a refused permission is about the folder written into.
QString SaveCause(int error) {
    if (error == ENOENT) return QStringLiteral("La carpeta no existe");
    if (error == EACCES || error == EPERM)
        return QStringLiteral("No hay permiso para escribir en la carpeta");
    return ErrnoCause(error);
}

const QString kNotWritten = QStringLiteral("No se puede escribir");

RecordWriteResult Failed(const QString& what, const QString& path, const QString& reason) {
    RecordWriteResult r;
    r.error = QStringLiteral("%1 %2: %3").arg(what, QDir::toNativeSeparators(path), reason);
    return r;
}

// Whether `path`, with every link among its folders followed, lies outside `folder`. Names
// below the deepest folder that exists are taken as written.
bool LeavesFolder(const QString& path, const QString& folder) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (QDir::fromNativeSeparators(absolute).split('/').contains(QStringLiteral(".."))) return true;
    QString existing = QFileInfo(absolute).absolutePath();
    QStringList below{QFileInfo(absolute).fileName()};
    const auto present = [](const QString& p) {
        return QFileInfo::exists(p) || QFileInfo(p).isSymLink();
    };
    while (!present(existing) && QFileInfo(existing).absolutePath() != existing) {
        below.prepend(QFileInfo(existing).fileName());
        existing = QFileInfo(existing).absolutePath();
    }
    const QString real = QFileInfo(existing).canonicalFilePath();  // empty for a dead link
    if (real.isEmpty()) return true;
    QString root = QFileInfo(folder).canonicalFilePath();
    if (root.isEmpty()) root = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QString inside = QDir(real).filePath(below.join('/'));
    return !(inside == root ||
             inside.startsWith(root.endsWith('/') ? root : root + QLatin1Char('/')));
}

// Checks that the file may be replaced: a link is never written through, nor a folder that
// leads out of the program folder, and a read-only file stays read-only.
std::optional<RecordWriteResult> RefuseTarget(const QString& real, const QString& within) {
    const QFileInfo info(real);
    if (info.isSymLink() || (!within.isEmpty() && LeavesFolder(real, within)))
        return Failed(QStringLiteral("No se escribe"), real,
                      QStringLiteral("es un enlace a otro lugar; solo se escribe en archivos "
                                     "de la carpeta del programa"));
    if (const QString kind = KindCause(real); !kind.isEmpty())
        return Failed(kNotWritten, real, kind);
    if (info.exists() && !(info.permissions() & QFileDevice::WriteOwner))
        return Failed(QStringLiteral("No se puede reemplazar"), real,
                      QStringLiteral("el archivo es de solo lectura"));
    return std::nullopt;
}

#ifdef Q_OS_UNIX
int WriteAll(int fd, const QByteArray& content) {
    qint64 done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.constData() + done, size_t(content.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : ENOSPC;
        done += n;
    }
    return 0;
}

// Writes the whole content to a temporary file beside the file, makes sure every byte is on
// the disk, and only then puts it in the file's place in one step. On any failure the old
// file is left as it was.
RecordWriteResult ReplaceContent(const QString& real, const QByteArray& content) {
    const QFileInfo info(real);
    const QByteArray target = QFile::encodeName(real);
    struct stat old {};
    const bool hadOld = ::lstat(target.constData(), &old) == 0;
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        QString suffix;
        for (int i = 0; i < 6; ++i)
            suffix.append(QChar(
                "abcdefghijklmnopqrstuvwxyz0123456789"[QRandomGenerator::global()->bounded(36)]));
        temp = QFile::encodeName(
            QDir(info.path()).filePath(QLatin1Char('~') + info.fileName() + kSaveMark + suffix));
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                    hadOld ? (old.st_mode & 07777) : 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return Failed(kNotWritten, real, SaveCause(errno));
    int error = WriteAll(fd, content);
    if (!error && hadOld) (void)::fchmod(fd, old.st_mode & 07777);  // the umask narrowed it
    if (!error && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && !error) error = errno;
    if (!error && ::rename(temp.constData(), target.constData()) != 0) error = errno;
    if (error) {
        ::unlink(temp.constData());
        return Failed(kNotWritten, real, SaveCause(error));
    }
    // The new name itself must reach the disk too.
    const int dir = ::open(QFile::encodeName(info.path()).constData(), O_RDONLY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    RecordWriteResult ok;
    ok.ok = true;
    return ok;
}
#else
RecordWriteResult ReplaceContent(const QString& real, const QByteArray& content) {
    QSaveFile out(real);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size() || !out.flush() ||
        !out.commit())
        return Failed(kNotWritten, real, FileErrorCause(out, real));
    RecordWriteResult ok;
    ok.ok = true;
    return ok;
}
#endif

}  // namespace

RecordWriteResult WriteRecord(const QString& path, int recordLength, const QStringList& fields,
                              int recordNumber, const QString& within) {
    RecordWriteResult result;
    if (recordNumber < 1 || recordNumber > kMaxRecordNumber) {
        result.error = QStringLiteral("número de registro %1 no válido (de 1 a %2): %3")
                           .arg(recordNumber)
                           .arg(kMaxRecordNumber)
                           .arg(QDir::toNativeSeparators(path));
        return result;
    }
    const std::optional<QByteArray> record =
        EncodeRecord(path, recordLength, fields, &result.error);
    if (!record) return result;

    const QString real = ResolvePath(path);
    if (const auto refused = RefuseTarget(real, within)) return *refused;
    QByteArray content;
    if (QFileInfo::exists(real)) {
        QFile old;
        QString cause;
        if (!OpenRecordFile(old, real, recordLength, &cause))
            return Failed(QStringLiteral("No se puede leer"), real, cause);
        content = old.readAll();
    }
    const qint64 offset = qint64(recordNumber - 1) * recordLength;
    if (content.size() < offset) content.append(QByteArray(offset - content.size(), '\0'));
    content.replace(offset, qMin<qint64>(recordLength, content.size() - offset), *record);
    return ReplaceContent(real, content);
}

RecordWriteResult ReplaceFile(const QString& path, const QByteArray& content) {
    if (const auto refused = RefuseTarget(path, {})) return *refused;
    return ReplaceContent(path, content);
}

RecordWriteResult ReplaceRecordFile(const QString& path, const RecordType& type,
                                    const QStringList& fields, const QString& within) {
    RecordWriteResult result;
    const std::optional<QByteArray> record = EncodeRecord(path, type.length, fields, &result.error);
    if (!record) return result;
    const QString real = ResolvePath(path);
    if (const auto refused = RefuseTarget(real, within)) return *refused;
    return ReplaceContent(real, *record);
}

#ifdef Q_OS_UNIX
RecordWriteResult AppendLine(const QString& path, const QByteArray& line,
                             const QByteArray& header) {
    const QString real = ResolvePath(path);
    if (const auto refused = RefuseTarget(real, {})) return *refused;
    const int fd =
        ::open(QFile::encodeName(real).constData(),
               O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) return Failed(kNotWritten, real, SaveCause(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Failed(kNotWritten, real, QStringLiteral("No es un archivo común"));
    }
    // Lines are short: the end of the last whole line is within the last few kilobytes.
    off_t size = st.st_size;
    if (size > 0) {
        const off_t from = qMax<off_t>(0, size - 65536);
        QByteArray tail(qsizetype(size - from), '\0');
        if (::pread(fd, tail.data(), size_t(tail.size()), from) == ssize_t(tail.size()) &&
            !tail.endsWith('\n')) {
            const qsizetype lastEnd = tail.lastIndexOf('\n');
            if ((lastEnd >= 0 || from == 0) && ::ftruncate(fd, from + lastEnd + 1) == 0)
                size = from + lastEnd + 1;
        }
    }
    const QByteArray content = size == 0 ? header + line : line;
    int error = WriteAll(fd, content);
    if (!error && ::fdatasync(fd) != 0) error = errno;
    if (error) {
        // What did go out is taken back: the file ends where it ended.
        (void)::ftruncate(fd, size);
        (void)::fdatasync(fd);
    }
    ::close(fd);
    if (error) return Failed(kNotWritten, real, ErrnoCause(error));
    RecordWriteResult ok;
    ok.ok = true;
    return ok;
}
#else
RecordWriteResult AppendLine(const QString& path, const QByteArray& line,
                             const QByteArray& header) {
    const QString real = ResolvePath(path);
    if (const auto refused = RefuseTarget(real, {})) return *refused;
    QFile file(real);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append))
        return Failed(kNotWritten, real, FileErrorCause(file, real));
    const qint64 size = file.size();
    const QByteArray content = size == 0 ? header + line : line;
    if (file.write(content) != content.size() || !file.flush()) {
        const QString cause = FileErrorCause(file, real);
        file.resize(size);
        return Failed(kNotWritten, real, cause);
    }
    RecordWriteResult ok;
    ok.ok = true;
    return ok;
}
#endif

std::optional<QByteArray> EncodeRecord(const QString& path, int recordLength,
                                       const QStringList& fields, QString* error) {
    QByteArray record;
    for (const QString& f : fields) {
        const QString lost = NonAnsiCharacters(f);
        if (!lost.isEmpty()) {
            // Stored with "?" it would never be found again under its own name.
            *error = QStringLiteral(
                         "El texto \"%1\" lleva caracteres que el archivo no admite "
                         "(%2): %3")
                         .arg(f, lost, QDir::toNativeSeparators(path));
            return std::nullopt;
        }
        const QByteArray bytes = ToAnsi(f);
        if (bytes.size() > 0xFFFF) {  // its count would not fit in 16 bits
            *error = QStringLiteral("Un campo de %1 bytes no cabe en un registro: %2")
                         .arg(bytes.size())
                         .arg(QDir::toNativeSeparators(path));
            return std::nullopt;
        }
        record.append(char(bytes.size() & 0xFF));
        record.append(char((bytes.size() >> 8) & 0xFF));
        record.append(bytes);
    }
    if (record.size() > recordLength) {
        *error = QStringLiteral("El registro ocupa %1 bytes y el archivo admite %2: %3")
                     .arg(record.size())
                     .arg(recordLength)
                     .arg(QDir::toNativeSeparators(path));
        return std::nullopt;
    }
    record.append(QByteArray(recordLength - record.size(), '\0'));
    return record;
}

bool IsLeftoverSave(const QString& fileName) {
    const int mark = fileName.lastIndexOf(kSaveMark);
    return fileName.startsWith(QLatin1Char('~')) && mark > 1 &&
           fileName.size() == mark + kSaveMark.size() + 6;
}

int RemoveLeftoverSaves(const QString& folder) {
    int removed = 0;
    const QDir dir(folder);
    const QFileInfoList entries =
        dir.entryInfoList({QStringLiteral("~*") + kSaveMark + QStringLiteral("??????")},
                          QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& e : entries)
        if (IsLeftoverSave(e.fileName()) && !e.isSymLink() && QFile::remove(e.filePath()))
            ++removed;
    return removed;
}

int RemoveLeftoverSaves(const Paths& paths) {
    int removed = RemoveLeftoverSaves(ResolvePath(paths.AppFolder));
    removed += RemoveLeftoverSaves(ResolvePath(paths.equipmentFolder()));
    // Each model's configuration folder sits under the program folder.
    const QDir app(ResolvePath(paths.AppFolder));
    for (const QString& sub : app.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString config =
            ResolvePath(JoinPath(app.filePath(sub), QStringLiteral("Configuracion")));
        if (QFileInfo(config).isDir()) removed += RemoveLeftoverSaves(config);
    }
    return removed;
}

int ScanRecords(const QString& path, int recordLength, int fieldCount,
                const std::function<bool(int, const QStringList&)>& visit, QString* cause) {
    QFile file;
    QString why;
    if (cause) cause->clear();
    if (recordLength <= 0 || !OpenRecordFile(file, ResolvePath(path), recordLength, &why)) {
        if (cause) *cause = why;
        return 0;
    }
    // One pass over the file: records are read in order, each from its own bytes.
    int n = 0;
    while (!file.atEnd()) {
        const QByteArray record = file.read(recordLength);
        if (record.isEmpty()) break;
        ++n;
        const QStringList fields = DecodeRecord(record, fieldCount);
        if (!fields.isEmpty() && !fields[0].isEmpty() && !visit(n, fields)) break;
    }
    return n;
}

QString Paths::equipmentFolder() const {
    return JoinPath(JoinPath(JoinPath(AppFolder, DataFolder), QStringLiteral("Generales")),
                    QStringLiteral("Equipos"));
}
QString Paths::modelConfig(const QString& fileBase, const QString& firmwareCode) const {
    return JoinPath(JoinPath(JoinPath(AppFolder, fileBase), QStringLiteral("Configuracion")),
                    fileBase + firmwareCode + QStringLiteral(".Ccon"));
}
QString Paths::equipmentIndex() const {
    return JoinPath(equipmentFolder(), QStringLiteral("Equipo.CGe"));
}
QString Paths::softwareSettings() const {
    return JoinPath(equipmentFolder(), QStringLiteral("Software.CCon"));
}
QString Paths::users() const {
    return JoinPath(equipmentFolder(), QStringLiteral("Usuarios.CCon"));
}
QString Paths::commands() const {
    return JoinPath(equipmentFolder(), QStringLiteral("Comandos.CCon"));
}
QString Paths::lastSent() const {
    return JoinPath(equipmentFolder(), QStringLiteral("UltEnvio.CCon"));
}
QString Paths::operatorCredentials() const {
    return JoinPath(AppFolder, QStringLiteral("cmctes6.dll"));
}
QString Paths::images() const {
    return JoinPath(AppFolder, QStringLiteral("Imagenes"));
}

// Every byte reads as a character of its own and writes back as that byte, so the bytes pass
// through the text functions unchanged.
RecordBytes ReadRecordBytes(const QString& path, int recordLength, int fieldCount,
                            int recordNumber) {
    const RecordRead r = ReadRecord(path, recordLength, fieldCount, recordNumber);
    RecordBytes result;
    result.eof = r.eof;
    result.ok = r.ok;
    result.cause = r.cause;
    for (const QString& f : r.fields) result.fields.append(ToAnsi(f));
    return result;
}

RecordWriteResult WriteRecordBytes(const QString& path, int recordLength,
                                   const QList<QByteArray>& fields, int recordNumber,
                                   const QString& within) {
    QStringList texts;
    for (const QByteArray& f : fields) texts.append(FromAnsi(f));
    return WriteRecord(path, recordLength, texts, recordNumber, within);
}

QString ShortDateText() {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

}  // namespace morla
