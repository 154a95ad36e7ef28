// The start through real windows: selector and first-run installation, login with its two
// user levels, port choice, the credentials window, and every way the program ends early.
#include <QtTest>

#include "app/startflow.h"
#include "core/config/installation.h"
#include "datakit/datakit.h"
#include "gui/device/commands.h"
#include "session/portaccess.h"
#include "support/filebytes.h"
#include "support/programfixture.h"
#include "support/startup.h"

using namespace morla;
using namespace morla::test;

Q_DECLARE_METATYPE(morla::Answer)

namespace {

// A program folder with settings and commands, a stand-in port, and the start on top.
struct Bench {
    ProgramFixture f;
    Startup start;
    int ends = 0;

    explicit Bench(const QString& installationClass = QStringLiteral("Dravenquista"))
        : f(QStringLiteral("2"), QStringLiteral("10"), installationClass),
          start(*f.p, f.dir.path()) {
        start.endProgram = [this] { ++ends; };
    }
    Program& p() { return *f.p; }
    void storeOperator(const QString& name, const QString& password) {
        QVERIFY(WriteOperatorCredentials(f.dir.path(), name, password).ok);
    }
    // By default engineering's login.
    void login(const QString& name = QStringLiteral("Ingenieria"),
               const QString& password = QStringLiteral("Tirel")) {
        start.Start();
        TypeLogin(start, name, password);
    }
};

// A program folder laid out with the installation pending, and the start on it.
struct Pending {
    QTemporaryDir root;
    QString app;
    RecordedMessages msgs;
    FakeTransport port;
    std::unique_ptr<Program> program;
    std::unique_ptr<Startup> start;
    int ends = 0;

    Pending() {
        app = root.path() + QStringLiteral("/Morla");
        const auto laid =
            datakit::LayOutPending(app, QStringLiteral(MORLA_LINE_LIBRARY),
                                   QStringLiteral(MORLA_AUX_PROGRAM), ShortDateText());
        if (!laid.ok) qWarning() << laid.errors;
        program = std::make_unique<Program>(msgs, port);
        start = std::make_unique<Startup>(*program, app);
        start->endProgram = [this] { ++ends; };
    }
    FrmSelector& w() { return *start->selector; }
    // The selector filled in and accepted.
    void accept(const QString& user, const QString& password, int equipment, int system) {
        w().TxtSelUsuario->setText(user);
        w().TxtSelContrasena->setText(password);
        if (equipment >= 0) QTest::mouseClick(w().chkEquipoDravenquista[equipment], Qt::LeftButton);
        w().cmbSelSistemaOperativo->setCurrentIndex(system);
        QTest::mouseClick(w().cmdSelAceptar, Qt::LeftButton);
    }
    QString credentials() const { return app + QStringLiteral("/cmctes6.dll"); }
};

}  // namespace

// stored: name and password; none for no file; outcome: "accepted", "ends" or "asked again"
using OperatorLoginRow = std::tuple<QStringList, QString, QString, QString>;
using ModemModeRow = std::tuple<QString, QString, QString, bool>;
using CredentialsWindowRow = std::tuple<QString, QString, bool, bool>;
// removed: a model's folder taken away first; last: part of the last message
using SelectorKeptRow = std::tuple<int, int, Answer, QString, QString>;
using InstallsStoresRow = std::tuple<int, int, QString, QString>;

class TestStartup : public QObject {
    Q_OBJECT

