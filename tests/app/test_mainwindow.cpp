// The main window: its start, settings, model buttons and the panels they show.
#include <QtTest>

#include "app/language.h"
#include "core/models/commandtable.h"
#include "gui/device/commands.h"
#include "gui/panels/framework.h"
#include "support/programfixture.h"

using namespace morla;
using namespace morla::test;

namespace {
// Shown once its window is.
bool shown(QWidget* w) {
    return w->isVisibleTo(w->window());
}
}  // namespace

using SettingsProblemsRow = std::tuple<QString, QString, bool, int, int>;
using ModelButtonsRow = std::tuple<int, QString, QString, QString, QString>;
using PanelFromRow = std::tuple<int, QStringList, QString, int>;
using MenusOpenRow = std::tuple<QString, QString, QString>;

class TestMainWindow : public QObject {
    Q_OBJECT
  private slots:
    void everyControlIsNamed() {
        ProgramFixture f;
        QStringList names{"MorFraPri",    "MorLabPrin",    "MorPicPri",     "MorTaSRes",
                          "MorTexResCla", "MorTexRes",     "MorTexResFirm", "MorTexResFirL",
                          "MorTexResMod", "MorTexResModL", "MorTexResUs",   "MorTexResUsL",
                          "MorTexBan",    "MorTaSCom",     "MorFraEst",     "MorTexEst"};
        names << "MorLabBas";  // the model frames' names: modelButtons
        for (int i = 1; i <= 14; ++i) names << QStringLiteral("MorCmd%1").arg(i, 2, 10, QChar('0'));
        for (int i = 1; i <= 9; ++i)
            names << QStringLiteral("MorChkRes%1").arg(i, 2, 10, QChar('0'));
        for (int i : {1, 2, 3, 4, 5, 6, 7, 8, 10})
            names << QStringLiteral("MorFraCom%1").arg(i, 2, 10, QChar('0'));
        for (const QString& n : names) QVERIFY2(f.p->main->findChild<QWidget*>(n), qPrintable(n));
        for (const char* a : {"MorMnuPriSal", "MorMnuConE", "MorMnuConC", "MorMnuMon", "mnuEnviar"})
            QVERIFY2(f.p->main->findChild<QAction*>(a), a);
        for (const char* t : {"TimerPID", "TimerEC", "Retardo"})
            QVERIFY2(f.p->main->findChild<QTimer*>(t), t);
        QCOMPARE(f.p->main->TimerPID->interval(), 5000);
    }

    // The file dialogs and edit menus Qt draws itself speak Spanish where the system has Qt's
    // translations (the install script puts them there).
    void qtTextsInSpanish() {
        if (!InstallSpanishQtTexts()) QSKIP("Qt's Spanish translations are not installed");
        QCOMPARE(QCoreApplication::translate("QFileDialog", "&Save"), QStringLiteral("&Guardar"));
        QVERIFY(QCoreApplication::translate("QFileDialog", "Look in:") !=
                QLatin1String("Look in:"));
    }

    void loadSteps() {
        LoadedProgram f;
        QVERIFY(f.msgs.shown.isEmpty());
        QCOMPARE(f.p->main->windowTitle(), QStringLiteral("Morla para Dravenquista"));
        QCOMPARE(f.p->s.MaxReadRetries, 2);
        QCOMPARE(f.p->main->TimerEC->interval(), 10000);
        QCOMPARE(f.p->s.InstallationCode, QStringLiteral("0001"));
        QCOMPARE(f.p->s.ReadCommand, QStringLiteral("*40f"));
        QCOMPARE(f.p->s.HangUpCommand, QStringLiteral("*47f"));
        QCOMPARE(f.port.openedPort, 1);
        QCOMPARE(f.p->main->MorTexBan->text(), QStringLiteral("000000000"));
        QVERIFY(!shown(f.p->main->MorTexBan));
        QVERIFY(shown(f.p->main->MorFraPri));
        for (QFrame* fr : f.p->main->modelFrames()) QVERIFY(!shown(fr));
        QVERIFY(!shown(f.p->main->MorTaSRes));
        QVERIFY(!f.p->main->TimerEC->isActive());
    }

