#include "core/models/sorvanell.h"

#include <QRegularExpression>

#include "core/codec/codec.h"

namespace morla::sorvanell {

namespace {
using layout::Encoding;
using layout::EverySecond;

// A check box kept as one bit of map digit 33.
layout::Field option(const char* control, int value) {
    return {.control = control,
            .encoding = Encoding::Bits,
            .places = {33},
            .bits = {{1, 33, value}},
            .characters = 1};
}
}  // namespace

QString Trailer() {
    return QString(86, '?') + QStringLiteral("040;03<2");
}

const layout::Layout& Layout() {
    // The programming number and the key: five characters, each after a "0"; the "*" at their
    // third place is sent as typed and read as a literal "*". The tone is ticked exactly when
    // bit 2 of digit 33 is set. No checksum: the frame ends after map 40 in a fixed trailer.
    // clang-format off
    static const layout::Layout table{134, {
        {.control = "MorTxtAleAut", .encoding = Encoding::KeyDigits, .places = EverySecond(12, kKeyLength),
         .spaced = true, .literalAt = 3, .literal = '*'},
        {.control = "MorTexResCla", .encoding = Encoding::KeyDigits, .places = EverySecond(22, kKeyLength),
         .spaced = true, .literalAt = 3, .literal = '*'},
        {.control = "MorTxtAleDigAler", .encoding = Encoding::DialDigits, .places = {32}, .spaced = true,
         .trimmed = true},
        option("MorChkAleBlqGrb", 4),
        option("MorChkAleTono", 2),
        // Flags 1, 4 and 7 are the device's; the rest read as "0".
        {.control = "MorTexBan", .encoding = Encoding::Bits, .places = {33, 34},
         .bits = {{1, 34, 1}, {4, 33, 1}, {7, 34, 8}}, .characters = 7, .caption = "Opciones"},
        {.control = "MorTexAleNumInter", .encoding = Encoding::HexByte, .places = {36, 38}, .spaced = true},
        {.encoding = Encoding::Fixed, .places = {39}, .fixed = "00"},
    }, {{11, 40}, {0, 0, "f"}}, 0, 40, QStringLiteral("f") + Trailer()};
    // clang-format on
    return table;
}

QString KeyStatusFor(const QString& key) {
    static const QRegularExpression form(QStringLiteral("^[1-9][0-9]\\*[0-9]{2}$"));
    return form.match(key).hasMatch() ? QStringLiteral("Activado") : QStringLiteral("DesActivado");
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
