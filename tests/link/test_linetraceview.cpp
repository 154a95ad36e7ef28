// The line trace: how characters group into lines, its bound and incremental display; and as
// the monitor shows it, fed by the port both ways, paused, cleared and saved.
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "gui/link/linetraceview.h"
#include "session/linetrace.h"
#include "support/programfixture.h"

using namespace morla;
using namespace morla::test;
using Dir = LineTrace::Direction;

namespace {
QStringList viewLines(const LineTraceView& v) {
    return v.traceText->toPlainText().split('\n', Qt::SkipEmptyParts);
}
// Lets the last line close (a pause longer than a line allows) and refreshes the view.
void settle(LineTraceView& v) {
    QTest::qWait(LineTrace::kPauseMs + 10);
    v.flush();
}

// "O:abc@0 I:T@5" → characters out "abc" at 0 ms, in "T" at 5 ms.
void feed(LineTrace& t, const QString& script) {
    for (const QString& step : script.split(' ', Qt::SkipEmptyParts)) {
        const int at = step.lastIndexOf('@');
        const Dir d = step.startsWith('O') ? Dir::Out : Dir::In;
        t.add(d, step.mid(2, at - 2).toLatin1(), step.mid(at + 1).toLongLong());
    }
}
}  // namespace

using GroupingRow = std::tuple<QString, QStringList>;

class TestLineTraceView : public QObject {
    Q_OBJECT
  private slots:
    // Both directions in order; "Guardar traza..." writes the lines shown, or says why not.
    void showsBothDirectionsAndSavesThem() {
        FakeTransport port;
        LineTraceView v;
        v.attach(port);
        port.write("D");
        port.feed("T");
        port.write("*");
        settle(v);
        const QStringList lines = viewLines(v);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[2].contains(QStringLiteral("PC -> equipo  2A")));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("traza.txt"));
        v.askSavePath = [&] { return path; };
        v.traceSave->click();
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
        QCOMPARE(QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts), lines);
        QStringList reported;
        v.report = [&](const QString& m) { reported << m; };
        v.askSavePath = [&] { return dir.filePath(QStringLiteral("missing/traza.txt")); };
        v.traceSave->click();
        QCOMPARE(reported.size(), 1);
        QVERIFY(reported[0].startsWith(QStringLiteral("No se pudo guardar la traza")));
    }

    // A pause holds the view, not the record; catching up shows what came meanwhile. "Borrar
    // traza" empties both.
    void pauseAndClear() {
        FakeTransport port;
        LineTraceView v;
        v.attach(port);
        v.tracePause->setChecked(true);
        port.feed("0245");
        settle(v);
        QVERIFY(viewLines(v).isEmpty());
        QCOMPARE(v.trace.size(), 4);
        QTest::qWait(LineTrace::kPauseMs + 10);
        v.tracePause->setChecked(false);
        QCOMPARE(viewLines(v).size(), 1);
        v.traceClear->click();
        QVERIFY(viewLines(v).isEmpty());
        QCOMPARE(v.trace.size(), 0);
        port.feed("0");
        settle(v);
        QCOMPARE(viewLines(v).size(), 1);
    }

    void grouping_data() {
        QTest::addColumn<GroupingRow>("row");
        QTest::newRow("acknowledged characters alternate") << GroupingRow{
            "O:D@0 I:T@2 O:*@3 I:T@5", QStringList{"PC -> equipo 44 D", "equipo -> PC 54 T",
                                                   "PC -> equipo 2A *", "equipo -> PC 54 T"}};
        QTest::newRow("a reply runs on, 16 to a line") << GroupingRow{
            "I:0245000102030405060708@0 I:090A0B@10",
            QStringList{"equipo -> PC 30 32 34 35 30 30 30 31 30 32 30 33 30 34 30 35 "
                        "0245000102030405",
                        "equipo -> PC 30 36 30 37 30 38 30 39 30 41 30 42 060708090A0B"}};
        QTest::newRow("a pause starts a new line") << GroupingRow{
            "I:ab@0 I:cd@51", QStringList{"equipo -> PC 61 62 ab", "equipo -> PC 63 64 cd"}};
        QTest::newRow("unprintable shown as dots")
            << GroupingRow{"I:\x01\x7f@0", QStringList{"equipo -> PC 01 7F .."}};
    }
    void grouping() {
        QFETCH_ROW(GroupingRow, script, lines);
        LineTrace t;
        feed(t, script);
        QStringList got;
        for (const QString& l : t.lines()) got << l.mid(14).simplified();  // less its time stamp
        QCOMPARE(got, lines);
    }

    void timeStampInMilliseconds() {
        LineTrace t;
        const QDateTime when(QDate(2026, 12, 6), QTime(20, 31, 5, 123));
        t.add(Dir::Out, "D", when.toMSecsSinceEpoch());
        QVERIFY(t.lines().first().startsWith(QStringLiteral("20:31:05.123  PC -> equipo  44")));
    }

    void incrementalDisplayMatchesTheWholeTrace() {
        // However the display's flushes fall, the lines it shows are the lines saved.
        for (quint32 run = 1; run <= 40; ++run) {
            QRandomGenerator rng(run);
            LineTrace t;
            QStringList shown;
            std::int64_t pos = 0, now = 0;
            for (int step = 0; step < 300; ++step) {
                now += rng.bounded(0, 70);
                const Dir d = rng.bounded(2) ? Dir::In : Dir::Out;
                t.add(d, QByteArray(rng.bounded(1, 5), char('A' + rng.bounded(26))), now);
                if (rng.bounded(4) == 0) {
                    now += rng.bounded(0, 60);  // the display runs between arrivals
                    pos = t.closedLines(pos, now, &shown);
                }
            }
            pos = t.closedLines(pos, now + 1000, &shown);
            QCOMPARE(pos, t.added());
            QCOMPARE(shown, t.lines());
        }
    }

    void staysWithinItsBound() {
        LineTrace t;
        const QByteArray chunk(1000, 'x');
        for (int i = 0; i < 1000; ++i) t.add(i % 2 ? Dir::In : Dir::Out, chunk, i * 100);
        QCOMPARE(t.added(), std::int64_t(1000000));
        QCOMPARE(t.size(), LineTrace::kDefaultCapacity);
        QCOMPARE(t.oldest(), std::int64_t(1000000 - LineTrace::kDefaultCapacity));
        QCOMPARE(t.at(t.size() - 1).direction, Dir::In);
        // The last 100 chunks of 1000: 62 full lines and one of 8 each.
        QCOMPARE(t.lines().size(), 100 * 63);
        t.clear();
        QCOMPARE(t.size(), 0);
        QVERIFY(t.lines().isEmpty());
    }
};

QTEST_MAIN(TestLineTraceView)
#include "test_linetraceview.moc"
