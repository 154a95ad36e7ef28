#include "gui/panels/luvero_panel.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

#include "core/models/luvero.h"
#include "core/models/modelcore.h"
#include "gui/main/program.h"
#include "gui/panels/framework.h"
#include "gui/panels/layoutbinding.h"

namespace morla {

namespace {
const ModelInfo& luveroInfo() {
    return Model(ModelId::Luvero);
}
}  // namespace

void BuildPanelLuvero(Program&, QFrame* frame) {
    auto* layout = new QVBoxLayout(frame);
    auto* title = new QLabel(QStringLiteral("Lúvero"), frame);
    title->setObjectName(QStringLiteral("MorLabBas"));
    QFont f = title->font();
    f.setPointSize(16);
    f.setBold(true);
    title->setFont(f);
    layout->addWidget(title, 0, Qt::AlignTop | Qt::AlignHCenter);
    layout->addStretch(1);
}

void ShowPanelLuvero(Program& p) {
    ShowPanelSteps(p, luveroInfo(), PanelShape{6, luvero::kKeyLength});
}

void ReadReplyLuvero(Program& p) {
    // The flags box sets the nine restriction boxes; 7 to 9 are absent, so cleared.
    ReadReplySteps(p, luveroInfo(), [&](const QString& map) {
        ShowValues(p, luvero::Layout(), layout::Decode(luvero::Layout(), map));
    });
}

void BuildFrameLuvero(Program& p) {
    MorlaState& s = p.s;
    s.SendData.clear();
    ValidateKey(p, luvero::kKeyLength);
    BuildFrameFromLayout(p, luveroInfo(), luvero::Layout());
}

void CompleteSendLuvero(Program& p) {
    MorlaState& s = p.s;
    if (s.CommandNumber == QStringLiteral("10")) {
        // The key box holds the new key by now; the device still knows the previous one.
        s.CommandString = QStringLiteral("#2") + s.CommandSeparator + s.PreviousKey +
                          s.CommandSeparator + p.main->MorTexResCla->text();
        return;
    }
    const QString code = luvero::OptionCommandCode(s.CommandNumber);
    if (code.isEmpty()) return;
    s.SendData = OnOffValue(s.CommandValue);
    if (s.KeyStatus != QStringLiteral("Activado")) return;
    s.CommandString =
        OnOffCommand(code, s.CommandSeparator, p.main->MorTexResCla->text(), s.CommandValue);
}

}  // namespace morla
