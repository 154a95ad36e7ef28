#include "core/models/layout.h"

#include <QStringList>
#include <algorithm>

#include "core/codec/codec.h"
#include "core/models/modelcore.h"

namespace morla::layout {

namespace {
void put(QString& map, int position, const QString& digits) {
    for (int i = 0; i < digits.size() && position - 1 + i < map.size(); ++i)
        map[position - 1 + i] = digits[i];
}

QString bitsText(const Field& f, const QString& map) {
    QString out(f.characters, '0');
    for (const Bit& b : f.bits) {
        if (b.character < 1 || b.character > f.characters) continue;
        const bool on = (HexToDigit(map.mid(b.position - 1, 1)) & b.value) != 0;
        out[b.character - 1] = on ? '1' : '0';
    }
    return out;
}

QString digitsText(const Field& f, const QString& map) {
    QString out;
    for (size_t k = 0; k < f.places.size(); ++k) {
        if (f.literalAt == int(k) + 1) {
            out += f.literal;
            continue;
        }
        const QString d = map.mid(f.places[k] - 1, 1);
        out += f.encoding == Encoding::DialDigits ? MapToDialDigits(d) : NumberDigits(d);
    }
    return out;
}

// The characters a field writes at its places, "F" for an empty one.
QString written(const Field& f, const QString& text) {
    const int width = int(f.places.size());
    switch (f.encoding) {
        case Encoding::Number:
            return NumberField(text, width);
        case Encoding::HexByte:
            return DecToHex2(QString::number(qBound(0LL, ValOf(text), 255LL)));
        case Encoding::KeyDigits:
        case Encoding::DialDigits: {
            const QString t = f.trimmed ? text.trimmed() : text;
            return t.left(width).leftJustified(width, 'F');
        }
        case Encoding::Fixed:
            return f.fixed;
        case Encoding::Switch:
            return text == QStringLiteral("1") ? f.on : f.off;
        case Encoding::Bits:
            break;
    }
    return {};
}
}  // namespace

std::vector<int> Field::readPlaces() const {
    if (encoding == Encoding::Bits) {
        std::vector<int> out;
        for (const Bit& b : bits)
            if (b.character > 0 && std::find(out.begin(), out.end(), b.position) == out.end())
                out.push_back(b.position);
        std::sort(out.begin(), out.end());
        return out;
    }
    std::vector<int> out;
    for (size_t k = 0; k < places.size(); ++k)
        if (literalAt != int(k) + 1) out.push_back(places[k]);
    return out;
}

QString DecodeField(const Field& field, const QString& map) {
    switch (field.encoding) {
        case Encoding::Bits:
            return bitsText(field, map);
        case Encoding::HexByte: {
            QString pair;
            for (int at : field.places) pair += map.mid(at - 1, 1);
            return HexToDec(pair);
        }
        case Encoding::KeyDigits:
        case Encoding::DialDigits:
        case Encoding::Number:
            return digitsText(field, map);
        case Encoding::Switch: {
            const int at = field.places.front();
            return map.mid(at - 1, field.on.size()) == field.on ? QStringLiteral("1")
                                                                : QStringLiteral("0");
        }
        case Encoding::Fixed:
            break;
    }
    return {};
}

Values Decode(const Layout& layout, const QString& map) {
    Values out;
    for (const Field& f : layout.fields)
        if (f.encoding != Encoding::Fixed && f.read) out[f.control] = DecodeField(f, map);
    return out;
}

QString WrittenMap(const Layout& layout, const QString& header, const Values& values) {
    QString map(layout.mapLength, 'F');
    put(map, 1, header);
    // Bit digits start from 0 and gather the bits of every field that shares them.
    QMap<int, int> digits;
    for (const Field& f : layout.fields) {
        if (f.encoding != Encoding::Bits) continue;
        for (int at : f.places) digits.insert(at, digits.value(at));
        const QString text = values.value(f.control);
        for (const Bit& b : f.bits)
            if (b.character == 0 || text.mid(b.character - 1, 1) == QStringLiteral("1"))
                digits[b.position] |= b.value;
    }
    for (auto it = digits.begin(); it != digits.end(); ++it)
        put(map, it.key(), DigitToHex(it.value()));
    for (const Field& f : layout.fields) {
        if (f.encoding == Encoding::Bits) continue;
        if (f.encoding == Encoding::Fixed) {
            put(map, f.places.front(), f.fixed);
            continue;
        }
        const QString chars = written(f, values.value(f.control));
        for (size_t k = 0; k < f.places.size() && int(k) < chars.size(); ++k) {
            if (f.spaced) put(map, f.places[k] - 1, QStringLiteral("0"));
            put(map, f.places[k], chars.mid(int(k), 1));
        }
    }
    if (layout.checksummedBlocks >= 1) put(map, 129, FrameChecksum(map.left(128)));
    if (layout.checksummedBlocks >= 2) put(map, 261, FrameChecksum(map.mid(132, 128)));
    return map;
}

QString DataText(const Layout& layout, const QString& map) {
    QString out;
    for (const Piece& p : layout.dataText)
        out += p.from > 0 ? map.mid(p.from - 1, p.to - p.from + 1) : p.text;
    return out;
}

int Layout::carriedTo() const {
    if (block2To > 0) return block2To;
    return frameEnd > 0 ? frameEnd : mapLength;
}

QString Frame(const Layout& layout, const QString& map, bool withClassCode) {
    QString frame = layout.frameEnd > 0 ? map.left(layout.frameEnd) + layout.frameTail : map;
    if (layout.block2To > 0) {
        const QString block2 = map.mid(132, layout.block2To - 132) + layout.block2Tail;
        frame = map.left(132) + block2 + FrameChecksum(block2) + QStringLiteral("03FE");
    }
    if (!withClassCode) frame.remove(4, 2);
    return frame;
}

QString Header(const QString& kindByte, const QString& firmwareBox, const QString& classCode,
               const QString& installationCode) {
    return kindByte + DecToHex2(firmwareBox.left(2)) +
           (classCode.isEmpty() ? QStringLiteral("00") : classCode) + installationCode;
}

QString PositionsText(const std::vector<int>& positions) {
    QStringList parts;
    for (size_t i = 0; i < positions.size();) {
        size_t j = i;
        while (j + 1 < positions.size() && positions[j + 1] == positions[j] + 1) ++j;
        parts << (j == i ? QString::number(positions[i])
                         : QStringLiteral("%1-%2").arg(positions[i]).arg(positions[j]));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

std::vector<int> Run(int at, int count) {
    std::vector<int> out;
    for (int i = 0; i < count; ++i) out.push_back(at + i);
    return out;
}

std::vector<int> EverySecond(int at, int count) {
    std::vector<int> out;
    for (int i = 0; i < count; ++i) out.push_back(at + 2 * i);
    return out;
}

std::vector<int> Join(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace morla::layout
