#include "support/verifybench.h"

#include <QDir>
#include <QTest>

#include "app/verify.h"

namespace morla::test {

void WriteModelConfig(ProgramFixture& f, const ModelInfo& m, const QString& firmware,
                      const QString& key) {
    QDir(f.dir.path()).mkpath(m.base() + QStringLiteral("/Configuracion"));
    QStringList rec = ConfigRecord(key, QStringLiteral("000000"), QStringLiteral("111111000"),
                                   QStringLiteral("Opción "));
    rec[41] = m.base();
    WriteRecord(f.paths().modelConfig(m.base(), firmware), ModelConfigRecord, rec);
}

bool FinishVerification(Bench& b) {
    WriteVerifier& v = VerifierOf(b.p);
    if (!QTest::qWaitFor([&] { return v.settle->isActive() || !v.busy(); }, 10000)) return false;
    if (v.settle->isActive()) Fire(v.settle);
    return QTest::qWaitFor([&] { return !v.busy(); }, 10000);
}

QString WriteAndVerify(Bench& b) {
    const int before = b.sim.messages().size();
    b.p.main->MorFraCom04->click();
    if (!QTest::qWaitFor([&] { return b.sim.messages().size() > before; }, 5000)) return {};
    if (!Fire(b.p.main->TimerPID)) return {};
    if (!FinishVerification(b)) return {};
    return b.p.main->sendStatus->text();
}

}  // namespace morla::test
