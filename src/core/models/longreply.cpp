#include "core/models/longreply.h"

#include "core/codec/codec.h"
#include "core/models/modelcore.h"

namespace morla::longreply {

namespace {
QString element(const char* box, int k) {
    return QString::fromLatin1(box) + QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
}

// The digits at `at` + 1, + 3, + 5 (the pairs' second places); "F" is an empty place.
QString numberDigits(const QString& map, int at) {
    return NumberDigits(Unspaced(map, at + 1, kNumberDigits));
}

QString dialDigits(const QString& map, const Field& f) {
    const int count = f.kind == Kind::Key ? kKeyDigits : f.count;
    QString out = MapToDialDigits(map.mid(f.at - 1, count));
    if (f.count2 > 0) out += MapToDialDigits(map.mid(f.at2 - 1, f.count2));
    return out;
}

void put(QString& map, int at, const QString& digits) {
    for (int i = 0; i < digits.size() && at - 1 + i < map.size(); ++i) map[at - 1 + i] = digits[i];
}

// Three characters of a numeric box: its first three, "0" in front of a shorter one.
QString threeDigits(const QString& text) {
    return text.left(kNumberDigits).rightJustified(kNumberDigits, '0');
}

QString keyText(const QString& text) {
    return text.left(kKeyDigits).leftJustified(kKeyDigits, 'F');
}
}  // namespace

std::vector<Field> Expand(std::span<const Run> runs) {
    std::vector<Field> out;
    for (const Run& r : runs) {
        if (r.elements == 0) {
            out.push_back(
                {QString::fromLatin1(r.box), r.kind, r.at, r.count, r.at2, r.count2, r.read});
            continue;
        }
        for (int k = 0; k < r.elements; ++k)
            out.push_back(
                {element(r.box, r.first + k), r.kind, r.at + k * r.stride, r.count, 0, 0, r.read});
    }
    return out;
}

Values Decode(const Layout& layout, const QString& map) {
    Values v;
    v.key = MapToDialDigits(map.mid(layout.keyAt - 1, kKeyDigits));
    const QString options = DecodeOptions(map, kOptionBits, kTrunkOption);
    v.flags = options.left(6);
    v.trunk = options.mid(kTrunkOption - 1, 1);
    if (layout.localDigitsAt > 0) v.localDigits = map.mid(layout.localDigitsAt - 1, 1);
    for (const Field& f : layout.fields) {
        if (!f.read) continue;
        v.boxes[f.box] = f.kind == Kind::Number ? numberDigits(map, f.at) : dialDigits(map, f);
    }
    return v;
}

QString WrittenMap(const Layout& layout, const QString& installationCode, const Values& v) {
    QString map(kMapLength, 'F');
    put(map, 7, installationCode.left(4).rightJustified(4, '0'));
    const QString key = keyText(v.key.right(kKeyDigits));
    put(map, 11, key + QStringLiteral("F"));
    // An empty trunk state (no read yet) is written as off.
    const QString trunk = v.trunk == QStringLiteral("1") ? v.trunk : QStringLiteral("0");
    const QString flags = v.flags.leftJustified(6, '0', true) + trunk;
    const QString digits = EncodeOptionDigits(flags, kOptionBits, 17, 4);
    put(map, 17, digits);
    put(map, 21, QStringLiteral("00"));
    if (layout.localDigitsAt > 0) {
        put(map, layout.localDigitsAt,
            v.localDigits.isEmpty() ? QStringLiteral("F") : v.localDigits.left(1));
        put(map, layout.localDigitsAt + 1, QStringLiteral("00"));
    }
    for (const Field& f : layout.fields) {
        const QString text = v.boxes.value(f.box);
        switch (f.kind) {
            case Kind::Number: {
                const QString n = threeDigits(text);
                put(map, f.at,
                    QStringLiteral("0") + n[0] + QStringLiteral("0") + n[1] + QStringLiteral("0") +
                        n[2]);
                break;
            }
            case Kind::Key:
                put(map, f.at, keyText(text) + QStringLiteral("F"));
                break;
            case Kind::Dial: {
                const QString all =
                    text.left(f.count + f.count2).leftJustified(f.count + f.count2, 'F');
                put(map, f.at, all.left(f.count));
                if (f.count2 > 0) put(map, f.at2, all.mid(f.count));
                break;
            }
        }
    }
    put(map, layout.keyAt, key + QStringLiteral("F"));
    return map;
}

Frame BuildFrame(const Layout& layout, const QString& kindByte, const QString& firmware,
                 const QString& classCode, const QString& installationCode, const Values& v) {
    const QString map = WrittenMap(layout, installationCode, v);
    const int second = layout.dataLength - 122;
    QString data = map.mid(6, 122) + map.mid(132, second);
    // The frame carries the second block only up to map 234.
    const QString block1 = kindByte + firmware + classCode + data.left(122);
    const QString fill = layout.block2Fill == QChar('0') ? QString(84, '0') : QString(24, 'F');
    const QString block2 = data.mid(122, 102) + QStringLiteral("6E") + fill;
    if (layout.closingF) data += QStringLiteral("f");
    return {block1 + FrameChecksum(block1) + QStringLiteral("45") + block2 + FrameChecksum(block2) +
                QStringLiteral("03FE"),
            data};
}

int FrameCarriesTo(const Layout& layout) {
    // Data character k lands on map k + 6 in block 1 and k + 10 in block 2.
    const int dataEnd = layout.dataLength <= 122 ? layout.dataLength + 6 : layout.dataLength + 10;
    return qMin(dataEnd, 234);
}

int LastPosition(const Field& field) {
    switch (field.kind) {
        case Kind::Number:
            return field.at + 2 * kNumberDigits - 1;
        case Kind::Key:
            return field.at + kKeyDigits - 1;
        case Kind::Dial:
            break;
    }
    return field.count2 > 0 ? field.at2 + field.count2 - 1 : field.at + field.count - 1;
}

const Command* FindCommand(std::span<const Command> table, const QString& commandNumber) {
    if (!IsWholeNumber(commandNumber)) return nullptr;
    const long long n = ValOf(commandNumber);
    for (const Command& c : table)
        if (c.number == n) return &c;
    return nullptr;
}

QString CommandValueText(const Command& c, const QString& commandValue) {
    if (c.value != Value::OnOff) return commandValue;
    if (commandValue == QStringLiteral("1")) return QStringLiteral("9");
    if (commandValue == QStringLiteral("0")) return QStringLiteral("0");
    return commandValue;
}

QString CommandIndexText(const Command& c, const QString& commandIndex) {
    if (c.indexAdd == 0) return {};
    long long n = ValOf(commandIndex) + c.indexAdd;
    if (c.indexTenIsZero && n == 10) n = 0;
    return QString::number(n);
}

QString CommandText(const Command& c, const QString& separator, const QString& key,
                    const QString& index, const QString& value, const QString& suffix) {
    QString out = QString::fromLatin1(c.code);
    if (c.separatorBeforeKey) out += separator;
    out += key;
    if (c.indexAdd != 0) out += separator + index;
    if (c.value != Value::None) out += separator + value;
    return out + suffix;
}

}  // namespace morla::longreply
