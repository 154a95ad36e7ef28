// Verify after write: every model with a whole write, written to a simulated device that stores
// a digit changed and read back; the read-back's failures on a stand-in line; the setting kept in
// the program folder.
#include <QAction>
#include <QMenu>
#include <QtTest>

#include "core/codec/codec.h"
#include "gui/device/commands.h"
#include "gui/device/verify.h"
#include "support/simulator.h"
#include "support/smalldisk.h"

using namespace morla;
using namespace morla::test;

namespace {
// A whole write on the stand-in line, its data text taken (and alone on the line).
void writeWhole(ProgramFixture& f) {
    f.p->main->MorFraCom04->click();
    f.port.acknowledgeAll();
    QVERIFY(Fire(f.p->main->TimerPID));
    f.port.line.clear();
    f.port.acknowledgeAll();
}

// The same, up to the read-back's request.
void writeUpToReadBack(ProgramFixture& f) {
    writeWhole(f);
    QVERIFY(VerifierOf(*f.p).settle->isActive());
    f.port.line.clear();
    QVERIFY(Fire(VerifierOf(*f.p).settle));
    QCOMPARE(f.p->main->sendStatus->text(), QStringLiteral("Verificando..."));
    f.port.acknowledgeAll();
    QCOMPARE(f.port.line, QByteArray("D*40f1P"));
}

// The Lúvero map the fixture's panel writes (key 1234, options off, modifier 0001), as a
// device keeps it.
QString writtenLuveroBlock(const QString& key = QStringLiteral("1234")) {
    return LuveroBlock(QStringLiteral("1E"), key, QStringLiteral("0000"));
}
}  // namespace

// stuck: map position stored changed on the second write
using EveryModelRow = std::tuple<int, int, QStringList, QString, int, QString>;

class TestVerify : public QObject {
    Q_OBJECT
  private slots:
    void everyModelThroughTheSimulator_data() {
        QTest::addColumn<EveryModelRow>("row");
        // Keys with a 0, which most devices keep as "A".
        const QString key = QStringLiteral("Clave (MorTexResCla, %1): escrito %2, leído %3");
        // clang-format off
        QTest::newRow("Sorvanell") << EveryModelRow{int(ModelId::Sorvanell), 2, QStringList{"--model", "sorvanell"}, "10*34", 22, key.arg("22, 24, 28, 30", "10*34", "00*34")};
        QTest::newRow("Lúvero") << EveryModelRow{int(ModelId::Luvero), 3, QStringList{"--model", "luvero"}, "1034", 12, key.arg("11-14", "1034", "1B34")};
        QTest::newRow("Zentavira") << EveryModelRow{int(ModelId::Zentavira), 4, QStringList{"--model", "zentavira"}, "1034", 36, key.arg("35-38", "1034", "1134")};
        QTest::newRow("Haldrivonexa") << EveryModelRow{int(ModelId::Haldrivonexa), 5, QStringList{"--model", "haldrivonexa"}, "1034", 14, key.arg("11-14", "1034", "1035")};
        QTest::newRow("Quarn") << EveryModelRow{int(ModelId::Quarn), 6, QStringList{"--model", "quarn"}, "10345", 206, key.arg("205-209", "10345", "1*345")};
        QTest::newRow("Quarn Dolmeth") << EveryModelRow{int(ModelId::Quarn), 10, QStringList{"--model", "quarn", "--firmware", "8"}, "10345", 12, key.arg("11-15", "10345", "1*345")};
        QTest::newRow("Pellitor") << EveryModelRow{int(ModelId::Pellitor), 7, QStringList{"--model", "pellitor"}, "10345", 26, "Servicio Medido: Contador (MorTexConSMC, 26, 28, 30): escrito 000, leído 100"};
        QTest::newRow("Kovalindre") << EveryModelRow{int(ModelId::Kovalindre), 9, QStringList{"--model", "kovalindre"}, "10345", 106, key.arg("105-109", "10345", "1*345")};
        // clang-format on
    }
    void everyModelThroughTheSimulator() {
        QFETCH_ROW(EveryModelRow, model, button, simulator, key, stuck, difference);
        Bench b;
        const ModelInfo& m = Model(ModelId(model));
        const QString firmware = simulator.size() > 3 ? simulator[3] : m.firmware();
        WriteModelConfig(b.f, m, firmware, key);
        QVERIFY(b.start(simulator + QStringList{"--key", key, "--fault",
                                                QStringLiteral("stuck:%1").arg(stuck)}));
        // A read, then "&Enviar" with the panel as the read left it.
        ModelButton(b.p, button);
        QVERIFY(b.read());
        QCOMPARE(b.p.main->MorTexResCla->text(), key);
        QCOMPARE(b.f.msgs.texts(), QStringList{});

        // A device that keeps one digit changed; a good one is verified with every saved file.
        QCOMPARE(WriteAndVerify(b), QStringLiteral("No verificado: ") + difference);
        QCOMPARE(b.f.msgs.texts(), QStringList{QStringLiteral("No verificado: ") + difference});
        // The panel keeps what was written, not what came back.
        QCOMPARE(b.p.main->MorTexResCla->text(), key);
    }

