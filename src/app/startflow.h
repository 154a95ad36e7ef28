#pragma once
// The start of the program up to the main window: selector (with the first-run installation),
// login and user level, port choice. Tests drive it through the windows and the message seam.
#include <QObject>
#include <functional>
#include <memory>

#include "gui/config/credentialswindow.h"
#include "gui/main/program.h"
#include "gui/start/startwindows.h"

namespace morla {

class Startup : public QObject {
    Q_OBJECT
  public:
    // programFolder: the folder of the executable.
    Startup(Program& program, const QString& programFolder, QObject* parent = nullptr);
    ~Startup() override;

    Program& p;
    std::unique_ptr<FrmSelector> selector;
    std::unique_ptr<MorFrmLogin> login;
    std::unique_ptr<MorFrmSelPort> portWindow;
    std::unique_ptr<FrmCapLogin> capLogin;

    bool LoginSucceeded = false;
    // How the program ends; the real program leaves its event loop.
    std::function<void()> endProgram;
    bool ended = false;

    // Load of the selector: the ordinary start goes on to the login, a pending installation
    // keeps the selector on screen.
    void Start();
    void SelectorAccept();  // "Continuar"
    void ShowLogin(bool modal);
    void LoginAccept();  // "Aceptar" of the login
    void LoginCancel();
    void ShowPortWindow(bool modal);
    // "Puerto serie..." of "&Configuración": the same window, the port in use chosen.
    void ShowPortWindowFromMenu();
    void PortChosen();
    void RefreshPortDevices();
    // The credentials window, reached from the menus or not.
    void ShowCredentialsWindow(bool fromMenu);
    void End();

  private:
    void loadLogin();
    void showMain();

    QString folder_;
    bool loginLoaded_ = false;
    bool portLoaded_ = false;
    bool mainLoaded_ = false;
    bool portFromMenu_ = false;        // the window is up for a new choice, not for the start
    std::function<void()> afterPort_;  // the operator's login goes on once the port is chosen
};

// Text beside the port list: the device each number opens here and whether it is there.
QString PortDeviceText(const QString& appFolder, int highlighted);

}  // namespace morla
