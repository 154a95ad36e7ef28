#pragma once
// The windows before the main window: the first-run selector, the login and the port choice.
// Controls carry their written names as objectName; the handlers are in startup.h.
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <array>
#include <functional>

namespace morla {

class FrmSelector : public QWidget {
    Q_OBJECT
  public:
    explicit FrmSelector(QWidget* parent = nullptr);

    QLabel* lblInformacion;
    QGroupBox* fraSelClave;
    QLabel* LblSelUsuario;
    QLineEdit* TxtSelUsuario;
    QLabel* LblSelContrasena;     // LblSelContraseña
    QLineEdit* TxtSelContrasena;  // TxtSelContraseña
    QGroupBox* fraSelEquipo;
    std::array<QRadioButton*, 10> chkEquipoDravenquista;
    QGroupBox* frmSelSistema;
    QLabel* Label1;
    QComboBox* cmbSelSistemaOperativo;
    QPushButton* cmdSelAceptar;

    // Index of the last option button clicked, 0 before any click.
    int SelectedEquipment = 0;
    // The list's text: "Sistema Operativo" until a system is chosen.
    QString systemText() const;

    // The close box (not a close from code after the hand-over).
    std::function<void()> onUserClose;
    void closeFromCode();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    bool closingFromCode_ = false;
};

class MorFrmLogin : public QDialog {
    Q_OBJECT
  public:
    explicit MorFrmLogin(QWidget* parent = nullptr);

    QLabel* lblUserName;
    QLineEdit* txtUserName;
    QLabel* lblPassword;
    QLineEdit* txtPassword;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    // "Cancelar", Escape and the close box.
    std::function<void()> onCancel;

  protected:
    void reject() override;
};

class MorFrmSelPort : public QWidget {
    Q_OBJECT
  public:
    explicit MorFrmSelPort(QWidget* parent = nullptr);

    QLabel* MorLabPuerInf;
    QComboBox* MorCmbNumPort;
    // Beside the list: the device each number opens on this machine, and whether it is there.
    QLabel* MorLabPuerDis;
    QPushButton* MorCmdPuerAct;  // "Actualizar": that list again, now
    QTimer* MorTimPuerDis;       // keeps that list current while the window shows

    std::function<void()> onChoice;   // an item chosen, or Enter on the list
    std::function<void()> onClose;    // the close box
    std::function<void()> onEscape;   // Esc
    std::function<void()> onRefresh;  // the device list is due to be brought up to date
    int highlighted = -1;             // item under the pointer in the open list

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
};

}  // namespace morla
