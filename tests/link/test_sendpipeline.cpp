// Whole writes that must not go out: a key that is empty or shorter than the model's.
#include <QtTest>

#include "gui/device/commands.h"
#include "gui/link/sendpipeline.h"
#include "gui/panels/framework.h"
#include "support/programfixture.h"

using namespace morla;
using namespace morla::test;

namespace {
// The model button that shows each model (the first one, for models with two).
int ButtonOf(ModelId id) {
    switch (id) {
        case ModelId::Sorvanell:
            return 2;
        case ModelId::Luvero:
            return 3;
        case ModelId::Zentavira:
            return 4;
        case ModelId::Haldrivonexa:
            return 5;
        case ModelId::Quarn:
            return 6;
        case ModelId::Pellitor:
            return 7;
        case ModelId::Tervolinda:
            return 8;
        case ModelId::Kovalindre:
            return 9;
    }
    return 1;
}
}  // namespace

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
    }
    void incompleteKeyIsRefused() {
        QFETCH(int, model);
        QFETCH(int, keyShortBy);
        const ModelInfo& m = Model(ModelId(model));
        ProgramFixture f;
        f.load();
        ModelButton(*f.p, ButtonOf(m.id));
        // A full valid key first, so a stale "Activado" is there to be wrongly trusted.
        const QString full =
            m.id == ModelId::Sorvanell ? QStringLiteral("12*34") : QString(m.keyLength, '7');
        f.p->main->MorTexResCla->setText(full);
        ValidateKey(*f.p, m.keyLength);
        f.p->main->MorTexResCla->setText(full.left(m.keyLength - keyShortBy));
        f.msgs.clear();
        f.port.line.clear();
        SendWholeConfiguration(*f.p);
        QCOMPARE(f.msgs.texts(), QStringList{QStringLiteral("Error en Captura")});
        QVERIFY(!f.p->main->TimerPID->isActive());
        QCOMPARE(f.port.line, QByteArray());
        QCOMPARE(f.p->main->MorTexEst->text(), QStringLiteral("Morla"));
    }

    void completeKeyGoesOut() {
        ProgramFixture f;
        f.load();
        ModelButton(*f.p, ButtonOf(ModelId::Luvero));
        f.p->main->MorTexResCla->setText(QStringLiteral("1234"));
        f.msgs.clear();
        SendWholeConfiguration(*f.p);
        QVERIFY(f.msgs.shown.isEmpty());
        QVERIFY(f.p->main->TimerPID->isActive());
        QCOMPARE(f.port.line, QByteArray("D"));
    }
};

QTEST_MAIN(TestSendPipeline)
#include "test_sendpipeline.moc"
