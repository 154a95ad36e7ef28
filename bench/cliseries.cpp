#include "cliseries.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <memory>
#include <vector>

#include "support/clirun.h"
#include "support/simulator.h"

namespace morla::bench {

namespace {
using test::Cli;
using test::CliRun;
using test::ProgramFixture;
using test::Simulator;

constexpr double kCharSeconds = 10.0 / 9600.0;  // start bit, eight data bits, stop bit
constexpr double kOneWaitSeconds = 0.015;       // a "1" inside a message waits for no "P"
constexpr double kSendWaitSeconds = 5.0;        // the send timer, write command to data text
constexpr double kSettleSeconds = 1.0;          // data text to read-back

// The least the line allows one unit: every character both ways at 9600 baud but those of the
// write command (they go during the send timer's wait), the device's wait on each "1" inside a
// message, the send timer's wait and the pause before the read-back.
double lineMinimum(const Simulator& sim) {
    qint64 characters = 0;
    for (const QString& line : sim.logLines()) {
        qsizetype at = line.indexOf(QStringLiteral(" << "));
        if (at < 0) at = line.indexOf(QStringLiteral(" >> "));
        if (at >= 0) characters += line.size() - at - 4;
    }
    qint64 ones = 0;
    for (const QString& message : sim.messages()) {
        ones += message.count(u'1');
        // "D", the command, "1", "P", and a "T" for all but the last two.
        if (message.startsWith(QStringLiteral("*42"))) characters -= 2 * message.size() + 4;
    }
    return double(characters) * kCharSeconds + double(ones) * kOneWaitSeconds + kSendWaitSeconds +
           kSettleSeconds;
}

struct Run {
    bool ok = false;
    double wall = 0;
    double minimum = 0;  // of the slowest port
};

// morla-cli writes and verifies `file` on `ports` blank units, as a script starts it.
Run writeUnits(const QString& file, int ports) {
    Run run;
    ProgramFixture f;
    std::vector<std::unique_ptr<Simulator>> units;
    QStringList list;
    for (int port = 1; port <= ports; ++port) {
        units.push_back(std::make_unique<Simulator>(f.dir.path(), port));
        if (!units.back()->start({"--model", "luvero"})) return run;
        list << QString::number(port);
    }
    Cli cli(f.dir.path());
    QElapsedTimer t;
    t.start();
    const CliRun r = ports == 1 ? cli.run({"write", "1", file})
                                : cli.run({"series", file, "--ports", list.join(u','), "--log",
                                           f.dir.filePath(QStringLiteral("serie.csv"))});
    run.wall = double(t.nsecsElapsed()) / 1e9;
    run.ok = r.exit == 0;
    if (!run.ok) fprintf(stderr, "%s\n", qPrintable(r.all()));
    for (const auto& unit : units) run.minimum = std::max(run.minimum, lineMinimum(*unit));
    return run;
}

double median(QList<double> v) {
    if (v.isEmpty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
}  // namespace

QList<CliFigure> CliSeriesFigures(int runs) {
    constexpr int kPorts = 4;
    // The simulator and morla-cli are beside the benchmark.
    if (qEnvironmentVariableIsEmpty("MORLA_BIN_DIR"))
        qputenv("MORLA_BIN_DIR", QCoreApplication::applicationDirPath().toLocal8Bit());
    // The configuration written: a Lúvero read from a simulated unit with a key of its own.
    ProgramFixture source;
    Simulator from(source.dir.path());
    const QString file = source.dir.filePath(QStringLiteral("unidad.mcfg"));
    if (!from.start({"--model", "luvero", "--key", "4321", "--options", "101101"}) ||
        Cli(source.dir.path()).run({"read", "1", "-o", file}).exit != 0)
        return {{QStringLiteral("morla-cli: no unit read"), 0, 0, QString(), 0, QString()}};
    from.stop();

    QList<double> one, oneMinimum, series;
    for (int i = 0; i < runs; ++i) {
        fprintf(stderr, "morla-cli: one unit, then %d units at once (%d of %d)\n", kPorts, i + 1,
                runs);
        const Run a = writeUnits(file, 1);
        const Run b = writeUnits(file, kPorts);
        if (!a.ok || !b.ok) continue;
        one << a.wall;
        oneMinimum << a.minimum;
        series << b.wall;
    }
    if (one.isEmpty())
        return {{QStringLiteral("morla-cli: no verified write"), 0, 0, QString(), 0, QString()}};
    const double perHour = 3600.0 * kPorts;
    const QString runsNote = QStringLiteral("median of %1 of %2 runs").arg(one.size()).arg(runs);
    return {
        {QStringLiteral("morla-cli write + verification: wall / line minimum"), median(one),
         median(oneMinimum), QStringLiteral("s"), 0,
         QStringLiteral("process start to exit; ") + runsNote},
        {QStringLiteral("morla-cli series, %1 ports: wall / one unit").arg(kPorts), median(series),
         median(one), QStringLiteral("s"), 1.2, runsNote},
        {QStringLiteral("morla-cli series, %1 ports: units/h / %1 x one port's limit").arg(kPorts),
         perHour / median(series), perHour / median(oneMinimum), QStringLiteral("1/h"), 0,
         runsNote},
    };
}

}  // namespace morla::bench
