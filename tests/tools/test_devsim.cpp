// The device simulator: its engine directly, then the program on a pty driven as the
// MORLA program drives a device (plain POSIX I/O, not the program's transport).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "devsim/device.h"
#include "devsim/image.h"
#include "devsim/models/behaviour.h"
#include "link/codec.h"

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

int digitAt(const QString& map, int position) {
    return map.mid(position - 1, 1).toInt(nullptr, 16);
}

// Lúvero: options 1..6 as "1"/"0", from the bits of map digits 17-20.
QString luveroOptions(const QString& map) {
    const int bits[6][2] = {{19, 1}, {20, 2}, {17, 1}, {17, 2}, {18, 4}, {20, 4}};
    QString out;
    for (const auto& b : bits) out += (digitAt(map, b[0]) & b[1]) ? '1' : '0';
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

class Simulator {
  public:
    ~Simulator() { stop(); }

    bool start(const QStringList& args) {
        proc_.setProgram(qEnvironmentVariable("MORLA_BIN_DIR") + QStringLiteral("/morla_devsim"));
        proc_.setArguments(args);
        proc_.start();
        if (!proc_.waitForStarted(5000)) return false;
        while (!proc_.canReadLine())
            if (!proc_.waitForReadyRead(5000)) return false;
        path_ = QString::fromLocal8Bit(proc_.readLine()).trimmed();
        fd_ = ::open(QFile::encodeName(path_).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd_ < 0) return false;
        termios t{};
        tcgetattr(fd_, &t);
        cfmakeraw(&t);
        return tcsetattr(fd_, TCSANOW, &t) == 0;
    }

    // Stops it the way a technician would (SIGTERM) and waits for the memory to be saved.
    bool stop() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        if (proc_.state() == QProcess::NotRunning) return true;
        proc_.terminate();
        if (proc_.waitForFinished(5000)) return true;
        proc_.kill();
        proc_.waitForFinished(2000);
        return false;
    }

    QProcess& process() { return proc_; }
    const QString& path() const { return path_; }

    void put(const QByteArray& bytes) {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd_, bytes.constData() + done, size_t(bytes.size() - done));
            if (n > 0) done += n;
        }
    }

    // Up to max characters; gives up after waitMs without a new one.
    QByteArray collect(int max, int waitMs) {
        QByteArray out;
        while (out.size() < max) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, waitMs) <= 0) break;
            char buffer[512];
            const ssize_t n = ::read(fd_, buffer, size_t(qMin<qsizetype>(max - out.size(), 512)));
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
        if (closingPauseMs == 0) {
            put("1P");
        } else {
            put("1");
            QThread::msleep(closingPauseMs);
            put("P");
        }
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

  private:
    QProcess proc_;
    QString path_;
    int fd_ = -1;
};

}  // namespace

class TestDevsim : public QObject {
    Q_OBJECT

  private slots:
    void factoryReply_data();
    void factoryReply();
    void luveroSetUp_data();
    void luveroSetUp();
    void messages_data();
    void messages();
    void memoryFile_data();
    void memoryFile();

    void portLink();
    void framing_data();
    void framing();
    void readReply_data();
    void readReply();
    void lineMessages_data();
    void lineMessages();
    void memorySavedOnStop_data();
    void memorySavedOnStop();
    void faults_data();
    void faults();
};

// --- Engine ---

void TestDevsim::factoryReply_data() {
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<int>("length");
    QTest::addColumn<QByteArray>("code");         // reply characters 5-6
    QTest::addColumn<QString>("firmwareDigits");  // map 3-4

    // clang-format off
    QTest::newRow("luvero")       << "luvero"       << "30"  << 138 << QByteArray("00") << "1E";
    QTest::newRow("sorvanell")    << "sorvanell"    << "12"  << 138 << QByteArray("04") << "0C";
    QTest::newRow("zentavira")    << "zentavira"    << "30"  << 270 << QByteArray("05") << "1E";
    QTest::newRow("haldrivonexa") << "haldrivonexa" << "30"  << 138 << QByteArray("03") << "1E";
    QTest::newRow("quarn")        << "Quarn"        << "8"   << 270 << QByteArray("0:") << "08";
    QTest::newRow("pellitor")     << "pellitor"     << "15"  << 270 << QByteArray("02") << "0F";
    // Its reader takes characters 7-8 as decimal digits.
    QTest::newRow("tervolinda")   << "tervolinda"   << "72"  << 140 << QByteArray("08") << "72";
    QTest::newRow("kovalindre")   << "kovalindre"   << "255" << 270 << QByteArray("06") << "FF";
    // clang-format on
}

