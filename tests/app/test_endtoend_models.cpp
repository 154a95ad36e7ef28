// Every model's single commands through the program on a real port served by the device
// simulator: each sent as the technician sends it, the device read again and its memory
// checked afterwards; the Tervolinda's fields written one at a time; the key changes.
#include <QtTest>

#include "core/codec/codec.h"
#include "gui/device/commands.h"
#include "support/fieldtest.h"
#include "support/longreplycases.h"
#include "support/simulator.h"
#include "support/units.h"

using namespace morla;
using namespace morla::test;

namespace {
// A one-block memory image: the fields from position 1, "F" fill, the checksum, the trailer.
QString image(const QString& fields, int length) {
    const QString block = fields.leftJustified(128, 'F');
    return (block + FrameChecksum(block) + QStringLiteral("03FE")).leftJustified(length, 'F');
}
QString sorvanellImage(const QString& programming, const QString& key, const QString& alert,
                       const QString& options, const QString& count) {
    return image(QStringLiteral("040C090001") + programming + key + alert + options + count, 134);
}
QString tervolindaImage(bool voice, const QString& options, const QString& key,
                        const QString& exit) {
    return voice ? image(QStringLiteral("0802090001FF") + key, 136)
                 : image(QStringLiteral("0872090001") + options + key + exit, 136);
}

// The program on the simulator `started`, with every model's configuration file, after a read.
bool ready(Bench& b, bool started) {
    for (const UnitCase& c : UnitCases()) WriteModelConfig(b.f, c.info(), c.configured());
    WriteLongConfigs(b.f.paths());
    if (!started) return false;
    b.f.load();
    return b.read();
}

QString text(Program& p, const char* name) {
    auto* box = Named<QLineEdit>(p, QLatin1String(name));
    return box ? box->text() : QStringLiteral("<missing>");
}

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

const QString applied = QStringLiteral("applied");
}  // namespace

class TestEndToEndModels : public QObject {
    Q_OBJECT
  private slots:
    void sorvanellSingleCommands() {
        Bench b;
        QVERIFY(ready(
            b, b.sim.start({"--model", "sorvanell"},
                           sorvanellImage("01010A0202", "01020A0304", "05", "41", "020A00"))));
        QCOMPARE(b.send("1", "0", "1,2,*,3,4,1,f"), applied);
        QCOMPARE(b.send("4", "1", "1,2,*,3,4,7,f"), applied);
        QCOMPARE(b.send("7", "1", "1,2,*,3,4,5,f"), applied);
        QCOMPARE(b.send("11", "1", "1,2,*,3,4,8,f"), applied);
        QCOMPARE(b.send("12", "0", "1,2,*,3,4,9,f"), applied);
        Named<QLineEdit>(b.p, "MorTxtAleAut")->setText(QStringLiteral("55*66"));
        QCOMPARE(b.send("13", "55*66", "1,2,*,3,4,2,5,5,*,6,6,f"), applied);
        Named<QLineEdit>(b.p, "MorTxtAleDigAler")->setText(QStringLiteral("#"));
        QCOMPARE(b.send("14", "#", "1,2,*,3,4,6,#,f"), applied);
        QCOMPARE(b.changeKey("21*43", "1,2,*,3,4,3,2,1,*,4,3,f"), applied);
        QCOMPARE(b.send("12", "1", "2,1,*,4,3,9,f"), applied);

        QVERIFY(b.read());
        QCOMPARE(b.p.main->MorTexResCla->text(), QStringLiteral("21*43"));
        QCOMPARE(text(b.p, "MorTxtAleAut"), QStringLiteral("55*66"));
        QCOMPARE(text(b.p, "MorTxtAleDigAler"), QStringLiteral("#"));
        QCOMPARE(b.p.main->MorTexBan->text(), QStringLiteral("0001001"));
        QVERIFY(Named<QCheckBox>(b.p, "MorChkAleTono")->isChecked());
        QVERIFY(Named<QCheckBox>(b.p, "MorChkAleBlqGrb")->isChecked());
        b.sim.stop();
        QCOMPARE(b.sim.memory(), sorvanellImage("05050A0606", "02010A0403", "0C", "78", "020A00"));
    }

