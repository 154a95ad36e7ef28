#pragma once
// The four members of the long-reply models (Quarn, Pellitor, Kovalindre), written once and
// driven by each model's description, and small helpers to lay out their panels.
#include <QString>
#include <QStringList>
#include <span>

#include "core/models/longreply.h"
#include "core/models/registry.h"
#include "core/models/state.h"
#include "gui/panels/framework.h"

class QCheckBox;
class QFrame;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace morla {

class Program;

struct LongModel {
    ModelId id;
    QString MorlaState::*trunkState;
    const char* trunkBox;
    const char* listBox;  // the local-call list, nullptr for none
    QStringList (*listItems)();
    const layout::Layout& (*layout)(const QString& firmwareCode);
    std::span<const longreply::Command> commands;
    std::span<const longreply::RecordFill> fills;
    const char* commandSuffix;
    // Command "10": the key change from the previous key to the one now in the key box.
    QString (*keyChange)(const MorlaState& s, const QString& newKey);
    // After the fields are shown from a reply (the Quarn's variant).
    void (*afterDecode)(Program& p) = nullptr;
};

void ShowPanelLong(Program& p, const LongModel& m);
void ReadReplyLong(Program& p, const LongModel& m);
void BuildFrameLong(Program& p, const LongModel& m);
void CompleteSendLong(Program& p, const LongModel& m);

// Panel layout helpers: controls carry their written names.
QGroupBox* NamedGroup(QWidget* parent, const char* name, const QString& title);
QLabel* NamedLabel(QWidget* parent, const QString& name, const QString& caption);
QLineEdit* NamedBox(QWidget* parent, const QString& name, int maxLength);
QCheckBox* NamedCheck(QWidget* parent, const QString& name, const QString& caption);
// A label and its box on one row of a grid.
QLineEdit* LabelledBox(QGridLayout* grid, int row, int column, const QString& labelName,
                       const QString& caption, const QString& boxName, int maxLength);
// "Clave #02" .. for key k.
QString KeyCaption(int key);
QLabel* PanelTitle(QWidget* parent, const char* name, const QString& caption);

}  // namespace morla
