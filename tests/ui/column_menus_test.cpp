// Copy and paste of whole train and stretch columns through the column menus of the
// main window's tables, opened by right presses on the heading cells.

#include <QHeaderView>

#include "main_fixture.h"
#include "ui/ColumnMenus.h"

class ColumnMenusTest : public MainWindowTest {
protected:
    ColumnMenus* menus = nullptr;
    QMenu* shownMenu = nullptr;
    int menusShown = 0;
    int checks = 0;

    void SetUp() override
    {
        MainWindowTest::SetUp();
        // The menus the window installed on its tables, shown without opening them.
        menus = &form->columnMenus();
        menus->showMenu = [this](QMenu* m, const QPoint&) {
            shownMenu = m;
            ++menusShown;
        };
        QObject::connect(form.get(), &TForm_Skenbrus::commandStateChanged, form.get(), [this] { ++checks; });
    }

    // A press on the heading cell of column col (from 1), or at x when given.
    void pressHeading(GridView* v, int col, Qt::MouseButton button = Qt::RightButton, int x = -1)
    {
        // Only the page changes: the focus stays where it is, so a pending edit is still open.
        form->PageControl()->setCurrentWidget(v == trains() ? form->PageControl_TagInfo() : form->PageControl_Delstrackor());
        QHeaderView* h = v->horizontalHeader();
        if (x < 0) x = h->sectionViewportPosition(col - 1) + h->sectionSize(col - 1) / 2;
        QTest::mousePress(h->viewport(), button, Qt::NoModifier, QPoint(x, h->height() / 2));
        QTest::mouseRelease(h->viewport(), button, Qt::NoModifier, QPoint(x, h->height() / 2));
    }

    // Two complete trains on one track: Swedish X2 and a Norwegian type 4.
    void twoTrains()
    {
        addTrains(1);
        r().trainLengthPerDay[1] = 1500, r().maxTrainLength[1] = 250, r().speed[1] = 160;
        r().nationality[1] = 1, r().trainType[1] = 0;
        r().trainLengthPerDay[2] = 900, r().maxTrainLength[2] = 400, r().speed[2] = 80;
        r().nationality[2] = 0, r().trainType[2] = 4;
        form->OvcTable_TagTyp()->gridModel()->refreshAll();
    }
};

TEST_F(ColumnMenusTest, ARightPressOnAHeadingCellOpensTheMenuForThatColumn)
{
    addTrains(2);
    pressHeading(trains(), 3);
    EXPECT_EQ(shownMenu, menus->PopupMenu1);
    EXPECT_EQ(menus->chosenTrain(), 3);
    pressHeading(trains(), 1);
    EXPECT_EQ(menusShown, 2);

    // Left presses and presses right of the last column open nothing.
    pressHeading(trains(), 2, Qt::LeftButton);
    const QHeaderView* h = trains()->horizontalHeader();
    pressHeading(trains(), 0, Qt::RightButton, h->sectionViewportPosition(2) + h->sectionSize(2) + 3);
    EXPECT_EQ(menusShown, 2);
    EXPECT_EQ(menus->chosenTrain(), 1);

    addStretches(3);
    pressHeading(stretches(), 4);
    EXPECT_EQ(shownMenu, menus->PopupMenu2);
    EXPECT_EQ(menus->chosenStretch(), 4);
    EXPECT_EQ(menus->chosenTrain(), 1);
}

TEST_F(ColumnMenusTest, PasteIsOfferedOnlyInTheTableWhoseColumnWasCopied)
{
    // The keys are shown as text only: in the tables Ctrl+C / Ctrl+V belong to the cells.
    EXPECT_EQ((QStringList{menus->PopupMenu1_Kopiera->text(), menus->PopupMenu1_Klistra->text(),
                           menus->PopupMenu2_Kopiera->text(), menus->PopupMenu2_Klistra->text()}),
              (QStringList{"Kopiera kolumn\tCtrl+A", "Klistra in kolumn\tCtrl+B", "Kopiera kolumn\tCtrl+C",
                           "Klistra in kolumn\tCtrl+V"}));
    EXPECT_TRUE(menus->PopupMenu2_Klistra->shortcut().isEmpty());
    EXPECT_FALSE(menus->PopupMenu1_Klistra->isEnabled());
    EXPECT_FALSE(menus->PopupMenu2_Klistra->isEnabled());

    addStretches(1);
    form->document().modified = false;
    pressHeading(trains(), 1);
    menus->PopupMenu1_Kopiera->trigger();
    EXPECT_TRUE(menus->PopupMenu1_Klistra->isEnabled());
    EXPECT_FALSE(menus->PopupMenu2_Klistra->isEnabled());
    // The stretch menu's paste does nothing while a train column is held.
    pressHeading(stretches(), 2);
    const ProjectRecord before = r();
    menus->pasteStretchColumn();
    EXPECT_EQ(r(), before);
    EXPECT_FALSE(form->document().modified);

    menus->PopupMenu2_Kopiera->trigger();
    EXPECT_FALSE(menus->PopupMenu1_Klistra->isEnabled());
    EXPECT_TRUE(menus->PopupMenu2_Klistra->isEnabled());
    menus->pasteTrainColumn();
    EXPECT_EQ(r(), before);
}

