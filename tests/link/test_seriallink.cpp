// Pacing of messages under the device's acknowledgments, the receive event, replies that go
// wrong (one that comes after the read was reported failed, one whose start or model code was
// damaged on the line), and whole writes that a key that is empty or shorter than the model's
// keeps in.
#include <QtTest>

#include "core/models/registry.h"
#include "gui/device/commands.h"
#include "gui/link/sendpipeline.h"
#include "gui/link/seriallink.h"
#include "gui/panels/framework.h"
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

using PacingRow = std::tuple<QString, int, QByteArray>;
// underWay: "read" or "write"; command: the button pressed meanwhile
using BusyRow = std::tuple<QString, QString, QString>;
// before: characters of the late reply before the failure; badFirst: a bad reply uses up the
// retries first
using LateRow = std::tuple<QString, int, bool, QString>;
// at: 0-based character of the reply
using DamagedRow = std::tuple<int, char, bool>;
using ShortKeyRow = std::tuple<int, int>;

class TestSerialLink : public QObject {
    Q_OBJECT
    // A Lúvero read whole: its model, firmware and key are known for what follows.
    static void readLuvero(ProgramFixture& f) {
        f.p->main->MorFraCom03->click();
        f.port.feed(LuveroReply(LuveroBlock("1E", "1234", "0000")));
        f.port.line.clear();
        f.msgs.clear();
    }

  private slots:
    void pacing_data() {
        QTest::addColumn<PacingRow>("row");
        // clang-format off
        QTest::newRow("one character, nothing answered") << PacingRow{"X", 0, QByteArray("D")};
        QTest::newRow("one character, first T") << PacingRow{"X", 1, QByteArray("DX")};
        QTest::newRow("one character, second T closes") << PacingRow{"X", 2, QByteArray("DX1P")};
        QTest::newRow("a 1 inside the message") << PacingRow{"#1,1234,9", 10, QByteArray("D#1,1234,91P")};
        QTest::newRow("T while idle starts the last message over") << PacingRow{"AB", 4, QByteArray("DAB1PD")};
        QTest::newRow("empty message") << PacingRow{"", 1, QByteArray("D1P")};
        // clang-format on
    }
    void pacing() {
        QFETCH_ROW(PacingRow, message, acks, line);
        ProgramFixture f;
        StartMessage(*f.p, message);
        for (int i = 0; i < acks; ++i) f.port.feed("T");
        QCOMPARE(f.port.line, line);
        if (f.port.line.endsWith('P')) QCOMPARE(f.p->s.SendPosition, 1);
    }

    // The reply boxes from the "0" on, and a "0" inside an open reply.
    void receptionBoxes() {
        const QList<std::array<QString, 5>> rows{
            {"T0:5", "T0:5", "0:5", "303A35", "-48-58-53"},
            {"0120", "0120", "0120", "30313230", "-48-49-50-48"}};
        for (const auto& [incoming, log, chr, hex, asc] : rows) {
            ProgramFixture f;
            f.port.feed(incoming.toLatin1());
            QCOMPARE(f.p->todo->txttodo->toPlainText(), log);
            QCOMPARE(f.p->monitor->MorTexMon04->toPlainText(), chr);
            QCOMPARE(f.p->monitor->MorTexMon05->toPlainText(), hex);
            QCOMPARE(f.p->monitor->MorTexMon06->toPlainText(), asc);
        }
    }

    // A read that gets no reply within the time-out is reported and ends; a time-out of 0 never
    // fires.
    void timerECReportsAndReturnsToIdle() {
        for (const QString timeout : {"10", "0"}) {
            ProgramFixture f(QStringLiteral("2"), timeout);
            f.load();
            f.msgs.clear();
            f.p->main->MorFraCom03->click();
            QCOMPARE(f.p->main->MorTexEst->text(), QStringLiteral("Leyendo"));
            QCOMPARE(f.p->main->TimerEC->isActive(), timeout != "0");
            if (timeout == "0") continue;
            QCOMPARE(f.p->main->TimerEC->interval(), 10000);
            QVERIFY(f.p->main->readProgress->isVisibleTo(f.p->main.get()));
            QVERIFY(Fire(f.p->main->TimerEC));
            QCOMPARE(f.msgs.texts(), QStringList{"Error de Comunicación"});
            QCOMPARE(f.msgs.shown[0].title, QStringLiteral("MORLA"));
            QCOMPARE(f.p->main->MorTexEst->text(), QStringLiteral("Morla"));
            QVERIFY(!f.p->main->TimerEC->isActive());
            QVERIFY(!f.p->main->readProgress->isVisibleTo(f.p->main.get()));
        }
    }

