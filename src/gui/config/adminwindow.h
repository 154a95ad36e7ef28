#pragma once
// The software settings (read retries, time-out) and the users list.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "core/config/configfiles.h"

namespace morla {

class Program;

class MorFrmCPri : public QWidget {
    Q_OBJECT
  public:
    explicit MorFrmCPri(Program& p, QWidget* parent = nullptr);

    QLineEdit *MorTexE21, *MorTexE22;
    QComboBox* MorComCPUsuarios;
    QLineEdit *MorTexE23, *MorTexE25, *MorTexE24;
    QPushButton *MorCmdCPConGra, *MorCmdCPConRec, *MorCmdUsCesA, *MorCmdUsCesG;
    QPushButton *MorCmdCPConAceptar, *MorCmdCPConAlta;

    // Set by "&Aplicar", used by "Gra&bar".
    bool UserFound = false;
    int UserRecordNumber = 0;

    void Load();
    void Recuperar();
    void GrabarSoftware();
    void UserChosen();
    void Aplicar();
    void GrabarUsuario();

  private:
    // List index as the settings keep it: -1 unless the text is the chosen item.
    int selectedUser() const;

    Program& p_;
    QString foundName_;  // the name that "&Aplicar" found
    KeptField keptName_, keptSlot_, keptThird_;
};

}  // namespace morla
