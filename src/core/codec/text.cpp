#include "core/codec/text.h"

namespace morla {

namespace {
// Windows-1252 bytes 0x80..0x9F; the rest of the code page is Latin-1. The five bytes the
// code page leaves unassigned map to the control characters of the same value, as Windows
// does, so a field read and written back keeps them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Byte of the code page for a character, or -1 when it has none.
int AnsiByte(char16_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == u) return 0x80 + i;
    return -1;
}
}  // namespace

QByteArray ToAnsi(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const int b = AnsiByte(c.unicode());
        out.append(b < 0 ? '?' : char(b));  // no ANSI byte for this character
    }
    return out;
}

QString NonAnsiCharacters(const QString& text) {
    QString out;
    for (QChar c : text)
        if (AnsiByte(c.unicode()) < 0 && !out.contains(c)) out.append(c);
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

}  // namespace morla