  private slots:
    // A refused operator ends the program without a word; the engineering name always takes
    // the engineering path, even when stored for an operator.
    void operatorLogin_data() {
        QTest::addColumn<OperatorLoginRow>("row");
        const QStringList rosa{"Rosa", "mostrador"};
        // clang-format off
        QTest::addRow("accepted") << OperatorLoginRow{rosa, "Rosa", "mostrador", "accepted"};
        QTest::addRow("stored name empty") << OperatorLoginRow{QStringList{"", "mostrador"}, "", "mostrador", "ends"};
        QTest::addRow("stored password empty") << OperatorLoginRow{QStringList{"Rosa", ""}, "Rosa", "", "ends"};
        QTest::addRow("other name") << OperatorLoginRow{rosa, "rosa", "mostrador", "ends"};
        QTest::addRow("other password") << OperatorLoginRow{rosa, "Rosa", "Mostrador", "ends"};
        QTest::addRow("no credentials file") << OperatorLoginRow{QStringList{}, "Rosa", "mostrador", "ends"};
        QTest::addRow("lower-case ingenieria is an operator") << OperatorLoginRow{QStringList{"ingenieria", "Tirel"}, "ingenieria", "Tirel", "accepted"};
        QTest::addRow("engineering name stored") << OperatorLoginRow{QStringList{"Ingenieria", "clave"}, "Ingenieria", "clave", "asked again"};
        // clang-format on
    }
    void operatorLogin() {
        QFETCH_ROW(OperatorLoginRow, stored, name, password, outcome);
        Bench b;
        if (!stored.isEmpty()) b.storeOperator(stored[0], stored[1]);
        b.login(name, password);
        QCOMPARE(b.ends, outcome == QLatin1String("ends") ? 1 : 0);
        if (outcome != QLatin1String("accepted")) {
            QCOMPARE(b.f.msgs.texts(),
                     outcome == QLatin1String("ends")
                         ? QStringList{}
                         : QStringList{"La contraseña no es válida. Vuelva a intentarlo"});
            if (outcome == QLatin1String("asked again")) QVERIFY(b.start.login->isVisible());
            QVERIFY(!b.start.portWindow->isVisible());
            QVERIFY(!b.p().main->isVisible());
            return;
        }
        QVERIFY(b.f.msgs.shown.isEmpty());
        QCOMPARE(b.p().s.OperatorMode, QStringLiteral("Otro"));
        QCOMPARE(b.start.portWindow->windowModality(), Qt::ApplicationModal);
        ChoosePort(b.start, 1);
        QCOMPARE(b.p().s.ComPortNumber, 2);
        QVERIFY(b.p().main->isVisible());
        QVERIFY(!b.start.login->isVisible());
        // "&Configuración" holds the port choice alone.
        QVERIFY(b.p().main->MorMnuCon->menuAction()->isVisible());
        for (QAction* item : b.p().main->MorMnuCon->actions())
            QCOMPARE(item->isVisible(), item == b.p().main->MorMnuConPue);
        QVERIFY(!b.p().main->MorMnuMon->isVisible());
        QVERIFY(b.p().main->MorMnuPrin->menuAction()->isVisible());
        ModelButton(b.p(), 3);  // Lúvero panel: the flags box is for engineering only
        QVERIFY(b.p().main->MorFraBas->isVisible());
        QVERIFY(!b.p().main->MorTexBan->isVisible());
    }

    void modemModeSkipsThePortForOperatorsOnly_data() {
        QTest::addColumn<ModemModeRow>("row");
        // clang-format off
        QTest::addRow("operator, modem") << ModemModeRow{"Rosa", "mostrador", "PC Dravenquista", false};
        QTest::addRow("engineering, modem") << ModemModeRow{"Ingenieria", "Tirel", "PC Dravenquista", true};
        QTest::addRow("operator, serial") << ModemModeRow{"Rosa", "mostrador", "Dravenquista", true};
        QTest::addRow("operator, Pc is not PC") << ModemModeRow{"Rosa", "mostrador", "Pc Dravenquista", true};
        // clang-format on
    }

    void modemModeSkipsThePortForOperatorsOnly() {
        QFETCH_ROW(ModemModeRow, name, password, installationClass, portAsked);
        Bench b(installationClass);
        b.storeOperator(QStringLiteral("Rosa"), QStringLiteral("mostrador"));
        b.login(name, password);
        QCOMPARE(b.start.portWindow->isVisible(), portAsked);
        QCOMPARE(b.p().main->isVisible(), !portAsked);
        QCOMPARE(b.f.port.openedPort, 0);
        QVERIFY(b.f.msgs.shown.isEmpty());
        // An operator of a modem installation has no port to choose, and no menu for it.
        if (!portAsked) QVERIFY(!b.p().main->MorMnuCon->menuAction()->isVisible());
    }

