#include "models/suite/modelcase.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "gui/main/program.h"

namespace morla::suite {

QStringList Record(const QList<QPair<int, QString>>& fields) {
    QStringList out;
    for (int i = 0; i < 57; ++i) out << QString();
    for (const auto& [number, text] : fields) out[number - 1] = text;
    return out;
}

QString Shown(Program& p, const QString& control, Field::Kind kind) {
    QWidget* w = p.main->findChild<QWidget*>(control);
    if (!w) return QStringLiteral("<missing>");
    if (kind == Field::Caption) {
        if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
        if (auto* group = qobject_cast<QGroupBox*>(w)) return group->title();
        return QStringLiteral("<no caption>");
    }
    if (auto* box = qobject_cast<QLineEdit*>(w)) return box->text();
    if (auto* check = qobject_cast<QCheckBox*>(w))
        return check->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    if (auto* list = qobject_cast<QComboBox*>(w)) return list->currentText();
    return QStringLiteral("<no value>");
}

void Set(Program& p, const QString& control, const QString& value) {
    QWidget* w = p.main->findChild<QWidget*>(control);
    if (auto* box = qobject_cast<QLineEdit*>(w)) box->setText(value);
    if (auto* check = qobject_cast<QCheckBox*>(w)) check->setChecked(value == QStringLiteral("1"));
    if (auto* list = qobject_cast<QComboBox*>(w)) list->setCurrentIndex(list->findText(value));
}

QString Check(int k) {
    return QStringLiteral("MorChkRes%1").arg(k, 2, 10, QLatin1Char('0'));
}

QString Element(const char* array, int k) {
    return QLatin1String(array) + QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
}

Fields RestrictionBoxes(const QString& flags, int used) {
    Fields out;
    for (int k = 1; k <= 9; ++k) out << Field{Check(k), k <= used ? flags.mid(k - 1, 1) : "0"};
    return out;
}

QString RandomDigits(QRandomGenerator& r, int minLength, int maxLength, const QString& alphabet) {
    const int length = minLength + int(r.bounded(maxLength - minLength + 1));
    QString out;
    for (int i = 0; i < length; ++i) out += alphabet.at(int(r.bounded(int(alphabet.size()))));
    return out;
}

QString RandomKey(QRandomGenerator& r, int length) {
    // A key never begins with "0": the key box refuses it.
    return RandomDigits(r, 1, 1, QStringLiteral("123456789")) +
           RandomDigits(r, length - 1, length - 1, QStringLiteral("0123456789"));
}

QString RandomBits(QRandomGenerator& r, int count) {
    return RandomDigits(r, count, count, QStringLiteral("01"));
}

QString Pairs(const QString& text, QChar asA) {
    QString out;
    for (QChar c : text) out += QStringLiteral("0") + (c == asA ? QChar(u'A') : c);
    return out;
}

QString DialAsStored(const QString& frame, const QList<DialRun>& runs) {
    QString out = frame;
    for (const DialRun& run : runs)
        for (int at = run.first; at <= run.last && at <= out.size(); at += run.spaced ? 2 : 1) {
            QChar& c = out[at - 1];
            c = c == u'0' ? u'A' : c == u'*' ? u'B' : c == u'#' ? u'C' : c;
        }
    return out;
}

}  // namespace morla::suite
