// The Zentavira and the Haldrivonexa through the program, a real pseudo-terminal and the
// device simulator: every single command of both tables sent from its control's menu, the
// device read again after them, and the key change.
#include <QtTest>

#include "devsim/models/behaviour.h"
#include "support/simulator.h"

using namespace morla;
using namespace morla::test;

namespace {

QString element(const char* array, int k) {
    return QLatin1String(array) + QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
}

QString text(Program& p, const QString& name) {
    auto* box = Named<QLineEdit>(p, name);
    return box ? box->text() : QStringLiteral("<missing>");
}
QString ticked(Program& p, const QString& name) {
    auto* box = Named<QCheckBox>(p, name);
    return box ? QString(box->isChecked() ? '1' : '0') : QStringLiteral("<missing>");
}

// A device memory file for the simulator.
bool WriteMemory(const Simulator& sim, const devsim::MemoryImage& image) {
    QString error;
    return devsim::SaveImage(sim.memoryFile(), image, &error);
}

devsim::MemoryImage KnownZentavira() {
    devsim::MemoryImage image = devsim::FactoryImage(Model(ModelId::Zentavira), "30");
    image.set(12, "015");  // options 1 and 3
    image.set(17,
              "010200"
              "000405"
              "090B0F");  // 120, 045, "9*"
    image.set(35, "5031");
    image.set(39,
              "12BC"
              "AFFF");  // "12*#", "0"
    image.set(95, "5551234FFFFFFFFF");
    image.set(127, "A1");
    image.set(133, "23456789BCA123");  // memory 2: "0123456789*#0123"
    image.refreshChecksums();
    return image;
}

devsim::MemoryImage KnownHaldrivonexa() {
    devsim::MemoryImage image = devsim::FactoryImage(Model(ModelId::Haldrivonexa), "30");
    image.set(11, "2050");
    image.set(17, "0B0A0F");      // "*0"
    image.set(23, "0416516304");  // options 110011, boxes
    image.set(33,
              "020000"
              "000105");  // 200, 015
    image.refreshChecksums();
    return image;
}

// Sends the command chosen on `name` by its right press or double click, and waits for the
// device to take it.
bool SendFrom(Bench& b, const QString& name, const QString& expected) {
    Program& p = b.p;
    QWidget* w = Named(p, name);
    if (!w) return false;
    const QPoint at(6, w->height() / 2);
    if (qobject_cast<QLineEdit*>(w)) {
        QTest::mouseDClick(w, Qt::LeftButton, {}, at);
    } else {
        QTest::mousePress(w, Qt::RightButton, {}, at);
        QTest::mouseRelease(w, Qt::RightButton, {}, at);
    }
    if (!p.main->mnuComando->isVisible()) return false;
    p.main->mnuEnviar->trigger();
    p.main->mnuComando->hide();
    if (!Fire(p.main->TimerPID)) return false;
    const bool taken = QTest::qWaitFor([&] { return b.sim.messages().contains(expected); }, 10000);
    if (!taken) qWarning() << "device took" << b.sim.messages().mid(b.sim.messages().size() - 3);
    return taken;
}

int Applied(const Simulator& sim) {
    return sim.logLines().filter(QStringLiteral("single command: applied")).size();
}

}  // namespace

class TestEndToEndRestrictors : public QObject {
    Q_OBJECT
  private slots:
    void zentaviraSingleCommands() {
        Bench b;
        WriteModelConfig(b.f, Model(ModelId::Zentavira), Model(ModelId::Zentavira).firmware());
        QVERIFY(WriteMemory(b.sim, KnownZentavira()));
        QVERIFY(b.start({"--model", "zentavira"}));
        Program& p = b.p;
        QVERIFY(b.read());
        p.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(p.main.get()));

        Named<QCheckBox>(p, "MorChkRes01")->setChecked(false);
        Named<QCheckBox>(p, "MorChkRes02")->setChecked(true);
        Named<QCheckBox>(p, "MorChkRes06")->setChecked(true);
        Named<QCheckBox>(p, "MorChkUniLib")->setChecked(true);
        Named<QLineEdit>(p, "MorTexUniDurP")->setText(QStringLiteral("1"));
        Named<QLineEdit>(p, "MorTexUniDurL")->setText(QStringLiteral("250"));
        Named<QLineEdit>(p, "MorTexUniCon")->setText(QStringLiteral("0#"));
        Named<QLineEdit>(p, "MorTxtUniMe403")->setText(QStringLiteral("*0"));
        Named<QLineEdit>(p, "MorTxtUniMe1609")->setText(QStringLiteral("55#"));
        const QList<QPair<const char*, const char*>> commands{
            {"MorChkRes01", "#24,5031,0"},        {"MorChkRes02", "#25,5031,9"},
            {"MorChkRes06", "#26,5031,9"},        {"MorChkUniLib", "#28,5031,9"},
            {"MorTexUniDurP", "#21,5031,1"},      {"MorTexUniDurL", "#22,5031,250"},
            {"MorTexUniCon", "#23,5031,0,#,F"},   {"MorTxtUniMe403", "#275031,03,*0"},
            {"MorTxtUniMe1609", "#275031,23,55#"}};
        for (const auto& [name, command] : commands)
            QVERIFY2(SendFrom(b, QLatin1String(name), QLatin1String(command)), name);
        QCOMPARE(Applied(b.sim), commands.size());

