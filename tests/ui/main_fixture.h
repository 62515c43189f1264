#pragma once
// A main window driven through its real views and editors, with message boxes, the input
// box and the window's dialogs answered by the scripted platform.

#include <gtest/gtest.h>
#include <memory>

#include "ui_events.h"
#include "model/ProjectRecord.h"
#include "ui/CalculationCommand.h"
#include "ui/FileCommands.h"
#include "ui/Platform.h"
#include "ui/StretchTable.h"
#include "ui/TrainTable.h"
#include "ui/main.h"

class MainWindowTest : public ::testing::Test {
protected:
    ScopedScriptedPlatform plat;
    std::unique_ptr<TForm_Skenbrus> form;

    void SetUp() override
    {
        form = std::make_unique<TForm_Skenbrus>();
        form->show();
        QApplication::setActiveWindow(form.get());
        (void)QTest::qWaitForWindowActive(form.get());
    }
    void TearDown() override
    {
        // An answer left over would run on a later dialog, with this test's variables gone.
        EXPECT_TRUE(plat->dialogAnswers.empty()) << "dialog answers left unused";
        plat->dialogAnswers.clear();
        form.reset();
    }

    ProjectRecord& r() { return form->record(); }
    GridView* trains() { return form->OvcTable_TagTyp(); }
    GridView* stretches() { return form->OvcTable_DelStrackor(); }
    QWidget* editor(GridView* v) { return v->cellDelegate()->editor(); }
    QString shown(GridView* v, int row, int col) { return v->model()->index(row - 1, col - 1).data().toString(); }
    QString lastMessage() { return plat->messages.empty() ? QString() : plat->messages.back().text; }
    QString status() { return form->Edit_Status()->text(); }
    // Controls, menus and menu items of the window by their object names.
    template <class T> T* named(const char* name) { return form->findChild<T*>(QString::fromLatin1(name)); }
    QAction* item(const char* name) { return named<QAction>(name); }
    QMenu* menu(const char* name) { return named<QMenu>(name); }
    // The next dialog the window runs goes to f, which works it as a user would and returns its result.
    void answerDialog(std::function<int(QDialog&)> f) { plat->dialogAnswers.push_back(std::move(f)); }

    void showPage(GridView* v)
    {
        form->PageControl()->setCurrentWidget(v == trains() ? form->PageControl_TagInfo() : form->PageControl_Delstrackor());
        v->setFocus();
    }
    // Opens the editor of a cell with F2.
    QWidget* open(GridView* v, int row, int col)
    {
        showPage(v);
        v->setCurrentCell(row, col);
        QTest::keyClick(v, Qt::Key_F2);
        return editor(v);
    }
    // Types text into a cell and finishes with the given key.
    void type(GridView* v, int row, int col, const QString& text, Qt::Key finish = Qt::Key_Return)
    {
        auto* e = qobject_cast<QLineEdit*>(open(v, row, col));
        ASSERT_NE(e, nullptr) << "no text editor at row " << row << ", column " << col;
        e->selectAll();
        QTest::keyClicks(e, text);
        QTest::keyClick(e, finish);
    }
    // Picks a list entry by typing its first characters into the open list.
    void choose(GridView* v, int row, int col, const QString& keys)
    {
        auto* c = qobject_cast<QComboBox*>(open(v, row, col));
        ASSERT_NE(c, nullptr) << "no list at row " << row << ", column " << col;
        QTest::keyClicks(c, keys);
    }
    // Picks a list entry with the mouse: a double click on the cell drops the list, a click on
    // the entry in the real pop-up chooses it.
    void chooseIndex(GridView* v, int row, int col, int index)
    {
        showPage(v);
        v->setCurrentCell(row, col);
        const QPoint at = v->visualRect(v->model()->index(row - 1, col - 1)).center();
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, at);  // a double click begins with a click
        QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, at);
        auto* c = qobject_cast<QComboBox*>(editor(v));
        ASSERT_TRUE(c && c->view()->isVisible() && index < c->count()) << "no list dropped at " << row << ", " << col;
        clickInList(c, index);
    }
    // A key to the cell's open editor, else to the table.
    void key(GridView* v, int k, Qt::KeyboardModifiers m = {})
    {
        QTest::keyClick(editor(v) ? editor(v) : static_cast<QWidget*>(v), static_cast<Qt::Key>(k), m);
    }
    // One train on track 1 and one straight stretch 45 m away: the smallest complete project.
    void fillCompleteProject()
    {
        type(trains(), 1, 1, "3000");
        type(trains(), 2, 1, "200");
        type(trains(), 3, 1, "120");
        type(stretches(), 6, 1, "45");
        ASSERT_TRUE(firstMissingInput(r()).complete());
    }
    void calculate() { QTest::mouseClick(form->Button_Berakning(), Qt::LeftButton); }
    // That project, calculated: the results are current.
    void calculateComplete()
    {
        fillCompleteProject();
        calculate();
        ASSERT_TRUE(form->resultsCurrent());
    }
    bool resultsShown() { return form->PageControl()->isTabVisible(form->PageControl()->indexOf(form->Pagecontrol_Resultat())); }
    void addTrains(int n) { while (n-- > 0) form->OvcSpinner1UpClick(); }
    void addStretches(int n) { while (n-- > 0) form->OvcSpinner2UpClick(); }
};

// ---------------------------------------------------------------------------------------
// Cross-section helpers, and typing into any grid as a user does.

#include <vector>

#include "ui/TableGrid.h"

// Straight stretch s with the break points (distance, height); the first is "SM", the last
// "MT" at the perpendicular distance.
inline void setProfile(ProjectRecord& r, std::initializer_list<std::pair<float, float>> points, int s = 1)
{
    int p = 0;
    for (auto [d, h] : points) {
        ++p;
        r.bpDistance[s][p] = d;
        r.bpHeight[s][p] = h;
        r.bpLabel[s][p].setBytes("BP");
    }
    r.bpLabel[s][1].setBytes("SM");
    r.bpLabel[s][p].setBytes("MT");
    r.bpCount[s] = p;
    r.perpDistance[s] = r.bpDistance[s][p];
}
// The distances or heights of the points 1..bpCount of stretch s.
inline std::vector<float> pointDistances(const ProjectRecord& r, int s = 1)
{
    return std::vector<float>(r.bpDistance[s].begin(), r.bpDistance[s].begin() + r.bpCount[s]);
}
inline std::vector<float> pointHeights(const ProjectRecord& r, int s = 1)
{
    return std::vector<float>(r.bpHeight[s].begin(), r.bpHeight[s].begin() + r.bpCount[s]);
}
// Types text into a cell of a grid as a user does: the first key, sent to the grid, opens the editor.
// Returns the open editor (nullptr when the edit did not start).
inline QLineEdit* typeInGrid(GridView* t, int row, int col, const QString& text)
{
    t->setCurrentCell(row, col);
    QTest::keyClicks(t, text.left(1));
    auto* e = qobject_cast<QLineEdit*>(t->cellDelegate()->editor());
    if (e) QTest::keyClicks(e, text.mid(1));
    return e;
}
// The same, finished with Enter; false when the edit did not start.
inline bool enterInGrid(GridView* t, int row, int col, const QString& text)
{
    QLineEdit* e = typeInGrid(t, row, col, text);
    if (e) QTest::keyClick(e, Qt::Key_Return);
    return e != nullptr;
}
