#pragma once
// Preparing and starting transmissions, the whole-configuration write, and showing the last
// write and the last read again.
namespace morla {
class Program;

void PrepareSend(Program& p);
void StartSend(Program& p);
void SendWholeConfiguration(Program& p);  // "&Enviar"
void SendSingleCommand(Program& p);       // "Enviar" of the pop-up menu "Comando"
void ShowLastSent(Program& p);            // "&Ult.Envío"
void ShowLastRead(Program& p);            // "Ult.&Leído"

}  // namespace morla
