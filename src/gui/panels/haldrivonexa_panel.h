#pragma once
class QFrame;

namespace morla {
class Program;

void BuildPanelHaldrivonexa(Program& p, QFrame* frame);
void ShowPanelHaldrivonexa(Program& p);
void ReadReplyHaldrivonexa(Program& p);
void BuildFrameHaldrivonexa(Program& p);
void CompleteSendHaldrivonexa(Program& p);

}  // namespace morla
