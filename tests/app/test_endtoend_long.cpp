// Quarn (both variants), Pellitor and Kovalindre on a real serial port: a pseudo-terminal
// served by the device simulator holding a known memory image; every single command of each
// model changes the memory where it should, and a bad reply is dropped without a retry.
#include <QtTest>

#include "session/serial/serialtransport.h"
#include "support/longreplycases.h"
#include "support/simulator.h"

using namespace morla;
using namespace morla::test;

namespace {
// The simulator bench on a known memory of the case's model.
struct LongBench : Bench {
    bool start(const LongCase& c, const QStringList& more = {}) {
        WriteLongConfigs(f.paths());
        if (!sim.start(QStringList{"--model", QString::fromLatin1(c.simName)} + more,
                       KnownImage(c)))
            return false;
        f.load();
        return true;
    }
    bool read() {
        p.main->MorTexResCla->setText(QStringLiteral("9"));
        p.main->MorFraCom03->click();
        return QTest::qWaitFor(
            [&] {
                return p.main->MorTexResCla->text().size() == 5 && !p.main->TimerEC->isActive();
            },
            5000);
    }
};

void put(QString& map, int at, const QString& digits) {
    for (int i = 0; i < digits.size(); ++i) map[at - 1 + i] = digits[i];
}

struct Sent {
    const char* number;
    const char* value;
    const char* index;
    const char* text;
    int at;  // map position changed, and its digits afterwards
    const char* digits;
};
}  // namespace

