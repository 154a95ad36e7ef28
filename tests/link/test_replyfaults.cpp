// Replies that go wrong: a reply that comes after the read was reported failed, and a reply
// whose start or model code was damaged on the line.
#include <QtTest>

#include "core/models/registry.h"
#include "gui/device/commands.h"
#include "support/programfixture.h"

using namespace morla;
using namespace morla::test;

namespace {
const QString kBlock =
    LuveroBlock(QStringLiteral("1E"), QStringLiteral("5678"), QStringLiteral("0000"));

// "&Leer" on the Lúvero panel with the read command acknowledged.
void StartRead(ProgramFixture& f, int button = 3) {
    ModelButton(*f.p, button);
    f.msgs.clear();
    f.p->main->MorFraCom03->click();
    f.port.acknowledgeAll();
    f.port.line.clear();
}
}  // namespace

class TestReplyFaults : public QObject {
    Q_OBJECT
  private slots:
    // Once "Error de Comunicación" (or "Error de Comunicación!") is out, the rest of that read
    // shows in the monitor and changes nothing else; the next read starts clean.
    void lateReplyNotDecoded_data() {
        QTest::addColumn<QString>("retries");
        QTest::addColumn<int>("before");     // characters of the late reply before the failure
        QTest::addColumn<bool>("badFirst");  // a bad reply uses up the retries first
        QTest::addColumn<QString>("failure");
        QTest::newRow("all after the time-out") << "2" << 0 << false << "Error de Comunicación";
        QTest::newRow("split around the time-out") << "2" << 70 << false << "Error de Comunicación";
        QTest::newRow("model code in before the time-out")
            << "2" << 7 << false << "Error de Comunicación";
        QTest::newRow("after the retries ran out") << "0" << 0 << true << "Error de Comunicación!";
    }
    void lateReplyNotDecoded() {
        QFETCH(QString, retries);
        QFETCH(int, before);
        QFETCH(bool, badFirst);
        QFETCH(QString, failure);
        ProgramFixture f(retries);
        f.load();
        Program& p = *f.p;
        StartRead(f);
        const QByteArray late = LuveroReply(kBlock);
        if (badFirst) {
            f.port.feed(LuveroReply(kBlock, true));
            p.monitor->MorTexMon04->clear();
        } else {
            f.port.feed(late.left(before));
            QVERIFY(Fire(p.main->TimerEC));
        }
        QCOMPARE(f.msgs.texts(), QStringList{failure});
        const QString codeAfterFailure = p.s.ModelCode;
        // What the technician does after the error must stay.
        p.main->MorTexResCla->setText(QStringLiteral("9999"));
        p.main->MorChkRes[4]->setChecked(true);
        f.port.feed(late.mid(before));
        QCOMPARE(p.monitor->MorTexMon04->toPlainText().right(late.size() - before),
                 QString::fromLatin1(late.mid(before)));
        QCOMPARE(p.main->MorTexResCla->text(), QStringLiteral("9999"));
        QVERIFY(p.main->MorChkRes[4]->isChecked());
        QCOMPARE(p.s.ModelCode, codeAfterFailure);
        QCOMPARE(p.main->MorTexEst->text(), QStringLiteral("Morla"));
        QCOMPARE(f.msgs.texts(), QStringList{failure});
        QVERIFY(!p.main->TimerEC->isActive());

        // The next read is clean and decodes its reply.
        p.main->MorFraCom03->click();
        QCOMPARE(p.monitor->MorTexMon04->toPlainText(), QString());
        f.port.acknowledgeAll();
        f.port.feed(late);
        QCOMPARE(p.main->MorTexResCla->text(), QStringLiteral("5678"));
        QCOMPARE(p.s.ModelCode, QStringLiteral("00"));
        QVERIFY(!p.main->TimerEC->isActive());
        QCOMPARE(f.msgs.texts(), QStringList{failure});
    }

