#include "core/codec/codec.h"

namespace morla {

namespace {
bool isDigit(QChar c) {
    return c.unicode() >= '0' && c.unicode() <= '9';
}

QString checkDigitsLoop(const QString& text, bool skip3) {
    QString verdict;
    for (int p = 1; p <= text.size(); ++p) {
        if (skip3 && p == 3) continue;
        verdict = isDigit(text.at(p - 1)) ? QStringLiteral("OK") : QStringLiteral("MAL");
    }
    return verdict;
}
}  // namespace

QString DigitToHex(int n) {
    if (n < 0 || n > 15) return {};
    return QString(QChar(n < 10 ? '0' + n : 'A' + n - 10));
}

int HexToDigit(const QString& ch) {
    if (ch.size() != 1) return 0;
    const char16_t c = ch.at(0).unicode();
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

QString HexToDec(const QString& twoDigits) {
    const int hi = HexToDigit(twoDigits.left(1));
    const int lo = twoDigits.size() >= 2 ? HexToDigit(twoDigits.mid(1, 1)) : 0;
    return QString::number(hi * 16 + lo);
}

long long ValOf(const QString& text) {
    int i = 0;
    while (i < text.size() && text.at(i).isSpace()) ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == '-' || text.at(i) == '+')) negative = text.at(i++) == '-';
    long long value = 0;
    for (; i < text.size() && isDigit(text.at(i)); ++i) {
        value = value * 10 + (text.at(i).unicode() - '0');
        if (value > (1LL << 40)) break;  // far beyond any field; avoids overflow on long texts
    }
    return negative ? -value : value;
}

bool IsWholeNumber(const QString& text) {
    const QString t = text.trimmed();
    int i = (t.startsWith('-') || t.startsWith('+')) ? 1 : 0;
    if (i >= t.size()) return false;
    for (; i < t.size(); ++i)
        if (!isDigit(t.at(i))) return false;
    return true;
}

QString DecToHex2(const QString& decimal) {
    const long long v = ValOf(decimal);
    if (v < 0) return {};
    // Above 255 the first digit is lost, as the devices' tools always did.
    return DigitToHex(static_cast<int>(qMin<long long>(v / 16, 16))) + DigitToHex(int(v % 16));
}

QString DecToHex4(const QString& decimal) {
    long long v = ValOf(decimal) % 65536;
    if (v < 0) v += 65536;
    return DigitToHex(int(v / 4096)) + DigitToHex(int((v % 4096) / 256)) +
           DigitToHex(int((v % 256) / 16)) + DigitToHex(int(v % 16));
}

QString BitsToHex(const QString& bits) {
    if (bits.size() != 4) return {};
    int v = 0;
    for (QChar c : bits) {
        if (c != '0' && c != '1') return {};
        v = v * 2 + (c == '1');
    }
    return QStringLiteral("0") + DigitToHex(v);
}

QString HexToBits(const QString& hex) {
    if (hex.size() != 2 || hex.at(0) != '0') return {};
    const char16_t c = hex.at(1).unicode();
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return {};
    const int v = HexToDigit(hex.mid(1, 1));
    QString out;
    for (int bit = 8; bit >= 1; bit /= 2) out += (v & bit) ? '1' : '0';
    return out;
}

QString MapToKeyDigits(const QString& digits) {
    QString out = digits;
    out.replace('A', '0');
    return out;
}

QString MapToDialDigits(const QString& digits) {
    QString out;
    for (QChar c : digits) {
        if (c == 'A')
            out += '0';
        else if (c == 'B')
            out += '*';
        else if (c == 'C')
            out += '#';
        else if (c != 'F')
            out += c;
    }
    return out;
}

QString CheckDigits(const QString& text) {
    return checkDigitsLoop(text, false);
}
QString CheckDigitsSkip3(const QString& text) {
    return checkDigitsLoop(text, true);
}

QString FrameChecksum(const QString& hexPairs) {
    int sum = 0;
    for (int p = 0; p + 1 < hexPairs.size(); p += 2) {
        sum += HexToDec(hexPairs.mid(p, 2)).toInt();
        sum &= 0xFF;
    }
    return DecToHex2(QString::number(255 - sum));
}

}  // namespace morla
