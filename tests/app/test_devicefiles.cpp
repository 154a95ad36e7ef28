// Saving a device's configuration to a file and opening it again: every model through the
// program and the device simulator (read, save, factory reset, open, write, read: the device
// holds what was saved, and morla-cli writing the file sends the same data text, verifies it and
// reads it back the same), every kind of refused file leaving the panel as it was, files damaged
// one byte at a time, saves of a panel that was never read, and the folder the dialogs offer.
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QProgressBar>
#include <QtTest>

#include "core/models/registry.h"
#include "gui/device/commands.h"
#include "gui/device/devicefiles.h"
#include "support/clirun.h"
#include "support/filebytes.h"
#include "support/simulator.h"
#include "support/units.h"

using namespace morla;
using namespace morla::test;

Q_DECLARE_METATYPE(morla::Answer)

namespace {

// What the main window shows, control by control, and the state a decode sets.
using Panel = QMap<QString, QString>;

Panel PanelOf(Program& p) {
    Panel out;
    for (QWidget* w : p.main->findChildren<QWidget*>()) {
        QString name = w->objectName();
        // The send status tells of the last message out, not of the device.
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) ||
            name == QLatin1String("sendStatus") || qobject_cast<QProgressBar*>(w))
            continue;
        QString v;
        for (const char* shown : {"text", "checked", "currentText", "title"})
            if (const QVariant x = w->property(shown); x.isValid())
                v += QLatin1String(shown) + ' ' + x.toString() + ' ';
        v += w->isVisibleTo(p.main.get()) ? QStringLiteral(" shown") : QStringLiteral(" hidden");
        v += w->isEnabled() ? QString() : QStringLiteral(" disabled");
        while (out.contains(name)) name += QLatin1Char('+');
        out[name] = v;
    }
    const MorlaState& s = p.s;
    out["EquipmentName"] = s.EquipmentName;
    out["ModelCode"] = s.ModelCode;
    out["FirmwareCode"] = s.FirmwareCode;
    out["LastReadMap"] = s.LastReadMap;
    out["LastReadText"] = s.LastReadText;
    out["RestrictorFlags"] = s.joinedRestrictorFlags();
    return out;
}

// The entries of `b` that differ from `a`, for a readable failure.
QStringList Differences(const Panel& a, const Panel& b) {
    QStringList out;
    for (auto it = b.begin(); it != b.end(); ++it)
        if (a.value(it.key()) != it.value())
            out << it.key() + QStringLiteral(": ") + a.value(it.key()) + QStringLiteral(" -> ") +
                       it.value();
    return out;
}

void WriteEveryConfig(ProgramFixture& f) {
    for (const ModelInfo& m : Models()) WriteModelConfig(f, m, m.firmware());
    WriteModelConfig(f, Model(ModelId::Quarn), QStringLiteral("8"));
}

// The dialogs give these names at once and note the folder they were offered.
struct Dialogs {
    QString saveAs, openName, offered, suggested;
    DeviceFileDialogs standard = DeviceDialogs();
    ~Dialogs() { DeviceDialogs() = standard; }
    Dialogs() {
        DeviceDialogs().saveName = [this](Program&, const QString& folder, const QString& name) {
            offered = folder;
            suggested = name;
            return saveAs;
        };
        DeviceDialogs().openName = [this](Program&, const QString& folder) {
            offered = folder;
            return openName;
        };
    }
};

// The data text of the last whole write a unit took: the message after its write command.
QString DataTextOf(const Simulator& sim) {
    const QStringList messages = sim.messages();
    const qsizetype at = messages.lastIndexOf(QStringLiteral("*42"));
    return at >= 0 ? messages.value(at + 1) : QString();
}

// A program on a stand-in port that has just read a Lúvero with key 1234 and option 1.
struct ReadLuvero {
    ProgramFixture f;
    Program& p = *f.p;
    explicit ReadLuvero(const QString& key = QStringLiteral("1234")) {
        f.load();
        QString digits = key;
        digits.replace('0', 'A');
        p.main->MorFraCom03->click();
        f.port.acknowledgeAll();
        f.port.feed(LuveroReply(LuveroBlock("1E", digits, "0001")));
        f.msgs.clear();
    }
    QString path(const char* name) const { return f.dir.filePath(QLatin1String(name)); }
};

}  // namespace

