#include "gui/panels/quarn_panel.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/models/quarn.h"
#include "gui/main/program.h"
#include "gui/panels/longreply_panel.h"

namespace morla {

namespace {
// Keys 2 to 5 and the trunk exist on the Conmutador only; the title names the variant.
void showVariant(Program& p) {
    const bool dolmeth = quarn::IsDolmeth(p.s.FirmwareCode);
    MorForPri& w = *p.main;
    if (auto* title = w.MorFraFlh->findChild<QLabel*>(QStringLiteral("MorLabFlhTit")))
        title->setText(quarn::Title(p.s.FirmwareCode));
    for (const char* name : {"MorFraFlhFraClv", "MorChkFlhResC00"})
        if (auto* c = w.MorFraFlh->findChild<QWidget*>(QLatin1String(name)))
            c->setVisible(!dolmeth);
}

QString keyChange(const MorlaState& s, const QString& newKey) {
    return quarn::KeyChange(s.CommandSeparator, s.PreviousKey, newKey, s.FirmwareCode);
}

const LongModel& model() {
    static const LongModel m{ModelId::Quarn,
                             &MorlaState::SwitchTrunkState,
                             "MorChkFlhResC00",
                             nullptr,
                             nullptr,
                             &quarn::Layout,
                             quarn::Commands(),
                             quarn::RecordFills(),
                             "",
                             &keyChange,
                             &showVariant};
    return m;
}
}  // namespace

void BuildPanelQuarn(Program&, QFrame* frame) {
    auto* outer = new QVBoxLayout(frame);
    outer->addWidget(PanelTitle(frame, "MorLabFlhTit", QStringLiteral("Quarn")));
    auto* columns = new QHBoxLayout;
    outer->addLayout(columns, 1);
    auto* left = new QVBoxLayout;
    columns->addLayout(left, 1);

    QGroupBox* resOp = NamedGroup(frame, "MorFraFlhFraResOp", QString());
    auto* resGrid = new QGridLayout(resOp);
    LabelledBox(resGrid, 0, 0, QStringLiteral("MorLabFlhCon"), QStringLiteral("Contador"),
                QStringLiteral("MorTexFlhCon"), 3);
    auto* clear = new QPushButton(QStringLiteral("Borrar el contador de llamadas"), resOp);
    clear->setObjectName(QStringLiteral("MorCmdFlhBorr"));
    resGrid->addWidget(clear, 1, 0, 1, 2);
    resGrid->addWidget(NamedCheck(resOp, QStringLiteral("MorChkFlhResC00"),
                                  QStringLiteral("Troncal de conmutador")),
                       2, 0, 1, 2);
    left->addWidget(resOp);

    QGroupBox* tem = NamedGroup(frame, "MorFraFlhFraTem", QString());
    auto* temGrid = new QGridLayout(tem);
    LabelledBox(temGrid, 0, 0, QStringLiteral("MorLabFlhDurP"),
                QStringLiteral("Tiempo de duración para llamadas prohibidas"),
                QStringLiteral("MorTexFlhDurP"), 3);
    LabelledBox(temGrid, 1, 0, QStringLiteral("MorLabFlhLimSerMed"),
                QStringLiteral("Tiempo de duración para llamadas libres"),
                QStringLiteral("MorTexFlhLimSerMed"), 3);
    left->addWidget(tem);

    QGroupBox* keys = NamedGroup(frame, "MorFraFlhFraClv", QStringLiteral("Claves de operación"));
    auto* keyGrid = new QGridLayout(keys);
    for (int k = 1; k <= 4; ++k)
        LabelledBox(keyGrid, k - 1, 0, ElementName("MorLabFlhClv", k), KeyCaption(k + 1),
                    ElementName("MorTexFlhClv", k), longreply::kKeyDigits);
    left->addWidget(keys);
    left->addStretch(1);

    // Two columns of five; box 9 is memory "00".
    QGroupBox* numbers =
        NamedGroup(frame, "MorFraFlhFraNumTel", QStringLiteral("Números de teléfono"));
    auto* numGrid = new QGridLayout(numbers);
    for (int k = 0; k < 10; ++k) {
        const QString caption = QStringLiteral("%1").arg((k + 1) % 10, 2, 10, QLatin1Char('0'));
        LabelledBox(numGrid, k % 5, 2 * (k / 5), ElementName("MorLabFlhNumTel", k), caption,
                    ElementName("MorTexFlhNumTel", k), 16);
    }
    columns->addWidget(numbers, 1);
}

void ShowPanelQuarn(Program& p) {
    ShowPanelLong(p, model());
}
void ReadReplyQuarn(Program& p) {
    ReadReplyLong(p, model());
}
void BuildFrameQuarn(Program& p) {
    BuildFrameLong(p, model());
}
void CompleteSendQuarn(Program& p) {
    CompleteSendLong(p, model());
}

}  // namespace morla
