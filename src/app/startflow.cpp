#include "app/startflow.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QDir>

#include "core/config/installation.h"
#include "gui/device/commands.h"
#include "session/portaccess.h"
#include "session/serial/serialtransport.h"
#include "session/transport.h"

namespace morla {

namespace {
// The engineering user's fixed name and password.
const QString kEngineeringUser = QStringLiteral("Ingenieria");
const QString kEngineeringPassword = QStringLiteral("Tirel");
const QString kModemMode = QStringLiteral("PC");

QString withoutTrailingSeparator(QString folder) {
    folder = QDir::toNativeSeparators(folder);
    while (folder.size() > 1 && folder.endsWith(QDir::separator())) folder.chop(1);
    return folder;
}

QString modeCodeOf(const QString& appFolder) {
    const Paths paths{appFolder};
    return ReadRecord(paths.softwareSettings(), SoftwareSettingsRecord).fields[26].left(2);
}
}  // namespace

QString PortDeviceText(const QString& appFolder, int highlighted) {
    QStringList lines{QStringLiteral("Dispositivo de cada número:")};
    for (int n = 1; n <= 5; ++n) {
        const PortDevice port = ResolvePort(n, appFolder);
        const bool there = !port.device.isEmpty() && SerialDevicePresent(port.device);
        lines << QStringLiteral("%1 %2: %3 (%4)")
                     .arg(n - 1 == highlighted ? QStringLiteral("→") : QStringLiteral(" "))
                     .arg(n)
                     .arg(port.text(true),
                          there ? QStringLiteral("existe") : QStringLiteral("no existe"));
    }
    return lines.join('\n');
}

Startup::Startup(Program& program, const QString& programFolder, QObject* parent)
    : QObject(parent), p(program), folder_(withoutTrailingSeparator(programFolder)) {
    endProgram = [] { QCoreApplication::exit(0); };
    selector = std::make_unique<FrmSelector>();
    login = std::make_unique<MorFrmLogin>();
    portWindow = std::make_unique<MorFrmSelPort>();
    capLogin = std::make_unique<FrmCapLogin>(p.s, folder_);

    connect(selector->cmdSelAceptar, &QPushButton::clicked, this, &Startup::SelectorAccept);
    selector->onUserClose = [this] { End(); };
    connect(login->cmdOK, &QPushButton::clicked, this, &Startup::LoginAccept);
    login->onCancel = [this] { LoginCancel(); };
    portWindow->onChoice = [this] { PortChosen(); };
    // Closed at start it ends the program; from the menu it only leaves the port as it was.
    portWindow->onClose = [this] {
        if (portFromMenu_)
            portFromMenu_ = false;
        else
            End();
    };
    // Esc gives up a new choice; at start it does nothing (it would end the program).
    portWindow->onEscape = [this] {
        if (portFromMenu_) portWindow->close();
    };
    portWindow->onRefresh = [this] { RefreshPortDevices(); };
    connect(p.main->MorMnuConPue, &QAction::triggered, this, &Startup::ShowPortWindowFromMenu);
    capLogin->showLogin = [this] { ShowLogin(false); };
    capLogin->report = [this](const QString& why) { p.msg.info(why); };

    // Closing the main window ends the program, after its own unload.
    auto unload = p.main->onUnload;
    p.main->onUnload = [this, unload] {
        if (unload) unload();
        End();
    };
}

Startup::~Startup() = default;

void Startup::End() {
    if (ended) return;
    ended = true;
    if (p.port.isOpen()) p.port.close();
    if (endProgram) endProgram();
}

void Startup::Start() {
    RemoveAuxiliaryProgram(folder_);
    if (InstallationPending(folder_)) {
        selector->show();
        return;
    }
    p.s.ModeCode = modeCodeOf(folder_);
    selector->closeFromCode();
    ShowLogin(false);
}

void Startup::SelectorAccept() {
    FrmSelector& w = *selector;
    const QString system = w.systemText();
    const int chosen = w.SelectedEquipment;
    const QString equipment = SelectorEquipment().value(chosen);
    const bool yes =
        p.msg.yes(QStringLiteral("La información es correcta?") + QChar(13) +
                      QStringLiteral("Sistema Operativo: ") + system + QStringLiteral(" ") +
                      QChar(13) + QStringLiteral("Equipo Dravenquista: ") + equipment,
                  QStringLiteral("PPP"));
    if (system.isEmpty() || system == QStringLiteral("Sistema Operativo")) {
        p.msg.info(QStringLiteral("Necesita seleccionar Sistema Operativo"));
        return;
    }
    if (!yes) return;
    if (chosen >= 0 && chosen <= 9) {
        const InstallResult installed = InstallForEquipment(folder_, equipment, system);
        if (!installed.ok) {
            // Nothing was changed: the selector stays for another try.
            p.msg.info(installed.error);
            return;
        }
        if (installed.startAuxiliary && !StartAuxiliaryProgram(AuxiliaryProgram(folder_)))
            p.msg.info(QStringLiteral("No se pudo iniciar %1")
                           .arg(QDir::toNativeSeparators(AuxiliaryProgram(folder_))));
    }
    const RecordWriteResult written =
        WriteOperatorCredentials(folder_, w.TxtSelUsuario->text(), w.TxtSelContrasena->text());
    if (!written.ok) p.msg.info(written.error);
    ShowLogin(true);
    selector->closeFromCode();
}

void Startup::loadLogin() {
    if (loginLoaded_) return;
    loginLoaded_ = true;
    p.s.AppFolder = folder_;
    p.s.DataFolder = QStringLiteral("Utilerias");
    p.s.ModeCode = modeCodeOf(folder_);
}

void Startup::ShowLogin(bool modal) {
    loadLogin();
    login->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    login->show();
}

void Startup::LoginAccept() {
    MorFrmLogin& w = *login;
    MorlaState& s = p.s;
    if (w.txtUserName->text() == kEngineeringUser) {
        if (w.txtPassword->text() == kEngineeringPassword) {
            LoginSucceeded = true;
            w.hide();
            s.OperatorMode = kEngineeringUser;
            ShowPortWindow(false);
            return;
        }
        p.msg.info(QStringLiteral("La contraseña no es válida. Vuelva a intentarlo"),
                   QStringLiteral("Inicio de sesión"));
        w.txtPassword->setFocus();
        w.txtPassword->home(false);
        w.txtPassword->end(true);
        return;
    }
    const RecordRead stored =
        ReadRecord(s.paths().operatorCredentials(), OperatorCredentialsRecord);
    const QString& name = stored.fields[0];
    const QString& password = stored.fields[1];
    if (!stored.ok || name.isEmpty() || password.isEmpty() || w.txtUserName->text() != name ||
        w.txtPassword->text() != password) {
        End();
        return;
    }
    s.OperatorMode = QStringLiteral("Otro");
    auto goOn = [this] {
        ShowOperatorMenus(p);
        login->hide();
        showMain();
    };
    if (s.ModeCode != kModemMode) {
        afterPort_ = goOn;
        ShowPortWindow(true);
    } else {
        goOn();
    }
}

void Startup::LoginCancel() {
    LoginSucceeded = false;
    login->hide();
    End();
}

void Startup::ShowPortWindow(bool modal) {
    if (!portLoaded_) {
        portLoaded_ = true;
        for (int n = 1; n <= 5; ++n) portWindow->MorCmbNumPort->addItem(QString::number(n));
        // The last port that opened here is offered; the technician still chooses it.
        portWindow->MorCmbNumPort->setCurrentIndex(LastGoodPort(p.s.AppFolder) - 1);
        login->hide();
    }
    portWindow->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    portWindow->show();
}

void Startup::ShowPortWindowFromMenu() {
    portFromMenu_ = true;
    ShowPortWindow(true);
    portWindow->MorCmbNumPort->setCurrentIndex(p.s.ComPortNumber - 1);
    // Over the main window, where the technician is looking.
    portWindow->move(p.main->frameGeometry().center() - portWindow->rect().center());
    portWindow->raise();
    portWindow->activateWindow();
}

void Startup::PortChosen() {
    QComboBox& list = *portWindow->MorCmbNumPort;
    // Enter on the list before any choice has no number, whatever the list shows.
    if (list.currentIndex() < 0 || list.currentText().isEmpty()) {
        p.msg.info(QStringLiteral("Necesitas seleccionar un Número"));
        return;
    }
    const int chosen = list.currentText().toInt();
    if (portFromMenu_) {
        portFromMenu_ = false;
        portWindow->hide();
        ChangePort(p, chosen);
        return;
    }
    p.s.ComPortNumber = chosen;
    portWindow->hide();
    showMain();
    if (afterPort_) {
        auto goOn = std::move(afterPort_);
        afterPort_ = nullptr;
        goOn();
    }
}

void Startup::RefreshPortDevices() {
    MorFrmSelPort& w = *portWindow;
    const int marked = w.MorCmbNumPort->view()->isVisible() && w.highlighted >= 0
                           ? w.highlighted
                           : w.MorCmbNumPort->currentIndex();
    w.MorLabPuerDis->setText(PortDeviceText(p.s.AppFolder, marked));
}

void Startup::ShowCredentialsWindow(bool fromMenu) {
    p.s.CredentialsFromMenu = fromMenu;
    capLogin->show();
}

void Startup::showMain() {
    if (!mainLoaded_) {
        mainLoaded_ = true;
        portWindow->hide();
        p.Load();
    }
    p.main->show();
}

}  // namespace morla
