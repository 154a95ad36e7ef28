// Programming a series of units: ten units on the device simulator, one of which keeps a digit
// changed; one unit at a time; stopping between units; the CSV log's lines.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "gui/device/commands.h"
#include "gui/device/serieswindow.h"
#include "gui/device/verify.h"
#include "support/filebytes.h"
#include "support/simulator.h"

using namespace morla;
using namespace morla::test;

namespace {
MorFrmSerie* openSeries(Program& p) {
    auto* item = p.main->findChild<QAction*>(QStringLiteral("MorMnuPriSer"));
    if (!item) return nullptr;
    item->trigger();
    return p.main->findChild<MorFrmSerie*>();
}

// The log's lines after its header, split into fields.
QList<QStringList> logLines(const Program& p) {
    QFile file(SeriesLogPath(p));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    if (!bytes.startsWith("\xEF\xBB\xBF")) return {};
    QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    QList<QStringList> out;
    if (lines.isEmpty() || lines.takeFirst() != CsvLine(SeriesLogHeader())) return {};
    for (const QString& l : lines)
        if (!l.isEmpty()) out << l.split(';');
    return out;
}

// One unit: the key that starts it, then the device's side driven to the end.
bool programUnit(Bench& b, MorFrmSerie* w) {
    const int writes = b.sim.messages().count(QStringLiteral("*42"));
    QTest::keyClick(w, Qt::Key_Return);  // the window's default button
    if (!w->unitUnderWay()) return false;
    if (!QTest::qWaitFor([&] { return b.sim.messages().count(QStringLiteral("*42")) > writes; },
                         5000))
        return false;
    // A second press while the unit is under way starts nothing.
    QTest::keyClick(w, Qt::Key_Return);
    if (!Fire(b.p.main->TimerPID)) return false;
    return FinishVerification(b) && !w->unitUnderWay();
}

// The bench on a Lúvero (with these faults), its panel shown.
bool startLuvero(Bench& b, const QStringList& faults = {}) {
    WriteModelConfig(b.f, Model(ModelId::Luvero), QStringLiteral("30"), QStringLiteral("1234"));
    if (!b.start(QStringList{"--model", "luvero"} + faults)) return false;
    ModelButton(b.p, 3);
    return true;
}
}  // namespace

