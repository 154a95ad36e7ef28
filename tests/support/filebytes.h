#pragma once
// Whole files as bytes, for tests that compare what was saved byte for byte.
#include <QByteArray>
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

}  // namespace morla::test
