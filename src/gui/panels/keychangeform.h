#pragma once
// The key change form "morforCamCla", through which the key of every model is changed: the
// new key is typed, "Enviar" sends the model's key change command with the key it replaces.
#include <QWidget>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace morla {
class Program;

class MorForCamCla : public QWidget {
    Q_OBJECT
  public:
    explicit MorForCamCla(Program& p);

    QGroupBox* morfracancka;
    QLineEdit* MorTextCanCka;
    QPushButton* morCmbCamCla;

    // "Enviar": the key box takes the new key, the key change is sent, the form closes.
    void Send();

  private:
    Program& p_;
};

// Distance of the form from the key box's left edge: 540 twips at 15 twips a pixel.
inline constexpr int kKeyFormOffset = 540 / 15;

// Double click on the key box: CommandNumber "10", the entry as long as the key box allows,
// the form beside the key box and shown without blocking the main window.
MorForCamCla* OpenKeyChangeForm(Program& p);

}  // namespace morla