class TestSeries : public QObject {
    Q_OBJECT
  private slots:
    void tenUnitsOneFaulty() {
        // The fourth unit keeps map digit 12 (the key's second digit) changed.
        Bench b;
        QVERIFY(startLuvero(b, {"--fault", "stuck:12:4"}));
        QPointer<MorFrmSerie> w = openSeries(b.p);
        QVERIFY(w);
        QVERIFY(w->isVisible());
        for (int unit = 1; unit <= 10; ++unit)
            QVERIFY2(programUnit(b, w), qPrintable(QString::number(unit)));
        QCOMPARE(b.sim.messages().count(QStringLiteral("*42")), 10);
        QCOMPARE(b.sim.messages().count(QStringLiteral("*40f")), 10);
        QCOMPARE(w->done(), 9);
        QCOMPARE(w->failed(), 1);
        QCOMPARE(w->MorLblSerCon->text(),
                 QStringLiteral("Unidades: 10 (correctas: 9, con fallo: 1)"));
        QCOMPARE(b.f.msgs.texts(), QStringList{});

        const QList<QStringList> lines = logLines(b.p);
        QCOMPARE(lines.size(), 10);
        for (int k = 0; k < 10; ++k) {
            QVERIFY(QDateTime::fromString(lines[k][0], QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                        .isValid());
            QCOMPARE(
                lines[k].mid(1),
                (QStringList{"Lúvero", "30", "1234", k == 3 ? "Fallo" : "Correcto",
                             k == 3 ? "Clave (MorTexResCla, 11-14): escrito 1234, leído 1334" : "",
                             QString::number(k + 1), "COM1"}));
        }

        w->MorCmdSerDet->click();
        QTRY_VERIFY(!w || !w->isVisible());
    }

    // "Detener" during a unit lets it end, records it, then closes; a key pressed meanwhile
    // starts nothing.
    void stopWaitsForTheUnitUnderWay() {
        Bench b;
        QVERIFY(startLuvero(b));
        QPointer<MorFrmSerie> w = openSeries(b.p);
        QVERIFY(w);
        QTest::keyClick(w->MorCmdSerSig, Qt::Key_Space);
        QVERIFY(w->unitUnderWay());
        QVERIFY(!w->MorCmdSerSig->isEnabled());
        w->MorCmdSerDet->click();
        QVERIFY(w->isVisible());
        w->close();
        QVERIFY(w->isVisible());
        QTRY_VERIFY(b.sim.messages().contains(QStringLiteral("*42")));
        QVERIFY(Fire(b.p.main->TimerPID));
        QVERIFY(FinishVerification(b));
        QTRY_VERIFY(!w || !w->isVisible());
        QCOMPARE(logLines(b.p).size(), 1);
        QCOMPARE(b.sim.messages().count(QStringLiteral("*42")), 1);
    }

    // A key the device would refuse is never sent: the unit is recorded as failed. A log
    // begun before the unit and port columns gets the header that names them. A line that
    // cannot be written stops the series before the next unit.
    void refusedKeyIsRecorded() {
        Bench b;
        QVERIFY(startLuvero(b));
        const QByteArray oldLine = "2024-01-02 03:04:05;Lúvero;30;Activado;Correcto;\r\n";
        QVERIFY(
            putBytes(SeriesLogPath(b.p),
                     "\xEF\xBB\xBF" + CsvLine(OldSeriesLogHeader()).toUtf8() + "\r\n" + oldLine));
        MorFrmSerie* w = openSeries(b.p);
        QVERIFY(w);
        b.p.main->MorTexResCla->setText(QStringLiteral("12"));
        b.f.msgs.clear();
        w->MorCmdSerSig->click();
        QVERIFY(!w->unitUnderWay());
        QCOMPARE(b.f.msgs.texts(), QStringList{QStringLiteral("Error en Captura")});
        const QList<QStringList> lines = logLines(b.p);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].join(';') + "\r\n", QString::fromUtf8(oldLine));
        QCOMPARE(lines[1].mid(3),
                 (QStringList{"12", "Fallo", "no se escribió: Error en Captura", "1", "COM1"}));
        QCOMPARE(w->failed(), 1);

        QVERIFY(QFile::remove(SeriesLogPath(b.p)));
        QVERIFY(QDir().mkpath(SeriesLogPath(b.p)));
        b.f.msgs.clear();
        w->MorCmdSerSig->click();
        QCOMPARE(b.f.msgs.texts().size(), 2);
        QCOMPARE(b.f.msgs.texts()[1],
                 "No se puede escribir " + QDir::toNativeSeparators(SeriesLogPath(b.p)) +
                     ": Es una carpeta. La serie se detuvo: la unidad 2 no quedó en el registro.");
        QVERIFY(!w->MorCmdSerSig->isEnabled());
        w->nextUnit();
        QCOMPARE(w->failed(), 2);
    }

    void notOpenedWithoutAWholeWrite() {
        const std::pair<int, const char*> cases[] = {
            {1, "Elija primero el modelo y la configuración que se escribirá en cada unidad."},
            {8, "El Tervolinda se escribe campo por campo: no se puede programar en serie."}};
        for (const auto& [button, message] : cases) {
            LoadedProgram f;
            ModelButton(*f.p, button);
            f.msgs.clear();
            QVERIFY(!openSeries(*f.p));
            QCOMPARE(f.msgs.texts(), QStringList{message});
        }
    }

    void csvLines_data() {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("line");
        QTest::newRow("plain") << QStringList{"a", "Lúvero", ""} << "a;Lúvero;";
        QTest::newRow("separator quoted")
            << QStringList{"x", "A (1): escrito 1; B"} << "x;\"A (1): escrito 1; B\"";
        QTest::newRow("quote doubled") << QStringList{"di \"no\""} << "\"di \"\"no\"\"\"";
        QTest::newRow("line end quoted") << QStringList{"a\nb", "c"} << "\"a\nb\";c";
    }
    void csvLines() {
        QFETCH(QStringList, fields);
        QFETCH(QString, line);
        QCOMPARE(CsvLine(fields), line);
    }
};

QTEST_MAIN(TestSeries)
#include "test_series.moc"
