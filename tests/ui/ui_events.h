#pragma once
// Helpers that act as a user does where a test cannot call on: a control by its name, a click in
// a dropped list or an open pop-up menu, and answering the next modal dialog from inside its loop.

#include <QTest>
#include <QtWidgets>
#include <functional>

// A control of a window by its object name.
template <class T> T* child(const QObject* window, const char* name) { return window->findChild<T*>(QString::fromLatin1(name)); }
// Clicks a dialog's button with the mouse; returns the dialog's result.
inline int clickButton(QDialog& d, const char* name) { return QTest::mouseClick(child<QPushButton>(&d, name), Qt::LeftButton), d.result(); }

// Chooses an entry of a dropped list with the mouse.
inline void clickInList(QComboBox* c, int index)
{
    QAbstractItemView* list = c->view();
    const QPoint item(list->viewport()->width() / 2, list->visualRect(list->model()->index(index, 0)).center().y());
    QTest::mouseMove(list->viewport(), item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item, 50);
}

// Chooses the item of an open pop-up menu with the mouse; false when the menu is not open.
inline bool clickMenuItem(QMenu* m, const char* item)
{
    auto* a = m->findChild<QAction*>(QString::fromLatin1(item));
    if (!a || QApplication::activePopupWidget() != m) return false;
    QTest::mouseClick(m, Qt::LeftButton, {}, m->actionGeometry(a).center());
    return true;
}

// Runs f on the next modal dialog that comes up (polled from the event loop).
inline void onNextModal(std::function<void(QWidget*)> f)
{
    auto* t = new QTimer;
    QObject::connect(t, &QTimer::timeout, [t, f] {
        if (QWidget* w = QApplication::activeModalWidget()) t->stop(), t->deleteLater(), f(w);
    });
    t->start(10);
}
