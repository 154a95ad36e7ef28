// One running program. Building one wires its windows to the handlers of every window.
#include "gui/main/program.h"

#include <QLayout>
#include <QPixmap>

#include "core/config/softwaresettings.h"
#include "core/models/commandtable.h"
#include "core/models/registry.h"
#include "gui/config/adminwindow.h"
#include "gui/config/configeditor.h"
#include "gui/config/credentialswindow.h"
#include "gui/device/commands.h"
#include "gui/link/linetraceview.h"
#include "gui/link/monitorcommands.h"
#include "gui/link/seriallink.h"
#include "gui/panels/framework.h"

namespace morla {

Program::Program(MessageSeam& messages, Transport& port, QObject* parent)
    : QObject(parent), msg(messages), port(port) {
    main = std::make_unique<MorForPri>();
    monitor = std::make_unique<MorForMonitor>();
    todo = std::make_unique<FrmTodo>();
    monitor->bind(s.Monitor);
    todo->txttodo->bind(s.Monitor.txttodo);

    line = std::make_unique<LineSession>(s, port, main->TimerPID, main->TimerEC);
    // A reply that never came because the device went away is told as the lost port it is.
    line->silenceCause = [this] { return portAccess.checkAfterSilence(s.ComPortNumber); };
    ListenToSession(*this);
    connect(&port, &Transport::lineError, this,
            [this](Transport::LineError e) { msg.info(LineErrorText(e)); });
    connect(&port, &Transport::portLost, this, [this](const QString& reason) {
        main->TimerEC->stop();
        line->EndRead();
        main->MorTexEst->setText(QStringLiteral("Morla"));
        msg.info(portAccess.lost(s.ComPortNumber, reason));
    });
    connect(main->TimerPID, &PacedTimer::started, this, [this] { ShowSendCountdown(*this); });
    connect(main->sendCountdown, &QTimer::timeout, this, [this] { ShowSendCountdown(*this); });
    connect(main->TimerPID, &QTimer::timeout, this, [this] { TimerPIDTick(*this); });
    main->onUnload = [this] { Unload(); };

    auto* trace = new LineTraceView(monitor->traceGroup);
    monitor->traceGroup->layout()->addWidget(trace);
    trace->attach(port);
    trace->report = [this](const QString& text) { msg.info(text); };

    registerWindow(QStringLiteral("MorFrmConf"), QStringLiteral("Morla-Configuración"),
                   [](Program& p) { return new MorFrmConf(p); });
    registerWindow(QStringLiteral("MorFrmCPri"), QStringLiteral("Morla-Configuración Principal"),
                   [](Program& p) { return new MorFrmCPri(p); });
    // From the menus the credentials window stores the operator and shows no login after.
    registerWindow(QStringLiteral("frmCapLogin"), QStringLiteral("MORLA"), [](Program& p) {
        auto* w = new FrmCapLogin(p.s, p.s.AppFolder);
        w->report = [&p](const QString& text) { p.msg.info(text); };
        return w;
    });

    BuildModelPanels(*this);
    WireMainWindow(*this);
    WireMonitor(*this);
}

void Program::Load() {
    s.BuildFrameOnSend = true;
    s.SendWholeFrame = QStringLiteral("0");
    s.CommandSeparator = QStringLiteral(",");
    s.EquipmentName = QStringLiteral("Morla");
    RemoveLeftoverSaves(s.paths());  // a save cut short leaves its temporary file behind
    LoadSoftwareSettings(*this);
    const QPixmap picture(JoinPath(s.paths().images(), QStringLiteral("Morla.png")));
    if (!picture.isNull()) main->MorPicPri->setPixmap(picture);
    DispatchPanel(*this);
    for (QString& f : s.RestrictorFlags) f = QStringLiteral("0");
    if (s.ModeCode != QStringLiteral("PC")) {
        OpenPort(*this);
    } else {
        // Modem installation: no serial port, a reduced set of commands.
        main->MorMnuConPue->setVisible(false);
        main->MorFraCom04->hide();
        main->MorFraCom03->hide();
        main->MorFraCom05->hide();
        main->MorFraCom01->hide();
        main->MorFraCom02->show();
    }
    s.CommandNumber = QStringLiteral("0");
    s.CommandValue = QStringLiteral("0");
    main->MorTexBan->setText(s.joinedRestrictorFlags());
    HideCommonFields(*this);
    if (const QString problem = LoadCommandTable(s); !problem.isEmpty()) msg.info(problem);
}

Program::~Program() {
    for (auto& [name, w] : windows_) delete w.data();
}

void Program::registerWindow(const QString& name, const QString& title, WindowBuilder build) {
    windowKinds_[name] = {title, std::move(build)};
}

QWidget* Program::window(const QString& name) {
    auto it = windows_.find(name);
    if (it != windows_.end() && it->second) return it->second;
    const auto kind = windowKinds_.find(name);
    QWidget* w =
        kind != windowKinds_.end() && kind->second.build ? kind->second.build(*this) : nullptr;
    if (!w) {
        w = new QWidget(nullptr, Qt::Window);
        w->setObjectName(name);
        if (kind != windowKinds_.end()) w->setWindowTitle(kind->second.title);
        w->resize(480, 360);
    }
    windows_[name] = w;
    return w;
}

QString InstallationClass(const Program& p) {
    return InstallationClassFromTitle(p.main->windowTitle());
}

void LoadSoftwareSettings(Program& p) {
    MorlaState& s = p.s;
    const SoftwareSettings settings = ReadSoftwareSettings(s.paths());
    p.main->setWindowTitle(QStringLiteral("Morla para ") + settings.installationClass);
    if (const QString problem = SettingsProblemText(settings); !problem.isEmpty())
        p.msg.info(problem);
    s.MaxReadRetries = settings.maxReadRetries;
    p.main->TimerEC->setInterval(settings.timeoutSeconds * 1000);
    s.InstallationCode = settings.installationCode;
}

void Program::Unload() {
    // Nothing goes out once the user chose to leave, not even while the closing message waits.
    main->TimerPID->stop();
    main->sendCountdown->stop();
    main->TimerEC->stop();
    line->EndRead();
    if (s.ModeCode != QStringLiteral("PC")) {
        msg.info(QStringLiteral("Cerrando Puerto"));
        port.close();
    }
}

}  // namespace morla
