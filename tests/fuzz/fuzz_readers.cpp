// libFuzzer target: the record reader, the reply decoders and the device configuration file
// reader on any bytes. The first byte chooses what is fed; the rest is the input. Aborts when
// a property below does not hold.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdlib>

#include "core/codec/codec.h"
#include "core/codec/text.h"
#include "core/config/deviceimage.h"
#include "core/config/recordfile.h"
#include "core/models/luvero.h"
#include "core/models/modelcore.h"
#include "core/models/registry.h"
#include "core/models/sorvanell.h"
#include "core/models/tervolinda.h"

using namespace morla;

namespace {

// The first byte that feeds a device configuration file; other even bytes feed records.
constexpr uint8_t kDeviceFileInput = 0xF0;

void Require(bool condition) {
    if (!condition) std::abort();
}

// Any record bytes read as exactly K fields no longer than the record, every character one the
// file can hold again; written back (when the counts leave room) they read the same.
void Records(const QByteArray& input) {
    static constexpr RecordType kTypes[] = {
        ModelConfigRecord, EquipmentIndexRecord, SoftwareSettingsRecord,   UserRecord,
        CommandRecord,     LastSentRecord,       OperatorCredentialsRecord};
    if (input.isEmpty()) return;
    const RecordType& t = kTypes[uint8_t(input[0]) % std::size(kTypes)];
    const QByteArray record = input.mid(1, t.length);
    const QStringList fields = DecodeRecord(record, t.fields);
    Require(fields.size() == t.fields);
    qsizetype text = 0;
    for (const QString& f : fields) text += f.size();
    Require(text <= record.size());
    for (const QString& f : fields) Require(NonAnsiCharacters(f).isEmpty());
    // Written back, they take two bytes of count each; what fits must read the same.
    QString error;
    const std::optional<QByteArray> again =
        EncodeRecord(QStringLiteral("fuzz"), t.length, fields, &error);
    const bool fits = text + 2 * t.fields <= t.length;
    Require(again.has_value() == fits && error.isEmpty() == fits);
    if (!fits) return;
    Require(again->size() == t.length);
    Require(DecodeRecord(*again, t.fields) == fields);
}

// A reply of any characters, as the receive event collects it, through every model's length:
// the digit map, the block checksums and the Lúvero field decoders.
void Replies(const QByteArray& input) {
    if (input.size() < 5) return;
    const QByteArray bytes = input.mid(4);
    const QString reply = FromAnsi(bytes);
    for (const ModelInfo& m : Models()) {
        const QString map = ReplyMap(m, bytes);
        const qsizetype whole = m.id == ModelId::Tervolinda ? 132 : m.replyLength - 4;
        Require(map.size() <= whole && map.size() <= qMax<qsizetype>(0, bytes.size() - 4));
        if (bytes.size() < m.replyLength) continue;
        Require(map.size() == whole);
        const int bad = BadChecksumBlock(map, m.blocks());
        Require(bad >= 0 && bad <= m.blocks());
        Require(HexToDec(map.mid(2, 2)).size() <= 3);
        if (m.id == ModelId::Luvero) {
            Require(luvero::DecodeKey(map).size() <= luvero::kKeyLength);
            Require(luvero::DecodeFlags(map).size() == 6);
        }
        if (m.id == ModelId::Sorvanell) {
            Require(sorvanell::DecodeKey(map).size() <= sorvanell::kKeyLength);
            Require(sorvanell::DecodeProgramming(map).size() <= sorvanell::kKeyLength);
            Require(sorvanell::DecodeFlags(map).size() == 7);
            Require(sorvanell::DecodeCount(map).toInt() <= sorvanell::kCountMax);
            Require(sorvanell::DecodeAlertDigit(map).size() <= 1);
        }
        if (m.id == ModelId::Tervolinda) {
            const QString firmware = tervolinda::FirmwareOf(reply);
            if (const auto f = tervolinda::DecodeMap(map.left(tervolinda::kMapLength), firmware))
                Require(f->key.size() <= tervolinda::kKeyLength);  // "F" is an empty place
            // A kept write frame is as long as every digit of the reply after its start.
            QString digits;
            for (qsizetype i = 4; i < m.replyLength; ++i)
                digits += QLatin1Char("0123456789ABCDEF"[uint8_t(bytes[i]) & 0x0F]);
            if (const auto f = tervolinda::DecodeFrame(digits))
                Require(f->variant != tervolinda::Variant::Unknown);
        }
    }
    // The codec helpers on the raw text.
    for (const QString& piece : {reply.left(2), reply.left(4), reply}) {
        Require(FrameChecksum(piece).size() == 2);
        HexToDec(piece);
        DecToHex2(piece);
        DecToHex4(piece);
        HexToBits(piece);
        BitsToHex(piece);
        MapToKeyDigits(piece);
        MapToDialDigits(piece);
        CheckDigits(piece);
        CheckDigitsSkip3(piece);
        ValOf(piece);
    }
}

// A device configuration file of any bytes: refused with a reason, or fields that write out
// as a file that reads back as the same fields.
void DeviceFiles(const QByteArray& input) {
    const ParsedImage parsed = ParseDeviceImage(input);
    Require(parsed.image.has_value() == (parsed.refusal == ImageRefusal::None));
    if (!parsed.image) {
        Require(parsed.refusal == ImageRefusal::BadChecksum || !parsed.detail.isEmpty());
        return;
    }
    const ParsedImage again = ParseDeviceImage(FormatDeviceImage(*parsed.image));
    Require(again.image.has_value() && *again.image == *parsed.image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const QByteArray input(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    if (data[0] == kDeviceFileInput)
        DeviceFiles(input);
    else if (data[0] & 1)
        Replies(input);
    else
        Records(input);
    return 0;
}
