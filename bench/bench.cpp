// Benchmark of the program on the device simulator: reads, a write, the receive path's cost
// per character, start-up, memory and idle processor time. Each figure is a ratio against a
// baseline measured in the same run. Prints one table and writes it as JSON.
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "cliseries.h"
#include "gui/device/commands.h"
#include "gui/panels/framework.h"
#include "session/serial/serialtransport.h"
#include "support/programfixture.h"

using namespace morla;
using namespace morla::test;

namespace {

constexpr double kCharSeconds = 10.0 / 9600.0;  // start, eight data bits, stop

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// High-water mark of this process's memory (VmHWM: unlike ru_maxrss it starts anew at exec).
long peakKiB() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

double median(QList<double> v) {
    if (v.isEmpty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Waits in the event loop until done() or the time runs out.
bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

// The serial port, counting and timing what the program writes.
class CountingPort : public SerialTransport {
  public:
    qint64 written = 0;
    QElapsedTimer clock;
    QList<qint64> writeTimes;  // ns since clock start, one per write call
    void write(const QByteArray& bytes) override {
        written += bytes.size();
        if (clock.isValid()) writeTimes << clock.nsecsElapsed();
        SerialTransport::write(bytes);
    }
};

class Simulator {
  public:
    bool start(const QString& folder, const QStringList& args) {
        proc_.start(qEnvironmentVariable("MORLA_BIN_DIR", QCoreApplication::applicationDirPath()) +
                        QStringLiteral("/morla_devsim"),
                    args + QStringList{"--link", folder, "--port", "1"});
        return proc_.waitForStarted(5000) && proc_.waitForReadyRead(5000);
    }
    ~Simulator() {
        proc_.terminate();
        proc_.waitForFinished(5000);
    }

  private:
    QProcess proc_;
};

struct Row {
    QString figure;
    double value, baseline;
    QString unit;
    double limit;  // the ratio must stay at or below; 0: none
    double ratio() const { return baseline > 0 ? value / baseline : 0; }
};

// The program on the simulator's port, in a fresh program folder.
struct Session {
    CountingPort port;
    ProgramFixture f{QStringLiteral("2"), QStringLiteral("10"), QStringLiteral("Dravenquista"),
                     &port};
    Simulator sim;
    Program& p = *f.p;
    qint64 received = 0;
    bool start(const QString& model) {
        if (!sim.start(f.dir.path(), {"--model", model})) return false;
        f.load();
        QObject::connect(&port, &Transport::received, &p, [this](char) { ++received; });
        return port.isOpen();
    }
};

struct ReadResult {
    bool ok = false;
    double seconds = 0, lineSeconds = 0, cpu = 0;
};

// One read: from the first command character out to the panel filled.
ReadResult timedRead(Session& s) {
    ReadResult r;
    s.port.written = 0;
    s.received = 0;
    bool filled = false;
    QElapsedTimer t;
    const auto c = QObject::connect(&s.port, &Transport::received, &s.p, [&](char) {
        if (!filled && !s.p.line->reading()) {
            filled = true;
            r.seconds = t.nsecsElapsed() / 1e9;
        }
    });
    const double cpu0 = cpuSeconds();
    t.start();
    s.p.main->MorFraCom03->click();
    r.ok = waitFor([&] { return filled; }, 5000) &&
           s.p.main->MorTexEst->text() == QStringLiteral("Morla");
    r.cpu = cpuSeconds() - cpu0;
    QObject::disconnect(c);
    r.lineSeconds = (s.port.written + s.received) * kCharSeconds;
    QTest::qWait(20);  // the line goes quiet before the next one
    return r;
}

// A bare client: the framed read command, one character per "T", until the reply is whole.
ReadResult bareRead(CountingPort& port, const QString& command, int replyLength) {
    ReadResult r;
    const QByteArray framed = "D" + command.toLatin1() + "1P";
    int next = 1, got = 0;
    bool open = false;
    QElapsedTimer t;
    const auto c = QObject::connect(&port, &Transport::received, [&](char b) {
        if (b == 'T' && next < framed.size()) {
            // "1" and "P" go together, as the program sends them
            const int n = next == framed.size() - 2 ? 2 : 1;
            port.write(framed.mid(next, n));
            next += n;
        }
        if (b == '0') open = true;
        if (open && ++got == replyLength) r.seconds = t.nsecsElapsed() / 1e9;
    });
    const double cpu0 = cpuSeconds();
    t.start();
    port.write(framed.left(1));
    r.ok = waitFor([&] { return got >= replyLength; }, 5000);
    r.cpu = cpuSeconds() - cpu0;
    QObject::disconnect(c);
    QTest::qWait(20);
    return r;
}

// Children: start-up to the window shown, and idle processor time, each for the program and
// for a bare window built the same way (this very executable).
int child(const QStringList& args) {
    const bool bare = args.value(1) == QStringLiteral("bare");
    RecordedMessages msgs;
    SerialTransport port;
    std::unique_ptr<Program> program;
    std::unique_ptr<QMainWindow> window;
    QWidget* shown = nullptr;
    if (bare) {
        window = std::make_unique<QMainWindow>();
        window->setCentralWidget(new QLabel(QStringLiteral("MORLA")));
        window->resize(1000, 640);
        window->show();
        shown = window.get();
    } else {
        // As the program's main does, with the boxes recorded instead of shown.
        program = std::make_unique<Program>(msgs, port);
        MorlaState& s = program->s;
        s.AppFolder = QCoreApplication::applicationDirPath();
        s.ModeCode =
            ReadRecord(s.paths().softwareSettings(), SoftwareSettingsRecord).fields[26].left(2);
        program->main->resize(1000, 640);
        program->Load();
        program->main->show();
        shown = program->main.get();
    }
    waitFor([&] { return shown->windowHandle() && shown->windowHandle()->isExposed(); }, 10000);
    QCoreApplication::processEvents();
    printf("shown %ld\n", peakKiB());
    fflush(stdout);
    if (args.value(0) == QStringLiteral("--child-idle")) {
        const double cpu0 = cpuSeconds();
        QTest::qWait(args.value(2).toInt() * 1000);
        printf("idle %.6f\n", cpuSeconds() - cpu0);
    }
    return 0;
}

struct ChildRun {
    double seconds = 0;
    double peakKiB = 0;
    double idleCpu = 0;
};

ChildRun runChild(const QString& mode, const QString& kind, int idleSeconds = 0) {
    ChildRun r;
    QProcess proc;
    QElapsedTimer t;
    t.start();
    proc.start(QCoreApplication::applicationFilePath(), {mode, kind, QString::number(idleSeconds)});
    proc.waitForStarted();
    QByteArray out;
    while (proc.state() != QProcess::NotRunning || proc.bytesAvailable()) {
        proc.waitForReadyRead(100);
        out += proc.readAllStandardOutput();
        if (r.seconds == 0 && out.contains("shown")) r.seconds = t.nsecsElapsed() / 1e9;
        if (t.elapsed() > (idleSeconds + 60) * 1000) break;
    }
    for (const QByteArray& line : out.split('\n')) {
        const QList<QByteArray> w = line.split(' ');
        if (w.value(0) == "shown") r.peakKiB = w.value(1).toDouble();
        if (w.value(0) == "idle") r.idleCpu = w.value(1).toDouble();
    }
    return r;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.value(0).startsWith(QStringLiteral("--child"))) return child(args);

    const bool quick = args.contains(QStringLiteral("--quick"));
    const int jsonAt = args.indexOf(QStringLiteral("--json"));
    const QString jsonPath = jsonAt >= 0 ? args.value(jsonAt + 1) : QStringLiteral("bench.json");
    const int readsPerModel = quick ? 3 : 7;
    const int sessionReads = quick ? 50 : 500;
    const int idleSeconds = quick ? 5 : 30;
    QList<Row> rows;
    auto note = [](const QString& what) { fprintf(stderr, "%s\n", qPrintable(what)); };

    // Reads of every model with a decoder, against the line's time; processor time per read
    // against a bare client reading the same device.
    for (const ModelInfo& m : Models()) {
        if (!Members(m.id).ReadReply) continue;
        // The simulator knows each model by its name, accent or not.
        const QString name = m.dispatch().toLower();
        note(QStringLiteral("read %1").arg(name));
        Session s;
        if (!s.start(name)) {
            note(QStringLiteral("  no simulator for %1").arg(name));
            continue;
        }
        QList<double> ratio, secs, line, cpu;
        for (int i = 0; i < readsPerModel; ++i) {
            const ReadResult r = timedRead(s);
            if (!r.ok) continue;
            ratio << r.seconds / r.lineSeconds;
            secs << r.seconds;
            line << r.lineSeconds;
            cpu << r.cpu;
        }
        if (ratio.isEmpty()) {
            note(QStringLiteral("  no good read of %1").arg(name));
            continue;
        }
        const double worst = *std::max_element(ratio.begin(), ratio.end());
        rows << Row{QStringLiteral("read %1 (worst of %2)").arg(name).arg(ratio.size()),
                    worst * median(line), median(line), QStringLiteral("s"), 1.1};
        rows << Row{QStringLiteral("read %1 (median)").arg(name), median(secs), median(line),
                    QStringLiteral("s"), 1.1};
        // The bare client on the same port, the program's windows untouched.
        QList<double> bareCpu, bareRatio;
        QObject::disconnect(&s.port, &Transport::received, &s.p, nullptr);
        for (int i = 0; i < readsPerModel; ++i) {
            const ReadResult r = bareRead(s.port, s.p.s.ReadCommand, m.replyLength);
            if (r.ok) bareCpu << r.cpu;
            if (r.ok) bareRatio << r.seconds;
        }
        rows << Row{QStringLiteral("read %1 by a bare client (median)").arg(name),
                    median(bareRatio), median(line), QStringLiteral("s"), 0};
        rows << Row{QStringLiteral("processor time per read %1").arg(name), median(cpu),
                    median(bareCpu), QStringLiteral("s"), 10};
    }

    // One session: read #1 against read #N, and a whole write.
    {
        note(QStringLiteral("session of %1 reads").arg(sessionReads));
        Session s;
        if (s.start(QStringLiteral("luvero"))) {
            QList<double> first, last, firstCpu, lastCpu;
            for (int i = 1; i <= sessionReads; ++i) {
                const ReadResult r = timedRead(s);
                if (i <= 5 && r.ok) first << r.seconds, firstCpu << r.cpu;
                if (i > sessionReads - 5 && r.ok) last << r.seconds, lastCpu << r.cpu;
                if (i % (sessionReads / 10) == 0)
                    note(QStringLiteral("  read %1: %2 ms").arg(i).arg(r.seconds * 1e3));
            }
            rows << Row{QStringLiteral("read #%1 against read #1 (median of 5)").arg(sessionReads),
                        median(last), median(first), QStringLiteral("s"), 1.1};
            rows << Row{QStringLiteral("processor time read #%1 against #1").arg(sessionReads),
                        median(lastCpu), median(firstCpu), QStringLiteral("s"), 1.1};

            // Whole write: from the click to the data's last character out.
            note(QStringLiteral("write"));
            s.p.main->MorChkRes[1]->setChecked(!s.p.main->MorChkRes[1]->isChecked());
            s.port.written = 0;
            s.received = 0;
            s.port.writeTimes.clear();
            s.port.clock.start();
            s.p.main->MorFraCom04->click();
            const qint64 dataLength = s.p.s.SendData.size() + 3;  // "D", data, "1", "P"
            const qint64 commandLength = s.p.s.WriteCommand.size() - 1 + 3;
            waitFor([&] { return s.port.written >= commandLength + dataLength; }, 15000);
            const double seconds = s.port.writeTimes.isEmpty() ? 0 : s.port.writeTimes.last() / 1e9;
            // The data starts when TimerPID fires: the first write after the command's.
            const double wait = s.port.writeTimes.size() > commandLength
                                    ? s.port.writeTimes[commandLength] / 1e9
                                    : 0;
            s.port.clock.invalidate();
            const double line = 5.0 + (s.port.written + s.received) * kCharSeconds;
            rows << Row{QStringLiteral("TimerPID wait before the data"), wait, 5.0,
                        QStringLiteral("s"), 1.01};
            rows << Row{QStringLiteral("whole write (wait and data)"), seconds, line,
                        QStringLiteral("s"), 1.1};
        }
    }

    // Receive cost per character with the reception box holding N characters.
    {
        note(QStringLiteral("receive cost"));
        ProgramFixture f;
        f.load();
        f.p->main->MorFraCom03->click();
        f.port.acknowledgeAll();
        f.port.feed(LuveroReply(LuveroBlock("1E", "1A34", "8000")));
        // The reception box holds n characters (the hex and code boxes two and about three
        // times as many); the cost of the next 200, median of five rounds.
        auto costAt = [&](qsizetype n) {
            const qsizetype held = f.p->s.Monitor.MorTexMon04.size();
            if (n > held) f.port.feed(QByteArray(int(n - held), '5'));
            QCoreApplication::processEvents();
            QList<double> per;
            for (int round = 0; round < 5; ++round) {
                QElapsedTimer t;
                t.start();
                f.port.feed(QByteArray(200, '5'));
                QCoreApplication::processEvents();
                per << t.nsecsElapsed() / 1e9 / 200;
            }
            return median(per);
        };
        auto clear = [&] {
            MonitorText& m = f.p->s.Monitor;
            for (TextBox* b : {&m.MorTexMon04, &m.MorTexMon05, &m.MorTexMon06}) b->clear();
            f.port.feed("0");
        };
        clear();
        costAt(138);  // warm-up
        clear();
        double base = 0;
        for (qsizetype n : {138, 1380, 13800, 138000}) {
            const double c = costAt(n);
            if (n == 138) base = c;
            rows << Row{QStringLiteral("receive cost per character after %1").arg(n), c, base,
                        QStringLiteral("s"), 1.5};
        }
        f.p->monitor->show();
        clear();
        costAt(138);  // the first paint of the window
        clear();
        const double shownBase = costAt(138);
        const double shown = costAt(138000);
        rows << Row{QStringLiteral("monitor shown: after 138000 against 138"), shown, shownBase,
                    QStringLiteral("s"), 1.5};
    }

    // Start-up and peak memory against a bare window from the same executable.
    {
        note(QStringLiteral("start-up"));
        QList<double> t, tb, m, mb;
        for (int i = 0; i < 5; ++i) {
            const ChildRun a = runChild(QStringLiteral("--child-startup"), QStringLiteral("morla"));
            const ChildRun b = runChild(QStringLiteral("--child-startup"), QStringLiteral("bare"));
            t << a.seconds;
            m << a.peakKiB;
            tb << b.seconds;
            mb << b.peakKiB;
        }
        rows << Row{QStringLiteral("start-up to the main window shown"), median(t), median(tb),
                    QStringLiteral("s"), 2};
        rows << Row{QStringLiteral("peak memory at start"), median(m), median(mb),
                    QStringLiteral("KiB"), 1.5};
    }

    // Idle with the port open, against the bare window idle at the same time.
    {
        note(QStringLiteral("idle %1 s").arg(idleSeconds));
        Session s;
        if (s.start(QStringLiteral("luvero"))) {
            QProcess bare;
            bare.start(QCoreApplication::applicationFilePath(),
                       {"--child-idle", "bare", QString::number(idleSeconds)});
            const double cpu0 = cpuSeconds();
            QTest::qWait(idleSeconds * 1000);
            const double cpu = cpuSeconds() - cpu0;
            bare.waitForFinished((idleSeconds + 30) * 1000);
            double bareCpu = 0;
            for (const QByteArray& line : bare.readAllStandardOutput().split('\n'))
                if (line.startsWith("idle ")) bareCpu = line.mid(5).toDouble();
            rows << Row{QStringLiteral("processor time idle %1 s, port open").arg(idleSeconds), cpu,
                        bareCpu, QStringLiteral("s"), 0};
        }
    }

    // morla-cli: one unit, then a series on four ports at once.
    for (const bench::CliFigure& c : bench::CliSeriesFigures(quick ? 1 : 3))
        rows << Row{c.figure, c.value, c.baseline, c.unit, c.limit};

    // The table and its JSON.
    printf("%-48s %14s %14s %8s %6s %s\n", "figure", "value", "baseline", "ratio", "limit", "");
    QJsonArray json;
    for (const Row& r : rows) {
        const bool ok = r.limit <= 0 || r.ratio() <= r.limit;
        printf("%-48s %12.6g %s %12.6g %s %8.3f %6s %s\n", qPrintable(r.figure), r.value,
               qPrintable(r.unit.leftJustified(3)), r.baseline, qPrintable(r.unit.leftJustified(3)),
               r.ratio(), r.limit > 0 ? qPrintable(QString::number(r.limit)) : "-",
               ok ? "" : "OVER");
        json.append(QJsonObject{{"figure", r.figure},
                                {"value", r.value},
                                {"baseline", r.baseline},
                                {"unit", r.unit},
                                {"ratio", r.ratio()},
                                {"limit", r.limit},
                                {"within", ok}});
    }
    QFile out(jsonPath);
    if (out.open(QIODevice::WriteOnly)) {
        out.write(QJsonDocument(
                      QJsonObject{{"when", QDateTime::currentDateTimeUtc().toString(Qt::ISODate)},
                                  {"quick", quick},
                                  {"figures", json}})
                      .toJson());
        fprintf(stderr, "written %s\n", qPrintable(jsonPath));
    }
    return 0;
}