// firmwareBox: a Lúvero panel's, "" for the start page; chosen: what the dialog gives; exists: a
// file of the final name is there already; replace: the answer to the replace question; written:
// the file written, "" for none
using SavingAsksRow = std::tuple<QString, QString, bool, Answer, QString, QStringList>;

class TestDeviceFiles : public QObject {
    Q_OBJECT
  private slots:
    void everyModelThroughTheSimulator_data() {
        QTest::addColumn<QString>("unit");
        for (const UnitCase& c : UnitCases()) QTest::newRow(c.name) << QString::fromUtf8(c.name);
    }
    void everyModelThroughTheSimulator() {
        QFETCH(QString, unit);
        const UnitCase c = UnitNamed(unit);
        const ModelInfo& m = c.info();
        // The Tervolinda is written field by field: its file is opened, not written back here.
        const bool whole = m.hasBuildFrame;
        Bench b;
        WriteModelConfig(b.f, m, c.configured());
        QVERIFY(c.start(b.sim));
        b.f.load();
        Dialogs dialogs;
        dialogs.saveAs = dialogs.openName = b.f.dir.filePath(QStringLiteral("equipo.mcfg"));

        QVERIFY(b.read());
        const QString saved = b.p.s.LastReadMap;
        const Panel asRead = PanelOf(b.p);
        b.p.main->MorMnuPriGua->trigger();
        QCOMPARE(
            b.f.msgs.texts(),
            (QStringList{"¿Guardar la configuración tal como se leyó del equipo?\n"
                         "(No: como está ahora en el panel)",
                         "Configuración guardada en " + QDir::toNativeSeparators(dialogs.saveAs)}));
        // The command line writes the same file (and verifies it), and the panel's frame saved
        // beside it, each to a blank unit of its own while the windows go on.
        const QString panelFile = b.f.dir.filePath(QStringLiteral("panel.mcfg"));
        if (whole) {
            QString why;
            const std::optional<DeviceImage> frame = ImageOfPanel(b.p, false, &why);
            QVERIFY2(frame, qPrintable(why));
            QVERIFY(putBytes(panelFile, FormatDeviceImage(*frame)));
        }
        std::vector<std::unique_ptr<Simulator>> cliUnits;
        std::vector<std::unique_ptr<Cli>> clis;
        for (const QString& file : {dialogs.saveAs, panelFile}) {
            const int port = int(cliUnits.size()) + 2;
            cliUnits.push_back(std::make_unique<Simulator>(b.f.dir.path(), port));
            QVERIFY(c.start(*cliUnits.back(), true));
            if (!whole) break;
            clis.push_back(std::make_unique<Cli>(b.f.dir.path()));
            clis.back()->start(QStringList{"write", QString::number(port), file} +
                               (port == 3 ? QStringList{"--no-verify"} : QStringList{}));
        }

        b.f.msgs.clear();
        b.p.main->MorFraCom10->click();
        QVERIFY(Fire(b.p.main->TimerPID));
        QTRY_VERIFY(b.sim.messages().contains(QStringLiteral("*49f")));
        QVERIFY(b.read());
        QVERIFY2(b.p.s.LastReadMap != saved, "the factory image is the saved one: nothing shown");

        b.p.main->MorMnuPriAbr->trigger();
        QCOMPARE(b.f.msgs.texts(), QStringList{});
        // Exactly as the read of the device that was saved.
        QCOMPARE(Differences(asRead, PanelOf(b.p)), QStringList{});

        if (whole) QCOMPARE(WriteAndVerify(b), QStringLiteral("Verificado"));
        // What "&Enviar" sent is, byte for byte, what the command line sent for either file.
        const QString sent = DataTextOf(b.sim);
        QVERIFY(!sent.isEmpty() || !whole);
        for (size_t k = 0; k < clis.size(); ++k) {
            const CliRun r = clis[k]->finish();
            QVERIFY2(r.exit == 0 && (k > 0 || r.out.contains("Verificado")), qPrintable(r.all()));
            // The unit takes the closing "P" a moment after it went out.
            QTRY_COMPARE(DataTextOf(*cliUnits[k]), sent);
        }
        // The command line reads the unit it wrote: the same configuration, field by field. The
        // Tervolinda's file is refused with nothing sent, and its blank unit read.
        auto cli = [&](const QStringList& args) { return Cli(b.f.dir.path()).run(args); };
        if (whole) {
            const CliRun verify = cli({"verify", "2", dialogs.saveAs, "--json"});
            QCOMPARE(QJsonDocument::fromJson(verify.out.toUtf8())["result"].toString(), "ok");
            QVERIFY2(cli({"diff", "2", "3"}).exit == 0, "the two units differ");
        } else {
            const CliRun write = cli({"write", "2", dialogs.saveAs});
            QVERIFY2(write.exit == 3 && write.err.contains("no tiene escritura completa"),
                     qPrintable(write.all()));
            QCOMPARE(cliUnits[0]->received(), QString());
        }
        const QString back = b.f.dir.filePath(QStringLiteral("leido.mcfg"));
        const CliRun read = cli({"read", "2", "-o", back});
        QVERIFY2(read.exit == 0 && read.out.contains("Configuración guardada en " + back),
                 qPrintable(read.all()));
        if (whole)
            QCOMPARE(cli({"diff", back, dialogs.saveAs}).exit, 0);
        else  // verified against its source all the same
            QCOMPARE(cli({"verify", "2", back}).exit, 0);
        if (!whole) return;
        QVERIFY(b.read());
        QCOMPARE(b.p.s.LastReadMap, saved);
        QCOMPARE(Differences(asRead, PanelOf(b.p)), QStringList{});
    }

