// The monitor: its command file edited and sent by hand, and the receive path's boxes, what a
// read, a write and a single command leave in them and in the hidden log, and the log's bound.
#include <QCryptographicHash>
#include <QtTest>

#include "gui/device/commands.h"
#include "gui/link/monitorcommands.h"
#include "gui/link/sendpipeline.h"
#include "support/programfixture.h"

using namespace morla;
using namespace morla::test;

namespace {
QStringList names(const QString& path) {
    QStringList out;
    for (int n = 1; n <= RecordCount(path, CommandRecord.length); ++n)
        out << ReadRecord(path, CommandRecord, n).fields[0];
    return out;
}

// Every box's text, named as the control, after one step of the session.
using Boxes = QMap<QString, QString>;

Boxes boxes(const Program& p) {
    const MorForMonitor& m = *p.monitor;
    Boxes out;
    for (auto* b : {m.MorTexMon01, m.MorTexMon02, m.MorTexMon03, m.MorTexMon04, m.MorTexMon05,
                    m.MorTexMon06, m.MorTexMon08, p.todo->txttodo})
        out[b->objectName()] = b->toPlainText();
    return out;
}

QString digest(const QString& text) {
    return QStringLiteral("sha1:") + QString::number(text.size()) + QLatin1Char(':') +
           QString::fromLatin1(
               QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

// One session on a stand-in port: noise, a read, a whole write, a single command, the last
// read shown again. The boxes after each step.
QMap<QString, Boxes> session(ProgramFixture& f) {
    QMap<QString, Boxes> out;
    f.load();
    Program& p = *f.p;
    f.port.feed("T#");  // outside a reply: only the log
    p.main->MorFraCom03->click();
    f.port.acknowledgeAll();
    f.port.feed(LuveroReply(LuveroBlock("1E", "1A34", "8000")));
    out["read"] = boxes(p);

    p.main->MorChkRes[1]->setChecked(true);
    p.main->MorFraCom04->click();
    f.port.acknowledgeAll();
    Fire(p.main->TimerPID);
    f.port.acknowledgeAll();
    out["write"] = boxes(p);

    p.s.CommandNumber = QStringLiteral("3");
    p.s.CommandValue = QStringLiteral("1");
    p.main->mnuEnviar->trigger();
    Fire(p.main->TimerPID);
    f.port.acknowledgeAll();
    out["single"] = boxes(p);

    p.main->MorFraCom05->click();
    out["last read"] = boxes(p);
    return out;
}
}  // namespace

using SaveAfterSearchRow = std::tuple<bool, QString, QStringList>;
using SendByHandRow = std::tuple<QString, QString, QByteArray>;
using BoxesRow = std::tuple<QString, QStringList>;

class TestMonitor : public QObject {
    Q_OBJECT
  private slots:
    void fillsListFromFile() {
        ProgramFixture f;
        WriteRecord(f.paths().commands(), CommandRecord, {"", "", ""}, 7);  // an empty slot
        FillMonitorCommands(*f.p);
        QCOMPARE(f.p->monitor->MorComMon->count(), 6);
        QCOMPARE(f.p->monitor->MorComMon->currentText(), QStringLiteral("Comandos"));
        f.p->monitor->MorComMon->setCurrentIndex(4);
        MonitorChooseCommand(*f.p);
        QCOMPARE(f.p->monitor->MorTexMon07->text(), QStringLiteral("*46"));
    }

    void saveAfterSearch_data() {
        QTest::addColumn<SaveAfterSearchRow>("row");
        const QStringList six{"Lectura",    "Escritura", "ResetFabrica",
                              "ResetClave", "Verificar", "Colgado"};
        QTest::newRow("found: in place") << SaveAfterSearchRow{true, "Verificar", six};
        QTest::newRow("not found: appended")
            << SaveAfterSearchRow{true, "Nuevo", (six + QStringList{"Nuevo"})};
        QTest::newRow("no search: appended, not outside")
            << SaveAfterSearchRow{false, "Otro", (six + QStringList{"Otro"})};
        QTest::newRow("no search, existing name: in place")
            << SaveAfterSearchRow{false, "Lectura", six};
    }
    void saveAfterSearch() {
        QFETCH_ROW(SaveAfterSearchRow, apply, name, after);
        ProgramFixture f;
        MorForMonitor& m = *f.p->monitor;
        m.MorComMon->setEditText(name);
        m.MorTexMon07->setText(QStringLiteral("*77"));
        if (apply) m.MorCmdMon02->click();
        m.MorCmdMon01->click();
        QCOMPARE(names(f.paths().commands()), after);
        QFile file(f.paths().commands());
        QVERIFY(file.size() % CommandRecord.length == 0);
        bool written = false;
        ScanRecords(f.paths().commands(), CommandRecord.length, CommandRecord.fields,
                    [&](int, const QStringList& r) {
                        if (r[0] == name) written = r[1] == QStringLiteral("*77");
                        return true;
                    });
        QVERIFY(written);
        QVERIFY(!m.commandFound);
    }

    // A command sent by hand goes out trimmed; with no code, or no command chosen, nothing does.
    void sendByHand_data() {
        QTest::addColumn<SendByHandRow>("row");
        QTest::newRow("trimmed") << SendByHandRow{"Verificar", "  *46 ", QByteArray("D*461P")};
        QTest::newRow("no code") << SendByHandRow{"Verificar", "", QByteArray()};
        QTest::newRow("list not chosen") << SendByHandRow{"Comandos", "*46", QByteArray()};
    }
    void sendByHand() {
        QFETCH_ROW(SendByHandRow, list, code, line);
        ProgramFixture f;
        f.p->monitor->MorComMon->setEditText(list);
        f.p->monitor->MorTexMon07->setText(code);
        f.p->s.SendPosition = 4;
        f.p->monitor->MorCmdMon04->click();
        if (!line.isEmpty()) f.port.acknowledgeAll();
        QCOMPARE(f.port.line, line);
        QCOMPARE(f.msgs.texts(),
                 line.isEmpty() ? QStringList{" No existe Comando"} : QStringList());
    }

    void boxesFillWhileHiddenAndClear() {
        ProgramFixture f;
        QVERIFY(!f.p->monitor->isVisible());
        f.port.feed("0245");
        QCOMPARE(f.p->monitor->MorTexMon04->toPlainText(), QStringLiteral("0245"));
        f.p->monitor->MorTexMon07->setText(QStringLiteral("keep"));
        f.p->monitor->MorCmdMon03->click();
        QVERIFY(f.p->monitor->MorTexMon04->toPlainText().isEmpty());
        QVERIFY(f.p->monitor->MorTexMon05->toPlainText().isEmpty());
        QCOMPARE(f.p->monitor->MorTexMon07->text(), QStringLiteral("keep"));
    }

    // Each step's boxes, in the order MorTexMon01-06, MorTexMon08, txttodo: the text, or
    // "sha1:" its length and the start of its SHA-1.
    void boxesAsBefore_data() {
        QTest::addColumn<BoxesRow>("row");
        const QString written = QStringLiteral("sha1:134:e7785641d76303bc");
        const QString read = QStringLiteral("sha1:138:1f974b2a8f84e4d2");
        const QString map = QStringLiteral("sha1:134:d97ac884cbc67718");
        const QString ones = QStringLiteral("54545454545454545454");
        const QString single = QStringLiteral("sha1:30:7beab168f10eb486");
        const QString log = QStringLiteral("sha1:174:37b0ba58f5fd5b25");
        // clang-format off
        QTest::newRow("read") << BoxesRow{"read", QStringList{"", "", "", read, "sha1:276:046554507354b70d", "sha1:414:0cad0482a0733052", map, "sha1:145:ae5655dc037dea90"}};
        QTest::newRow("write") << BoxesRow{"write", QStringList{"", written, "", "TTTTTTTTTTTTTTTTTTT", "sha1:38:bf2ce44e76db2d30", "sha1:57:af8cdfbe7c6b551f", "", "sha1:164:927bb96a0e816488"}};
        QTest::newRow("single") << BoxesRow{"single", QStringList{"", written, "", "TTTTTTTTTT", ones, single, "", log}};
        QTest::newRow("last read") << BoxesRow{"last read", QStringList{"", written, "", read, ones, single, map, log}};
        // clang-format on
    }
    void boxesAsBefore() {
        QFETCH_ROW(BoxesRow, step, expected);
        ProgramFixture f;
        const Boxes got = session(f)[step];
        const QStringList names{"MorTexMon01", "MorTexMon02", "MorTexMon03", "MorTexMon04",
                                "MorTexMon05", "MorTexMon06", "MorTexMon08", "txttodo"};
        for (int i = 0; i < names.size(); ++i) {
            const QString text = got[names[i]];
            const bool hashed = expected[i].startsWith(QStringLiteral("sha1:"));
            QVERIFY2((hashed ? digest(text) : text) == expected[i],
                     qPrintable(names[i] + QStringLiteral(": ") + text + " is not " + expected[i]));
        }
    }

    void logKeepsItsBound_data() {
        QTest::addColumn<int>("received");
        QTest::newRow("at the bound") << int(MonitorText::kLogBound);
        QTest::newRow("one past") << int(MonitorText::kLogBound) + 1;
        QTest::newRow("twice and a half") << int(MonitorText::kLogBound) * 5 / 2 + 7;
    }
    void logKeepsItsBound() {
        QFETCH(int, received);
        LoadedProgram f;
        // Characters outside a reply: the log only. Numbered so the kept end can be told.
        QByteArray line;
        for (int i = 0; i < received; ++i) line.append(char('a' + i % 26));
        f.port.feed(line);
        const QString log = f.p->todo->txttodo->toPlainText();
        const int kept = qMin(received, int(MonitorText::kLogBound));
        QCOMPARE(log.size(), kept);
        QCOMPARE(log, QString::fromLatin1(line.right(kept)));
        QVERIFY(f.p->s.Monitor.MorTexMon04.isEmpty());
        // A reply still decodes after the log has dropped its front.
        f.p->main->MorFraCom03->click();
        f.port.acknowledgeAll();
        const QByteArray reply = LuveroReply(LuveroBlock("1E", "1A34", "8000"));
        f.port.feed(reply);
        QCOMPARE(f.p->main->MorTexResCla->text(), QStringLiteral("1034"));
        const QString after = f.p->todo->txttodo->toPlainText();
        QVERIFY(after.size() <= MonitorText::kLogBound);
        QVERIFY(after.endsWith(QString::fromLatin1(reply)));
    }
};

QTEST_MAIN(TestMonitor)
#include "test_monitor.moc"
