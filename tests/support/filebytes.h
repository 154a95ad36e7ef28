#pragma once
// Whole files as bytes, for tests that compare what was saved byte for byte.
#include <sys/stat.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QString>

namespace morla::test {

// The file's bytes, or none when it cannot be read.
inline QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Replaces the file with `bytes`; false when not all of them were written.
inline bool putBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Puts something that is not a record or device file at `path`: "fifo" (a named pipe no one
// writes to), "folder", "device" (a link to /dev/null) or "2 GiB" (a sparse regular file),
// in place of any file there.
inline bool putOddFile(const QString& path, const QString& kind) {
    QFile::remove(path);
    if (kind == QLatin1String("fifo"))
        return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
    if (kind == QLatin1String("folder")) return QDir().mkpath(path);
    if (kind == QLatin1String("device")) return QFile::link(QStringLiteral("/dev/null"), path);
    QFile f(path);
    return kind == QLatin1String("2 GiB") && f.open(QIODevice::WriteOnly) &&
           f.resize(qint64(2) << 30);
}

// Copies the folder `from` whole into `to` (made when missing); false when a piece fails.
inline bool copyTree(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    bool ok = QDir().mkpath(to);
    while (ok && it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        const QString copy = QDir(to).filePath(QDir(from).relativeFilePath(info.filePath()));
        ok = info.isDir() && !info.isSymLink() ? QDir().mkpath(copy)
                                               : QFile::copy(info.filePath(), copy);
    }
    return ok;
}

// Every folder (with a trailing "/") and file under root, relative, sorted; with each file's
// content when asked, to tell "unchanged" from "same names".
inline QStringList listing(const QString& root, bool content = false) {
    QStringList out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        QString entry = QDir(root).relativeFilePath(info.filePath());
        if (info.isDir())
            entry += '/';
        else if (content)
            entry +=
                ' ' +
                QCryptographicHash::hash(bytesOf(info.filePath()), QCryptographicHash::Md5).toHex();
        out << entry;
    }
    out.sort();
    return out;
}

}  // namespace morla::test
