#pragma once
// Helpers for the field tests: a program with a stand-in panel holding controls named as a
// model panel names them, and the shown message boxes as "title: text".
#include <QStringList>
#include <QWidget>

#include "gui/main/program.h"
#include "support/programfixture.h"

class QCheckBox;
class QLineEdit;

namespace morla::fieldtest {

// The message boxes shown so far, each as "title: text".
QStringList Shown(const RecordedMessages& msgs);

// A top-level window standing in for a model panel not built yet.
class Panel : public QWidget {
  public:
    Panel();
    // Text box or check box named `name`, created once.
    QLineEdit* box(const QString& name);
    QCheckBox* check(const QString& name);
    // Any other control, created by the caller with this panel as parent.
    template <typename W>
    W* add(W* w, const QString& name) {
        w->setObjectName(name);
        place(w);
        return w;
    }

  private:
    void place(QWidget* w);
};

// A program and a panel; the panel goes first, as its controls' handlers use the program.
struct Bench {
    RecordedMessages msgs;
    test::FakeTransport port;
    Program p{msgs, port};
    Panel panel;

    ~Bench();
    // The main window's own box for the common fields, else a panel box bound to the rules.
    QLineEdit* box(const QString& name);
    // The nine restriction boxes as "1"/"0".
    QString ticks() const;
    // Shows the main window and the panel, so that mouse events reach them.
    bool show();
    bool menuShown() const;
    // Closes "Comando" without choosing, and lets what waits for that run.
    void closeMenu();
};

// Name of element k of a control array ("MorTxtUniMe4", 2 -> "MorTxtUniMe402").
QString Element(const QString& array, int k);

}  // namespace morla::fieldtest
