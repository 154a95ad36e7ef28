#pragma once
// The start's windows driven as a user drives them.
#include <QAbstractItemView>
#include <QtTest>

#include "app/startflow.h"

namespace morla::test {

inline void TypeLogin(Startup& start, const QString& name, const QString& password) {
    start.login->txtUserName->setText(name);
    start.login->txtPassword->setText(password);
    QTest::mouseClick(start.login->cmdOK, Qt::LeftButton);
}

// Item `index` of the port list, chosen from the open list.
inline void ChoosePort(Startup& start, int index) {
    QComboBox* list = start.portWindow->MorCmbNumPort;
    list->showPopup();
    QAbstractItemView* view = list->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    const QRect item = view->visualRect(view->model()->index(index, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
}

}  // namespace morla::test
