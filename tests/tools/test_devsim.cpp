// The device simulator: its engine directly, then the program on a pty driven as the
// MORLA program drives a device (plain POSIX I/O, not the program's transport).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "core/codec/codec.h"
#include "devsim/device.h"
#include "devsim/image.h"
#include "devsim/models/behaviour.h"
#include "support/programfixture.h"

using namespace morla;
using namespace morla::devsim;

namespace {

// --- The reader's view of a reply, written apart from the simulator's own helpers. ---

QString mapOf(const QByteArray& reply) {
    QString map;
    for (qsizetype i = 4; i < reply.size(); ++i)
        map += QString::number(reply.at(i) & 0x0F, 16).toUpper();
    return map;
}

bool checksumsOk(const QString& map) {
    if (FrameChecksum(map.mid(0, 128)) != map.mid(128, 2)) return false;
    return map.size() < 266 || FrameChecksum(map.mid(132, 128)) == map.mid(260, 2);
}

// Lúvero: options 1..6 as "1"/"0", from the bits of map digits 17-20.
QString luveroOptions(const QString& map) {
    const int bits[6][2] = {{19, 1}, {20, 2}, {17, 1}, {17, 2}, {18, 4}, {20, 4}};
    QString out;
    for (const auto& b : bits) out += (map.mid(b[0] - 1, 1).toInt(nullptr, 16) & b[1]) ? '1' : '0';
    return out;
}

QString luveroKey(const QString& map) {
    return map.mid(10, 4).replace('A', '0');
}

MemoryImage luvero(const QString& key, const QString& options) {
    MemoryImage image = FactoryImage(Model(ModelId::Luvero), QStringLiteral("30"));
    kLuveroBehaviour.setUp(image, key, options);
    return image;
}

// A framed message as the program sends it, all at once (the engine needs no pauses).
QByteArray framed(const QString& message) {
    return "D" + message.toLatin1() + "1P";
}

// --- A running simulator and our end of its port. ---

struct Simulator {
    QProcess proc;
    QString path;
    int fd = -1;

    ~Simulator() { stop(); }

    bool start(const QStringList& args) {
        proc.setProgram(qEnvironmentVariable("MORLA_BIN_DIR") + QStringLiteral("/morla_devsim"));
        proc.setArguments(args);
        proc.start();
        if (!proc.waitForStarted(5000)) return false;
        while (!proc.canReadLine())
            if (!proc.waitForReadyRead(5000)) return false;
        path = QString::fromLocal8Bit(proc.readLine()).trimmed();
        fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd < 0) return false;
        termios t{};
        tcgetattr(fd, &t);
        cfmakeraw(&t);
        return tcsetattr(fd, TCSANOW, &t) == 0;
    }

    // Stops it the way a technician would (SIGTERM) and waits for the memory to be saved.
    bool stop() {
        if (fd >= 0) ::close(fd);
        fd = -1;
        if (proc.state() == QProcess::NotRunning) return true;
        proc.terminate();
        return proc.waitForFinished(5000);  // else QProcess kills it
    }

    void put(QByteArray bytes) {
        while (!bytes.isEmpty()) {
            const ssize_t n = ::write(fd, bytes.constData(), size_t(bytes.size()));
            if (n > 0) bytes.remove(0, n);
        }
    }

    // Up to max characters; gives up after waitMs without a new one.
    QByteArray collect(int max, int waitMs) {
        QByteArray out;
        while (out.size() < max) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, waitMs) <= 0) break;
            char buffer[512];
            const ssize_t n = ::read(fd, buffer, size_t(qMin<qsizetype>(max - out.size(), 512)));
            if (n > 0) out.append(buffer, n);
        }
        return out;
    }

    // D and the message, each character sent only after its "T", then the closing "1P".
    // False at the first character that gets no "T". The program may write "1" and "P"
    // separately; closingPauseMs puts time between them.
    bool send(const QString& message, int closingPauseMs = 0) {
        for (QChar c : QStringLiteral("D") + message) {
            put(QByteArray(1, char(c.unicode())));
            if (collect(1, 400) != "T") return false;
        }
        put("1");
        if (closingPauseMs > 0) QThread::msleep(closingPauseMs);
        put("P");
        return true;
    }

    // A framed read and its reply; the reply ends when the line stays quiet.
    QByteArray read(qint64* elapsedMs = nullptr) {
        if (!send(QStringLiteral("*40f"))) return {};
        QElapsedTimer clock;
        clock.start();
        const QByteArray reply = collect(300, 300);
        if (elapsedMs) *elapsedMs = clock.elapsed() - 300;
        return reply;
    }
};

