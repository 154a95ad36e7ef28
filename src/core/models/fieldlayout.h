#pragma once
// Where each field of a model lives in its digit map, so that what a whole write sent can be
// compared field by field with what the device holds afterwards.
#include <QString>
#include <vector>

#include "core/models/modelcore.h"
#include "core/models/registry.h"

namespace morla {

// How the device keeps the characters of a field, so that the frame's text and the device's
// digits can be compared.
enum class FieldForm {
    Hex,      // digits kept as sent
    Dial,     // dial digits: "0" kept as "A", "*" as "B", "#" as "C"
    LowBits,  // a character that is no hex digit is kept by its low four bits ("*" as "A")
};

struct MapField {
    QString name;  // the panel control that shows it, or what the digits hold
    int at;        // first map position, from 1
    int length;
    int at2 = 0;  // the rest of a field split over the two blocks
    int length2 = 0;
    FieldForm form = FieldForm::Hex;
    // False for what a whole write does not carry or the device does not keep from it.
    bool compared = true;

    // "11-14", or "127-128, 133-146" for a split field.
    QString positions() const;
    // The field's digits of a map, in order.
    QString digitsOf(const QString& map) const;
    int last() const { return length2 > 0 ? at2 + length2 - 1 : at + length - 1; }
};

// The fields of a model's map. The firmware code chooses between the variants that share a
// model code (Quarn Dolmeth, Tervolinda with voice).
std::vector<MapField> FieldLayout(const ModelInfo& model, const QString& firmwareCode);

// A field's digits as one text whatever way the device keeps them: dial digits as typed,
// other characters by their low four bits, so that equal values compare equal.
QString KeptForm(FieldForm form, const QString& digits);

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
// The compared fields whose kept form differs between the written and the read-back map.
std::vector<FieldDifference> CompareFields(const std::vector<MapField>& layout,
                                           const QString& written, const QString& readBack);
// "name (positions): escrito X, leído Y", or "caption (name, positions): ..." when the field
// has a caption; one per difference, joined with "; ".
QString DifferencesText(const std::vector<FieldDifference>& differences);

}  // namespace morla
