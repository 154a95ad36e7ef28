#include "support/fieldtest.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QVBoxLayout>

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

QString Element(const QString& array, int k) {
    return array + QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
}

}  // namespace morla::fieldtest
