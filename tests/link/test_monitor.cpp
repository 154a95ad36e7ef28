// The monitor's command file editing and sending by hand.
#include <QtTest>

#include "gui/link/monitorcommands.h"
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
}  // namespace

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
        QTest::addColumn<bool>("apply");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("after");
        const QStringList six{"Lectura",    "Escritura", "ResetFabrica",
                              "ResetClave", "Verificar", "Colgado"};
        QTest::newRow("found: in place") << true << "Verificar" << six;
        QTest::newRow("not found: appended") << true << "Nuevo" << (six + QStringList{"Nuevo"});
        QTest::newRow("no search: appended, not outside")
            << false << "Otro" << (six + QStringList{"Otro"});
        QTest::newRow("no search, existing name: in place") << false << "Lectura" << six;
    }
    void saveAfterSearch() {
        QFETCH(bool, apply);
        QFETCH(QString, name);
        ProgramFixture f;
        MorForMonitor& m = *f.p->monitor;
        m.MorComMon->setEditText(name);
        m.MorTexMon07->setText(QStringLiteral("*77"));
        if (apply) m.MorCmdMon02->click();
        m.MorCmdMon01->click();
        QTEST(names(f.paths().commands()), "after");
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
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("trimmed") << "Verificar"
                                 << "  *46 " << QByteArray("D*461P");
        QTest::newRow("no code") << "Verificar"
                                 << "" << QByteArray();
        QTest::newRow("list not chosen") << "Comandos"
                                         << "*46" << QByteArray();
    }
    void sendByHand() {
        QFETCH(QString, list);
        QFETCH(QString, code);
        QFETCH(QByteArray, line);
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
};

QTEST_MAIN(TestMonitor)
#include "test_monitor.moc"
