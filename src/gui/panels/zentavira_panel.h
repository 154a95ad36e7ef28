#pragma once
class QFrame;

namespace morla {
class Program;

void BuildPanelZentavira(Program& p, QFrame* frame);
void ShowPanelZentavira(Program& p);
void ReadReplyZentavira(Program& p);
void BuildFrameZentavira(Program& p);
void CompleteSendZentavira(Program& p);

}  // namespace morla
