// The Lúvero through the program: reading a reply into the panel, building its frame and data,
// single commands, the read retries, and the re-display of the last read and the last write.
#include <QtTest>

#include "core/codec/codec.h"
#include "core/models/luvero.h"
#include "gui/device/commands.h"
#include "gui/link/sendpipeline.h"
#include "support/programfixture.h"

using namespace morla;
using namespace morla::test;

namespace {
struct Written {
    QString SendFrame, SendData;
};
// The Lúvero write of firmware 30 for installation 0001.
Written build(const QString& classCode, const QString& key, const QString& flags) {
    const layout::Layout& l = luvero::Layout();
    const QString map = layout::WrittenMap(l, layout::Header("05", "30", classCode, "0001"),
                                           {{"MorTexResCla", key}, {"MorTexBan", flags}});
    return {layout::Frame(l, map, !classCode.isEmpty()), layout::DataText(l, map)};
}

QString checks(const Program& p) {
    QString out;
    for (QCheckBox* c : p.main->MorChkRes) out += c->isChecked() ? '1' : '0';
    return out;
}
}  // namespace

using RefusedKeyRow = std::tuple<QString, QString, QString, QStringList>;

class TestLuvero : public QObject {
    Q_OBJECT
  private slots:
    void optionDigits() {
        // Both directions use one placement of the options; "all" pins where each digit's bits
        // go, option 2 tells it from option 6 in the same digit; 3 and 4 are told apart by the
        // frame below and by the model suite's known device. Options, then map digits 17-20.
        const QList<std::pair<QString, QString>> rows{{"010000", "0002"}, {"111111", "3416"}};
        for (const auto& [flags, digits] : rows) {
            QCOMPARE(build("09", "1234", flags).SendFrame.mid(16, 4), digits);
            const QString map = LuveroBlock("1E", "1234", digits);
            QCOMPARE(layout::Decode(luvero::Layout(), map).value("MorTexBan"), flags);
        }
    }

    void frameLayout() {
        for (const auto& [installationClass, length] : {std::pair{"09", 134}, std::pair{"", 132}}) {
            const Written fr = build(installationClass, "12345", "101001");
            QCOMPARE(fr.SendFrame.size(), length);
            QVERIFY(fr.SendFrame.startsWith(QStringLiteral("051E") + installationClass +
                                            "000112346610146E"));
            const int sumAt = length - 6;
            QCOMPARE(fr.SendFrame.mid(sumAt, 2), FrameChecksum(fr.SendFrame.left(sumAt)));
            QVERIFY(fr.SendFrame.endsWith("03FE"));
            QCOMPARE(fr.SendData, QStringLiteral("00011234FF1014"));
            // Missing options are written as the cleared boxes show them, not dropped.
            QCOMPARE(build(installationClass, "1234", "").SendData,
                     QStringLiteral("00011234FF0000"));
        }
    }

    void missingConfigurationForFirmware() {
        LoadedProgram f;
        f.p->main->MorFraCom03->click();
        f.msgs.clear();
        f.port.feed(LuveroReply(LuveroBlock("1F", "5678", "0000")));  // firmware 31
        QCOMPARE(f.msgs.texts(), QStringList{"No existe archivo de configuración."});
        QCOMPARE(f.p->main->MorTexResCla->text(), QStringLiteral("5678"));
        QCOMPARE(f.p->main->MorTexResFirm->text(), QStringLiteral("31"));
    }

    // A reply refused for its checksum never becomes the last read: "Ult.&Leído" (and a save as
    // read) still has the last good one, and leaves the monitor as it is.
    void refusedReplyIsNotTheLastRead() {
        ProgramFixture f(QStringLiteral("0"));
        f.load();
        Program& p = *f.p;
        ShowLastRead(p);  // before any read nothing decodes
        QVERIFY(!p.main->MorTexResCla->isVisibleTo(p.main.get()));
        p.main->MorFraCom03->click();
        f.port.feed(LuveroReply(LuveroBlock("1E", "5678", "0000")));
        const QString goodMap = p.s.LastReadMap, goodText = p.s.LastReadText;
        p.main->MorFraCom03->click();
        f.port.feed(LuveroReply(LuveroBlock("1E", "4321", "0000"), true));
        QCOMPARE(f.msgs.texts().last(), QStringLiteral("Error de Comunicación!"));
        QCOMPARE(p.s.LastReadMap, goodMap);
        QCOMPARE(p.s.LastReadText, goodText);
        p.main->MorTexResCla->setText(QStringLiteral("1111"));
        const QString hex = p.monitor->MorTexMon05->toPlainText();
        p.main->MorFraCom05->click();
        QCOMPARE(p.main->MorTexResCla->text(), QStringLiteral("5678"));
        QCOMPARE(p.monitor->MorTexMon05->toPlainText(), hex);
    }

