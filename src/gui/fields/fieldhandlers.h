#pragma once
// The handler table on real controls: a right press on a check box or button, a double click
// on a text box or a click on a button stores CommandNumber, CommandValue and CommandIndex
// and opens the pop-up menu "Comando" at the mouse; "Enviar" in it sends.
class QPoint;
class QString;
class QWidget;

namespace morla {
class Program;

// Binds every row of the handler table whose control is found under `root` (arrays as in
// fieldrules.h). A control already bound to a row is left as it is.
void BindFieldHandlers(Program& p, QWidget* root);

// Opens "Comando" at `globalPos` without waiting; nothing is sent until "Enviar" is chosen.
// With a key editor mode, the key editor runs once the menu has closed and its choice (if
// any) has been carried out.
void ShowCommandMenu(Program& p, const QPoint& globalPos, const char* keyEditorMode = nullptr);

// The Tervolinda key and number editor (EditTervolinda). Until that model installs it, the
// handlers and the key change form only set KeyEditorMode.
using KeyEditor = void (*)(Program&);
void InstallKeyEditor(KeyEditor editor);
// KeyEditorMode = mode, then the installed key editor, if any.
void RunKeyEditor(Program& p, const QString& mode);

}  // namespace morla