    // A device that keeps only the hex digits it is sent leaves its own digit where the "*" of
    // the programming number and of the key go (map 16 and 26). No read shows those places, so
    // an unedited write is verified.
    void sorvanellKeepsItsOwnStar() {
        Bench b;
        WriteModelConfig(b.f, Model(ModelId::Sorvanell), QStringLiteral("12"),
                         QStringLiteral("56*78"));
        // Header, programming number 12*34, key 56*78 as kept (with their "*" as B), the rest.
        QString map =
            QStringLiteral("040C09000101020B030405060B07080500000000").leftJustified(128, 'F');
        map += FrameChecksum(map) + QStringLiteral("03FE");
        QVERIFY(b.sim.start({"--model", "sorvanell", "--fault", "keepstar"}, map));
        b.f.load();
        ModelButton(b.p, 2);
        QVERIFY(b.read());
        QCOMPARE(b.p.main->MorTexResCla->text(), QStringLiteral("56*78"));
        QCOMPARE(WriteAndVerify(b), QStringLiteral("Verificado"));
        QCOMPARE(b.f.msgs.texts(), QStringList{});
        b.sim.stop();
        QCOMPARE(b.sim.memory().mid(10, 20), QStringLiteral("01020B030405060B0708"));
    }

    void readBackFailures_data() {
        QTest::addColumn<QByteArrayList>("replies");  // one per read-back request
        QTest::addColumn<QString>("status");
        const QByteArray good = LuveroReply(writtenLuveroBlock());
        const QByteArray damaged = LuveroReply(writtenLuveroBlock(), true);
        QTest::newRow("good") << QByteArrayList{good} << "Verificado";
        QTest::newRow("key differs")
            << QByteArrayList{LuveroReply(writtenLuveroBlock(QStringLiteral("1235")))}
            << "No verificado: Clave (MorTexResCla, 11-14): escrito 1234, leído 1235";
        // The fixture allows two read retries.
        QTest::newRow("bad checksum, then good") << QByteArrayList{damaged, good} << "Verificado";
        QTest::newRow("bad checksum every time")
            << QByteArrayList{damaged, damaged, damaged}
            << "No verificado: la lectura de verificación llegó dañada (bloque 1)";
        QString other = writtenLuveroBlock();
        other.replace(0, 2, QStringLiteral("03"));
        QTest::newRow("another model")
            << QByteArrayList{LuveroReply(other)}
            << "No verificado: el equipo conectado no es un Lúvero (código 03)";
        QTest::newRow("silent") << QByteArrayList{} << "No verificado: el equipo no respondió";
        QTest::newRow("cut short") << QByteArrayList{good.left(100)}
                                   << "No verificado: la lectura de verificación quedó incompleta";
    }
    void readBackFailures() {
        QFETCH(QByteArrayList, replies);
        QFETCH(QString, status);
        LoadedProgram f;
        ModelButton(*f.p, 3);
        f.p->main->MorChkRes[0]->setChecked(false);
        f.msgs.clear();
        writeUpToReadBack(f);
        const QString panelKey = f.p->main->MorTexResCla->text();
        WriteVerifier& v = VerifierOf(*f.p);
        for (qsizetype k = 0; k < replies.size(); ++k) {
            f.port.line.clear();
            f.port.feed(replies[k]);
            if (k + 1 < replies.size()) {  // asked again
                f.port.acknowledgeAll();
                QCOMPARE(f.port.line, QByteArray("D*40f1P"));
            }
        }
        if (v.busy()) {
            QVERIFY(v.timeout->isActive());
            QVERIFY(Fire(v.timeout));
        }
        QVERIFY(!v.busy());
        QCOMPARE(f.p->main->sendStatus->text(), status);
        QCOMPARE(f.msgs.texts(),
                 status == QStringLiteral("Verificado") ? QStringList{} : QStringList{status});
        // Nothing of the read-back reaches the panel or the receive path.
        QCOMPARE(f.p->main->MorTexResCla->text(), panelKey);
        QVERIFY(!f.p->s.Monitor.MorTexMon04.view().contains(QStringLiteral("0245")));
        QVERIFY(!f.p->line->aside);
    }