    // Engineering's login, then the last port of the list chosen.
    void portChoiceOpensThatPort() {
        const int index = 4;
        Bench b;
        b.start.Start();
        QVERIFY(!b.start.selector->isVisible());
        QVERIFY(b.start.login->isVisible());
        QCOMPARE(b.start.login->windowTitle(), QStringLiteral("Acceso a MORLA"));
        QCOMPARE(b.p().s.ModeCode, QStringLiteral("Dr"));
        QCOMPARE(b.p().s.AppFolder, QDir::toNativeSeparators(b.f.dir.path()));
        // A wrong password, as often as the user likes: message, password selected for retyping.
        for (const QString wrong : {"tirel", "Tirel ", "", "TIREL"}) {
            TypeLogin(b.start, QStringLiteral("Ingenieria"), wrong);
            QCOMPARE(b.f.msgs.shown.size(), 1);
            QCOMPARE(b.f.msgs.shown[0].text,
                     QStringLiteral("La contraseña no es válida. Vuelva a intentarlo"));
            QCOMPARE(b.f.msgs.shown[0].title, QStringLiteral("Inicio de sesión"));
            QCOMPARE(b.start.login->txtPassword->selectedText(), QString(wrong));
            QVERIFY(b.start.login->isVisible());
            QVERIFY(!b.start.portWindow->isVisible());
            b.f.msgs.clear();
        }
        QVERIFY(!b.start.LoginSucceeded);
        TypeLogin(b.start, QStringLiteral("Ingenieria"), QStringLiteral("Tirel"));
        QVERIFY(b.start.LoginSucceeded);
        QCOMPARE(b.p().s.OperatorMode, QStringLiteral("Ingenieria"));
        QVERIFY(!b.start.login->isVisible());
        QVERIFY(b.start.portWindow->isVisible());
        QCOMPARE(b.start.portWindow->windowModality(), Qt::NonModal);
        QComboBox* list = b.start.portWindow->MorCmbNumPort;
        QCOMPARE(list->count(), 5);
        for (int i = 0; i < 5; ++i) QCOMPARE(list->itemText(i), QString::number(i + 1));
        QCOMPARE(list->placeholderText(), QStringLiteral("# Puerto"));
        QCOMPARE(b.start.portWindow->windowTitle(), QStringLiteral("Puerto Serie"));

        ChoosePort(b.start, index);
        QCOMPARE(b.p().s.ComPortNumber, index + 1);
        QCOMPARE(b.f.port.openedPort, index + 1);
        QVERIFY(b.f.port.isOpen());
        QCOMPARE(LastGoodPort(b.f.dir.path()), index + 1);
        QVERIFY(!b.start.portWindow->isVisible());
        QVERIFY(b.p().main->isVisible());
        QVERIFY(b.p().main->MorMnuCon->menuAction()->isVisible());
        QVERIFY(b.p().main->MorMnuMon->isVisible());
        QVERIFY(b.f.msgs.shown.isEmpty());
        QCOMPARE(b.ends, 0);
    }

