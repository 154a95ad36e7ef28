// The trace as the monitor shows it: fed by the port both ways, paused, cleared and saved.
#include <QTemporaryDir>
#include <QtTest>

#include "gui/link/linetraceview.h"
#include "support/programfixture.h"

using namespace morla;
using namespace morla::test;

namespace {
QStringList viewLines(const LineTraceView& v) {
    return v.traceText->toPlainText().split('\n', Qt::SkipEmptyParts);
}
// Lets the last line close (a pause longer than a line allows) and refreshes the view.
void settle(LineTraceView& v) {
    QTest::qWait(LineTrace::kPauseMs + 10);
    v.flush();
}
}  // namespace

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
};

QTEST_MAIN(TestLineTraceView)
#include "test_linetraceview.moc"
