#include "gui/panels/layoutbinding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "gui/main/program.h"

namespace morla {

layout::Values PanelValues(Program& p, const layout::Layout& l) {
    layout::Values out;
    for (const layout::Field& f : l.fields) {
        if (f.control.isEmpty()) continue;
        QWidget* w = p.main->findChild<QWidget*>(f.control);
        if (auto* box = qobject_cast<QLineEdit*>(w))
            out[f.control] = box->text();
        else if (auto* check = qobject_cast<QCheckBox*>(w))
            out[f.control] = check->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        else if (auto* list = qobject_cast<QComboBox*>(w))
            out[f.control] = list->currentText();
    }
    return out;
}

void ShowValues(Program& p, const layout::Layout& l, const layout::Values& values) {
    for (const layout::Field& f : l.fields) {
        if (f.control.isEmpty() || !values.contains(f.control)) continue;
        const QString value = values.value(f.control);
        QWidget* w = p.main->findChild<QWidget*>(f.control);
        if (auto* box = qobject_cast<QLineEdit*>(w))
            box->setText(value);
        else if (auto* check = qobject_cast<QCheckBox*>(w))
            check->setChecked(value == QStringLiteral("1"));
        else if (auto* list = qobject_cast<QComboBox*>(w))
            list->setCurrentIndex(list->findText(value, Qt::MatchExactly));
    }
}

void BuildFrameFromLayout(Program& p, const ModelInfo& m, const layout::Layout& l) {
    MorlaState& s = p.s;
    const QString classCode = InstallationClassCode(InstallationClass(p));
    const QString map = layout::WrittenMap(
        l, layout::Header(m.kind(), p.main->MorTexResFirm->text(), classCode, s.InstallationCode),
        PanelValues(p, l));
    s.SendData = layout::DataText(l, map);
    s.SendFrame = layout::Frame(l, map, !classCode.isEmpty());
    s.Monitor.MorTexMon02.set(s.SendFrame);
    s.SendMask = QString(m.replyLength, '1');
}

}  // namespace morla
