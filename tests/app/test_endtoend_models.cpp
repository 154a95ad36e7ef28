// The Sorvanell and both Tervolinda variants through the program on a real port served by the
// device simulator: every single command, the fields written one at a time, the memory checked
// and read again; the key change of every model.
#include <QtTest>

#include "core/codec/codec.h"
#include "gui/device/commands.h"
#include "gui/panels/keychangeform.h"
#include "support/simulator.h"

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

void writeConfigs(ProgramFixture& f) {
    QDir(f.dir.path()).mkpath(QStringLiteral("Sorvanell/Configuracion"));
    QDir(f.dir.path()).mkpath(QStringLiteral("Tervolinda/Configuracion"));
    WriteRecord(f.paths().modelConfig(QStringLiteral("Sorvanell"), QStringLiteral("12")),
                ModelConfigRecord, ConfigRecord("12*34", "0000000", "100100100", "Aviso "));
    for (const char* firmware : {"72", "02"})
        WriteRecord(f.paths().modelConfig(QStringLiteral("Tervolinda"), QLatin1String(firmware)),
                    ModelConfigRecord, ConfigRecord("1111", "000000000", "000000000", "R"));
}

bool startWith(Bench& b, const QString& memory, const QStringList& args) {
    writeConfigs(b.f);
    if (!b.sim.start(args, memory)) return false;
    b.f.load();
    return true;
}

// "&Leer", until the status is idle again.
bool read(Bench& b) {
    b.p.main->MorTexEst->clear();
    b.p.main->MorFraCom03->click();
    return QTest::qWaitFor([&] { return b.p.main->MorTexEst->text() == QStringLiteral("Morla"); },
                           5000);
}

// The single command chosen, sent through "Comando" and its timer; what the device did.
QString sendCommand(Bench& b, const QString& number, const QString& value,
                    const QString& expected) {
    b.p.s.CommandNumber = number;
    b.p.s.CommandValue = value;
    b.p.main->mnuEnviar->trigger();
    if (!Fire(b.p.main->TimerPID)) return QStringLiteral("not sent");
    if (!QTest::qWaitFor([&] { return !b.sim.outcomeOf(expected).isEmpty(); }, 5000))
        return QStringLiteral("not taken");
    return b.sim.outcomeOf(expected);
}

QString changeKey(Bench& b, const QString& newKey, const QString& expected) {
    b.p.main->show();
    if (!QTest::qWaitForWindowExposed(b.p.main.get())) return QStringLiteral("no window");
    QTest::mouseDClick(b.p.main->MorTexResCla, Qt::LeftButton);
    auto* form = b.p.main->findChild<MorForCamCla*>();
    if (!form || !form->isVisible()) return QStringLiteral("no form");
    QTest::keyClicks(form->MorTextCanCka, newKey);
    QTest::mouseClick(form->morCmbCamCla, Qt::LeftButton);
    if (!Fire(b.p.main->TimerPID)) return QStringLiteral("not sent");
    if (!QTest::qWaitFor([&] { return !b.sim.outcomeOf(expected).isEmpty(); }, 5000))
        return QStringLiteral("not taken");
    return b.sim.outcomeOf(expected);
}
}  // namespace

class TestEndToEndModels : public QObject {
    Q_OBJECT
  private slots:
    void sorvanellSingleCommands() {
        Bench b;
        QVERIFY(startWith(b, sorvanellImage("01010A0202", "01020A0304", "05", "41", "020A00"),
                          {"--model", "sorvanell"}));
        Program& p = b.p;
        QVERIFY(read(b));
        const QString applied = QStringLiteral("applied");
        QVERIFY(sendCommand(b, "1", "0", "1,2,*,3,4,1,f").startsWith(applied));
        QVERIFY(sendCommand(b, "4", "1", "1,2,*,3,4,7,f").startsWith(applied));
        QVERIFY(sendCommand(b, "7", "1", "1,2,*,3,4,5,f").startsWith(applied));
        QVERIFY(sendCommand(b, "11", "1", "1,2,*,3,4,8,f").startsWith(applied));
        QVERIFY(sendCommand(b, "12", "0", "1,2,*,3,4,9,f").startsWith(applied));
        Named<QLineEdit>(p, "MorTxtAleAut")->setText(QStringLiteral("55*66"));
        QVERIFY(sendCommand(b, "13", "55*66", "1,2,*,3,4,2,5,5,*,6,6,f").startsWith(applied));
        Named<QLineEdit>(p, "MorTxtAleDigAler")->setText(QStringLiteral("#"));
        QVERIFY(sendCommand(b, "14", "#", "1,2,*,3,4,6,#,f").startsWith(applied));
        QVERIFY(changeKey(b, "21*43", "1,2,*,3,4,3,2,1,*,4,3,f").startsWith(applied));
        QVERIFY(sendCommand(b, "12", "1", "2,1,*,4,3,9,f").startsWith(applied));

        QVERIFY(read(b));
        QCOMPARE(p.main->MorTexResCla->text(), QStringLiteral("21*43"));
        QCOMPARE(Named<QLineEdit>(p, "MorTxtAleAut")->text(), QStringLiteral("55*66"));
        QCOMPARE(Named<QLineEdit>(p, "MorTxtAleDigAler")->text(), QStringLiteral("#"));
        QCOMPARE(p.main->MorTexBan->text(), QStringLiteral("0001001"));
        QVERIFY(Named<QCheckBox>(p, "MorChkAleTono")->isChecked());
        QVERIFY(Named<QCheckBox>(p, "MorChkAleBlqGrb")->isChecked());
        b.sim.stop();
        QCOMPARE(b.sim.memory(), sorvanellImage("05050A0606", "02010A0403", "0C", "78", "020A00"));
    }