void TestDevsim::factoryReply() {
    QFETCH(QString, model);
    QFETCH(QString, firmware);
    QFETCH(int, length);
    QFETCH(QByteArray, code);
    QFETCH(QString, firmwareDigits);

    const ModelInfo* info = ModelByOptionName(model);
    QVERIFY(info);
    const QByteArray reply = FactoryImage(*info, firmware).reply().toLatin1();
    QCOMPARE(reply.size(), length);
    QCOMPARE(reply.left(6), "0245" + code);
    for (char c : reply) QVERIFY2(c >= '0' && c <= '?', reply.constData());
    const QString map = mapOf(reply);
    QCOMPARE(map.mid(2, 8), firmwareDigits + "090001");
    QVERIFY(checksumsOk(map));
    if (length == 270)
        QCOMPARE(map.mid(130, 2) + map.mid(258, 2) + map.mid(262, 4), QStringLiteral("456E03FE"));
    else
        QCOMPARE(map.mid(130, 4), QStringLiteral("03FE"));
}

void TestDevsim::luveroSetUp_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("digits");  // map 11-22, or "" when refused

    // Option by option placement is checked through the single commands below.
    // clang-format off
    QTest::newRow("all, zeros in key") << "1050" << "111111"  << "1A5A6634166E";
    QTest::newRow("short options")     << ""     << "1"       << "12346600106E";
    QTest::newRow("key too short")     << "123"  << ""        << "";
    QTest::newRow("key not digits")    << "12a4" << ""        << "";
    QTest::newRow("seven options")     << ""     << "1111111" << "";
    QTest::newRow("option not a bit")  << ""     << "102000"  << "";
    // clang-format on
}

void TestDevsim::luveroSetUp() {
    QFETCH(QString, key);
    QFETCH(QString, options);
    QFETCH(QString, digits);

    MemoryImage image = FactoryImage(Model(ModelId::Luvero), QStringLiteral("30"));
    const Result r = kLuveroBehaviour.setUp(image, key, options);
    QCOMPARE(r.outcome == Outcome::Applied, !digits.isEmpty());
    if (digits.isEmpty()) return;
    QCOMPARE(image.mid(11, 12), digits);
    QVERIFY(checksumsOk(mapOf(image.reply().toLatin1())));
}

