// The default data kit: every file it lays out reads back as its record type with the values
// the program relies on, and a second run leaves existing files alone.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include "config/recordfile.h"
#include "datakit/datakit.h"
#include "link/codec.h"
#include "models/registry.h"

using namespace morla;

namespace {

const QString kDate = QStringLiteral("01/02/2024");

QString equipmentFile(const QString& app, const QString& name) {
    return JoinPath(Paths{app}.equipmentFolder(), name);
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

RecordType typeByName(const QString& name) {
    for (const RecordType& t : {ModelConfigRecord, EquipmentIndexRecord, SoftwareSettingsRecord,
                                UserRecord, CommandRecord})
        if (name == QLatin1String(t.name)) return t;
    return {"", 0, 0};
}

bool isFlags(const QString& text, int length) {
    if (text.size() != length) return false;
    for (QChar c : text)
        if (c != '0' && c != '1') return false;
    return true;
}

}  // namespace

class TestDataKit : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString app_;

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        app_ = dir_.filePath(QStringLiteral("Morla"));
        const auto r = datakit::LayOutKit(app_, false, kDate);
        QVERIFY2(r.ok, qPrintable(r.errors.join('\n')));
        QVERIFY(r.kept.isEmpty());
        QCOMPARE(r.written.size(), datakit::KitFiles(kDate).size() + 1);
    }

    // Values other parts of the program read from the kit, field by field.
    void fieldValues_data() {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("record");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("value");

        const QString sw = QStringLiteral("Utilerias/Generales/Equipos/Software.CCon");
        QTest::newRow("settings carried field empty")
            << sw << "SoftwareSettingsRecord" << 1 << 1 << "";
        QTest::newRow("settings field 21 empty") << sw << "SoftwareSettingsRecord" << 1 << 21 << "";
        QTest::newRow("settings user index") << sw << "SoftwareSettingsRecord" << 1 << 22 << "-1";
        QTest::newRow("settings date") << sw << "SoftwareSettingsRecord" << 1 << 23 << kDate;
        QTest::newRow("settings retries") << sw << "SoftwareSettingsRecord" << 1 << 24 << "3";
        QTest::newRow("settings time-out") << sw << "SoftwareSettingsRecord" << 1 << 25 << "10";
        QTest::newRow("settings installation code")
            << sw << "SoftwareSettingsRecord" << 1 << 26 << "0001";
        QTest::newRow("settings class")
            << sw << "SoftwareSettingsRecord" << 1 << 27 << "Dravenquista";

        const QString cmd = QStringLiteral("Utilerias/Generales/Equipos/Comandos.CCon");
        const QStringList names{"Lectura",    "Escritura", "ResetFabrica",
                                "ResetClave", "Verificar", "Colgado"};
        const QStringList codes{"*40", "*42", "*49", "*43", "*46", "*47"};
        for (int i = 0; i < names.size(); ++i) {
            QTest::addRow("command %s name", qPrintable(names[i]))
                << cmd << "CommandRecord" << i + 1 << 1 << names[i];
            QTest::addRow("command %s code", qPrintable(names[i]))
                << cmd << "CommandRecord" << i + 1 << 2 << codes[i];
            QTest::addRow("command %s date", qPrintable(names[i]))
                << cmd << "CommandRecord" << i + 1 << 3 << kDate;
        }

        const QString users = QStringLiteral("Utilerias/Generales/Equipos/Usuarios.CCon");
        QTest::newRow("user name") << users << "UserRecord" << 1 << 1 << "Tecnico";
        QTest::newRow("user slot") << users << "UserRecord" << 1 << 2 << "1";
        QTest::newRow("user third field") << users << "UserRecord" << 1 << 3 << "Mostrador";
        QTest::newRow("user date") << users << "UserRecord" << 1 << 4 << kDate;

        const QString luvero = QStringLiteral("Luvero/Configuracion/Luvero30.Ccon");
        QTest::newRow("luvero model") << luvero << "ModelConfigRecord" << 1 << 42 << "Luvero";
        QTest::newRow("luvero firmware") << luvero << "ModelConfigRecord" << 1 << 45 << "30";
        QTest::newRow("luvero visibility")
            << luvero << "ModelConfigRecord" << 1 << 41 << "111111000";
        QTest::newRow("luvero no parameters")
            << luvero << "ModelConfigRecord" << 1 << 55 << "00000000000000000000";
        QTest::newRow("luvero key") << luvero << "ModelConfigRecord" << 1 << 44 << "1234";
        QTest::newRow("luvero date") << luvero << "ModelConfigRecord" << 1 << 57 << kDate;

        const QString zen = QStringLiteral("Zentavira/Configuracion/Zentavira30.Ccon");
        QTest::newRow("zentavira release caption")
            << zen << "ModelConfigRecord" << 1 << 4
            << "Liberar la tabla de memorias de números telfónicos";
        QTest::newRow("zentavira 16-digit frame")
            << zen << "ModelConfigRecord" << 1 << 7 << "Memorias de 16 dígitos";
        QTest::newRow("zentavira parameters shown")
            << zen << "ModelConfigRecord" << 1 << 55 << "11110110000000000000";

        const QString hal = QStringLiteral("Haldrivonexa/Configuracion/Haldrivonexa30.Ccon");
        QTest::newRow("haldrivonexa first prefix")
            << hal << "ModelConfigRecord" << 1 << 4 << "Números que inicien en 090";
        QTest::newRow("haldrivonexa last prefix")
            << hal << "ModelConfigRecord" << 1 << 12 << "Números que inicien en 031";
        QTest::newRow("haldrivonexa first service")
            << hal << "ModelConfigRecord" << 1 << 13 << "01 Lada telefóno a telefóno";
        QTest::newRow("haldrivonexa trunk label")
            << hal << "ModelConfigRecord" << 1 << 3
            << "Dígitos para toma de troncal en extensión de conmutador";

        QTest::newRow("quarn trunk caption")
            << "Quarn/Configuracion/Quarn30.Ccon"
            << "ModelConfigRecord" << 1 << 1 << "Troncal de conmutador";
        QTest::newRow("quarn dolmeth firmware") << "Quarn/Configuracion/Quarn8.Ccon"
                                                << "ModelConfigRecord" << 1 << 45 << "8";
        QTest::newRow("quarn dolmeth model") << "Quarn/Configuracion/Quarn8.Ccon"
                                             << "ModelConfigRecord" << 1 << 42 << "Quarn";
        QTest::newRow("pellitor local digits") << "Pellitor/Configuracion/Pellitor15.Ccon"
                                               << "ModelConfigRecord" << 1 << 22 << "7";
        QTest::newRow("sorvanell boxes 1 4 7") << "Sorvanell/Configuracion/Sorvanell12.Ccon"
                                               << "ModelConfigRecord" << 1 << 41 << "100100100";
        QTest::newRow("sorvanell key form") << "Sorvanell/Configuracion/Sorvanell12.Ccon"
                                            << "ModelConfigRecord" << 1 << 44 << "12*34";
        QTest::newRow("tervolinda exit key") << "Tervolinda/Configuracion/Tervolinda72.Ccon"
                                             << "ModelConfigRecord" << 1 << 22 << "5678";
        QTest::newRow("tervolinda voice firmware") << "Tervolinda/Configuracion/Tervolinda2.Ccon"
                                                   << "ModelConfigRecord" << 1 << 45 << "2";
        QTest::newRow("kovalindres plural folder")
            << "Kovalindres/Configuracion/Kovalindres30.Ccon"
            << "ModelConfigRecord" << 1 << 42 << "Kovalindres";
    }
    void fieldValues() {
        QFETCH(QString, relative);
        QFETCH(QString, type);
        QFETCH(int, record);
        QFETCH(int, field);
        QFETCH(QString, value);

        const RecordType t = typeByName(type);
        QString path = app_;
        for (const QString& part : relative.split('/')) path = JoinPath(path, part);
        // Spelled exactly as written: no letter-case rescue here.
        QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
        const RecordRead r = ReadRecord(path, t, record);
        QVERIFY(r.ok);
        QVERIFY(!r.eof);
        QCOMPARE(r.fields.size(), t.fields);
        QCOMPARE(r.fields.at(field - 1), value);
    }

    // Every record file holds whole records, each within its length.
    void fileShapes_data() {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("records");

        for (const datakit::KitFile& f : datakit::KitFiles(kDate))
            QTest::newRow(qPrintable(f.pathParts.join('/')))
                << f.pathParts.join('/') << QString::fromLatin1(f.type.name)
                << int(f.records.size());
    }
    void fileShapes() {
        QFETCH(QString, relative);
        QFETCH(QString, type);
        QFETCH(int, records);

        const RecordType t = typeByName(type);
        QString path = app_;
        for (const QString& part : relative.split('/')) path = JoinPath(path, part);
        QCOMPARE(QFileInfo(path).size(), qint64(records) * t.length);
        for (int n = 1; n <= records; ++n) {
            const RecordRead r = ReadRecord(path, t, n);
            QVERIFY(!r.eof);
            QCOMPARE(r.fields.size(), t.fields);
            // Files searched by name must not start with an empty slot, which readers skip.
            if (type == QLatin1String(EquipmentIndexRecord.name) ||
                type == QLatin1String(UserRecord.name) || type == QLatin1String(CommandRecord.name))
                QVERIFY2(!r.fields.first().isEmpty(), "empty slot");
        }
        QVERIFY(ReadRecord(path, t, records + 1).eof);
    }

    // What the main window and the frames make of the installation settings.
    void installationSettingsMeanDravenquista() {
        const RecordRead r = ReadRecord(Paths{app_}.softwareSettings(), SoftwareSettingsRecord);
        QCOMPARE(r.fields.at(25).size(), 4);
        QCOMPARE(InstallationClassCode(r.fields.at(26)), QStringLiteral("09"));
        QVERIFY(r.fields.at(26).left(2) != QStringLiteral("PC"));
        QCOMPARE(HexToDec(InstallationClassCode(r.fields.at(26))), QStringLiteral("9"));
        QVERIFY(IsWholeNumber(r.fields.at(23)));
        QVERIFY(IsWholeNumber(r.fields.at(24)));
    }

    void selectorSettingsFiles_data() {
        QTest::addColumn<QString>("equipment");
        for (const char* e :
             {"Sorvanell", "Luvero", "Zentavira", "Haldrivonexa", "Quarn", "Quarn Dolmeth",
              "Pellitor", "Kovalindres", "Tervolinda", "Tervolinda Voz"})
            QTest::newRow(e) << QString(e);
    }
    void selectorSettingsFiles() {
        QFETCH(QString, equipment);
        const QString path = equipmentFile(app_, equipment + QStringLiteral(".Ccon"));
        QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
        const RecordRead own = ReadRecord(path, SoftwareSettingsRecord);
        const RecordRead main = ReadRecord(Paths{app_}.softwareSettings(), SoftwareSettingsRecord);
        QCOMPARE(own.fields, main.fields);
    }

    void noPendingInstallation() {
        QVERIFY(!FileExists(equipmentFile(app_, QStringLiteral("KLMV.DLL"))));
        QVERIFY(!FileExists(equipmentFile(app_, QStringLiteral("KLMV95.DLL"))));
    }

    // Each model button's default firmware has its configuration file.
    void defaultFirmwareConfigs_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("firmware");
        for (const ModelInfo& m : Models())
            QTest::addRow("%s %s", qPrintable(m.base()), qPrintable(m.firmware()))
                << m.base() << m.firmware();
        QTest::newRow("Quarn Dolmeth") << "Quarn"
                                       << "8";
        QTest::newRow("Tervolinda voice") << "Tervolinda"
                                          << "2";
    }
    void defaultFirmwareConfigs() {
        QFETCH(QString, base);
        QFETCH(QString, firmware);
        const QString path = Paths{app_}.modelConfig(base, firmware);
        QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
        const RecordRead r = ReadRecord(path, ModelConfigRecord);
        QCOMPARE(r.fields.at(41), base);
        QCOMPARE(r.fields.at(44), firmware);
    }

    // Contents the panels and the editor need from every model configuration.
    void modelConfigsWellFormed_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("firmware");
        QTest::addColumn<int>("keyLength");
        for (const datakit::ModelConfig& c : datakit::ModelConfigs(kDate)) {
            const bool fiveDigitKey = c.fileBase == QStringLiteral("Quarn") ||
                                      c.fileBase == QStringLiteral("Pellitor") ||
                                      c.fileBase == QStringLiteral("Kovalindres") ||
                                      c.fileBase == QStringLiteral("Sorvanell");
            QTest::addRow("%s%s", qPrintable(c.fileBase), qPrintable(c.firmware))
                << c.fileBase << c.firmware << (fiveDigitKey ? 5 : 4);
        }
    }
    void modelConfigsWellFormed() {
        QFETCH(QString, base);
        QFETCH(QString, firmware);
        QFETCH(int, keyLength);
        const RecordRead r = ReadRecord(Paths{app_}.modelConfig(base, firmware), ModelConfigRecord);
        const QStringList& f = r.fields;
        QVERIFY2(isFlags(f.at(40), 9), qPrintable(f.at(40)));
        QVERIFY2(isFlags(f.at(54), 20), qPrintable(f.at(54)));
        QVERIFY2(isFlags(f.at(55), 9), qPrintable(f.at(55)));
        QVERIFY(!f.at(42).isEmpty());
        QVERIFY(!f.at(56).isEmpty());
        // The key passes the key box's own check when the panel loads it.
        const QString key = f.at(43);
        QCOMPARE(key.size(), keyLength);
        QVERIFY(key.at(0) != '0');
        QCOMPARE(base == QStringLiteral("Sorvanell") ? CheckDigitsSkip3(key) : CheckDigits(key),
                 QStringLiteral("OK"));
        // A shown restriction box has a caption.
        for (int box = 0; box < 9; ++box)
            if (f.at(40).at(box) == '1') QVERIFY2(!f.at(45 + box).isEmpty(), "caption missing");
        // A parameter shown in the editor has a caption or a default.
        for (int p = 0; p < 20; ++p)
            if (f.at(54).at(p) == '1') QVERIFY(!f.at(p).isEmpty() || !f.at(20 + p).isEmpty());
    }

    // The index names each configuration once, and each named configuration exists.
    void equipmentIndexMatchesConfigs() {
        QSet<QString> listed;
        ScanRecords(Paths{app_}.equipmentIndex(), EquipmentIndexRecord.length,
                    EquipmentIndexRecord.fields, [&](int, const QStringList& fields) {
                        listed.insert(fields[0] + '|' + fields[1]);
                        return true;
                    });
        QSet<QString> expected;
        for (const datakit::ModelConfig& c : datakit::ModelConfigs(kDate)) {
            expected.insert(c.fileBase + '|' + c.identification);
            const RecordRead r =
                ReadRecord(Paths{app_}.modelConfig(c.fileBase, c.firmware), ModelConfigRecord);
            QCOMPARE(r.fields.at(42), c.identification);
        }
        QCOMPARE(listed, expected);
        QCOMPARE(RecordCount(Paths{app_}.equipmentIndex(), EquipmentIndexRecord.length),
                 int(expected.size()));
    }

    void startPicture() {
        QString path = app_;
        for (const QString& part : datakit::StartPicturePath()) path = JoinPath(path, part);
        QImage image;
        QVERIFY(image.load(path, "PNG"));
        QCOMPARE(image.size(), QSize(400, 300));
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 7)
            for (int x = 0; x < image.width(); x += 7) colours.insert(image.pixel(x, y));
        QVERIFY(colours.size() > 10);
    }

    // A second run keeps what is there, also under another letter case.
    void secondRunKeepsFiles() {
        QTemporaryDir dir;
        const QString app = dir.path();
        QVERIFY(datakit::LayOutKit(app, false, kDate).ok);
        const QString settings = Paths{app}.softwareSettings();
        QStringList edited = ReadRecord(settings, SoftwareSettingsRecord).fields;
        edited[23] = QStringLiteral("7");
        QVERIFY(WriteRecord(settings, SoftwareSettingsRecord, edited).ok);
        const QString lower = equipmentFile(app, QStringLiteral("comandos.ccon"));
        QVERIFY(QFile::rename(Paths{app}.commands(), lower));
        const QByteArray settingsBefore = bytesOf(settings);
        const QByteArray commandsBefore = bytesOf(lower);

        const auto again = datakit::LayOutKit(app, false, QStringLiteral("31/12/2030"));
        QVERIFY(again.ok);
        QVERIFY2(again.written.isEmpty(), qPrintable(again.written.join('\n')));
        QCOMPARE(again.kept.size(), datakit::KitFiles(kDate).size() + 1);
        QCOMPARE(bytesOf(settings), settingsBefore);
        QCOMPARE(bytesOf(lower), commandsBefore);
        QVERIFY(!QFileInfo::exists(Paths{app}.commands()));
    }

    // --force rewrites each file whole: edits and extra records are gone.
    void forceRewritesWholeFiles() {
        QTemporaryDir dir;
        const QString app = dir.path();
        QVERIFY(datakit::LayOutKit(app, false, kDate).ok);
        const QByteArray kitSettings = bytesOf(Paths{app}.softwareSettings());
        const QByteArray kitCommands = bytesOf(Paths{app}.commands());
        QStringList edited =
            ReadRecord(Paths{app}.softwareSettings(), SoftwareSettingsRecord).fields;
        edited[25] = QStringLiteral("9999");
        QVERIFY(WriteRecord(Paths{app}.softwareSettings(), SoftwareSettingsRecord, edited).ok);
        QVERIFY(WriteRecord(Paths{app}.commands(), CommandRecord, {"Extra", "*99", kDate}, 7).ok);
        QString picture = app;
        for (const QString& part : datakit::StartPicturePath()) picture = JoinPath(picture, part);
        QVERIFY(QFile::remove(picture));

        const auto forced = datakit::LayOutKit(app, true, kDate);
        QVERIFY(forced.ok);
        QVERIFY(forced.kept.isEmpty());
        QCOMPARE(bytesOf(Paths{app}.softwareSettings()), kitSettings);
        QCOMPARE(bytesOf(Paths{app}.commands()), kitCommands);
        QVERIFY(QFileInfo(picture).isFile());
        const QStringList leftovers = QDir(Paths{app}.equipmentFolder())
                                          .entryList({QStringLiteral("*.kit-new")}, QDir::Files);
        QVERIFY(leftovers.isEmpty());
    }

    // A folder that cannot be made is a failure, not a partial success.
    void unusableFolderFails() {
        QTemporaryDir dir;
        const QString blocker = dir.filePath(QStringLiteral("plainfile"));
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        const auto r = datakit::LayOutKit(blocker, false, kDate);
        QVERIFY(!r.ok);
        QVERIFY(!r.errors.isEmpty());
        QVERIFY(r.written.isEmpty());
    }

    // The program itself: exit codes and the files it leaves.
    void programExitCodes() {
        const QString bin = qEnvironmentVariable("MORLA_BIN_DIR");
        QString exe = QDir(bin).filePath(QStringLiteral("morla_datakit"));
        if (!QFileInfo(exe).isExecutable()) exe += QStringLiteral(".exe");
        if (bin.isEmpty() || !QFileInfo(exe).isExecutable())
            QSKIP("morla_datakit is not built beside the tests");
        QTemporaryDir dir;
        QCOMPARE(QProcess::execute(exe, {dir.path()}), 0);
        QVERIFY(FileExists(Paths{dir.path()}.softwareSettings()));
        QCOMPARE(QProcess::execute(exe, {dir.path(), QStringLiteral("--force")}), 0);
        const QString blocker = dir.filePath(QStringLiteral("Imagenes/Morla.png"));
        QVERIFY(QProcess::execute(exe, {blocker}) != 0);
        QVERIFY(QProcess::execute(exe, {}) != 0);
    }
};

QTEST_GUILESS_MAIN(TestDataKit)
#include "test_datakit.moc"
