// The Sorvanell: its key and programming number with a "*" inside, the options and the count
// in both directions, its separated single commands, and the panel through the program.
#include <QtTest>

#include "core/codec/codec.h"
#include "core/models/sorvanell.h"
#include "gui/device/commands.h"
#include "gui/link/sendpipeline.h"
#include "support/programfixture.h"

using namespace morla;
using namespace morla::test;

namespace {
// The map the device keeps for what a frame carries: hex digits as they are, any other
// character by its low four bits ("*" is "A").
QString mapOf(const QString& frame) {
    QString map;
    for (QChar c : frame)
        map += (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') ? QString(c)
                                                                : DigitToHex(c.unicode() & 0x0F);
    return map.left(134).leftJustified(134, 'F');
}

layout::Values input(const QString& programming, const QString& key, const QString& alert,
                     bool blqGrb, bool tone, const QString& flags, const QString& count) {
    return {{"MorTxtAleAut", programming},       {"MorTexResCla", key},
            {"MorTxtAleDigAler", alert},         {"MorChkAleBlqGrb", blqGrb ? "1" : "0"},
            {"MorChkAleTono", tone ? "1" : "0"}, {"MorTexBan", flags},
            {"MorTexAleNumInter", count}};
}

// The data text and frame of a write of firmware 12, installation 0001.
struct Written {
    QString SendData, SendFrame;
};
Written build(const layout::Values& v, const QString& classCode = QStringLiteral("09")) {
    const layout::Layout& l = sorvanell::Layout();
    const QString map = layout::WrittenMap(l, layout::Header("04", "12", classCode, "0001"), v);
    return {layout::DataText(l, map), layout::Frame(l, map, !classCode.isEmpty())};
}

QString shown(const QString& map, const char* control) {
    return layout::Decode(sorvanell::Layout(), map).value(QLatin1String(control));
}

// The configuration of firmware 12; "x" leaves the recording lock as it is.
void writeConfig(ProgramFixture& f) {
    QDir(f.dir.path()).mkpath(QStringLiteral("Sorvanell/Configuracion"));
    QStringList rec = ConfigRecord("12*34", "1001001", "100100100", "Aviso ");
    rec[20] = QStringLiteral("11*22");
    rec[21] = QStringLiteral("5");
    rec[22] = QStringLiteral("1");
    rec[23] = QStringLiteral("x");
    WriteRecord(f.paths().modelConfig(QStringLiteral("Sorvanell"), QStringLiteral("12")),
                ModelConfigRecord, rec);
}
}  // namespace

// command: "" for none
using CommandsRow = std::tuple<QString, QString, QString>;

class TestSorvanell : public QObject {
    Q_OBJECT
  private slots:
    void frameLayout() {
        for (const QString classCode : {"09", ""}) {
            const Written fr =
                build(input("11*22", "12*34", "5", true, false, "1001001", "200"), classCode);
            QCOMPARE(fr.SendData, QStringLiteral("01010*020201020*030405590C0800f"));
            QCOMPARE(fr.SendFrame,
                     "040C" + classCode + "0001" + fr.SendData + QString(86, '?') + "040;03<2");
        }
    }

    void missingCharactersKeepTheLayout() {
        const Written fr = build(input("1", "12*34", "", false, false, "0000000", "0"));
        QCOMPARE(fr.SendData.size(), 31);
        QCOMPARE(shown(mapOf(fr.SendFrame), "MorTexResCla"), QStringLiteral("12*34"));
        QCOMPARE(shown(mapOf(fr.SendFrame), "MorTxtAleDigAler"), QString());
    }

    void keyStatus_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("status");
        // clang-format off
        QTest::newRow("whole form") << "12*34" << "Activado";
        QTest::newRow("leading zero") << "02*34" << "DesActivado";
        QTest::newRow("short") << "12*3" << "DesActivado";
        QTest::newRow("digit in the middle") << "12534" << "DesActivado";
        QTest::newRow("letter at the end") << "12*3a" << "DesActivado";
        // clang-format on
    }
    void keyStatus() {
        QFETCH(QString, key);
        QTEST(sorvanell::KeyStatusFor(key), "status");
    }

    // The edges of the command table; the end-to-end tests send each command to a device.
    void commands_data() {
        QTest::addColumn<CommandsRow>("row");
        // clang-format off
        QTest::newRow("tone, key refused") << CommandsRow{"11", "DesActivado", ""};
        QTest::newRow("restrictor 1, never") << CommandsRow{"1", "", ""};
        QTest::newRow("key change, refused") << CommandsRow{"10", "DesActivado", "9,8,*,7,6,3,1,2,*,3,4,f"};
        QTest::newRow("programming, refused") << CommandsRow{"13", "DesActivado", "1,2,*,3,4,2,5,5,*,6,6,f"};
        QTest::newRow("alert digit 1 as typed") << CommandsRow{"14", "DesActivado", "1,2,*,3,4,6,1,f"};
        QTest::newRow("not a number") << CommandsRow{"x", "Activado", ""};
        // clang-format on
    }
    void commands() {
        QFETCH_ROW(CommandsRow, number, status, command);
        const auto built = sorvanell::Command({number, status, "12*34", "98*76", "55*66", " 1 "});
        QCOMPARE(built.value_or(QString()), command);
    }

    void buttonLeavesALockWithoutDefault() {
        ProgramFixture f;
        writeConfig(f);
        f.load();
        Program& p = *f.p;
        Named<QCheckBox>(p, "MorChkAleBlqGrb")->setChecked(true);
        ModelButton(p, 2);
        QVERIFY(Named<QCheckBox>(p, "MorChkAleBlqGrb")->isChecked());  // "x" leaves it
    }

    void countBoxTakesOneByte() {
        LoadedProgram f;
        auto* count = Named<QLineEdit>(*f.p, "MorTexAleNumInter");
        f.msgs.clear();
        count->setText(QStringLiteral("256"));
        QCOMPARE(count->text(), QString());
        QCOMPARE(f.msgs.texts(), QStringList{"El límite es 255"});
        count->setText(QStringLiteral("255"));
        QCOMPARE(count->text(), QStringLiteral("255"));
    }
};

QTEST_MAIN(TestSorvanell)
#include "test_sorvanell.moc"