    void tervolinda_data() {
        QTest::addColumn<bool>("voice");
        QTest::newRow("without voice") << false;
        QTest::newRow("with voice") << true;
    }
    void tervolinda() {
        QFETCH(bool, voice);
        Bench b;
        QVERIFY(startWith(b, tervolindaImage(voice, "0A09", "01020304", "05060708"),
                          {"--model", "tervolinda", "--firmware", voice ? "2" : "72"}));
        Program& p = b.p;
        QVERIFY(read(b));
        QCOMPARE(b.f.msgs.texts(), QStringList{});
        QCOMPARE(Named<QLabel>(p, "MorLblPrivIdent")->text(),
                 voice ? QStringLiteral("Con Voz") : QStringLiteral("Sin Voz"));
        QCOMPARE(p.main->MorTexResCla->text(), QStringLiteral("1234"));
        auto* removal = Named<QCheckBox>(p, "MorFraPrivElim1");
        auto* nine = Named<QCheckBox>(p, "MorFraPrivNum9");
        auto* exit = Named<QLineEdit>(p, "MorTxtPrivClvSal");
        const QString applied = QStringLiteral("applied");
        if (!voice) {
            QCOMPARE(exit->text(), QStringLiteral("5678"));
            QVERIFY(!removal->isChecked());
            QVERIFY(nine->isChecked());
            p.main->show();
            QVERIFY(QTest::qWaitForWindowExposed(p.main.get()));
            // Each box set with the left button, then sent with the right.
            for (auto [box, message] :
                 {std::pair{removal, "#1,1234,9f"}, std::pair{nine, "#5,1234,0f"}}) {
                const QPoint onBox(6, box->height() / 2);
                QTest::mouseClick(box, Qt::LeftButton, {}, onBox);
                QTest::mousePress(box, Qt::RightButton, {}, onBox);
                p.main->mnuEnviar->trigger();
                p.main->mnuComando->hide();
                QVERIFY(Fire(p.main->TimerPID));
                QTRY_VERIFY(b.sim.outcomeOf(QLatin1String(message)).startsWith(applied));
            }
            exit->setText(QStringLiteral("2580"));
            QTest::mouseDClick(exit, Qt::LeftButton);
            p.main->mnuEnviar->trigger();
            p.main->mnuComando->hide();
            QVERIFY(Fire(p.main->TimerPID));
            QTRY_VERIFY(b.sim.outcomeOf("#3,1234,2580f").startsWith(applied));
        }
        QVERIFY(changeKey(b, "4321", "#2,1234,4321f").startsWith(applied));

        p.main->MorTexResCla->setText(QStringLiteral("9"));
        exit->clear();
        QVERIFY(read(b));
        QCOMPARE(p.main->MorTexResCla->text(), QStringLiteral("4321"));
        if (!voice) {
            QCOMPARE(exit->text(), QStringLiteral("2580"));
            QVERIFY(removal->isChecked());
            QVERIFY(!nine->isChecked());
        }
        QCOMPARE(b.f.msgs.texts(), QStringList{});
        b.sim.stop();
        QCOMPARE(b.sim.memory(), tervolindaImage(voice, "090A", "04030201", "0205080A"));
    }

    // The Sorvanell's key change, and a command with its new key, are in its single commands.
    void keyChangeOfEveryModel_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("newKey");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("next");  // CommandNumber of the next command, "" to verify
        QTest::addColumn<QString>("nextMessage");
        QTest::newRow("Lúvero") << QStringList{"--model", "luvero", "--key", "1234"} << "4321"
                                << "#2,1234,4321"
                                << "1"
                                << "#1,4321,9";
        QTest::newRow("Tervolinda")
            << QStringList{"--model", "tervolinda", "--key", "1234"} << "4321"
            << "#2,1234,4321f"
            << "12"
            << "#1,4321,9f";
        QTest::newRow("Tervolinda Voz")
            << QStringList{"--model", "tervolinda", "--firmware", "2", "--key", "1234"} << "4321"
            << "#2,1234,4321f"
            << ""
            << "*46f4321";
    }
    void keyChangeOfEveryModel() {
        QFETCH(QStringList, args);
        QFETCH(QString, newKey);
        QFETCH(QString, change);
        QFETCH(QString, next);
        QFETCH(QString, nextMessage);
        Bench b;
        writeConfigs(b.f);
        QVERIFY(b.start(args));
        QVERIFY(read(b));
        QCOMPARE(b.f.msgs.texts(), QStringList{});
        QVERIFY(changeKey(b, newKey, change).startsWith(QStringLiteral("applied")));
        QCOMPARE(b.p.main->MorTexResCla->text(), newKey);
        if (next.isEmpty()) {
            b.p.main->MorFraCom02->click();
            QVERIFY(Fire(b.p.main->TimerPID));
            QTRY_VERIFY(b.sim.logLines().join('\n').contains(
                QStringLiteral("verify with key \"%1\" (the device key)").arg(newKey)));
        } else {
            QVERIFY(sendCommand(b, next, "1", nextMessage).startsWith(QStringLiteral("applied")));
        }
    }
};

QTEST_MAIN(TestEndToEndModels)
#include "test_endtoend_models.moc"
