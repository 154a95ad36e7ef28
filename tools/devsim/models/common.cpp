#include "devsim/models/common.h"

namespace morla::devsim {

bool AllDecimal(const QString& text) {
    for (QChar c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

bool AllHex(const QString& text) {
    for (QChar c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

bool DialText(const QString& typed, int width) {
    if (typed.size() > width) return false;
    for (QChar c : typed)
        if (!((c >= '0' && c <= '9') || c == '*' || c == '#')) return false;
    return true;
}

QString DialDigits(const QString& typed, int width) {
    QString out;
    for (QChar c : typed)
        out += c == '0' ? QChar('A') : c == '*' ? QChar('B') : c == '#' ? QChar('C') : c;
    return out.leftJustified(width, 'F', true);
}

QString SpacedNumber(const QString& typed) {
    QString out;
    for (QChar c : typed.rightJustified(3, '0')) out += QStringLiteral("0") + c;
    return out;
}

}  // namespace morla::devsim
