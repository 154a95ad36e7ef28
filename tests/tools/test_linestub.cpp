// The stand-in line library: the program's call reaches DRQ, every dial text lands in the log
// beside the library file byte for byte, and the second build has no DRQ at all.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdint>

#include "session/modem.h"

using namespace morla;

namespace {

using Drq = int32_t (*)(int32_t, const char*);

// A copy of the library under the program's name in a folder of its own.
QString installCopy(const QTemporaryDir& dir, const char* built) {
    const QString target = dir.filePath(QString::fromUtf16(kLineLibraryFile));
    QFile::remove(target);
    return QFile::copy(QString::fromUtf8(built), target) ? target : QString();
}

QList<QByteArray> logLines(const QTemporaryDir& dir) {
    QFile f(dir.filePath(QStringLiteral("DRQdll.log")));
    if (!f.open(QIODevice::ReadOnly)) return {};
    QList<QByteArray> lines = f.readAll().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

}  // namespace

class TestLineStub : public QObject {
    Q_OBJECT
  private slots:
    void logsEveryText_data() {
        QTest::addColumn<QList<QByteArray>>("texts");
        QTest::newRow("one command") << QList<QByteArray>{"#1,1234,9"};
        QTest::newRow("regrouped, repeated")
            << QList<QByteArray>{"#2,1234,56789,012", "#2,1234,56789,012"};
        QTest::newRow("empty and code page bytes") << QList<QByteArray>{"", "\xf1\xe1\x80,*#", "9"};
    }
    void logsEveryText() {
        QFETCH(QList<QByteArray>, texts);
        QTemporaryDir dir;
        QLibrary lib(installCopy(dir, MORLA_LINESTUB));
        QVERIFY2(lib.load(), qPrintable(lib.errorString()));
        auto drq = reinterpret_cast<Drq>(lib.resolve(kLineLibraryEntry));
        QVERIFY(drq);

        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        for (const QByteArray& t : texts) QCOMPARE(drq(0, t.constData()), 0);
        const QDateTime after = QDateTime::currentDateTime().addSecs(1);

        const QList<QByteArray> lines = logLines(dir);
        QCOMPARE(lines.size(), texts.size());
        QDateTime previous;
        for (int i = 0; i < lines.size(); ++i) {
            const QList<QByteArray> parts = lines[i].split('\t');
            QCOMPARE(parts.size(), 3);
            const QDateTime stamp = QDateTime::fromString(
                QString::fromLatin1(parts[0]), QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
            QVERIFY2(stamp.isValid(), parts[0].constData());
            QVERIFY(stamp >= before && stamp <= after);
            if (previous.isValid()) QVERIFY(stamp >= previous);
            previous = stamp;
            QCOMPARE(parts[1], QByteArray("0"));
            QCOMPARE(parts[2], texts[i]);
        }
        lib.unload();
    }

    // The log follows the library file, not the current folder.
    void logBesideTheLibrary() {
        QTemporaryDir one, two;
        QLibrary a(installCopy(one, MORLA_LINESTUB));
        QVERIFY(a.load());
        reinterpret_cast<Drq>(a.resolve(kLineLibraryEntry))(0, "111");
        QVERIFY(!QFileInfo::exists(QDir::current().filePath(QStringLiteral("DRQdll.log"))));
        QCOMPARE(logLines(one).size(), 1);
        QCOMPARE(logLines(two).size(), 0);
        a.unload();
    }

    void withoutEntry() {
        QTemporaryDir dir;
        QLibrary lib(installCopy(dir, MORLA_LINESTUB_NODRQ));
        QVERIFY2(lib.load(), qPrintable(lib.errorString()));
        QVERIFY(lib.resolve("LineStubVersion"));
        QVERIFY(!lib.resolve(kLineLibraryEntry));
        lib.unload();
    }
};

QTEST_GUILESS_MAIN(TestLineStub)
#include "test_linestub.moc"
