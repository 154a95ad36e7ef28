#include "gui/panels/kovalindre_panel.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/models/kovalindre.h"
#include "gui/main/program.h"
#include "gui/panels/longreply_panel.h"

namespace morla {

namespace {
QString keyChange(const MorlaState& s, const QString& newKey) {
    return kovalindre::KeyChange(s.CommandSeparator, s.PreviousKey, newKey);
}

const layout::Layout& layout(const QString&) {
    return kovalindre::Layout();
}

const LongModel& model() {
    static const LongModel m{ModelId::Kovalindre,
                             &MorlaState::KovalindreTrunkState,
                             "MorChkMulClvCom01",
                             nullptr,
                             nullptr,
                             &layout,
                             kovalindre::Commands(),
                             kovalindre::RecordFills(),
                             "f",
                             &keyChange};
    return m;
}
}  // namespace

void BuildPanelKovalindre(Program&, QFrame* frame) {
    auto* outer = new QVBoxLayout(frame);
    outer->addWidget(PanelTitle(frame, "MorLblMulClvTit", QStringLiteral("Kovalindres")));
    auto* columns = new QHBoxLayout;
    outer->addLayout(columns, 1);
    auto* left = new QVBoxLayout;
    columns->addLayout(left, 1);

    QGroupBox* trc = NamedGroup(frame, "MorFraMulClvTrc", QString());
    auto* trcGrid = new QGridLayout(trc);
    trcGrid->addWidget(NamedCheck(trc, QStringLiteral("MorChkMulClvCom01"),
                                  QStringLiteral("Troncal de conmutador")),
                       0, 0, 1, 2);
    LabelledBox(trcGrid, 1, 0, QStringLiteral("MorLabMulClvCon"), QStringLiteral("Contador"),
                QStringLiteral("MorTxtMulClvCon"), 3);
    auto* clear = new QPushButton(QStringLiteral("Borrar el contador de llamadas"), trc);
    clear->setObjectName(QStringLiteral("MorCmdMulClvCon"));
    trcGrid->addWidget(clear, 2, 0, 1, 2);
    left->addWidget(trc);

    QGroupBox* tem = NamedGroup(frame, "MorFraMulClvTem", QString());
    auto* temGrid = new QGridLayout(tem);
    LabelledBox(temGrid, 0, 0, QStringLiteral("MorLabMulClvDurP"),
                QStringLiteral("Tiempo de duración para llamadas prohibidas"),
                QStringLiteral("MorTxtMulClvDurP"), 3);
    LabelledBox(temGrid, 1, 0, QStringLiteral("MorLabMulClvDurL"),
                QStringLiteral("Tiempo de duración para llamadas libres"),
                QStringLiteral("MorTexMulClvDurL"), 3);
    left->addWidget(tem);

    // The memory labels are further elements of the Quarn's label array.
    QGroupBox* numbers =
        NamedGroup(frame, "MorFraMulClvNumTel", QStringLiteral("Números de teléfono"));
    auto* numGrid = new QGridLayout(numbers);
    for (int k = 0; k < 4; ++k)
        LabelledBox(numGrid, k, 0, ElementName("MorLabFlhNumTel", 10 + k),
                    QStringLiteral("%1").arg(k + 1, 2, 10, QLatin1Char('0')),
                    ElementName("MorTexMulClvNumTel", k), 16);
    left->addWidget(numbers);
    left->addStretch(1);

    QGroupBox* keys = NamedGroup(frame, "MorFraMulClvOp", QStringLiteral("Claves de operación"));
    auto* keyGrid = new QGridLayout(keys);
    for (int k = 0; k < kovalindre::kPanelKeys; ++k)
        LabelledBox(keyGrid, k % 8, 2 * (k / 8), ElementName("MorLblMulClvClv", k),
                    KeyCaption(k + 2), ElementName("MorTxtMulClvClv", k), longreply::kKeyDigits);
    columns->addWidget(keys, 2);
}

void ShowPanelKovalindre(Program& p) {
    ShowPanelLong(p, model());
}
void ReadReplyKovalindre(Program& p) {
    ReadReplyLong(p, model());
}
void BuildFrameKovalindre(Program& p) {
    BuildFrameLong(p, model());
}
void CompleteSendKovalindre(Program& p) {
    CompleteSendLong(p, model());
}

}  // namespace morla
