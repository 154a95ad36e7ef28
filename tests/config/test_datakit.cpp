// The default data kit: every file it lays out reads back as its record type with the values
// the program relies on, and a second run leaves existing files alone.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "core/codec/codec.h"
#include "core/config/installation.h"
#include "core/config/recordfile.h"
#include "core/models/registry.h"
#include "datakit/datakit.h"
#include "session/modem.h"
#include "support/filebytes.h"

using namespace morla;
using namespace morla::test;

namespace {

const QString kDate = QStringLiteral("01/02/2024");

// The path as written, component by component: no letter-case rescue.
QString pathIn(const QString& app, const QStringList& parts) {
    QString path = app;
    for (const QString& part : parts) path = JoinPath(path, part);
    return path;
}

const ModelInfo* modelOfBase(const QString& base) {
    for (const ModelInfo& m : Models())
        if (m.base() == base) return &m;
    return nullptr;
}

// The record type the kit gives a file, by its path under the program folder.
RecordType typeOf(const QString& relative) {
    for (const datakit::KitFile& f : datakit::KitFiles(kDate))
        if (f.pathParts.join('/') == relative) return f.type;
    return {"", 0, 0};
}

bool isFlags(const QString& text, int length) {
    return text.size() == length && text.count('0') + text.count('1') == length;
}

}  // namespace