    // The fields one at a time; the key change, and the next message with the new key.
    void tervolinda() {
        for (const bool voice : {false, true}) {
            Bench b;
            QVERIFY(
                ready(b, b.sim.start({"--model", "tervolinda", "--firmware", voice ? "2" : "72"},
                                     tervolindaImage(voice, "0A09", "01020304", "05060708"))));
            QCOMPARE(Named<QLabel>(b.p, "MorLblPrivIdent")->text(), voice ? "Con Voz" : "Sin Voz");
            QCOMPARE(b.p.main->MorTexResCla->text(), QStringLiteral("1234"));
            auto* removal = Named<QCheckBox>(b.p, "MorFraPrivElim1");
            auto* nine = Named<QCheckBox>(b.p, "MorFraPrivNum9");
            auto* exit = Named<QLineEdit>(b.p, "MorTxtPrivClvSal");
            if (!voice) {
                QCOMPARE(exit->text(), QStringLiteral("5678"));
                QVERIFY(!removal->isChecked());
                QVERIFY(nine->isChecked());
                QVERIFY(b.show());
                // Each box set with the left button, then sent from its right press.
                QTest::mouseClick(removal, Qt::LeftButton, {}, QPoint(6, removal->height() / 2));
                QCOMPARE(b.sendFrom("MorFraPrivElim1", "#1,1234,9f"), applied);
                QTest::mouseClick(nine, Qt::LeftButton, {}, QPoint(6, nine->height() / 2));
                QCOMPARE(b.sendFrom("MorFraPrivNum9", "#5,1234,0f"), applied);
                exit->setText(QStringLiteral("2580"));
                QCOMPARE(b.sendFrom("MorTxtPrivClvSal", "#3,1234,2580f"), applied);
            }
            QCOMPARE(b.changeKey("4321", "#2,1234,4321f"), applied);
            QCOMPARE(b.p.main->MorTexResCla->text(), QStringLiteral("4321"));
            if (voice) {
                b.p.main->MorFraCom02->click();
                QVERIFY(Fire(b.p.main->TimerPID));
                QTRY_VERIFY(b.sim.logLines().join('\n').contains(
                    QStringLiteral("verify with key \"4321\" (the device key)")));
            } else {
                QCOMPARE(b.send("12", "1", "#1,4321,9f"), applied);
            }

            b.p.main->MorTexResCla->setText(QStringLiteral("9"));
            exit->clear();
            QVERIFY(b.read());
            QCOMPARE(b.p.main->MorTexResCla->text(), QStringLiteral("4321"));
            if (!voice) {
                QCOMPARE(exit->text(), QStringLiteral("2580"));
                QVERIFY(removal->isChecked());
                QVERIFY(!nine->isChecked());
            }
            b.sim.stop();
            QCOMPARE(b.sim.memory(), tervolindaImage(voice, "090A", "04030201", "0205080A"));
        }
    }

    // Every single command of the table sent from its control's menu, the device read again,
    // "Borrar Memorias" and the key change.
    void zentaviraSingleCommands() {
        Bench b;
        QVERIFY(ready(b, UnitNamed("Zentavira").start(b.sim)));
        Named<QCheckBox>(b.p, "MorChkRes01")->setChecked(false);
        Named<QCheckBox>(b.p, "MorChkRes02")->setChecked(true);
        Named<QCheckBox>(b.p, "MorChkRes06")->setChecked(true);
        Named<QCheckBox>(b.p, "MorChkUniLib")->setChecked(true);
        Named<QLineEdit>(b.p, "MorTexUniDurP")->setText(QStringLiteral("1"));
        Named<QLineEdit>(b.p, "MorTexUniDurL")->setText(QStringLiteral("250"));
        Named<QLineEdit>(b.p, "MorTexUniCon")->setText(QStringLiteral("0#"));
        Named<QLineEdit>(b.p, "MorTxtUniMe403")->setText(QStringLiteral("*0"));
        Named<QLineEdit>(b.p, "MorTxtUniMe1609")->setText(QStringLiteral("55#"));
        const QList<QPair<const char*, const char*>> commands{
            {"MorChkRes01", "#24,5031,0"},        {"MorChkRes02", "#25,5031,9"},
            {"MorChkRes06", "#26,5031,9"},        {"MorChkUniLib", "#28,5031,9"},
            {"MorTexUniDurP", "#21,5031,1"},      {"MorTexUniDurL", "#22,5031,250"},
            {"MorTexUniCon", "#23,5031,0,#,F"},   {"MorTxtUniMe403", "#275031,03,*0"},
            {"MorTxtUniMe1609", "#275031,23,55#"}};
        for (const auto& [name, command] : commands)
            QCOMPARE(b.sendFrom(QLatin1String(name), QLatin1String(command)), applied);

        QVERIFY(b.read());
        QCOMPARE(b.p.main->MorTexBan->text(), QStringLiteral("0111"));
        QCOMPARE(text(b.p, "MorTexUniDurP"), QStringLiteral("001"));
        QCOMPARE(text(b.p, "MorTexUniDurL"), QStringLiteral("250"));
        QCOMPARE(text(b.p, "MorTexUniCon"), QStringLiteral("0#"));
        QCOMPARE(text(b.p, "MorTxtUniMe403"), QStringLiteral("*0"));
        QCOMPARE(text(b.p, "MorTxtUniMe1609"), QStringLiteral("55#"));

        QCOMPARE(b.sendFrom("MorCmdUniBor", "#305031"), applied);
        QCOMPARE(b.changeKey("6789", "#205031,6789"), applied);
        QVERIFY(b.read());
        QCOMPARE(b.p.main->MorTexResCla->text(), QStringLiteral("6789"));
        QCOMPARE(text(b.p, "MorTxtUniMe400"), QString());
        QCOMPARE(text(b.p, "MorTxtUniMe1602"), QString());
    }

