// Saves that never lose a file: a full disk, links, read-only files, names the code page cannot
// hold, the last-sent record under kills, and the leftovers of an interrupted save.
#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <csignal>

#include "core/config/recordfile.h"
#include "gui/device/commands.h"
#include "gui/device/serieswindow.h"
#include "support/filebytes.h"
#include "support/programfixture.h"
#include "support/smalldisk.h"

using namespace morla;
using namespace morla::test;

namespace {

QStringList leftovers(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("~*")}, QDir::Files | QDir::Hidden);
}

QStringList fieldsFor(const RecordType& t, const QString& text) {
    QStringList f;
    for (int i = 0; i < t.fields; ++i) f << text + QString::number(i);
    return f;
}

// The record the kill helper writes in round n: every byte of it depends on n.
QStringList lastSentFields(int n) {
    const QString tag = QString::number(n);
    return {QStringLiteral("00"),
            QString(130, QChar('A' + n % 26)) + tag,
            tag,
            QString(138, '1'),
            QStringLiteral("read") + tag,
            tag.repeated(5),
            QString::number(tag.size() * 5)};
}

// The series log line the append helper writes as line n of round `round`, of varying length.
QStringList seriesFields(int round, int n) {
    return {QString::number(round), QString::number(n), QString(n % 70, QChar('x')), "ñ"};
}

// Helper process: appends series log lines until it is killed.
int AppendForever(const QString& path, int round) {
    for (int n = 1;; ++n)
        if (!AppendSeriesLog(path, seriesFields(round, n), nullptr)) return 2;
}

// The log's lines after its header; a piece after the last line end is returned apart.
QStringList logLines(const QString& path, QByteArray* piece = nullptr) {
    const QByteArray bytes = bytesOf(path);
    const qsizetype last = bytes.lastIndexOf("\r\n");
    const qsizetype end = last < 0 ? 0 : last + 2;
    if (piece) *piece = bytes.mid(end);
    if (end == 0) return {};
    QStringList lines = QString::fromUtf8(bytes.left(end)).split(QStringLiteral("\r\n"));
    lines.removeLast();
    if (lines.isEmpty() || lines.takeFirst() != "\uFEFF" + CsvLine(SeriesLogHeader())) return {"?"};
    return lines;
}

// Helper process: saves the last-sent record over and over until it is killed.
int SaveForever(const QString& path) {
    for (int n = 1;; ++n)
        if (!ReplaceRecordFile(path, LastSentRecord, lastSentFields(n)).ok) return 2;
}

}  // namespace

// number: 0 when the last-sent file is replaced whole
using FullDiskRow = std::tuple<QString, int, int, int>;
// whole: ReplaceRecordFile instead of WriteRecord
using TargetRow = std::tuple<QString, bool>;
using CodePageRow = std::tuple<QString, QString>;
using LeftoverRow = std::tuple<QString, bool>;
using LastSentRow = std::tuple<QString, QString>;

