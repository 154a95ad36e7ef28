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

}  // namespace morla
