#include "gui/panels/longreply_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "core/codec/codec.h"
#include "gui/main/program.h"
#include "gui/panels/framework.h"
#include "gui/panels/layoutbinding.h"

namespace morla {

namespace {
using longreply::Target;

void setCaption(QWidget* w, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(w))
        group->setTitle(text);
}

void fill(QFrame* frame, const longreply::RecordFill& f, const QString& value) {
    QWidget* w = frame->findChild<QWidget*>(QLatin1String(f.control));
    if (!w) return;
    switch (f.target) {
        case Target::Caption:
            setCaption(w, value);
            break;
        case Target::Text:
            if (auto* box = qobject_cast<QLineEdit*>(w)) box->setText(value);
            break;
        case Target::CheckValue:
            if (auto* check = qobject_cast<QCheckBox*>(w); check && IsWholeNumber(value)) {
                if (ValOf(value) == 1) check->setChecked(true);
                if (ValOf(value) == 0) check->setChecked(false);
            }
            break;
        case Target::ListItem:
            if (auto* list = qobject_cast<QComboBox*>(w)) {
                // Nothing selected when no item matches.
                list->setCurrentIndex(list->findText(value, Qt::MatchExactly));
            }
            break;
    }
}

const ModelInfo& info(const LongModel& m) {
    return Model(m.id);
}

QFrame* frameOf(Program& p, const LongModel& m) {
    return ModelFrame(p, info(m));
}

template <typename W>
W* child(Program& p, const LongModel& m, const QString& name) {
    return frameOf(p, m)->findChild<W*>(name);
}
}  // namespace

void ShowPanelLong(Program& p, const LongModel& m) {
    QFrame* frame = frameOf(p, m);
    ShowPanelSteps(p, info(m), PanelShape{6, longreply::kKeyDigits}, [&](const QStringList& rec) {
        if (m.listBox) {
            // The list is filled anew each time the panel shows.
            if (auto* list = child<QComboBox>(p, m, QLatin1String(m.listBox))) {
                list->clear();
                list->addItems(m.listItems());
                list->setCurrentIndex(-1);
            }
        }
        for (const longreply::RecordFill& f : m.fills) fill(frame, f, rec.value(f.field));
    });
}

void ReadReplyLong(Program& p, const LongModel& m) {
    MorlaState& s = p.s;
    ReadReplySteps(p, info(m), [&](const QString& map) {
        const layout::Layout& l = m.layout(s.FirmwareCode);
        layout::Values v = layout::Decode(l, map);
        const QString options = v.take(QLatin1String(longreply::kOptions));
        p.main->MorTexBan->setText(options.left(6));
        const QString trunk = options.mid(6, 1);
        if (auto* check = child<QCheckBox>(p, m, QLatin1String(m.trunkBox)))
            check->setChecked(trunk == QStringLiteral("1"));
        s.*m.trunkState = trunk;
        const QString key = v.take(QStringLiteral("MorTexResCla"));
        // A sent frame lacks the data text's last fields (Kovalindre keys 22 to 25): their
        // boxes keep what they show.
        if (s.ShowingSentFrame)
            for (const layout::Field& f : l.fields)
                if (!f.places.empty() && f.places.back() > l.carriedTo()) v.remove(f.control);
        ShowValues(p, l, v);
        p.main->MorTexResCla->setText(key);
        if (m.afterDecode) m.afterDecode(p);
    });
}

void BuildFrameLong(Program& p, const LongModel& m) {
    MorlaState& s = p.s;
    const ModelInfo& model = info(m);
    s.SendData.clear();
    ValidateKey(p, 4);
    const layout::Layout& l = m.layout(s.FirmwareCode);
    layout::Values v = PanelValues(p, l);
    const QString options = QLatin1String(longreply::kOptions);
    v[options] = longreply::OptionsValue(v.value(options), s.*m.trunkState);
    const QString classCode = InstallationClassCode(InstallationClass(p));
    const QString map = layout::WrittenMap(
        l, longreply::Header(model, p.main->MorTexResFirm->text(), classCode, s.InstallationCode),
        v);
    s.SendData = layout::DataText(l, map);
    s.SendFrame = layout::Frame(l, map, !classCode.isEmpty());
    s.Monitor.MorTexMon02.set(s.SendFrame);
    s.SendMask = QString(model.replyLength, '1');
}

void CompleteSendLong(Program& p, const LongModel& m) {
    MorlaState& s = p.s;
    if (s.CommandNumber == QStringLiteral("10")) {
        // The key box holds the new key by now; the device still knows the previous one.
        s.CommandString = m.keyChange(s, p.main->MorTexResCla->text());
        return;
    }
    const longreply::Command* c = longreply::FindCommand(m.commands, s.CommandNumber);
    if (!c) return;
    const QString v = longreply::CommandValueText(*c, s.CommandValue);
    const QString index = longreply::CommandIndexText(*c, s.CommandIndex);
    if (c->indexAdd != 0) s.CommandIndex = index;
    if (c->value != longreply::Value::None) s.SendData = v;
    if (s.KeyStatus != QStringLiteral("Activado")) return;
    s.CommandString = longreply::CommandText(*c, s.CommandSeparator, p.main->MorTexResCla->text(),
                                             index, v, QString::fromLatin1(m.commandSuffix));
    // The device now holds this trunk state; a later whole write keeps it.
    if (c->number == 11) s.*m.trunkState = v == QStringLiteral("9") ? "1" : "0";
}

QGroupBox* NamedGroup(QWidget* parent, const char* name, const QString& title) {
    auto* g = new QGroupBox(title, parent);
    g->setObjectName(QLatin1String(name));
    return g;
}

QLabel* NamedLabel(QWidget* parent, const QString& name, const QString& caption) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    // Long captions wrap beside their boxes; short ones ("Clave #02") stay on one line.
    l->setWordWrap(caption.size() > 12);
    return l;
}

QLineEdit* NamedBox(QWidget* parent, const QString& name, int maxLength) {
    auto* b = new QLineEdit(parent);
    b->setObjectName(name);
    b->setMaxLength(maxLength);
    return b;
}

QCheckBox* NamedCheck(QWidget* parent, const QString& name, const QString& caption) {
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(name);
    return c;
}

QLineEdit* LabelledBox(QGridLayout* grid, int row, int column, const QString& labelName,
                       const QString& caption, const QString& boxName, int maxLength) {
    QWidget* parent = grid->parentWidget();
    grid->addWidget(NamedLabel(parent, labelName, caption), row, column);
    QLineEdit* box = NamedBox(parent, boxName, maxLength);
    grid->addWidget(box, row, column + 1);
    return box;
}

QString KeyCaption(int key) {
    return QStringLiteral("Clave #%1").arg(key, 2, 10, QLatin1Char('0'));
}

QLabel* PanelTitle(QWidget* parent, const char* name, const QString& caption) {
    auto* title = new QLabel(caption, parent);
    title->setObjectName(QLatin1String(name));
    QFont f = title->font();
    f.setPointSize(14);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignHCenter);
    return title;
}

}  // namespace morla
