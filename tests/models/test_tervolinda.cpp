// The Tervolinda: both variants read and shown, the key editor's frames and data, the single
// commands, and the last-sent record holding what was sent.
#include <QtTest>

#include "core/codec/codec.h"
#include "core/models/tervolinda.h"
#include "gui/device/commands.h"
#include "gui/link/sendpipeline.h"
#include "gui/panels/tervolinda_panel.h"
#include "support/programfixture.h"

using namespace morla;
using namespace morla::test;
using tervolinda::Box;

namespace {
QString pairs(const QString& digits) {
    QString out;
    for (QChar c : digits) out += QStringLiteral("0") + (c == '0' ? QChar('A') : c);
    return out;
}

// A device's map: firmware as two decimal characters, then the variant's fields.
// Without voice: both options off.
QString deviceMap(const QString& firmware, const QString& key, const QString& exit = {}) {
    QString map = QStringLiteral("08") + firmware + QStringLiteral("09FFFF");
    map += ValOf(firmware) == 2 ? QStringLiteral("FF") + pairs(key)
                                : QStringLiteral("0A0A") + pairs(key) + pairs(exit);
    return map.leftJustified(136, 'F');
}

QByteArray replyOf(const QString& map) {
    QByteArray out("0245");
    for (QChar c : map) out.append(char('0' + HexToDigit(QString(c))));
    return out;
}

QCheckBox* removal(Program& p) {
    return Named<QCheckBox>(p, "MorFraPrivElim1");
}
bool shown(Program& p, const char* name) {
    return Named<QWidget>(p, name)->isVisibleTo(p.main.get());
}

void writeConfigs(ProgramFixture& f) {
    QDir(f.dir.path()).mkpath(QStringLiteral("Tervolinda/Configuracion"));
    for (const char* firmware : {"72", "02"}) {
        QStringList rec = ConfigRecord("4321", "000000000", "000000000", "R");
        rec[20] = QStringLiteral("0");
        rec[21] = QStringLiteral("2468");
        WriteRecord(f.paths().modelConfig(QStringLiteral("Tervolinda"), QLatin1String(firmware)),
                    ModelConfigRecord, rec);
    }
}

// A program that has read a Tervolinda of the given firmware.
void readDevice(ProgramFixture& f, const QString& map) {
    writeConfigs(f);
    f.load();
    f.p->main->MorFraCom03->click();
    f.port.acknowledgeAll();
    f.msgs.clear();
    f.port.feed(replyOf(map));
}

}  // namespace

// frame: "" for none
using FramesRow = std::tuple<QString, int, int, QString>;
// data: "-" for unchanged
using EditorDataRow = std::tuple<QString, int, QString>;
// command: "" for none
using CommandsRow = std::tuple<QString, QString, QString, QString>;

class TestTervolinda : public QObject {
    Q_OBJECT
  private slots:
    void frames_data() {
        QTest::addColumn<FramesRow>("row");
        const QString without = QStringLiteral("0809FFFF090A0102030405060708") + QString(98, 'F') +
                                QStringLiteral("4803<4");
        const QString with = QStringLiteral("0809FFFF0A0A01020304000000") + QString(100, 'F') +
                             QStringLiteral("0203<4");
        QTest::newRow("without voice")
            << FramesRow{"72", int(Box::Ticked), int(Box::Clear), without};
        QTest::newRow("with voice") << FramesRow{"2", int(Box::Ticked), int(Box::Clear), with};
        QTest::newRow("another firmware") << FramesRow{"30", int(Box::Clear), int(Box::Clear), ""};
        QTest::newRow("greyed box adds no code")
            << FramesRow{"72", int(Box::Greyed), int(Box::Clear),
                         "0809FFFF0A0102030405060708" + QString(98, 'F') + "4803<4"};
    }
    void frames() {
        QFETCH_ROW(FramesRow, firmware, removal, nine, frame);
        const auto built =
            tervolinda::BuildFrame({firmware, "1234", "5678", Box(removal), Box(nine)});
        QCOMPARE(built.value_or(QString()), frame);
        if (built && Box(removal) != Box::Greyed) QCOMPARE(built->size(), 132);
    }

    // The map of another firmware decodes nothing; the model suite reads both variants.
    void otherFirmwareDecodesNothing() {
        QVERIFY(!tervolinda::DecodeMap(deviceMap("72", "1050", "5678").left(132), "30"));
    }

