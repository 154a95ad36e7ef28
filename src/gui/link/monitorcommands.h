#pragma once
// The monitor's buttons and command list.
namespace morla {
class Program;

void WireMonitor(Program& p);
void FillMonitorCommands(Program& p);  // monitor load
void MonitorChooseCommand(Program& p);
void MonitorApply(Program& p);    // "&Aplicar"
void MonitorSave(Program& p);     // "&Grabar"
void MonitorCommand(Program& p);  // "&Comando"

}  // namespace morla
