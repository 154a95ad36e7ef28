// The software settings and users window through its controls: kept fields byte for byte,
// the replace question, the hand-over to the credentials window, user lookup and save.
#include <QtTest>

#include "gui/config/adminwindow.h"
#include "support/filebytes.h"
#include "support/programfixture.h"

using namespace morla;
using namespace morla::test;

namespace {

struct Bench {
    ProgramFixture f;
    Bench() {
        f.load();
        f.msgs.clear();
    }
    MorFrmCPri* open() {
        f.p->main->MorMnuConC->trigger();
        return qobject_cast<MorFrmCPri*>(f.p->window(QStringLiteral("MorFrmCPri")));
    }
    void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    QString users() const { return f.paths().users(); }
    QList<QByteArray> settings() const {
        return ReadRecordBytes(f.paths().softwareSettings(), SoftwareSettingsRecord).fields;
    }
    void user(int n, const QByteArray& name, const QByteArray& slot, const QByteArray& third) {
        WriteRecordBytes(users(), UserRecord, {name, slot, third, "1/1/26"}, n);
    }
};

// Fields 1-21, 26 and 27 with bytes the code page leaves undefined among them.
QList<QByteArray> keptSettings() {
    QList<QByteArray> f(27);
    for (int i = 0; i < 21; ++i) f[i] = i % 3 == 0 ? QByteArray() : "c" + QByteArray::number(i);
    f[1] = "\x81\x8D\x8F\x90\x9D";
    f[7] = "\xF1\xE1 \x80";
    f[25] =
        "00\x9D"
        "1";
    f[26] = "Dravenquista \x8F";
    return f;
}

}  // namespace

// renamed: the list text changed after the lookup ("" if not); record: where the record lands
using UserSaveRow = std::tuple<QString, QString, bool, QString, int>;

class TestAdminWindow : public QObject {
    Q_OBJECT
  private slots:
    void twentySavesKeepTheCarriedFields() {
        Bench b;
        const QString path = b.f.paths().softwareSettings();
        WriteRecordBytes(path, SoftwareSettingsRecord, keptSettings());
        for (int round = 1; round <= 20; ++round) {
            MorFrmCPri* w = b.open();
            QVERIFY(w->isVisible());
            w->MorTexE21->setText(QString::number(round));
            w->MorTexE22->setText(QString::number(round + 5));
            b.f.msgs.clear();
            w->MorCmdCPConGra->click();
            QCOMPARE(b.f.msgs.texts(), QStringList{QStringLiteral("¿Desea reemplazar  ") +
                                                   QDir::toNativeSeparators(path) + "  ?"});
            QCOMPARE(b.f.msgs.shown[0].buttons, Buttons::YesNo);
            // The credentials window follows, reached from the menu; this one closes.
            QVERIFY(b.f.p->s.CredentialsFromMenu);
            QWidget* credentials = b.f.p->window(QStringLiteral("frmCapLogin"));
            QVERIFY(credentials->isVisible());
            credentials->hide();
            QVERIFY(!w->isVisible());
            b.settle();
        }
        const QList<QByteArray> saved = b.settings();
        const QList<QByteArray> kept = keptSettings();
        for (int i = 0; i < 27; ++i)
            if (i < 21 || i >= 25) QCOMPARE(saved[i], kept[i]);
        QCOMPARE(saved[21], QByteArray("-1"));
        QCOMPARE(FromAnsi(saved[22]), ShortDateText());
        QCOMPARE(saved[23], QByteArray("20"));
        QCOMPARE(saved[24], QByteArray("25"));
        QCOMPARE(b.f.p->s.InstallationCode, FromAnsi(kept[25]));
        // The window opens empty; "Recuperar" shows what was saved.
        MorFrmCPri* w = b.open();
        QCOMPARE(w->MorTexE21->text(), QString());
        w->MorCmdCPConRec->click();
        QCOMPARE(w->MorTexE21->text(), QStringLiteral("20"));
        QCOMPARE(w->MorTexE22->text(), QStringLiteral("25"));
        // "No" to the question leaves the file and this window.
        const QByteArray before = bytesOf(path);
        w->MorTexE21->setText(QStringLiteral("9"));
        b.f.msgs.answers = {Answer::No};
        w->MorCmdCPConGra->click();
        QCOMPARE(bytesOf(path), before);
        QVERIFY(w->isVisible());
        QVERIFY(!b.f.p->window(QStringLiteral("frmCapLogin"))->isVisible());
    }

    void newSettingsFile() {
        Bench b;
        const QString path = b.f.paths().softwareSettings();
        QVERIFY(QFile::remove(path));
        b.f.p->s.InstallationCode = QStringLiteral("0042");
        MorFrmCPri* w = b.open();
        w->MorCmdCPConGra->click();
        QVERIFY(b.f.msgs.shown.isEmpty());  // nothing to replace
        const QList<QByteArray> saved = b.settings();
        QCOMPARE(saved.mid(0, 21), QList<QByteArray>(21));
        // Written straight after opening: empty retries and time-out.
        QCOMPARE(saved.mid(23), (QList<QByteArray>{"", "", "0042", ""}));
    }

    void selectedUserIndex() {
        for (const int chosen : {1, -1}) {  // -1: a name typed, not chosen
            Bench b;
            b.user(2, "Ana", "2", "");
            b.user(5, "Bruno", "5", "");
            MorFrmCPri* w = b.open();
            if (chosen >= 0) {
                w->MorComCPUsuarios->setCurrentIndex(chosen);
                emit w->MorComCPUsuarios->activated(chosen);
            } else {
                w->MorComCPUsuarios->setCurrentIndex(0);
                w->MorComCPUsuarios->setEditText(QStringLiteral("Otro"));
            }
            w->MorCmdCPConGra->click();
            QCOMPARE(b.settings()[21], QByteArray::number(chosen));
        }
    }

