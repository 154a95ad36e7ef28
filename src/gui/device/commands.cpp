#include "gui/device/commands.h"

#include <QApplication>
#include <QLabel>

#include "gui/device/devicefiles.h"
#include "gui/device/serieswindow.h"
#include "gui/device/verify.h"
#include "gui/fields/fieldbinding.h"
#include "gui/link/modemlink.h"
#include "gui/link/monitorcommands.h"
#include "gui/link/sendpipeline.h"
#include "gui/link/seriallink.h"
#include "gui/main/program.h"
#include "gui/panels/framework.h"

namespace morla {

namespace {
struct ModelButtonRow {
    int button;
    const char16_t* firmware;  // nullptr: unchanged
    const char16_t* equipment;
    const char16_t* modelCode;  // nullptr: unchanged
    bool codeFirst;  // the model code is set before the panel loads (its key rule needs it)
    bool flagsFirst;
    bool keyEnabled;
    void (*further)(Program&);
};

void quarnSteps(Program& p, bool dolmeth) {
    // The Quarn panel carries the title and the key frame; set them when it has them.
    if (auto* title = p.main->findChild<QLabel*>(QStringLiteral("MorLabFlhTit")))
        title->setText(dolmeth ? QStringLiteral(" Quarn Dolmeth") : QStringLiteral(" Quarn"));
    if (auto* keys = p.main->findChild<QWidget*>(QStringLiteral("MorFraFlhFraClv")))
        keys->setVisible(!dolmeth);
    if (auto* c = p.main->findChild<QWidget*>(QStringLiteral("MorChkFlhResC00")))
        c->setVisible(!dolmeth);
}

void tervolindaSteps(Program& p, bool voice) {
    if (auto* ident = p.main->findChild<QLabel*>(QStringLiteral("MorLblPrivIdent")))
        ident->setText(voice ? QStringLiteral("Con voz") : QStringLiteral("Sin voz"));
    // A read of the other variant may have hidden the exit key or an option inside the frames.
    for (const char* name : {"MorFraPrivClv", "MorFraPrivRes", "MorTxtPrivClvSal",
                             "MorLblPrivClvSal", "MorFraPrivElim1", "MorFraPrivNum9"})
        if (auto* w = p.main->findChild<QWidget*>(QString::fromLatin1(name))) w->setVisible(!voice);
    p.main->MorFraCom04->setEnabled(false);
    // The key editor starts over: no field chosen yet.
    p.s.KeyEditorMode.clear();
}

const ModelButtonRow kModelButtons[] = {
    {1, nullptr, u"Morla", nullptr, false, false, true, nullptr},
    {2, u"12", u"Sorvanell", u"04", true, true, true, nullptr},
    {3, u"30", u"Lúvero", u"00", false, true, true, nullptr},
    {4, u"30", u"Zentavira", u"05", false, true, true, nullptr},
    {5, u"30", u"Haldrivonexa", u"03", false, true, true, nullptr},
    {6, u"30", u"Quarn", u"0:", false, false, true, [](Program& p) { quarnSteps(p, false); }},
    {7, u"15", u"Pellitor", u"02", false, false, true, nullptr},
    {8, u"72", u"Tervolinda", u"08", false, true, false,
     [](Program& p) { tervolindaSteps(p, false); }},
    {9, u"30", u"Kovalindre", u"06", false, true, false, nullptr},
    {10, u"8", u"Quarn", u"0:", false, false, true, [](Program& p) { quarnSteps(p, true); }},
    {11, u"72", u"Tervolinda", u"08", false, true, false,
     [](Program& p) { tervolindaSteps(p, true); }},
};
}  // namespace

void ModelButton(Program& p, int button) {
    for (const ModelButtonRow& row : kModelButtons) {
        if (row.button != button) continue;
        MorlaState& s = p.s;
        if (row.flagsFirst) p.main->MorTexBan->setText(s.joinedRestrictorFlags());
        if (row.codeFirst) s.ModelCode = QString::fromUtf16(row.modelCode);
        if (row.firmware) s.FirmwareCode = QString::fromUtf16(row.firmware);
        s.EquipmentName = QString::fromUtf16(row.equipment);
        DispatchPanel(p);
        if (row.further) row.further(p);
        if (row.modelCode) s.ModelCode = QString::fromUtf16(row.modelCode);
        if (row.keyEnabled) p.main->MorTexResCla->setEnabled(true);
        return;
    }
}

void HangUp(Program& p) {
    if (RefuseWhileBusy(p) || !EnsurePortOpen(p)) return;
    p.s.CommandString = p.s.HangUpCommand + p.main->MorTexResCla->text();
    p.s.SendPosition = 1;
    p.main->TimerPID->start();
}

void Verify(Program& p) {
    if (RefuseWhileBusy(p) || !EnsurePortOpen(p)) return;
    p.s.CommandString = p.s.VerifyCommand + p.main->MorTexResCla->text();
    p.s.SendPosition = 1;
    p.main->TimerPID->start();
}

void Defaults(Program& p) {
    p.main->MorTexBan->setText(p.s.joinedRestrictorFlags());
    DispatchPanel(p);
}

void FactoryReset(Program& p) {
    if (RefuseWhileBusy(p)) return;
    // Wipes the device's configuration: only on an explicit yes.
    if (!p.msg.yesDefaultNo(QStringLiteral("¿Restablecer el equipo a los valores de fábrica?")))
        return;
    p.s.CommandString = p.s.FactoryResetCommand;
    p.s.BuildFrameOnSend = false;
    StartSend(p);
    p.s.BuildFrameOnSend = true;
}

void Leave(Program& p) {
    p.main->close();
}

void ChangePort(Program& p, int portNumber) {
    MorForPri& w = *p.main;
    // A reply awaited on the old port, or a send due to go out, would meet the new one.
    CancelSend(p);
    if (p.line->reading()) {
        p.line->EndRead();
        w.TimerEC->stop();
        w.MorTexEst->setText(QStringLiteral("Morla"));
    }
    p.s.ComPortNumber = portNumber;
    if (IsModemMode(p) || !OpenPort(p)) return;
    w.sendStatus->setText(
        QStringLiteral("Puerto serie %1 abierto (%2)").arg(portNumber).arg(p.port.portText()));
}

void ShowOperatorMenus(Program& p) {
    MorForPri& w = *p.main;
    const bool modem = IsModemMode(p);
    for (QAction* item : w.MorMnuCon->actions()) item->setVisible(item == w.MorMnuConPue);
    w.MorMnuCon->menuAction()->setVisible(!modem);
    w.MorMnuMon->setVisible(false);
}

void WireMainWindow(Program& p) {
    MorForPri& w = *p.main;
    for (int i = 0; i < 14; ++i)
        QObject::connect(w.MorCmd[i], &QPushButton::clicked, &p,
                         [&p, i] { ModelButton(p, i + 1); });
    auto on = [&p](QPushButton* b, void (*f)(Program&)) {
        QObject::connect(b, &QPushButton::clicked, &p, [&p, f] { f(p); });
    };
    on(w.MorFraCom01, &HangUp);
    on(w.MorFraCom02, &Verify);
    on(w.MorFraCom03, &ReadCommandStart);
    on(w.MorFraCom04, &WriteWholeConfiguration);
    on(w.MorFraCom05, &ShowLastRead);
    on(w.MorFraCom06, &ShowLastSent);
    on(w.MorFraCom07, &Defaults);
    on(w.MorFraCom08, &Leave);
    on(w.MorFraCom10, &FactoryReset);
    on(w.sendCancel, &CancelSend);
    QObject::connect(w.MorMnuPriGua, &QAction::triggered, &p, [&p] { SaveDeviceConfiguration(p); });
    QObject::connect(w.MorMnuPriAbr, &QAction::triggered, &p, [&p] { OpenDeviceConfiguration(p); });
    QObject::connect(w.MorMnuPriSal, &QAction::triggered, &p, [&p] { Leave(p); });
    QObject::connect(w.MorMnuConE, &QAction::triggered, &p,
                     [&p] { p.window(QStringLiteral("MorFrmConf"))->show(); });
    QObject::connect(w.MorMnuConC, &QAction::triggered, &p, [&p] {
        p.s.CredentialsFromMenu = true;
        p.window(QStringLiteral("MorFrmCPri"))->show();
    });
    QObject::connect(w.MorMnuMon, &QAction::triggered, &p, [&p] {
        FillMonitorCommands(p);
        p.monitor->show();
        p.monitor->raise();
    });
    QObject::connect(w.mnuEnviar, &QAction::triggered, &p, [&p] { SendSingleCommand(p); });
    BindCommonFields(p);
    InstallVerifyOption(p);
    InstallSeries(p);
    // The program lives as long as its main window: closing it closes every other window
    // too (the monitor, the menus' windows), after the port has been closed by the unload.
    p.main->onUnload = [&p, unload = p.main->onUnload] {
        if (unload) unload();
        p.monitor->close();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != p.main.get() && w->isVisible()) w->close();
        QCoreApplication::quit();
    };
}

}  // namespace morla
