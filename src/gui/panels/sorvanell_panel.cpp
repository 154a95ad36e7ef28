#include "gui/panels/sorvanell_panel.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/codec/codec.h"
#include "core/models/sorvanell.h"
#include "gui/main/program.h"
#include "gui/panels/framework.h"
#include "gui/panels/layoutbinding.h"

namespace morla {

namespace {
const ModelInfo& sorvanellInfo() {
    return Model(ModelId::Sorvanell);
}

template <typename W>
W* named(Program& p, const char* name) {
    return p.main->findChild<W*>(QLatin1String(name));
}

// A configuration value for a check box: numeric 1 ticks, 0 clears, anything else leaves it.
void setFromRecord(QCheckBox* box, const QString& value) {
    if (!IsWholeNumber(value)) return;
    const long long v = ValOf(value);
    if (v == 1) box->setChecked(true);
    if (v == 0) box->setChecked(false);
}
}  // namespace

void BuildPanelSorvanell(Program&, QFrame* frame) {
    auto* layout = new QVBoxLayout(frame);
    auto* title = new QLabel(QStringLiteral("Sorvanell"), frame);
    title->setObjectName(QStringLiteral("MorLabAle"));
    QFont f = title->font();
    f.setPointSize(16);
    f.setBold(true);
    title->setFont(f);
    layout->addWidget(title, 0, Qt::AlignTop | Qt::AlignHCenter);

    auto* count = new QGroupBox(QStringLiteral("Numero de Intervenciones"), frame);
    count->setObjectName(QStringLiteral("Frame4"));
    auto* countLayout = new QVBoxLayout(count);
    auto* countBox = new QLineEdit(count);
    countBox->setObjectName(QStringLiteral("MorTexAleNumInter"));
    countLayout->addWidget(countBox);
    layout->addWidget(count);

    auto* options = new QGroupBox(QStringLiteral("Opciones de programación"), frame);
    options->setObjectName(QStringLiteral("Frame3"));
    auto* grid = new QGridLayout(options);
    auto* autLabel = new QLabel(options);
    autLabel->setObjectName(QStringLiteral("MorlblAleAut"));
    auto* aut = new QLineEdit(options);
    aut->setObjectName(QStringLiteral("MorTxtAleAut"));
    aut->setMaxLength(sorvanell::kKeyLength);
    auto* digLabel = new QLabel(options);
    digLabel->setObjectName(QStringLiteral("MorlblAleDigAler"));
    auto* dig = new QLineEdit(options);
    dig->setObjectName(QStringLiteral("MorTxtAleDigAler"));
    dig->setMaxLength(1);
    grid->addWidget(autLabel, 0, 0);
    grid->addWidget(aut, 0, 1);
    grid->addWidget(digLabel, 1, 0);
    grid->addWidget(dig, 1, 1);
    layout->addWidget(options);

    auto* boxes = new QGroupBox(frame);
    boxes->setObjectName(QStringLiteral("Frame2"));
    auto* boxLayout = new QVBoxLayout(boxes);
    for (const char* name : {"MorChkAleBlqGrb", "MorChkAleTono"}) {
        auto* c = new QCheckBox(boxes);
        c->setObjectName(QLatin1String(name));
        boxLayout->addWidget(c);
    }
    layout->addWidget(boxes);
    layout->addStretch(1);
}

void ShowPanelSorvanell(Program& p) {
    ShowPanelSteps(p, sorvanellInfo(), PanelShape{9, sorvanell::kKeyLength},
                   [&p](const QStringList& rec) {
                       named<QLabel>(p, "MorlblAleAut")->setText(rec[0]);
                       named<QLabel>(p, "MorlblAleDigAler")->setText(rec[1]);
                       named<QCheckBox>(p, "MorChkAleTono")->setText(rec[2]);
                       named<QCheckBox>(p, "MorChkAleBlqGrb")->setText(rec[3]);
                       named<QLineEdit>(p, "MorTxtAleAut")->setText(rec[20]);
                       named<QLineEdit>(p, "MorTxtAleDigAler")->setText(rec[21]);
                       setFromRecord(named<QCheckBox>(p, "MorChkAleTono"), rec[22]);
                       setFromRecord(named<QCheckBox>(p, "MorChkAleBlqGrb"), rec[23]);
                   });
}

void ReadReplySorvanell(Program& p) {
    ReadReplySteps(p, sorvanellInfo(), [&p](const QString& map) {
        ShowValues(p, sorvanell::Layout(), layout::Decode(sorvanell::Layout(), map));
    });
}

void BuildFrameSorvanell(Program& p) {
    MorlaState& s = p.s;
    s.SendData.clear();
    s.KeyStatus = sorvanell::KeyStatusFor(p.main->MorTexResCla->text());
    BuildFrameFromLayout(p, sorvanellInfo(), sorvanell::Layout());
}

void CompleteSendSorvanell(Program& p) {
    MorlaState& s = p.s;
    const std::optional<QString> command =
        sorvanell::Command({s.CommandNumber, s.KeyStatus, p.main->MorTexResCla->text(),
                            s.PreviousKey, named<QLineEdit>(p, "MorTxtAleAut")->text(),
                            named<QLineEdit>(p, "MorTxtAleDigAler")->text()});
    if (command) s.CommandString = *command;
}

}  // namespace morla