        // A read shows what the commands changed.
        QVERIFY(b.read());
        QCOMPARE(p.main->MorTexBan->text(), QStringLiteral("0111"));
        QCOMPARE(text(p, "MorTexUniDurP"), QStringLiteral("001"));
        QCOMPARE(text(p, "MorTexUniDurL"), QStringLiteral("250"));
        QCOMPARE(text(p, "MorTexUniCon"), QStringLiteral("0#"));
        QCOMPARE(text(p, "MorTxtUniMe403"), QStringLiteral("*0"));
        QCOMPARE(text(p, "MorTxtUniMe1609"), QStringLiteral("55#"));

        // "Borrar Memorias" from its right press, then the key change.
        QVERIFY(SendFrom(b, QStringLiteral("MorCmdUniBor"), QStringLiteral("#305031")));
        p.main->MorTexResCla->setFocus();
        QTest::mouseDClick(p.main->MorTexResCla, Qt::LeftButton);
        auto* form = p.main->findChild<QWidget*>(QStringLiteral("morforCamCla"));
        QVERIFY(form && form->isVisible());
        form->findChild<QLineEdit*>(QStringLiteral("MorTextCanCka"))->setText("6789");
        form->findChild<QPushButton*>(QStringLiteral("morCmbCamCla"))->click();
        QVERIFY(Fire(p.main->TimerPID));
        QTRY_VERIFY(b.sim.messages().contains(QStringLiteral("#205031,6789")));
        QTRY_COMPARE(Applied(b.sim), commands.size() + 2);

        QVERIFY(b.read());
        QCOMPARE(p.main->MorTexResCla->text(), QStringLiteral("6789"));
        QCOMPARE(text(p, "MorTxtUniMe400"), QString());
        QCOMPARE(text(p, "MorTxtUniMe1602"), QString());
    }

    void haldrivonexaSingleCommands() {
        Bench b;
        WriteModelConfig(b.f, Model(ModelId::Haldrivonexa),
                         Model(ModelId::Haldrivonexa).firmware());
        QVERIFY(WriteMemory(b.sim, KnownHaldrivonexa()));
        QVERIFY(b.start({"--model", "haldrivonexa"}));
        Program& p = b.p;
        QVERIFY(b.read());
        p.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(p.main.get()));

        // Every option and box flipped from what the device holds, then sent one by one.
        QList<QPair<QString, QString>> commands;
        const char* optionCodes[] = {"#50", "#52", "#64", "#53", "#71", "#54"};
        for (int k = 1; k <= 6; ++k) {
            const QString name = QStringLiteral("MorChkRes%1").arg(k, 2, 10, QLatin1Char('0'));
            commands << qMakePair(name, QString());
        }
        for (int k = 0; k < 9; ++k)
            commands << qMakePair(element("MorChkMultResNum0XX", k),
                                  QStringLiteral("#%1").arg(41 + k));
        const int longCodes[] = {51, 55, 58, 61, 62, 63};
        for (int k = 0; k < 6; ++k)
            commands << qMakePair(element("MorChkMultResLarDis", k),
                                  QStringLiteral("#%1").arg(longCodes[k]));
        for (int k = 0; k < 6; ++k) commands[k].second = QLatin1String(optionCodes[k]);
        QString expectedBoxes;
        for (auto& [name, code] : commands) {
            auto* box = Named<QCheckBox>(p, name);
            QVERIFY2(box, qPrintable(name));
            box->setChecked(!box->isChecked());
            code += QStringLiteral(",2050,") + (box->isChecked() ? "9" : "0");
            expectedBoxes += box->isChecked() ? '1' : '0';
        }
        Named<QLineEdit>(p, "MorTexMultDurP")->setText(QStringLiteral("1"));
        Named<QLineEdit>(p, "MorTexMultDurL")->setText(QStringLiteral("99"));
        Named<QLineEdit>(p, "MorTexMultCon")->setText(QStringLiteral("9*0"));
        commands << qMakePair(QStringLiteral("MorTexMultDurP"), QStringLiteral("#21,2050,1"))
                 << qMakePair(QStringLiteral("MorTexMultDurL"), QStringLiteral("#22,2050,99"))
                 << qMakePair(QStringLiteral("MorTexMultCon"), QStringLiteral("#23,2050,9,*,0"));
        for (const auto& [name, command] : commands)
            QVERIFY2(SendFrom(b, name, command), qPrintable(name + " " + command));
        QCOMPARE(Applied(b.sim), commands.size());

        QVERIFY(b.read());
        QString shown;
        for (int i = 0; i < 21; ++i) shown += ticked(p, commands[i].first);
        QCOMPARE(shown, expectedBoxes);
        QCOMPARE(text(p, "MorTexMultDurP"), QStringLiteral("001"));
        QCOMPARE(text(p, "MorTexMultDurL"), QStringLiteral("099"));
        QCOMPARE(text(p, "MorTexMultCon"), QStringLiteral("9*0"));

        // The key change.
        QTest::mouseDClick(p.main->MorTexResCla, Qt::LeftButton);
        auto* form = p.main->findChild<QWidget*>(QStringLiteral("morforCamCla"));
        QVERIFY(form && form->isVisible());
        form->findChild<QLineEdit*>(QStringLiteral("MorTextCanCka"))->setText("4321");
        form->findChild<QPushButton*>(QStringLiteral("morCmbCamCla"))->click();
        QVERIFY(Fire(p.main->TimerPID));
        QTRY_VERIFY(b.sim.messages().contains(QStringLiteral("#20,2050,4321")));
        QVERIFY(b.read());
        QCOMPARE(p.main->MorTexResCla->text(), QStringLiteral("4321"));
    }
};

QTEST_MAIN(TestEndToEndRestrictors)
#include "test_endtoend_restrictors.moc"