    // Every option and box flipped from what the device holds, then sent one by one.
    void haldrivonexaSingleCommands() {
        Bench b;
        QVERIFY(ready(b, UnitNamed("Haldrivonexa").start(b.sim)));
        QList<QPair<QString, QString>> commands;
        using fieldtest::Element;
        const char* optionCodes[] = {"#50", "#52", "#64", "#53", "#71", "#54"};
        for (int k = 0; k < 6; ++k)
            commands << qMakePair(Element("MorChkRes", k + 1), QString::fromLatin1(optionCodes[k]));
        for (int k = 0; k < 9; ++k)
            commands << qMakePair(Element("MorChkMultResNum0XX", k),
                                  QStringLiteral("#%1").arg(41 + k));
        const int longCodes[] = {51, 55, 58, 61, 62, 63};
        for (int k = 0; k < 6; ++k)
            commands << qMakePair(Element("MorChkMultResLarDis", k),
                                  QStringLiteral("#%1").arg(longCodes[k]));
        QString expectedBoxes;
        for (auto& [name, code] : commands) {
            auto* box = Named<QCheckBox>(b.p, name);
            QVERIFY2(box, qPrintable(name));
            box->setChecked(!box->isChecked());
            code += QStringLiteral(",2050,") + (box->isChecked() ? "9" : "0");
            expectedBoxes += box->isChecked() ? '1' : '0';
        }
        Named<QLineEdit>(b.p, "MorTexMultDurP")->setText(QStringLiteral("1"));
        Named<QLineEdit>(b.p, "MorTexMultDurL")->setText(QStringLiteral("99"));
        Named<QLineEdit>(b.p, "MorTexMultCon")->setText(QStringLiteral("9*0"));
        commands << qMakePair(QStringLiteral("MorTexMultDurP"), QStringLiteral("#21,2050,1"))
                 << qMakePair(QStringLiteral("MorTexMultDurL"), QStringLiteral("#22,2050,99"))
                 << qMakePair(QStringLiteral("MorTexMultCon"), QStringLiteral("#23,2050,9,*,0"));
        for (const auto& [name, command] : commands) QCOMPARE(b.sendFrom(name, command), applied);

        QVERIFY(b.read());
        QString shown;
        for (int i = 0; i < 21; ++i)
            shown += Named<QCheckBox>(b.p, commands[i].first)->isChecked() ? '1' : '0';
        QCOMPARE(shown, expectedBoxes);
        QCOMPARE(text(b.p, "MorTexMultDurP"), QStringLiteral("001"));
        QCOMPARE(text(b.p, "MorTexMultDurL"), QStringLiteral("099"));
        QCOMPARE(text(b.p, "MorTexMultCon"), QStringLiteral("9*0"));

        QCOMPARE(b.changeKey("4321", "#20,2050,4321"), applied);
        QVERIFY(b.read());
        QCOMPARE(b.p.main->MorTexResCla->text(), QStringLiteral("4321"));
    }