void TestDevsim::messages_data() {
    QTest::addColumn<QString>("options");  // set up with key 1234
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QString>("keyAfter");
    QTest::addColumn<QString>("optionsAfter");
    QTest::addColumn<QString>("modifierAfter");

    using L = QStringList;
    const QString none = QStringLiteral("000000");
    const QString w = QStringLiteral("*42");
    const L changed{w, "98765678FF0416"};  // key 5678, options 110011
    // Data text: installation code, key, "FF", digits 17-20.
    // clang-format off
    QTest::newRow("write")        << none << L{w, "56781050FF3416"} << "1050" << "111111" << "5678";
    QTest::newRow("hex code")     << none << L{w, "0A1F9999FF0010"} << "9999" << "100000" << "0A1F";
    QTest::newRow("write short")  << none << L{w, "56781050FF341"}  << "1234" << none << "0001";
    QTest::newRow("bad key")      << none << L{w, "5678AB50FF0000"} << "1234" << none << "0001";
    QTest::newRow("bad digit")    << none << L{w, "56781234FF00G0"} << "1234" << none << "0001";
    QTest::newRow("write given up for a command")
        << none << L{w, "#1,1234,9", "56781050FF3416"} << "1234" << "100000" << "0001";

    QTest::newRow("#1 on")           << none     << L{"#1,1234,9"} << "1234" << "100000" << "0001";
    QTest::newRow("#3 on")           << none     << L{"#3,1234,9"} << "1234" << "010000" << "0001";
    QTest::newRow("#4 on")           << none     << L{"#4,1234,9"} << "1234" << "001000" << "0001";
    QTest::newRow("#5 on")           << none     << L{"#5,1234,9"} << "1234" << "000100" << "0001";
    QTest::newRow("#6 on")           << none     << L{"#6,1234,9"} << "1234" << "000010" << "0001";
    QTest::newRow("#9 on")           << none     << L{"#9,1234,9"} << "1234" << "000001" << "0001";
    QTest::newRow("#1 off")          << "111111" << L{"#1,1234,0"} << "1234" << "011111" << "0001";
    QTest::newRow("#3 off keeps #9") << "010001" << L{"#3,1234,0"} << "1234" << "000001" << "0001";
    QTest::newRow("wrong key")       << none     << L{"#4,1235,9"} << "1234" << none     << "0001";
    QTest::newRow("unknown code")    << none     << L{"#7,1234,9"} << "1234" << none     << "0001";
    QTest::newRow("value not 9/0")   << none     << L{"#4,1234,1"} << "1234" << none     << "0001";
    QTest::newRow("no value")        << none     << L{"#4,1234"}   << "1234" << none     << "0001";
    QTest::newRow("key change") << "101000" << L{"#2,1234,5070"} << "5070" << "101000" << "0001";
    QTest::newRow("new key, bad key") << none << L{"#2,4321,5070"}  << "1234" << none << "0001";
    QTest::newRow("new key too long") << none << L{"#2,1234,50701"} << "1234" << none << "0001";
    QTest::newRow("new key, old one refused")
        << none << L{"#2,1234,5070", "#4,1234,9"} << "5070" << none << "0001";

    QTest::newRow("factory reset") << none << changed + L{"*49f"} << "1234" << none     << "0001";
    QTest::newRow("key reset")     << none << changed + L{"*43f"} << "1234" << "110011" << "9876";
    QTest::newRow("verify, hang up")
        << none << changed + L{"*46f5678", "*47f5678"} << "5678" << "110011" << "9876";
    // clang-format on
}

void TestDevsim::messages() {
    QFETCH(QString, options);
    QFETCH(QStringList, sent);
    QFETCH(QString, keyAfter);
    QFETCH(QString, optionsAfter);
    QFETCH(QString, modifierAfter);

    Device device(luvero(QStringLiteral("1234"), options),
                  FactoryImage(Model(ModelId::Luvero), QStringLiteral("30")), Faults{});
    QSignalSpy acks(&device, &Device::send);
    int characters = 0;
    for (const QString& m : sent) {
        device.receive(framed(m));
        characters += 1 + m.size();
    }
    // One "T" for D and for each message character, none for the closing "1" and "P".
    QCOMPARE(acks.size(), characters);
    const QString map = mapOf(device.memory().reply().toLatin1());
    QCOMPARE(luveroKey(map), keyAfter);
    QCOMPARE(luveroOptions(map), optionsAfter);
    QCOMPARE(map.mid(6, 4), modifierAfter);
}

void TestDevsim::memoryFile_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("ok");

    const QByteArray good = FactoryImage(Model(ModelId::Luvero), "30").digits().toLatin1();
    QTest::newRow("as saved") << good + "\n" << true;
    QTest::newRow("lower case, broken lines")
        << good.left(60).toLower() + "\n" + good.mid(60) << true;
    QTest::newRow("one digit short") << good.left(133) << false;
    QTest::newRow("not hex") << good.left(133) + "G" << false;
}