class TestEndToEndLong : public QObject {
    Q_OBJECT
  private slots:
    void everySingleCommand_data() {
        QTest::addColumn<QString>("model");
        for (const LongCase& c : LongCases()) QTest::newRow(c.name) << c.name;
    }
    void everySingleCommand() {
        QFETCH(QString, model);
        const LongCase& c = LongCaseNamed(model);
        // clang-format off
        static const Sent quarn[] = {
            {"1",  "0",   "",  "#5,13507,0",     20, "6"},
            {"3",  "1",   "",  "#2,13507,9",     17, "3"},
            {"4",  "0",   "",  "#4,13507,0",     17, "1"},
            {"5",  "1",   "",  "#3,13507,9",     18, "4"},
            {"6",  "0",   "",  "#*,13507,0",     20, "2"},
            {"11", "0",   "",  "#0,13507,0",     20, "0"},
            {"12", "200", "",  "#6,13507,200",   29, "020000"},
            {"13", "99",  "",  "#9,13507,99",    35, "000909"},
            {"14", "4444", "2", "#113507,3,4444", 217, "4444F"},
            {"15", "1*#", "9", "#813507,0,1*#",  189, "1BCFFFFFFFFFFFFF"},
            {"15", "77",  "0", "#813507,1,77",   41, "77FFFFFFFFFFFFFF"},
            {"16", "1",   "",  "#713507",        23, "000000"},
        };
        static const Sent pellitor[] = {
            {"1",  "0",   "",  "*213507,0f",       20, "6"},
            {"3",  "1",   "",  "*413507,9f",       17, "3"},
            {"4",  "0",   "",  "*313507,0f",       17, "1"},
            {"6",  "0",   "",  "#413507,0f",       20, "2"},
            {"11", "0",   "",  "*513507,0f",       20, "0"},
            {"12", "5",   "",  "*713507,5f",       37, "000005"},
            {"13", "200", "",  "*9,13507,200f",    49, "020000"},
            {"14", "7",   "",  "*813507,7f",       43, "000007"},
            {"15", "33",  "",  "*013507,33f",      55, "000303"},
            {"16", "6",   "",  "*613507,6f",       22, "6"},
            {"17", "4444", "2", "*113507,3,4444f", 157, "4444F"},
            {"18", "1*#", "3", "#313507,4,1*#f",   109, "1BCFFFFFFFFFFFFF"},
            {"19", "1",   "",  "#113507f",         25, "000000"},
            {"20", "1",   "",  "#213507f",         31, "000000"},
        };
        static const Sent kovalindre[] = {
            {"1",  "0",   "",  "#5,13507,0f",       20, "6"},
            {"3",  "1",   "",  "#2,13507,9f",       17, "3"},
            {"4",  "0",   "",  "#4,13507,0f",       17, "1"},
            {"5",  "1",   "",  "#3,13507,9f",       18, "4"},
            {"6",  "0",   "",  "#*,13507,0f",       20, "2"},
            {"11", "0",   "",  "#0,13507,0f",       20, "0"},
            {"12", "200", "",  "#6,13507,200f",     29, "020000"},
            {"13", "99",  "",  "#9,13507,99f",      35, "000909"},
            {"14", "4444", "7", "#113507,9,4444f",  157, "4444F"},
            {"14", "12",  "23", "#113507,25,12f",   253, "12FFF"},
            {"15", "1*#", "3", "#813507,4,1*#f",    89, "1BCFFFFFFFFFFFFF"},
            {"16", "1",   "",  "#713507f",          23, "000000"},
        };
        // clang-format on
        const bool dolmeth = QString::fromLatin1(c.firmware) == "8";
        std::span<const Sent> table = c.id == ModelId::Quarn ? std::span<const Sent>(quarn)
                                      : c.id == ModelId::Pellitor
                                          ? std::span<const Sent>(pellitor)
                                          : std::span<const Sent>(kovalindre);
        LongBench b;
        QVERIFY(b.start(c));
        Program& p = b.p;
        QVERIFY(b.read());
        QString expected = KnownImage(c);
        int applied = 0;
        for (const Sent& s : table) {
            if (dolmeth && QByteArray(s.number) == "14") continue;  // no keys 2 to 5
            p.s.CommandNumber = QString::fromLatin1(s.number);
            p.s.CommandValue = QString::fromLatin1(s.value);
            p.s.CommandIndex = QString::fromLatin1(s.index);
            p.main->mnuEnviar->trigger();
            QVERIFY(Fire(p.main->TimerPID));
            QTRY_VERIFY2(b.sim.messages().contains(QString::fromLatin1(s.text)), s.text);
            ++applied;
            QTRY_COMPARE(b.sim.applied(), applied);
            put(expected, s.at, QString::fromLatin1(s.digits));
        }
        // The key change last: the device takes the new key from the previous one.
        const QString change = c.id == ModelId::Pellitor     ? "*113507,1,24680f"
                               : c.id == ModelId::Kovalindre ? "#113507,01,24680f"
                               : dolmeth                     ? "#1,13507,,,24680"
                                                             : "#1,13507,1,,24680";
        p.s.PreviousKey = QStringLiteral("13507");
        p.main->MorTexResCla->setText(QStringLiteral("24680"));
        p.s.CommandNumber = QStringLiteral("10");
        p.main->mnuEnviar->trigger();
        QVERIFY(Fire(p.main->TimerPID));
        QTRY_VERIFY2(b.sim.messages().contains(change), qPrintable(change));
        ++applied;
        QTRY_COMPARE(b.sim.applied(), applied);
        put(expected, 11, QStringLiteral("2468A"));
        const int keyAt = c.id == ModelId::Pellitor     ? 145
                          : c.id == ModelId::Kovalindre ? 105
                          : dolmeth                     ? 11
                                                        : 205;
        put(expected, keyAt, QStringLiteral("2468A"));
        b.sim.stop();
        QCOMPARE(b.sim.memory(), WithChecksums(expected));
    }

    void badChecksumThenSilence() {
        const LongCase& c = LongCaseNamed("Kovalindre");
        LongBench b;
        QVERIFY(b.start(c, {"--fault", "badsum:5"}));
        Program& p = b.p;
        p.main->MorFraCom03->click();
        QTRY_COMPARE(p.s.Monitor.MorTexMon04.size(), 270);
        QTest::qWait(100);
        QVERIFY(b.f.msgs.shown.isEmpty());
        QCOMPARE(p.main->MorTexEst->text(), QStringLiteral("Leyendo"));
        QCOMPARE(b.sim.messages().count(QStringLiteral("*40f")), 1);  // no retry
        QVERIFY(Fire(p.main->TimerEC));
        QCOMPARE(b.f.msgs.texts(), QStringList{"Error de Comunicación"});
    }
};

QTEST_MAIN(TestEndToEndLong)
#include "test_endtoend_long.moc"
