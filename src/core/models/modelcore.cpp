#include "core/models/modelcore.h"

#include "core/codec/codec.h"
#include "core/models/registry.h"
#include "core/models/tervolinda.h"

namespace morla {

QString ReplyMap(const ModelInfo& m, QByteArrayView reply) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const qsizetype length =
        m.id == ModelId::Tervolinda ? tervolinda::kMapLength : qsizetype(m.replyLength) - 4;
    QString map;
    map.reserve(length);
    for (qsizetype i = 4; i < reply.size() && map.size() < length; ++i)
        map += QLatin1Char(kHex[static_cast<unsigned char>(reply[i]) & 0x0F]);
    return map;
}

int BadChecksumBlock(const QString& map, int blocks) {
    if (FrameChecksum(map.mid(0, 128)) != map.mid(128, 2)) return 1;
    if (blocks > 1 && FrameChecksum(map.mid(132, 128)) != map.mid(260, 2)) return 2;
    return 0;
}

QString MapOfWriteFrame(const QString& frame, bool withClassCode) {
    if (withClassCode) return frame;
    QString map = frame;
    return map.insert(4, QStringLiteral("00"));
}

std::optional<QString> KeyStatusFor(const QString& keyText, int keyLength) {
    const QString key = keyText.left(keyLength);
    const QString verdict = CheckDigits(key);
    std::optional<QString> status;
    if (verdict == QStringLiteral("MAL")) status = QStringLiteral("DesActivado");
    if (verdict == QStringLiteral("OK")) status = QStringLiteral("Activado");
    if (key.startsWith('0')) status = QStringLiteral("DesActivado");
    return status;
}

QString FrameHeader(const QString& kindByte, const QString& firmwareBox, const QString& classCode,
                    const QString& installationCode) {
    return kindByte + DecToHex2(firmwareBox.left(2)) + classCode + installationCode;
}

QString CloseSingleBlock(const QString& body) {
    return body + FrameChecksum(body) + QStringLiteral("03") + QStringLiteral("FE");
}

QString DecodeOptions(const QString& map, std::span<const OptionBit> bits, int count) {
    QString flags(count, '0');
    for (const OptionBit& b : bits) {
        if (b.option < 1 || b.option > count) continue;
        const QString bitText = HexToBits(QStringLiteral("0") + map.mid(b.mapPos - 1, 1));
        const int index = b.bitValue == 8 ? 0 : b.bitValue == 4 ? 1 : b.bitValue == 2 ? 2 : 3;
        flags[b.option - 1] = bitText.isEmpty() ? QChar('0') : bitText.at(index);
    }
    return flags;
}

QString EncodeOptionDigits(const QString& flags, std::span<const OptionBit> bits, int first,
                           int count) {
    QString out;
    for (int pos = first; pos < first + count; ++pos) {
        QString bitText(QStringLiteral("0000"));
        for (const OptionBit& b : bits) {
            if (b.mapPos != pos) continue;
            const bool on = flags.mid(b.option - 1, 1) == QStringLiteral("1");
            const int index = b.bitValue == 8 ? 0 : b.bitValue == 4 ? 1 : b.bitValue == 2 ? 2 : 3;
            if (on) bitText[index] = '1';
        }
        out += BitsToHex(bitText).mid(1, 1);
    }
    return out;
}

QString OnOffValue(const QString& commandValue) {
    if (!IsWholeNumber(commandValue)) return commandValue;
    const long long v = ValOf(commandValue);
    if (v == 1) return QStringLiteral("9");
    if (v == 0) return QStringLiteral("0");
    return commandValue;
}

QString OnOffCommand(const QString& code, const QString& sep, const QString& key,
                     const QString& commandValue) {
    return code + sep + key + sep + OnOffValue(commandValue);
}

}  // namespace morla

namespace morla {

QString NumberField(const QString& text, int width) {
    return text.rightJustified(width, '0', true).right(width);
}

QString DialField(const QString& text, int width) {
    QString out;
    for (QChar c : text.left(width)) {
        if ((c >= u'0' && c <= u'9') || c == u'*' || c == u'#')
            out += c;
        else
            out += u'F';  // nothing the device can dial
    }
    return out.leftJustified(width, 'F');
}

QString Spaced(const QString& digits) {
    QString out;
    for (QChar c : digits) out += QStringLiteral("0") + c;
    return out;
}

QString Unspaced(const QString& map, int first, int count) {
    QString out;
    for (int i = 0; i < count; ++i) out += map.mid(first - 1 + 2 * i, 1);
    return out;
}

QString NumberDigits(const QString& digits) {
    QString out;
    for (QChar c : digits) {
        if (c == u'A')
            out += u'0';
        else if (c != u'F')
            out += c;
    }
    return out;
}

QString TrunkDigits(const QString& typed, const QString& sep) {
    QString out;
    for (int i = 0; i < 3; ++i) {
        if (i > 0) out += sep;
        out += i < typed.size() ? typed.mid(i, 1) : QStringLiteral("F");
    }
    return out;
}

}  // namespace morla
