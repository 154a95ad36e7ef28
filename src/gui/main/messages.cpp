#include "gui/main/messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace morla {

Answer DialogMessages::show(const QString& text, const QString& title, Buttons buttons) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    box.setIcon(buttons == Buttons::Ok ? QMessageBox::Information : QMessageBox::Question);
    QPushButton* first = nullptr;
    QPushButton* second = nullptr;
    switch (buttons) {
        case Buttons::Ok:
            first = box.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
            break;
        case Buttons::YesNo:
        case Buttons::YesNoDefaultNo:
            first = box.addButton(QStringLiteral("Sí"), QMessageBox::YesRole);
            second = box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
            break;
        case Buttons::OkCancel:
            first = box.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
            second = box.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
            break;
    }
    box.setDefaultButton(buttons == Buttons::YesNoDefaultNo ? second : first);
    if (second) box.setEscapeButton(second);
    box.exec();
    const bool firstChosen = box.clickedButton() == first;
    switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
        case Buttons::YesNoDefaultNo:
            return firstChosen ? Answer::Yes : Answer::No;
        case Buttons::OkCancel:
            return firstChosen ? Answer::Ok : Answer::Cancel;
    }
    return Answer::Ok;
}

Answer RecordedMessages::show(const QString& text, const QString& title, Buttons buttons) {
    shown.append({text, title, buttons});
    if (!answers.isEmpty()) return answers.takeFirst();
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoDefaultNo ? Answer::Yes
                                                                           : Answer::Ok;
}

QStringList RecordedMessages::texts() const {
    QStringList out;
    for (const Shown& s : shown) out << s.text;
    return out;
}

}  // namespace morla
