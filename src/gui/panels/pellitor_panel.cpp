#include "gui/panels/pellitor_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/models/pellitor.h"
#include "gui/main/program.h"
#include "gui/panels/longreply_panel.h"

namespace morla {

namespace {
QString keyChange(const MorlaState& s, const QString& newKey) {
    return pellitor::KeyChange(s.CommandSeparator, s.PreviousKey, newKey);
}

const layout::Layout& layout(const QString&) {
    return pellitor::Layout();
}

const LongModel& model() {
    static const LongModel m{ModelId::Pellitor,
                             &MorlaState::PellitorTrunkState,
                             "MorChkConCon03",
                             "MorComConDLL",
                             &pellitor::LocalDigitItems,
                             &layout,
                             pellitor::Commands(),
                             pellitor::RecordFills(),
                             "f",
                             &keyChange};
    return m;
}

// Counter, allowed calls, duration and the clear button of one kind of call.
QGroupBox* counting(QFrame* frame, const char* group, const QString& title, const char* part) {
    QGroupBox* g = NamedGroup(frame, group, title);
    auto* grid = new QGridLayout(g);
    const QString base = QStringLiteral("Con") + QLatin1String(part);
    LabelledBox(grid, 0, 0, QStringLiteral("MorLab") + base + QStringLiteral("C"),
                QStringLiteral("Contador"), QStringLiteral("MorTex") + base + QStringLiteral("C"),
                3);
    LabelledBox(grid, 1, 0, QStringLiteral("MorLab") + base + QStringLiteral("NP"),
                QStringLiteral("Número de llamadas permitidas"),
                QStringLiteral("MorTex") + base + QStringLiteral("NP"), 3);
    LabelledBox(grid, 2, 0, QStringLiteral("MorLab") + base + QStringLiteral("T"),
                QStringLiteral("Tiempo de duración"),
                QStringLiteral("MorTex") + base + QStringLiteral("T"), 3);
    auto* clear = new QPushButton(QStringLiteral("Borrar Contador"), g);
    clear->setObjectName(QStringLiteral("MorCmd") + base + QStringLiteral("B"));
    grid->addWidget(clear, 3, 0, 1, 2);
    return g;
}
}  // namespace

void BuildPanelPellitor(Program&, QFrame* frame) {
    auto* outer = new QVBoxLayout(frame);
    outer->addWidget(PanelTitle(frame, "MorLabConTit", QStringLiteral("Pellitor")));
    auto* columns = new QHBoxLayout;
    outer->addLayout(columns, 1);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);

    left->addWidget(counting(frame, "MorFraConSM", QStringLiteral("Servicio Medido"), "SM"));
    left->addWidget(counting(frame, "MorFraConLD", QStringLiteral("Larga Distancia"), "LD"));

    QGroupBox* par = NamedGroup(frame, "MorFraConPar", QString());
    auto* parGrid = new QGridLayout(par);
    parGrid->addWidget(NamedLabel(par, QStringLiteral("MorLabConDLL"),
                                  QStringLiteral("Dígitos para llamada local")),
                       0, 0);
    auto* list = new QComboBox(par);
    list->setObjectName(QStringLiteral("MorComConDLL"));
    list->addItems(pellitor::LocalDigitItems());
    parGrid->addWidget(list, 0, 1);
    parGrid->addWidget(
        NamedCheck(par, QStringLiteral("MorChkConCon03"), QStringLiteral("Troncal de conmutador")),
        1, 0, 1, 2);
    left->addWidget(par);
    left->addStretch(1);

    QGroupBox* keys = NamedGroup(frame, "Frame1", QStringLiteral("Claves de operación"));
    auto* keyGrid = new QGridLayout(keys);
    for (int k = 1; k <= 4; ++k)
        LabelledBox(keyGrid, k - 1, 0, ElementName("MorLabConClv", k), KeyCaption(k + 1),
                    ElementName("MorTexConClv", k), longreply::kKeyDigits);
    right->addWidget(keys);

    QGroupBox* numbers =
        NamedGroup(frame, "MorFraConNumTel", QStringLiteral("Números de teléfono"));
    auto* numGrid = new QGridLayout(numbers);
    for (int k = 0; k < 5; ++k)
        LabelledBox(numGrid, k, 0, ElementName("MorLabConNumTel", k),
                    QStringLiteral("%1").arg(k + 1, 2, 10, QLatin1Char('0')),
                    ElementName("MorTexConNumTel", k), 16);
    right->addWidget(numbers);
    right->addStretch(1);
}

void ShowPanelPellitor(Program& p) {
    ShowPanelLong(p, model());
}
void ReadReplyPellitor(Program& p) {
    ReadReplyLong(p, model());
}
void BuildFramePellitor(Program& p) {
    BuildFrameLong(p, model());
}
void CompleteSendPellitor(Program& p) {
    CompleteSendLong(p, model());
}

}  // namespace morla
