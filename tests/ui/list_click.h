#pragma once
// Chooses an entry of a dropped list as the mouse does: a click on the entry in the list's
// own pop-up view.

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>

inline void clickInList(QComboBox* c, int index)
{
    QAbstractItemView* list = c->view();
    const QPoint item(list->viewport()->width() / 2, list->visualRect(list->model()->index(index, 0)).center().y());
    QTest::mouseMove(list->viewport(), item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item, 50);
}