void TestDevsim::memoryFile() {
    QFETCH(QByteArray, content);
    QFETCH(bool, ok);
    QTemporaryDir dir;
    QFile file(dir.filePath("memory.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    QString digits, error;
    QCOMPARE(LoadImage(file.fileName(), Model(ModelId::Luvero), &digits, &error), ok);
    if (ok) QCOMPARE(digits, FactoryImage(Model(ModelId::Luvero), "30").digits());
}

// --- The program on its pty ---

void TestDevsim::portLink() {
    QTemporaryDir folder;
    QFile::link("/nonexistent", folder.filePath("COM3"));  // an old link is replaced
    Simulator sim;
    QVERIFY(sim.start({"--link", folder.path(), "--port", "3"}));
    QCOMPARE(QFileInfo(folder.filePath("COM3")).symLinkTarget(), sim.path());
    QVERIFY(sim.stop());
    QVERIFY(!QFileInfo(folder.filePath("COM3")).isSymLink());
}

void TestDevsim::framing_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("closingPauseMs");
    QTest::newRow("verify") << "*46f2345" << 0;
    QTest::newRow("ones inside") << "*46f1111" << 0;
    QTest::newRow("one last") << "*47f2341" << 0;
    QTest::newRow("single command") << "#4,1234,9" << 0;
    QTest::newRow("P written apart") << "*46f2341" << 5;
}

// Every character up to the message's last gets its "T", the closing "1" and "P" none.
void TestDevsim::framing() {
    QFETCH(QString, message);
    QFETCH(int, closingPauseMs);
    Simulator sim;
    QVERIFY(sim.start({}));
    QVERIFY(sim.send(message, closingPauseMs));
    QCOMPARE(sim.collect(10, 150), QByteArray());
    QVERIFY(sim.send(QStringLiteral("*46f2345")));  // ready for the next one
}

void TestDevsim::readReply_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("framedRead");
    QTest::addColumn<QString>("firmwareDigits");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("options");

    // clang-format off
    QTest::newRow("factory") << QStringList{} << true << "1E" << "1234" << "000000";
    QTest::newRow("known device")
        << QStringList{"--firmware", "31", "--key", "1050", "--options", "101001"}
        << true << "1F" << "1050" << "101001";
    // The program's read retry writes the command in one piece, unframed.
    QTest::newRow("unframed read")
        << QStringList{"--options", "010110"} << false << "1E" << "1234" << "010110";
    // clang-format on
}

void TestDevsim::readReply() {
    QFETCH(QStringList, args);
    QFETCH(bool, framedRead);
    QFETCH(QString, firmwareDigits);
    QFETCH(QString, key);
    QFETCH(QString, options);

    Simulator sim;
    QVERIFY(sim.start(args));
    qint64 ms = 0;
    QByteArray reply;
    if (framedRead) {
        reply = sim.read(&ms);
    } else {
        sim.put("*40f");
        reply = sim.collect(300, 300);
    }
    QCOMPARE(reply.size(), 138);
    QVERIFY(reply.startsWith("024500"));
    const QString map = mapOf(reply);
    QCOMPARE(map.mid(2, 2), firmwareDigits);
    QVERIFY(checksumsOk(map));
    QCOMPARE(luveroKey(map), key);
    QCOMPARE(luveroOptions(map), options);
    if (framedRead) QVERIFY2(ms >= 130, qPrintable(QString::number(ms)));  // 138 at 9600 baud
}

void TestDevsim::lineMessages_data() {
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("modifier");

    using L = QStringList;
    // clang-format off
    QTest::newRow("write, all on")  << L{"*42", "00011050FF3416"} << "1050" << "111111" << "0001";
    QTest::newRow("write, all off") << L{"*42", "77779911FF0000"} << "9911" << "000000" << "7777";
    QTest::newRow("#4: option 3")   << L{"#4,1234,9"}             << "1234" << "001000" << "0001";
    QTest::newRow("wrong key")      << L{"#4,4321,9"}             << "1234" << "000000" << "0001";
    // clang-format on
}

void TestDevsim::lineMessages() {
    QFETCH(QStringList, sent);
    QFETCH(QString, key);
    QFETCH(QString, options);
    QFETCH(QString, modifier);

    Simulator sim;
    QVERIFY(sim.start({"--key", "1234"}));
    for (const QString& m : sent) QVERIFY(sim.send(m));
    const QString map = mapOf(sim.read());
    QCOMPARE(map.size(), 134);
    QVERIFY(checksumsOk(map));
    QCOMPARE(luveroKey(map), key);
    QCOMPARE(luveroOptions(map), options);
    QCOMPARE(map.mid(6, 4), modifier);
}

