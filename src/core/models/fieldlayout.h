#pragma once
// What a read shows of each field of a model's map, so that what a whole write sent can be
// compared, in the form the panel shows it, with what the device holds afterwards; and the
// map a sent frame stands for.
#include <QString>
#include <vector>

#include "core/models/layout.h"
#include "core/models/registry.h"

namespace morla {

struct ShownField {
    QString name;       // the panel control that shows it, or what the digits hold
    QString positions;  // the map positions the read takes it from ("18, 20, 22", "11-14")
    QString text;       // what the read shows
    // False for what a whole write does not carry or the device does not keep from it.
    bool compared = true;
};

// The declared layout of a model; nothing for the Tervolinda (its key editor has its own
// image). The firmware code chooses the Quarn's variant.
const layout::Layout* DeclaredLayout(const ModelInfo& model, const QString& firmwareCode = {});

// The fields a read decodes from a map, as it shows them. The firmware code chooses between
// the variants that share a model code (Quarn Dolmeth, Tervolinda with voice).
std::vector<ShownField> ShownFields(const ModelInfo& model, const QString& firmwareCode,
                                    const QString& map);

// The map a sent frame stands for, so that it shows again as a read would: an installation
// class without a code left map 5-6 out of the frame ("00" goes there). The long-reply frames
// keep their second block's fields only up to map 234 (the Dolmeth's up to 204): "F" after
// them, and the block's checksum made again. A frame whose first block is damaged stays as it
// is, for the decoder to refuse. The Tervolinda's frame comes back unchanged (its editor's
// image, told apart by its own decoder).
QString MapOfSentFrame(const ModelInfo& model, const QString& frame, bool withClassCode);

// The map of a reply's characters: the low four bits of each, less the first four.
QString MapOfReply(const QByteArray& reply);
// Map 1-2 hold the model's code (":" travels as the digit "A").
bool MapIsOfModel(const QString& map, const ModelInfo& model);
// The firmware code a map reports, in decimal (or as its two characters where the model sends
// it so).
QString FirmwareOfMap(const QString& map, const ModelInfo& model);

struct FieldDifference {
    QString name, positions, written, readBack;
    QString caption;  // what the panel shows beside the field ("" when nothing)
};
// The compared fields whose shown text differs between the written and the read-back map.
std::vector<FieldDifference> CompareFields(const ModelInfo& model, const QString& firmwareCode,
                                           const QString& written, const QString& readBack);
// "name (positions): escrito X, leído Y", or "caption (name, positions): ..." when the field
// has a caption; one per difference, joined with "; ".
QString DifferencesText(const std::vector<FieldDifference>& differences);

}  // namespace morla
