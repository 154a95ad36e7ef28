// The handlers on real controls: the right press, double click and click that choose a single
// command and open "Comando", the restriction boxes' left click, the key box's double click and
// the key change form it opens, and the key editor runs of the Tervolinda controls.
#include <QtTest>

#include "gui/fields/fieldhandlers.h"
#include "gui/main/program.h"
#include "gui/panels/keychangeform.h"
#include "support/fieldtest.h"
#include "support/programfixture.h"

using namespace morla;
using namespace morla::fieldtest;

namespace {

// The written box values: "0" clear, "1" ticked, "2" greyed.
Qt::CheckState stateOf(const QString& value) {
    if (value == QLatin1String("1")) return Qt::Checked;
    if (value == QLatin1String("2")) return Qt::PartiallyChecked;
    return Qt::Unchecked;
}

const QString kDigits = QStringLiteral("ERROR EN LA CLAVE: Solo se admiten numeros");

int gEditorRuns = 0;
QString gEditorMode;
QString gEditorKey;
void recordEditor(Program& p) {
    ++gEditorRuns;
    gEditorMode = p.s.KeyEditorMode;
    gEditorKey = p.main->MorTexResCla->text();
}

MorForCamCla* openByDoubleClick(Program& p) {
    p.main->show();
    if (!QTest::qWaitForWindowExposed(p.main.get())) return nullptr;
    QTest::mouseDClick(p.main->MorTexResCla, Qt::LeftButton);
    return p.main->findChild<MorForCamCla*>();
}

}  // namespace

using KeyChangeEntryRow = std::tuple<QString, QString, QString, QStringList>;
using KeyChangeRow = std::tuple<QString, QString, QByteArray>;

class TestFieldHandlers : public QObject {
    Q_OBJECT
  private slots:
    // The key box's double click opens the key change form; its entry takes as
    // many characters as the key box, and starts empty once closed.
    void keyChangeForm() {
        Bench b;
        QVERIFY(b.show());
        QLineEdit* key = b.p.main->MorTexResCla;
        key->setMaxLength(4);
        QTest::mouseDClick(key, Qt::LeftButton);
        auto* form = b.p.main->findChild<MorForCamCla*>();
        QVERIFY(form && form->isVisible());
        QVERIFY(!b.menuShown());
        QCOMPARE(b.p.s.CommandNumber, QStringLiteral("10"));
        QVERIFY(!form->isModal());
        QTest::keyClicks(form->MorTextCanCka, QStringLiteral("123456"));
        QCOMPARE(form->MorTextCanCka->text(), QStringLiteral("1234"));
        QCOMPARE(OpenKeyChangeForm(b.p), form);  // opened again while open
        QCOMPARE(form->MorTextCanCka->text(), QStringLiteral("1234"));
        form->close();
        key->setMaxLength(5);
        QCOMPARE(OpenKeyChangeForm(b.p), form);
        QCOMPARE(form->MorTextCanCka->text(), QString());
        QCOMPARE(form->MorTextCanCka->maxLength(), 5);
    }

    // The new key follows the key rule of the model shown.
    void keyChangeEntry() {
        const QList<KeyChangeEntryRow> rows{{"04", "12*45", "12*45", {}},
                                            {"05", "12*4", "124", QStringList{kDigits}}};
        for (const auto& [model, typed, text, shown] : rows) {
            Bench b;
            b.p.s.ModelCode = model;
            MorForCamCla* form = openByDoubleClick(b.p);
            QVERIFY(form);
            QTest::keyClicks(form->MorTextCanCka, typed);
            QCOMPARE(form->MorTextCanCka->text(), text);
            QCOMPARE(Shown(b.msgs), shown);
        }
    }

