// The first-run installation on temporary copies of the data kit laid out with the installation
// pending: the tree it leaves, for every equipment and both operating system groups; a missing
// source that leaves everything as it was; the technician's own folders kept.
#include <QtTest>

#include "core/config/installation.h"
#include "core/config/recordfile.h"
#include "datakit/datakit.h"
#include "support/filebytes.h"

using namespace morla;
using namespace morla::test;

namespace {

const QString kDate = QStringLiteral("01/02/2024");

// The kit laid out once with the installation pending; every case works on its own copy.
QTemporaryDir* pendingKit = nullptr;

// A drive root holding a copy of that program folder, the program itself, an older line
// library and a folder of the technician's own.
struct Drive {
    QTemporaryDir root;
    QString app;

    Drive() {
        app = JoinPath(root.path(), QStringLiteral("Morla"));
        QVERIFY(copyTree(pendingKit->path(), app));
        QVERIFY(putBytes(JoinPath(app, QStringLiteral("morla")), "the program"));
        QVERIFY(putBytes(JoinPath(app, QStringLiteral("DRQdll.dll")), "older line library"));
        QDir(app).mkpath(QStringLiteral("Respaldos/2024"));
        QVERIFY(putBytes(JoinPath(app, QStringLiteral("Respaldos/2024/Luvero30.Ccon")), "kept"));
    }
    QString equipment(const QString& name) const {
        return JoinPath(app, QStringLiteral("Utilerias/Generales/Equipos/") + name);
    }
};

}  // namespace

using LayoutRow = std::tuple<int, QString, QString>;