    // A reply that does not begin with "0", or whose model code is no model's, is a bad reply
    // of the model shown once its length has arrived: retried, then read well. The plain damages
    // go through the simulator in the end-to-end tests.
    void damagedStartRetried_data() {
        QTest::addColumn<int>("at");  // 0-based character of the reply
        QTest::addColumn<char>("into");
        QTest::addColumn<bool>("retried");
        QTest::newRow("first character, high bit") << 0 << 'p' << true;
        QTest::newRow("model code, out of the digits") << 5 << '\xb0' << true;
        // The rest of the reply start is not part of the map: the reply is good.
        QTest::newRow("third character") << 2 << '5' << false;
    }
    void damagedStartRetried() {
        QFETCH(int, at);
        QFETCH(char, into);
        QFETCH(bool, retried);
        ProgramFixture f;
        f.load();
        Program& p = *f.p;
        StartRead(f);
        QByteArray damaged = LuveroReply(kBlock);
        damaged[at] = into;
        // Before the whole length nothing happens.
        f.port.feed(damaged.left(damaged.size() - 1));
        QVERIFY(p.main->MorTexResCla->text() != QStringLiteral("5678"));
        QCOMPARE(f.msgs.texts(), QStringList());
        QCOMPARE(f.port.line, QByteArray());
        f.port.feed(damaged.right(1));
        if (!retried) {
            QCOMPARE(p.main->MorTexResCla->text(), QStringLiteral("5678"));
            QCOMPARE(f.msgs.texts(), QStringList());
            return;
        }
        QCOMPARE(f.msgs.texts(), QStringList{"1"});
        QCOMPARE(f.port.line, QByteArray("*40f"));
        QCOMPARE(p.main->MorTexEst->text(), QStringLiteral("Reintento Lectura 1"));
        QCOMPARE(p.monitor->MorTexMon04->toPlainText(), QString());
        QVERIFY(p.main->TimerEC->isActive());
        f.port.feed(LuveroReply(kBlock));
        QCOMPARE(p.main->MorTexResCla->text(), QStringLiteral("5678"));
        QCOMPARE(p.s.ModelCode, QStringLiteral("00"));
        QVERIFY(!p.main->TimerEC->isActive());
        QCOMPARE(f.msgs.texts(), QStringList{"1"});
        // The next read starts with its full retries.
        p.main->MorFraCom03->click();
        QCOMPARE(p.s.ReadRetryCount, 0);
    }

    // A damaged reply start meets each checksum rule as a bad block would; every model's rule is
    // checked with bad blocks in the model suite.
    void damagedStartByModel_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<QStringList>("messages");
        const QStringList none;
        QTest::newRow("start page: no model expected") << 1 << none;
        QTest::newRow("Sorvanell: no checksum") << 2 << none;
        QTest::newRow("Lúvero: retried") << 3 << QStringList{"1"};
        QTest::newRow("Zentavira: reported") << 4 << QStringList{"Error de Comunicación1!"};
        QTest::newRow("Quarn: dropped") << 6 << none;
    }
    void damagedStartByModel() {
        QFETCH(int, button);
        QFETCH(QStringList, messages);
        ProgramFixture f;
        f.load();
        Program& p = *f.p;
        StartRead(f, button);
        const ModelInfo* m = ModelByDispatchName(p.s.EquipmentName);
        const int length = m ? m->replyLength : 138;
        // Damaged first character, then digits: the reception opens at the first "0".
        f.port.feed("1245" + QByteArray(length - 4, '0'));
        QCOMPARE(f.msgs.texts(), messages);
        const bool retried = messages == QStringList{"1"};
        QCOMPARE(f.port.line, retried ? QByteArray("*40f") : QByteArray());
        // A report ends the read at once; otherwise the time-out ends it.
        const bool reported = messages == QStringList{"Error de Comunicación1!"};
        QCOMPARE(p.main->TimerEC->isActive(), !reported);
    }
};

QTEST_MAIN(TestReplyFaults)
#include "test_replyfaults.moc"
