// Record files at the byte level: layout, placement, refusal, letter case and damaged files.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "core/config/recordfile.h"
#include "support/filebytes.h"

using namespace morla;
using namespace morla::test;

using RecordBytesRow = std::tuple<QStringList, int, QByteArray>;
using RefusedWritesRow = std::tuple<int, QStringList, int, bool>;
// content: null: no file
using ReadsRow = std::tuple<QByteArray, int, QStringList, bool, bool>;

class TestRecordFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    int serial_ = 0;
    // A path in a folder of its own.
    QString fresh(const QString& name = QStringLiteral("f.CCon")) {
        const QString sub = dir_.filePath(QString::number(++serial_));
        QDir().mkpath(sub);
        return QDir(sub).filePath(name);
    }

  private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    // Bytes of one record: count (little-endian), ANSI text, zero fill.
    void recordBytes_data() {
        QTest::addColumn<RecordBytesRow>("row");
        const auto hex = [](const char* h) { return QByteArray::fromHex(h); };
        // clang-format off
        QTest::newRow("two fields, one empty") << RecordBytesRow{QStringList{"abc", "", "Z"}, 50, hex("0300616263000001005a")};
        QTest::newRow("euro sign") << RecordBytesRow{QStringList{"€"}, 50, hex("010080")};
        QTest::newRow("count above 255") << RecordBytesRow{QStringList{QString(300, 'x')}, 1000, hex("2c01") + QByteArray(300, 'x')};
        QTest::newRow("exactly fills") << RecordBytesRow{QStringList{QString(48, 'q')}, 50, hex("3000") + QByteArray(48, 'q')};
        // An all-empty model configuration takes 114 bytes, all zeros.
        QTest::newRow("empty model config") << RecordBytesRow{QStringList(57), 1000, QByteArray(114, '\0')};
        // clang-format on
    }
    void recordBytes() {
        QFETCH(RecordBytesRow, row);
        const auto& [fields, length, head] = row;
        const QString path = fresh();
        const RecordWriteResult w = WriteRecord(path, length, fields, 1);
        QVERIFY2(w.ok, qPrintable(w.error));
        const QByteArray bytes = bytesOf(path);
        QCOMPARE(bytes.size(), length);
        QCOMPARE(bytes.left(head.size()), head);
        QCOMPARE(bytes.mid(head.size()), QByteArray(length - head.size(), '\0'));
        QCOMPARE(RecordSize(fields), int(head.size()));
        const RecordRead r = ReadRecord(path, length, int(fields.size()), 1);
        QVERIFY(r.ok && !r.eof);
        QCOMPARE(r.fields, fields);
    }

    // Record n starts at (n - 1) * L; records before it are created empty, records after it
    // are left alone when it is rewritten, and a shorter text leaves no tail behind.
    void recordPlacement() {
        const int length = 1500;
        const QString path = fresh();
        QVERIFY(WriteRecord(path, length, {"X"}, 3).ok);
        QByteArray bytes = bytesOf(path);
        QCOMPARE(bytes.size(), 3 * length);
        QCOMPARE(bytes.left(2 * length), QByteArray(2 * length, '\0'));
        QCOMPARE(bytes.mid(2 * length, 3), QByteArray::fromHex("010058"));
        QCOMPARE(ReadRecord(path, length, 2, 1).fields, QStringList(2));
        QCOMPARE(RecordCount(path, length), 3);

        QVERIFY(WriteRecord(path, length, {"uno"}, 1).ok);
        const QByteArray before = bytesOf(path);
        QVERIFY(WriteRecord(path, length, {"UNO LARGO", "11"}, 2).ok);
        QCOMPARE(ReadRecord(path, length, 2, 2).fields, (QStringList{"UNO LARGO", "11"}));
        QVERIFY(WriteRecord(path, length, {"u"}, 2).ok);
        bytes = bytesOf(path);
        QCOMPARE(bytes.size(), 3 * length);
        QCOMPARE(bytes.mid(length, length), QByteArray::fromHex("010075").leftJustified(length, 0));
        QCOMPARE(bytes.left(5), QByteArray::fromHex("0300756e6f"));
        QCOMPARE(bytes.left(length) + bytes.mid(2 * length),
                 before.left(length) + before.mid(2 * length));
    }

    // Names are matched whatever their letter case, file and folders alike.
    void letterCase() {
        for (const auto& [written, asked] :
             {std::pair{"Software.CCon", "Software.Ccon"},
              std::pair{"Utilerias/Generales/Equipos/Comandos.CCon",
                        "utilerias/GENERALES/equipos/Comandos.ccon"}}) {
            const QString root = QFileInfo(fresh()).path();
            const QString real = QDir(root).filePath(written);
            QVERIFY(QDir().mkpath(QFileInfo(real).path()));
            QVERIFY(WriteRecord(real, 1000, {"Lectura", "*40"}, 1).ok);

            const QString other = QDir(root).filePath(asked);
            QVERIFY(FileExists(other));
            QCOMPARE(ReadRecord(other, 1000, 2, 1).fields, (QStringList{"Lectura", "*40"}));
            // Writing under the other spelling updates the same file, no second one appears.
            QVERIFY(WriteRecord(other, 1000, {"Escritura", "*42"}, 2).ok);
            QCOMPARE(ReadRecord(real, 1000, 2, 2).fields, (QStringList{"Escritura", "*42"}));
            QCOMPARE(QDir(QFileInfo(real).path()).entryList(QDir::Files).size(), 1);
            QVERIFY(!FileExists(QFileInfo(other).path()));  // a folder is not a file
            QVERIFY(DeleteFile(other));
            QVERIFY(!QFileInfo::exists(real));
            QVERIFY(!FileExists(other) && !DeleteFile(other));
        }
    }

    // A record that does not fit is refused and the file stays byte for byte as it was.
    void refusedWrites_data() {
        QTest::addColumn<RefusedWritesRow>("row");
        QTest::newRow("one byte over")
            << RefusedWritesRow{50, QStringList{QString(49, 'x')}, 1, true};
        QTest::newRow("counts take room") << RefusedWritesRow{50, QStringList(26), 2, true};
        QTest::newRow("new file not created")
            << RefusedWritesRow{50, QStringList{QString(60, 'n')}, 1, false};
        QTest::newRow("beyond 16-bit count")
            << RefusedWritesRow{100000, QStringList{QString(65536, QChar('w'))}, 1, true};
        QTest::newRow("record 0") << RefusedWritesRow{50, QStringList{"x"}, 0, false};
        QTest::newRow("past the largest record number")
            << RefusedWritesRow{50, QStringList{"x"}, kMaxRecordNumber + 1, true};
    }
    void refusedWrites() {
        QFETCH(RefusedWritesRow, row);
        const auto& [length, fields, number, existing] = row;
        const QString path = fresh();
        if (existing) {
            QVERIFY(WriteRecord(path, length, {"keep"}, 1).ok);
            QVERIFY(WriteRecord(path, length, {"this"}, 2).ok);
        }
        const QByteArray before = bytesOf(path);
        const RecordWriteResult w = WriteRecord(path, length, fields, number);
        QVERIFY(!w.ok && !w.error.isEmpty());
        QCOMPARE(bytesOf(path), before);
        QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files).size(), existing ? 1 : 0);
    }

    // Reading past the end or from no file gives K empty fields; damaged records read as far
    // as they go and never into the next record.
    void reads_data() {
        QTest::addColumn<ReadsRow>("row");
        const QByteArray abc = QByteArray::fromHex("010061010062010063").leftJustified(50, 0);
        const QStringList none = QStringList(3);
        const QByteArray next(50, 'S');
        const QByteArray shortLast = QByteArray(50, '\0') + QByteArray::fromHex("03007879780900");
        const auto hex = [](const char* h) { return QByteArray::fromHex(h); };
        // clang-format off
        QTest::newRow("last record") << ReadsRow{abc + abc, 2, QStringList{"a", "b", "c"}, false, true};
        QTest::newRow("one past") << ReadsRow{abc + abc, 3, none, true, true};
        QTest::newRow("empty file") << ReadsRow{QByteArray(""), 1, none, true, true};
        QTest::newRow("record 0") << ReadsRow{abc, 0, none, true, false};
        QTest::newRow("missing file") << ReadsRow{QByteArray(), 1, none, true, false};
        QTest::newRow("count runs past record") << ReadsRow{hex("ffff") + QByteArray(48, 'a') + next, 1, QStringList{QString(48, 'a'), "", ""}, false, true};
        QTest::newRow("second field runs past") << ReadsRow{hex("0100416400") + QByteArray(45, 'b') + next, 1, QStringList{"A", QString(45, 'b'), ""}, false, true};
        QTest::newRow("count cut in half at the record end") << ReadsRow{hex("0100412c00") + QByteArray(44, 'c') + "\x05" + next, 1, QStringList{"A", QString(44, 'c'), ""}, false, true};
        QTest::newRow("short last record") << ReadsRow{shortLast + "ab", 2, QStringList{"xyx", "ab", ""}, false, true};
        // clang-format on
    }
    void reads() {
        QFETCH(ReadsRow, row);
        const auto& [content, number, fields, eof, ok] = row;
        const QString path = fresh();
        if (!content.isNull()) QVERIFY(putBytes(path, content));
        const RecordRead r = ReadRecord(path, 50, 3, number);
        QCOMPARE(r.fields, fields);
        QCOMPARE(r.eof, eof);
        QCOMPARE(r.ok, ok);
    }

    // Only regular files no larger than the records a file can number are read or rewritten;
    // anything else is refused at once with its cause, and stays as it was.
    void notRecordFiles_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("cause");
        // clang-format off
        QTest::newRow("device") << "device" << "Es un dispositivo, no un archivo";
        QTest::newRow("2 GiB") << "2 GiB" << "mide 2147483648 bytes y un archivo de registros de 50 bytes no pasa de 1638350 bytes (32767 registros)";
        // clang-format on
    }
    void notRecordFiles() {
        QFETCH(QString, kind);
        QFETCH(QString, cause);
        const QString path = fresh();
        QVERIFY(putOddFile(path, kind));
        const QFileInfo before(path);
        QElapsedTimer clock;
        clock.start();
        const RecordRead r = ReadRecord(path, 50, 3, 1);
        QVERIFY(!r.ok);
        QCOMPARE(r.cause, cause);
        QString scanned;
        QCOMPARE(ScanRecords(
                     path, 50, 3, [](int, const QStringList&) { return true; }, &scanned),
                 0);
        QCOMPARE(scanned, cause);
        const RecordWriteResult w = WriteRecord(path, 50, {"x"}, 1);
        QVERIFY(!w.ok);
        // A link is refused as a link before what it leads to is looked at.
        QVERIFY2(w.error.contains(kind == "device" ? QStringLiteral("enlace") : cause) &&
                     w.error.contains(QStringLiteral("f.CCon")),
                 qPrintable(w.error));
        QVERIFY(clock.elapsed() < 1000);
        const QFileInfo after(path);
        QCOMPARE(after.size(), before.size());
        QCOMPARE(after.isDir(), before.isDir());
        QCOMPARE(after.isSymLink(), before.isSymLink());
    }

    // Random bytes: every record reads, and no field takes bytes from outside its record.
    void randomBytes() {
        QRandomGenerator rng(7);
        for (int round = 0; round < 60; ++round) {
            const int length = round % 2 ? 50 : 1000;
            const int size = int(rng.bounded(0, 4 * length));
            QByteArray content(size, '\0');
            for (char& c : content) c = char(rng.bounded(256));
            // Record 2 is all 0xAA and record 1 has none, so a stray read of record 1 shows.
            for (int i = 0; i < qMin(size, length); ++i)
                if (content[i] == char(0xAA)) content[i] = 0;
            for (int i = length; i < qMin(size, 2 * length); ++i) content[i] = char(0xAA);
            const QString path = fresh();
            QVERIFY(putBytes(path, content));
            const int last = ScanRecords(path, length, 7,
                                         [](int, const QStringList& f) { return f.size() == 7; });
            QCOMPARE(last, RecordCount(path, length));
            for (int n = 1; n <= last + 1; ++n) {
                const RecordRead r = ReadRecord(path, length, 7, n);
                QCOMPARE(r.fields.size(), 7);
                QVERIFY(r.fields.join(QString()).size() <= length);
                if (n == 1) QVERIFY(!r.fields.join(QString()).contains(QChar(0xAA)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestRecordFile)
#include "test_recordfile.moc"
