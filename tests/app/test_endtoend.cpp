// The program on a real serial port: a pseudo-terminal served by the device simulator.
#include <sys/resource.h>

#include <QtTest>

#include "gui/device/commands.h"
#include "session/portaccess.h"
#include "support/simulator.h"
#include "support/startup.h"

using namespace morla;
using namespace morla::test;

namespace {
double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Whether this process holds one of the system's serial ports open.
bool holdsSystemSerialPort() {
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        if (QFile::symLinkTarget(fds.filePath(fd)).startsWith(QStringLiteral("/dev/ttyS")))
            return true;
    return false;
}

QString boxes(const Program& p) {
    QString out;
    for (QCheckBox* c : p.main->MorChkRes) out += c->isChecked() ? '1' : '0';
    return out;
}
}  // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
  private slots:
    // A read; option 2 set and the whole configuration written while the status counts down
    // and then says what went out; a read again; option 3 sent from its box's menu, the key
    // change, and the next message with the new key.
    void readWriteAndReadAgain() {
        Bench b;
        QVERIFY(b.start({"--model", "luvero", "--key", "1034", "--options", "101001"}));
        QVERIFY2(b.f.msgs.shown.isEmpty(), qPrintable(b.f.msgs.texts().join('|')));

        b.p.main->MorFraCom03->click();
        QTRY_COMPARE(b.p.main->MorTexResCla->text(), QStringLiteral("1034"));
        QVERIFY(b.sim.received().startsWith(QStringLiteral("D*40f1P")));
        QCOMPARE(b.p.monitor->MorTexMon08->toPlainText().size(), 134);  // the whole map
        QCOMPARE(b.p.s.ModelCode, QStringLiteral("00"));
        QCOMPARE(b.p.main->MorTexBan->text(), QStringLiteral("101001"));
        QCOMPARE(b.p.main->MorTexEst->text(), QStringLiteral("Morla"));
        QVERIFY(b.f.msgs.shown.isEmpty());

        QVERIFY(b.show());
        QTest::mouseClick(b.p.main->MorChkRes[1], Qt::LeftButton, {}, QPoint(6, 8));
        QCOMPARE(b.p.s.joinedRestrictorFlags(), QStringLiteral("111001000"));
        b.p.main->MorFraCom04->click();
        QCOMPARE(b.p.main->sendStatus->text(), QStringLiteral("Envío en 5 s"));
        QVERIFY(b.p.main->sendCountdown->isActive());
        QTRY_VERIFY(b.sim.messages().contains(QStringLiteral("*42")));
        QVERIFY(Fire(b.p.main->TimerPID));
        QVERIFY(!b.p.main->sendCountdown->isActive() || Fire(b.p.main->sendCountdown));
        QTRY_VERIFY(b.p.main->sendStatus->text().startsWith(
            QStringLiteral("Configuración enviada al Lúvero a las ")));
        QVERIFY(b.p.main->sendStatus->text().endsWith(QStringLiteral(" (datos 00011034FF1016)")));
        QTRY_VERIFY(b.sim.messages().contains(QStringLiteral("00011034FF1016")));

        b.p.main->MorTexResCla->setText(QStringLiteral("9"));
        b.p.main->MorFraCom03->click();
        QTRY_COMPARE(b.p.main->MorTexResCla->text(), QStringLiteral("1034"));
        QCOMPARE(b.p.main->MorTexBan->text(), QStringLiteral("111001"));
        QCOMPARE(boxes(b.p), QStringLiteral("111001000"));
        QVERIFY(b.f.msgs.shown.isEmpty());

        QCheckBox* three = b.p.main->MorChkRes[2];
        QTest::mouseClick(three, Qt::LeftButton, {}, QPoint(6, three->height() / 2));  // off
        QCOMPARE(b.sendFrom(QStringLiteral("MorChkRes03"), QStringLiteral("#4,1034,0")),
                 QStringLiteral("applied"));
        QTRY_VERIFY(b.p.main->sendStatus->text().startsWith(
            QStringLiteral("Comando #4,1034,0 enviado al Lúvero a las ")));
        QCOMPARE(b.changeKey("4321", "#2,1034,4321"), QStringLiteral("applied"));
        QCOMPARE(b.send("1", "0", "#1,4321,0"), QStringLiteral("applied"));
        b.sim.stop();
        QCOMPARE(b.sim.memory().mid(10, 4), QStringLiteral("4321"));
        QCOMPARE(b.sim.memory().mid(16, 1), QStringLiteral("0"));
    }

    // A reply with a bad checksum is retried (damaged reply starts: the link tests).
    void damagedReplyRetriedOnTheLine() {
        Bench b;
        QVERIFY(b.start({"--model", "luvero", "--key", "4321", "--fault", "badsum:1"}));
        ModelButton(b.p, 3);
        b.p.main->MorFraCom03->click();
        QTRY_COMPARE(b.p.main->MorTexResCla->text(), QStringLiteral("4321"));
        QCOMPARE(b.f.msgs.texts(), QStringList{"1"});
        QVERIFY(!b.p.main->TimerEC->isActive());
    }

    // The device goes away and comes back on a new terminal: the read in between names the lost
    // port (its link, and the terminal that is gone), the next read after it finds the new one,
    // and no system serial port is opened in place of the link.
    void portComesBackAfterTheDeviceReturns_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("linkLeft");
        QTest::newRow("killed: its link names a terminal that is gone") << "kill" << true;
        QTest::newRow("killed during a slow read") << "kill mid-read" << true;
        QTest::newRow("stopped: its link removed") << "stop" << false;
        QTest::newRow("gone unnoticed until the read's time-out") << "time-out" << true;
    }
    void portComesBackAfterTheDeviceReturns() {
        QFETCH(QString, how);
        QFETCH(bool, linkLeft);
        Bench b;
        const bool midRead = how == QLatin1String("kill mid-read");
        QVERIFY(b.start(QStringList{"--model", "luvero", "--key", "1034"} +
                        (midRead ? QStringList{"--fault", "delay:20"} : QStringList{})));
        const QString com1 = b.f.dir.filePath(QStringLiteral("COM1"));
        QVERIFY(b.read());
        QCOMPARE(b.p.main->MorTexResCla->text(), QStringLiteral("1034"));
        const QString terminal = com1 + QStringLiteral(" → ") + QFile::symLinkTarget(com1);
        auto lost = [](const QString& device, const QString& cause) {
            return QStringLiteral("Se perdió la conexión con el puerto serie 1 (%1): %2")
                .arg(device, cause);
        };
        auto said = [&](const QString& start) {
            return b.f.msgs.shown.size() == 1 && b.f.msgs.shown[0].text.startsWith(start);
        };
        if (how == QStringLiteral("time-out")) {
            b.p.main->MorFraCom03->click();
            b.sim.kill();  // no event runs before the time-out: the port has not seen it
            QVERIFY(Fire(b.p.main->TimerEC));
            QVERIFY2(said(lost(terminal, QStringLiteral("no existe."))),
                     qPrintable(b.f.msgs.texts().join('|')));
        } else {
            if (midRead) {
                const qsizetype sent = b.sim.logLines().filter(QStringLiteral(" >> ")).size();
                b.p.main->MorFraCom03->click();
                QTRY_VERIFY(b.sim.logLines().filter(QStringLiteral(" >> ")).size() > sent + 10);
            }
            if (how.startsWith(QStringLiteral("kill")))
                b.sim.kill();
            else
                b.sim.stop();
            QTRY_COMPARE(b.f.msgs.shown.size(), 1);  // said when it happens
            QVERIFY2(said(lost(terminal, QStringLiteral("el dispositivo"))),
                     qPrintable(b.f.msgs.texts().join('|')));
            b.f.msgs.clear();
            b.p.main->MorFraCom03->click();  // said again at once by the read, with why
            QVERIFY2(said(lost(linkLeft ? terminal : com1, QStringLiteral("no existe."))),
                     qPrintable(b.f.msgs.texts().join('|')));
        }
        QCOMPARE(QFileInfo(com1).isSymLink(), linkLeft);
        QVERIFY(!b.port.isOpen());
        QVERIFY(!b.p.main->TimerEC->isActive());
        QCOMPARE(b.p.main->MorTexEst->text(), QStringLiteral("Morla"));
        QVERIFY(!holdsSystemSerialPort());
        // Idle afterwards: no more messages and next to no processor time; the menus still work.
        const double before = cpuSeconds();
        QTest::qWait(1000);
        QVERIFY2(cpuSeconds() - before < 0.2, "busy after the port went away");
        QCOMPARE(b.f.msgs.shown.size(), 1);
        b.p.main->MorMnuMon->trigger();
        QVERIFY(b.p.monitor->isVisible());

        QVERIFY(b.sim.start({"--model", "luvero", "--key", "5678"}));
        QVERIFY2(b.read(), qPrintable(b.f.msgs.texts().join('|')));
        QCOMPARE(b.p.main->MorTexResCla->text(), QStringLiteral("5678"));
        QVERIFY(!holdsSystemSerialPort());
    }

    void portMissingAtStartIsOpenedByTheNextCommand() {
        Bench b;
        // No simulator yet: COM1 names a device that is not there (an unplugged adapter).
        QVERIFY(QFile::link(b.f.dir.filePath(QStringLiteral("ttyUSB9")),
                            b.f.dir.filePath(QStringLiteral("COM1"))));
        b.f.load();
        QCOMPARE(b.f.msgs.shown.size(), 1);
        QVERIFY2(b.f.msgs.shown[0].text.startsWith(
                     QStringLiteral("No se pudo abrir el puerto serie 1 (%1 → %2): no existe.")
                         .arg(b.f.dir.filePath(QStringLiteral("COM1")), b.port.deviceName())),
                 qPrintable(b.f.msgs.shown[0].text));
        b.f.msgs.clear();
        b.p.main->MorFraCom03->click();  // said at once, no wait for the time-out
        QCOMPARE(b.f.msgs.shown.size(), 1);
        QVERIFY(b.f.msgs.shown[0].text.contains(QStringLiteral(": no existe.")));
        QVERIFY(!b.p.main->TimerEC->isActive());
        QVERIFY(b.p.main->MorTexEst->text() != QStringLiteral("Leyendo"));

        QVERIFY(b.sim.start({"--model", "luvero", "--key", "2468"}));
        b.f.msgs.clear();
        b.p.main->MorFraCom03->click();
        QTRY_COMPARE(b.p.main->MorTexResCla->text(), QStringLiteral("2468"));
        QVERIFY(b.f.msgs.shown.isEmpty());
    }

    // Login, port choice and main window, as the run script starts the program; then the port
    // changed from the menu to a second device, which opens at once; closing ends the program
    // and the port.
    void startedAsANewUserThenAnotherPort() {
        Bench b;
        QVERIFY(b.sim.start({"--model", "luvero", "--key", "1111", "--options", "010000"}));
        Simulator second(b.f.dir.path(), 2);
        QVERIFY(second.start({"--model", "luvero", "--key", "2222"}));
        Startup start(b.p, b.f.dir.path());
        int ends = 0;
        start.endProgram = [&ends] { ++ends; };
        start.Start();
        TypeLogin(start, QStringLiteral("Ingenieria"), QStringLiteral("Tirel"));
        QVERIFY(start.portWindow->MorLabPuerDis->text().contains(
            QStringLiteral("1: COM1 → %1 (existe)")
                .arg(QFile::symLinkTarget(b.f.dir.filePath("COM1")))));
        ChoosePort(start, 0);
        QVERIFY(b.p.main->isVisible());
        QVERIFY(b.port.isOpen());
        QVERIFY2(b.read(), qPrintable(b.f.msgs.texts().join('|')));
        QCOMPARE(b.p.main->MorTexResCla->text(), QStringLiteral("1111"));
        QCOMPARE(b.p.main->MorTexBan->text(), QStringLiteral("010000"));
        QVERIFY(b.p.main->MorTexBan->isVisible());

        // A read under way is dropped by the change; the close box leaves the port as it was.
        b.p.main->MorFraCom03->click();
        b.p.main->MorMnuConPue->trigger();
        QVERIFY(start.portWindow->isVisible());
        QCOMPARE(start.portWindow->windowModality(), Qt::ApplicationModal);
        QComboBox* list = start.portWindow->MorCmbNumPort;
        QCOMPARE(list->currentIndex(), 0);  // the port in use
        list->setCurrentIndex(1);
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(!start.portWindow->isVisible());
        QVERIFY(!b.p.main->TimerEC->isActive());
        QCOMPARE(b.p.main->MorTexEst->text(), QStringLiteral("Morla"));
        QCOMPARE(LastGoodPort(b.f.dir.path()), 2);
        QCOMPARE(b.port.deviceName(), QFile::symLinkTarget(b.f.dir.filePath("COM2")));
        b.p.main->MorMnuConPue->trigger();
        QCOMPARE(list->currentIndex(), 1);
        QTest::keyClick(start.portWindow.get(), Qt::Key_Escape);
        QVERIFY(!start.portWindow->isVisible() && b.port.isOpen());
        QVERIFY2(b.read(), qPrintable(b.f.msgs.texts().join('|')));
        QCOMPARE(b.p.main->MorTexResCla->text(), QStringLiteral("2222"));
        QCOMPARE(second.messages().count(QStringLiteral("*40f")), 1);
        b.p.main->close();
        QCOMPARE(ends, 1);
        QVERIFY(!b.port.isOpen());
    }
};

QTEST_MAIN(TestEndToEnd)
#include "test_endtoend.moc"