    void sendWholeConfiguration() {
        LoadedProgram f;
        ModelButton(*f.p, 3);
        Program& p = *f.p;
        p.main->MorTexResCla->setText(QStringLiteral("4321"));
        p.main->MorChkRes[2]->setChecked(true);
        p.main->MorFraCom04->click();
        f.port.acknowledgeAll();
        QCOMPARE(p.main->MorTexBan->text(), QStringLiteral("101000000"));
        f.port.line.clear();
        QVERIFY(Fire(p.main->TimerPID));
        f.port.acknowledgeAll();
        QCOMPARE(f.port.line, QByteArray("D00014321FF10101P"));
        QCOMPARE(p.monitor->MorTexMon02->toPlainText(), p.s.SendFrame);

        const QStringList rec = ReadRecord(f.paths().lastSent(), LastSentRecord).fields;
        QVERIFY(!rec[2].isEmpty());  // the date
        QCOMPARE(rec.mid(0, 2) + rec.mid(3, 1) + rec.mid(5),
                 (QStringList{"00", p.s.SendFrame, QString(138, '1'), "00014321FF1010", "14"}));
    }

    void secondWriteAfterARead() {
        // The acknowledgments of the first write must not leave the second one stale.
        LoadedProgram f;
        Program& p = *f.p;
        p.main->MorFraCom03->click();
        f.port.feed(LuveroReply(LuveroBlock("1E", "1234", "0000")));
        QCOMPARE(p.s.ModelCode, QStringLiteral("00"));
        for (int option : {1, 2}) {
            p.main->MorChkRes[option - 1]->setChecked(true);
            f.port.line.clear();
            p.main->MorFraCom04->click();
            f.port.acknowledgeAll();
            f.port.line.clear();
            QVERIFY(Fire(p.main->TimerPID));
            f.port.acknowledgeAll();
            QCOMPARE(p.s.ModelCode, QStringLiteral("00"));
        }
        QCOMPARE(f.port.line, QByteArray("D00011234FF00121P"));
        QVERIFY(p.monitor->MorTexMon04->toPlainText().startsWith(QStringLiteral("TTTT")));
    }

    // A refused key is still recorded with every field in place (the key keeps its four places,
    // "F" where nothing was typed), whatever the installation's class: the last write shows the
    // frame again, and the key box judges the key anew.
    void refusedKeyShownAgain_data() {
        QTest::addColumn<RefusedKeyRow>("row");
        QTest::newRow("short, class with a code") << RefusedKeyRow{"GrandeUsuario", "12", "12", {}};
        QTest::newRow("short, class without a code") << RefusedKeyRow{"Otra", "12", "12", {}};
        QTest::newRow("leading zero") << RefusedKeyRow{
            "Dravenquista", "0567", "", QStringList{"No se admite 0 al inicio de clave"}};
    }
    void refusedKeyShownAgain() {
        QFETCH_ROW(RefusedKeyRow, installationClass, key, shown, said);
        ProgramFixture f(QStringLiteral("2"), QStringLiteral("10"), installationClass);
        f.load();
        Program& p = *f.p;
        ModelButton(p, 3);
        p.main->MorTexResCla->blockSignals(true);  // as typed before any check
        p.main->MorTexResCla->setText(key);
        p.main->MorTexResCla->blockSignals(false);
        p.main->MorChkRes[3]->setChecked(true);
        const QString options = checks(p);
        f.msgs.clear();
        f.port.line.clear();
        p.main->MorFraCom04->click();
        QCOMPARE(f.msgs.texts(), QStringList{"Error en Captura"});
        QVERIFY(f.port.line.isEmpty());
        QVERIFY(!p.main->TimerPID->isActive());
        QVERIFY(p.s.SendFrame.contains(key.leftJustified(4, 'F') + "66"));

        ModelButton(p, 3);
        p.main->MorChkRes[3]->setChecked(false);
        p.main->MorTexResCla->setText(QStringLiteral("9"));
        f.msgs.clear();
        p.main->MorFraCom06->click();
        QCOMPARE(checks(p), options);
        QCOMPARE(f.msgs.texts(), said);
        QCOMPARE(p.main->MorTexResCla->text(), shown);
    }

    void lastSentMissing() {
        LoadedProgram f;
        f.msgs.clear();
        f.p->main->MorFraCom06->click();
        QCOMPARE(f.msgs.texts(), QStringList{"No existe Ultimo Envio"});
    }

    // "Colgar" and "Reset Fábrica".
    void plainCommands() {
        for (const auto& [button, line] : {std::pair{1, "D*47f12341P"}, std::pair{10, "D*49f1P"}}) {
            LoadedProgram f;
            ModelButton(*f.p, 3);
            Program& p = *f.p;
            f.port.line.clear();
            QFile::remove(f.paths().lastSent());
            (button == 1 ? p.main->MorFraCom01 : p.main->MorFraCom10)->click();
            QVERIFY(f.port.line.isEmpty());
            QVERIFY(Fire(p.main->TimerPID));
            f.port.acknowledgeAll();
            QCOMPARE(f.port.line, QByteArray(line));
            // Neither builds a frame nor writes a record.
            QCOMPARE(FileExists(f.paths().lastSent()), false);
            QVERIFY(p.s.BuildFrameOnSend);
        }
    }
};

QTEST_MAIN(TestLuvero)
#include "test_luvero.moc"
