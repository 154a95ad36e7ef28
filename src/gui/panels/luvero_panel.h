#pragma once
class QFrame;

namespace morla {
class Program;

void BuildPanelLuvero(Program& p, QFrame* frame);
void ShowPanelLuvero(Program& p);
void ReadReplyLuvero(Program& p);
void BuildFrameLuvero(Program& p);
void CompleteSendLuvero(Program& p);

}  // namespace morla