    // A read started by hand during the read-back ends the verification, and the read is the
    // technician's: its reply reaches the panel. A new write does the same, and is verified.
    void aReadByHandTakesOver() {
        LoadedProgram f;
        ModelButton(*f.p, 3);
        writeUpToReadBack(f);
        f.msgs.clear();
        f.p->main->MorFraCom03->click();
        QVERIFY(!VerifierOf(*f.p).busy());
        QCOMPARE(
            f.p->main->sendStatus->text(),
            QStringLiteral("No verificado: se interrumpió al enviarse otro mensaje al equipo"));
        f.port.acknowledgeAll();
        f.port.feed(LuveroReply(writtenLuveroBlock(QStringLiteral("5678"))));
        QCOMPARE(f.p->main->MorTexResCla->text(), QStringLiteral("5678"));
        QCOMPARE(f.msgs.texts(), QStringList{});

        writeWhole(f);
        QVERIFY(VerifierOf(*f.p).settle->isActive());
        f.p->main->MorFraCom04->click();
        QVERIFY(f.p->main->TimerPID->isActive());
        QVERIFY(VerifierOf(*f.p).busy());
        QVERIFY(!VerifierOf(*f.p).settle->isActive());
        QCOMPARE(f.msgs.texts(), QStringList{});
    }

    // A setting that cannot be saved says why, and the item goes back.
    void settingNotSavedSaysWhy() {
        for (const bool fullDisk : {false, true}) {  // else a folder stands where the file goes
            const QString cause = fullDisk ? "No hay espacio en el disco" : "Es una carpeta";
            LoadedProgram f;
            const QString path = OptionsFilePath(*f.p);
            std::unique_ptr<SmallDisk> disk;
            if (fullDisk) {
                disk = std::make_unique<SmallDisk>(f.dir.path(), 64 * 1024);
                if (!disk->mounted()) QSKIP(qPrintable(disk->reason()));
                QVERIFY(disk->fill());
            } else {
                QVERIFY(QDir().mkpath(path));
            }
            auto* item = f.p->main->findChild<QAction*>(QStringLiteral("MorMnuConVer"));
            f.msgs.clear();
            item->trigger();
            QVERIFY(item->isChecked());
            QCOMPARE(f.msgs.texts(),
                     QStringList{"No se pudo guardar la opción en " +
                                 QDir::toNativeSeparators(path) + ": " + cause + "."});
        }
    }

    void settingIsKeptAndOffMeansNoReadBack() {
        LoadedProgram f;
        auto* item = f.p->main->findChild<QAction*>(QStringLiteral("MorMnuConVer"));
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("Verificar al escribir"));
        QVERIFY(f.p->main->MorMnuCon->actions().contains(item));
        emit f.p->main->MorMnuCon->aboutToShow();
        QVERIFY(item->isChecked());  // on by default
        QVERIFY(VerifyAfterWriteEnabled(*f.p));

        item->trigger();
        QVERIFY(!item->isChecked());
        QVERIFY(!VerifyAfterWriteEnabled(*f.p));
        // Another program on the same folder finds it off.
        {
            ProgramFixture other;
            other.p->s.AppFolder = f.dir.path();
            auto* otherItem = other.p->main->findChild<QAction*>(QStringLiteral("MorMnuConVer"));
            emit other.p->main->MorMnuCon->aboutToShow();
            QVERIFY(!otherItem->isChecked());
        }

        ModelButton(*f.p, 3);
        writeWhole(f);
        QVERIFY(f.port.line.startsWith("0001"));  // the data text
        QVERIFY(!VerifierOf(*f.p).busy());
        QVERIFY(!VerifierOf(*f.p).settle->isActive());
        QVERIFY(f.p->main->sendStatus->text().startsWith(QStringLiteral("Configuración enviada")));

        // On again: the next write is read back.
        item->trigger();
        QVERIFY(VerifyAfterWriteEnabled(*f.p));
        writeUpToReadBack(f);
    }
};

QTEST_MAIN(TestVerify)
#include "test_verify.moc"
