#pragma once
// Binds the common fields of the main window to their rules and handlers.
namespace morla {
class Program;

// The rules and handlers of every control found on the main window (the common fields and
// the panels built so far), and the restriction boxes' left click.
void BindCommonFields(Program& p);

}  // namespace morla
