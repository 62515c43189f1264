// Copy and paste of whole train and stretch columns through the column menus of the
// main window's tables: right presses on the heading cells, clicks on the menu items.

#include "main_fixture.h"
#include "ui/ColumnMenus.h"

class ColumnMenusTest : public MainWindowTest {
protected:
    ColumnMenus& menus() { return form->columnMenus(); }

    // A press on the heading cell of column col (from 1), or at x; the menu that opened, or null.
    QMenu* pressHeading(GridView* v, int col, Qt::MouseButton button = Qt::RightButton, int x = -1)
    {
        // Only the page changes: the focus stays where it is, so a pending edit is still open.
        form->PageControl()->setCurrentWidget(v == trains() ? form->PageControl_TagInfo() : form->PageControl_Delstrackor());
        QHeaderView* h = v->horizontalHeader();
        if (x < 0) x = h->sectionViewportPosition(col - 1) + h->sectionSize(col - 1) / 2;
        QTest::mouseClick(h->viewport(), button, {}, QPoint(x, h->height() / 2));
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }
    // The menu item `item` of the menu over column col, clicked; false when it was not there.
    bool chooseInColumn(GridView* v, int col, const char* item)
    {
        QMenu* m = pressHeading(v, col);
        return m && clickMenuItem(m, item) && !QApplication::activePopupWidget();
    }
    std::pair<bool, bool> pasteOffered() { return {item("PopupMenu1_Klistra")->isEnabled(), item("PopupMenu2_Klistra")->isEnabled()}; }
};

TEST_F(ColumnMenusTest, ARightPressOnAHeadingOpensTheMenuOfThatColumnWithPasteWhereACopyIs)
{
    addTrains(2);
    QMenu* m = pressHeading(trains(), 3);
    ASSERT_EQ(m, menu("PopupMenu1"));
    EXPECT_EQ(menus().chosenTrain(), 3);
    // The keys are shown as text only: in the tables Ctrl+C / Ctrl+V belong to the cells.
    EXPECT_EQ(std::pair(item("PopupMenu1_Klistra")->text(), item("PopupMenu2_Klistra")->shortcut().isEmpty()),
              std::pair(QString("Klistra in kolumn\tCtrl+B"), true));
    m->close();
    // Left presses and presses right of the last column open nothing.
    EXPECT_EQ(pressHeading(trains(), 2, Qt::LeftButton), nullptr);
    const QHeaderView* h = trains()->horizontalHeader();
    EXPECT_EQ(pressHeading(trains(), 0, Qt::RightButton, h->sectionViewportPosition(2) + h->sectionSize(2) + 3), nullptr);
    EXPECT_EQ(menus().chosenTrain(), 3);

    // Paste is offered only in the table whose column was copied; the other's does nothing.
    addStretches(1);
    form->document().modified = false;
    EXPECT_EQ(pasteOffered(), std::pair(false, false));
    ASSERT_TRUE(chooseInColumn(trains(), 1, "PopupMenu1_Kopiera"));
    EXPECT_EQ(pasteOffered(), std::pair(true, false));
    m = pressHeading(stretches(), 2);
    EXPECT_EQ(std::pair(m, menus().chosenStretch()), std::pair(menu("PopupMenu2"), 2));
    m->close();
    const ProjectRecord before = r();
    menus().pasteStretchColumn();
    EXPECT_TRUE(r() == before && !form->document().modified);
    ASSERT_TRUE(chooseInColumn(stretches(), 2, "PopupMenu2_Kopiera"));
    EXPECT_EQ(pasteOffered(), std::pair(false, true));
    menus().pasteTrainColumn();
    EXPECT_EQ(r(), before);
}

TEST_F(ColumnMenusTest, APastedColumnChangesTheProjectShowsInTheTableAndRunsTheCheck)
{
    // Two complete trains on one track, Swedish X2 and a Norwegian type 4, and a complete
    // stretch: the project is complete once a third train is filled.
    addTrains(2);
    r().trainLengthPerDay[1] = 1500, r().maxTrainLength[1] = 250, r().speed[1] = 160;
    r().nationality[1] = 1, r().trainType[1] = 0;
    r().trainLengthPerDay[2] = 900, r().maxTrainLength[2] = 400, r().speed[2] = 80;
    r().nationality[2] = 0, r().trainType[2] = 4;
    r().perpDistance[1] = 20.0f;
    form->showProject();
    EXPECT_FALSE(form->Button_Berakning()->isEnabled());
    form->document().modified = false;

    // A value typed but not yet entered is taken before the column is copied.
    showPage(trains());
    ASSERT_NE(typeInGrid(trains(), 3, 2, "90"), nullptr);
    ASSERT_TRUE(chooseInColumn(trains(), 2, "PopupMenu1_Kopiera"));
    EXPECT_EQ(r().speed[2], 90);
    ASSERT_TRUE(chooseInColumn(trains(), 3, "PopupMenu1_Klistra"));

    EXPECT_EQ(std::tuple(r().speed[3], r().trainType[3], form->document().modified, form->Button_Berakning()->isEnabled()),
              std::tuple(90, 4, true, true));
    // The table shows the pasted column, its type from the Norwegian list; the other train is untouched.
    EXPECT_EQ(std::tuple(shown(trains(), 1, 3), shown(trains(), 5, 3), r().nationality[1]), std::tuple("900", "Norskt", 1));

    // A stretch column arrives with its cross-section and screen and keeps its place on the
    // tracks (the field by field copy is the clipboard's own test).
    addStretches(2);
    ProjectRecord& p = r();
    p.track[3] = 2, p.orderInTrack[3] = 1;
    p.shape[1] = 1, p.radius[1] = 900.0f, p.crossSectionOn[1] = 1, p.screenType[1] = 2;
    p.bpCount[1] = 3, p.bpDistance[1][2] = 5.0f, p.bpHeight[1][2] = 3.2f, p.bpLabel[1][2] = p.bpLabel[1][1];
    p.radius[3] = 150.0f;  // an old radius is replaced
    form->showProject();
    form->document().modified = false;

    ASSERT_TRUE(chooseInColumn(stretches(), 1, "PopupMenu2_Kopiera"));
    ASSERT_TRUE(chooseInColumn(stretches(), 3, "PopupMenu2_Klistra"));
    EXPECT_EQ(std::tuple(p.radius[3], p.bpHeight[3][2], p.screenType[3]), std::tuple(900.0f, 3.2f, 2));
    EXPECT_EQ(std::tuple(p.track[3], p.orderInTrack[3], form->document().modified, shown(stretches(), 3, 3),
                         shown(stretches(), 16, 3)),
              std::tuple(2, 1, true, "Konvex", "Ja"));
}
