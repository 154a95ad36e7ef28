#pragma once
// The checks that every text box of the panels runs on each change of its text, without
// widgets: what to tell the user and what the text becomes. The Qt layer (fields/ui) applies
// them to the boxes named in the box table.
#include <QString>
#include <QVector>
#include <array>
#include <span>

namespace morla::fields {

enum class Rule {
    D,          // digits only
    D255Whole,  // digits, the whole number at most 255
    D255Last3,  // digits, the number of the last three characters at most 255
    DS,         // digits and "*"
    DSH,        // digits, "*" and "#"
    Key,        // the device key: digits (third place free on the Sorvanell), no leading "0"
    Exit,       // the exit code: digits, not "0", "1", "8" or "9" alone
    Flags,      // the nine restriction flags as "1"/"0" text
};

// One row of the box table. Arrays are boxes named `name` followed by a two-digit element
// number ("MorTxtUniMe4" + "00" .. "13"); `elements` is the written element count, 0 for a
// single box.
struct BoxRule {
    const char* name;
    int elements;
    int maxLength;  // 0: the box keeps its own limit (set by the model panel, or none)
    Rule rule;
    const char16_t* title;    // title of the message on a refused character (D, D255, Key, Exit)
    const char16_t* message;  // text of that message
};

std::span<const BoxRule> BoxTable();
const BoxRule* FindBoxRule(const QString& name);
// The entry box of the key change form, checked as the key box.
const BoxRule& KeyChangeEntryRule();

struct RuleContext {
    QString modelCode;  // ModelCode: "04" leaves the third character of a key unchecked
};

// One repair: the message to show before it (empty for none) and the text after it.
struct Repair {
    QString message;
    QString title;
    QString text;
};

// Everything a change of `text` leads to, in order. The first repair removes every character
// the rule does not allow, wherever it stands; each later one judges the repaired text again
// as written. A message already shown for this change is not repeated (its repair still
// is). No repairs: the text stands.
QVector<Repair> Judge(const BoxRule& box, const QString& text, const RuleContext& context);

// The text that the repairs leave (the text itself when there are none).
QString Repaired(const QString& text, const QVector<Repair>& repairs);

// Flags text to the nine restriction boxes: box k is ticked exactly when character k is "1".
std::array<bool, 9> RestrictionTicks(const QString& flags);

// Caret position after a repair that only removed characters: it stays after the same kept
// characters. For any other change it goes to the end.
int CaretAfterRepair(const QString& before, const QString& after, int caret);

}  // namespace morla::fields
