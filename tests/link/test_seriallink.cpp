// Pacing of messages under the device's acknowledgments, and the receive event.
#include <QtTest>

#include "gui/link/seriallink.h"
#include "support/programfixture.h"

using namespace morla;
using namespace morla::test;

class TestSerialLink : public QObject {
    Q_OBJECT
  private slots:
    void pacing_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("acks");
        QTest::addColumn<QByteArray>("line");
        // clang-format off
        QTest::newRow("one character, nothing answered") << "X" << 0 << QByteArray("D");
        QTest::newRow("one character, first T") << "X" << 1 << QByteArray("DX");
        QTest::newRow("one character, second T closes") << "X" << 2 << QByteArray("DX1P");
        QTest::newRow("read command") << "*40f" << 5 << QByteArray("D*40f1P");
        QTest::newRow("a 1 inside the message") << "#1,1234,9" << 10 << QByteArray("D#1,1234,91P");
        QTest::newRow("T while idle starts the last message over") << "AB" << 4 << QByteArray("DAB1PD");
        QTest::newRow("empty message") << "" << 1 << QByteArray("D1P");
        // clang-format on
    }
    void pacing() {
        QFETCH(QString, message);
        QFETCH(int, acks);
        QFETCH(QByteArray, line);
        ProgramFixture f;
        StartMessage(*f.p, message);
        for (int i = 0; i < acks; ++i) f.port.feed("T");
        QCOMPARE(f.port.line, line);
        if (f.port.line.endsWith('P')) QCOMPARE(f.p->s.SendPosition, 1);
    }

    void serialSendReturnsFramedText() {
        ProgramFixture f;
        QString m = QStringLiteral("ab");
        f.p->s.SendPosition = 1;
        SerialSend(*f.p, m);
        QCOMPARE(m, QStringLiteral("Dab12"));
        QCOMPARE(f.p->s.PendingMessage, QStringLiteral("ab"));
    }

    void receptionBoxes_data() {
        QTest::addColumn<QByteArray>("incoming");
        QTest::addColumn<QString>("log");
        QTest::addColumn<QString>("chr");
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QString>("asc");
        // clang-format off
        QTest::newRow("before the first 0 only the log") << QByteArray("TT") << "TT" << "" << "" << "";
        QTest::newRow("from the 0 on") << QByteArray("T0:5") << "T0:5" << "0:5" << "303A35" << "-48-58-53";
        // clang-format on
        QTest::newRow("a 0 inside an open reply") << QByteArray("0120") << "0120"
                                                  << "0120"
                                                  << "30313230"
                                                  << "-48-49-50-48";
    }
    void receptionBoxes() {
        QFETCH(QByteArray, incoming);
        ProgramFixture f;
        f.port.feed(incoming);
        QTEST(f.p->todo->txttodo->toPlainText(), "log");
        QTEST(f.p->monitor->MorTexMon04->toPlainText(), "chr");
        QTEST(f.p->monitor->MorTexMon05->toPlainText(), "hex");
        QTEST(f.p->monitor->MorTexMon06->toPlainText(), "asc");
    }

    void modelCodeFromCharacters5And6() {
        ProgramFixture f;
        f.p->s.ModelCode = QStringLiteral("zz");
        f.port.feed("0245");
        f.port.feed("0:");
        QCOMPARE(f.p->s.ModelCode, QStringLiteral("zz"));  // six characters: not yet
        f.port.feed("1");
        QCOMPARE(f.p->s.ModelCode, QStringLiteral("0:"));
    }

    void timerECReportsAndReturnsToIdle() {
        ProgramFixture f;
        f.load();
        f.msgs.clear();
        f.p->main->MorFraCom03->click();
        QCOMPARE(f.p->main->MorTexEst->text(), QStringLiteral("Leyendo"));
        QVERIFY(f.p->main->TimerEC->isActive());
        QCOMPARE(f.p->main->TimerEC->interval(), 10000);
        QVERIFY(f.p->main->readProgress->isVisibleTo(f.p->main.get()));
        QVERIFY(Fire(f.p->main->TimerEC));
        QCOMPARE(f.msgs.texts(), QStringList{"Error de Comunicación"});
        QCOMPARE(f.msgs.shown[0].title, QStringLiteral("MORLA"));
        QCOMPARE(f.p->main->MorTexEst->text(), QStringLiteral("Morla"));
        QVERIFY(!f.p->main->TimerEC->isActive());
        QVERIFY(!f.p->main->readProgress->isVisibleTo(f.p->main.get()));
    }

    void timeOutZeroNeverFires() {
        ProgramFixture f(QStringLiteral("2"), QStringLiteral("0"));
        f.load();
        f.p->main->MorFraCom03->click();
        QVERIFY(!f.p->main->TimerEC->isActive());
    }

    void timerPIDSendsOnceAndStops_data() {
        QTest::addColumn<QString>("whole");
        QTest::addColumn<QByteArray>("first");
        QTest::newRow("command string") << "0" << QByteArray("D");
        QTest::newRow("data") << "1" << QByteArray("D");
    }
    void timerPIDSendsOnceAndStops() {
        QFETCH(QString, whole);
        ProgramFixture f;
        f.p->s.SendWholeFrame = whole;
        f.p->s.SendData = QStringLiteral("DATA");
        f.p->s.CommandString = QStringLiteral("CMD");
        f.p->s.SendPosition = 1;
        f.p->main->TimerPID->start();
        QVERIFY(Fire(f.p->main->TimerPID));
        f.port.acknowledgeAll();
        QCOMPARE(f.port.line, whole == "1" ? QByteArray("DDATA1P") : QByteArray("DCMD1P"));
        QCOMPARE(f.p->s.SendWholeFrame, QStringLiteral("0"));
        QVERIFY(!f.p->main->TimerPID->isActive());
    }

    void messageBoxInsideReceiveKeepsOrder() {
        // A box shown inside the receive event must not let later bytes overtake.
        ProgramFixture f;
        f.port.feed("0");
        QObject::connect(&f.port, &Transport::received, [&](char) {});
        f.p->receiveQueue.clear();
        f.p->inReceive = true;  // as while a box is open
        f.port.feed("12");
        QCOMPARE(f.p->monitor->MorTexMon04->toPlainText(), QStringLiteral("0"));
        f.p->inReceive = false;
        f.port.feed("3");
        QCOMPARE(f.p->monitor->MorTexMon04->toPlainText(), QStringLiteral("0123"));
    }
};

QTEST_MAIN(TestSerialLink)
#include "test_seriallink.moc"