class TestInstallation : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        pendingKit = new QTemporaryDir;
        const QString app = pendingKit->path();
        const auto laid = datakit::LayOutPending(app, QStringLiteral(MORLA_LINE_LIBRARY),
                                                 QStringLiteral(MORLA_AUX_PROGRAM), kDate);
        QVERIFY2(laid.ok, qPrintable(laid.errors.join('\n')));
        // Each equipment's settings file says whose it is, and the two library builds differ.
        const QString equip = JoinPath(app, QStringLiteral("Utilerias/Generales/Equipos"));
        for (const QString& e : SelectorEquipment()) {
            QStringList fields = datakit::SoftwareSettingsFields(kDate);
            fields[26] = QStringLiteral("Clase ") + e;
            QVERIFY(WriteRecord(JoinPath(equip, e + QStringLiteral(".Ccon")),
                                SoftwareSettingsRecord, fields)
                        .ok);
        }
        const QString windows95 = JoinPath(equip, QStringLiteral("KLMV95.DLL"));
        QVERIFY(putBytes(windows95, bytesOf(windows95) + "95"));
    }
    void cleanupTestCase() { delete pendingKit; }

    void layoutPerEquipment_data() {
        QTest::addColumn<LayoutRow>("row");
        const QStringList folders{"Sorvanell",  "Luvero",    "Zentavira", "Haldrivonexa",
                                  "Quarn",      "Quarn",     "Pellitor",  "Kovalindres",
                                  "Tervolinda", "Tervolinda"};
        const QStringList others{"Windows 98", "Windows Me", "Windows XP", "Windows NT 4.0",
                                 "Windows 2000"};
        for (int i = 0; i < 10; ++i) {
            const QString e = SelectorEquipment()[i];
            QTest::addRow("%s, Windows 95", qPrintable(e))
                << LayoutRow{i, "Windows 95", folders[i]};
            QTest::addRow("%s, %s", qPrintable(e), qPrintable(others[i % 5]))
                << LayoutRow{i, others[i % 5], folders[i]};
        }
    }

    void layoutPerEquipment() {
        QFETCH(LayoutRow, row);
        const auto& [choice, system, folder] = row;
        const QString equipment = SelectorEquipment()[choice];
        const bool win95 = system == QStringLiteral("Windows 95");
        Drive d;
        QVERIFY(InstallationPending(d.app));
        const QByteArray library =
            bytesOf(d.equipment(win95 ? QStringLiteral("KLMV95.DLL") : QStringLiteral("KLMV.DLL")));
        const QByteArray auxiliary = bytesOf(d.equipment(QStringLiteral("lnkx.exe")));
        const QByteArray models = bytesOf(d.equipment(QStringLiteral("Equipo.CGe")));
        // The last-sent record travels when there.
        if (win95)
            QVERIFY(WriteRecord(d.equipment(QStringLiteral("UltEnvio.CCon")), LastSentRecord,
                                {"00", "frame", kDate, "mask", "read", "data", "4"})
                        .ok);

        const InstallResult r = InstallForEquipment(d.app, equipment, system);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(r.startAuxiliary, win95);

        QStringList expected =
            QStringLiteral(
                "Morla/ Morla/DRQdll.dll Morla/Imagenes/ Morla/Imagenes/Morla.png "
                "Morla/Respaldos/ Morla/Respaldos/2024/ "
                "Morla/Respaldos/2024/Luvero30.Ccon Morla/Utilerias/ "
                "Morla/Utilerias/Generales/ Morla/Utilerias/Generales/Equipos/ "
                "Morla/morla lnkx.exe")
                .split(' ');
        for (const char* file : {"Comandos.CCon", "Equipo.CGe", "Software.Ccon", "Usuarios.CCon"})
            expected << "Morla/Utilerias/Generales/Equipos/" + QString::fromLatin1(file);
        expected << "Morla/" + folder + "/"
                 << "Morla/" + folder + "/Configuracion/";
        for (const datakit::ModelConfig& c : datakit::ModelConfigs(kDate))
            if (c.fileBase == folder)
                expected << "Morla/" + folder + "/Configuracion/" + c.fileBase + c.firmware +
                                ".Ccon";
        if (win95) expected << "Morla/Utilerias/Generales/Equipos/UltEnvio.CCon";
        expected.sort();
        QCOMPARE(listing(d.root.path()), expected);

        QVERIFY(!InstallationPending(d.app));
        QCOMPARE(bytesOf(JoinPath(d.app, QStringLiteral("DRQdll.dll"))), library);
        QCOMPARE(bytesOf(JoinPath(d.root.path(), QStringLiteral("lnkx.exe"))), auxiliary);
        QVERIFY(QFileInfo(JoinPath(d.root.path(), QStringLiteral("lnkx.exe"))).isExecutable());
        QCOMPARE(bytesOf(d.equipment(QStringLiteral("Equipo.CGe"))), models);
        const Paths paths{d.app};
        QCOMPARE(ReadRecord(paths.softwareSettings(), SoftwareSettingsRecord).fields[26],
                 QStringLiteral("Clase ") + equipment);
        if (win95) QCOMPARE(ReadRecord(paths.lastSent(), LastSentRecord).fields[1], "frame");
        QCOMPARE(bytesOf(JoinPath(d.app, QStringLiteral("Respaldos/2024/Luvero30.Ccon"))),
                 QByteArray("kept"));
    }

    void missingSourceChangesNothing_data() {
        // Columns: removed, equipment, system, named (as the message names it, when not the path).
        QTest::addColumn<QStringList>("row");
        const QString eq = QStringLiteral("Utilerias/Generales/Equipos/");
        // clang-format off
        QTest::addRow("pictures") << QStringList{"Imagenes", "Luvero", "Windows XP", ""};
        QTest::addRow("model folder") << QStringList{"Zentavira", "Zentavira", "Windows 98", ""};
        QTest::addRow("variant's model folder") << QStringList{"Quarn", "Quarn Dolmeth", "Windows 98", ""};
        QTest::addRow("commands") << QStringList{eq + "Comandos.CCon", "Luvero", "Windows 2000", eq + "Comandos.*"};
        QTest::addRow("variant's settings") << QStringList{eq + "Tervolinda Voz.Ccon", "Tervolinda Voz", "Windows Me", ""};
        QTest::addRow("Windows 95 library") << QStringList{eq + "KLMV95.DLL", "Pellitor", "Windows 95", ""};
        QTest::addRow("auxiliary program") << QStringList{eq + "lnkx.exe", "Pellitor", "Windows NT 4.0", eq + "lnkx.*"};
        // clang-format on
    }

    void missingSourceChangesNothing() {
        QFETCH(QStringList, row);
        const QString removed = row[0], equipment = row[1], system = row[2], named = row[3];
        Drive d;
        const QString path = JoinPath(d.app, removed);
        QVERIFY(QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path));
        // A work folder left by an earlier, interrupted run stays until an installation starts.
        QDir(d.root.path()).mkpath(QStringLiteral("Tempo2/Nuevo"));
        const QStringList before = listing(d.root.path(), true);

        const InstallResult r = InstallForEquipment(d.app, equipment, system);
        QVERIFY(!r.ok);
        QCOMPARE(listing(d.root.path(), true), before);
        QCOMPARE(r.missing.size(), 1);
        const QString name =
            QDir::toNativeSeparators(named.isEmpty() ? path : JoinPath(d.app, named));
        QVERIFY2(r.error.contains(name), qPrintable(r.error));
    }

    void lettersOfAnotherCaseAreTheSameFolders() {
        Drive d;
        QVERIFY(QDir(d.app).rename(QStringLiteral("Imagenes"), QStringLiteral("IMAGENES")));
        QVERIFY(QDir(d.app).rename(QStringLiteral("Pellitor"), QStringLiteral("pellitor")));
        QVERIFY(QDir(d.app).rename(QStringLiteral("Quarn"), QStringLiteral("QUARN")));
        QVERIFY(QFile::rename(d.equipment(QStringLiteral("KLMV.DLL")),
                              d.equipment(QStringLiteral("klmv.dll"))));
        const InstallResult r =
            InstallForEquipment(d.app, QStringLiteral("Pellitor"), QStringLiteral("Windows XP"));
        QVERIFY2(r.ok, qPrintable(r.error));
        const QStringList top =
            QDir(d.app).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        QCOMPARE(top, (QStringList{"IMAGENES", "Respaldos", "Utilerias", "pellitor"}));
        QVERIFY(!InstallationPending(d.app));
    }

    void everyKitFolderIsTheKits() {
        // The installation replaces only folders it knows the kit puts there.
        QTemporaryDir dir;
        QVERIFY(datakit::LayOutKit(dir.path(), false, kDate).ok);
        for (const QString& f : QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            QVERIFY2(KitFolderNames().contains(f), qPrintable(f));
    }
};

QTEST_GUILESS_MAIN(TestInstallation)
#include "test_installation.moc"
