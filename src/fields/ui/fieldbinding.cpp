#include "fields/ui/fieldbinding.h"

#include "app/program.h"

namespace morla {

void BindCommonFields(Program& p) {
    MorForPri& w = *p.main;
    // The flags box sets the nine restriction boxes, also when the program writes it.
    QObject::connect(w.MorTexBan, &QLineEdit::textChanged, &p, [&w](const QString& text) {
        for (int k = 0; k < 9; ++k)
            w.MorChkRes[k]->setChecked(text.mid(k, 1) == QStringLiteral("1"));
    });
    // Each restriction box keeps its flag, whether the user or the program sets it.
    for (int k = 0; k < 9; ++k) {
        QObject::connect(w.MorChkRes[k], &QCheckBox::stateChanged, &p, [&p, k](int state) {
            p.s.RestrictorFlags[k] =
                state == Qt::Checked ? QStringLiteral("1") : QStringLiteral("0");
        });
    }
}

}  // namespace morla