    void editorData_data() {
        QTest::addColumn<EditorDataRow>("row");
        QTest::newRow("removal on") << EditorDataRow{"1", int(Box::Ticked), "9999f"};
        QTest::newRow("removal off") << EditorDataRow{"1", int(Box::Clear), "0000f"};
        QTest::newRow("removal greyed") << EditorDataRow{"1", int(Box::Greyed), "-"};
        QTest::newRow("nine off") << EditorDataRow{"4", int(Box::Ticked), "0000f"};
        QTest::newRow("key") << EditorDataRow{"2", int(Box::Clear), "1234"};
        QTest::newRow("exit key") << EditorDataRow{"3", int(Box::Clear), "5678f"};
        QTest::newRow("none") << EditorDataRow{"", int(Box::Clear), "-"};
    }
    void editorData() {
        QFETCH_ROW(EditorDataRow, mode, removal, data);
        const auto d = tervolinda::EditorSendData({mode, Box(removal), Box::Clear, "1234", "5678"});
        QCOMPARE(d.value_or(QStringLiteral("-")), data);
    }

    // The edges of the command table; the end-to-end tests send the options, the exit key and
    // the key change to a device.
    void commands_data() {
        QTest::addColumn<CommandsRow>("row");
        QTest::newRow("greyed as is") << CommandsRow{"13", "2", "Activado", "#5,1234,2f"};
        QTest::newRow("removal, refused") << CommandsRow{"12", "1", "DesActivado", ""};
        QTest::newRow("other number") << CommandsRow{"1", "1", "Activado", ""};
    }
    void commands() {
        QFETCH_ROW(CommandsRow, number, value, status, command);
        const auto c = tervolinda::Command({number, value, status, "1234", "1111", "1001", ","});
        QCOMPARE(c.value_or(QString()), command);
    }

    // A voice device read after one without: its boxes hide, and the button without voice
    // brings them back.
    void readWithVoiceAfterWithout() {
        ProgramFixture f;
        readDevice(f, deviceMap("72", "1234", "5678"));
        Program& p = *f.p;
        p.main->MorFraCom03->click();
        f.port.acknowledgeAll();
        f.port.feed(replyOf(deviceMap("02", "4050")));
        QCOMPARE(f.msgs.texts(), QStringList{});
        QCOMPARE(Named<QLabel>(p, "MorLblPrivIdent")->text(), QStringLiteral("Con Voz"));
        QVERIFY(shown(p, "MorFraPrivClv"));
        QVERIFY(!shown(p, "MorTxtPrivClvSal"));
        QVERIFY(!shown(p, "MorFraPrivRes"));
        // The editor tells this firmware by number too: "02" builds the voice frame.
        p.s.KeyEditorMode = QStringLiteral("2");
        EditTervolinda(p);
        QVERIFY(p.s.SendFrame.endsWith(QStringLiteral("0203<4")));
        QCOMPARE(p.s.SendData, QStringLiteral("4050"));
        // The button without voice shows its boxes again and leaves the editor.
        ModelButton(p, 8);
        QVERIFY(shown(p, "MorTxtPrivClvSal"));
        QVERIFY(shown(p, "MorFraPrivElim1"));
        QVERIFY(!p.main->MorFraCom04->isEnabled());
        QVERIFY(p.s.KeyEditorMode.isEmpty());
    }

    void optionSentWithoutAnotherModelFirst() {
        ProgramFixture f;
        readDevice(f, deviceMap("72", "1234", "5678"));
        Program& p = *f.p;
        p.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(p.main.get()));
        const QPoint onBox(6, removal(p)->height() / 2);
        // The left press runs the editor before the box changes; the send must not keep that.
        QTest::mouseClick(removal(p), Qt::LeftButton, {}, onBox);
        QTest::mousePress(removal(p), Qt::RightButton, {}, onBox);
        f.port.line.clear();
        p.main->mnuEnviar->trigger();
        p.main->mnuComando->hide();
        QCoreApplication::processEvents();
        QVERIFY(Fire(p.main->TimerPID));
        f.port.acknowledgeAll();
        QCOMPARE(f.port.line, QByteArray("D#1,1234,9f1P"));

        const QStringList rec = ReadRecord(f.paths().lastSent(), LastSentRecord).fields;
        QCOMPARE(rec[0], QStringLiteral("08"));
        QCOMPARE(rec[1].mid(8, 2), QStringLiteral("09"));
        QCOMPARE(rec[5], QStringLiteral("9999f"));

        // "&Ult.Envío" shows that record.
        removal(p)->setChecked(false);
        Named<QLineEdit>(p, "MorTxtPrivClvSal")->setText(QStringLiteral("2222"));
        p.main->MorTexResCla->setText(QStringLiteral("9"));
        f.msgs.clear();
        p.main->MorFraCom06->click();
        QCOMPARE(f.msgs.texts(), QStringList{});
        QVERIFY(removal(p)->isChecked());
        QCOMPARE(Named<QLineEdit>(p, "MorTxtPrivClvSal")->text(), QStringLiteral("5678"));
        QCOMPARE(p.main->MorTexResCla->text(), QStringLiteral("1234"));
        QCOMPARE(Named<QLabel>(p, "MorLblPrivIdent")->text(), QStringLiteral("Sin Voz"));
    }
};

QTEST_MAIN(TestTervolinda)
#include "test_tervolinda.moc"