TEST_F(ColumnMenusTest, PastingATrainColumnChangesTheProjectAndMarksItModified)
{
    twoTrains();
    // Stretch 1 complete, so the project is complete once train 3 is filled.
    r().perpDistance[1] = 20.0f;
    addTrains(1);
    form->refreshCommandState();
    EXPECT_FALSE(form->Button_Berakning()->isEnabled());
    form->document().modified = false;

    pressHeading(trains(), 2);
    menus->PopupMenu1_Kopiera->trigger();
    pressHeading(trains(), 3);
    const int checksBefore = checks;
    menus->PopupMenu1_Klistra->trigger();

    EXPECT_EQ(r().speed[3], 80);
    EXPECT_EQ(r().trainType[3], 4);
    EXPECT_TRUE(form->document().modified);
    EXPECT_EQ(checks, checksBefore + 1);
    EXPECT_TRUE(form->Button_Berakning()->isEnabled());
    // The table shows the pasted column, its type from the Norwegian list.
    EXPECT_EQ(shown(trains(), 1, 3), "900");
    EXPECT_EQ(shown(trains(), 5, 3), "Norskt");
    EXPECT_EQ(shown(trains(), 4, 3), shown(trains(), 4, 2));
    EXPECT_EQ(r().nationality[1], 1);  // the other train is untouched
}

TEST_F(ColumnMenusTest, PastingAStretchColumnCarriesItsShapeCrossSectionAndScreen)
{
    addStretches(2);
    ProjectRecord& p = r();
    p.track[3] = 2, p.orderInTrack[3] = 1;
    p.shape[1] = 1, p.angleFrom[1] = 0, p.angleTo[1] = 120;
    p.startDistance[1] = 40.0f, p.endDistance[1] = 55.5f, p.radius[1] = 900.0f;
    p.crossSectionOn[1] = 1, p.trackHeight[1] = 0.7f, p.receiverGroundHeight[1] = 1.1f;
    p.screenType[1] = 2, p.screenDistance[1] = 5.0f, p.screenCrestHeight[1] = 3.2f;
    p.bpCount[1] = 3;
    p.bpDistance[1][2] = 5.0f, p.bpHeight[1][2] = 3.2f, p.bpLabel[1][2] = p.bpLabel[1][1];
    p.groundMiddle[1] = 0.35f, p.bankCorrection[1] = 3;
    p.radius[3] = 150.0f;  // an unrelated old radius must not survive the paste
    form->OvcTable_DelStrackor()->gridModel()->refreshAll();
    form->document().modified = false;

    pressHeading(stretches(), 1);
    menus->PopupMenu2_Kopiera->trigger();
    pressHeading(stretches(), 3);
    menus->PopupMenu2_Klistra->trigger();

    // The field by field copy is the clipboard's own test; here: the column arrives, keeps its
    // place on the tracks, and the table shows it.
    EXPECT_EQ(p.radius[3], 900.0f);
    EXPECT_EQ(p.bpHeight[3][2], 3.2f);
    EXPECT_EQ(p.track[3], 2);
    EXPECT_EQ(p.orderInTrack[3], 1);
    EXPECT_TRUE(form->document().modified);
    EXPECT_EQ(shown(stretches(), 3, 3), "Konvex");
    EXPECT_EQ(shown(stretches(), 16, 3), "Ja");
}

TEST_F(ColumnMenusTest, APendingCellEditIsTakenBeforeTheColumnIsCopied)
{
    addTrains(1);
    auto* e = qobject_cast<QLineEdit*>(open(trains(), 3, 1));
    ASSERT_NE(e, nullptr);
    e->selectAll();
    QTest::keyClicks(e, "140");
    pressHeading(trains(), 1);
    EXPECT_EQ(r().speed[1], 140);
    menus->PopupMenu1_Kopiera->trigger();
    pressHeading(trains(), 2);
    menus->PopupMenu1_Klistra->trigger();
    EXPECT_EQ(r().speed[2], 140);
}
