#include "gui/panels/tervolinda_panel.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/models/tervolinda.h"
#include "gui/fields/fieldhandlers.h"
#include "gui/main/program.h"
#include "gui/panels/framework.h"

namespace morla {

namespace {
using tervolinda::Box;
using tervolinda::Variant;

const ModelInfo& tervolindaInfo() {
    return Model(ModelId::Tervolinda);
}

template <typename W>
W* named(Program& p, const char* name) {
    return p.main->findChild<W*>(QLatin1String(name));
}

QCheckBox* removeFirst1(Program& p) {
    return named<QCheckBox>(p, "MorFraPrivElim1");
}
QCheckBox* blockStart9(Program& p) {
    return named<QCheckBox>(p, "MorFraPrivNum9");
}
QLineEdit* exitKey(Program& p) {
    return named<QLineEdit>(p, "MorTxtPrivClvSal");
}

Box boxOf(QCheckBox* c) {
    switch (c->checkState()) {
        case Qt::Checked:
            return Box::Ticked;
        case Qt::Unchecked:
            return Box::Clear;
        case Qt::PartiallyChecked:
            break;
    }
    return Box::Greyed;
}

// A configuration value for an option box: "9" ticks, "0" clears, anything else leaves it.
void setFromRecord(QCheckBox* box, const QString& value) {
    if (value == QStringLiteral("9")) box->setChecked(true);
    if (value == QStringLiteral("0")) box->setChecked(false);
}

void setVisible(Program& p, std::initializer_list<const char*> names, bool visible) {
    for (const char* name : names)
        if (auto* w = named<QWidget>(p, name)) w->setVisible(visible);
}
}  // namespace

void BuildPanelTervolinda(Program&, QFrame* frame) {
    auto* layout = new QVBoxLayout(frame);
    auto* title = new QLabel(QStringLiteral("Tervolinda"), frame);
    title->setObjectName(QStringLiteral("MorLblPriv"));
    QFont f = title->font();
    f.setPointSize(16);
    f.setBold(true);
    title->setFont(f);
    layout->addWidget(title, 0, Qt::AlignTop | Qt::AlignHCenter);
    auto* ident = new QLabel(QStringLiteral("Con voz"), frame);
    ident->setObjectName(QStringLiteral("MorLblPrivIdent"));
    layout->addWidget(ident, 0, Qt::AlignHCenter);

    auto* res = new QGroupBox(QStringLiteral("Restrictores"), frame);
    res->setObjectName(QStringLiteral("MorFraPrivRes"));
    auto* resLayout = new QVBoxLayout(res);
    auto* num9 = new QCheckBox(QStringLiteral("Bloquea números que inicien en 9"), res);
    num9->setObjectName(QStringLiteral("MorFraPrivNum9"));
    auto* elim1 = new QCheckBox(QStringLiteral("Elimina el primer 1 marcado en el sistema"), res);
    elim1->setObjectName(QStringLiteral("MorFraPrivElim1"));
    resLayout->addWidget(num9);
    resLayout->addWidget(elim1);
    layout->addWidget(res);

    auto* clv = new QGroupBox(QStringLiteral("Clave"), frame);
    clv->setObjectName(QStringLiteral("MorFraPrivClv"));
    auto* clvLayout = new QHBoxLayout(clv);
    auto* label = new QLabel(QStringLiteral("Clave de Salida"), clv);
    label->setObjectName(QStringLiteral("MorLblPrivClvSal"));
    auto* exit = new QLineEdit(clv);
    exit->setObjectName(QStringLiteral("MorTxtPrivClvSal"));
    clvLayout->addWidget(label);
    clvLayout->addWidget(exit);
    layout->addWidget(clv);
    layout->addStretch(1);

    InstallKeyEditor(&EditTervolinda);
}

void ShowPanelTervolinda(Program& p) {
    ShowPanelSteps(p, tervolindaInfo(), PanelShape{6, tervolinda::kKeyLength},
                   [&p](const QStringList& rec) {
                       setFromRecord(removeFirst1(p), rec[20]);
                       exitKey(p)->setText(rec[21]);
                       setFromRecord(blockStart9(p), rec[22]);
                   });
    // Written one field at a time: the whole-configuration write stays off for this model.
    p.main->MorFraCom04->setEnabled(false);
}

void ReadReplyTervolinda(Program& p) {
    MorlaState& s = p.s;
    MonitorText& mon = s.Monitor;
    const int length = int(mon.MorTexMon04.size());
    // "&Ult.Envío" puts the mask of the last write where a reply would be.
    const bool kept = s.LiveReplyFlag == 0 && length == tervolinda::kWrittenMaskLength;
    if (length != tervolindaInfo().replyLength && !kept) {
        s.LiveReplyFlag = 1;
        return;
    }
    // A live reply comes with its map made by the line session.
    mon.MorTexMon08.set(s.ReadMap);
    mon.MorTexMon04.set(s.LastReadText);

    s.FirmwareCode =
        kept ? tervolinda::FrameFirmware(s.ReadMap) : tervolinda::FirmwareOf(s.LastReadText);
    ShownBatch batch(p);
    ShowPanelTervolinda(p);
    const std::optional<tervolinda::Fields> fields =
        kept ? tervolinda::DecodeFrame(s.ReadMap)
             : tervolinda::DecodeMap(s.ReadMap, s.FirmwareCode);
    if (fields && fields->variant == Variant::WithoutVoice) {
        named<QLabel>(p, "MorLblPrivIdent")->setText(QStringLiteral("Sin Voz"));
        // Both options are set here, so both show.
        setVisible(p,
                   {"MorFraPrivClv", "MorTxtPrivClvSal", "MorLblPrivClvSal", "MorFraPrivRes",
                    "MorFraPrivElim1", "MorFraPrivNum9"},
                   true);
        removeFirst1(p)->setChecked(fields->removeFirst1);
        blockStart9(p)->setChecked(fields->blockStart9);
        exitKey(p)->setText(fields->exitKey);
    } else if (fields) {
        named<QLabel>(p, "MorLblPrivIdent")->setText(QStringLiteral("Con Voz"));
        setVisible(p, {"MorFraPrivClv"}, true);
        setVisible(p, {"MorTxtPrivClvSal", "MorLblPrivClvSal", "MorFraPrivRes"}, false);
    }
    if (fields) {
        p.main->MorTexResCla->clear();
        p.main->MorTexResCla->setText(fields->key);
    }
    QFrame* frame = ModelFrame(p, tervolindaInfo());
    p.main->MorFraCom04->setEnabled(false);
    SetShown(p, frame, false);
    p.main->MorTexResFirm->setText(s.FirmwareCode);
    SetShown(p, frame, true);
    p.main->MorTexEst->setText(QStringLiteral("Morla"));
    s.EquipmentName = tervolindaInfo().dispatch();
    s.LiveReplyFlag = 1;
}

void EditTervolinda(Program& p) {
    MorlaState& s = p.s;
    const QString key = p.main->MorTexResCla->text();
    const QString exit = exitKey(p)->text();
    const Box remove = boxOf(removeFirst1(p));
    const Box block9 = boxOf(blockStart9(p));
    if (auto data = tervolinda::EditorSendData({s.KeyEditorMode, remove, block9, key, exit}))
        s.SendData = *data;
    ValidateKey(p, tervolinda::kKeyLength);
    if (auto frame = tervolinda::BuildFrame({s.FirmwareCode, key, exit, remove, block9})) {
        s.SendFrame = *frame;
        s.SendMask = QString(tervolinda::kWrittenMaskLength, '1');
    }
}

void PrepareFrameTervolinda(Program& p) {
    const QString mode = tervolinda::EditorModeFor(p.s.CommandNumber);
    if (!mode.isEmpty()) p.s.KeyEditorMode = mode;
    EditTervolinda(p);
}

void CompleteSendTervolinda(Program& p) {
    MorlaState& s = p.s;
    const std::optional<QString> command = tervolinda::Command(
        {s.CommandNumber, s.CommandValue, s.KeyStatus, p.main->MorTexResCla->text(), s.PreviousKey,
         exitKey(p)->text(), s.CommandSeparator});
    if (command) s.CommandString = *command;
}

}  // namespace morla
