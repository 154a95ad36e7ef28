// Whole writes: a key that is empty or shorter than the model's stays in, a whole one goes out.
#include <QtTest>

#include "gui/device/commands.h"
#include "gui/link/sendpipeline.h"
#include "gui/panels/framework.h"
#include "support/programfixture.h"

using namespace morla;
using namespace morla::test;

class TestSendPipeline : public QObject {
    Q_OBJECT
  private slots:
    void incompleteKeyIsRefused_data() {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("keyShortBy");
        for (const ModelInfo& m : Models()) {
            // Models whose whole write goes through their own editor have no frame here.
            if (!Members(m.id).BuildFrame) continue;
            const QByteArray name = m.dispatch().toUtf8();
            QTest::newRow(name + " empty key") << int(m.id) << m.keyLength;
            QTest::newRow(name + " key one short") << int(m.id) << 1;
        }
        // A complete key goes out.
        QTest::newRow("Lúvero, whole key") << int(ModelId::Luvero) << 0;
    }
    void incompleteKeyIsRefused() {
        QFETCH(int, model);
        QFETCH(int, keyShortBy);
        const ModelInfo& m = Model(ModelId(model));
        ProgramFixture f;
        f.load();
        // Buttons 2 to 9 show the models in the registry's order.
        ModelButton(*f.p, model + 2);
        QCOMPARE(ModelByDispatchName(f.p->s.EquipmentName), &m);
        // A full valid key first, so a stale "Activado" is there to be wrongly trusted.
        const QString full =
            m.id == ModelId::Sorvanell ? QStringLiteral("12*34") : QString(m.keyLength, '7');
        f.p->main->MorTexResCla->setText(full);
        ValidateKey(*f.p, m.keyLength);
        f.p->main->MorTexResCla->setText(full.left(m.keyLength - keyShortBy));
        f.msgs.clear();
        f.port.line.clear();
        SendWholeConfiguration(*f.p);
        if (keyShortBy == 0) {
            QVERIFY(f.msgs.shown.isEmpty());
            QVERIFY(f.p->main->TimerPID->isActive());
            QCOMPARE(f.port.line, QByteArray("D"));
            return;
        }
        QCOMPARE(f.msgs.texts(), QStringList{QStringLiteral("Error en Captura")});
        QVERIFY(!f.p->main->TimerPID->isActive());
        QCOMPARE(f.port.line, QByteArray());
        QCOMPARE(f.p->main->MorTexEst->text(), QStringLiteral("Morla"));
    }
};

QTEST_MAIN(TestSendPipeline)
#include "test_sendpipeline.moc"