    // A key change goes out as the model's single command, whatever the key's status; on the
    // Tervolinda only, the key editor runs once the key is replaced.
    void keyChange() {
        const QList<KeyChangeRow> rows{{"00", "DesActivado", QByteArray("D#2,1234,56781P")},
                                       {"08", "", QByteArray("D#2,1234,5678f1P")}};
        for (const auto& [model, keyStatus, line] : rows) {
            test::ProgramFixture f;
            Program& p = *f.p;
            p.s.ModelCode = model;
            p.s.KeyStatus = keyStatus;
            p.main->MorTexResCla->setText(QStringLiteral("1234"));
            InstallKeyEditor(&recordEditor);
            gEditorRuns = 0;
            gEditorMode.clear();
            gEditorKey.clear();
            MorForCamCla* form = openByDoubleClick(p);
            QVERIFY(form && form->isVisible());
            QTest::keyClicks(form->MorTextCanCka, QStringLiteral("5678"));
            // A right press elsewhere in between does not turn the key change into another command.
            QTest::mousePress(p.main->MorChkRes[0], Qt::RightButton);
            p.main->mnuComando->hide();
            QTest::mouseClick(form->morCmbCamCla, Qt::LeftButton);
            InstallKeyEditor(nullptr);
            const bool tervolinda = model == QLatin1String("08");
            QCOMPARE(gEditorRuns, tervolinda ? 1 : 0);
            if (tervolinda) {
                QCOMPARE(gEditorMode, QStringLiteral("2"));
                QCOMPARE(gEditorKey, QStringLiteral("5678"));
            }

            QVERIFY(!form->isVisible());
            QCOMPARE(p.main->MorTexResCla->text(), QStringLiteral("5678"));
            QCOMPARE(p.s.PreviousKey, QStringLiteral("1234"));
            QVERIFY(f.port.line.isEmpty());
            QVERIFY(test::Fire(p.main->TimerPID));
            QCOMPARE(f.port.line, QByteArray("D"));
            f.port.acknowledgeAll();
            QCOMPARE(f.port.line, line);
            QCOMPARE(p.main->MorTexResCla->text(), QStringLiteral("5678"));
            QVERIFY(f.msgs.shown.isEmpty());
        }
    }

