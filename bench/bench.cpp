// Benchmark of the program as a technician runs it: its windows shown on the platform at hand,
// on the device simulator's pseudo-terminal, against a bare client (a separate small process)
// reading the same simulated line. Every wait sleeps in the event loop or in a blocking call,
// so the processor time measured is the work done, not the waiting. Prints one table and
// writes it as JSON.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryFile>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>

#include "app/fonts.h"
#include "cliseries.h"
#include "gui/device/commands.h"
#include "gui/device/serieswindow.h"
#include "gui/device/verify.h"
#include "gui/panels/framework.h"
#include "support/simulator.h"

extern char** environ;

using namespace morla;
using namespace morla::test;

namespace {

constexpr double kCharSeconds = 10.0 / 9600.0;  // start bit, eight data bits, stop bit
// A "1" inside a message is acknowledged only once no "P" follows it: the simulator waits
// this long, as a device must.
constexpr double kClosingWaitSeconds = 0.015;
// Between reads: the screen catches up (counted in the read's processor time).
constexpr int kGapMs = 50;

// ---- Clocks ----------------------------------------------------------------------------------

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double seconds(const timeval& t) {
    return double(t.tv_sec) + double(t.tv_usec) / 1e6;
}

// utime + stime of a process as the kernel's process table shows it (clock ticks).
double procStatCpu(qint64 pid) {
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray text = f.readAll();
    // The command name is in parentheses and may hold blanks: count fields after it.
    const QList<QByteArray> w = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (w.size() < 13) return -1;
    return (w[11].toDouble() + w[12].toDouble()) / double(sysconf(_SC_CLK_TCK));
}

// High-water mark of this process's memory (VmHWM: unlike ru_maxrss it starts anew at exec).
long peakKiB() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

QString loadAverage() {
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly)) return QStringLiteral("?");
    return QString::fromLatin1(f.readAll()).section(QLatin1Char(' '), 0, 2);
}

