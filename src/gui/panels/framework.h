#pragma once
// The model framework on the main window: the panel procedures, the four members of every
// model reached through the registry, and the steps that all models share.
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "core/models/registry.h"

class QCheckBox;
class QFrame;
class QWidget;

namespace morla {

class Program;

using Member = void (*)(Program&);

struct ModelMembers {
    Member ShowPanel = nullptr;
    Member ReadReply = nullptr;
    Member BuildFrame = nullptr;
    Member CompleteSend = nullptr;
    void (*BuildPanel)(Program&, QFrame*) = nullptr;  // lays out the model's frame
};

// The members of a model; models not built yet have only the shared panel steps.
const ModelMembers& Members(ModelId id);

// The panel procedures hide a frame and show it again, or show fields that the next step hides,
// within one handler. None of that reaches the screen, yet each change lays out and paints the
// panel anew. While a batch is open, SetShown only notes what is asked; the outermost batch
// gives each widget the last state asked of it when it closes. A message box about to appear,
// or the hiding of the widget that holds the keyboard focus (the focus must leave it), gives
// what was asked so far first.
class ShownBatch {
  public:
    explicit ShownBatch(Program& p);
    ~ShownBatch();
    ShownBatch(const ShownBatch&) = delete;
    ShownBatch& operator=(const ShownBatch&) = delete;

    void ask(QWidget* w, bool shown);
    void give();

  private:
    Program& p_;
    bool outer_ = false;
    std::function<void()> beforeBox_;
    std::vector<std::pair<QPointer<QWidget>, bool>> asked_;
};
void SetShown(Program& p, QWidget* w, bool shown);

void BuildModelPanels(Program& p);
QFrame* ModelFrame(Program& p, const ModelInfo& m);

void DispatchPanel(Program& p);
void ResetPanels(Program& p);
void HideModelFrames(Program& p);
void ShowCommonFields(Program& p);
void HideCommonFields(Program& p);
void ApplyRestrictorVisibility(Program& p);

// Dispatch by ModelCode; a code with no member does nothing.
void CallReadReply(Program& p, const QString& modelCode);
void CallBuildFrame(Program& p, const QString& modelCode);
void CallCompleteSend(Program& p, const QString& modelCode);

// ShowPanel steps 1 to 5: the configuration file of FirmwareCode into the common fields
// (key, flags, the first `restrictorCaptions` captions), then `fill` with the record for the
// model's own fields, the common fields shown, the frame shown, the key length set.
struct PanelShape {
    int restrictorCaptions = 6;
    int keyMaxLength = 4;
};
void ShowPanelSteps(Program& p, const ModelInfo& m, const PanelShape& shape,
                    const std::function<void(const QStringList&)>& fill = {});

// ReadReply steps 1 to 9 for models with the shared reply layout; `decode` fills the panel
// from the map (step 8). Returns true when the reply was decoded.
bool ReadReplySteps(Program& p, const ModelInfo& m,
                    const std::function<void(const QString& map)>& decode);

// A stored map ("Ult.&Leído", "&Ult.Envío") with a bad block: shown, never read again.
void BadStoredMap(Program& p, int block);

// Sets KeyStatus from the key box (unchanged for an empty key).
void ValidateKey(Program& p, int keyLength);
// As ValidateKey, and a key shorter than the device's is refused too: written at its fixed
// width it would not open the device.
void ValidateFullKey(Program& p, int keyLength);

// Name of element k of a control array: the array's name and two digits ("MorTxtUniMe4", 3 ->
// "MorTxtUniMe403").
QString ElementName(const char* array, int k);
// A check box from a configuration value: numeric 1 ticks, 0 clears, anything else leaves it.
void CheckFromConfig(QCheckBox* box, const QString& value);
// The globals a model's CompleteSend sets.
struct SingleCommand;
void ApplySingleCommand(Program& p, const SingleCommand& command);
struct CommandInput;
CommandInput SingleCommandInput(Program& p);

}  // namespace morla
