#include "config/recordfile.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

namespace morla {

namespace {
// Windows-1252 bytes 0x80..0x9F; the rest of the code page is Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
}  // namespace

QByteArray ToAnsi(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(char(u));
            continue;
        }
        char b = '?';  // no ANSI byte for this character
        for (int i = 0; i < 32; ++i)
            if (kCp1252High[i] == u && u != 0xFFFD) b = char(0x80 + i);
        out.append(b);
    }
    return out;
}

QString FromAnsi(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out.append(b >= 0x80 && b < 0xA0 ? QChar(kCp1252High[b - 0x80]) : QChar(b));
    }
    return out;
}

QString JoinPath(const QString& base, const QString& rest) {
    if (base.isEmpty()) return rest;
    if (base.endsWith('/') || base.endsWith('\\')) return base + rest;
    return base + QDir::separator() + rest;
}

QString ResolvePath(const QString& path) {
    if (path.isEmpty() || QFileInfo::exists(path)) return path;
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
        if (!QFileInfo::exists(candidate)) {
            const QDir dir(current.isEmpty() ? QStringLiteral(".") : current);
            const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden |
                                                      QDir::System | QDir::NoDotAndDotDot);
            for (const QString& e : entries) {
                if (e.compare(part, Qt::CaseInsensitive) == 0) {
                    candidate = current.isEmpty() ? e : QDir(current).filePath(e);
                    break;
                }
            }
            if (!QFileInfo::exists(candidate)) {
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

RecordRead ReadRecord(const QString& path, int recordLength, int fieldCount, int recordNumber) {
    const RecordBytes raw = ReadRecordBytes(path, recordLength, fieldCount, recordNumber);
    RecordRead result;
    result.eof = raw.eof;
    result.ok = raw.ok;
    for (const QByteArray& f : raw.fields) result.fields.append(FromAnsi(f));
    return result;
}

RecordBytes ReadRecordBytes(const QString& path, int recordLength, int fieldCount,
                            int recordNumber) {
    RecordBytes result;
    for (int i = 0; i < fieldCount; ++i) result.fields.append(QByteArray());
    QFile file(ResolvePath(path));
    if (recordNumber < 1 || !file.open(QIODevice::ReadOnly)) {
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
    // A short last record reads as far as it goes; a count running past the record stops there.
    const QByteArray record = file.read(recordLength);
    int pos = 0;
    for (int i = 0; i < fieldCount; ++i) {
        if (pos + 2 > record.size()) break;
        const int count = static_cast<unsigned char>(record[pos]) |
                          (static_cast<unsigned char>(record[pos + 1]) << 8);
        pos += 2;
        const int available = qMin<int>(count, int(record.size()) - pos);
        result.fields[i] = record.mid(pos, available);
        pos += available;
    }
    return result;
}

RecordWriteResult WriteRecord(const QString& path, int recordLength, const QStringList& fields,
                              int recordNumber) {
    QList<QByteArray> bytes;
    for (const QString& f : fields) bytes.append(ToAnsi(f));
    return WriteRecordBytes(path, recordLength, bytes, recordNumber);
}

RecordWriteResult WriteRecordBytes(const QString& path, int recordLength,
                                   const QList<QByteArray>& fields, int recordNumber) {
    RecordWriteResult result;
    if (recordNumber < 1) {
        result.error = QStringLiteral("número de registro %1 no válido").arg(recordNumber);
        return result;
    }
    QByteArray record;
    for (const QByteArray& bytes : fields) {
        if (bytes.size() > 0xFFFF) {  // its count would not fit in 16 bits
            result.error = QStringLiteral("Un campo de %1 bytes no cabe en un registro: %2")
                               .arg(bytes.size())
                               .arg(path);
            return result;
        }
        record.append(char(bytes.size() & 0xFF));
        record.append(char((bytes.size() >> 8) & 0xFF));
        record.append(bytes);
    }
    if (record.size() > recordLength) {
        result.error = QStringLiteral("El registro ocupa %1 bytes y el archivo admite %2: %3")
                           .arg(record.size())
                           .arg(recordLength)
                           .arg(path);
        return result;
    }
    record.append(QByteArray(recordLength - record.size(), '\0'));

    const QString real = ResolvePath(path);
    QByteArray content;
    {
        QFile old(real);
        if (old.exists()) {
            if (!old.open(QIODevice::ReadOnly)) {
                result.error = QStringLiteral("No se puede leer %1").arg(real);
                return result;
            }
            content = old.readAll();
        }
    }
    const qint64 offset = qint64(recordNumber - 1) * recordLength;
    if (content.size() < offset) content.append(QByteArray(offset - content.size(), '\0'));
    content.replace(offset, qMin<qint64>(recordLength, content.size() - offset), record);

    // The new content goes to a temporary file beside the old one, then replaces it.
    QSaveFile out(real);
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size() || !out.commit()) {
        result.error = QStringLiteral("No se puede escribir %1").arg(real);
        return result;
    }
    result.ok = true;
    return result;
}

int ScanRecords(const QString& path, int recordLength, int fieldCount,
                const std::function<bool(int, const QStringList&)>& visit) {
    const int count = RecordCount(path, recordLength);
    int n = 0;
    while (n < count) {
        ++n;
        const RecordRead r = ReadRecord(path, recordLength, fieldCount, n);
        if (r.eof) break;
        if (!r.fields.isEmpty() && !r.fields[0].isEmpty() && !visit(n, r.fields)) break;
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

QString ShortDateText() {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

}  // namespace morla
