#pragma once
class QFrame;

namespace morla {
class Program;

void BuildPanelTervolinda(Program& p, QFrame* frame);
void ShowPanelTervolinda(Program& p);
void ReadReplyTervolinda(Program& p);
void CompleteSendTervolinda(Program& p);

// The key and number editor: the data of the field named by KeyEditorMode, and the write frame
// of the panel for the firmware's variant. It also judges the key, as the other models' frame
// builders do, so that the options can be sent without another model's frame first.
void EditTervolinda(Program& p);
// The send preparation's frame step: the editor on the field of the command being sent, so
// that the last-sent record holds what is sent.
void PrepareFrameTervolinda(Program& p);

}  // namespace morla
