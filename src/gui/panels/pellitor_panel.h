#pragma once
class QFrame;

namespace morla {
class Program;

void BuildPanelPellitor(Program& p, QFrame* frame);
void ShowPanelPellitor(Program& p);
void ReadReplyPellitor(Program& p);
void BuildFramePellitor(Program& p);
void CompleteSendPellitor(Program& p);

}  // namespace morla
