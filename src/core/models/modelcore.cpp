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