double median(QList<double> v) {
    if (v.isEmpty()) return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double sum(const QList<double>& v) {
    double s = 0;
    for (double x : v) s += x;
    return s;
}

// A least-squares line through the values in order: its value at the last over its value at
// the first.
double trend(const QList<double>& v) {
    const double n = double(v.size());
    if (v.size() < 2) return 0;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (qsizetype i = 0; i < v.size(); ++i) {
        const double x = double(i);
        sx += x, sy += v[i], sxx += x * x, sxy += x * v[i];
    }
    const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    const double at0 = (sy - slope * sx) / n;
    return at0 > 0 ? (at0 + slope * (n - 1)) / at0 : 0;
}

QJsonObject stats(const QList<double>& v) {
    if (v.isEmpty()) return {};
    QList<double> s = v;
    std::sort(s.begin(), s.end());
    return {{"n", int(s.size())},
            {"median", median(s)},
            {"mean", sum(s) / double(s.size())},
            {"min", s.first()},
            {"p90", s[qsizetype(double(s.size() - 1) * 0.9)]},
            {"max", s.last()}};
}

// ---- Waits -----------------------------------------------------------------------------------

// Runs the event loop, asleep between events, until done() holds: checked at once, whenever
// check() is called (connect the signals that can make it true), and every pollMs when given.
class Waiter : public QObject {
  public:
    explicit Waiter(std::function<bool()> done, int pollMs = 0) : done_(std::move(done)) {
        if (pollMs > 0) {
            poll_.setInterval(pollMs);
            connect(&poll_, &QTimer::timeout, this, &Waiter::check);
        }
    }
    void check() {
        if (done_()) loop_.quit();
    }
    bool wait(int timeoutMs) {
        if (done_()) return true;
        QTimer deadline;
        deadline.setSingleShot(true);
        connect(&deadline, &QTimer::timeout, &loop_, &QEventLoop::quit);
        deadline.start(timeoutMs);
        if (poll_.interval() > 0) poll_.start();
        loop_.exec();
        poll_.stop();
        return done_();
    }

  private:
    std::function<bool()> done_;
    QEventLoop loop_;
    QTimer poll_;
};

// The event loop runs, asleep between events, for this long.
void sleepFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

bool exposed(QWidget* w) {
    return w->windowHandle() && w->windowHandle()->isExposed();
}

// ---- The line as the program uses it -----------------------------------------------------------

// Counts what the program writes and receives, with the time of each.
class LineCounter : public QObject {
  public:
    explicit LineCounter(Transport& port) {
        connect(&port, &Transport::written, this, [this](const QByteArray& bytes) {
            writes.push_back({clock.nsecsElapsed(), bytes});
        });
        connect(&port, &Transport::received, this,
                [this](char) { inTimes.push_back(clock.nsecsElapsed()); });
        clock.start();
    }
    void reset() {
        writes.clear();
        inTimes.clear();
        clock.restart();
    }
    qint64 in() const { return inTimes.size(); }
    // Line time of what went both ways from `fromNs` on: every character, and the wait after
    // each "1" inside a message (one not followed by the closing "P").
    double lineSeconds(qint64 fromNs = 0) const {
        QByteArray out;
        for (const Write& w : writes)
            if (w.ns >= fromNs) out += w.bytes;
        qint64 in = 0;
        for (qint64 t : inTimes)
            if (t >= fromNs) ++in;
        int ones = 0;
        for (qsizetype i = 0; i < out.size(); ++i)
            if (out[i] == '1' && (i + 1 == out.size() || out[i + 1] != 'P')) ++ones;
        return double(out.size() + in) * kCharSeconds + ones * kClosingWaitSeconds;
    }

    struct Write {
        qint64 ns;
        QByteArray bytes;
    };
    QList<Write> writes;
    QList<qint64> inTimes;
    QElapsedTimer clock;
};

// ---- Outside measurements --------------------------------------------------------------------

// `perf stat` attached to this process: its task clock over the time it was attached.
class PerfStat {
  public:
    bool start() {
        out_.open();
        proc_.start(QStringLiteral("perf"),
                    {"stat", "-e", "task-clock", "-x", ",", "-o", out_.fileName(), "-p",
                     QString::number(QCoreApplication::applicationPid())});
        if (!proc_.waitForStarted(3000)) return false;
        sleepFor(500);  // attached by now
        return proc_.state() == QProcess::Running;
    }
    // Seconds of processor time perf counted; -1 without perf.
    double stop() {
        if (proc_.state() != QProcess::Running) return -1;
        ::kill(pid_t(proc_.processId()), SIGINT);
        if (!proc_.waitForFinished(5000)) return -1;
        for (const QByteArray& line : out_.readAll().split('\n')) {
            const QList<QByteArray> f = line.split(',');
            if (f.size() > 2 && f[2].startsWith("task-clock")) return f[0].toDouble() / 1e3;
        }
        return -1;
    }

  private:
    QProcess proc_;
    QTemporaryFile out_;
};

// ---- The table -------------------------------------------------------------------------------

struct Row {
    QString figure;
    double value = 0, baseline = 0;
    QString unit;
    double limit = 0;   // 0: none
    bool band = false;  // the ratio must be within 1 ± limit, not at most limit
    QString note;
    double ratio() const { return baseline > 0 ? value / baseline : 0; }
    bool ok() const {
        if (limit <= 0) return true;
        return band ? qAbs(ratio() - 1) <= limit : ratio() <= limit;
    }
    QString limitText() const {
        if (limit <= 0) return QStringLiteral("-");
        return band ? QStringLiteral("±%1%").arg(limit * 100) : QString::number(limit);
    }
};

QList<Row> rows;
QJsonObject details;
QString monitorPlace = QStringLiteral("not shown");
void note(const QString& what) {
    fprintf(stderr, "%s\n", qPrintable(what));
}

// ---- The bare client -------------------------------------------------------------------------

struct BareRun {
    QList<double> wall, cpu, line;
    int failed = 0;
    double outsideCpu = -1;  // the child's processor time as wait4 reports it
};

// Runs the bare client as a child process and waits for it (a blocking wait).
BareRun runBareClient(const QString& port, const QString& command, int replyLength, int reads) {
    BareRun r;
    QTemporaryFile out;
    out.open();
    const QByteArray program =
        (qEnvironmentVariable("MORLA_BIN_DIR") + QStringLiteral("/morla_bareclient")).toLocal8Bit();
    const QList<QByteArray> args{program,
                                 port.toLocal8Bit(),
                                 command.toLatin1(),
                                 QByteArray::number(replyLength),
                                 QByteArray::number(reads),
                                 QByteArray::number(kGapMs)};
    std::vector<char*> argv;
    for (const QByteArray& a : args) argv.push_back(const_cast<char*>(a.constData()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out.handle(), STDOUT_FILENO);
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, program.constData(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        note(QStringLiteral("  cannot start %1").arg(QString::fromLocal8Bit(program)));
        r.failed = reads;
        return r;
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    r.outsideCpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    out.seek(0);
    for (const QByteArray& line : out.readAll().split('\n')) {
        const QList<QByteArray> w = line.split(' ');
        if (w.size() < 7 || w[0] != "read") continue;
        if (w[6] != "1") {
            ++r.failed;
            continue;
        }
        r.wall << w[2].toDouble();
        r.cpu << w[3].toDouble();
        r.line << double(w[4].toLong() + w[5].toLong()) * kCharSeconds;
    }
    return r;
}

// ---- The program -----------------------------------------------------------------------------

// Device key of the simulator's factory memory, as a panel holds it.
QString factoryKey(const ModelInfo& m) {
    if (m.keyStarAt > 0) return QStringLiteral("12*34");
    return QStringLiteral("1234567890").left(m.keyLength);
}

// The program on the simulator's port, in a fresh program folder, its main window shown.
struct Session {
    Bench b;
    LineCounter line{b.port};
    Program& p = b.p;
    const ModelInfo& m;

    explicit Session(const ModelInfo& model) : m(model) {
        WriteModelConfig(b.f, m, m.firmware(), factoryKey(m));
    }
    QString portPath() const { return b.f.dir.path() + QStringLiteral("/COM1"); }
    bool startSimulator() { return b.sim.start({"--model", m.dispatch().toLower()}); }
    // Main window load, and the window shown as the program shows it.
    bool startProgram() {
        b.f.load();
        p.main->resize(1000, 640);
        p.main->move(0, 0);
        p.main->show();
        Waiter shown([&] { return exposed(p.main.get()); }, 10);
        const bool ok = shown.wait(10000) && b.port.isOpen();
        sleepFor(200);  // the first paints
        return ok;
    }
    // "Monitor" of the menu, its window beside the main window where the screen has room.
    bool openMonitor() {
        p.main->MorMnuMon->trigger();
        // Where it covers the main window, the main window's changes are not painted.
        const QRect screen = p.main->screen()->availableGeometry();
        const QRect main = p.main->frameGeometry();
        const QSize size = p.monitor->frameGeometry().size();
        if (main.right() + 8 + size.width() <= screen.right()) {
            p.monitor->move(main.right() + 8, 0);
            monitorPlace = QStringLiteral("beside the main window");
        } else if (main.bottom() + 8 + size.height() <= screen.bottom()) {
            p.monitor->move(0, main.bottom() + 8);
            monitorPlace = QStringLiteral("below the main window");
        } else {
            p.monitor->move(0, 0);
            monitorPlace = QStringLiteral("OVER the main window: the screen is too small");
        }
        Waiter shown([&] { return exposed(p.monitor.get()); }, 10);
        const bool ok = shown.wait(10000);
        sleepFor(200);
        const QRect a = p.main->frameGeometry(), b = p.monitor->frameGeometry();
        details[QStringLiteral("windows")] = QStringLiteral("main %1x%2+%3+%4, monitor %5x%6+%7+%8")
                                                 .arg(a.width())
                                                 .arg(a.height())
                                                 .arg(a.x())
                                                 .arg(a.y())
                                                 .arg(b.width())
                                                 .arg(b.height())
                                                 .arg(b.x())
                                                 .arg(b.y());
        return ok;
    }
};

struct ReadSample {
    bool ok = false;
    double wall = 0, cpu = 0, line = 0;
};

// One "&Leer" as a technician clicks it: from the click until the status says "Morla" again,
// then the gap before the next one. Processor time over both: the screen's updates after the
// panel is filled belong to the read.
ReadSample programRead(Session& s) {
    ReadSample r;
    s.b.f.msgs.clear();
    s.line.reset();
    QLineEdit* status = s.p.main->MorTexEst;
    bool over = false;
    Waiter w([&] { return over; });
    const auto c = QObject::connect(status, &QLineEdit::textChanged, status, [&](const QString& t) {
        if (t == QStringLiteral("Morla")) over = true;
        w.check();
    });
    const double cpu0 = cpuSeconds();
    QElapsedTimer t;
    t.start();
    s.p.main->MorFraCom03->click();
    const bool started = status->text() == QStringLiteral("Leyendo");
    r.ok = started && w.wait(10000);
    r.wall = double(t.nsecsElapsed()) / 1e9;
    r.line = s.line.lineSeconds();
    QObject::disconnect(c);
    sleepFor(kGapMs);
    r.cpu = cpuSeconds() - cpu0;
    r.ok = r.ok && s.b.f.msgs.shown.isEmpty() && s.line.in() >= s.m.replyLength;
    return r;
}

struct ReadSeries {
    QList<double> wall, cpu, line;
    double benchCpu = 0, perfCpu = -1, procCpu = -1;  // over the whole series
    int failed = 0;
    double firstCpu(int n) const { return median(cpu.mid(0, n)); }
    double lastCpu(int n) const { return median(cpu.mid(qMax(0, int(cpu.size()) - n))); }
};

ReadSeries programReads(Session& s, int reads) {
    ReadSeries r;
    PerfStat perf;
    const bool perfOn = perf.start();
    const double cpu0 = cpuSeconds();
    const double proc0 = procStatCpu(QCoreApplication::applicationPid());
    for (int i = 1; i <= reads; ++i) {
        const ReadSample x = programRead(s);
        if (!x.ok) {
            ++r.failed;
            note(QStringLiteral("  read %1 failed: %2").arg(i).arg(s.b.f.msgs.texts().join("; ")));
            sleepFor(2500);  // the device drops an unfinished message after two seconds
            continue;
        }
        r.wall << x.wall;
        r.cpu << x.cpu;
        r.line << x.line;
    }
    r.benchCpu = cpuSeconds() - cpu0;
    r.procCpu = procStatCpu(QCoreApplication::applicationPid()) - proc0;
    if (perfOn) r.perfCpu = perf.stop();
    return r;
}

QString ms(double s) {
    return QString::number(s * 1e3, 'f', 2);
}

void readRows(const QString& model, const QString& what, const ReadSeries& prog,
              const BareRun& bare, double cpuLimit) {
    const int n = int(prog.cpu.size());
    rows << Row{
        QStringLiteral("CPU per read, %1%2: program / bare client").arg(model, what),
        median(prog.cpu) * 1e3,
        median(bare.cpu) * 1e3,
        QStringLiteral("ms"),
        cpuLimit,
        false,
        QStringLiteral("median of %1 / %2%3")
            .arg(n)
            .arg(bare.cpu.size())
            .arg(prog.failed ? QStringLiteral("; %1 reads failed").arg(prog.failed) : QString())};
    rows << Row{QStringLiteral("wall per read, %1%2: program / line time").arg(model, what),
                median(prog.wall) * 1e3,
                median(prog.line) * 1e3,
                QStringLiteral("ms"),
                1.05,
                false,
                QStringLiteral("worst %1 ms")
                    .arg(ms(*std::max_element(prog.wall.begin(), prog.wall.end())))};
    // Several reads at either end: one read's cost varies with what else the machine does.
    const int k = n >= 30 ? 10 : qMax(1, n / 3);
    if (k > 0)
        rows << Row{QStringLiteral("CPU per read, %1%2: %3 / %4")
                        .arg(model, what)
                        .arg(k > 1 ? QStringLiteral("reads %1-%2").arg(n - k + 1).arg(n)
                                   : QStringLiteral("read #%1").arg(n))
                        .arg(k > 1 ? QStringLiteral("reads 1-%1").arg(k) : QStringLiteral("#1")),
                    prog.lastCpu(k) * 1e3,
                    prog.firstCpu(k) * 1e3,
                    QStringLiteral("ms"),
                    1.1,
                    false,
                    QStringLiteral("medians of %1; fitted line: %2")
                        .arg(k)
                        .arg(trend(prog.cpu), 0, 'f', 3)};
}

void outsideRows(const QString& series, const ReadSeries& prog) {
    if (prog.perfCpu > 0)
        rows << Row{QStringLiteral("outside check, %1: bench / perf stat").arg(series),
                    prog.benchCpu,
                    prog.perfCpu,
                    QStringLiteral("s"),
                    0.2,
                    true,
                    QStringLiteral("the program's process over the series")};
    if (prog.procCpu > 0)
        rows << Row{QStringLiteral("outside check, %1: bench / /proc stat").arg(series),
                    prog.benchCpu,
                    prog.procCpu,
                    QStringLiteral("s"),
                    0.2,
                    true,
                    QStringLiteral("clock ticks of %1 s").arg(1.0 / double(sysconf(_SC_CLK_TCK)))};
}

QJsonObject seriesJson(const ReadSeries& prog, const BareRun* bare) {
    QJsonObject o{{"cpu_s", stats(prog.cpu)},     {"wall_s", stats(prog.wall)},
                  {"line_s", stats(prog.line)},   {"failed", prog.failed},
                  {"bench_cpu_s", prog.benchCpu}, {"perf_cpu_s", prog.perfCpu},
                  {"proc_cpu_s", prog.procCpu}};
    QJsonArray perRead;
    for (double c : prog.cpu) perRead.append(c);
    o["cpu_per_read_s"] = perRead;
    if (bare)
        o["bare"] = QJsonObject{{"cpu_s", stats(bare->cpu)},
                                {"wall_s", stats(bare->wall)},
                                {"line_s", stats(bare->line)},
                                {"failed", bare->failed},
                                {"wait4_cpu_s", bare->outsideCpu}};
    return o;
}

// ---- Writes ----------------------------------------------------------------------------------

struct WriteSample {
    bool ok = false;
    QString outcome;
    double wall = 0, minimum = 0, settle = 0, settleSet = 0, cpu = 0, line = 0;
};

// Starts a whole write with `start` and waits for its verification to end. The physical
// minimum: the send timer's wait, then the data text and the read-back on the line.
WriteSample verifiedWrite(Session& s, const std::function<void()>& start) {
    WriteSample r;
    WriteVerifier& v = VerifierOf(s.p);
    bool over = false;
    Waiter w([&] { return over; });
    const auto done =
        QObject::connect(&v, &WriteVerifier::finished, &v, [&](const VerifyOutcome& o) {
            over = true;
            r.outcome = o.text();
            w.check();
        });
    const int wait = s.p.main->TimerPID->interval();
    r.settleSet = v.settle->interval() / 1e3;
    s.b.f.msgs.clear();
    s.line.reset();
    const double cpu0 = cpuSeconds();
    QElapsedTimer t;
    t.start();
    start();
    r.ok = w.wait(60000) && r.outcome == QStringLiteral("Verificado");
    r.wall = double(t.nsecsElapsed()) / 1e9;
    r.cpu = cpuSeconds() - cpu0;
    QObject::disconnect(done);
    // The write command ends with the first "P", the data text with the second; the data text
    // starts right after the first, and the read-back right after the second.
    const QList<LineCounter::Write>& x = s.line.writes;
    QList<qsizetype> ends;
    for (qsizetype i = 0; i < x.size(); ++i)
        if (x[i].bytes.endsWith('P')) ends << i;
    if (ends.size() >= 3 && ends[1] + 1 < x.size()) {
        r.line = s.line.lineSeconds(x[ends[0] + 1].ns);
        r.settle = double(x[ends[1] + 1].ns - x[ends[1]].ns) / 1e9;
    } else {
        r.ok = false;
    }
    r.minimum = wait / 1e3 + r.line;
    sleepFor(kGapMs);
    return r;
}

// The model's panel from its configuration file, as its button shows it; then "&Enviar".
WriteSample enviar(Session& s, int button) {
    ModelButton(s.p, button);
    return verifiedWrite(s, [&] { s.p.main->MorFraCom04->click(); });
}

void writeRows(const QString& model, const QList<WriteSample>& writes) {
    QList<double> wall, minimum, settle, cpu;
    QStringList outcomes;
    const double settleSet = writes.isEmpty() ? 0 : writes.first().settleSet;
    for (const WriteSample& x : writes) {
        if (!x.ok) outcomes << x.outcome;
        if (!x.ok) continue;
        wall << x.wall;
        minimum << x.minimum;
        settle << x.settle;
        cpu << x.cpu;
    }
    if (wall.isEmpty()) {
        rows << Row{QStringLiteral("write + verification, %1: failed").arg(model),
                    0,
                    0,
                    "s",
                    0,
                    false,
                    outcomes.join("; ")};
        return;
    }
    rows << Row{QStringLiteral("write + verification, %1: wall / physical minimum").arg(model),
                median(wall),
                median(minimum),
                QStringLiteral("s"),
                0,
                false,
                QStringLiteral("minimum: send timer + line time; %1 of %2 verified")
                    .arg(wall.size())
                    .arg(writes.size())};
    rows << Row{QStringLiteral("write + verification, %1: settle wait measured / set").arg(model),
                median(settle),
                settleSet,
                QStringLiteral("s"),
                0,
                false,
                QStringLiteral("data text's \"P\" to read-back's \"D\"")};
    details[QStringLiteral("write ") + model] = QJsonObject{{"wall_s", stats(wall)},
                                                            {"minimum_s", stats(minimum)},
                                                            {"settle_s", stats(settle)},
                                                            {"cpu_s", stats(cpu)}};
}

// ---- Start-up and idle in a child process --------------------------------------------------

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
        SubstitutePanelFont();
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
    Waiter w([&] { return exposed(shown); }, 5);
    w.wait(10000);
    QCoreApplication::processEvents();
    printf("shown %ld\n", peakKiB());
    fflush(stdout);
    if (args.value(0) == QStringLiteral("--child-idle")) {
        sleepFor(1000);
        const double cpu0 = cpuSeconds();
        sleepFor(args.value(2).toInt() * 1000);
        printf("idle %.6f\n", cpuSeconds() - cpu0);
    }
    return 0;
}

struct ChildRun {
    double seconds = 0, peakKiB = 0, idleCpu = 0;
};

ChildRun runChild(const QString& mode, const QString& kind, int idleSeconds = 0) {
    ChildRun r;
    QProcess proc;
    QElapsedTimer t;
    t.start();
    proc.start(QCoreApplication::applicationFilePath(), {mode, kind, QString::number(idleSeconds)});
    QByteArray out;
    while (proc.waitForReadyRead((idleSeconds + 60) * 1000)) {
        out += proc.readAllStandardOutput();
        if (r.seconds == 0 && out.contains("shown")) r.seconds = double(t.nsecsElapsed()) / 1e9;
    }
    proc.waitForFinished(5000);
    out += proc.readAllStandardOutput();
    for (const QByteArray& line : out.split('\n')) {
        const QList<QByteArray> w = line.split(' ');
        if (w.value(0) == "shown") r.peakKiB = w.value(1).toDouble();
        if (w.value(0) == "idle") r.idleCpu = w.value(1).toDouble();
    }
    return r;
}

// ---- The run ---------------------------------------------------------------------------------

struct Plan {
    bool quick = false;
    int reads = 100;      // program reads per model
    int bareReads = 100;  // bare client reads of Lúvero and Quarn
    int otherBare = 30;   // bare client reads of the other models
    int monitorReads = 100;
    int seriesUnits = 5;
    QList<int> settleTrials{0, 100, 250, 500};
    int startups = 5;
    int idleSeconds = 20;  // 0: none
    bool quarnWrite = true;
};

// The models read through the monitor, written and counted per unit; their model buttons.
bool isMain(const ModelInfo& m) {
    return m.id == ModelId::Luvero || m.id == ModelId::Quarn;
}
int buttonOf(const ModelInfo& m) {
    return m.id == ModelId::Luvero ? 3 : 6;
}

void benchModel(const ModelInfo& m, const Plan& plan) {
    const QString name = m.dispatch();
    note(QStringLiteral("%1: simulator, bare client").arg(name));
    Session s(m);
    if (!s.startSimulator()) {
        rows << Row{QStringLiteral("%1: no simulator").arg(name), 0, 0, "", 0, false, ""};
        return;
    }
    // The bare client on the line first, the program's port still closed.
    // The read command as the program folder's command file gives it.
    const QString command = QStringLiteral("*40f");
    const BareRun bare = runBareClient(s.portPath(), command, m.replyLength,
                                       isMain(m) ? plan.bareReads : plan.otherBare);
    // What starting and ending costs the client, taken off the kernel's figure: the least of
    // three runs that read nothing (a run slowed by the machine would take off too much).
    double startCost = -1;
    for (int i = 0; i < 3; ++i) {
        const double c = runBareClient(s.portPath(), command, m.replyLength, 0).outsideCpu;
        if (c >= 0 && (startCost < 0 || c < startCost)) startCost = c;
    }
    if (bare.cpu.isEmpty()) {
        rows << Row{
            QStringLiteral("%1: the bare client read nothing").arg(name), 0, 0, "", 0, false, ""};
        return;
    }
    rows << Row{QStringLiteral("wall per read, %1: bare client / line time").arg(name),
                median(bare.wall) * 1e3,
                median(bare.line) * 1e3,
                QStringLiteral("ms"),
                0,
                false,
                QStringLiteral("what the simulated line allows")};
    if (bare.outsideCpu > 0 && startCost >= 0)
        rows << Row{QStringLiteral("outside check, bare client %1: own clock / wait4").arg(name),
                    sum(bare.cpu),
                    bare.outsideCpu - startCost,
                    QStringLiteral("s"),
                    0.2,
                    true,
                    QStringLiteral("%1 reads; wait4 less a run of none").arg(bare.cpu.size())};

    note(QStringLiteral("%1: program, %2 reads").arg(name).arg(plan.reads));
    if (!s.startProgram()) {
        rows << Row{QStringLiteral("%1: the program did not start").arg(name),
                    0,
                    0,
                    "",
                    0,
                    false,
                    s.b.f.msgs.texts().join("; ")};
        return;
    }
    const ReadSeries prog = programReads(s, plan.reads);
    if (prog.cpu.isEmpty()) {
        rows << Row{QStringLiteral("%1: no good read").arg(name), 0, 0, "", 0, false, ""};
        return;
    }
    readRows(name, QString(), prog, bare, 10);
    outsideRows(name, prog);
    details[name] = seriesJson(prog, &bare);
    if (!isMain(m)) return;

    note(QStringLiteral("%1: monitor open, %2 reads").arg(name).arg(plan.monitorReads));
    if (!s.openMonitor()) note(QStringLiteral("  the monitor window was not exposed"));
    const ReadSeries mon = programReads(s, plan.monitorReads);
    if (!mon.cpu.isEmpty()) {
        readRows(name, QStringLiteral(", monitor open"), mon, bare, 15);
        outsideRows(name + QStringLiteral(", monitor open"), mon);
        details[name + QStringLiteral(", monitor open")] = seriesJson(mon, nullptr);
    }
    s.p.monitor->hide();

    if (m.id != ModelId::Luvero && !plan.quarnWrite) return;
    note(QStringLiteral("%1: write and verification").arg(name));
    SetVerifyAfterWrite(s.p, true);
    writeRows(name, {enviar(s, buttonOf(m))});

    if (m.id != ModelId::Luvero) return;
    // The settle wait shortened, to see what the line needs of it.
    WriteVerifier& v = VerifierOf(s.p);
    const int set = v.settle->interval();
    for (int trial : plan.settleTrials) {
        note(QStringLiteral("%1: write with a settle wait of %2 ms").arg(name).arg(trial));
        v.settle->setInterval(trial);
        const WriteSample x = enviar(s, buttonOf(m));
        rows << Row{QStringLiteral("write + verification, %1, settle %2 ms: wall / minimum")
                        .arg(name)
                        .arg(trial),
                    x.wall,
                    x.minimum,
                    QStringLiteral("s"),
                    0,
                    false,
                    x.outcome};
    }
    v.settle->setInterval(set);

    // A series: "Siguiente unidad" again as soon as a unit ends (a technician's time to change
    // units left out).
    note(QStringLiteral("%1: series of %2 units").arg(name).arg(plan.seriesUnits));
    s.p.main->findChild<QAction*>(QStringLiteral("MorMnuPriSer"))->trigger();
    auto* series = s.p.main->findChild<MorFrmSerie*>();
    if (!series) {
        rows << Row{QStringLiteral("series, %1: no series window").arg(name),
                    0,
                    0,
                    "",
                    0,
                    false,
                    s.b.f.msgs.texts().join("; ")};
        return;
    }
    Waiter shown([&] { return exposed(series); }, 10);
    shown.wait(10000);
    QList<WriteSample> units;
    for (int i = 0; i < plan.seriesUnits; ++i)
        units << verifiedWrite(s, [&] { series->MorCmdSerSig->click(); });
    QList<double> unit, minimum;
    for (const WriteSample& x : units)
        if (x.ok) unit << x.wall, minimum << x.minimum;
    if (!unit.isEmpty())
        rows << Row{QStringLiteral("series, %1: units per hour / physical maximum").arg(name),
                    3600 / median(unit),
                    3600 / median(minimum),
                    QStringLiteral("1/h"),
                    0,
                    false,
                    QStringLiteral("%1 of %2 units verified; changing units not counted")
                        .arg(unit.size())
                        .arg(units.size())};
    series->close();
    if (plan.idleSeconds <= 0) return;

    note(QStringLiteral("idle %1 s with the port open").arg(plan.idleSeconds));
    QProcess bareWindow;
    bareWindow.start(QCoreApplication::applicationFilePath(),
                     {"--child-idle", "bare", QString::number(plan.idleSeconds)});
    sleepFor(1000);
    const double cpu0 = cpuSeconds();
    sleepFor(plan.idleSeconds * 1000);
    const double idle = cpuSeconds() - cpu0;
    bareWindow.waitForFinished((plan.idleSeconds + 30) * 1000);
    double bareIdle = 0;
    for (const QByteArray& line : bareWindow.readAllStandardOutput().split('\n'))
        if (line.startsWith("idle ")) bareIdle = line.mid(5).toDouble();
    rows << Row{
        QStringLiteral("CPU idle %1 s, port open: program / bare window").arg(plan.idleSeconds),
        idle * 1e3,
        bareIdle * 1e3,
        QStringLiteral("ms"),
        0,
        false,
        QString()};
}

void startupRows(const Plan& plan) {
    note(QStringLiteral("start-up, %1 times").arg(plan.startups));
    QList<double> t, tb, m, mb;
    for (int i = 0; i < plan.startups; ++i) {
        const ChildRun a = runChild(QStringLiteral("--child-startup"), QStringLiteral("morla"));
        const ChildRun b = runChild(QStringLiteral("--child-startup"), QStringLiteral("bare"));
        t << a.seconds;
        m << a.peakKiB;
        tb << b.seconds;
        mb << b.peakKiB;
    }
    rows << Row{QStringLiteral("start-up to the main window shown: program / bare window"),
                median(t),
                median(tb),
                QStringLiteral("s"),
                0,
                false,
                QString()};
    rows << Row{QStringLiteral("peak memory at start: program / bare window"),
                median(m),
                median(mb),
                QStringLiteral("KiB"),
                0,
                false,
                QString()};
}

}  // namespace

int main(int argc, char* argv[]) {
    // The platform the machine has: a display when there is one, else off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb");
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("MORLA_BIN_DIR"))
        qputenv("MORLA_BIN_DIR", QCoreApplication::applicationDirPath().toLocal8Bit());
    const QStringList args = app.arguments().mid(1);
    if (args.value(0).startsWith(QStringLiteral("--child"))) return child(args);
    SubstitutePanelFont();

    Plan plan;
    plan.quick = args.contains(QStringLiteral("--quick"));
    if (plan.quick) {
        plan.reads = plan.bareReads = plan.monitorReads = 10;
        plan.otherBare = 10;
        plan.seriesUnits = 1;
        plan.settleTrials = {};
        plan.startups = 2;
        plan.idleSeconds = 0;
        plan.quarnWrite = false;
    }
    // More reads per series, to see where a cost settles.
    if (const int at = args.indexOf(QStringLiteral("--reads")); at >= 0) {
        const int n = args.value(at + 1).toInt();
        if (n < 3) {
            fprintf(stderr, "--reads takes a number of reads of 3 or more\n");
            return 2;
        }
        plan.reads = plan.monitorReads = n;
    }
    const int jsonAt = args.indexOf(QStringLiteral("--json"));
    const QString jsonPath = jsonAt >= 0 ? args.value(jsonAt + 1) : QStringLiteral("bench.json");
    const QString platform = QGuiApplication::platformName();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QString loadBefore = loadAverage();
    QElapsedTimer run;
    run.start();

    for (const ModelInfo& m : Models()) {
        if (!Members(m.id).ReadReply) continue;
        if (plan.quick && !isMain(m)) continue;
        benchModel(m, plan);
    }
    startupRows(plan);

    // morla-cli: one unit, then a series on four ports at once.
    for (const bench::CliFigure& c : bench::CliSeriesFigures(plan.quick ? 1 : 3))
        rows << Row{c.figure, c.value, c.baseline, c.unit, c.limit, false, c.note};

    // The table and its JSON.
    const QString header =
        QStringLiteral(
            "platform %1 (%2x%3), monitor %9, %4 mode, %5 processors, load %6 before, %7 after, "
            "%8 s")
            .arg(platform)
            .arg(screen.width())
            .arg(screen.height())
            .arg(plan.quick ? QStringLiteral("quick") : QStringLiteral("full"))
            .arg(QThread::idealThreadCount())
            .arg(loadBefore, loadAverage())
            .arg(run.elapsed() / 1000)
            .arg(monitorPlace);
    printf("%s\n", qPrintable(header));
    printf("%-64s %10s %10s %4s %7s %6s %-4s %s\n", "figure", "value", "baseline", "", "ratio",
           "limit", "", "note");
    QJsonArray json;
    for (const Row& r : rows) {
        printf("%-64s %10.3f %10.3f %-4s %7.3f %6s %-4s %s\n", qPrintable(r.figure), r.value,
               r.baseline, qPrintable(r.unit), r.ratio(), qPrintable(r.limitText()),
               r.ok() ? "" : "OVER", qPrintable(r.note));
        json.append(QJsonObject{{"figure", r.figure},
                                {"value", r.value},
                                {"baseline", r.baseline},
                                {"unit", r.unit},
                                {"ratio", r.ratio()},
                                {"limit", r.limitText()},
                                {"within", r.ok()},
                                {"note", r.note}});
    }
    QFile out(jsonPath);
    if (out.open(QIODevice::WriteOnly)) {
        out.write(QJsonDocument(
                      QJsonObject{{"when", QDateTime::currentDateTimeUtc().toString(Qt::ISODate)},
                                  {"header", header},
                                  {"platform", platform},
                                  {"quick", plan.quick},
                                  {"figures", json},
                                  {"details", details}})
                      .toJson());
        fprintf(stderr, "written %s\n", qPrintable(jsonPath));
    }
    return 0;
}
