#include "gui/fields/fieldrules.h"

#include <QLineEdit>

#include "core/fields/rules.h"
#include "gui/main/program.h"

namespace morla {

namespace {

constexpr char kBound[] = "morlaFieldRule";
constexpr char kJudging[] = "morlaJudging";

void bindFlags(Program& p, QLineEdit* box) {
    // The flags box sets the nine restriction boxes, also when the program writes it.
    QObject::connect(box, &QLineEdit::textChanged, box, [&p](const QString& text) {
        const std::array<bool, 9> ticks = fields::RestrictionTicks(text);
        for (int k = 0; k < 9; ++k) p.main->MorChkRes[k]->setChecked(ticks[k]);
    });
}

}  // namespace

int ElementNumber(const QString& name) {
    if (name.size() < 3) return -1;
    const QChar tens = name[name.size() - 2];
    const QChar units = name[name.size() - 1];
    auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    if (!digit(tens) || !digit(units)) return -1;
    return (tens.unicode() - '0') * 10 + (units.unicode() - '0');
}

void BindBoxRule(Program& p, QLineEdit* box, const fields::BoxRule& rule) {
    if (box->property(kBound).toBool()) return;
    box->setProperty(kBound, true);
    if (rule.maxLength > 0) box->setMaxLength(rule.maxLength);
    if (rule.rule == fields::Rule::Flags) {
        bindFlags(p, box);
        return;
    }
    QObject::connect(box, &QLineEdit::textChanged, box, [&p, box, &rule](const QString& text) {
        // Our own repairs change the text too; they are judged in Judge already.
        if (box->property(kJudging).toBool()) return;
        const QVector<fields::Repair> repairs = fields::Judge(rule, text, {p.s.ModelCode});
        if (repairs.isEmpty()) return;
        box->setProperty(kJudging, true);
        for (const fields::Repair& r : repairs) {
            if (!r.message.isEmpty()) p.msg.info(r.message, r.title);
            const QString before = box->text();
            const int caret = box->cursorPosition();
            box->setText(r.text);
            box->setCursorPosition(fields::CaretAfterRepair(before, r.text, caret));
        }
        box->setProperty(kJudging, false);
    });
}

void BindFieldRules(Program& p, QWidget* root) {
    for (QLineEdit* box : root->findChildren<QLineEdit*>()) {
        const QString name = box->objectName();
        if (const fields::BoxRule* rule = fields::FindBoxRule(name); rule && rule->elements == 0) {
            BindBoxRule(p, box, *rule);
            continue;
        }
        const int k = ElementNumber(name);
        if (k < 0) continue;
        const fields::BoxRule* array = fields::FindBoxRule(name.chopped(2));
        if (array && array->elements != 0) BindBoxRule(p, box, *array);
    }
}

}  // namespace morla
