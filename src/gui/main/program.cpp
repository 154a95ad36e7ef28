// One running program. Building one wires its windows to the handlers of every window.
#include "gui/main/program.h"

#include <QDir>
#include <QFileInfo>
#include <QLayout>
#include <QPixmap>

#include "core/codec/codec.h"
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
    const QString path = s.paths().softwareSettings();
    const RecordRead r = ReadRecord(path, SoftwareSettingsRecord);
    p.main->setWindowTitle(QStringLiteral("Morla para ") + r.fields[26]);
    const QString& retries = r.fields[23];
    const QString& timeout = r.fields[24];
    // Safe values when the file is missing or its numbers are not whole numbers.
    int maxRetries = 3;
    int timeoutSeconds = 10;
    QStringList problems;
    if (!r.ok && QFileInfo::exists(ResolvePath(path))) {
        problems << r.cause;  // there, but not a file that can be read
    } else if (!r.ok || r.eof) {
        problems << QStringLiteral("el archivo no existe o está vacío");
    } else {
        if (IsWholeNumber(retries) && ValOf(retries) >= 0)
            maxRetries = int(ValOf(retries));
        else
            problems
                << QStringLiteral("los reintentos (\"%1\") no son un número entero").arg(retries);
        if (IsWholeNumber(timeout) && ValOf(timeout) >= 0 && ValOf(timeout) <= 2000000)
            timeoutSeconds = int(ValOf(timeout));
        else
            problems << QStringLiteral("el tiempo de espera (\"%1\") no es un número entero")
                            .arg(timeout);
    }
    if (!problems.isEmpty())
        p.msg.info(QStringLiteral("Configuración del software %1: %2. Se usan %3 reintentos y "
                                  "%4 segundos de espera.")
                       .arg(QDir::toNativeSeparators(path), problems.join(QStringLiteral("; ")))
                       .arg(maxRetries)
                       .arg(timeoutSeconds));
    s.MaxReadRetries = maxRetries;
    p.main->TimerEC->setInterval(timeoutSeconds * 1000);
    s.InstallationCode = r.fields[25];
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