    // Each command changes the memory where it should; the key change last, from the previous
    // key.
    void longReplySingleCommands_data() {
        QTest::addColumn<QString>("model");
        for (const LongCase& c : LongCases()) QTest::newRow(c.name) << c.name;
    }
    void longReplySingleCommands() {
        QFETCH(QString, model);
        const LongCase& c = LongCaseNamed(model);
        // clang-format off
        // The Kovalindre's messages end in an "f"; the rest are as the Quarn's.
        static const Sent common[] = {
            {"1",  "0",   "",  "#5,13507,0",     20, "6"},
            {"3",  "1",   "",  "#2,13507,9",     17, "3"},
            {"4",  "0",   "",  "#4,13507,0",     17, "1"},
            {"5",  "1",   "",  "#3,13507,9",     18, "4"},
            {"6",  "0",   "",  "#*,13507,0",     20, "2"},
            {"11", "0",   "",  "#0,13507,0",     20, "0"},
            {"12", "200", "",  "#6,13507,200",   29, "020000"},
            {"13", "99",  "",  "#9,13507,99",    35, "000909"},
            {"16", "1",   "",  "#713507",        23, "000000"},
        };
        static const Sent quarn[] = {
            {"14", "4444", "2", "#113507,3,4444", 217, "4444F"},
            {"15", "1*#", "9", "#813507,0,1*#",  189, "1BCFFFFFFFFFFFFF"},
            {"15", "77",  "0", "#813507,1,77",   41, "77FFFFFFFFFFFFFF"},
        };
        static const Sent kovalindre[] = {
            {"14", "4444", "7", "#113507,9,4444",  157, "4444F"},
            {"14", "12",  "23", "#113507,25,12",   253, "12FFF"},
            {"15", "1*#", "3", "#813507,4,1*#",    89, "1BCFFFFFFFFFFFFF"},
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
        // clang-format on
        const bool dolmeth = QString::fromLatin1(c.firmware) == "8";
        QList<Sent> table;
        if (c.id == ModelId::Pellitor)
            table = QList<Sent>(std::begin(pellitor), std::end(pellitor));
        else
            table = QList<Sent>(std::begin(common), std::end(common));
        if (c.id == ModelId::Quarn) table += QList<Sent>(std::begin(quarn), std::end(quarn));
        if (c.id == ModelId::Kovalindre)
            table += QList<Sent>(std::begin(kovalindre), std::end(kovalindre));
        const QString suffix = c.id == ModelId::Kovalindre ? QStringLiteral("f") : QString();
        Bench b;
        QVERIFY(ready(b, b.sim.start({"--model", QString::fromLatin1(c.simName)}, KnownImage(c))));
        QString expected = KnownImage(c);
        for (const Sent& s : table) {
            if (dolmeth && QByteArray(s.number) == "14") continue;  // no keys 2 to 5
            QCOMPARE(b.send(s.number, s.value, QLatin1String(s.text) + suffix, s.index), applied);
            put(expected, s.at, QString::fromLatin1(s.digits));
        }
        const QString change = c.id == ModelId::Pellitor     ? "*113507,1,24680f"
                               : c.id == ModelId::Kovalindre ? "#113507,01,24680f"
                               : dolmeth                     ? "#1,13507,,,24680"
                                                             : "#1,13507,1,,24680";
        QCOMPARE(b.changeKey("24680", change), applied);
        put(expected, 11, QStringLiteral("2468A"));
        const int keyAt = c.id == ModelId::Pellitor     ? 145
                          : c.id == ModelId::Kovalindre ? 105
                          : dolmeth                     ? 11
                                                        : 205;
        put(expected, keyAt, QStringLiteral("2468A"));
        b.sim.stop();
        QCOMPARE(b.sim.memory(), WithChecksums(expected));
    }

    // A reply with a bad checksum is dropped without a retry: the read's time-out says so.
    void badChecksumThenSilence() {
        const LongCase& c = LongCaseNamed("Kovalindre");
        Bench b;
        WriteLongConfigs(b.f.paths());
        QVERIFY(b.sim.start({"--model", "kovalindre", "--fault", "badsum:5"}, KnownImage(c)));
        b.f.load();
        b.p.main->MorFraCom03->click();
        QTRY_COMPARE(b.p.s.Monitor.MorTexMon04.size(), 270);
        QTest::qWait(100);
        QVERIFY(b.f.msgs.shown.isEmpty());
        QCOMPARE(b.p.main->MorTexEst->text(), QStringLiteral("Leyendo"));
        QCOMPARE(b.sim.messages().count(QStringLiteral("*40f")), 1);  // no retry
        QVERIFY(Fire(b.p.main->TimerEC));
        QCOMPARE(b.f.msgs.texts(), QStringList{"Error de Comunicación"});
        QCOMPARE(b.p.main->MorTexEst->text(), QStringLiteral("Morla"));
    }
};

QTEST_MAIN(TestEndToEndModels)
#include "test_endtoend_models.moc"