void TestDevsim::memorySavedOnStop_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("startFromFile");
    QTest::newRow("SIGTERM") << "term" << false;
    QTest::newRow("SIGINT") << "int" << false;
    QTest::newRow("stdin ends") << "stdin" << false;
    QTest::newRow("loaded, saved elsewhere") << "term" << true;
}

void TestDevsim::memorySavedOnStop() {
    QFETCH(QString, how);
    QFETCH(bool, startFromFile);

    QTemporaryDir dir;
    const QString in = dir.filePath("in.txt");
    const QString out = dir.filePath("out.txt");
    QStringList args{"--stdin-quit", "--memory", startFromFile ? in : out};
    const QString key = startFromFile ? QStringLiteral("4321") : QStringLiteral("1234");
    if (startFromFile) {
        QString error;
        QVERIFY(SaveImage(in, luvero(key, QStringLiteral("000001")), &error));
        args << "--save" << out;
    }

    Simulator sim;
    QVERIFY(sim.start(args));
    QVERIFY(sim.send(QStringLiteral("#1,%1,9").arg(key)));
    QTest::qWait(50);
    QProcess& p = sim.process();
    if (how == "term")
        p.terminate();
    else if (how == "int")
        ::kill(pid_t(p.processId()), SIGINT);
    else
        p.closeWriteChannel();
    QVERIFY(p.waitForFinished(5000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);

    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString map = QString::fromLatin1(file.readAll()).trimmed();
    QCOMPARE(map.size(), 134);
    QVERIFY(checksumsOk(map));
    QCOMPARE(luveroKey(map), key);
    QCOMPARE(luveroOptions(map), startFromFile ? QStringLiteral("100001") : "100000");
}

void TestDevsim::faults_data() {
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<int>("length1");  // of the first reply
    QTest::addColumn<bool>("good1");   // full length and right checksum
    QTest::addColumn<int>("length2");
    QTest::addColumn<bool>("good2");
    QTest::addColumn<int>("leastMs");  // the first reply took at least this long

    QTest::newRow("none") << QStringList{} << 138 << true << 138 << true << 130;
    QTest::newRow("badsum:1") << QStringList{"badsum:1"} << 138 << false << 138 << true << 0;
    QTest::newRow("badsum:2") << QStringList{"badsum:2"} << 138 << false << 138 << false << 0;
    QTest::newRow("corrupt:20") << QStringList{"corrupt:20"} << 138 << false << 138 << true << 0;
    QTest::newRow("cut:50") << QStringList{"cut:50"} << 50 << false << 50 << false << 0;
    // Five "T" for D*40f, so the tenth character sent is the fifth of the reply.
    QTest::newRow("drop:10") << QStringList{"drop:10"} << 137 << false << 138 << true << 0;
    QTest::newRow("silent") << QStringList{"silent"} << 0 << false << 0 << false << 0;
    QTest::newRow("delay:3") << QStringList{"delay:3"} << 138 << true << 138 << true << 500;
    QTest::newRow("combined") << QStringList{"badsum:1", "cut:100"} << 100 << false << 100 << false
                              << 0;
}

void TestDevsim::faults() {
    QFETCH(QStringList, faults);
    QFETCH(int, length1);
    QFETCH(bool, good1);
    QFETCH(int, length2);
    QFETCH(bool, good2);
    QFETCH(int, leastMs);

    QStringList args;
    for (const QString& f : faults) args << "--fault" << f;
    Simulator sim;
    QVERIFY(sim.start(args));
    const auto good = [](const QByteArray& r) { return r.size() == 138 && checksumsOk(mapOf(r)); };

    qint64 ms = 0;
    const QByteArray first = sim.read(&ms);
    QCOMPARE(first.size(), length1);
    QCOMPARE(good(first), good1);
    if (leastMs > 0) QVERIFY2(ms >= leastMs, qPrintable(QString::number(ms)));
    const QByteArray second = sim.read();
    QCOMPARE(second.size(), length2);
    QCOMPARE(good(second), good2);
}

QTEST_GUILESS_MAIN(TestDevsim)
#include "test_devsim.moc"
