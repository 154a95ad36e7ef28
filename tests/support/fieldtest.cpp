#include "support/fieldtest.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "gui/fields/fieldrules.h"

namespace morla::fieldtest {

QStringList Shown(const RecordedMessages& msgs) {
    QStringList out;
    for (const RecordedMessages::Shown& s : msgs.shown)
        out << s.title + QStringLiteral(": ") + s.text;
    return out;
}

Panel::Panel() {
    setObjectName(QStringLiteral("testPanel"));
    new QVBoxLayout(this);
}

QLineEdit* Panel::box(const QString& name) {
    if (auto* existing = findChild<QLineEdit*>(name)) return existing;
    return add(new QLineEdit(this), name);
}

QCheckBox* Panel::check(const QString& name) {
    if (auto* existing = findChild<QCheckBox*>(name)) return existing;
    return add(new QCheckBox(name, this), name);
}

void Panel::place(QWidget* w) {
    layout()->addWidget(w);
}

Bench::~Bench() {
    p.main->mnuComando->hide();
}

QLineEdit* Bench::box(const QString& name) {
    if (name == QLatin1String("MorTexResCla")) return p.main->MorTexResCla;
    if (name == QLatin1String("MorTexBan")) return p.main->MorTexBan;
    QLineEdit* b = panel.box(name);
    BindFieldRules(p, &panel);
    return b;
}

QString Bench::ticks() const {
    QString out;
    for (QCheckBox* c : p.main->MorChkRes) out += c->isChecked() ? '1' : '0';
    return out;
}

bool Bench::show() {
    p.main->show();
    panel.show();
    return QTest::qWaitForWindowExposed(p.main.get()) && QTest::qWaitForWindowExposed(&panel);
}

bool Bench::menuShown() const {
    return p.main->mnuComando->isVisible();
}

void Bench::closeMenu() {
    p.main->mnuComando->hide();
    QCoreApplication::processEvents();
}

QString Element(const QString& array, int k) {
    return array + QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
}

}  // namespace morla::fieldtest
