#pragma once
// Qt's own texts (file dialogs, edit menus) in Spanish, like the rest of the program.
namespace morla {

// Installs Qt's Spanish translations when the system has them; false when it has none.
bool InstallSpanishQtTexts();

}  // namespace morla
