// The key change form: its checks on the new key, and a key change on the Lúvero sent to the
// device character by character.
#include <QtTest>

#include "gui/fields/fieldhandlers.h"
#include "gui/main/program.h"
#include "gui/panels/keychangeform.h"
#include "support/fieldtest.h"
#include "support/programfixture.h"

using namespace morla;
using namespace morla::fieldtest;

namespace {

const QString kDigits = QStringLiteral("ERROR EN LA CLAVE: Solo se admiten numeros");
const QString kZero = QStringLiteral("ERROR EN LA CLAVE: No se admite 0 al inicio de clave");

MorForCamCla* openByDoubleClick(Program& p) {
    p.main->show();
    if (!QTest::qWaitForWindowExposed(p.main.get())) return nullptr;
    QTest::mouseDClick(p.main->MorTexResCla, Qt::LeftButton);
    return p.main->findChild<MorForCamCla*>();
}

int gEditorRuns = 0;
QString gEditorMode;
QString gEditorKey;
void recordEditor(Program& p) {
    ++gEditorRuns;
    gEditorMode = p.s.KeyEditorMode;
    gEditorKey = p.main->MorTexResCla->text();
}

}  // namespace

class TestKeyChange : public QObject {
    Q_OBJECT
  private slots:
    void entryChecks_data() {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("shown");
        // clang-format off
        QTest::newRow("letter")                 << "00" << "12a"   << "12"    << QStringList{kDigits};
        QTest::newRow("leading zero")           << "00" << "0"     << ""      << QStringList{kZero};
        QTest::newRow("star third, Sorvanell")  << "04" << "12*45" << "12*45" << QStringList{};
        QTest::newRow("star third, Zentavira")  << "05" << "12*4"  << "124"   << QStringList{kDigits};
        // clang-format on
    }
    void entryChecks() {
        QFETCH(QString, model);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(QStringList, shown);
        RecordedMessages msgs;
        test::FakeTransport port;
        Program p(msgs, port);
        p.s.ModelCode = model;
        MorForCamCla* form = openByDoubleClick(p);
        QVERIFY(form);
        QTest::keyClicks(form->MorTextCanCka, typed);
        QCOMPARE(form->MorTextCanCka->text(), text);
        QCOMPARE(Shown(msgs), shown);
    }

    void entryLimitAndReopening() {
        RecordedMessages msgs;
        test::FakeTransport port;
        Program p(msgs, port);
        p.main->MorTexResCla->setMaxLength(4);
        MorForCamCla* form = openByDoubleClick(p);
        QTest::keyClicks(form->MorTextCanCka, QStringLiteral("123456"));
        QCOMPARE(form->MorTextCanCka->text(), QStringLiteral("1234"));
        // Opened again while open: the entry stays; after closing it starts empty.
        QCOMPARE(OpenKeyChangeForm(p), form);
        QCOMPARE(form->MorTextCanCka->text(), QStringLiteral("1234"));
        form->close();
        p.main->MorTexResCla->setMaxLength(5);
        QCOMPARE(OpenKeyChangeForm(p), form);
        QCOMPARE(form->MorTextCanCka->text(), QString());
        QCOMPARE(form->MorTextCanCka->maxLength(), 5);
    }

    void luveroKeyChange_data() {
        QTest::addColumn<QString>("keyStatus");
        QTest::newRow("never validated") << "";
        QTest::newRow("active") << "Activado";
        QTest::newRow("refused") << "DesActivado";
    }
    void luveroKeyChange() {
        QFETCH(QString, keyStatus);
        test::ProgramFixture f;
        Program& p = *f.p;
        p.s.ModelCode = QStringLiteral("00");
        p.s.KeyStatus = keyStatus;
        p.main->MorTexResCla->setText(QStringLiteral("1234"));
        MorForCamCla* form = openByDoubleClick(p);
        QVERIFY(form && form->isVisible());
        QTest::keyClicks(form->MorTextCanCka, QStringLiteral("5678"));
        // A right press elsewhere in between does not turn the key change into another command.
        QTest::mousePress(p.main->MorChkRes[0], Qt::RightButton);
        p.main->mnuComando->hide();
        QTest::mouseClick(form->morCmbCamCla, Qt::LeftButton);

        QVERIFY(!form->isVisible());
        QCOMPARE(p.main->MorTexResCla->text(), QStringLiteral("5678"));
        QCOMPARE(p.s.PreviousKey, QStringLiteral("1234"));
        QVERIFY(f.port.line.isEmpty());
        QVERIFY(test::Fire(p.main->TimerPID));
        QCOMPARE(f.port.line, QByteArray("D"));
        f.port.acknowledgeAll();
        QCOMPARE(f.port.line, QByteArray("D#2,1234,56781P"));
        QCOMPARE(p.main->MorTexResCla->text(), QStringLiteral("5678"));
        QVERIFY(f.msgs.shown.isEmpty());
    }

    void keyEditorRunsForTheTervolindaOnly_data() {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("runs");
        QTest::newRow("Tervolinda") << "08" << 1;
        QTest::newRow("Lúvero") << "00" << 0;
    }
    void keyEditorRunsForTheTervolindaOnly() {
        QFETCH(QString, model);
        QFETCH(int, runs);
        test::ProgramFixture f;
        Program& p = *f.p;
        p.s.ModelCode = model;
        p.main->MorTexResCla->setText(QStringLiteral("1111"));
        InstallKeyEditor(&recordEditor);
        gEditorRuns = 0;
        gEditorMode.clear();
        gEditorKey.clear();
        MorForCamCla* form = openByDoubleClick(p);
        QTest::keyClicks(form->MorTextCanCka, QStringLiteral("2222"));
        QTest::mouseClick(form->morCmbCamCla, Qt::LeftButton);
        InstallKeyEditor(nullptr);
        QCOMPARE(gEditorRuns, runs);
        if (runs) {
            QCOMPARE(gEditorMode, QStringLiteral("2"));
            QCOMPARE(gEditorKey, QStringLiteral("2222"));  // runs after the key is replaced
        }
    }
};

QTEST_MAIN(TestKeyChange)
#include "test_keychange.moc"
