#include "core/models/haldrivonexa.h"

#include "core/codec/codec.h"

namespace morla::haldrivonexa {

namespace {
QString boxBits(const QString& boxes) {
    QString out;
    for (QChar c : boxes) out += c == u'1' ? u'1' : u'0';
    return out;
}
}  // namespace

Panel Decode(const QString& map) {
    Panel p;
    p.key = NumberDigits(map.mid(10, kKeyLength));
    p.flags = DecodeOptions(map, kOptionBits, 6);
    p.trunk = MapToDialDigits(Unspaced(map, 18, 3));
    p.durationFree = NumberDigits(Unspaced(map, 34, 3));
    p.durationProhibited = NumberDigits(Unspaced(map, 40, 3));
    QString boxes;
    for (int pos : kBoxDigits)
        boxes +=
            HexToBits(QStringLiteral("0") + map.mid(pos - 1, 1)).right(3).leftJustified(3, '0');
    p.prefixes = boxes.left(kPrefixBoxes);
    p.longDistance = boxes.mid(kPrefixBoxes, kLongDistanceBoxes);
    return p;
}

Frame BuildFrame(const FrameInput& in) {
    const Panel& p = in.panel;
    const QString boxes = (boxBits(p.prefixes).leftJustified(kPrefixBoxes, '0', true) +
                           boxBits(p.longDistance).leftJustified(kLongDistanceBoxes, '0', true));
    QString boxDigits;
    for (int g = 0; g < 5; ++g) {
        if (g == 4) boxDigits += QStringLiteral("0");  // map 31
        boxDigits += BitsToHex(QStringLiteral("0") + boxes.mid(3 * g, 3)).mid(1, 1);
    }
    const QString fields =
        in.installationCode + p.key.left(kKeyLength).leftJustified(kKeyLength, 'F') +
        QStringLiteral("00") + Spaced(DialField(p.trunk, 3)) +
        EncodeOptionDigits(p.flags, kOptionBits, 23, 4) + boxDigits +
        Spaced(NumberField(p.durationFree, 3)) + Spaced(NumberField(p.durationProhibited, 3));
    const QString body =
        FrameHeader(QStringLiteral("03"), in.firmwareBox, in.classCode, QString()) + fields +
        QString(84, 'F');
    return {CloseSingleBlock(body), fields + QStringLiteral("f")};
}

QString LongDistanceCode(const QString& index) {
    static const char* codes[] = {"51", "55", "58", "61", "62", "63"};
    if (IsWholeNumber(index)) {
        const long long k = ValOf(index);
        if (k >= 0 && k < kLongDistanceBoxes) return QString::fromLatin1(codes[k]);
    }
    return index;
}

SingleCommand CompleteSend(const CommandInput& in) {
    SingleCommand out;
    const QString& n = in.CommandNumber;
    const bool active = in.keyStatus == QStringLiteral("Activado");
    if (n == QStringLiteral("10")) {
        out.CommandString = QStringLiteral("#20") + in.sep + in.previousKey + in.sep + in.key;
        return out;
    }
    QString code;
    bool onOff = true;
    static const char* options[] = {"#50", "#52", "#64", "#53", "#71", "#54"};
    if (IsWholeNumber(n) && ValOf(n) >= 1 && ValOf(n) <= 6) {
        code = QString::fromLatin1(options[ValOf(n) - 1]);
    } else if (n == QStringLiteral("14")) {
        code = QStringLiteral("#") + QString::number(ValOf(in.CommandIndex) + 41);
    } else if (n == QStringLiteral("15")) {
        out.CommandIndex = LongDistanceCode(in.CommandIndex);
        code = QStringLiteral("#") + *out.CommandIndex;
    } else if (n == QStringLiteral("11") || n == QStringLiteral("12") ||
               n == QStringLiteral("13")) {
        onOff = false;
    } else {
        return out;
    }
    if (onOff) {
        out.SendData = OnOffValue(in.CommandValue);
        if (active) out.CommandString = OnOffCommand(code, in.sep, in.key, in.CommandValue);
        return out;
    }
    // Typed values go as typed.
    const QString& v = in.CommandValue;
    out.SendData = v;
    if (!active) return out;
    if (n == QStringLiteral("11"))
        out.CommandString = QStringLiteral("#21") + in.sep + in.key + in.sep + v;
    else if (n == QStringLiteral("12"))
        out.CommandString = QStringLiteral("#22") + in.sep + in.key + in.sep + v;
    else
        out.CommandString =
            QStringLiteral("#23") + in.sep + in.key + in.sep + TrunkDigits(v, in.sep);
    return out;
}

}  // namespace morla::haldrivonexa
