#pragma once
// The device's and the files' code page: Windows-1252 text, one byte per character.
#include <QByteArray>
#include <QString>

namespace morla {

// Characters without a byte in the code page become "?".
QByteArray ToAnsi(const QString& text);
QString FromAnsi(const QByteArray& bytes);

}  // namespace morla
