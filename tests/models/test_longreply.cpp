// Quarn (both variants), Pellitor and Kovalindre: frame and data layouts pinned by hand, and
// what is their own in the panel. The model suite reads, writes and round-trips them; the
// end-to-end tests send every single command.
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

struct Written {
    QString SendData, SendFrame;
};
Written write(const LongCase& c, const QString& classCode, const layout::Values& v) {
    const layout::Layout& l = c.id == ModelId::Quarn
                                  ? quarn::Layout(QString::fromLatin1(c.firmware))
                              : c.id == ModelId::Pellitor ? pellitor::Layout()
                                                          : kovalindre::Layout();
    const QString map = layout::WrittenMap(
        l, longreply::Header(Model(c.id), QStringLiteral("30"), classCode, QStringLiteral("0001")),
        v);
    return {layout::DataText(l, map), layout::Frame(l, map, !classCode.isEmpty())};
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

using FrameShapeRow = std::tuple<QString, QString, int, int>;
// key: typed before any check, "" to leave it
using NoCommandSentRow = std::tuple<QString, QString, QString>;

class TestLongReply : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void frameShape_data() {
        QTest::addColumn<FrameShapeRow>("row");
        for (const QString cls : {"09", ""}) {
            const int less = cls.isEmpty() ? 2 : 0;
            const QString tag = cls.isEmpty() ? " without class" : " with class";
            // clang-format off
            QTest::newRow(qPrintable("Dolmeth" + tag)) << FrameShapeRow{"Quarn Dolmeth", cls, 194, 236 - less};
            QTest::newRow(qPrintable("Conmutador" + tag)) << FrameShapeRow{"Quarn Conmutador", cls, 224, 266 - less};
            QTest::newRow(qPrintable("Pellitor" + tag)) << FrameShapeRow{"Pellitor", cls, 165, 266 - less};
            QTest::newRow(qPrintable("Kovalindre" + tag)) << FrameShapeRow{"Kovalindre", cls, 249, 266 - less};
            // clang-format on
        }
    }
    void frameShape() {
        QFETCH_ROW(FrameShapeRow, model, classCode, dataLength, frameLength);
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

    // Keys 2 to 5 and the trunk exist on the Conmutador only.
    void dolmethHidesKeysAndTrunk() {
        for (const char* model : {"Quarn Dolmeth", "Quarn Conmutador"}) {
            const LongCase& c = LongCaseNamed(QLatin1String(model));
            Long l(c);
            l.read(ReplyFromMap(KnownImage(c)));
            const bool dolmeth = c.firmware == QByteArrayView("8");
            for (const char* name : {"MorFraFlhFraClv", "MorChkFlhResC00"})
                QCOMPARE(l.p.main->findChild<QWidget*>(name)->isVisibleTo(l.p.main.get()),
                         !dolmeth);
        }
    }

    // Commands the device has no code for, and any command under a key typed wrong, send
    // nothing; under the wrong key the value stays as the data text.
    void noCommandSent_data() {
        QTest::addColumn<NoCommandSentRow>("row");
        QTest::newRow("Quarn option 2")
            << NoCommandSentRow{QStringLiteral("Quarn Conmutador"), "2", ""};
        QTest::newRow("Pellitor option 5") << NoCommandSentRow{QStringLiteral("Pellitor"), "5", ""};
        QTest::newRow("invalid key")
            << NoCommandSentRow{QStringLiteral("Kovalindre"), "12", "123a5"};
    }
    void noCommandSent() {
        QFETCH_ROW(NoCommandSentRow, model, number, key);
        Long l(LongCaseNamed(model));
        Program& p = l.p;
        if (!key.isEmpty()) {
            p.main->MorTexResCla->setText(QStringLiteral("12"));
            p.main->MorTexResCla->blockSignals(true);
            p.main->MorTexResCla->setText(key);
            p.main->MorTexResCla->blockSignals(false);
        }
        p.s.CommandNumber = number;
        p.s.CommandValue = QStringLiteral("100");
        p.s.CommandString = QStringLiteral("none");
        p.main->mnuEnviar->trigger();
        QCOMPARE(p.s.CommandString, QStringLiteral("none"));
        if (key.isEmpty()) return;
        QCOMPARE(p.s.KeyStatus, QStringLiteral("DesActivado"));
        QCOMPARE(p.s.SendData, QStringLiteral("100"));
    }

    void trunkFollowsItsCommandOnly() {
        const LongCase& c = LongCaseNamed("Quarn Conmutador");
        Long l(c);
        Program& p = l.p;
        l.read(ReplyFromMap(KnownImage(c)));
        // The check box alone changes nothing in a whole write.
        p.main->findChild<QCheckBox*>("MorChkFlhResC00")->setChecked(false);
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
