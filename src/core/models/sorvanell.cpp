#include "core/models/sorvanell.h"

#include <QRegularExpression>

#include "core/codec/codec.h"
#include "core/models/modelcore.h"

namespace morla::sorvanell {

namespace {
QString at(const QString& map, int position) {
    return map.mid(position - 1, 1);
}

// Bit `value` (8, 4, 2 or 1) of the digit at map `position`.
bool bit(const QString& map, int position, int value) {
    return (HexToDigit(at(map, position)) & value) != 0;
}

// Five characters as "0"-prefixed pairs. A missing character is written as the blank digit
// "F", so that the fields after it keep their places.
QString pairs(const QString& text, int count) {
    QString out;
    for (int i = 0; i < count; ++i)
        out += QStringLiteral("0") + (i < text.size() ? text.mid(i, 1) : QStringLiteral("F"));
    return out;
}

QString hexDigit(bool b8, bool b4, bool b2, bool b1) {
    return DigitToHex((b8 ? 8 : 0) + (b4 ? 4 : 0) + (b2 ? 2 : 0) + (b1 ? 1 : 0));
}

bool flag(const QString& flags, int k) {
    return flags.mid(k - 1, 1) == QStringLiteral("1");
}
}  // namespace

QString Trailer() {
    return QString(86, '?') + QStringLiteral("040;03<2");
}

QString DecodeKey(const QString& map) {
    return NumberDigits(at(map, 22) + at(map, 24)) + QStringLiteral("*") +
           NumberDigits(at(map, 28) + at(map, 30));
}

QString DecodeProgramming(const QString& map) {
    return NumberDigits(at(map, 12) + at(map, 14)) + QStringLiteral("*") +
           NumberDigits(at(map, 18) + at(map, 20));
}

QString DecodeFlags(const QString& map) {
    auto b = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    return b(bit(map, 34, 1)) + QStringLiteral("00") + b(bit(map, 33, 1)) + QStringLiteral("00") +
           b(bit(map, 34, 8));
}

bool DecodeTone(const QString& map) {
    return bit(map, 33, 2);
}

bool DecodeBlqGrb(const QString& map) {
    return bit(map, 33, 4);
}

QString DecodeCount(const QString& map) {
    return HexToDec(at(map, 36) + at(map, 38));
}

QString DecodeAlertDigit(const QString& map) {
    return MapToDialDigits(at(map, 32));
}

QString KeyStatusFor(const QString& key) {
    static const QRegularExpression form(QStringLiteral("^[1-9][0-9]\\*[0-9]{2}$"));
    return form.match(key).hasMatch() ? QStringLiteral("Activado") : QStringLiteral("DesActivado");
}

Frame BuildFrame(const FrameInput& in) {
    QString data = pairs(in.programming, kKeyLength) + pairs(in.key, kKeyLength);
    data += pairs(in.alertDigit.trimmed(), 1);
    data += hexDigit(false, in.blqGrb, in.tone, flag(in.flags, 4));
    data += hexDigit(flag(in.flags, 7), false, false, flag(in.flags, 1));
    const QString count = DecToHex2(QString::number(qBound(0LL, ValOf(in.count), 255LL)));
    data += QStringLiteral("0") + count.left(1) + QStringLiteral("0") + count.mid(1, 1) +
            QStringLiteral("00") + QStringLiteral("f");
    const QString frame = QStringLiteral("04") + DecToHex2(in.firmwareBox.left(2)) + in.classCode +
                          in.installationCode + data + Trailer();
    return {frame, data};
}

QString Separate(const QString& command) {
    QString out;
    out.reserve(command.size() * 2);
    for (QChar c : command) {
        if (!out.isEmpty()) out += ',';
        out += c;
    }
    return out;
}

std::optional<QString> Command(const CommandInput& in) {
    if (!IsWholeNumber(in.number)) return std::nullopt;
    const bool active = in.keyStatus == QStringLiteral("Activado");
    const QString f = QStringLiteral("f");
    QString command;
    switch (ValOf(in.number)) {
        case 1:
            command = in.key + QStringLiteral("1") + f;
            break;
        case 4:
            command = in.key + QStringLiteral("7") + f;
            break;
        case 7:
            command = in.key + QStringLiteral("5") + f;
            break;
        case 11:
            command = in.key + QStringLiteral("8") + f;
            break;
        case 12:
            command = in.key + QStringLiteral("9") + f;
            break;
        case 10:
            return Separate(in.previousKey + QStringLiteral("3") + in.key + f);
        case 13:
            return Separate(in.key + QStringLiteral("2") + in.programming + f);
        case 14:
            return Separate(in.key + QStringLiteral("6") + in.alertDigit.trimmed() + f);
        default:
            return std::nullopt;
    }
    if (!active) return std::nullopt;
    return Separate(command);
}

}  // namespace morla::sorvanell
