#pragma once
// Helpers for the field tests: a stand-in panel holding controls named as a model panel names
// them, and the shown message boxes as "title: text".
#include <QStringList>
#include <QWidget>

#include "app/messages.h"

class QCheckBox;
class QLineEdit;

namespace morla::fieldtest {

// The message boxes shown so far, each as "title: text".
QStringList Shown(const RecordedMessages& msgs);

// A top-level window standing in for a model panel not built yet.
class Panel : public QWidget {
  public:
    Panel();
    // Text box or check box named `name`, created once and laid out in the panel.
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

// Name of element k of a control array ("MorTxtUniMe4", 2 -> "MorTxtUniMe402").
QString Element(const QString& array, int k);

}  // namespace morla::fieldtest
