#pragma once
// Tervolinda: a four-digit key; the variant without voice also has an exit key and two
// options. The variants are told apart by the firmware code, which the device sends as two
// decimal characters. It is written one field at a time; its write frame is the memory image
// the key editor keeps of the device.
#include <QString>
#include <optional>

#include "core/models/layout.h"

namespace morla::tervolinda {

inline constexpr int kKeyLength = 4;
inline constexpr int kMapLength = 132;
inline constexpr int kFrameLength = 132;
// The mask kept with a write: what "&Ult.Envío" puts where a reply would be.
inline constexpr int kWrittenMaskLength = 136;

enum class Variant { Unknown, WithoutVoice, WithVoice };

// Above 70 without voice, 2 with voice, both read as numbers ("02" is 2).
Variant VariantOf(const QString& firmwareCode);

// What a read shows of each variant, by map position; nothing for another firmware. The
// write frame is the key editor's image, not this map.
const layout::Layout* Layout(const QString& firmwareCode);

// Reply characters 7 and 8 as they stand.
QString FirmwareOf(const QString& replyText);

struct Fields {
    Variant variant = Variant::Unknown;
    QString key;
    QString exitKey;
    bool removeFirst1 = false;  // MorFraPrivElim1
    bool blockStart9 = false;   // MorFraPrivNum9
};
// The fields of a read map for the variant of `firmwareCode`; nothing for another firmware.
std::optional<Fields> DecodeMap(const QString& map, const QString& firmwareCode);
// The fields of a write frame kept in the last-sent record; the trailer tells the variant.
std::optional<Fields> DecodeFrame(const QString& frame);
// The firmware code a kept write frame was built for: "72", "2", or "" when not known.
QString FrameFirmware(const QString& frame);

// Options as the frame holds them: "09" on, "0A" off, nothing for a greyed box.
enum class Box { Clear, Ticked, Greyed };
struct FrameInput {
    QString firmwareCode;
    QString key, exitKey;
    Box removeFirst1 = Box::Clear, blockStart9 = Box::Clear;
};
// The write frame for the variant of the firmware code; nothing for another firmware.
std::optional<QString> BuildFrame(const FrameInput& in);

// What the editor sends for the field of `mode` ("1" to "4"); nothing for another mode.
struct EditorInput {
    QString mode;
    Box removeFirst1 = Box::Clear, blockStart9 = Box::Clear;
    QString key, exitKey;
};
std::optional<QString> EditorSendData(const EditorInput& in);

// The single command of `number`, or nothing for another number or an inactive key where
// one is needed. Typed values go as typed; only the options turn "1" into "9".
struct CommandInput {
    QString number, value, keyStatus, key, previousKey, exitKey, separator;
};
std::optional<QString> Command(const CommandInput& in);

// The editor's field for a command number: "2" key, "3" exit key, "1" and "4" the options.
QString EditorModeFor(const QString& commandNumber);

}  // namespace morla::tervolinda
