#pragma once
// Whole files as bytes, for tests that compare what was saved byte for byte.
#include <sys/stat.h>

#include <QByteArray>
#include <QDir>
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

}  // namespace morla::test
