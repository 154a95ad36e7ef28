#include "gui/fields/fieldbinding.h"

#include "gui/fields/fieldhandlers.h"
#include "gui/fields/fieldrules.h"
#include "gui/main/program.h"

namespace morla {

void BindCommonFields(Program& p) {
    MorForPri& w = *p.main;
    BindFieldRules(p, &w);
    BindFieldHandlers(p, &w);
    // Each restriction box keeps its flag, whether the user or the program sets it.
    for (int k = 0; k < 9; ++k) {
        QObject::connect(w.MorChkRes[k], &QCheckBox::stateChanged, &p, [&p, k](int state) {
            p.s.RestrictorFlags[k] =
                state == Qt::Checked ? QStringLiteral("1") : QStringLiteral("0");
        });
    }
}

}  // namespace morla
