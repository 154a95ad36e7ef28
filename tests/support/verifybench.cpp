#include "support/verifybench.h"

#include <QTest>

#include "gui/device/verify.h"

namespace morla::test {

// The waits end as soon as their condition holds; they are long for a loaded machine.
bool FinishVerification(Bench& b) {
    WriteVerifier& v = VerifierOf(b.p);
    if (!QTest::qWaitFor([&] { return v.settle->isActive() || !v.busy(); }, 20000)) return false;
    if (v.settle->isActive()) Fire(v.settle);
    return QTest::qWaitFor([&] { return !v.busy(); }, 20000);
}

QString WriteAndVerify(Bench& b) {
    const int before = b.sim.messages().size();
    b.p.main->MorFraCom04->click();
    if (!QTest::qWaitFor([&] { return b.sim.messages().size() > before; }, 20000)) return {};
    if (!Fire(b.p.main->TimerPID)) return {};
    if (!FinishVerification(b)) return {};
    return b.p.main->sendStatus->text();
}

}  // namespace morla::test