    // The restriction boxes, and controls of panels not built yet bound by their names: a right
    // press, double click or click chooses the single command and opens "Comando" without
    // changing the control; closing it without "Enviar" sends nothing and keeps the choice. A
    // left click on a box ticks or clears it. The Tervolinda key editor runs for its controls,
    // after "Comando" closes.
    void controls_data() {
        // Control, kind (main, check, box, button, label), action (right, left, double, click),
        // setting (text, "1"/"0"/"2" for a box, list text), number, value and index (null: not
        // looked at), "1" when the menu shows, the restriction flags after ("" unchanged) and
        // the key editor's mode ("" when it does not run).
        QTest::addColumn<QStringList>("row");
        const QString keep = QStringLiteral("keep"), any;
        // clang-format off
        QTest::newRow("restriction 9 greyed, right") << QStringList{"MorChkRes09", "main", "right", "2", "9", "2", keep, "1", "", ""};
        QTest::newRow("restriction 2 ticks, left") << QStringList{"MorChkRes02", "main", "left", "0", "0", keep, keep, "", "010000000", ""};
        QTest::newRow("restriction 7 clears, left") << QStringList{"MorChkRes07", "main", "left", "1", "0", keep, keep, "", "000000000", ""};
        QTest::newRow("Zentavira erase, click") << QStringList{"MorCmdUniBor", "button", "click", "", "17", keep, keep, "1", "", ""};
        QTest::newRow("Sorvanell tone") << QStringList{"MorChkAleTono", "check", "right", "1", "11", keep, keep, "1", "", ""};
        QTest::newRow("Quarn trunk") << QStringList{"MorChkFlhResC00", "check", "right", "1", "11", "1", keep, "1", "", ""};
        QTest::newRow("Quarn number 10") << QStringList{"MorTexFlhNumTel09", "box", "double", "5*1", "15", "5*1", "9", "1", "", ""};
        QTest::newRow("Quarn counter erase") << QStringList{"MorCmdFlhBorr", "button", "click", "", "16", "0", keep, "1", "", ""};
        QTest::newRow("Pellitor trunk") << QStringList{"MorChkConCon03", "check", "right", "2", "11", "2", keep, "1", "", ""};
        QTest::newRow("Pellitor local digits") << QStringList{"MorLabConDLL", "label", "double", "7", "16", "7", keep, "1", "", ""};
        QTest::newRow("Pellitor number element 4") << QStringList{"MorTexConNumTel04", "box", "double", "9", "18", "9", "4", "1", "", ""};
        QTest::newRow("Kovalindre key 25") << QStringList{"MorTxtMulClvClv23", "box", "double", "5", "14", "5", "23", "1", "", ""};
        QTest::newRow("left press on a right-press box") << QStringList{"MorChkUniLib", "check", "left", "0", "0", keep, keep, "", "", ""};
        QTest::newRow("right press on a button only clicked") << QStringList{"MorCmdConSMB", "button", "right", "", "0", keep, keep, "", "", ""};
        QTest::newRow("Pellitor metered erase") << QStringList{"MorCmdConSMB", "button", "click", "", "19", keep, keep, "1", "", ""};
        QTest::newRow("double click on a check box") << QStringList{"MorChkConCon03", "check", "double", "1", "0", keep, keep, "", "", ""};
        QTest::newRow("element before the first") << QStringList{"MorChkRes00", "check", "right", "1", "0", keep, keep, "", "", ""};
        QTest::newRow("Tervolinda exit code") << QStringList{"MorTxtPrivClvSal", "box", "double", "", "11", any, any, "1", "", "3"};
        QTest::newRow("Tervolinda removal, right press") << QStringList{"MorFraPrivElim1", "check", "right", "0", "12", any, any, "1", "", "1"};
        QTest::newRow("Tervolinda removal, left press") << QStringList{"MorFraPrivElim1", "check", "left", "0", "0", any, any, "", "", "1"};
        QTest::newRow("Tervolinda nines, right press") << QStringList{"MorFraPrivNum9", "check", "right", "0", "13", any, any, "1", "", "4"};
        // clang-format on
    }
    void controls() {
        QFETCH(QStringList, row);
        const QString control = row[0], kind = row[1], action = row[2], setting = row[3],
                      number = row[4], value = row[5], index = row[6], flags = row[8],
                      mode = row[9];
        Bench b;
        QWidget* w = nullptr;
        if (kind == QLatin1String("main") || kind == QLatin1String("check")) {
            QCheckBox* c = kind == QLatin1String("main") ? b.p.main->findChild<QCheckBox*>(control)
                                                         : b.panel.check(control);
            // The restriction boxes take two states from a left click.
            c->setTristate(kind == QLatin1String("check") || action != QLatin1String("left"));
            c->setCheckState(stateOf(setting));
            w = c;
        } else if (kind == QLatin1String("box")) {
            w = b.panel.box(control);
            static_cast<QLineEdit*>(w)->setText(setting);
        } else if (kind == QLatin1String("button")) {
            w = b.panel.add(new QPushButton(control, &b.panel), control);
        } else {
            auto* list = b.panel.add(new QComboBox(&b.panel), QStringLiteral("MorComConDLL"));
            list->addItems({"5", "6", "7", "8"});
            list->setCurrentText(setting);
            w = b.panel.add(new QLabel(QStringLiteral("Dígitos para llamada local"), &b.panel),
                            control);
        }
        BindFieldHandlers(b.p, &b.panel);
        QVERIFY(b.show());                 // with its controls
        BindFieldHandlers(b.p, &b.panel);  // a second binding adds nothing
        b.p.s.CommandValue = QStringLiteral("keep");
        b.p.s.CommandIndex = QStringLiteral("keep");
        const QString before = b.p.s.joinedRestrictorFlags();
        auto* check = qobject_cast<QCheckBox*>(w);
        const Qt::CheckState state = check ? check->checkState() : Qt::Unchecked;
        InstallKeyEditor(&recordEditor);
        gEditorRuns = 0;
        gEditorMode.clear();

        if (action == QLatin1String("right"))
            QTest::mousePress(w, Qt::RightButton);
        else if (action == QLatin1String("left"))
            // On the indicator: only the indicator and caption take a click.
            QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2));
        else if (action == QLatin1String("double"))
            QTest::mouseDClick(w, Qt::LeftButton);
        else
            QTest::mouseClick(w, Qt::LeftButton);

        QCOMPARE(b.p.s.CommandNumber, number);
        if (!value.isNull()) QCOMPARE(b.p.s.CommandValue, value);
        if (!index.isNull()) QCOMPARE(b.p.s.CommandIndex, index);
        QCOMPARE(b.menuShown(), !row[7].isEmpty());
        if (check && action != QLatin1String("left")) QCOMPARE(check->checkState(), state);
        QCOMPARE(b.p.s.joinedRestrictorFlags(), flags.isEmpty() ? before : flags);
        // With the menu open the editor waits for it to close.
        QCOMPARE(gEditorRuns, !mode.isEmpty() && !b.menuShown() ? 1 : 0);
        b.closeMenu();
        InstallKeyEditor(nullptr);
        QCOMPARE(gEditorRuns, mode.isEmpty() ? 0 : 1);
        QCOMPARE(gEditorMode, mode);
        if (!mode.isEmpty()) QCOMPARE(b.p.s.KeyEditorMode, mode);
        QCOMPARE(b.p.s.CommandNumber, number);
        QVERIFY(!b.p.main->TimerPID->isActive());
        QVERIFY(b.port.line.isEmpty());
    }
};

QTEST_MAIN(TestFieldHandlers)
#include "test_fieldhandlers.moc"
