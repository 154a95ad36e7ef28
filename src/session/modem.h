#pragma once
// Modem installations reach the device over the telephone line through the maker's line
// library: each command goes to its entry DRQ as a dial text in which "," is a pause.
#include <QByteArray>
#include <QString>

namespace morla {

// The line library's file in the program folder, and its one entry.
inline constexpr char16_t kLineLibraryFile[] = u"DRQdll.dll";
inline constexpr char kLineLibraryEntry[] = "DRQ";
// Installation mode without a serial port.
inline constexpr char16_t kModemMode[] = u"PC";

// Longest text the library takes without pauses.
inline constexpr int kDialTextLimit = 15;

// The regrouping's working texts, kept between calls as the program keeps them.
struct DialGroups {
    QString DialHead;   // first 13 characters
    QString DialTail;   // the later pieces of 5, each followed by ","
    QString DialPiece;  // the last piece with its ","
};

// Texts of at most 15 characters come back unchanged; longer ones keep their first 13
// characters and then pieces of 5 separated by ",".
QString RegroupDialText(const QString& text, DialGroups& groups);
QString RegroupDialText(const QString& text);

// The bytes handed to the library: the text in the Windows code page ("?" where it has no
// byte), NUL-terminated by QByteArray.
QByteArray DialBytes(const QString& dialText);
// Characters of the text that the library cannot be given as they are, each once: those
// outside the code page, and NUL, which would end the text early. Empty when it can go out.
QString UndialableCharacters(const QString& dialText);

}  // namespace morla
