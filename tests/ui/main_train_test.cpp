// The train table, the count spinners and the keyboard of both tables.

#include "main_fixture.h"

using TrainTable = MainWindowTest;

TEST_F(TrainTable, NationalityAndTypeListsByKeyAndMouse)
{
    // A type chosen with the mouse is described in the status line.
    chooseIndex(trains(), 4, 1, 2);
    EXPECT_EQ(status(), QString::fromUtf8("TYP: PassTrä, KLASS: Pass, DRIFT: El, SLIPER: Trä ..."));

    // From Swedish always back to the first type; Norwegian to Swedish keeps an index within
    // the list.
    addTrains(1);
    r().nationality[2] = 0, r().trainType[2] = 2;
    form->showProject();
    choose(trains(), 5, 1, "N");
    choose(trains(), 5, 2, "S");
    EXPECT_EQ((std::vector<int>{r().nationality[1], r().trainType[1], r().nationality[2], r().trainType[2]}),
              (std::vector<int>{0, 0, 1, 2}));
    // Choosing the nationality a train already has keeps its type.
    r().trainType[2] = 5;
    chooseIndex(trains(), 5, 2, 1);
    EXPECT_EQ(r().trainType[2], 5);

    // The type list of a column follows its nationality.
    chooseIndex(trains(), 4, 1, 4);
    EXPECT_EQ(shown(trains(), 4, 1), "BM69");
}

TEST_F(TrainTable, CountSpinnersKeepTheOldSlotsAndGiveNewStretchesTheirTrack)
{
    // A raised train count shows the old slot with the country's nationality.
    addTrains(1);
    type(trains(), 1, 2, "111");
    chooseIndex(trains(), 5, 2, 0);
    chooseIndex(trains(), 4, 2, 4);  // Norwegian BM69
    form->OvcSpinner1DownClick();
    r().country = 2;
    form->document().modified = false;
    form->OvcSpinner1UpClick();
    // (index 4 is beyond the Finnish list)
    EXPECT_EQ(std::tuple(form->document().modified, shown(trains(), 1, 2), shown(trains(), 5, 2), r().trainType[2]),
              std::tuple(true, QString("111"), QString("Finskt"), 0));

    // The count stays within 1..6.
    addTrains(6);
    EXPECT_EQ(r().trainCount, 6);
    for (int i = 0; i < 8; ++i) form->OvcSpinner1DownClick();
    EXPECT_EQ(r().trainCount, 1);

    // A new stretch follows the track of the last one.
    addStretches(1);
    choose(stretches(), 1, 2, "2");
    addStretches(1);
    EXPECT_EQ(std::tuple(r().track[3], r().orderInTrack[3], trains()->model()->rowCount()), std::tuple(2, 2, 7));

    // Removing the last stretch of track 2 removes its row in the train table; the cursor
    // moves left out of the removed column.
    stretches()->setCurrentCell(1, 3);
    form->OvcSpinner2DownClick();
    form->OvcSpinner2DownClick();
    EXPECT_EQ(std::tuple(stretches()->currentColumn(), form->activeStretch(), trains()->model()->rowCount()),
              std::tuple(1, 1, 6));
}

TEST_F(TrainTable, EnterMovesDownAndWrapsAndTypingReplacesTheValue)
{
    // A digit typed on a cell starts a new value, Enter stores it and moves down; a letter
    // opens the cell but never reaches an integer cell.
    showPage(trains());
    QTest::keyClick(typeInGrid(trains(), 3, 1, "120"), Qt::Key_Return);
    EXPECT_EQ(std::pair(r().speed[1], trains()->currentRow()), std::pair(120, 4));
    QLineEdit* e = typeInGrid(trains(), 3, 1, "X");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->text(), "120");
    QTest::keyClick(e, Qt::Key_Escape);
    // Either Enter key on the last row wraps to the first.
    for (const auto& [v, last, k] : {std::tuple(trains(), 6, Qt::Key_Return), std::tuple(stretches(), 16, Qt::Key_Enter)}) {
        showPage(v);
        v->setCurrentCell(last, 1);
        QTest::keyClick(v, k);
        EXPECT_EQ(v->currentRow(), 1);
    }
}

TEST_F(TrainTable, CellClipboardCopiesAndPastesThroughTheChecks)
{
    const auto ctrl = [&](GridView* v, int row, int col, Qt::Key k) {
        showPage(v);
        v->setCurrentCell(row, col);
        QTest::keyClick(v, k, Qt::ControlModifier);
    };
    addTrains(1);
    type(trains(), 1, 1, "6000");
    ctrl(trains(), 1, 1, Qt::Key_C);
    form->document().modified = false;
    ctrl(trains(), 3, 2, Qt::Key_V);
    EXPECT_EQ(std::pair(r().speed[2], form->document().modified), std::pair(6000, true));
    ctrl(trains(), 4, 2, Qt::Key_V);  // rows without a clipboard take nothing
    EXPECT_EQ(r().trainType[2], 0);

    // The integer clipboard is shared with the angle rows, and a paste is checked like typing.
    ctrl(stretches(), 4, 1, Qt::Key_V);
    EXPECT_EQ(std::tuple(lastMessage(), editor(stretches()) != nullptr, r().angleFrom[1]),
              std::tuple(QString("Felaktigt värde (0-180) ..."), true, 0));
    key(stretches(), Qt::Key_Escape);
    // Real rows: copy the distance, paste it as receiver height.
    type(stretches(), 6, 1, "60.5");
    ctrl(stretches(), 6, 1, Qt::Key_C);
    ctrl(stretches(), 10, 1, Qt::Key_V);
    EXPECT_FLOAT_EQ(r().receiverHeight[1], 60.5f);

    // Ctrl+V inside an open editor accepts the pasted value at once.
    ASSERT_NE(open(stretches(), 5, 1), nullptr);
    form->cellClipboardInt = 120;
    key(stretches(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(std::pair(r().angleTo[1], editor(stretches()) == nullptr), std::pair(120, true));
}

TEST_F(TrainTable, ClickAnywhereOrSpaceInATrackCellTogglesItOnce)
{
    showPage(trains());
    trains()->setCurrentCell(6, 1);
    const QRect cell = trains()->visualRect(trains()->model()->index(5, 0));
    QTest::mouseClick(trains()->viewport(), Qt::LeftButton, {}, cell.topLeft() + QPoint(3, 3));
    EXPECT_EQ(std::tuple(r().runsOnTrack[1][1], form->document().modified, form->Button_Berakning()->isEnabled()),
              std::tuple(0, true, false));
    QTest::keyClick(trains(), Qt::Key_Space);
    EXPECT_EQ(r().runsOnTrack[1][1], 1);
}
