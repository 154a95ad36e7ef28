#include "core/models/zentavira.h"

#include "core/codec/codec.h"

namespace morla::zentavira {

namespace {
// 0-based start of 16-digit memory k in the map; memory 2 continues after the first block.
int longMemoryAt(int k) {
    return k < 3 ? 94 + 16 * k : 146 + 16 * (k - 3);
}

QString longMemoryDigits(const QString& map, int k) {
    if (k == 2) return map.mid(126, 2) + map.mid(132, 14);
    return map.mid(longMemoryAt(k), kLongWidth);
}
}  // namespace

Decoded Decode(const QString& map) {
    Decoded d;
    Panel& p = d.panel;
    p.key = NumberDigits(map.mid(34, kKeyLength));
    p.flags = DecodeOptions(map, kOptionBits, 4);
    const QString d12 = map.mid(11, 1);
    d.memoryTableFreed = d12 == QStringLiteral("1") ? 1 : d12 == QStringLiteral("0") ? 0 : -1;
    p.durationFree = NumberDigits(Unspaced(map, 18, 3));
    p.durationProhibited = NumberDigits(Unspaced(map, 24, 3));
    p.trunk = MapToDialDigits(Unspaced(map, 30, 3));
    for (int k = 0; k < kShortMemories; ++k)
        p.shortMemories << MapToDialDigits(map.mid(38 + kShortWidth * k, kShortWidth));
    for (int k = 0; k < kLongMemories; ++k)
        p.longMemories << MapToDialDigits(longMemoryDigits(map, k));
    return d;
}

Frame BuildFrame(const FrameInput& in) {
    const Panel& p = in.panel;
    // Digit 14 carries a 1 in its lowest bit besides options 2 and 3.
    QString flagDigits = EncodeOptionDigits(p.flags, kOptionBits, 12, 3);
    flagDigits[2] = DigitToHex(HexToDigit(flagDigits.mid(2, 1)) | 1).at(0);
    QString data = in.installationCode + QStringLiteral("2") + flagDigits + QStringLiteral("00") +
                   Spaced(NumberField(p.durationFree, 3)) +
                   Spaced(NumberField(p.durationProhibited, 3)) + Spaced(DialField(p.trunk, 3)) +
                   p.key.left(kKeyLength).leftJustified(kKeyLength, 'F');
    for (int k = 0; k < kShortMemories; ++k)
        data += DialField(p.shortMemories.value(k), kShortWidth);
    for (int k = 0; k < kLongMemories; ++k) data += DialField(p.longMemories.value(k), kLongWidth);

    // The checksums cover the map's places: without a class code "00" stands in for it there,
    // and is left out of the frame.
    const QString classPlace = in.classCode.isEmpty() ? QStringLiteral("00") : in.classCode;
    QString frame =
        FrameHeader(QStringLiteral("05"), in.firmwareBox, classPlace, QString()) + data.left(122);
    frame += FrameChecksum(frame.left(128)) + QStringLiteral("45") + data.mid(122) +
             QStringLiteral("6E");
    frame += FrameChecksum(frame.mid(132, 128)) + QStringLiteral("03") + QStringLiteral("FE");
    if (in.classCode.isEmpty()) frame.remove(4, 2);
    return {frame, data};
}

SingleCommand CompleteSend(const CommandInput& in) {
    SingleCommand out;
    const QString& n = in.CommandNumber;
    const bool active = in.keyStatus == QStringLiteral("Activado");
    if (n == QStringLiteral("10")) {
        out.CommandString = QStringLiteral("#20") + in.previousKey + in.sep + in.key;
        return out;
    }
    if (n == QStringLiteral("17")) {
        if (active) out.CommandString = QStringLiteral("#30") + in.key;
        return out;
    }
    struct OnOff {
        const char* number;
        const char* code;
    };
    static constexpr OnOff kOnOff[] = {{"1", "#24"}, {"2", "#25"}, {"6", "#26"}, {"11", "#28"}};
    for (const OnOff& row : kOnOff) {
        if (n != QLatin1String(row.number)) continue;
        out.SendData = OnOffValue(in.CommandValue);
        if (active)
            out.CommandString =
                OnOffCommand(QLatin1String(row.code), in.sep, in.key, in.CommandValue);
        return out;
    }
    // Typed values go as typed.
    const QString& v = in.CommandValue;
    QString command;
    if (n == QStringLiteral("12")) {
        command = QStringLiteral("#21") + in.sep + in.key + in.sep + v;
    } else if (n == QStringLiteral("13")) {
        command = QStringLiteral("#22") + in.sep + in.key + in.sep + v;
    } else if (n == QStringLiteral("14")) {
        command = QStringLiteral("#23") + in.sep + in.key + in.sep + TrunkDigits(v, in.sep);
    } else if (n == QStringLiteral("15") || n == QStringLiteral("16")) {
        const long long k = ValOf(in.CommandIndex) + (n == QStringLiteral("16") ? 1 : 0);
        const QString index = (QStringLiteral("0") + QString::number(k)).right(2);
        out.CommandIndex = index;
        command = QStringLiteral("#27") + in.key + in.sep + index + in.sep + v;
    } else {
        return out;
    }
    out.SendData = v;
    if (active) out.CommandString = command;
    return out;
}

}  // namespace morla::zentavira