using MessageRow = std::tuple<QString, QStringList, QString, QString, QString, int>;
// Messages to a Lúvero set up with key 1234 and the options before, then the key, options and
// installation code a read shows. line >= 0: over the pty too, "P" that many ms after "1".
void messageRow(const char* name, const QStringList& sent, const char* key, const char* options,
                const char* modifier = "0001", int line = -1, const char* before = "000000") {
    QTest::newRow(name) << MessageRow{before, sent, key, options, modifier, line};
}

// code: reply characters 5-6; firmwareDigits: map 3-4
using FactoryRow = std::tuple<QString, int, QByteArray, QString>;
using ModelRow = std::tuple<QString, QString, QStringList, QStringList>;
// start of the first reply, then length and goodness (full length, right checksum) of both
// replies, and the least time the first one took
using FaultRow = std::tuple<QByteArray, int, bool, int, bool, int>;

}  // namespace

// content: null: no file yet
using MemoryKeptRow = std::tuple<QByteArray, bool, QString>;
// writes: data texts, each after "*42"; keys: the key after each
using StuckDigitRow = std::tuple<QString, QStringList, QStringList>;

class TestDevsim : public QObject {
    Q_OBJECT

  private slots:
    // --- Engine ---

    // The row name is the model's option name. The model suite reads the others' images.
    void factoryReply_data() {
        QTest::addColumn<FactoryRow>("row");
        QTest::newRow("sorvanell") << FactoryRow{"12", 138, "04", "0C"};
        QTest::newRow("Quarn") << FactoryRow{"8", 270, "0:", "08"};
        // The Pellitor's reader takes its firmware as two characters as well.
        QTest::newRow("pellitor") << FactoryRow{"15", 270, "02", "15"};
        // Its reader takes characters 7-8 as decimal digits.
        QTest::newRow("tervolinda") << FactoryRow{"72", 140, "08", "72"};
        QTest::newRow("kovalindre") << FactoryRow{"255", 270, "06", "FF"};
    }
    void factoryReply() {
        QFETCH_ROW(FactoryRow, firmware, length, code, firmwareDigits);
        const ModelInfo* info = ModelByOptionName(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(info);
        const QByteArray reply = FactoryImage(*info, firmware).reply().toLatin1();
        QCOMPARE(reply.size(), length);
        QCOMPARE(reply.left(6), "0245" + code);
        for (char c : reply) QVERIFY2(c >= '0' && c <= '?', reply.constData());
        const QString map = mapOf(reply);
        QCOMPARE(map.mid(2, 8), firmwareDigits + "090001");
        QVERIFY(checksumsOk(map));
        if (length == 270)
            QCOMPARE(map.mid(130, 2) + map.mid(258, 2) + map.mid(262, 4),
                     QStringLiteral("456E03FE"));
        else
            QCOMPARE(map.mid(130, 4), QStringLiteral("03FE"));
    }

    // Every character acknowledged but the closing "1" and "P".
    void messages_data() {
        QTest::addColumn<MessageRow>("row");

        const char* n = "000000";
        const QString w = QStringLiteral("*42");
        messageRow("factory", {}, "1234", n, "0001", 0);
        messageRow("P apart", {"*46f2341"}, "1234", n, "0001", 5);
        // Data text: installation code, key, "FF", digits 17-20.
        messageRow("write", {w, "56781050FF3416"}, "1050", "111111", "5678", 0);
        messageRow("hex code", {w, "0A1F9999FF0010"}, "9999", "100000", "0A1F");
        messageRow("write short", {w, "56781050FF341"}, "1234", n);
        messageRow("bad key", {w, "5678AB50FF0000"}, "1234", n);
        messageRow("bad digit", {w, "56781234FF00G0"}, "1234", n);
        messageRow("write given up", {w, "#1,1234,9", "56781050FF3416"}, "1234", "100000");
        // Each single command's option, on its own bit of digits 17-20.
        messageRow("#1 on", {"#1,1234,9"}, "1234", "100000");
        messageRow("#4 on", {"#4,1234,9"}, "1234", "001000", "0001", 0);
        messageRow("#9 on", {"#9,1234,9"}, "1234", "000001");
        messageRow("#3 off keeps #9", {"#3,1234,0"}, "1234", "000001", "0001", -1, "010001");
        messageRow("wrong key", {"#4,1235,9"}, "1234", n, "0001", 0);
        messageRow("unknown code", {"#7,1234,9"}, "1234", n);
        messageRow("value not 9/0", {"#4,1234,1"}, "1234", n);
        messageRow("no value", {"#4,1234"}, "1234", n);
        messageRow("key change", {"#2,1234,5070"}, "5070", "101000", "0001", -1, "101000");
        messageRow("new key too long", {"#2,1234,50701"}, "1234", n);
        messageRow("new key, old one refused", {"#2,1234,5070", "#4,1234,9"}, "5070", n);
        const QStringList changed{w, "98765678FF0416"};  // key 5678, options 110011
        messageRow("factory reset", changed + QStringList{"*49f"}, "1234", n);
        messageRow("key reset", changed + QStringList{"*43f"}, "1234", "110011", "9876");
        messageRow("verify, hang up", changed + QStringList{"*46f5678", "*47f5678"}, "5678",
                   "110011", "9876");
    }
    void messages() {
        QFETCH_ROW(MessageRow, options, sent, key, optionsAfter, modifier, line);

        Device device(luvero(QStringLiteral("1234"), options),
                      FactoryImage(Model(ModelId::Luvero), QStringLiteral("30")), Faults{});
        QSignalSpy acks(&device, &Device::send);
        int characters = 0;
        for (const QString& m : sent) {
            device.receive(framed(m));
            characters += 1 + m.size();
        }
        QCOMPARE(acks.size(), characters);
        QByteArrayList replies{device.memory().reply().toLatin1()};

        Simulator sim;
        if (line >= 0) {
            QVERIFY(sim.start({"--options", options}));
            for (const QString& m : sent) {
                QVERIFY(sim.send(m, line));                    // a "T" for each character
                QCOMPARE(sim.collect(10, 150), QByteArray());  // none for "1" and "P"
            }
            qint64 ms = 0;
            replies << sim.read(&ms);
            QVERIFY2(ms >= 130, qPrintable(QString::number(ms)));  // 138 characters at 9600 baud
        }
        for (const QByteArray& reply : replies) {
            QCOMPARE(reply.size(), 138);
            QVERIFY(reply.startsWith("024500"));
            const QString map = mapOf(reply);
            QVERIFY(checksumsOk(map));
            QCOMPARE(luveroKey(map), key);
            QCOMPARE(luveroOptions(map), optionsAfter);
            QCOMPARE(map.mid(6, 4), modifier);
        }
    }

    // The Sorvanell and Tervolinda engines: what each message leaves at given map positions.
    // Commands they take and writes they store are also driven through the program elsewhere.
    void alertingAndKeyedModels_data() {
        QTest::addColumn<ModelRow>("row");  // expected: "position:digits"
        const QString w = QStringLiteral("*42");
        // clang-format off
        QTest::newRow("Sorvanell factory") << ModelRow{"sorvanell", "12", {}, {"1:040C", "11:01010A020201020A0304", "31:0500000000"}};
        QTest::newRow("Sorvanell write too short") << ModelRow{"sorvanell", "12", {w, "03010*040209080*0706070000000f"}, {"11:01010A0202"}};
        QTest::newRow("Sorvanell flag 1 twice") << ModelRow{"sorvanell", "12", {"1,2,*,3,4,1,f", "1,2,*,3,4,1,f", "1,2,*,3,4,1,f"}, {"33:01"}};
        QTest::newRow("Sorvanell wrong key") << ModelRow{"sorvanell", "12", {"1,2,*,3,5,1,f"}, {"33:00"}};
        QTest::newRow("Sorvanell not separated") << ModelRow{"sorvanell", "12", {"12*341f"}, {"33:00"}};
        QTest::newRow("Sorvanell bad new key") << ModelRow{"sorvanell", "12", {"1,2,*,3,4,3,5,6,7,8,f"}, {"21:01020A0304"}};
        QTest::newRow("Tervolinda factory") << ModelRow{"tervolinda", "72", {}, {"1:0872", "11:0A0A0102030405060708"}};
        QTest::newRow("Tervolinda value 1 refused") << ModelRow{"tervolinda", "72", {"#1,1234,1f"}, {"11:0A"}};
        QTest::newRow("Tervolinda without f") << ModelRow{"tervolinda", "72", {"#1,1234,9"}, {"11:0A"}};
        QTest::newRow("Tervolinda Voz factory") << ModelRow{"tervolinda", "2", {}, {"1:0802", "13:01020304", "21:FF"}};
        QTest::newRow("Tervolinda Voz has no options") << ModelRow{"tervolinda", "2", {"#1,1234,9f"}, {"11:FF"}};
        // clang-format on
    }
    void alertingAndKeyedModels() {
        QFETCH_ROW(ModelRow, model, firmware, sent, expected);
        const ModelInfo& m = *ModelByOptionName(model);
        const MemoryImage factory = FactoryImage(m, firmware);
        Device device(factory, factory, Faults{});
        for (const QString& message : sent) device.receive(framed(message));
        const QString map = mapOf(device.memory().reply().toLatin1());
        QCOMPARE(map.size(), m.replyLength - 4);
        for (const QString& e : expected) {
            const int position = e.section(':', 0, 0).toInt();
            const QString digits = e.section(':', 1);
            QCOMPARE(map.mid(position - 1, digits.size()), digits);
        }
    }

    // The memory file: loaded at start when it exists, saved on SIGTERM or when standard
    // input ends, in its own place or under --save.
    void memoryKept_data() {
        QTest::addColumn<MemoryKeptRow>("row");
        const QByteArray saved = luvero("4321", "000001").digits().toLatin1();
        QTest::newRow("SIGTERM") << MemoryKeptRow{QByteArray(), true, "1234"};
        QTest::newRow("stdin ends") << MemoryKeptRow{QByteArray(), false, "1234"};
        QTest::newRow("lower case, broken lines")
            << MemoryKeptRow{saved.left(60).toLower() + "\n" + saved.mid(60), true, "4321"};
    }
    void memoryKept() {
        QFETCH_ROW(MemoryKeptRow, content, term, key);
        QTemporaryDir dir;
        const QString in = dir.filePath("in.txt");
        const QString out = content.isNull() ? in : dir.filePath("out.txt");
        QStringList args{"--stdin-quit", "--memory", in};
        if (!content.isNull()) {
            QFile file(in);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
            args << "--save" << out;
        }
        Simulator sim;
        QVERIFY(sim.start(args));
        QVERIFY(sim.send(QStringLiteral("#1,%1,9").arg(key)));
        QTest::qWait(50);
        if (term)
            sim.proc.terminate();
        else
            sim.proc.closeWriteChannel();
        QVERIFY(sim.proc.waitForFinished(5000));
        QCOMPARE(sim.proc.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.proc.exitCode(), 0);

        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString map = QString::fromLatin1(file.readAll()).trimmed();
        QCOMPARE(map.size(), 134);
        QVERIFY(checksumsOk(map));
        QCOMPARE(luveroKey(map), key);
        QCOMPARE(luveroOptions(map), content.isNull() ? QStringLiteral("100000") : "100001");
    }

    // A stored digit changed on every write, or on the n-th one the device stored.
    void stuckDigit_data() {
        QTest::addColumn<StuckDigitRow>("row");
        const QString good = QStringLiteral("00011234FF0000");
        const QString bad = QStringLiteral("00011234FF00G0");
        QTest::newRow("every write")
            << StuckDigitRow{"stuck:12", QStringList{good, good}, QStringList{"1334", "1334"}};
        QTest::newRow("second write only") << StuckDigitRow{
            "stuck:12:2", QStringList{good, good, good}, QStringList{"1234", "1334", "1234"}};
        QTest::newRow("a refused write is not counted") << StuckDigitRow{
            "stuck:14:2", QStringList{good, bad, good}, QStringList{"1234", "1234", "1235"}};
        QTest::newRow("beyond the map")
            << StuckDigitRow{"stuck:500", QStringList{good}, QStringList{"1234"}};
    }
    void stuckDigit() {
        QFETCH_ROW(StuckDigitRow, fault, writes, keys);
        Faults faults;
        QString error;
        QVERIFY2(AddFault(fault, &faults, &error), qPrintable(error));
        const MemoryImage factory = FactoryImage(Model(ModelId::Luvero), QStringLiteral("30"));
        Device device(factory, factory, faults);
        QStringList after;
        for (const QString& data : writes) {
            device.receive(framed(QStringLiteral("*42")));
            device.receive(framed(data));
            after << luveroKey(device.memory().digits());
        }
        QCOMPARE(after, keys);
    }

    // Two reads in a row under each fault; the row name is the fault.
    void faults_data() {
        QTest::addColumn<FaultRow>("row");
        QTest::newRow("cut:50") << FaultRow{"024500", 50, false, 50, false, 0};
        // Five "T" for D*40f, so the seventh character sent is the second of the reply.
        QTest::newRow("drop:7") << FaultRow{"045001", 137, false, 138, true, 0};
        QTest::newRow("delay:3") << FaultRow{"024500", 138, true, 138, true, 500};
    }
    void faults() {
        QFETCH_ROW(FaultRow, start, length1, good1, length2, good2, leastMs);
        Simulator sim;
        QVERIFY(sim.start({"--fault", QString::fromLatin1(QTest::currentDataTag())}));
        const auto seen = [](const QByteArray& r) {
            return std::pair(int(r.size()), r.size() == 138 && checksumsOk(mapOf(r)));
        };
        qint64 ms = 0;
        const QByteArray first = sim.read(&ms);
        QCOMPARE(first.left(6), start);
        QCOMPARE(seen(first), std::pair(length1, good1));
        QVERIFY2(ms >= leastMs, qPrintable(QString::number(ms)));
        QCOMPARE(seen(sim.read()), std::pair(length2, good2));
    }
};

QTEST_GUILESS_MAIN(TestDevsim)
#include "test_devsim.moc"