    // While a read or a send is under way no other read or send starts: the line beside the
    // status says why, and nothing more goes out.
    void busyRefusesNewCommands_data() {
        QTest::addColumn<BusyRow>("row");
        const QString reading = QStringLiteral("Ocupado: lectura en curso");
        const QString writing = QStringLiteral("Ocupado: escritura en curso");
        QTest::newRow("read during a read") << BusyRow{"read", "MorFraCom03", reading};
        QTest::newRow("write during a read") << BusyRow{"read", "MorFraCom04", reading};
        QTest::newRow("hang up during a read") << BusyRow{"read", "MorFraCom01", reading};
        QTest::newRow("read during a write") << BusyRow{"write", "MorFraCom03", writing};
        QTest::newRow("verify during a write") << BusyRow{"write", "MorFraCom02", writing};
    }
    void busyRefusesNewCommands() {
        QFETCH_ROW(BusyRow, underWay, command, status);
        LoadedProgram f;
        Program& p = *f.p;
        readLuvero(f);
        p.main->findChild<QPushButton*>(underWay == "read" ? "MorFraCom03" : "MorFraCom04")
            ->click();
        f.port.acknowledgeAll();
        const QByteArray before = f.port.line;
        const QString shown = p.main->MorTexEst->text();
        p.main->findChild<QPushButton*>(command)->click();
        f.port.acknowledgeAll();
        QCOMPARE(f.port.line, before);
        QCOMPARE(p.main->sendStatus->text(), status);
        QCOMPARE(p.main->MorTexEst->text(), shown);
        QVERIFY(f.msgs.shown.isEmpty());
    }