    void settingsProblemsReportedOnce_data() {
        QTest::addColumn<SettingsProblemsRow>("row");
        // clang-format off
        QTest::newRow("missing file") << SettingsProblemsRow{"", "", true, 3, 10000};
        QTest::newRow("empty retries") << SettingsProblemsRow{"", "7", false, 3, 7000};
        QTest::newRow("letters in time-out") << SettingsProblemsRow{"1", "diez", false, 1, 10000};
        // clang-format on
    }
    void settingsProblemsReportedOnce() {
        QFETCH_ROW(SettingsProblemsRow, retries, timeout, deleteFile, maxRetries, interval);
        ProgramFixture f(retries, timeout);
        if (deleteFile) QVERIFY(QFile::remove(f.paths().softwareSettings()));
        f.load();
        QCOMPARE(f.msgs.shown.size(), 1);
        QVERIFY(f.msgs.shown[0].text.contains(QStringLiteral("Software.CCon")));
        QCOMPARE(f.p->s.MaxReadRetries, maxRetries);
        QCOMPARE(f.p->main->TimerEC->interval(), interval);
    }

    void modemInstallation() {
        ProgramFixture f(QStringLiteral("2"), QStringLiteral("10"), QStringLiteral("PCLinea"));
        f.p->s.ModeCode = QStringLiteral("PC");
        f.load();
        QCOMPARE(f.port.openedPort, 0);
        QVERIFY(!f.p->main->MorMnuConPue->isVisible());  // no port to choose
        for (QPushButton* b : {f.p->main->MorFraCom01, f.p->main->MorFraCom03,
                               f.p->main->MorFraCom04, f.p->main->MorFraCom05})
            QVERIFY(!shown(b));
        QVERIFY(shown(f.p->main->MorFraCom02));
        f.msgs.clear();
        f.p->main->close();
        QVERIFY(f.msgs.shown.isEmpty());
    }

    void modelButtons_data() {
        QTest::addColumn<ModelButtonsRow>("row");
        // clang-format off
        QTest::newRow("Sorvanell") << ModelButtonsRow{2, "MorFraAle", "Sorvanell", "04", "12"};
        QTest::newRow("Lúvero") << ModelButtonsRow{3, "MorFraBas", "Lúvero", "00", "30"};
        QTest::newRow("Zentavira") << ModelButtonsRow{4, "MorFraUni", "Zentavira", "05", "30"};
        QTest::newRow("Haldrivonexa") << ModelButtonsRow{5, "MorFraMult", "Haldrivonexa", "03", "30"};
        QTest::newRow("Quarn") << ModelButtonsRow{6, "MorFraFlh", "Quarn", "0:", "30"};
        QTest::newRow("Pellitor") << ModelButtonsRow{7, "MorFraCon", "Pellitor", "02", "15"};
        QTest::newRow("Tervolinda") << ModelButtonsRow{8, "MorFraPriv", "Tervolinda", "08", "72"};
        QTest::newRow("Kovalindre") << ModelButtonsRow{9, "MorFraMulClv", "Kovalindre", "06", "30"};
        QTest::newRow("Quarn Dolmeth") << ModelButtonsRow{10, "MorFraFlh", "Quarn", "0:", "8"};
        QTest::newRow("Tervolinda Voz") << ModelButtonsRow{11, "MorFraPriv", "Tervolinda", "08", "72"};
        // clang-format on
    }
    void modelButtons() {
        QFETCH_ROW(ModelButtonsRow, button, frame, equipment, code, firmware);
        LoadedProgram f;
        f.p->main->MorCmd[button - 1]->click();
        QCOMPARE(f.p->s.EquipmentName, equipment);
        QCOMPARE(f.p->s.ModelCode, code);
        QCOMPARE(f.p->s.FirmwareCode, firmware);
        for (QFrame* fr : f.p->main->modelFrames()) QCOMPARE(shown(fr), fr->objectName() == frame);
        QVERIFY(!shown(f.p->main->MorFraPri));
        QVERIFY(shown(f.p->main->MorTaSRes));
        QVERIFY(shown(f.p->main->MorTexBan));  // engineering user
        QCOMPARE(f.p->main->MorTexResCla->maxLength(), ModelByCode(f.p->s.ModelCode)->keyLength);
        QCOMPARE(f.p->main->MorFraCom04->isEnabled(), button != 8 && button != 11);
    }

    // Only the boxes the model's configuration names show; without one the panel is empty.
    void panelFromConfiguration() {
        for (const auto& [button, said, key, boxes] :
             {PanelFromRow{3, QStringList{}, "1234", 6},
              PanelFromRow{4, QStringList{"No existe archivo de configuración."}, "", 0}}) {
            LoadedProgram f;
            f.msgs.clear();
            f.p->main->MorCmd[button - 1]->click();
            QCOMPARE(f.msgs.texts(), said);
            QCOMPARE(f.p->main->MorTexResCla->text(), key);
            for (int k = 0; k < 9; ++k) QCOMPARE(shown(f.p->main->MorChkRes[k]), k < boxes);
            // "Predeterminado" reads the configuration again.
            f.p->main->MorTexResCla->setText(QStringLiteral("999"));
            f.p->main->MorFraCom07->click();
            QCOMPARE(f.p->main->MorTexResCla->text(), key);
            // On the start page it leaves the common fields hidden.
            f.p->main->MorCmd[0]->click();
            f.p->main->MorFraCom07->click();
            QVERIFY(shown(f.p->main->MorFraPri));
            QVERIFY(!shown(f.p->main->MorTaSRes));
            for (QFrame* fr : f.p->main->modelFrames()) QVERIFY(!shown(fr));
        }
    }

