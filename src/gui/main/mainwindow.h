#pragma once
// The main window: start page, the eight model frames, the common fields, model and command
// buttons, status, menus and timers. Controls carry their written names as objectName.
#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <array>
#include <functional>

#include "session/linesession.h"

namespace morla {

class MorForPri : public QMainWindow {
    Q_OBJECT
  public:
    explicit MorForPri(QWidget* parent = nullptr);

    // Start page
    QFrame* MorFraPri;
    QLabel* MorLabPrin;
    QLabel* MorPicPri;

    // Model frames, in registry order: Ale, Bas, Uni, Mult, Flh, Con, Priv, MulClv
    QFrame *MorFraAle, *MorFraBas, *MorFraUni, *MorFraFlh, *MorFraMult, *MorFraCon, *MorFraPriv,
        *MorFraMulClv;
    QFrame* frameNamed(const QString& name) const;
    std::array<QFrame*, 8> modelFrames() const;

    // Common fields
    QTabWidget* MorTaSRes;
    std::array<QCheckBox*, 9> MorChkRes;  // MorChkRes01 .. MorChkRes09
    QLineEdit* MorTexResCla;
    QLineEdit* MorTexRes;
    QLineEdit* MorTexResFirm;
    QLabel* MorTexResFirL;
    QLineEdit* MorTexResMod;
    QLabel* MorTexResModL;
    QLineEdit* MorTexResUs;
    QLabel* MorTexResUsL;
    QLineEdit* MorTexBan;

    // Buttons
    std::array<QPushButton*, 14> MorCmd;  // MorCmd01 .. MorCmd14
    QTabWidget* MorTaSCom;
    QPushButton *MorFraCom01, *MorFraCom02, *MorFraCom03, *MorFraCom04, *MorFraCom05, *MorFraCom06,
        *MorFraCom07, *MorFraCom08, *MorFraCom10;

    // Status
    QGroupBox* MorFraEst;
    QLineEdit* MorTexEst;
    QProgressBar* readProgress;
    QLabel* sendStatus;       // the wait before a send, then what went out and when
    QTimer* sendCountdown;    // once a second while the send timer runs
    QPushButton* sendCancel;  // stops the send while the send timer waits

    // Menus
    QMenu* MorMnuPrin;
    QAction* MorMnuPriGua;  // save the device's configuration to a file
    QAction* MorMnuPriAbr;  // open one into the model's panel
    QAction* MorMnuPriSal;
    QMenu* MorMnuCon;
    QAction* MorMnuConE;
    QAction* MorMnuConC;
    QAction* MorMnuConPue;  // the port choice again; operators see this item alone
    QAction* MorMnuMon;
    QMenu* mnuComando;
    QAction* mnuEnviar;

    // Timers
    PacedTimer* TimerPID;
    QTimer* TimerEC;
    QTimer* Retardo;

    // Runs when the window is closed, before it goes (port closing message and close).
    std::function<void()> onUnload;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    bool unloaded_ = false;
};

}  // namespace morla
