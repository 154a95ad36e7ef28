#include "app/program.h"

#include <QDir>
#include <QPixmap>

#include "app/commands.h"
#include "config/ui/adminwindow.h"
#include "config/ui/configeditor.h"
#include "link/codec.h"
#include "link/commandtable.h"
#include "link/ui/monitorcommands.h"
#include "link/ui/seriallink.h"
#include "models/ui/framework.h"

namespace morla {

Program::Program(MessageSeam& messages, Transport& port, QObject* parent)
    : QObject(parent), msg(messages), port(port) {
    main = std::make_unique<MorForPri>();
    monitor = std::make_unique<MorForMonitor>();
    todo = std::make_unique<FrmTodo>();

    connect(&port, &Transport::received, this, [this](char b) { ReceiveByte(*this, b); });
    connect(&port, &Transport::lineError, this,
            [this](Transport::LineError e) { msg.info(LineErrorText(e)); });
    connect(&port, &Transport::portLost, this, [this](const QString& reason) {
        main->TimerEC->stop();
        endReadProgress();
        main->MorTexEst->setText(QStringLiteral("Morla"));
        msg.info(QStringLiteral("Se perdió la conexión con el puerto serie %1 (%2). "
                                "El puerto quedó cerrado.")
                     .arg(this->port.deviceName(), reason));
    });
    connect(main->TimerPID, &QTimer::timeout, this, [this] { TimerPIDTick(*this); });
    connect(main->TimerEC, &QTimer::timeout, this, [this] { TimerECTick(*this); });
    main->onUnload = [this] { Unload(); };

    BuildModelPanels(*this);
    WireMainWindow(*this);
    WireMonitor(*this);
}

Program::~Program() {
    for (auto& [name, w] : windows_) delete w.data();
}

void Program::endReadProgress() {
    readInProgress = false;
    main->readProgress->hide();
}

namespace {
// The windows of the menus by name; a name without a builder gets an empty window with its title.
struct WindowRow {
    const char16_t* name;
    const char16_t* title;
    QWidget* (*build)(Program&);
};
const WindowRow kWindows[] = {
    {u"MorFrmConf", u"Morla-Configuración",
     [](Program& p) -> QWidget* { return new MorFrmConf(p); }},
    {u"MorFrmCPri", u"Morla-Configuración Principal",
     [](Program& p) -> QWidget* { return new MorFrmCPri(p); }},
    {u"frmCapLogin", u"MORLA", nullptr},
};
}  // namespace

QWidget* Program::window(const QString& name) {
    auto it = windows_.find(name);
    if (it != windows_.end() && it->second) return it->second;
    const WindowRow* row = nullptr;
    for (const WindowRow& r : kWindows)
        if (QString::fromUtf16(r.name) == name) row = &r;
    QWidget* w = row && row->build ? row->build(*this) : nullptr;
    if (!w) {
        w = new QWidget(nullptr, Qt::Window);
        w->setObjectName(name);
        if (row) w->setWindowTitle(QString::fromUtf16(row->title));
        w->resize(480, 360);
    }
    // A window closed for good is built anew, with its load, on the next use.
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
    if (!r.ok || r.eof) {
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
        QString error;
        if (!port.open(s.ComPortNumber, s.AppFolder, &error))
            msg.info(QStringLiteral("No se pudo abrir el puerto serie %1 (%2): %3")
                         .arg(s.ComPortNumber)
                         .arg(port.deviceName(), error));
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

void Program::Unload() {
    if (s.ModeCode != QStringLiteral("PC")) {
        msg.info(QStringLiteral("Cerrando Puerto"));
        port.close();
    }
}

}  // namespace morla
