// The page "&Situationsplan": drawn from the stretch table as it is edited, zoomed, moved and
// used to find a stretch's column.

#include "main_fixture.h"

#include <QImage>
#include <QWheelEvent>
#include <cmath>
#include <numbers>

#include "ui/SitePlanPage.h"

namespace {
class SitePlanPageTest : public MainWindowTest {
protected:
    SitePlanPage* page() { return form->sitePlanPage(); }
    QRectF area() { return QRectF(page()->rect()); }
    void showPlan()
    {
        QTest::keyClick(form.get(), Qt::Key_S, Qt::AltModifier);
        QApplication::processEvents();
    }
    // The drawn colour at a plan point (the track line is 2.5 pt wide).
    QColor colourAt(const QImage& shot, const SitePlanView& view, PlanPoint p)
    {
        return shot.pixelColor(planToDevice(view, area(), p).toPoint());
    }
};
}  // namespace

TEST_F(SitePlanPageTest, FollowsTheTableZoomsMovesAndFindsTheColumn)
{
    // Alt+S shows the plan; on the results page Alt+S stays with "&Skrivare".
    QTabWidget* pages = form->PageControl();
    const int at = pages->indexOf(page());
    pages->setTabVisible(pages->indexOf(form->Pagecontrol_Resultat()), true);
    pages->setCurrentWidget(form->Pagecontrol_Resultat());
    EXPECT_EQ(pages->tabText(at), "Situationsplan");
    pages->setCurrentWidget(form->PageControl_TagInfo());
    EXPECT_EQ(pages->tabText(at), "&Situationsplan");

    showPlan();
    ASSERT_EQ(pages->currentWidget(), page());
    EXPECT_EQ(std::pair(status(), pages->property("helpContext").toInt()), std::pair(QString("Delsträcka 1 saknar geometri"), 90));

    // Typed in the table: 40 m, 30..150°.
    type(stretches(), 6, 1, "40");
    type(stretches(), 4, 1, "30");
    type(stretches(), 5, 1, "150");
    showPlan();
    ASSERT_EQ(page()->plan().stretches.size(), 1u);
    const PlanPoint oldStart = page()->plan().stretches[0].line.front();
    const QImage before = page()->grab().toImage();
    const SitePlanView view = page()->view();
    EXPECT_EQ(colourAt(before, view, {-20.0, 40.0}), sitePlanTrackColour(1));

    // Moving the start angle to 80° shortens the drawn stretch on that side.
    type(stretches(), 4, 1, "80");
    showPlan();
    const PlanPoint newStart = page()->plan().stretches[0].line.front();
    const PlanPoint gone{(oldStart.x + newStart.x) / 2.0, 40.0};  // on the old line, off the new one
    EXPECT_EQ(colourAt(before, view, gone), sitePlanTrackColour(1));
    EXPECT_NE(colourAt(page()->grab().toImage(), page()->view(), gone), sitePlanTrackColour(1));
    EXPECT_FALSE(status().contains("saknar"));

    // A second stretch at 60 m; the wheel zooms about the cursor, a drag moves the plan.
    addStretches(1);
    type(stretches(), 6, 2, "60");
    type(stretches(), 4, 2, "40");
    showPlan();
    const SitePlanView fitted = page()->view();

    const QPointF cursor(page()->width() * 0.3, page()->height() * 0.6);
    const PlanPoint under = deviceToPlan(page()->view(), area(), cursor);
    QWheelEvent wheel(cursor, page()->mapToGlobal(cursor), QPoint(), QPoint(0, 240), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(page(), &wheel);
    EXPECT_NEAR(page()->view().scale, fitted.scale * 1.5625, 1e-9);
    const PlanPoint still = deviceToPlan(page()->view(), area(), cursor);
    EXPECT_LT(std::hypot(still.x - under.x, still.y - under.y), 1e-6);

    const PlanPoint centre = page()->view().centre;
    QTest::mousePress(page(), Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(page(), QPoint(150, 80));
    QTest::mouseRelease(page(), Qt::LeftButton, {}, QPoint(150, 80));
    const double scale = page()->view().scale;
    EXPECT_LT(std::hypot(page()->view().centre.x - centre.x + 50 / scale, page()->view().centre.y - centre.y + 20 / scale), 1e-6);
    // An edit keeps the user's view; Home fits the plan again.
    type(stretches(), 5, 2, "170");
    showPlan();
    EXPECT_NE(page()->view().scale, fitted.scale);
    QTest::keyClick(page(), Qt::Key_Home);
    EXPECT_EQ(page()->view().scale, fitSitePlan(page()->plan(), area()).scale);

    // Stretch 2 lies at 60 m; double-clicking its line selects its column.
    const QPointF onTwo = planToDevice(page()->view(), area(), {-60.0 / std::tan(std::numbers::pi * 100 / 180), 60.0});
    QTest::mouseDClick(page(), Qt::LeftButton, {}, onTwo.toPoint());
    EXPECT_EQ(std::tuple(form->PageControl()->currentWidget(), stretches()->currentColumn(), form->activeStretch()),
              std::tuple(form->PageControl_Delstrackor(), 2, 2));
}
