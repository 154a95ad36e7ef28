#pragma once
// The device's and the files' code page: Windows-1252 text, one byte per character.
#include <QByteArray>
#include <QString>

namespace morla {

// Characters with no ANSI byte become "?"; bytes the code page leaves unassigned read as the
// control characters of the same value and write back unchanged.
QByteArray ToAnsi(const QString& text);
QString FromAnsi(const QByteArray& bytes);
// The characters of text that have no ANSI byte, each once (empty when it can be stored).
QString NonAnsiCharacters(const QString& text);

}  // namespace morla
