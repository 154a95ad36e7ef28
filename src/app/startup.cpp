// Assembling the running program: its windows are wired to every room's handlers here, at the
// top, so the rooms below only see the program's context.
#include <QLayout>
#include <QPixmap>

#include "app/commands.h"
#include "config/ui/adminwindow.h"
#include "config/ui/configeditor.h"
#include "config/ui/credentialswindow.h"
#include "context/program.h"
#include "link/codec.h"
#include "link/ui/linetraceview.h"
#include "link/ui/monitorcommands.h"
#include "link/ui/seriallink.h"
#include "models/commandtable.h"
#include "models/ui/framework.h"

namespace morla {

Program::Program(MessageSeam& messages, Transport& port, QObject* parent)
    : QObject(parent), msg(messages), port(port) {
    main = std::make_unique<MorForPri>();
    monitor = std::make_unique<MorForMonitor>();
    todo = std::make_unique<FrmTodo>();
    monitor->bind(s.Monitor);
    todo->txttodo->bind(s.Monitor.txttodo);

    connect(&port, &Transport::received, this, [this](char b) { ReceiveByte(*this, b); });
    connect(&port, &Transport::lineError, this,
            [this](Transport::LineError e) { msg.info(LineErrorText(e)); });
    connect(&port, &Transport::portLost, this, [this](const QString& reason) {
        main->TimerEC->stop();
        endReadProgress();
        main->MorTexEst->setText(QStringLiteral("Morla"));
        msg.info(QStringLiteral("Se perdió la conexión con el puerto serie %1 (%2): %3. "
                                "El puerto quedó cerrado; el próximo comando lo abrirá de nuevo.")
                     .arg(s.ComPortNumber)
                     .arg(this->port.deviceName(), reason));
    });
    connect(main->TimerPID, &PacedTimer::started, this, [this] { ShowSendCountdown(*this); });
    connect(main->sendCountdown, &QTimer::timeout, this, [this] { ShowSendCountdown(*this); });
    connect(main->TimerPID, &QTimer::timeout, this, [this] { TimerPIDTick(*this); });
    connect(main->TimerEC, &QTimer::timeout, this, [this] { TimerECTick(*this); });
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
    LoadCommandTable(s);
}

}  // namespace morla
