#pragma once
// The main window's model buttons, command buttons and menus.
namespace morla {
class Program;

void WireMainWindow(Program& p);
// Model button i (1..14) as a click would run it.
void ModelButton(Program& p, int button);
void HangUp(Program& p);        // "&Colgar"
void Verify(Program& p);        // "&Verificar"
void Defaults(Program& p);      // "&Default"
void FactoryReset(Program& p);  // "&Reset Fábrica"
void Leave(Program& p);         // "E&scape" and "&Salir"
// Another port chosen while the program runs: what was under way on the old one is dropped,
// the old port closed and the new one opened (a failure is reported, and the next command
// tries again).
void ChangePort(Program& p, int portNumber);
// An operator's menus: "&Configuración" with the port choice alone (none in modem mode), no
// "&Monitor".
void ShowOperatorMenus(Program& p);

}  // namespace morla
