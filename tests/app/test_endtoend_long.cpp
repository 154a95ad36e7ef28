// Quarn (both variants), Pellitor and Kovalindre on a real serial port: a pseudo-terminal
// served by the device simulator holding a known memory image.
#include <QComboBox>
#include <QtTest>

#include "link/serial/serialtransport.h"
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

QLineEdit* box(Program& p, const char* name) {
    return p.main->findChild<QLineEdit*>(QLatin1String(name));
}

// Boxes of one kind on each model.
struct Boxes {
    const char *counter, *duration, *memory1, *key2;
    int counterAt, durationAt, memory1At, key2At;
};
Boxes boxesOf(const LongCase& c) {
    switch (c.id) {
        case ModelId::Quarn:
            return {"MorTexFlhCon",
                    "MorTexFlhDurP",
                    "MorTexFlhNumTel01",
                    "MorTexFlhClv01",
                    23,
                    29,
                    57,
                    211};
        case ModelId::Pellitor:
            return {"MorTexConSMC",
                    "MorTexConSMT",
                    "MorTexConNumTel01",
                    "MorTexConClv01",
                    25,
                    49,
                    77,
                    151};
        default:
            return {"MorTxtMulClvCon",
                    "MorTxtMulClvDurP",
                    "MorTexMulClvNumTel01",
                    "MorTxtMulClvClv00",
                    23,
                    29,
                    57,
                    111};
    }
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
    void readWriteAndReadAgain_data() {
        QTest::addColumn<QString>("model");
        for (const LongCase& c : LongCases()) QTest::newRow(c.name) << c.name;
    }
    void readWriteAndReadAgain() {
        QFETCH(QString, model);
        const LongCase& c = LongCaseNamed(model);
        LongBench b;
        QVERIFY(b.start(c));
        Program& p = b.p;
        QVERIFY(b.read());
        QVERIFY2(b.f.msgs.shown.isEmpty(), qPrintable(b.f.msgs.texts().join('|')));
        QCOMPARE(p.main->MorTexResCla->text(), QStringLiteral("13507"));
        QCOMPARE(p.main->MorTexBan->text(), QStringLiteral("100101"));
        const Boxes x = boxesOf(c);
        const bool dolmeth = QString::fromLatin1(c.firmware) == "8";

        // One field of each kind.
        p.main->MorChkRes[2]->setChecked(true);
        box(p, x.counter)->setText(QStringLiteral("123"));
        box(p, x.duration)->setText(QStringLiteral("200"));
        box(p, x.memory1)->setText(QStringLiteral("#0*9"));
        if (!dolmeth) box(p, x.key2)->setText(QStringLiteral("77707"));
        auto* list = p.main->findChild<QComboBox*>(QStringLiteral("MorComConDLL"));
        if (c.id == ModelId::Pellitor) list->setCurrentIndex(list->findText(QStringLiteral("5")));

        p.main->MorFraCom04->click();
        QTRY_VERIFY(b.sim.messages().contains(QStringLiteral("*42")));
        QVERIFY(Fire(p.main->TimerPID));
        const QString data = p.s.SendData;
        QTRY_VERIFY_WITH_TIMEOUT(b.sim.messages().contains(data), 10000);
        QTRY_COMPARE(b.sim.applied(), 1);

        QVERIFY(b.read());
        QVERIFY2(b.f.msgs.shown.isEmpty(), qPrintable(b.f.msgs.texts().join('|')));
        QCOMPARE(p.main->MorTexResCla->text(), QStringLiteral("13507"));
        QCOMPARE(p.main->MorTexBan->text(), QStringLiteral("101101"));
        QCOMPARE(box(p, x.counter)->text(), QStringLiteral("123"));
        QCOMPARE(box(p, x.duration)->text(), QStringLiteral("200"));
        QCOMPARE(box(p, x.memory1)->text(), QStringLiteral("#0*9"));
        if (!dolmeth) QCOMPARE(box(p, x.key2)->text(), QStringLiteral("77707"));
        if (c.id == ModelId::Pellitor) QCOMPARE(list->currentText(), QStringLiteral("5"));

        // The device's memory: the known image with the changes, and values as the panel
        // showed them (a counter digit "A" back as "0").
        QString expected = KnownImage(c);
        put(expected, 17, QStringLiteral("3"));
        put(expected, x.counterAt, QStringLiteral("010203"));
        put(expected, x.durationAt, QStringLiteral("020000"));
        put(expected, x.memory1At, QStringLiteral("CAB9FFFFFFFFFFFF"));
        if (!dolmeth) put(expected, x.key2At, QStringLiteral("777A7F"));
        if (c.id == ModelId::Pellitor) {
            put(expected, 22, QStringLiteral("5"));
            put(expected, 31, QStringLiteral("000304"));
            // Allowed calls come from the configuration, never from a read.
            put(expected, 37, QStringLiteral("000400"));
            put(expected, 43, QStringLiteral("000200"));
        }
        b.sim.stop();
        QCOMPARE(b.sim.memory(), WithChecksums(expected));
    }

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
