#pragma once
// Binds the common fields of the main window to their rules and handlers.
namespace morla {
class Program;

void BindCommonFields(Program& p);

}  // namespace morla
