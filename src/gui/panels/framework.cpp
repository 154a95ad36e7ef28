#include "gui/panels/framework.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>
#include <array>

#include "core/codec/codec.h"
#include "core/codec/text.h"
#include "core/config/recordcache.h"
#include "core/models/modelcore.h"
#include "gui/link/seriallink.h"
#include "gui/main/program.h"
#include "gui/panels/haldrivonexa_panel.h"
#include "gui/panels/kovalindre_panel.h"
#include "gui/panels/luvero_panel.h"
#include "gui/panels/pellitor_panel.h"
#include "gui/panels/quarn_panel.h"
#include "gui/panels/sorvanell_panel.h"
#include "gui/panels/tervolinda_panel.h"
#include "gui/panels/zentavira_panel.h"

namespace morla {

namespace {
template <ModelId id>
void ShowPanelShared(Program& p) {
    ShowPanelSteps(p, Model(id), PanelShape{6, Model(id).keyLength});
}

// Frame of a model whose panel has no fields of its own yet: its name as title.
template <ModelId id>
void BuildTitledPanel(Program&, QFrame* frame) {
    auto* layout = new QVBoxLayout(frame);
    auto* title = new QLabel(Model(id).dispatch(), frame);
    QFont f = title->font();
    f.setPointSize(14);
    f.setBold(true);
    title->setFont(f);
    layout->addWidget(title, 0, Qt::AlignTop | Qt::AlignHCenter);
    layout->addStretch(1);
}

template <ModelId id>
constexpr ModelMembers SharedOnly() {
    return {&ShowPanelShared<id>, nullptr, nullptr, nullptr, &BuildTitledPanel<id>};
}

const std::array<ModelMembers, 8> kMembers{{
    {&ShowPanelSorvanell, &ReadReplySorvanell, &BuildFrameSorvanell, &CompleteSendSorvanell,
     &BuildPanelSorvanell},
    {&ShowPanelLuvero, &ReadReplyLuvero, &BuildFrameLuvero, &CompleteSendLuvero, &BuildPanelLuvero},
    {&ShowPanelZentavira, &ReadReplyZentavira, &BuildFrameZentavira, &CompleteSendZentavira,
     &BuildPanelZentavira},
    {&ShowPanelHaldrivonexa, &ReadReplyHaldrivonexa, &BuildFrameHaldrivonexa,
     &CompleteSendHaldrivonexa, &BuildPanelHaldrivonexa},
    {&ShowPanelQuarn, &ReadReplyQuarn, &BuildFrameQuarn, &CompleteSendQuarn, &BuildPanelQuarn},
    {&ShowPanelPellitor, &ReadReplyPellitor, &BuildFramePellitor, &CompleteSendPellitor,
     &BuildPanelPellitor},
    // No frame builder of its own: the send preparation runs its key editor instead.
    {&ShowPanelTervolinda, &ReadReplyTervolinda, &PrepareFrameTervolinda, &CompleteSendTervolinda,
     &BuildPanelTervolinda},
    {&ShowPanelKovalindre, &ReadReplyKovalindre, &BuildFrameKovalindre, &CompleteSendKovalindre,
     &BuildPanelKovalindre},
}};
}  // namespace

ShownBatch::ShownBatch(Program& p) : p_(p) {
    if (p.shownBatch) return;  // the outer batch gives the states
    outer_ = true;
    p.shownBatch = this;
    beforeBox_ = p.msg.beforeBox;
    p.msg.beforeBox = [this] {
        give();
        if (beforeBox_) beforeBox_();
    };
}

ShownBatch::~ShownBatch() {
    if (!outer_) return;
    give();
    p_.msg.beforeBox = beforeBox_;
    p_.shownBatch = nullptr;
}

namespace {
bool holdsFocus(QWidget* w) {
    if (!w->isVisible()) return false;
    for (QWidget* f : {QApplication::focusWidget(), w->window()->focusWidget()})
        if (f && (f == w || w->isAncestorOf(f))) return true;
    return false;
}
}  // namespace

void ShownBatch::ask(QWidget* w, bool shown) {
    if (!shown && holdsFocus(w)) {
        give();
        w->hide();
        return;
    }
    asked_.emplace_back(w, shown);
}

void ShownBatch::give() {
    const auto asked = std::move(asked_);
    asked_.clear();
    for (size_t i = 0; i < asked.size(); ++i) {
        QWidget* w = asked[i].first;
        bool later = false;
        for (size_t j = i + 1; j < asked.size() && !later; ++j) later = asked[j].first == w;
        if (w && !later) w->setVisible(asked[i].second);
    }
}

void SetShown(Program& p, QWidget* w, bool shown) {
    if (p.shownBatch)
        p.shownBatch->ask(w, shown);
    else
        w->setVisible(shown);
}

const ModelMembers& Members(ModelId id) {
    return kMembers[static_cast<size_t>(id)];
}

QFrame* ModelFrame(Program& p, const ModelInfo& m) {
    return p.main->frameNamed(QString::fromLatin1(m.frameName));
}

void BuildModelPanels(Program& p) {
    for (const ModelInfo& m : Models())
        if (auto build = Members(m.id).BuildPanel) build(p, ModelFrame(p, m));
}

void ResetPanels(Program& p) {
    HideModelFrames(p);
    p.main->MorFraCom04->setEnabled(true);
}

void HideModelFrames(Program& p) {
    SetShown(p, p.main->MorFraPri, false);
    for (QFrame* f : p.main->modelFrames()) SetShown(p, f, false);
}

void DispatchPanel(Program& p) {
    ShownBatch batch(p);
    ResetPanels(p);
    if (p.s.EquipmentName == QStringLiteral("Morla")) {
        HideCommonFields(p);
        SetShown(p, p.main->MorFraPri, true);
        return;
    }
    if (const ModelInfo* m = ModelByDispatchName(p.s.EquipmentName))
        if (Member show = Members(m->id).ShowPanel) show(p);
}

void HideCommonFields(Program& p) {
    MorForPri& w = *p.main;
    for (QCheckBox* c : w.MorChkRes) SetShown(p, c, false);
    for (QWidget* c : std::initializer_list<QWidget*>{
             w.MorTexBan, w.MorTexResCla, w.MorTexResFirm, w.MorTexResFirL, w.MorTexResMod,
             w.MorTexResModL, w.MorTexResUs, w.MorTexRes, w.MorTaSRes, w.MorTexResUsL})
        SetShown(p, c, false);
}

void ShowCommonFields(Program& p) {
    MorForPri& w = *p.main;
    for (QCheckBox* c : w.MorChkRes) SetShown(p, c, true);
    SetShown(p, w.MorTexBan, p.s.OperatorMode == QStringLiteral("Ingenieria"));
    for (QWidget* c : std::initializer_list<QWidget*>{
             w.MorTexResCla, w.MorTexRes, w.MorTaSRes, w.MorTexResFirm, w.MorTexResFirL,
             w.MorTexResMod, w.MorTexResModL, w.MorTexResUs, w.MorTexResUsL})
        SetShown(p, c, true);
}

void ApplyRestrictorVisibility(Program& p) {
    const RecordRead r = ReadRecordCached(p.s.FilePath, ModelConfigRecord);
    const QString& visible = r.fields[40];
    for (int k = 0; k < 9; ++k)
        SetShown(p, p.main->MorChkRes[k], visible.mid(k, 1) == QStringLiteral("1"));
}

void CallReadReply(Program& p, const QString& modelCode) {
    if (const ModelInfo* m = ModelByCode(modelCode))
        if (Member f = Members(m->id).ReadReply) f(p);
}

void CallBuildFrame(Program& p, const QString& modelCode) {
    if (const ModelInfo* m = ModelByCode(modelCode))
        if (Member f = Members(m->id).BuildFrame) f(p);
}

void CallCompleteSend(Program& p, const QString& modelCode) {
    if (const ModelInfo* m = ModelByCode(modelCode))
        if (Member f = Members(m->id).CompleteSend) f(p);
}

void ShowPanelSteps(Program& p, const ModelInfo& m, const PanelShape& shape,
                    const std::function<void(const QStringList&)>& fill) {
    MorlaState& s = p.s;
    s.FilePath = s.paths().modelConfig(m.base(), s.FirmwareCode);
    if (!FileExists(s.FilePath)) p.msg.info(QStringLiteral("No existe archivo de configuración."));
    // A missing file fills the panel as a record of empty fields.
    const QStringList rec = ReadRecordCached(s.FilePath, ModelConfigRecord).fields;
    // The key length first: a text box cuts a text longer than its limit.
    p.main->MorTexResCla->setMaxLength(shape.keyMaxLength);
    p.main->MorTexResCla->setText(rec[43]);
    p.main->MorTexBan->setText(rec[55]);
    for (int k = 0; k < shape.restrictorCaptions && k < 9; ++k)
        p.main->MorChkRes[k]->setText(rec[45 + k]);
    if (fill) fill(rec);
    ShownBatch batch(p);
    ShowCommonFields(p);
    ApplyRestrictorVisibility(p);
    ResetPanels(p);
    SetShown(p, ModelFrame(p, m), true);
    p.main->MorTexResCla->setMaxLength(shape.keyMaxLength);
}

void BadStoredMap(Program& p, int block) {
    // A stored map, not the device's answer: nothing to read again on the line.
    p.msg.info(QStringLiteral("No se puede mostrar: el bloque %1 guardado está dañado").arg(block));
    p.main->MorTexEst->setText(QStringLiteral("Morla"));
    p.s.LiveReplyFlag = 1;
}

bool ReadReplySteps(Program& p, const ModelInfo& m,
                    const std::function<void(const QString& map)>& decode) {
    MorlaState& s = p.s;
    MonitorText& mon = s.Monitor;
    if (mon.MorTexMon04.size() != m.replyLength) {
        s.LiveReplyFlag = 1;
        return false;
    }
    // A live reply comes with its map made and its blocks found good by the line session; a
    // stored one ("&Ult.Envío" has made the sent frame a map) is checked here.
    const bool stored = s.LiveReplyFlag == 0;
    mon.MorTexMon08.set(s.ReadMap);
    mon.MorTexMon04.set(s.LastReadText);
    const QString map = s.ReadMap;

    if (stored && m.checksum != ChecksumPolicy::None) {
        if (const int block = BadChecksumBlock(map, m.blocks())) {
            BadStoredMap(p, block);
            return false;
        }
    }

    s.FirmwareCode = m.firmwareAsCharacters ? map.mid(2, 2) : HexToDec(map.mid(2, 2));
    ShownBatch batch(p);
    if (Member show = Members(m.id).ShowPanel) show(p);
    QFrame* frame = ModelFrame(p, m);
    SetShown(p, frame, false);
    p.main->MorTexResFirm->setText(s.FirmwareCode);
    if (HexToDec(map.mid(4, 2)) == QStringLiteral("9"))
        p.main->MorTexResUs->setText(QStringLiteral("Dravenquista"));
    if (map.mid(6, 4) == QStringLiteral("0001"))
        p.main->MorTexResMod->setText(QStringLiteral("Dravenquista"));
    if (decode) decode(map);
    SetShown(p, frame, true);
    p.main->MorTexEst->setText(QStringLiteral("Morla"));
    s.EquipmentName = m.dispatch();
    s.LiveReplyFlag = 1;
    return true;
}

void ValidateKey(Program& p, int keyLength) {
    if (auto status = KeyStatusFor(p.main->MorTexResCla->text(), keyLength))
        p.s.KeyStatus = *status;
}

void ValidateFullKey(Program& p, int keyLength) {
    ValidateKey(p, keyLength);
    const QString key = p.main->MorTexResCla->text();
    if (!key.isEmpty() && key.size() < keyLength) p.s.KeyStatus = QStringLiteral("DesActivado");
}

QString ElementName(const char* array, int k) {
    return QLatin1String(array) + QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
}

void CheckFromConfig(QCheckBox* box, const QString& value) {
    if (!IsWholeNumber(value)) return;
    if (ValOf(value) == 1) box->setChecked(true);
    if (ValOf(value) == 0) box->setChecked(false);
}

void ApplySingleCommand(Program& p, const SingleCommand& command) {
    if (command.SendData) p.s.SendData = *command.SendData;
    if (command.CommandIndex) p.s.CommandIndex = *command.CommandIndex;
    if (command.CommandString) p.s.CommandString = *command.CommandString;
}

CommandInput SingleCommandInput(Program& p) {
    const MorlaState& s = p.s;
    return {s.CommandNumber, s.CommandValue, s.CommandIndex,    p.main->MorTexResCla->text(),
            s.PreviousKey,   s.KeyStatus,    s.CommandSeparator};
}

}  // namespace morla