    void menusOpenTheirWindows_data() {
        QTest::addColumn<MenusOpenRow>("row");
        // clang-format off
        QTest::newRow("Equipos") << MenusOpenRow{"MorMnuConE", "MorFrmConf", "Morla-Configuración"};
        QTest::newRow("Software") << MenusOpenRow{"MorMnuConC", "MorFrmCPri", "Morla-Configuración Principal"};
        QTest::newRow("Monitor") << MenusOpenRow{"MorMnuMon", "MorForMonitor", "Morla-Monitor"};
        // clang-format on
    }
    void menusOpenTheirWindows() {
        QFETCH_ROW(MenusOpenRow, action, window, title);
        LoadedProgram f;
        f.p->main->findChild<QAction*>(action)->trigger();
        QWidget* w = window == "MorForMonitor" ? f.p->monitor.get() : f.p->window(window);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowTitle(), title);
        if (action == "MorMnuConC") QVERIFY(f.p->s.CredentialsFromMenu);
    }

    void laterCommandRecordWins() {
        ProgramFixture f;
        WriteRecord(f.paths().commands(), CommandRecord, {"Lectura", "*99", "x"}, 9);
        LoadCommandTable(f.p->s);
        QCOMPARE(f.p->s.ReadCommand, QStringLiteral("*99f"));
        QCOMPARE(f.p->s.WriteCommand, QStringLiteral("*42f"));
    }

    void factoryResetAsksFirst() {
        for (const bool sent : {true, false}) {  // Sí sends after the wait; No sends nothing
            LoadedProgram f;
            f.msgs.answers = {sent ? Answer::Yes : Answer::No};
            f.p->main->MorFraCom10->click();
            QCOMPARE(f.msgs.shown.size(), 1);
            QCOMPARE(f.msgs.shown[0].text,
                     QStringLiteral("¿Restablecer el equipo a los valores de fábrica?"));
            QCOMPARE(f.msgs.shown[0].buttons, Buttons::YesNoDefaultNo);
            QCOMPARE(Fire(f.p->main->TimerPID), sent);
            f.port.acknowledgeAll();
            QCOMPARE(f.port.line.startsWith("D" + f.p->s.FactoryResetCommand.toLatin1()), sent);
        }
    }

    // Enter on the real question box answers with its default button.
    void enterAnswersTheDefault_data() {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("answer");
        QTest::newRow("Sí/No") << int(Buttons::YesNo) << int(Answer::Yes);
        QTest::newRow("Sí/No, No by default") << int(Buttons::YesNoDefaultNo) << int(Answer::No);
        QTest::newRow("Aceptar/Cancelar") << int(Buttons::OkCancel) << int(Answer::Ok);
    }
    void enterAnswersTheDefault() {
        QFETCH(int, buttons);
        DialogMessages boxes;
        QTimer::singleShot(0, [] {
            QTRY_VERIFY(QApplication::activeModalWidget());
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return);
        });
        QTEST(
            int(boxes.show(QStringLiteral("¿Seguro?"), QStringLiteral("MORLA"), Buttons(buttons))),
            "answer");
    }

    // "Escape" or the window's close box: the port closes, the other windows with it, once.
    void closingEndsTheProgram() {
        for (const bool button : {true, false}) {
            LoadedProgram f;
            QVERIFY(f.port.isOpen());
            f.p->main->show();
            f.p->main->findChild<QAction*>(QStringLiteral("MorMnuMon"))->trigger();
            f.p->main->findChild<QAction*>(QStringLiteral("MorMnuConE"))->trigger();
            QWidget* editor = f.p->window(QStringLiteral("MorFrmConf"));
            QVERIFY(f.p->monitor->isVisible() && editor->isVisible());
            f.msgs.clear();
            if (button)
                f.p->main->MorFraCom08->click();
            else
                f.p->main->close();
            QVERIFY(!f.port.isOpen());
            QCOMPARE(f.msgs.texts(), QStringList{QStringLiteral("Cerrando Puerto")});
            if (button) continue;
            QVERIFY(!f.p->monitor->isVisible());
            QVERIFY(!editor->isVisible());
            f.p->main->close();  // a second close does not unload again
            QCOMPARE(f.msgs.shown.size(), 1);
        }
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
