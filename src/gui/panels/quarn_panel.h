#pragma once
class QFrame;

namespace morla {
class Program;

void BuildPanelQuarn(Program& p, QFrame* frame);
void ShowPanelQuarn(Program& p);
void ReadReplyQuarn(Program& p);
void BuildFrameQuarn(Program& p);
void CompleteSendQuarn(Program& p);

}  // namespace morla
