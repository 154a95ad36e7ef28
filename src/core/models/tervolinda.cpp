#include "core/models/tervolinda.h"

#include "core/codec/codec.h"
#include "core/models/modelcore.h"

namespace morla::tervolinda {

namespace {
const QString kOn = QStringLiteral("09");
const QString kOff = QStringLiteral("0A");
const QString kEndWithoutVoice = QStringLiteral("4803<4");
const QString kEndWithVoice = QStringLiteral("0203<4");

// Four key digits at every second map position from `first`: "A" is 0, "F" an empty place.
QString digitsAt(const QString& map, int first) {
    return NumberDigits(Unspaced(map, first, kKeyLength));
}

// "0"-prefixed pairs; a missing character is the blank digit "F", so the fields after it keep
// their places.
QString pairs(const QString& text) {
    QString out;
    for (int i = 0; i < kKeyLength; ++i)
        out += QStringLiteral("0") + (i < text.size() ? text.mid(i, 1) : QStringLiteral("F"));
    return out;
}

QString code(Box b) {
    switch (b) {
        case Box::Ticked:
            return kOn;
        case Box::Clear:
            return kOff;
        case Box::Greyed:
            break;
    }
    return {};
}

std::optional<QString> optionData(Box b) {
    if (b == Box::Ticked) return QStringLiteral("9999f");
    if (b == Box::Clear) return QStringLiteral("0000f");
    return std::nullopt;
}
}  // namespace

Variant VariantOf(const QString& firmwareCode) {
    const long long n = ValOf(firmwareCode);
    if (n > 70) return Variant::WithoutVoice;
    if (n == 2) return Variant::WithVoice;
    return Variant::Unknown;
}

QString FirmwareOf(const QString& replyText) {
    return replyText.mid(6, 2);
}

const layout::Layout* Layout(const QString& firmwareCode) {
    using layout::Encoding;
    using layout::EverySecond;
    using layout::Run;
    // clang-format off
    static const layout::Layout withoutVoice{kMapLength, {
        {.control = "MorFraPrivElim1", .encoding = Encoding::Switch, .places = Run(11, 2), .on = kOn, .off = kOff},
        {.control = "MorFraPrivNum9", .encoding = Encoding::Switch, .places = Run(13, 2), .on = kOn, .off = kOff},
        {.control = "MorTexResCla", .encoding = Encoding::KeyDigits, .places = EverySecond(16, kKeyLength), .spaced = true},
        {.control = "MorTxtPrivClvSal", .encoding = Encoding::KeyDigits, .places = EverySecond(24, kKeyLength), .spaced = true},
    }};
    static const layout::Layout withVoice{kMapLength, {
        {.control = "MorTexResCla", .encoding = Encoding::KeyDigits, .places = EverySecond(14, kKeyLength), .spaced = true},
    }};
    // clang-format on
    switch (VariantOf(firmwareCode)) {
        case Variant::WithoutVoice:
            return &withoutVoice;
        case Variant::WithVoice:
            return &withVoice;
        case Variant::Unknown:
            break;
    }
    return nullptr;
}

std::optional<Fields> DecodeMap(const QString& map, const QString& firmwareCode) {
    const layout::Layout* l = Layout(firmwareCode);
    if (!l) return std::nullopt;
    const layout::Values v = layout::Decode(*l, map);
    Fields f;
    f.variant = VariantOf(firmwareCode);
    f.key = v.value(QStringLiteral("MorTexResCla"));
    f.exitKey = v.value(QStringLiteral("MorTxtPrivClvSal"));
    f.removeFirst1 = v.value(QStringLiteral("MorFraPrivElim1")) == QStringLiteral("1");
    f.blockStart9 = v.value(QStringLiteral("MorFraPrivNum9")) == QStringLiteral("1");
    return f;
}

QString FrameFirmware(const QString& frame) {
    if (frame.endsWith(kEndWithoutVoice)) return QStringLiteral("72");
    if (frame.endsWith(kEndWithVoice)) return QStringLiteral("2");
    return {};
}

std::optional<Fields> DecodeFrame(const QString& frame) {
    Fields f;
    f.variant = VariantOf(FrameFirmware(frame));
    if (f.variant == Variant::Unknown) return std::nullopt;
    f.key = digitsAt(frame, 14);
    if (f.variant == Variant::WithoutVoice) {
        f.removeFirst1 = frame.mid(8, 2) == kOn;
        f.blockStart9 = frame.mid(10, 2) == kOn;
        f.exitKey = digitsAt(frame, 22);
    }
    return f;
}

std::optional<QString> BuildFrame(const FrameInput& in) {
    const QString head = QStringLiteral("0809FFFF");
    switch (VariantOf(in.firmwareCode)) {
        case Variant::WithoutVoice:
            // A greyed box adds no code.
            return head + code(in.removeFirst1) + code(in.blockStart9) + pairs(in.key) +
                   pairs(in.exitKey) + QString(98, 'F') + kEndWithoutVoice;
        case Variant::WithVoice:
            return head + kOff + kOff + pairs(in.key) + QStringLiteral("000000") +
                   QString(100, 'F') + kEndWithVoice;
        case Variant::Unknown:
            break;
    }
    return std::nullopt;
}

std::optional<QString> EditorSendData(const EditorInput& in) {
    if (in.mode == QStringLiteral("1")) return optionData(in.removeFirst1);
    if (in.mode == QStringLiteral("4")) return optionData(in.blockStart9);
    if (in.mode == QStringLiteral("2")) return in.key;
    if (in.mode == QStringLiteral("3")) return in.exitKey + QStringLiteral("f");
    return std::nullopt;
}

std::optional<QString> Command(const CommandInput& in) {
    if (!IsWholeNumber(in.number)) return std::nullopt;
    const QString& sep = in.separator;
    const QString f = QStringLiteral("f");
    const bool active = in.keyStatus == QStringLiteral("Activado");
    switch (ValOf(in.number)) {
        case 10:
            return QStringLiteral("#2") + sep + in.previousKey + sep + in.key + f;
        case 11:
            return QStringLiteral("#3") + sep + in.key + sep + in.exitKey + f;
        case 12:
            if (!active) return std::nullopt;
            return QStringLiteral("#1") + sep + in.key + sep + OnOffValue(in.value) + f;
        case 13:
            if (!active) return std::nullopt;
            return QStringLiteral("#5") + sep + in.key + sep + OnOffValue(in.value) + f;
        default:
            return std::nullopt;
    }
}

QString EditorModeFor(const QString& commandNumber) {
    if (commandNumber == QStringLiteral("10")) return QStringLiteral("2");
    if (commandNumber == QStringLiteral("11")) return QStringLiteral("3");
    if (commandNumber == QStringLiteral("12")) return QStringLiteral("1");
    if (commandNumber == QStringLiteral("13")) return QStringLiteral("4");
    return {};
}

}  // namespace morla::tervolinda