    // The start offers the last port that opened; the technician still confirms it.
    void lastGoodPortOffered_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("offered");
        QTest::newRow("none yet") << "" << -1;
        QTest::newRow("port 3") << "3" << 2;
        QTest::newRow("not a port") << "9" << -1;
        QTest::newRow("not a number") << "x" << -1;
        QTest::newRow("a named pipe, not read") << "<fifo>" << -1;
    }
    void lastGoodPortOffered() {
        QFETCH(QString, stored);
        QFETCH(int, offered);
        Bench b;
        const QString ini = b.f.dir.filePath(QStringLiteral("Puerto.ini"));
        if (stored == QLatin1String("<fifo>"))
            QVERIFY(putOddFile(ini, "fifo"));
        else if (!stored.isEmpty())
            QVERIFY(putBytes(ini, "[Puerto]\nNumero=" + stored.toLatin1() + "\n"));
        b.login();
        QComboBox* list = b.start.portWindow->MorCmbNumPort;
        QCOMPARE(list->currentIndex(), offered);
        QCOMPARE(b.f.port.openedPort, 0);  // nothing opens before the choice
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(b.f.port.openedPort, offered + 1);
        // Enter without a number chosen.
        QCOMPARE(b.f.msgs.texts(),
                 offered < 0 ? QStringList{"Necesitas seleccionar un Número"} : QStringList{});
        if (offered < 0) QCOMPARE(b.f.msgs.shown[0].title, QStringLiteral("MORLA"));
        QCOMPARE(b.start.portWindow->isVisible(), offered < 0);
        QCOMPARE(b.p().main->isVisible(), offered >= 0);
    }

    void closingEnds_data() {
        QTest::addColumn<QString>("how");
        QTest::addRow("login cancelled") << "login cancel";
        QTest::addRow("login closed") << "login close";
        QTest::addRow("login escape") << "login escape";
        QTest::addRow("port window closed before a choice") << "port before";
        QTest::addRow("port window closed after a choice") << "port after";
        QTest::addRow("selector closed") << "selector";
    }

    void closingEnds() {
        QFETCH(QString, how);
        Bench b;
        if (how == QStringLiteral("selector"))
            QVERIFY(WriteRecord(InstallationMarker(b.f.dir.path()), 10, {"x"}, 1).ok);
        b.start.Start();
        if (how.startsWith(QStringLiteral("port")))
            TypeLogin(b.start, QStringLiteral("Ingenieria"), QStringLiteral("Tirel"));
        if (how == QStringLiteral("port after")) ChoosePort(b.start, 0);
        QCOMPARE(b.ends, 0);

        if (how == QStringLiteral("login cancel"))
            QTest::mouseClick(b.start.login->cmdCancel, Qt::LeftButton);
        else if (how == QStringLiteral("login close"))
            b.start.login->close();
        else if (how == QStringLiteral("login escape"))
            QTest::keyClick(b.start.login->txtUserName, Qt::Key_Escape);
        else if (how.startsWith(QStringLiteral("port")))
            b.start.portWindow->close();
        else
            b.start.selector->close();
        QCOMPARE(b.ends, 1);
        QVERIFY(!b.f.port.isOpen());
        if (how.startsWith(QStringLiteral("login"))) QVERIFY(!b.start.LoginSucceeded);
    }

    void portDevicesBesideTheList() {
        Bench b;
        const QString folder = b.f.dir.path();
        QVERIFY(putBytes(folder + QStringLiteral("/adapter"), {}));
        QVERIFY(QFile::link(folder + QStringLiteral("/adapter"), folder + QStringLiteral("/COM2")));
        QVERIFY(
            QFile::link(folder + QStringLiteral("/unplugged"), folder + QStringLiteral("/com3")));
        b.login();
        MorFrmSelPort& w = *b.start.portWindow;
        const QStringList lines = w.MorLabPuerDis->text().split('\n');
        QCOMPARE(lines.size(), 6);
        QVERIFY(lines[0].startsWith(QStringLiteral("Dispositivo de cada número:")));
        QCOMPARE(lines[2], QStringLiteral("  2: COM2 → %1/adapter (existe)").arg(folder));
        QCOMPARE(lines[3], QStringLiteral("  3: com3 → %1/unplugged (no existe)").arg(folder));
        QVERIFY(lines[5].startsWith(QStringLiteral("  5: /dev/ttyS4 (")));

        // The adapter goes away while the window is open: the next refresh says so.
        QVERIFY(QFile::remove(folder + QStringLiteral("/adapter")));
        QVERIFY(Fire(w.MorTimPuerDis));
        QCOMPARE(w.MorLabPuerDis->text().split('\n')[2],
                 QStringLiteral("  2: COM2 → %1/adapter (no existe)").arg(folder));
        // Its link goes too: port 2 stays on the link, it does not become /dev/ttyS1.
        QVERIFY(QFile::remove(folder + QStringLiteral("/COM2")));
        w.MorCmdPuerAct->click();
        QCOMPARE(w.MorLabPuerDis->text().split('\n')[2], QStringLiteral("  2: COM2 (no existe)"));
        ChoosePort(b.start, 1);
        QVERIFY(!b.start.portWindow->MorTimPuerDis->isActive());
    }

    void credentialsWindow_data() {
        QTest::addColumn<CredentialsWindowRow>("row");
        // clang-format off
        QTest::addRow("both, from the menu") << CredentialsWindowRow{"Rosa", "mostrador", true, true};
        QTest::addRow("both, not from the menu") << CredentialsWindowRow{"Rosa", "mostrador", false, true};
        QTest::addRow("empty name") << CredentialsWindowRow{"", "mostrador", false, false};
        QTest::addRow("empty password") << CredentialsWindowRow{"Rosa", "", true, false};
        // clang-format on
    }

    void credentialsWindow() {
        QFETCH_ROW(CredentialsWindowRow, name, password, fromMenu, written);
        Bench b;
        const QString file = b.f.paths().operatorCredentials();
        b.start.ShowCredentialsWindow(fromMenu);
        FrmCapLogin& w = *b.start.capLogin;
        QCOMPARE(w.windowTitle(), QStringLiteral("MORLA"));
        w.txtUsuario->setText(name);
        w.txtPassword->setText(password);
        QTest::mouseClick(w.cmdCancel, Qt::LeftButton);
        QVERIFY(w.isVisible());
        QVERIFY(!QFileInfo::exists(file));

        QTest::mouseClick(w.cmdOK, Qt::LeftButton);
        QCOMPARE(QFileInfo::exists(file), written);
        QCOMPARE(w.isVisible(), !written);
        QCOMPARE(b.start.login->isVisible(), written && !fromMenu);
        if (written) {
            QCOMPARE(QFileInfo(file).size(), 1000);
            QCOMPARE(ReadRecord(file, OperatorCredentialsRecord).fields,
                     (QStringList{name, password}));
        }
        QVERIFY(b.f.msgs.shown.isEmpty());
    }
    // The selector waits for the operator; nothing is installed, and it stays, until the system
    // is chosen, the answer is yes and every model's folder is there.
    void selectorKeptUntilInstalled_data() {
        QTest::addColumn<SelectorKeptRow>("row");
        // clang-format off
        QTest::addRow("no system chosen") << SelectorKeptRow{2, -1, Answer::Yes, "", "Necesita seleccionar Sistema Operativo"};
        QTest::addRow("answered no") << SelectorKeptRow{4, 1, Answer::No, "", "La información es correcta?"};
        QTest::addRow("a model's folder missing") << SelectorKeptRow{6, 2, Answer::Yes, "Pellitor", "/Pellitor"};
        // clang-format on
    }
    void selectorKeptUntilInstalled() {
        QFETCH_ROW(SelectorKeptRow, equipment, system, answer, removed, last);
        Pending f;
        if (!removed.isEmpty()) QVERIFY(QDir(f.app + '/' + removed).removeRecursively());
        f.start->Start();
        QVERIFY(f.w().isVisible());
        QVERIFY(!f.start->login->isVisible());
        QCOMPARE(f.w().windowTitle(), QStringLiteral("PPP"));
        QCOMPARE(f.w().systemText(), QStringLiteral("Sistema Operativo"));
        QVERIFY(f.msgs.shown.isEmpty());

        f.msgs.answers = {answer};
        f.accept(QStringLiteral("Rosa"), QStringLiteral("mostrador"), equipment, system);
        // The question comes first, whatever is missing.
        QCOMPARE(f.msgs.shown.size(), answer == Answer::Yes ? 2 : 1);
        QVERIFY(f.msgs.shown[0].text.startsWith(QStringLiteral("La información es correcta?\r")));
        QCOMPARE(f.msgs.shown[0].title, QStringLiteral("PPP"));
        QCOMPARE(f.msgs.shown[0].buttons, Buttons::YesNo);
        QVERIFY2(f.msgs.shown.last().text.contains(QDir::toNativeSeparators(last)),
                 qPrintable(f.msgs.shown.last().text));
        QCOMPARE(f.msgs.shown.last().title, answer == Answer::Yes ? "MORLA" : "PPP");
        QVERIFY(InstallationPending(f.app));
        QVERIFY(!QFileInfo::exists(f.credentials()));
        QVERIFY(f.w().isVisible());
        QVERIFY(!f.start->login->isVisible());
        QCOMPARE(f.ends, 0);
    }

    void installsStoresAndLogsIn_data() {
        QTest::addColumn<InstallsStoresRow>("row");
        // clang-format off
        QTest::addRow("no option clicked, Windows 95") << InstallsStoresRow{-1, 0, "Sorvanell", "Sorvanell"};
        QTest::addRow("Quarn Dolmeth, Windows 98") << InstallsStoresRow{5, 1, "Quarn", "Quarn Dolmeth"};
        QTest::addRow("Tervolinda Voz, Windows 2000") << InstallsStoresRow{9, 5, "Tervolinda", "Tervolinda Voz"};
        // clang-format on
    }

    void installsStoresAndLogsIn() {
        QFETCH_ROW(InstallsStoresRow, equipment, system, folder, equipmentText);
        Pending f;
        const QString trace = f.root.path() + QStringLiteral("/trace.txt");
        qputenv("MORLA_LNKX_TRACE", trace.toLocal8Bit());
        f.start->Start();
        f.accept(QStringLiteral("Rosa"), QStringLiteral("mostrador"), equipment, system);
        const QString systemText = SelectorOperatingSystems()[system];
        QCOMPARE(
            f.msgs.texts(),
            QStringList{QStringLiteral("La información es correcta?\rSistema Operativo: ") +
                        systemText + QStringLiteral(" \rEquipo Dravenquista: ") + equipmentText});
        QVERIFY(!InstallationPending(f.app));
        QVERIFY(QFileInfo(f.app + '/' + folder).isDir());
        QCOMPARE(QDir(f.app).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 3);
        QCOMPARE(ReadRecord(f.credentials(), OperatorCredentialsRecord).fields,
                 (QStringList{"Rosa", "mostrador"}));
        QVERIFY(!f.w().isVisible());
        QVERIFY(f.start->login->isVisible());
        QCOMPARE(f.start->login->windowModality(), Qt::ApplicationModal);
        QCOMPARE(f.ends, 0);
        if (system == 0)
            QTRY_VERIFY_WITH_TIMEOUT(bytesOf(trace).contains("lnkx.exe started"), 10000);
        else
            QVERIFY(!QTest::qWaitFor([&] { return QFileInfo::exists(trace); }, 300));

        TypeLogin(*f.start, QStringLiteral("Rosa"), QStringLiteral("mostrador"));
        QVERIFY(f.start->portWindow->isVisible());
        QCOMPARE(f.ends, 0);
        qunsetenv("MORLA_LNKX_TRACE");
    }

    void nextStartIsOrdinary() {
        Pending f;
        f.start->Start();
        f.accept(QStringLiteral("Rosa"), QStringLiteral("mostrador"), 1, 3);
        QVERIFY(!InstallationPending(f.app));
        QVERIFY(QFileInfo::exists(f.root.path() + QStringLiteral("/lnkx.exe")));

        RecordedMessages msgs;
        FakeTransport port;
        Program again(msgs, port);
        Startup next(again, f.app);
        next.endProgram = [] {};
        next.Start();
        QVERIFY(!next.selector->isVisible());
        QVERIFY(next.login->isVisible());
        QVERIFY(!QFileInfo::exists(f.root.path() + QStringLiteral("/lnkx.exe")));
        QVERIFY(msgs.shown.isEmpty());
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
