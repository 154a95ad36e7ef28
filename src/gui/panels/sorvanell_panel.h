#pragma once
class QFrame;

namespace morla {
class Program;

void BuildPanelSorvanell(Program& p, QFrame* frame);
void ShowPanelSorvanell(Program& p);
void ReadReplySorvanell(Program& p);
void BuildFrameSorvanell(Program& p);
void CompleteSendSorvanell(Program& p);

}  // namespace morla