class TestSafeSave : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    int serial_ = 0;
    QString freshFolder() {
        const QString sub = dir_.filePath(QString::number(++serial_));
        QDir().mkpath(sub);
        return sub;
    }

  private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    // With no space, or less than the new content needs, every kind of save fails with a
    // message naming the file and the cause, and the old file stays byte for byte.
    void fullDisk_data() {
        QTest::addColumn<FullDiskRow>("row");
        QTest::newRow("commands, append, no space") << FullDiskRow{"Comandos.CCon", 6, 7, 0};
        QTest::newRow("commands, rewrite, a little space")
            << FullDiskRow{"Comandos.CCon", 10, 3, 4096};
        QTest::newRow("last sent, no space") << FullDiskRow{"UltEnvio.CCon", 1, 0, 0};
        QTest::newRow("new file, no space") << FullDiskRow{"Comandos.CCon", 0, 1, 0};
    }
    void fullDisk() {
        QFETCH_ROW(FullDiskRow, file, records, number, leave);
        const RecordType& t = number ? CommandRecord : LastSentRecord;
        const QString folder = freshFolder();
        const QString path = QDir(folder).filePath(file);
        for (int n = 1; n <= records; ++n)
            QVERIFY(WriteRecord(path, t, fieldsFor(t, QStringLiteral("old%1-").arg(n)), n).ok);
        const QByteArray before = bytesOf(path);

        SmallDisk disk(folder, 64 * 1024);
        if (!disk.mounted()) QSKIP(qPrintable(disk.reason()));
        QVERIFY(disk.reason().isEmpty());
        QCOMPARE(bytesOf(path), before);
        QVERIFY(disk.fill(leave));
        QVERIFY(disk.available() < qMax<qint64>(t.length, before.size()));

        const QStringList fields = fieldsFor(t, QStringLiteral("new"));
        const auto save = [&] {
            return number ? WriteRecord(path, t, fields, number)
                          : ReplaceRecordFile(path, t, fields);
        };
        const RecordWriteResult r = save();
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(QStringLiteral("No hay espacio en el disco")),
                 qPrintable(r.error));
        QVERIFY2(r.error.contains(file), qPrintable(r.error));
        QCOMPARE(bytesOf(path), before);
        QCOMPARE(QFileInfo::exists(path), records > 0);
        QCOMPARE(leftovers(folder), QStringList());

        // With room again the same save goes through.
        QVERIFY(QFile::remove(QDir(folder).filePath(QStringLiteral(".filler"))));
        QVERIFY(save().ok);
        QCOMPARE(ReadRecord(path, t, qMax(number, 1)).fields, fields);
    }

    // On a full disk a series log line is whole or absent: the line that did not fit leaves
    // no piece behind, the cause is named, and with room again the log goes on.
    void seriesLogOnFullDisk() {
        const QString folder = freshFolder();
        const QString path = QDir(folder).filePath(QStringLiteral("Serie.csv"));
        QVERIFY(AppendSeriesLog(path, seriesFields(0, 1), nullptr));
        SmallDisk disk(folder, 64 * 1024);
        if (!disk.mounted()) QSKIP(qPrintable(disk.reason()));
        QVERIFY(disk.fill());
        QString error;
        int n = 2;
        QByteArray before;
        for (; n < 200; ++n) {
            before = bytesOf(path);
            if (!AppendSeriesLog(path, seriesFields(0, n), &error)) break;
        }
        QVERIFY(n < 200);
        // Part of the line would have fit in the file's last page.
        QVERIFY(before.size() % 4096 != 0);
        QVERIFY2(error.contains(QStringLiteral("No hay espacio en el disco")) &&
                     error.contains(QStringLiteral("Serie.csv")),
                 qPrintable(error));
        QCOMPARE(bytesOf(path), before);
        QCOMPARE(logLines(path).size(), n - 1);
        QVERIFY(QFile::remove(QDir(folder).filePath(QStringLiteral(".filler"))));
        QVERIFY(AppendSeriesLog(path, seriesFields(0, n), &error));
        const QStringList lines = logLines(path);
        QCOMPARE(lines.size(), n);
        QCOMPARE(lines.last(), CsvLine(seriesFields(0, n)));
    }

    // Appends killed at any moment keep every earlier line; a piece a kill might leave is
    // cut off by the next append.
    void killedAppendsKeepEveryLine() {
        const QString path = QDir(freshFolder()).filePath(QStringLiteral("Serie.csv"));
        QRandomGenerator rng(5);
        QStringList expected;
        for (int round = 1; round <= 60; ++round) {
            QProcess appender;
            appender.start(QCoreApplication::applicationFilePath(),
                           {QStringLiteral("--append-forever"), path, QString::number(round)});
            QVERIFY(appender.waitForStarted());
            QThread::usleep(rng.bounded(2000, 20000));
            ::kill(pid_t(appender.processId()), SIGKILL);
            QVERIFY(appender.waitForFinished());
            QByteArray piece;
            const QStringList lines = logLines(path, &piece);
            QVERIFY(lines.size() >= expected.size());
            QCOMPARE(lines.mid(0, expected.size()), expected);
            for (int n = 1, before = int(expected.size()); before + n <= lines.size(); ++n)
                expected << CsvLine(seriesFields(round, n));
            QCOMPARE(lines, expected);
            if (!piece.isEmpty())
                qInfo("round %d left a piece of %d bytes", round, int(piece.size()));
        }
        qInfo("%d lines in 60 rounds", int(expected.size()));
        // A piece as a write cut short would leave.
        QVERIFY(putBytes(path, bytesOf(path) + "61;1;xx"));
        QVERIFY(AppendSeriesLog(path, seriesFields(0, 0), nullptr));
        QByteArray piece;
        QCOMPARE(logLines(path, &piece), expected << CsvLine(seriesFields(0, 0)));
        QCOMPARE(piece, QByteArray());
    }

    // A record file that is a link, or in a folder linked out of the program folder, is refused
    // and nothing it leads to changes; the program folder itself may be reached through a link.
    void refusedTargets_data() {
        QTest::addColumn<TargetRow>("row");
        for (bool whole : {false, true}) {
            const char* how = whole ? "replace" : "record";
            QTest::addRow("link out of the folder, %s", how) << TargetRow{"link", whole};
            QTest::addRow("dangling link, %s", how) << TargetRow{"dangling", whole};
            QTest::addRow("folder linked out, %s", how) << TargetRow{"folderlink", whole};
        }
    }
    void refusedTargets() {
        QFETCH_ROW(TargetRow, kind, whole);
        QString within = freshFolder();
        const QString outside = QDir(freshFolder()).filePath(QStringLiteral("elsewhere"));
        QString path = QDir(within).filePath(QStringLiteral("UltEnvio.CCon"));
        const QByteArray secret("not a record file");
        if (kind != QStringLiteral("dangling")) QVERIFY(putBytes(outside, secret));
        if (kind == QStringLiteral("folderlink")) {
            const QString linkedApp = within + QStringLiteral(".link");
            QVERIFY(QFile::link(within, linkedApp));
            QVERIFY(QFile::link(QFileInfo(outside).path(), QDir(within).filePath("Equipos")));
            within = linkedApp;
            QVERIFY(
                WriteRecord(QDir(within).filePath("x.CCon"), LastSentRecord, {"00"}, 1, within).ok);
            path = QDir(within).filePath(QStringLiteral("Equipos/UltEnvio.CCon"));
        } else {
            QVERIFY(QFile::link(outside, path));
        }
        const RecordWriteResult r = whole ? ReplaceRecordFile(path, LastSentRecord, {"00"}, within)
                                          : WriteRecord(path, LastSentRecord, {"00"}, 1, within);
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(QStringLiteral("enlace")) &&
                     r.error.contains(QStringLiteral("UltEnvio.CCon")),
                 qPrintable(r.error));
        if (kind == QStringLiteral("dangling"))
            QVERIFY(!QFileInfo::exists(outside));
        else
            QCOMPARE(bytesOf(outside), secret);
        QCOMPARE(QDir(QFileInfo(outside).path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList(kind == QStringLiteral("dangling") ? QStringList{}
                                                                : QStringList{"elsewhere"}));
        QCOMPARE(leftovers(within), QStringList());
    }

    // Every byte of a field comes back as it was when the field is written unchanged,
    // including the five the code page leaves unassigned.
    void everyByteKept() {
        QByteArray raw;
        for (int b = 0x20; b < 0x100; ++b) raw.append(char(b));
        const QString path = QDir(freshFolder()).filePath(QStringLiteral("Software.CCon"));
        const QByteArray record = QByteArray::fromHex("e000") + raw;
        QVERIFY(putBytes(path, record.leftJustified(1000, '\0')));
        const QByteArray before = bytesOf(path);
        const QStringList fields = ReadRecord(path, SoftwareSettingsRecord).fields;
        QCOMPARE(fields[0].size(), raw.size());
        QCOMPARE(NonAnsiCharacters(fields[0]), QString());
        QVERIFY(WriteRecord(path, SoftwareSettingsRecord, fields).ok);
        QCOMPARE(bytesOf(path), before);
    }

    // A text the code page cannot hold is refused before anything is written.
    void textsOutsideTheCodePage_data() {
        QTest::addColumn<CodePageRow>("row");
        QTest::newRow("Polish, twice")
            << CodePageRow{QStringLiteral("łąkał"), QStringLiteral("łą")};
        QTest::newRow("C1 control with no byte")
            << CodePageRow{QStringLiteral("a\u0080"), "\u0080"};
        QTest::newRow("replacement character") << CodePageRow{QStringLiteral("x\uFFFD"), "\uFFFD"};
    }
    void textsOutsideTheCodePage() {
        QFETCH_ROW(CodePageRow, text, lost);
        QCOMPARE(NonAnsiCharacters(text), lost);
        const QString path = QDir(freshFolder()).filePath(QStringLiteral("Comandos.CCon"));
        QVERIFY(WriteRecord(path, CommandRecord, {"Lectura", "*40", "1"}, 1).ok);
        const QByteArray before = bytesOf(path);
        const RecordWriteResult r = WriteRecord(path, CommandRecord, {text, "*1", "1"}, 2);
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(text) && r.error.contains(lost), qPrintable(r.error));
        QCOMPARE(bytesOf(path), before);
        QVERIFY(!ReplaceRecordFile(path, CommandRecord, {"x", text}).ok);
        QCOMPARE(bytesOf(path), before);
    }

    // Only the temporary files of a save are removed, wherever the program saves.
    void leftoversRemoved_data() {
        QTest::addColumn<LeftoverRow>("row");
        QTest::newRow("commands save")
            << LeftoverRow{"Utilerias/Generales/Equipos/~Comandos.CCon.morla-a1b2c3", true};
        QTest::newRow("credentials save") << LeftoverRow{"~cmctes6.dll.morla-000000", true};
        QTest::newRow("another folder") << LeftoverRow{"Imagenes/~Morla.png.morla-a1b2c3", false};
        QTest::newRow("suffix too short")
            << LeftoverRow{"Utilerias/Generales/Equipos/~Comandos.CCon.morla-a1b2", false};
        QTest::newRow("no tilde") << LeftoverRow{
            "Utilerias/Generales/Equipos/Comandos.CCon.morla-a1b2c3", false};
        QTest::newRow("a user's file") << LeftoverRow{"~notas.txt", false};
    }
    void leftoversRemoved() {
        QFETCH_ROW(LeftoverRow, name, removed);
        const QString app = freshFolder();
        const QString path = QDir(app).filePath(name);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(putBytes(path, "x"));
        QCOMPARE(RemoveLeftoverSaves(Paths{app}), removed ? 1 : 0);
        QCOMPARE(QFileInfo::exists(path), !removed);
    }

    // A save killed at any moment leaves the old record or the new one, never anything else;
    // its temporary file is cleaned up at the next start.
    void killedSaveLeavesOldOrNew() {
        const QString folder = freshFolder();
        const QString path = QDir(folder).filePath(QStringLiteral("UltEnvio.CCon"));
        QRandomGenerator rng(17);
        int tempsSeen = 0;
        for (int round = 0; round < 100; ++round) {
            QVERIFY(ReplaceRecordFile(path, LastSentRecord, lastSentFields(0)).ok);
            QProcess saver;
            saver.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--save-forever"), path});
            QVERIFY(saver.waitForStarted());
            QThread::usleep(rng.bounded(2000, 30000));
            ::kill(pid_t(saver.processId()), SIGKILL);
            QVERIFY(saver.waitForFinished());
            QCOMPARE(saver.exitStatus(), QProcess::CrashExit);

            const QByteArray bytes = bytesOf(path);
            QCOMPARE(bytes.size(), LastSentRecord.length);
            const QStringList fields = ReadRecord(path, LastSentRecord).fields;
            const int n = fields[2].toInt();
            QCOMPARE(fields, lastSentFields(n));
            tempsSeen += int(leftovers(folder).size());
            RemoveLeftoverSaves(folder);
            QCOMPARE(leftovers(folder), QStringList());
        }
        qInfo("%d kills left a temporary file behind", tempsSeen);
    }

    // The program's own saves: a full disk, a read-only last-sent file or its folder linked
    // elsewhere give a message, the file stays, and a send still goes out.
    void lastSentNotKeptSendStillGoes_data() {
        QTest::addColumn<LastSentRow>("row");
        QTest::newRow("full disk") << LastSentRow{"full", "No hay espacio en el disco"};
        QTest::newRow("read-only") << LastSentRow{"readonly", "solo lectura"};
        QTest::newRow("folder linked elsewhere") << LastSentRow{"folderlink", "enlace"};
    }
    void lastSentNotKeptSendStillGoes() {
        QFETCH_ROW(LastSentRow, kind, reason);
        LoadedProgram f;
        Program& p = *f.p;
        ModelButton(p, 3);
        p.main->MorTexResCla->setText(QStringLiteral("4321"));
        const QString path = f.paths().lastSent();
        QVERIFY(ReplaceRecordFile(path, LastSentRecord, lastSentFields(3)).ok);
        const QString outside = QDir(freshFolder()).filePath(QStringLiteral("x"));
        if (kind == QStringLiteral("readonly"))
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        if (kind == QStringLiteral("folderlink")) {
            const QString equipment = f.paths().equipmentFolder();
            QVERIFY(QDir().rename(equipment, outside));
            QVERIFY(QFile::link(outside, equipment));
        }
        const QByteArray before = bytesOf(path);
        std::unique_ptr<SmallDisk> disk;
        if (kind == QStringLiteral("full")) {
            disk = std::make_unique<SmallDisk>(f.paths().equipmentFolder(), 64 * 1024);
            if (!disk->mounted()) QSKIP(qPrintable(disk->reason()));
            QVERIFY(disk->fill());
        }
        f.msgs.clear();
        f.port.line.clear();
        p.main->MorFraCom04->click();
        QCOMPARE(f.msgs.texts().size(), 1);
        const QString text = f.msgs.texts().first();
        QVERIFY2(text.contains(reason) && text.contains(QStringLiteral("UltEnvio.CCon")),
                 qPrintable(text));
        QCOMPARE(bytesOf(path), before);
        f.port.acknowledgeAll();
        QCOMPARE(f.port.line, QByteArray("D*421P"));
        f.port.line.clear();
        QVERIFY(Fire(p.main->TimerPID));
        f.port.acknowledgeAll();
        QCOMPARE(f.port.line, "D" + p.s.SendData.toLatin1() + "1P");
    }

    // A last-sent file holding more than one record is replaced by the one new record.
    void lastSentHoldsOnlyTheLastSend() {
        LoadedProgram f;
        ModelButton(*f.p, 3);
        f.p->main->MorTexResCla->setText(QStringLiteral("4321"));
        const QString path = f.paths().lastSent();
        QVERIFY(WriteRecord(path, LastSentRecord, lastSentFields(2), 2).ok);
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        f.p->main->MorFraCom04->click();
        QCOMPARE(f.msgs.texts(), QStringList());
        QCOMPARE(QFileInfo(path).size(), qint64(LastSentRecord.length));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0600u);
        QCOMPARE(ReadRecord(path, LastSentRecord).fields[5], f.p->s.SendData);
    }

    // The program's start removes what an interrupted save left.
    void startRemovesLeftovers() {
        ProgramFixture f;
        const QString temp = QDir(f.paths().equipmentFolder())
                                 .filePath(QStringLiteral("~UltEnvio.CCon.morla-q1w2e3"));
        QVERIFY(putBytes(temp, "half"));
        f.load();
        QVERIFY(!QFileInfo::exists(temp));
    }
};

int main(int argc, char* argv[]) {
    if (argc == 3 && qstrcmp(argv[1], "--save-forever") == 0)
        return SaveForever(QString::fromLocal8Bit(argv[2]));
    if (argc == 4 && qstrcmp(argv[1], "--append-forever") == 0)
        return AppendForever(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());
    QApplication app(argc, argv);
    TestSafeSave test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_safesave.moc"
