#include "session/modem.h"

#include "core/codec/text.h"

namespace morla {

namespace {
constexpr int kHead = 13;
constexpr int kPiece = 5;
}  // namespace

QString RegroupDialText(const QString& text, DialGroups& groups) {
    if (text.size() <= kDialTextLimit) return text;
    groups.DialHead = text.left(kHead);
    groups.DialTail.clear();
    for (qsizetype p = kHead; p < text.size(); p += kPiece) {
        groups.DialPiece = text.mid(p, kPiece) + QLatin1Char(',');
        groups.DialTail += groups.DialPiece;
    }
    return groups.DialHead + groups.DialTail.chopped(1);
}

QString RegroupDialText(const QString& text) {
    DialGroups scratch;
    return RegroupDialText(text, scratch);
}

QByteArray DialBytes(const QString& dialText) {
    return ToAnsi(dialText);
}

QString UndialableCharacters(const QString& dialText) {
    QString out = NonAnsiCharacters(dialText);
    if (dialText.contains(QChar(0))) out.append(QChar(0));
    return out;
}

}  // namespace morla
