// Quarn (both variants), Pellitor and Kovalindre through the program: frame and data layouts,
// the places of a reply shown in the panel, single commands and the last write shown again.
// The model suite (test_models) runs its shared checks on them as well.
#include <QComboBox>
#include <QtTest>

#include "core/codec/codec.h"
#include "core/models/kovalindre.h"
#include "core/models/pellitor.h"
#include "core/models/quarn.h"
#include "gui/device/commands.h"
#include "gui/link/sendpipeline.h"
#include "gui/panels/framework.h"
#include "support/longreplycases.h"
#include "support/programfixture.h"

using namespace morla;
using namespace morla::test;

namespace {

const layout::Layout& layoutOf(const LongCase& c) {
    switch (c.id) {
        case ModelId::Quarn:
            return quarn::Layout(QString::fromLatin1(c.firmware));
        case ModelId::Pellitor:
            return pellitor::Layout();
        default:
            return kovalindre::Layout();
    }
}

struct Written {
    QString SendData, SendFrame;
};
Written write(const LongCase& c, const QString& classCode, const layout::Values& v) {
    const layout::Layout& l = layoutOf(c);
    const QString map = layout::WrittenMap(
        l, longreply::Header(Model(c.id), QStringLiteral("30"), classCode, QStringLiteral("0001")),
        v);
    return {layout::DataText(l, map), layout::Frame(l, map, !classCode.isEmpty())};
}

QString& trunkState(Program& p, ModelId id) {
    return id == ModelId::Quarn      ? p.s.SwitchTrunkState
           : id == ModelId::Pellitor ? p.s.PellitorTrunkState
                                     : p.s.KovalindreTrunkState;
}

const char* trunkBox(ModelId id) {
    return id == ModelId::Quarn      ? "MorChkFlhResC00"
           : id == ModelId::Pellitor ? "MorChkConCon03"
                                     : "MorChkMulClvCom01";
}

QString box(Program& p, const QString& name) {
    auto* b = p.main->findChild<QLineEdit*>(name);
    return b ? b->text() : QStringLiteral("<none>");
}

// A program with the long-reply configurations, on the model of `c`.
struct Long {
    ProgramFixture f;
    Program& p = *f.p;
    explicit Long(const LongCase& c) {
        WriteLongConfigs(f.paths());
        f.load();
        ModelButton(p, c.button);
        // The simulated memory of a device holds the same firmware as the button.
        p.s.FirmwareCode = QString::fromLatin1(c.firmware);
    }
    void read(const QByteArray& reply) {
        p.main->MorFraCom03->click();
        f.port.acknowledgeAll();
        f.msgs.clear();
        f.port.feed(reply);
    }
};

}  // namespace