    // The list skips empty slots; a click shows the user, and a chosen user saved again keeps
    // the bytes the code page leaves undefined.
    void usersListAndClick() {
        Bench b;
        b.user(1, "Jos\x90", "1", "a");
        b.user(2, "", "", "");
        b.user(4, "Bruno", "4", "dato \x81\x8D");
        MorFrmCPri* w = b.open();
        QCOMPARE(w->MorComCPUsuarios->count(), 2);
        QCOMPARE(w->MorComCPUsuarios->itemText(1), QStringLiteral("Bruno"));
        for (int i : {1, 0}) {
            w->MorComCPUsuarios->setCurrentIndex(i);
            emit w->MorComCPUsuarios->activated(i);
            QCOMPARE(w->MorTexE23->text(), QString::number(i ? 4 : 1));
            QCOMPARE(w->MorTexE24->text(), QStringLiteral("1/1/26"));
            w->MorCmdUsCesA->click();
            w->MorCmdUsCesG->click();
        }
        QCOMPARE(ReadRecordBytes(b.users(), UserRecord, 1).fields[0], QByteArray("Jos\x90"));
        QCOMPARE(ReadRecordBytes(b.users(), UserRecord, 4).fields[2], QByteArray("dato \x81\x8D"));
        QCOMPARE(RecordCount(b.users(), 1000), 4);
    }

    void userSaves_data() {
        QTest::addColumn<UserSaveRow>("row");
        QTest::newRow("lookup rewrites the found slot") << UserSaveRow{"Bruno", "9", true, "", 4};
        QTest::newRow("without lookup: the typed slot") << UserSaveRow{"Bruno", "6", false, "", 6};
        QTest::newRow("new name: the typed slot") << UserSaveRow{"Carla", "3", true, "", 3};
        QTest::newRow("lookup of another name") << UserSaveRow{"Ana", "7", true, "Dora", 7};
        QTest::newRow("slot with spaces") << UserSaveRow{"Carla", " 2 ", false, "", 2};
    }
    void userSaves() {
        QFETCH_ROW(UserSaveRow, name, slot, lookup, renamed, record);
        Bench b;
        b.user(1, "Ana", "1", "a");
        b.user(4, "Bruno", "4", "b");
        const QList<QByteArray> others[] = {ReadRecordBytes(b.users(), UserRecord, 1).fields,
                                            ReadRecordBytes(b.users(), UserRecord, 4).fields};
        MorFrmCPri* w = b.open();
        w->MorComCPUsuarios->setEditText(name);
        if (lookup) w->MorCmdUsCesA->click();
        if (!renamed.isEmpty()) w->MorComCPUsuarios->setEditText(renamed);
        w->MorTexE23->setText(slot);
        w->MorTexE25->setText(QStringLiteral("nuevo"));
        w->MorCmdUsCesG->click();
        QVERIFY(b.f.msgs.shown.isEmpty());
        const QString written = renamed.isEmpty() ? name : renamed;
        QCOMPARE(ReadRecord(b.users(), UserRecord, record).fields,
                 (QStringList{written, slot, "nuevo", ShortDateText()}));
        // The other users stay where they were, unless this was their slot.
        if (record != 1) QCOMPARE(ReadRecordBytes(b.users(), UserRecord, 1).fields, others[0]);
        if (record != 4) QCOMPARE(ReadRecordBytes(b.users(), UserRecord, 4).fields, others[1]);
        QVERIFY(!w->UserFound);
    }

    // Saves refused with one message naming what is wrong; both files stay as they were.
    void refusedSaves_data() {
        // Columns: name, slot, retries ("": a user save, else a settings save), shown.
        QTest::addColumn<QStringList>("row");
        for (const char* slot : {"", "0", "-3", "tres", "2.5", "40000"})
            QTest::addRow("slot \"%s\"", slot)
                << QStringList{"Nadie", slot, "", "\"" + QString(slot) + "\""};
        QTest::newRow("name outside the code page") << QStringList{"Ана", "2", "", "Ана"};
        QTest::newRow("retries outside the code page") << QStringList{"", "", "３", "３"};
    }
    void refusedSaves() {
        QFETCH(QStringList, row);
        const QString name = row[0], slot = row[1], retries = row[2], shown = row[3];
        Bench b;
        b.user(1, "Ana", "1", "a");
        const QByteArray users = bytesOf(b.users());
        const QByteArray settings = bytesOf(b.f.paths().softwareSettings());
        MorFrmCPri* w = b.open();
        if (retries.isEmpty()) {
            w->MorComCPUsuarios->setEditText(name);
            w->MorTexE23->setText(slot);
            w->MorCmdUsCesG->click();
        } else {
            w->MorTexE21->setText(retries);
            w->MorCmdCPConGra->click();
        }
        QCOMPARE(b.f.msgs.shown.size(), 1);
        QVERIFY2(b.f.msgs.shown[0].text.contains(shown), qPrintable(b.f.msgs.shown[0].text));
        QCOMPARE(bytesOf(b.users()), users);
        QCOMPARE(bytesOf(b.f.paths().softwareSettings()), settings);
        QVERIFY(w->isVisible());
    }
};

QTEST_MAIN(TestAdminWindow)
#include "test_adminwindow.moc"
