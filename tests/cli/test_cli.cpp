// morla-cli as a script runs it: a process of its own with no display, on the simulator's
// pseudo-terminals. The failures a script tells apart by the exit status; a series on four
// ports; Ctrl+C during a series; and no window library behind it.
#include <QtTest>
#include <memory>

#include "core/config/deviceimage.h"
#include "core/models/imagecheck.h"
#include "support/clirun.h"
#include "support/filebytes.h"
#include "support/units.h"

using namespace morla;
using namespace morla::test;

namespace {

// A program folder: settings, device commands and every model's configuration file.
struct Folder {
    ProgramFixture f;
    explicit Folder(const QString& timeout = QStringLiteral("10")) {
        f.writeSettings(QStringLiteral("2"), timeout, QStringLiteral("Dravenquista"));
        for (const UnitCase& c : UnitCases()) WriteModelConfig(f, c.info(), c.configured());
    }
    QString path() const { return f.dir.path(); }
    QString file(const char* name) const { return f.dir.filePath(QLatin1String(name)); }
    CliRun run(const QStringList& args) { return Cli(path()).run(args); }
};

// The file a read of that image saves.
QByteArray FileOf(const devsim::MemoryImage& image) {
    const ModelInfo& m = image.model();
    DeviceImage d;
    d.modelCode = m.code();
    d.equipment = m.dispatch();
    d.digits = image.digits();
    d.firmware = FirmwareOfRead(m, d.digits);
    d.saved = QStringLiteral("2026-01-02 03:04:05");
    return FormatDeviceImage(d);
}

// The simulator on port n of the folder.
std::unique_ptr<Simulator> Unit(const Folder& folder, int port, const QStringList& args) {
    auto sim = std::make_unique<Simulator>(folder.path(), port);
    return sim->start(args) ? std::move(sim) : nullptr;
}

// A Lúvero with key 4321 and options 1, 2, 3, 4 and 6: the file most rows write.
devsim::MemoryImage GoodLuvero() {
    return EditedImage(Model(ModelId::Luvero), QStringLiteral("30"), {"11=4321", "17=3016"});
}

QStringList LogLines(const QString& path) {
    return QString::fromUtf8(bytesOf(path)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

}  // namespace

// args: "%good", "%cut", "%quarn", "%factory": files; unit: the simulator on port 2; none when
// empty; timeout: of the settings, in seconds; said: part of what it prints; nothingWritten: no
// write command reached the unit
using FailuresRow = std::tuple<QStringList, QStringList, QString, int, QString, bool>;

class TestCli : public QObject {
    Q_OBJECT
  private slots:
    void failures_data() {
        QTest::addColumn<FailuresRow>("row");
        const QStringList luvero{"--model", "luvero"};
        // clang-format off
        QTest::newRow("stuck digit") << FailuresRow{QStringList{"write", "2", "%good"}, luvero + QStringList{"--fault", "stuck:12"}, "10", 1, "Clave (MorTexResCla, 11-14): escrito 4321, leído 4221", false};
        QTest::newRow("missing port") << FailuresRow{QStringList{"write", "7", "%good"}, QStringList{}, "10", 2, "Puerto 7: No se pudo abrir el puerto serie 7 (", true};
        QTest::newRow("damaged file") << FailuresRow{QStringList{"write", "2", "%cut"}, luvero, "10", 3, "el archivo está dañado (le falta su suma de verificación)", true};
        QTest::newRow("another model on the port") << FailuresRow{QStringList{"write", "2", "%quarn"}, luvero, "10", 3, "No se escribió: el equipo conectado es un Lúvero de firmware 30 y el archivo es de un Quarn de firmware 30", true};
        QTest::newRow("silent unit") << FailuresRow{QStringList{"read", "2"}, luvero + QStringList{"--fault", "silent"}, "1", 2, "Puerto 2: Error de Comunicación", true};
        QTest::newRow("files that differ") << FailuresRow{QStringList{"diff", "%good", "%factory"}, QStringList{}, "10", 1, "Clave (MorTexResCla, 11-14): A 4321, B 1234", true};
        QTest::newRow("bad arguments") << FailuresRow{QStringList{"write", "2"}, QStringList{}, "10", 3, "write lleva 2 argumento(s) y se dieron 1.", true};
        QTest::newRow("a speed of its own") << FailuresRow{QStringList{"read", "2", "--baud", "19200"}, QStringList{}, "10", 3, "siempre a 9600 bits por segundo", true};
        // clang-format on
    }
    void failures() {
        QFETCH_ROW(FailuresRow, args, unit, timeout, exit, said, nothingWritten);
        Folder folder(timeout);
        const QByteArray good = FileOf(GoodLuvero());
        const QMap<QString, QByteArray> files{
            {"%good", good},
            {"%cut", good.left(good.indexOf("Mapa 065"))},
            {"%quarn", FileOf(EditedImage(Model(ModelId::Quarn), "30", {}))},
            {"%factory", FileOf(EditedImage(Model(ModelId::Luvero), "30", {}))}};
        for (QString& a : args) {
            if (!files.contains(a)) continue;
            const QString path = folder.file(qPrintable(a.mid(1) + ".mcfg"));
            QVERIFY(putBytes(path, files[a]));
            a = path;
        }
        std::unique_ptr<Simulator> sim;
        if (!unit.isEmpty()) QVERIFY(sim = Unit(folder, 2, unit));
        const CliRun r = folder.run(args);
        QVERIFY2(r.all().contains(said), qPrintable(r.all()));
        QCOMPARE(r.exit, exit);
        if (sim && nothingWritten) QVERIFY(!sim->messages().contains(QStringLiteral("*42")));
    }

    // Four units at the same time; the one with a bad memory cell is logged and the others go
    // on.
    void series() {
        Folder folder;
        const QString file = folder.file("serie.mcfg");
        const QString log = folder.file("serie.csv");
        QVERIFY(putBytes(file, FileOf(GoodLuvero())));
        std::vector<std::unique_ptr<Simulator>> units;
        for (int port = 1; port <= 4; ++port) {
            const QStringList fault =
                port == 3 ? QStringList{"--fault", "stuck:12"} : QStringList{};
            units.push_back(Unit(folder, port, QStringList{"--model", "luvero"} + fault));
            QVERIFY(units.back());
        }
        const CliRun r = folder.run({"series", file, "--ports", "1,2,3,4", "--log", log, "--json"});
        QCOMPARE(r.exit, 1);
        QStringList results;
        for (const QString& line : r.out.split('\n', Qt::SkipEmptyParts)) {
            const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
            results << o["port"].toString() + ' ' + o["result"].toString();
        }
        results.sort();
        QCOMPARE(results, (QStringList{"1 ok", "2 ok", "3 differs", "4 ok"}));
        QStringList lines = LogLines(log);
        QCOMPARE(lines.size(), 5);
        QVERIFY(bytesOf(log).startsWith("\xEF\xBB\xBF"));  // for spreadsheets: UTF-8
        QCOMPARE(lines.takeFirst(),
                 "Fecha y hora;Modelo;Firmware;Clave;Resultado;Diferencias;Unidad;Puerto");
        // In the order the units ended: compared without the date, sorted.
        for (QString& l : lines) l = l.section(';', 1);
        lines.sort();
        QCOMPARE(lines,
                 (QStringList{"Lúvero;30;4321;Correcto;;1;COM1", "Lúvero;30;4321;Correcto;;2;COM2",
                              "Lúvero;30;4321;Correcto;;4;COM4",
                              "Lúvero;30;4321;Fallo;Clave (MorTexResCla, 11-14): escrito 4321, "
                              "leído 4221;3;COM3"}));
    }

    // Ctrl+C while one unit waits to send its data and another still waits for its reply: the
    // write under way ends and is verified, the other is not written, both are logged.
    void seriesInterrupted() {
        Folder folder;
        const QString file = folder.file("serie.mcfg");
        const QString log = folder.file("serie.csv");
        QVERIFY(putBytes(file, FileOf(GoodLuvero())));
        auto writing = Unit(folder, 1, {"--model", "luvero"});
        auto silent = Unit(folder, 2, {"--model", "luvero", "--fault", "silent"});
        QVERIFY(writing && silent);
        Cli cli(folder.path());
        cli.start({"series", file, "--ports", "1,2", "--log", log});
        QVERIFY(cli.waitForError(QStringLiteral("Puerto 1: Envío en"), 20000));
        cli.interrupt();
        const CliRun r = cli.finish();
        QCOMPARE(r.exit, 130);
        QVERIFY2(r.err.contains("se terminan las escrituras en curso"), qPrintable(r.all()));
        const QStringList lines = LogLines(log);
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines.filter(";Correcto;;1;COM1").size() == 1, qPrintable(lines.join('\n')));
        QVERIFY2(lines.filter(";Fallo;Interrumpido: no se escribió nada;2;COM2").size() == 1,
                 qPrintable(lines.join('\n')));
        QVERIFY(writing->messages().contains(QStringLiteral("*42")));
        QVERIFY(!silent->messages().contains(QStringLiteral("*42")));
    }

    void noWindowLibraries() {
#ifndef Q_OS_LINUX
        QSKIP("ldd is a Linux tool");
#endif
        QProcess ldd;
        ldd.start(QStringLiteral("ldd"),
                  {qEnvironmentVariable("MORLA_BIN_DIR") + QStringLiteral("/morla-cli")});
        QVERIFY(ldd.waitForFinished(10000));
        const QString libraries = QString::fromLocal8Bit(ldd.readAllStandardOutput());
        QVERIFY(libraries.contains(QStringLiteral("libQt6Core")));
        QVERIFY(libraries.contains(QStringLiteral("libQt6SerialPort")));
        QVERIFY2(!libraries.contains(QStringLiteral("Qt6Widgets")) &&
                     !libraries.contains(QStringLiteral("Qt6Gui")),
                 qPrintable(libraries));
    }
};

QTEST_MAIN(TestCli)
#include "test_cli.moc"
