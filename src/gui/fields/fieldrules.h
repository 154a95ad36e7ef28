#pragma once
// The box table's rules on real text boxes. A box is found by its objectName; an element of
// a box array is named after the array with a two-digit element number ("MorTxtUniMe4" +
// "00" .. "13", "MorTexFlhClv" + "01" .. "04"). Every number from "00" to "99" found is
// bound, so a panel may number its elements as it needs.
class QLineEdit;
class QString;
class QWidget;

namespace morla {
class Program;
namespace fields {
struct BoxRule;
}

// Binds every box of the box table found under `root`. A box already bound is left as it is,
// so a panel that builds its boxes later can call it again.
void BindFieldRules(Program& p, QWidget* root);

// Element number of a control array's element from its name ("MorTxtUniMe1602" is 2); -1
// when the name does not end in two digits.
int ElementNumber(const QString& name);

// Checks `box` with `rule` on every change of its text, also when the program sets it: the
// message is shown and the text repaired at once. Listeners connected later should read the
// box's text(): after a repair they get the repaired text first, then the refused argument.
void BindBoxRule(Program& p, QLineEdit* box, const fields::BoxRule& rule);

}  // namespace morla
