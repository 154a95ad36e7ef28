// Record files at the byte level: layout, placement, refusal, letter case and damaged files.
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "config/recordfile.h"

using namespace morla;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool putBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QStringList emptyFields(int k) {
    QStringList out;
    for (int i = 0; i < k; ++i) out << QString();
    return out;
}

}  // namespace

class TestRecordFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    int serial_ = 0;
    QString fresh(const QString& name = QStringLiteral("f.CCon")) {
        const QString sub = dir_.filePath(QString::number(++serial_));
        QDir().mkpath(sub);
        return QDir(sub).filePath(name);
    }

  private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    // Bytes of one record: count (little-endian), ANSI text, zero fill.
    void recordBytes_data() {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<int>("length");
        QTest::addColumn<QByteArray>("head");

        QTest::newRow("empty field") << QStringList{""} << 50 << QByteArray::fromHex("0000");
        QTest::newRow("two fields") << QStringList{"abc", "Z"} << 50
                                    << QByteArray::fromHex(
                                           "0300616263"
                                           "01005a");
        QTest::newRow("enye") << QStringList{"ñ"} << 50 << QByteArray::fromHex("0100f1");
        QTest::newRow("a acute") << QStringList{"á"} << 50 << QByteArray::fromHex("0100e1");
        QTest::newRow("o acute") << QStringList{"ó"} << 50 << QByteArray::fromHex("0100f3");
        QTest::newRow("Fábrica") << QStringList{"Fábrica"} << 50
                                 << QByteArray::fromHex("070046e16272696361");
        QTest::newRow("euro sign cp1252")
            << QStringList{"€"} << 50 << QByteArray::fromHex("010080");
        QTest::newRow("count above 255 little-endian")
            << QStringList{QString(300, QChar('x'))} << 1000
            << QByteArray::fromHex("2c01") + QByteArray(300, 'x');
        QTest::newRow("count 256") << QStringList{QString(256, QChar('7'))} << 1000
                                   << QByteArray::fromHex("0001") + QByteArray(256, '7');
        QTest::newRow("empty between") << QStringList{"1", "", "2"} << 50
                                       << QByteArray::fromHex(
                                              "010031"
                                              "0000"
                                              "010032");
        QByteArray exact = QByteArray::fromHex("3000") + QByteArray(48, 'q');
        QTest::newRow("exactly fills") << QStringList{QString(48, QChar('q'))} << 50 << exact;
    }
    void recordBytes() {
        QFETCH(QStringList, fields);
        QFETCH(int, length);
        QFETCH(QByteArray, head);

        const QString path = fresh();
        const RecordWriteResult w = WriteRecord(path, length, fields, 1);
        QVERIFY2(w.ok, qPrintable(w.error));
        const QByteArray bytes = bytesOf(path);
        QCOMPARE(bytes.size(), length);
        QCOMPARE(bytes.left(head.size()), head);
        QCOMPARE(bytes.mid(head.size()), QByteArray(length - head.size(), '\0'));
        QCOMPARE(RecordSize(fields), int(head.size()));

        const RecordRead r = ReadRecord(path, length, int(fields.size()), 1);
        QVERIFY(r.ok);
        QVERIFY(!r.eof);
        QCOMPARE(r.fields, fields);
    }

    // An all-empty model configuration takes 114 bytes, and the record is all zeros.
    void emptyModelConfig() {
        const QString path = fresh();
        QCOMPARE(RecordSize(emptyFields(57)), 114);
        QVERIFY(WriteRecord(path, ModelConfigRecord, emptyFields(57)).ok);
        QCOMPARE(bytesOf(path), QByteArray(1000, '\0'));
        const RecordRead r = ReadRecord(path, ModelConfigRecord);
        QVERIFY(!r.eof);
        QCOMPARE(r.fields, emptyFields(57));
    }

    // Record n starts at (n - 1) * L, for each record length in use.
    void recordPlacement_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("number");
        QTest::newRow("L50 n1") << 50 << 1;
        QTest::newRow("L50 n3") << 50 << 3;
        QTest::newRow("L1000 n2") << 1000 << 2;
        QTest::newRow("L1000 n5") << 1000 << 5;
        QTest::newRow("L1500 n2") << 1500 << 2;
    }
    void recordPlacement() {
        QFETCH(int, length);
        QFETCH(int, number);
        const QString path = fresh();
        QVERIFY(WriteRecord(path, length, {"X"}, number).ok);
        const QByteArray bytes = bytesOf(path);
        QCOMPARE(bytes.size(), number * length);
        // The records before it are created as zeros: empty fields.
        QCOMPARE(bytes.left((number - 1) * length), QByteArray((number - 1) * length, '\0'));
        QCOMPARE(bytes.mid((number - 1) * length, 3), QByteArray::fromHex("010058"));
        for (int n = 1; n < number; ++n) {
            const RecordRead r = ReadRecord(path, length, 2, n);
            QVERIFY(!r.eof);
            QCOMPARE(r.fields, emptyFields(2));
        }
        QCOMPARE(RecordCount(path, length), number);
    }

    void rewritingOneRecordLeavesOthers() {
        const QString path = fresh();
        QVERIFY(WriteRecord(path, 50, {"uno", "1"}, 1).ok);
        QVERIFY(WriteRecord(path, 50, {"dos", "2"}, 2).ok);
        QVERIFY(WriteRecord(path, 50, {"tres", "3"}, 3).ok);
        const QByteArray before = bytesOf(path);
        QVERIFY(WriteRecord(path, 50, {"UNO LARGO", "11"}, 1).ok);
        const QByteArray after = bytesOf(path);
        QCOMPARE(after.size(), 150);
        QCOMPARE(after.mid(50), before.mid(50));
        QCOMPARE(ReadRecord(path, 50, 2, 1).fields, (QStringList{"UNO LARGO", "11"}));
        // A shorter text leaves no tail of the longer one.
        QVERIFY(WriteRecord(path, 50, {"u", ""}, 1).ok);
        QCOMPARE(bytesOf(path).left(50), QByteArray::fromHex("010075"
                                                             "0000") +
                                             QByteArray(45, 0));
        QVERIFY(WriteRecord(path, 50, {"dos bis", "2"}, 2).ok);
        QCOMPARE(bytesOf(path).mid(100), before.mid(100));
    }

    void readingPastTheEnd_data() {
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("eof");
        QTest::newRow("last record") << 2 << 2 << false;
        QTest::newRow("one past") << 2 << 3 << true;
        QTest::newRow("far past") << 2 << 40 << true;
        QTest::newRow("empty file") << 0 << 1 << true;
    }
    void readingPastTheEnd() {
        QFETCH(int, records);
        QFETCH(int, number);
        QFETCH(bool, eof);
        const QString path = fresh();
        QVERIFY(putBytes(path, QByteArray()));
        for (int n = 1; n <= records; ++n) QVERIFY(WriteRecord(path, 1000, {"a", "b", "c"}, n).ok);
        const RecordRead r = ReadRecord(path, 1000, 3, number);
        QVERIFY(r.ok);
        QCOMPARE(r.eof, eof);
        QCOMPARE(r.fields.size(), 3);
        if (eof) QCOMPARE(r.fields, emptyFields(3));
    }

    void missingFileReadsEmpty() {
        const RecordRead r = ReadRecord(fresh(QStringLiteral("none.CCon")), UserRecord);
        QVERIFY(!r.ok);
        QCOMPARE(r.fields, emptyFields(4));
        QCOMPARE(RecordCount(fresh(QStringLiteral("none.CCon")), 1000), 0);
    }

    // Names are matched whatever their letter case, file and folders alike.
    void letterCase_data() {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("asked");
        QTest::newRow("extension") << "Software.CCon"
                                   << "Software.Ccon";
        QTest::newRow("whole name") << "Usuarios.CCon"
                                    << "USUARIOS.CCON";
        QTest::newRow("folders") << "Utilerias/Generales/Equipos/Comandos.CCon"
                                 << "utilerias/GENERALES/equipos/Comandos.ccon";
        QTest::newRow("model folder") << "Luvero/Configuracion/Luvero30.CCon"
                                      << "LUVERO/configuracion/Luvero30.Ccon";
    }
    void letterCase() {
        QFETCH(QString, written);
        QFETCH(QString, asked);
        const QString root = QFileInfo(fresh()).path();
        const QString real = QDir(root).filePath(written);
        QVERIFY(QDir().mkpath(QFileInfo(real).path()));
        QVERIFY(WriteRecord(real, 1000, {"Lectura", "*40"}, 1).ok);

        const QString other = QDir(root).filePath(asked);
        QVERIFY(FileExists(other));
        const RecordRead r = ReadRecord(other, 1000, 2, 1);
        QVERIFY(r.ok);
        QCOMPARE(r.fields, (QStringList{"Lectura", "*40"}));
        QCOMPARE(QFileInfo(ResolvePath(other)).canonicalFilePath(),
                 QFileInfo(real).canonicalFilePath());

        // Writing under the other spelling updates the same file, no second one appears.
        QVERIFY(WriteRecord(other, 1000, {"Escritura", "*42"}, 2).ok);
        QCOMPARE(ReadRecord(real, 1000, 2, 2).fields, (QStringList{"Escritura", "*42"}));
        QCOMPARE(QDir(QFileInfo(real).path()).entryList(QDir::Files).size(), 1);
        QCOMPARE(ScanRecords(other, 1000, 2, [](int, const QStringList&) { return true; }), 2);
    }

    // A record whose fields need more than L bytes is refused and changes nothing.
    void oversizeRefused_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<bool>("existing");
        QTest::newRow("one byte over L50") << 50 << QStringList{QString(49, QChar('x'))} << true;
        QTest::newRow("two fields over")
            << 50 << QStringList{QString(24, 'a'), QString(23, 'b')} << true;
        QTest::newRow("many empty fields") << 50 << emptyFields(26) << true;
        QTest::newRow("model config over 1000")
            << 1000 << (emptyFields(56) << QString(887, QChar('z'))) << true;
        QTest::newRow("new file not created") << 50 << QStringList{QString(60, 'n')} << false;
        QTest::newRow("beyond 16-bit count")
            << 100000 << QStringList{QString(70000, QChar('w'))} << true;
    }
    void oversizeRefused() {
        QFETCH(int, length);
        QFETCH(QStringList, fields);
        QFETCH(bool, existing);
        const QString path = fresh();
        QByteArray before;
        if (existing) {
            QVERIFY(WriteRecord(path, length, {"keep"}, 1).ok);
            QVERIFY(WriteRecord(path, length, {"this"}, 2).ok);
            before = bytesOf(path);
        }
        const RecordWriteResult w = WriteRecord(path, length, fields, 1);
        QVERIFY(!w.ok);
        QVERIFY(!w.error.isEmpty());
        QCOMPARE(QFileInfo::exists(path), existing);
        if (existing) QCOMPARE(bytesOf(path), before);
        QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files).size(), existing ? 1 : 0);
    }

    void exactFitAccepted() {
        const QString path = fresh();
        QStringList fields = emptyFields(56) << QString(886, QChar('z'));
        QCOMPARE(RecordSize(fields), 1000);
        QVERIFY(WriteRecord(path, ModelConfigRecord, fields).ok);
        QCOMPARE(ReadRecord(path, ModelConfigRecord).fields, fields);
    }

    void badRecordNumberRefused() {
        const QString path = fresh();
        QVERIFY(!WriteRecord(path, 50, {"x"}, 0).ok);
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(WriteRecord(path, 50, {"x"}, 1).ok);
        const RecordRead r = ReadRecord(path, 50, 1, 0);
        QCOMPARE(r.fields, emptyFields(1));
    }

    // Damaged files: counts that run past the record, a short last record.
    void garbledRecords_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("number");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<bool>("eof");

        const QByteArray second = QByteArray(50, 'S');
        QTest::newRow("count runs past record")
            << QByteArray::fromHex("ffff") + QByteArray(48, 'a') + second << 1
            << QStringList{QString(48, 'a'), "", ""} << false;
        QTest::newRow("second field runs past")
            << QByteArray::fromHex(
                   "0100"
                   "41"
                   "6400") +
                   QByteArray(45, 'b') + second
            << 1 << QStringList{"A", QString(45, 'b'), ""} << false;
        QTest::newRow("count cut in half at the record end")
            << QByteArray::fromHex(
                   "0100"
                   "41"
                   "2c00") +
                   QByteArray(44, 'c') + QByteArray::fromHex("05") + second
            << 1 << QStringList{"A", QString(44, 'c'), ""} << false;
        QTest::newRow("short last record") << QByteArray(50, '\0') + QByteArray::fromHex(
                                                                         "0300"
                                                                         "787978"
                                                                         "0900"
                                                                         "6162")
                                           << 2 << QStringList{"xyx", "ab", ""} << false;
        QTest::newRow("last record one byte") << QByteArray(50, '\0') + QByteArray::fromHex("07")
                                              << 2 << QStringList{"", "", ""} << false;
        QTest::newRow("past a short last record")
            << QByteArray(50, '\0') + QByteArray::fromHex("07") << 3 << QStringList{"", "", ""}
            << true;
    }
    void garbledRecords() {
        QFETCH(QByteArray, content);
        QFETCH(int, number);
        QFETCH(QStringList, fields);
        QFETCH(bool, eof);
        const QString path = fresh();
        QVERIFY(putBytes(path, content));
        const RecordRead r = ReadRecord(path, 50, 3, number);
        QCOMPARE(r.fields, fields);
        QCOMPARE(r.eof, eof);
    }

    // Random bytes: every record reads, and no field takes bytes from outside its record.
    void randomBytes() {
        QRandomGenerator rng(7);
        for (int round = 0; round < 60; ++round) {
            const int length = round % 2 ? 50 : 1000;
            const int size = int(rng.bounded(0, 4 * length));
            QByteArray content(size, '\0');
            for (char& c : content) c = char(rng.bounded(256));
            // Mark record 2, and keep the mark out of record 1, so that a read of record 1
            // that strays into record 2 shows.
            for (int i = 0; i < qMin(size, length); ++i)
                if (content[i] == char(0xAA)) content[i] = 0;
            for (int i = length; i < qMin(size, 2 * length); ++i) content[i] = char(0xAA);
            const QString path = fresh();
            QVERIFY(putBytes(path, content));
            int visited = 0;
            const int last = ScanRecords(path, length, 7, [&](int n, const QStringList& f) {
                ++visited;
                return n > 0 && f.size() == 7;
            });
            QCOMPARE(last, RecordCount(path, length));
            QVERIFY(visited <= last);
            for (int n = 1; n <= RecordCount(path, length) + 1; ++n) {
                const RecordRead r = ReadRecord(path, length, 7, n);
                QCOMPARE(r.fields.size(), 7);
                int used = 0;
                for (const QString& f : r.fields) used += int(f.size());
                QVERIFY(used <= length);
                if (n == 1 && size > length)
                    for (const QString& f : r.fields) QVERIFY(!f.contains(QChar(0xAA)));
            }
        }
    }

    void scanSkipsEmptySlotsAndStops() {
        const QString path = fresh();
        QVERIFY(WriteRecord(path, 1000, {"Lectura", "*40", ""}, 1).ok);
        QVERIFY(WriteRecord(path, 1000, {"", "*41", ""}, 2).ok);
        QVERIFY(WriteRecord(path, 1000, {"Colgado", "*47", ""}, 3).ok);
        QVERIFY(WriteRecord(path, 1000, {"", "", ""}, 5).ok);  // record 4 created empty

        QList<int> seen;
        const int last = ScanRecords(path, 1000, 3, [&](int n, const QStringList& f) {
            seen << n;
            return !f.isEmpty();
        });
        QCOMPARE(seen, (QList<int>{1, 3}));
        QCOMPARE(last, 5);

        seen.clear();
        const int stopped = ScanRecords(path, 1000, 3, [&](int n, const QStringList&) {
            seen << n;
            return false;  // the first match ends a search
        });
        QCOMPARE(seen, QList<int>{1});
        QCOMPARE(stopped, 1);

        QCOMPARE(ScanRecords(fresh(QStringLiteral("none")), 1000, 3,
                             [](int, const QStringList&) { return true; }),
                 0);
    }

    void deleteAndExist() {
        const QString path = fresh(QStringLiteral("UltEnvio.CCon"));
        QVERIFY(!FileExists(path));
        QVERIFY(WriteRecord(path, LastSentRecord, emptyFields(7)).ok);
        QCOMPARE(QFileInfo(path).size(), 1500);
        QVERIFY(FileExists(QFileInfo(path).path() + QStringLiteral("/ultenvio.ccon")));
        QVERIFY(!FileExists(QFileInfo(path).path()));  // a folder is not a file
        QVERIFY(DeleteFile(QFileInfo(path).path() + QStringLiteral("/ULTENVIO.CCON")));
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(!DeleteFile(path));
    }

    void paths_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("tail");
        const Paths p{QStringLiteral("/app")};
        QTest::newRow("model config")
            << p.modelConfig("Sorvanell", "30") << "/app/Sorvanell/Configuracion/Sorvanell30.Ccon";
        QTest::newRow("index") << p.equipmentIndex()
                               << "/app/Utilerias/Generales/Equipos/Equipo.CGe";
        QTest::newRow("settings") << p.softwareSettings()
                                  << "/app/Utilerias/Generales/Equipos/Software.CCon";
        QTest::newRow("users") << p.users() << "/app/Utilerias/Generales/Equipos/Usuarios.CCon";
        QTest::newRow("commands") << p.commands()
                                  << "/app/Utilerias/Generales/Equipos/Comandos.CCon";
        QTest::newRow("last sent")
            << p.lastSent() << "/app/Utilerias/Generales/Equipos/UltEnvio.CCon";
        QTest::newRow("credentials") << p.operatorCredentials() << "/app/cmctes6.dll";
        QTest::newRow("images") << p.images() << "/app/Imagenes";
    }
    void paths() {
        QFETCH(QString, path);
        QFETCH(QString, tail);
        QCOMPARE(QDir::fromNativeSeparators(path), tail);
    }
};

QTEST_GUILESS_MAIN(TestRecordFile)
#include "test_recordfile.moc"