    void refused_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("message");  // after "No se abrió <path>: "
        ReadLuvero r;
        QString why;
        const DeviceImage good = *ImageOfPanel(r.p, true, &why);
        const QByteArray text = FormatDeviceImage(good);
        auto with = [&](auto change) {
            DeviceImage image = good;
            change(image);
            return FormatDeviceImage(image);
        };
        const QString damaged = QStringLiteral("el archivo está dañado (%1).");
        // clang-format off
        QTest::newRow("another version") << QByteArray(text).replace("Versión: 1", "Versión: 7") << "es un archivo de otra versión del programa (versión 7; este programa abre la versión 1).";
        QTest::newRow("map short for the model") << with([](DeviceImage& i) { i.digits.chop(2); }) << damaged.arg("el mapa tiene 132 dígitos y el modelo 134");
        QTest::newRow("map of another model") << with([](DeviceImage& i) { i.digits.replace(0, 2, "03"); }) << damaged.arg("el mapa no es de este modelo");
        QTest::newRow("block sum wrong") << with([](DeviceImage& i) { i.digits.replace(20, 1, "7"); }) << damaged.arg("la suma del bloque 1 del mapa no es correcta");
        QTest::newRow("firmware not the map's") << with([](DeviceImage& i) { i.firmware = "31"; }) << damaged.arg("el firmware 31 no es el del mapa, 30");
        QTest::newRow("frame of another length") << with([](DeviceImage& i) { i.origin = ImageOrigin::Panel; i.digits.chop(2); }) << damaged.arg("un marco de 132 dígitos no es de este modelo");
        QTest::newRow("model not built") << with([](DeviceImage& i) { i.modelCode = "07"; i.digits.replace(0, 2, "07"); }) << "es de un equipo que este programa no maneja (modelo \"07\").";
        // Not regular files, or far too large: refused at once, without blocking on a pipe.
        QTest::newRow("named pipe") << QByteArray("<fifo>") << "Es una tubería con nombre, no un archivo.";
        QTest::newRow("folder") << QByteArray("<folder>") << "Es una carpeta.";
        QTest::newRow("2 GiB") << QByteArray("<2 GiB>") << "mide 2147483648 bytes y un archivo de configuración de equipo no pasa de 16384 bytes.";
        QTest::newRow("edited by hand") << QByteArray(text).replace("Mapa 001: 00", "Mapa 001: 01") << "el archivo fue modificado fuera del programa (su suma de verificación no corresponde).";
        // clang-format on
    }
    void refused() {
        QFETCH(QByteArray, file);
        QFETCH(QString, message);
        ReadLuvero r;
        Dialogs dialogs;
        dialogs.openName = r.path("otro.mcfg");
        if (file.startsWith('<'))
            QVERIFY(putOddFile(dialogs.openName, QString::fromUtf8(file.mid(1).chopped(1))));
        else
            QVERIFY(putBytes(dialogs.openName, file));
        const Panel before = PanelOf(r.p);
        QElapsedTimer clock;
        clock.start();
        r.p.main->MorMnuPriAbr->trigger();
        QVERIFY(clock.elapsed() < 1000);
        QCOMPARE(r.f.msgs.texts(),
                 QStringList{"No se abrió " + QDir::toNativeSeparators(dialogs.openName) + ": " +
                             message});
        QCOMPARE(r.f.msgs.shown.first().title, QStringLiteral("MORLA"));
        QCOMPARE(Differences(before, PanelOf(r.p)), QStringList{});
        QCOMPARE(r.p.s.ReadMap, before.value("LastReadMap"));
    }

    // Every byte of a saved file changed in three ways or left out, and the file cut at every
    // length: each is refused with one message and the panel stays as it was. CRC-32 finds
    // every change of one byte, so no change is harmless.
    void damagedOneByteAtATime() {
        ReadLuvero r;
        const QString path = r.path("leido.mcfg");
        QVERIFY(SaveDeviceFile(r.p, path));
        const QByteArray good = bytesOf(path);
        QVERIFY(good.size() > 300);
        // The Lúvero shown differs from the saved one, so that a damaged file shown would show.
        r.p.main->MorTexResCla->setText(QStringLiteral("9999"));
        r.p.main->MorChkRes[3]->click();
        const Panel before = PanelOf(r.p);
        QStringList accepted;
        auto tryOpen = [&](const QByteArray& bytes, const QString& what) {
            r.f.msgs.clear();
            if (!putBytes(path, bytes) || OpenDeviceFile(r.p, path) || r.f.msgs.shown.size() != 1 ||
                !r.f.msgs.texts().first().startsWith(QStringLiteral("No se abrió ")) ||
                !Differences(before, PanelOf(r.p)).isEmpty())
                accepted << what;
        };
        for (int i = 0; i < good.size(); ++i) {
            for (char mask : {'\x01', '\x20', '\x80'}) {
                QByteArray bytes = good;
                bytes[i] = char(bytes[i] ^ mask);
                tryOpen(bytes, QStringLiteral("byte %1 ^ %2").arg(i).arg(int(quint8(mask))));
            }
            tryOpen(good.left(i), QStringLiteral("cut at %1").arg(i));
            tryOpen(QByteArray(good).remove(i, 1), QStringLiteral("byte %1 left out").arg(i));
        }
        QCOMPARE(accepted, QStringList{});
        r.f.msgs.clear();
        QVERIFY(putBytes(path, good));
        QVERIFY(OpenDeviceFile(r.p, path));
        QCOMPARE(r.p.main->MorTexResCla->text(), QStringLiteral("1234"));
    }

    // Without a read of the model, the file holds the frame the panel would write, and opens as
    // "&Ult.Envío" shows a frame: a key with a "*", a short reply, a long one and a panel
    // written field by field (every model's frame: the simulator run and the model suite).
    void panelNeverRead_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("key");
        QTest::newRow("Sorvanell") << 2 << "21*43";
        QTest::newRow("Lúvero") << 3 << "4321";
        QTest::newRow("Tervolinda") << 8 << "4321";
        QTest::newRow("Quarn Dolmeth") << 10 << "54321";
    }
    void panelNeverRead() {
        QFETCH(int, button);
        QFETCH(QString, key);
        ProgramFixture f;
        WriteEveryConfig(f);
        f.load();
        ModelButton(*f.p, button);
        f.p->main->MorTexResCla->setEnabled(true);
        f.p->main->MorTexResCla->setText(key);
        // A model button leaves the firmware box as it was, and a panel of another firmware
        // cannot be saved.
        f.p->main->MorTexResFirm->setText(f.p->s.FirmwareCode);
        const QString equipment = f.p->s.EquipmentName;
        f.msgs.clear();
        const QByteArray line = f.port.line;
        const QString path = f.dir.filePath(QStringLiteral("panel.mcfg"));
        QVERIFY2(SaveDeviceFile(*f.p, path), qPrintable(f.msgs.texts().join('|')));
        QCOMPARE(f.msgs.texts(),
                 QStringList{"Configuración guardada en " + QDir::toNativeSeparators(path)});
        QVERIFY(bytesOf(path).contains("\nOrigen: panel\n"));
        // Saving built a frame but sent nothing and left the last send as it was.
        QCOMPARE(f.port.line, line);
        QCOMPARE(f.p->s.SendFrame, QString());

        ModelButton(*f.p, 1);
        f.msgs.clear();
        QVERIFY(OpenDeviceFile(*f.p, path));
        QCOMPARE(f.msgs.texts(), QStringList{});
        QCOMPARE(f.p->s.EquipmentName, equipment);
        QCOMPARE(f.p->main->MorTexResCla->text(), key);
    }

    // After a read the technician chooses: the map as read, or the panel as edited since.
    void readOrPanel() {
        for (const bool asRead : {true, false}) {
            ReadLuvero r;
            const QString read = r.p.s.joinedRestrictorFlags();
            r.p.main->MorChkRes[2]->click();
            const QString edited = r.p.s.joinedRestrictorFlags();
            QVERIFY(edited != read);
            r.p.main->MorTexResCla->setText(QStringLiteral("5678"));
            r.f.msgs.answers = {asRead ? Answer::Yes : Answer::No};
            const QString path = r.path("elegido.mcfg");
            QVERIFY(SaveDeviceFile(r.p, path));
            QVERIFY(bytesOf(path).contains(asRead ? "\nOrigen: lectura\n" : "\nOrigen: panel\n"));
            ModelButton(r.p, 3);
            QVERIFY(OpenDeviceFile(r.p, path));
            QCOMPARE(r.p.main->MorTexResCla->text(), asRead ? "1234" : "5678");
            QCOMPARE(r.p.s.joinedRestrictorFlags(), asRead ? read : edited);
        }
    }

    void savingAsks_data() {
        QTest::addColumn<SavingAsksRow>("row");
        const QString saved = QStringLiteral("Configuración guardada en ");
        const QString replace = QStringLiteral("¿Desea reemplazar  %1/viejo.mcfg  ?");
        // clang-format off
        QTest::newRow("no model on the panel") << SavingAsksRow{"", "x.mcfg", false, Answer::Yes, "", QStringList{"Elija un equipo o lea uno antes de guardar su configuración."}};
        // Settled before the dialog: no name is asked for.
        QTest::newRow("panel that cannot be saved") << SavingAsksRow{"99", "x.mcfg", false, Answer::Yes, "", QStringList{"No se puede guardar la configuración: el panel es del firmware 30 y la casilla de firmware dice 99."}};
        QTest::newRow("dialog cancelled") << SavingAsksRow{"30", "", false, Answer::Yes, "", QStringList{}};
        QTest::newRow("name without extension") << SavingAsksRow{"30", "nuevo", false, Answer::Yes, "nuevo.mcfg", QStringList{saved + "%1/nuevo.mcfg"}};
        QTest::newRow("replace declined") << SavingAsksRow{"30", "viejo.mcfg", true, Answer::No, "", QStringList{replace}};
        QTest::newRow("replace accepted") << SavingAsksRow{"30", "viejo.mcfg", true, Answer::Yes, "viejo.mcfg", QStringList{replace, saved + "%1/viejo.mcfg"}};
        // "carpeta.mcfg" is there as a folder: refused before anything is asked.
        QTest::newRow("a folder in its place") << SavingAsksRow{"30", "carpeta.mcfg", true, Answer::Yes, "", QStringList{"No se guardó la configuración en %1/carpeta.mcfg: Es una carpeta."}};
        // clang-format on
    }
    void savingAsks() {
        QFETCH_ROW(SavingAsksRow, firmwareBox, chosen, exists, replace, written, messages);
        LoadedProgram f;
        if (!firmwareBox.isEmpty()) {
            ModelButton(*f.p, 3);
            f.p->main->MorTexResFirm->setText(firmwareBox);
        }
        const QString folder = QDir::toNativeSeparators(f.dir.path());
        Dialogs dialogs;
        dialogs.saveAs = chosen.isEmpty() ? QString() : f.dir.filePath(chosen);
        const QByteArray old("anterior");
        const bool folderThere = chosen == QLatin1String("carpeta.mcfg");
        if (exists)
            QVERIFY(folderThere ? QDir().mkpath(f.dir.filePath(chosen))
                                : putBytes(f.dir.filePath(chosen), old));
        f.msgs.clear();
        f.msgs.answers = {replace};
        f.p->main->MorMnuPriGua->trigger();
        QStringList expected;
        for (QString m : messages) {
            if (m.contains(QLatin1String("%1"))) m = m.arg(folder).replace('/', QDir::separator());
            expected << m;
        }
        QCOMPARE(f.msgs.texts(), expected);
        QCOMPARE(dialogs.suggested.isEmpty(), firmwareBox != QLatin1String("30"));
        if (!dialogs.suggested.isEmpty())
            QCOMPARE(dialogs.suggested, QStringLiteral("Luvero30.mcfg"));
        if (!written.isEmpty())
            QVERIFY(bytesOf(f.dir.filePath(written)).startsWith("MORLA configuración de equipo\n"));
        if (exists && written.isEmpty())
            QVERIFY(folderThere ? QFileInfo(f.dir.filePath(chosen)).isDir()
                                : bytesOf(f.dir.filePath(chosen)) == old);
    }

    // The dialogs start in the folder last used, kept in the program folder between runs.
    void lastFolderRemembered() {
        ReadLuvero r;
        Dialogs dialogs;
        QVERIFY(QDir(r.f.dir.path()).mkpath(QStringLiteral("equipos/cliente")));
        const QString folder = r.f.dir.filePath(QStringLiteral("equipos/cliente"));
        QCOMPARE(LastDeviceFolder(r.p), QDir::homePath());
        dialogs.saveAs = folder + QStringLiteral("/uno.mcfg");
        r.p.main->MorMnuPriGua->trigger();
        QCOMPARE(dialogs.offered, QDir::homePath());
        QVERIFY(QFileInfo::exists(dialogs.saveAs));

        dialogs.openName = dialogs.saveAs;
        r.p.main->MorMnuPriAbr->trigger();
        QCOMPARE(dialogs.offered, folder);
        // Another run of the program on the same folder.
        ProgramFixture again;
        again.p->s.AppFolder = r.f.dir.path();
        QCOMPARE(LastDeviceFolder(*again.p), folder);
        // A folder that is gone is not offered.
        QVERIFY(QDir(folder).removeRecursively());
        QCOMPARE(LastDeviceFolder(r.p), QDir::homePath());
    }

    void notWhileReading() {
        ReadLuvero r;
        const QString path = r.path("leido.mcfg");
        QVERIFY(SaveDeviceFile(r.p, path));
        r.f.msgs.clear();
        r.p.main->MorFraCom03->click();
        QVERIFY(r.p.line->reading());
        const Panel before = PanelOf(r.p);
        QVERIFY(!OpenDeviceFile(r.p, path));
        QCOMPARE(r.f.msgs.texts(),
                 QStringList{"Hay una lectura en curso: abra la configuración cuando termine."});
        QCOMPARE(Differences(before, PanelOf(r.p)), QStringList{});
    }
};

QTEST_MAIN(TestDeviceFiles)
#include "test_devicefiles.moc"