using FieldValuesRow = std::tuple<QString, int, QStringList>;

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

    // Every kit file is there under its exact name, whole records of its type, as intended.
    void kitFiles_data() {
        QTest::addColumn<int>("index");
        const QList<datakit::KitFile> files = datakit::KitFiles(kDate);
        for (int i = 0; i < files.size(); ++i)
            QTest::newRow(qPrintable(files[i].pathParts.join('/'))) << i;
    }
    void kitFiles() {
        QFETCH(int, index);
        const datakit::KitFile f = datakit::KitFiles(kDate).at(index);
        const QString path = pathIn(app_, f.pathParts);
        QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
        QCOMPARE(QFileInfo(path).size(), qint64(f.records.size()) * f.type.length);
        const bool searched =
            QByteArrayList{EquipmentIndexRecord.name, UserRecord.name, CommandRecord.name}.contains(
                f.type.name);
        for (int n = 1; n <= f.records.size(); ++n) {
            const RecordRead r = ReadRecord(path, f.type, n);
            QCOMPARE(r.fields, f.records.at(n - 1));
            // Files searched by name must not hold an empty slot, which readers skip.
            if (searched) QVERIFY(!r.fields.first().isEmpty());
        }
        QVERIFY(ReadRecord(path, f.type, int(f.records.size()) + 1).eof);
    }

    // The settings, user and commands the program starts with.
    void fieldValues_data() {
        QTest::addColumn<FieldValuesRow>("row");
        const QString eq = QStringLiteral("Utilerias/Generales/Equipos/");
        // The first-run selector turns the chosen equipment's copy into Software.CCon.
        const QStringList settings =
            QStringList(21) + QStringList{"-1", kDate, "3", "10", "0001", "Dravenquista"};
        QTest::newRow("settings") << FieldValuesRow{eq + "Software.CCon", 1, settings};
        for (const QString& e : SelectorEquipment())
            QTest::addRow("%s settings", qPrintable(e))
                << FieldValuesRow{eq + e + ".Ccon", 1, settings};
        QTest::newRow("user") << FieldValuesRow{eq + "Usuarios.CCon", 1,
                                                QStringList{"Tecnico", "1", "Mostrador", kDate}};
        const QStringList commands{"Lectura",    "*40", "Escritura", "*42", "ResetFabrica", "*49",
                                   "ResetClave", "*43", "Verificar", "*46", "Colgado",      "*47"};
        for (int n = 1; n <= 6; ++n)
            QTest::addRow("command %d", n) << FieldValuesRow{
                eq + "Comandos.CCon", n, commands.mid(2 * n - 2, 2) + QStringList{kDate}};
    }
    void fieldValues() {
        QFETCH(FieldValuesRow, row);
        const auto& [relative, record, value] = row;
        const RecordRead r =
            ReadRecord(pathIn(app_, relative.split('/')), typeOf(relative), record);
        QVERIFY(r.ok && !r.eof);
        QCOMPARE(r.fields, value);
    }

    // Each model's default firmware, and the firmwares its buttons ask for, has a
    // configuration the panel can load: flags, a key its key box accepts, captions.
    // Together they are every configuration of the kit.
    void modelConfigs_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("firmware");
        for (const ModelInfo& m : Models())
            QTest::addRow("%s %s", qPrintable(m.base()), qPrintable(m.firmware()))
                << m.base() << m.firmware();
        const QStringList buttons{"Quarn", "8", "Tervolinda", "2", "Tervolinda", "02"};
        for (int i = 0; i < buttons.size(); i += 2)
            QTest::addRow("%s %s", qPrintable(buttons[i]), qPrintable(buttons[i + 1]))
                << buttons[i] << buttons[i + 1];
    }
    void modelConfigs() {
        QFETCH(QString, base);
        QFETCH(QString, firmware);
        const QString path = Paths{app_}.modelConfig(base, firmware);
        QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
        const QStringList f = ReadRecord(path, ModelConfigRecord).fields;
        QCOMPARE(f.at(41), base);
        QCOMPARE(f.at(44), firmware);
        QVERIFY(isFlags(f.at(40), 9) && isFlags(f.at(54), 20) && isFlags(f.at(55), 9));
        const QString key = f.at(43);
        QVERIFY(modelOfBase(base));
        QCOMPARE(key.size(), modelOfBase(base)->keyLength);
        QVERIFY(key.at(0) != '0');
        QCOMPARE(base == "Sorvanell" ? CheckDigitsSkip3(key) : CheckDigits(key),
                 QStringLiteral("OK"));
        for (int box = 0; box < 9; ++box)
            if (f.at(40).at(box) == '1') QVERIFY2(!f.at(45 + box).isEmpty(), "caption missing");
        for (int p = 0; p < 20; ++p)
            if (f.at(54).at(p) == '1') QVERIFY(!f.at(p).isEmpty() || !f.at(20 + p).isEmpty());
        // The equipment index finds it by its identification.
        bool listed = false;
        ScanRecords(Paths{app_}.equipmentIndex(), EquipmentIndexRecord.length,
                    EquipmentIndexRecord.fields, [&](int, const QStringList& entry) {
                        listed = entry == QStringList{base, f.at(42)};
                        return !listed;
                    });
        QVERIFY(listed);
    }

    // A second run keeps what is there, also under another letter case, and only fills in
    // what is missing; --force rewrites each file whole, edits and extra records gone.
    void rerun() {
        QTemporaryDir dir;
        const Paths p{dir.path()};
        QVERIFY(datakit::LayOutKit(p.AppFolder, false, kDate).ok);
        const QByteArray kit = bytesOf(p.commands());
        QVERIFY(WriteRecord(p.commands(), CommandRecord, {"Extra", "*99", kDate}, 7).ok);
        const QString lower = JoinPath(p.equipmentFolder(), QStringLiteral("comandos.ccon"));
        QVERIFY(QFile::rename(p.commands(), lower));
        const QByteArray edited = bytesOf(lower);
        const QString picture = pathIn(p.AppFolder, datakit::StartPicturePath());
        QVERIFY(QFile::remove(picture));

        const auto again = datakit::LayOutKit(p.AppFolder, false, QStringLiteral("31/12/2030"));
        QVERIFY(again.ok);
        QCOMPARE(again.written, QStringList{picture});
        QCOMPARE(again.kept.size(), datakit::KitFiles(kDate).size());
        QCOMPARE(bytesOf(lower), edited);
        QVERIFY(!QFileInfo::exists(p.commands()));

        const auto forced = datakit::LayOutKit(p.AppFolder, true, kDate);
        QVERIFY(forced.ok && forced.kept.isEmpty());
        QCOMPARE(bytesOf(p.commands()), kit);
        QVERIFY(!QFileInfo::exists(lower));
        QVERIFY(QDir(p.equipmentFolder()).entryList({"*.kit-new"}, QDir::Files).isEmpty());
    }

    // The program itself: exit codes and the files it leaves; a folder that cannot be made
    // is a failure, not a partial success.
    void program() {
        QTemporaryDir dir;
        const QString blocker = dir.filePath(QStringLiteral("plainfile"));
        QVERIFY(putBytes(blocker, {}));
        const auto r = datakit::LayOutKit(blocker, false, kDate);
        QVERIFY(!r.ok && !r.errors.isEmpty() && r.written.isEmpty());

        const QString bin = qEnvironmentVariable("MORLA_BIN_DIR");
        const QString exe = QDir(bin).filePath(QStringLiteral("morla_datakit"));
        if (bin.isEmpty() || !QFileInfo(exe).isExecutable())
            QSKIP("morla_datakit is not built beside the tests");
        const QString app = dir.filePath(QStringLiteral("app"));
        QCOMPARE(QProcess::execute(exe, {app, QStringLiteral("--force")}), 0);
        QVERIFY(FileExists(Paths{app}.modelConfig(QStringLiteral("Luvero"), QStringLiteral("30"))));
        // A modem installation: only the class text changes.
        const RecordRead before = ReadRecord(Paths{app}.softwareSettings(), SoftwareSettingsRecord);
        QCOMPARE(QProcess::execute(exe, {app, QStringLiteral("--installation-class"),
                                         QStringLiteral("PC Línea")}),
                 0);
        QStringList expected = before.fields;
        expected[26] = QStringLiteral("PC Línea");
        QCOMPARE(ReadRecord(Paths{app}.softwareSettings(), SoftwareSettingsRecord).fields,
                 expected);
        QVERIFY(QProcess::execute(exe, {app, QStringLiteral("--line-library"),
                                        dir.filePath(QStringLiteral("none.so"))}) != 0);
        QVERIFY(!QFileInfo::exists(QDir(app).filePath(QString::fromUtf16(kLineLibraryFile))));
        QVERIFY(QProcess::execute(exe, {blocker}) != 0);
        QVERIFY(QProcess::execute(exe, {}) != 0);
    }

    // The built line library goes in under the name the program loads, replacing an older
    // copy under any letter case; a missing source changes nothing.
    void lineLibrary() {
        QTemporaryDir dir;
        const QString app = dir.path();
        const QString lower = dir.filePath(QStringLiteral("drqdll.DLL"));
        QVERIFY(putBytes(lower, "old"));
        QString error;
        const QString missing = dir.filePath(QStringLiteral("nowhere.so"));
        QVERIFY(datakit::InstallLineLibrary(app, missing, &error).isEmpty());
        QVERIFY(error.contains(missing));
        QCOMPARE(bytesOf(lower), QByteArray("old"));

        const QString target = dir.filePath(QString::fromUtf16(kLineLibraryFile));
        QCOMPARE(datakit::InstallLineLibrary(app, QStringLiteral(MORLA_LINESTUB), &error), target);
        QCOMPARE(bytesOf(target), bytesOf(QStringLiteral(MORLA_LINESTUB)));
        QVERIFY(!QFileInfo::exists(lower));
        QCOMPARE(QDir(app).entryList(QDir::Files),
                 QStringList{QString::fromUtf16(kLineLibraryFile)});

        // The program folder that the build lays out holds it too.
        const QString bin = qEnvironmentVariable("MORLA_BIN_DIR");
        if (bin.isEmpty()) QSKIP("the build's program folder is not known");
        QCOMPARE(bytesOf(QDir(bin).filePath(QString::fromUtf16(kLineLibraryFile))),
                 bytesOf(QStringLiteral(MORLA_LINESTUB)));
    }
};

QTEST_GUILESS_MAIN(TestDataKit)
#include "test_datakit.moc"
