#pragma once
class QFrame;

namespace morla {
class Program;

void BuildPanelKovalindre(Program& p, QFrame* frame);
void ShowPanelKovalindre(Program& p);
void ReadReplyKovalindre(Program& p);
void BuildFrameKovalindre(Program& p);
void CompleteSendKovalindre(Program& p);

}  // namespace morla