    // A write stopped while it waits sends no data: by its "Cancelar", by Esc, or by leaving.
    void cancelledWriteSendsNoData_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancelar") << "button";
        QTest::newRow("Esc") << "key";
        QTest::newRow("E&scape") << "leave";
    }
    void cancelledWriteSendsNoData() {
        QFETCH(QString, how);
        LoadedProgram f;
        Program& p = *f.p;
        p.main->show();
        readLuvero(f);
        p.main->MorFraCom04->click();
        f.port.acknowledgeAll();
        QVERIFY(p.main->sendCancel->isVisible());
        f.port.line.clear();
        if (how == "button") {
            p.main->sendCancel->click();
        } else if (how == "key") {
            QApplication::setActiveWindow(p.main.get());
            QVERIFY(QTest::qWaitForWindowActive(p.main.get()));
            QTest::keyClick(p.main->windowHandle(), Qt::Key_Escape);
            QTRY_VERIFY(!p.main->TimerPID->isActive());  // a button's key clicks it shortly after
        } else {
            p.main->MorFraCom08->click();
            QCOMPARE(f.msgs.texts(), QStringList{"Cerrando Puerto"});
        }
        QVERIFY(!p.main->TimerPID->isActive());
        QVERIFY(!Fire(p.main->TimerPID));
        QCOMPARE(f.port.line, QByteArray());
        if (how != "leave") {
            QCOMPARE(p.main->sendStatus->text(), QStringLiteral("Envío cancelado"));
            QCOMPARE(p.main->MorTexEst->text(), QStringLiteral("Morla"));
            QVERIFY(!p.main->sendCancel->isVisible());
            // Nothing is under way any more.
            p.main->MorFraCom03->click();
            QCOMPARE(p.main->MorTexEst->text(), QStringLiteral("Leyendo"));
        }
    }

    // The line beside the status tells of the last thing done, and a new action clears it.
    void statusTellsTheLastAction() {
        LoadedProgram f;
        Program& p = *f.p;
        p.main->sendStatus->setText(QStringLiteral("Verificado"));
        p.main->MorFraCom03->click();
        QCOMPARE(p.main->sendStatus->text(), QString());
        f.port.feed(LuveroReply(LuveroBlock("1E", "1234", "0000")));
        QVERIFY(p.main->sendStatus->text().startsWith(QStringLiteral("Leído a las ")));
        p.main->MorFraCom04->click();
        f.port.acknowledgeAll();
        QCOMPARE(p.main->MorTexEst->text(), QStringLiteral("Escribiendo"));
        QVERIFY(Fire(p.main->TimerPID));
        f.port.acknowledgeAll();
        QCOMPARE(p.main->MorTexEst->text(), QStringLiteral("Morla"));
    }

    void messageBoxInsideReceiveKeepsOrder() {
        // Bytes that arrive while a listener is inside the receive event (a message box) wait
        // their turn instead of overtaking.
        ProgramFixture f;
        QString seenInside;
        QObject::connect(f.p->line.get(), &LineSession::readProgress, [&](int received, int) {
            if (received != 1 || !seenInside.isEmpty()) return;
            f.port.feed("12");
            seenInside = f.p->monitor->MorTexMon04->toPlainText();
        });
        ReadCommandStart(*f.p);
        f.port.feed("0");
        QCOMPARE(seenInside, QStringLiteral("0"));
        QCOMPARE(f.p->monitor->MorTexMon04->toPlainText(), QStringLiteral("012"));
        f.port.feed("3");
        QCOMPARE(f.p->monitor->MorTexMon04->toPlainText(), QStringLiteral("0123"));
    }

    void incompleteKeyIsRefused_data() {
        QTest::addColumn<ShortKeyRow>("row");
        for (const ModelInfo& m : Models()) {
            // Models whose whole write goes through their own editor have no frame here.
            if (!Members(m.id).BuildFrame) continue;
            const QByteArray name = m.dispatch().toUtf8();
            QTest::newRow(name + " empty key") << ShortKeyRow{int(m.id), m.keyLength};
            QTest::newRow(name + " key one short") << ShortKeyRow{int(m.id), 1};
        }
        // A complete key goes out.
        QTest::newRow("Lúvero, whole key") << ShortKeyRow{int(ModelId::Luvero), 0};
    }
    void incompleteKeyIsRefused() {
        QFETCH_ROW(ShortKeyRow, model, keyShortBy);
        const ModelInfo& m = Model(ModelId(model));
        LoadedProgram f;
        // Buttons 2 to 9 show the models in the registry's order.
        ModelButton(*f.p, model + 2);
        QCOMPARE(ModelByDispatchName(f.p->s.EquipmentName), &m);
        // A full valid key first, so a stale "Activado" is there to be wrongly trusted.
        const QString full =
            m.id == ModelId::Sorvanell ? QStringLiteral("12*34") : QString(m.keyLength, '7');
        f.p->main->MorTexResCla->setText(full);
        ValidateKey(*f.p, m.keyLength);
        f.p->main->MorTexResCla->setText(full.left(m.keyLength - keyShortBy));
        f.msgs.clear();
        f.port.line.clear();
        SendWholeConfiguration(*f.p);
        if (keyShortBy == 0) {
            QVERIFY(f.msgs.shown.isEmpty());
            QVERIFY(f.p->main->TimerPID->isActive());
            QCOMPARE(f.port.line, QByteArray("D"));
            return;
        }
        QCOMPARE(f.msgs.texts(), QStringList{QStringLiteral("Error en Captura")});
        QVERIFY(!f.p->main->TimerPID->isActive());
        QCOMPARE(f.port.line, QByteArray());
        QCOMPARE(f.p->main->MorTexEst->text(), QStringLiteral("Morla"));
    }

    // Once "Error de Comunicación" (or "Error de Comunicación!") is out, the rest of that read
    // shows in the monitor and changes nothing else; the next read starts clean.
    void lateReplyNotDecoded_data() {
        QTest::addColumn<LateRow>("row");
        QTest::newRow("all after the time-out") << LateRow{"2", 0, false, "Error de Comunicación"};
        QTest::newRow("model code in before the time-out")
            << LateRow{"2", 7, false, "Error de Comunicación"};
        QTest::newRow("after the retries ran out")
            << LateRow{"0", 0, true, "Error de Comunicación!"};
    }
    void lateReplyNotDecoded() {
        QFETCH_ROW(LateRow, retries, before, badFirst, failure);
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
        QTest::addColumn<DamagedRow>("row");
        QTest::newRow("first character, high bit") << DamagedRow{0, 'p', true};
        QTest::newRow("model code, out of the digits") << DamagedRow{5, '\xb0', true};
        // The rest of the reply start is not part of the map: the reply is good.
        QTest::newRow("third character") << DamagedRow{2, '5', false};
    }
    void damagedStartRetried() {
        QFETCH_ROW(DamagedRow, at, into, retried);
        LoadedProgram f;
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
};

QTEST_MAIN(TestSerialLink)
#include "test_seriallink.moc"