class TestLongReply : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void frameShape_data() {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("classCode");
        QTest::addColumn<int>("dataLength");
        QTest::addColumn<int>("frameLength");
        for (const QString cls : {"09", ""}) {
            const int less = cls.isEmpty() ? 2 : 0;
            const QString tag = cls.isEmpty() ? " without class" : " with class";
            // clang-format off
            QTest::newRow(qPrintable("Dolmeth" + tag)) << "Quarn Dolmeth" << cls << 194 << 236 - less;
            QTest::newRow(qPrintable("Conmutador" + tag)) << "Quarn Conmutador" << cls << 224 << 266 - less;
            QTest::newRow(qPrintable("Pellitor" + tag)) << "Pellitor" << cls << 165 << 266 - less;
            QTest::newRow(qPrintable("Kovalindre" + tag)) << "Kovalindre" << cls << 249 << 266 - less;
            // clang-format on
        }
    }
    void frameShape() {
        QFETCH(QString, model);
        QFETCH(QString, classCode);
        QFETCH(int, dataLength);
        QFETCH(int, frameLength);
        const LongCase& c = LongCaseNamed(model);
        layout::Values v;
        v["MorTexResCla"] = QStringLiteral("1357");  // a short key still gives the written length
        v["MorTexBan"] = longreply::OptionsValue(QStringLiteral("1"), QString());
        v["MorComConDLL"] = QStringLiteral("7");
        v["MorTexFlhCon"] = QStringLiteral("5");
        const Written fr = write(c, classCode, v);
        QCOMPARE(fr.SendData.size(), dataLength);
        QCOMPARE(fr.SendFrame.size(), frameLength);
        QCOMPARE(fr.SendData.left(16),
                 QStringLiteral("00011357FF0001") + (c.id == ModelId::Pellitor ? "07" : "00"));
        const int block1 = 2 + 2 + classCode.size() + 122;
        QCOMPARE(fr.SendFrame.mid(block1, 2), FrameChecksum(fr.SendFrame.left(block1)));
        QCOMPARE(fr.SendFrame.mid(block1 + 2, 2), QStringLiteral("45"));
        const QString block2 = fr.SendFrame.mid(block1 + 4, frameLength - block1 - 10);
        QCOMPARE(block2.size(), c.id == ModelId::Quarn && dataLength == 194 ? 98 : 128);
        QCOMPARE(fr.SendFrame.right(6), FrameChecksum(block2) + "03FE");
        QCOMPARE(fr.SendData.endsWith('f'), c.id != ModelId::Quarn);
        // The frame mirrors SendData from the installation code on.
        QCOMPARE(fr.SendFrame.mid(4 + classCode.size(), 122), fr.SendData.left(122));
        const int mirrored = qMin(102, dataLength - 122 - (c.id == ModelId::Quarn ? 0 : 1));
        QCOMPARE(fr.SendFrame.mid(block1 + 4, mirrored), fr.SendData.mid(122, mirrored));
    }

    void fixedWidthFields() {
        // Short numbers are filled out in front, memories and keys behind.
        layout::Values v;
        v["MorTexResCla"] = QStringLiteral("12345");
        v["MorTexBan"] = longreply::OptionsValue("001000", QString());  // never read: off
        v["MorTexFlhCon"] = QStringLiteral("7");
        v["MorTexFlhDurP"] = QStringLiteral("45");
        v["MorTexFlhNumTel00"] = QStringLiteral("1234567");
        v["MorTexFlhClv02"] = QStringLiteral("12");
        const QString data = write(LongCaseNamed("Quarn Conmutador"), "09", v).SendData;
        QCOMPARE(data.mid(10, 6), QStringLiteral("100000"));
        QCOMPARE(data.mid(16, 12), QStringLiteral("000007000405"));
        QCOMPARE(data.mid(34, 16), QStringLiteral("1234567FFFFFFFFF"));
        QCOMPARE(data.mid(206, 6), QStringLiteral("12FFFF"));
    }

    void readShowsPanel_data() {
        QTest::addColumn<QString>("model");
        for (const LongCase& c : LongCases()) QTest::newRow(c.name) << c.name;
    }
    void readShowsPanel() {
        QFETCH(QString, model);
        const LongCase& c = LongCaseNamed(model);
        Long l(c);
        Program& p = l.p;
        l.read(ReplyFromMap(KnownImage(c)));
        QVERIFY2(l.f.msgs.shown.isEmpty(), qPrintable(l.f.msgs.texts().join('|')));
        QCOMPARE(p.s.FirmwareCode, QString::fromLatin1(c.firmware));
        QCOMPARE(p.main->MorTexResCla->maxLength(), 5);
        QCOMPARE(trunkState(p, c.id), QStringLiteral("1"));
        QCOMPARE(p.main->MorChkRes[0]->text(), QStringLiteral("Opción 1"));

        switch (c.id) {
            case ModelId::Quarn: {
                const bool dolmeth = QString::fromLatin1(c.firmware) == "8";
                QCOMPARE(p.main->findChild<QLabel*>("MorLabFlhTit")->text(),
                         dolmeth ? QStringLiteral(" Quarn Dolmeth")
                                 : QStringLiteral(" Quarn Conmutador"));
                QCOMPARE(p.main->findChild<QWidget*>("MorFraFlhFraClv")->isVisibleTo(p.main.get()),
                         !dolmeth);
                QCOMPARE(p.main->findChild<QWidget*>("MorChkFlhResC00")->isVisibleTo(p.main.get()),
                         !dolmeth);
                QCOMPARE(box(p, "MorTexFlhCon"), QStringLiteral("007"));
                QCOMPARE(box(p, "MorTexFlhDurP"), QStringLiteral("120"));
                QCOMPARE(box(p, "MorTexFlhLimSerMed"), QStringLiteral("045"));
                QCOMPARE(box(p, "MorTexFlhNumTel00"), QStringLiteral("5*5#10"));
                QCOMPARE(box(p, "MorTexFlhNumTel05"), QStringLiteral("123456789012"));
                QCOMPARE(box(p, "MorTexFlhNumTel09"), QStringLiteral("9999"));
                QCOMPARE(box(p, "MorTexFlhClv01"), dolmeth ? QString() : QStringLiteral("20222"));
                QCOMPARE(box(p, "MorTexFlhClv04"), dolmeth ? QString() : QStringLiteral("55555"));
                break;
            }
            case ModelId::Pellitor:
                QCOMPARE(box(p, "MorTexConSMC"), QStringLiteral("012"));
                QCOMPARE(box(p, "MorTexConLDC"), QStringLiteral("034"));
                QCOMPARE(box(p, "MorTexConSMT"), QStringLiteral("122"));
                QCOMPARE(box(p, "MorTexConLDT"), QStringLiteral("045"));
                // Allowed calls are never read: the configuration's values stay.
                QCOMPARE(box(p, "MorTexConSMNP"), QStringLiteral("040"));
                QCOMPARE(box(p, "MorTexConLDNP"), QStringLiteral("020"));
                QCOMPARE(p.main->findChild<QComboBox*>("MorComConDLL")->currentText(),
                         QStringLiteral("8"));
                QCOMPARE(box(p, "MorTexConNumTel00"), QStringLiteral("5*5#10"));
                QCOMPARE(box(p, "MorTexConNumTel04"), QStringLiteral("12345678"));
                QCOMPARE(box(p, "MorTexConClv01"), QStringLiteral("20222"));
                QCOMPARE(box(p, "MorTexConClv02"), QStringLiteral("33333"));
                break;
            default:
                QCOMPARE(box(p, "MorTxtMulClvCon"), QStringLiteral("007"));
                QCOMPARE(box(p, "MorTxtMulClvDurP"), QStringLiteral("120"));
                QCOMPARE(box(p, "MorTexMulClvDurL"), QStringLiteral("045"));
                QCOMPARE(box(p, "MorTexMulClvNumTel00"), QStringLiteral("5*5#10"));
                QCOMPARE(box(p, "MorTxtMulClvClv00"), QStringLiteral("20222"));
                QCOMPARE(box(p, "MorTxtMulClvClv02"), QStringLiteral("44444"));
                QCOMPARE(box(p, "MorTxtMulClvClv03"), QStringLiteral("55555"));
                QCOMPARE(box(p, "MorTxtMulClvClv23"), QStringLiteral("99999"));
                QCOMPARE(p.main->findChild<QLabel*>("MorLblMulClvClv00")->text(),
                         QStringLiteral("Clave #02"));
                QCOMPARE(p.main->findChild<QLabel*>("MorLblMulClvClv23")->text(),
                         QStringLiteral("Clave #25"));
                break;
        }
    }

    void singleCommands_data() {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("index");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("sendData");
        const QString q = QStringLiteral("Quarn Conmutador");
        const QString pe = QStringLiteral("Pellitor");
        const QString k = QStringLiteral("Kovalindre");
        // clang-format off
        QTest::newRow("Q option 1")      << q << "1"  << "1"   << ""  << "#5,12345,9"      << "9";
        QTest::newRow("Q option 3")      << q << "3"  << "0"   << ""  << "#2,12345,0"      << "0";
        QTest::newRow("Q option 4")      << q << "4"  << "1"   << ""  << "#4,12345,9"      << "9";
        QTest::newRow("Q option 5")      << q << "5"  << "1"   << ""  << "#3,12345,9"      << "9";
        QTest::newRow("Q option 6")      << q << "6"  << "1"   << ""  << "#*,12345,9"      << "9";
        QTest::newRow("Q trunk")         << q << "11" << "1"   << ""  << "#0,12345,9"      << "9";
        QTest::newRow("Q duration 1")    << q << "12" << "1"   << ""  << "#6,12345,1"      << "1";
        QTest::newRow("Q free duration") << q << "13" << "010" << ""  << "#9,12345,010"    << "010";
        QTest::newRow("Q key 2")         << q << "14" << "1"   << "1" << "#112345,2,1"     << "1";
        QTest::newRow("Q key 5")         << q << "14" << "555" << "4" << "#112345,5,555"   << "555";
        QTest::newRow("Q memory box 0")  << q << "15" << "0"   << "0" << "#812345,1,0"     << "0";
        QTest::newRow("Q memory box 9")  << q << "15" << "1*#" << "9" << "#812345,0,1*#"   << "1*#";
        QTest::newRow("Q clear counter") << q << "16" << "0"   << ""  << "#712345"         << "keep";
        QTest::newRow("Q option 2 none") << q << "2"  << "1"   << ""  << ""                << "keep";
        QTest::newRow("P option 1")      << pe << "1"  << "1"  << ""  << "*212345,9f"      << "9";
        QTest::newRow("P option 3")      << pe << "3"  << "0"  << ""  << "*412345,0f"      << "0";
        QTest::newRow("P option 4")      << pe << "4"  << "1"  << ""  << "*312345,9f"      << "9";
        QTest::newRow("P option 6")      << pe << "6"  << "1"  << ""  << "#412345,9f"      << "9";
        QTest::newRow("P option 5 none") << pe << "5"  << "1"  << ""  << ""                << "keep";
        QTest::newRow("P trunk")         << pe << "11" << "0"  << ""  << "*512345,0f"      << "0";
        QTest::newRow("P metered calls") << pe << "12" << "1"  << ""  << "*712345,1f"      << "1";
        QTest::newRow("P metered time")  << pe << "13" << "090" << "" << "*9,12345,090f"   << "090";
        QTest::newRow("P distance calls") << pe << "14" << "20" << "" << "*812345,20f"     << "20";
        QTest::newRow("P distance time") << pe << "15" << "0"  << ""  << "*012345,0f"      << "0";
        QTest::newRow("P local digits")  << pe << "16" << "6"  << ""  << "*612345,6f"      << "6";
        QTest::newRow("P key 3")         << pe << "17" << "333" << "2" << "*112345,3,333f" << "333";
        QTest::newRow("P memory box 4")  << pe << "18" << "55" << "4" << "#312345,5,55f"   << "55";
        QTest::newRow("P clear metered") << pe << "19" << "1"  << ""  << "#112345f"        << "keep";
        QTest::newRow("P clear distance") << pe << "20" << "1" << ""  << "#212345f"        << "keep";
        QTest::newRow("K option 1")      << k << "1"  << "0"   << ""  << "#5,12345,0f"     << "0";
        QTest::newRow("K option 5")      << k << "5"  << "1"   << ""  << "#3,12345,9f"     << "9";
        QTest::newRow("K trunk")         << k << "11" << "1"   << ""  << "#0,12345,9f"     << "9";
        QTest::newRow("K duration")      << k << "12" << "100" << ""  << "#6,12345,100f"   << "100";
        QTest::newRow("K free duration") << k << "13" << "1"   << ""  << "#9,12345,1f"     << "1";
        QTest::newRow("K key box 7")     << k << "14" << "9"   << "7" << "#112345,9,9f"    << "9";
        QTest::newRow("K key box 23")    << k << "14" << "25"  << "23" << "#112345,25,25f" << "25";
        QTest::newRow("K memory box 0")  << k << "15" << "1"   << "0" << "#812345,1,1f"    << "1";
        QTest::newRow("K memory box 3")  << k << "15" << "44"  << "3" << "#812345,4,44f"   << "44";
        QTest::newRow("K clear counter") << k << "16" << "1"   << ""  << "#712345f"        << "keep";
        // clang-format on
    }
    void singleCommands() {
        QFETCH(QString, model);
        QFETCH(QString, number);
        QFETCH(QString, value);
        QFETCH(QString, index);
        QFETCH(QString, command);
        QFETCH(QString, sendData);
        Long l(LongCaseNamed(model));
        Program& p = l.p;
        QCOMPARE(p.main->MorTexResCla->text(), QStringLiteral("12345"));
        p.s.CommandNumber = number;
        p.s.CommandValue = value;
        p.s.CommandIndex = index;
        p.s.CommandString = QStringLiteral("none");
        l.f.port.line.clear();
        p.main->mnuEnviar->trigger();
        const QString data = p.s.SendData;
        QVERIFY(Fire(p.main->TimerPID));
        l.f.port.acknowledgeAll();
        if (command.isEmpty()) {
            QCOMPARE(p.s.CommandString, QStringLiteral("none"));
        } else {
            QCOMPARE(p.s.CommandString, command);
            QCOMPARE(QString::fromLatin1(l.f.port.line), "D" + command + "1P");
        }
        // The whole write's data text stays when the command carries no value.
        if (sendData == QStringLiteral("keep"))
            QVERIFY(data.size() > 100);
        else
            QCOMPARE(data, sendData);
    }

    void keyChange_data() {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("command");
        // clang-format off
        QTest::newRow("Quarn Conmutador") << "Quarn Conmutador" << "#1,12345,1,,67890";
        QTest::newRow("Quarn firmware 8") << "Quarn Dolmeth" << "#1,12345,,,67890";
        QTest::newRow("Pellitor") << "Pellitor" << "*112345,1,67890f";
        QTest::newRow("Kovalindre") << "Kovalindre" << "#112345,01,67890f";
        // clang-format on
    }
    void keyChange() {
        QFETCH(QString, model);
        QFETCH(QString, command);
        Long l(LongCaseNamed(model));
        Program& p = l.p;
        p.s.PreviousKey = QStringLiteral("12345");
        p.main->MorTexResCla->setText(QStringLiteral("67890"));
        p.s.KeyStatus = QStringLiteral("DesActivado");  // not needed for a key change
        p.s.CommandNumber = QStringLiteral("10");
        p.main->mnuEnviar->trigger();
        QCOMPARE(p.s.CommandString, command);
    }

    void invalidKeySendsNoCommand() {
        Long l(LongCaseNamed("Kovalindre"));
        Program& p = l.p;
        p.main->MorTexResCla->setText(QStringLiteral("12"));
        p.main->MorTexResCla->blockSignals(true);  // as typed before any check
        p.main->MorTexResCla->setText(QStringLiteral("123a5"));
        p.main->MorTexResCla->blockSignals(false);
        p.s.CommandNumber = QStringLiteral("12");
        p.s.CommandValue = QStringLiteral("100");
        p.s.CommandString = QStringLiteral("none");
        p.main->mnuEnviar->trigger();
        QCOMPARE(p.s.KeyStatus, QStringLiteral("DesActivado"));
        QCOMPARE(p.s.SendData, QStringLiteral("100"));
        QCOMPARE(p.s.CommandString, QStringLiteral("none"));
    }

    void trunkFollowsItsCommandOnly() {
        const LongCase& c = LongCaseNamed("Quarn Conmutador");
        Long l(c);
        Program& p = l.p;
        l.read(ReplyFromMap(KnownImage(c)));
        // The check box alone changes nothing in a whole write.
        p.main->findChild<QCheckBox*>(trunkBox(c.id))->setChecked(false);
        CallBuildFrame(p, p.s.ModelCode);
        QCOMPARE(p.s.SendData.mid(13, 1), QStringLiteral("7"));
        // Its single command does, and the next whole write keeps what the device now holds.
        p.s.CommandNumber = QStringLiteral("11");
        p.s.CommandValue = QStringLiteral("0");
        p.main->mnuEnviar->trigger();
        QCOMPARE(p.s.CommandString, QStringLiteral("#0,13507,0"));
        CallBuildFrame(p, p.s.ModelCode);
        QCOMPARE(p.s.SendData.mid(13, 1), QStringLiteral("5"));
    }
};

QTEST_MAIN(TestLongReply)
#include "test_longreply.moc"
