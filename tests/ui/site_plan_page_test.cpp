// The page "&Situationsplan": drawn from the stretch table as it is edited, zoomed, moved and
// used to find a stretch's column.

#include "main_fixture.h"

#include <QImage>
#include <QTabWidget>
#include <QWheelEvent>
#include <cmath>

#include "ui/SitePlanPage.h"

namespace {
class SitePlanPageTest : public MainWindowTest {
protected:
    SitePlanPage* page() { return form->sitePlanPage(); }
    void showPlan()
    {
        QTest::keyClick(form.get(), Qt::Key_S, Qt::AltModifier);
        QApplication::processEvents();
    }
    QPointF onScreen(PlanPoint p) { return planToDevice(page()->view(), QRectF(page()->rect()), p); }
    // The drawn colour at a plan point (the track line is 2.5 pt wide).
    struct Shot {
        QImage image;
        SitePlanView view;
    };
    Shot shot() { return {page()->grab().toImage(), page()->view()}; }
    QColor colourAt(const Shot& s, PlanPoint p)
    {
        return s.image.pixelColor(planToDevice(s.view, QRectF(page()->rect()), p).toPoint());
    }
    void wheel(QPointF at, int delta)
    {
        QWheelEvent e(at, page()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(page(), &e);
    }
};
constexpr double kPi = 3.141592653589793;
double cotDeg(double d) { return 1.0 / std::tan(kPi * d / 180.0); }
}  // namespace

TEST_F(SitePlanPageTest, FollowsTheTableAndListsStretchesWithoutGeometry)
{
    ASSERT_NE(page(), nullptr);
    const int at = form->PageControl()->indexOf(page());
    EXPECT_EQ(at, form->PageControl()->indexOf(form->PageControl_Delstrackor()) + 1);
    EXPECT_EQ(form->PageControl()->tabText(at), QString::fromUtf8("&Situationsplan"));

    // On the results page Alt+S stays with "&Skrivare".
    form->PageControl()->setTabVisible(form->PageControl()->indexOf(form->Pagecontrol_Resultat()), true);
    form->PageControl()->setCurrentWidget(form->Pagecontrol_Resultat());
    EXPECT_EQ(form->PageControl()->tabText(at), "Situationsplan");
    form->PageControl()->setCurrentWidget(form->PageControl_TagInfo());
    EXPECT_EQ(form->PageControl()->tabText(at), "&Situationsplan");

    showPlan();
    ASSERT_EQ(form->PageControl()->currentWidget(), page());
    EXPECT_EQ(status(), QString::fromUtf8("Delsträcka 1 saknar geometri"));
    EXPECT_TRUE(page()->plan().stretches.empty());
    EXPECT_EQ(form->PageControl()->property("helpContext").toInt(), 90);

    // Typed in the table: 40 m, 30..150°.
    type(stretches(), 6, 1, "40");
    type(stretches(), 4, 1, "30");
    type(stretches(), 5, 1, "150");
    showPlan();
    ASSERT_EQ(page()->plan().stretches.size(), 1u);
    EXPECT_NEAR(page()->plan().stretches[0].line.front().x, -40.0 * cotDeg(30), 1e-3);
    const Shot before = shot();
    const PlanPoint oldStart = page()->plan().stretches[0].line.front();
    EXPECT_EQ(colourAt(before, {-20.0, 40.0}), sitePlanTrackColour(1));

    // Moving the start angle to 80° shortens the drawn stretch on that side.
    type(stretches(), 4, 1, "80");
    showPlan();
    const Shot after = shot();
    EXPECT_NE(before.image, after.image);
    const PlanPoint newStart = page()->plan().stretches[0].line.front();
    EXPECT_NEAR(newStart.x, -40.0 * cotDeg(80), 1e-3);
    const PlanPoint gone{(oldStart.x + newStart.x) / 2.0, 40.0};  // on the old line, off the new one
    EXPECT_EQ(colourAt(before, gone), sitePlanTrackColour(1));
    EXPECT_NE(colourAt(after, gone), sitePlanTrackColour(1));
    EXPECT_FALSE(status().contains("saknar"));
}

TEST_F(SitePlanPageTest, WheelZoomsAboutTheCursorDragMovesDoubleClickFindsTheColumn)
{
    addStretches(1);
    type(stretches(), 6, 1, "30");
    type(stretches(), 6, 2, "60");
    type(stretches(), 4, 2, "40");
    showPlan();
    ASSERT_EQ(page()->plan().stretches.size(), 2u);
    const SitePlanView fitted = page()->view();

    const QPointF cursor(page()->width() * 0.3, page()->height() * 0.6);
    const PlanPoint under = deviceToPlan(page()->view(), QRectF(page()->rect()), cursor);
    wheel(cursor, 240);
    EXPECT_NEAR(page()->view().scale, fitted.scale * 1.5625, 1e-9);
    const PlanPoint still = deviceToPlan(page()->view(), QRectF(page()->rect()), cursor);
    EXPECT_NEAR(still.x, under.x, 1e-6);
    EXPECT_NEAR(still.y, under.y, 1e-6);

    const PlanPoint centre = page()->view().centre;
    QTest::mousePress(page(), Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(page(), QPoint(150, 80));
    QTest::mouseRelease(page(), Qt::LeftButton, {}, QPoint(150, 80));
    EXPECT_NEAR(page()->view().centre.x, centre.x - 50.0 / page()->view().scale, 1e-6);
    EXPECT_NEAR(page()->view().centre.y, centre.y - 20.0 / page()->view().scale, 1e-6);
    // An edit keeps the user's view.
    type(stretches(), 5, 2, "170");
    showPlan();
    EXPECT_NE(page()->view().scale, fitted.scale);
    QTest::keyClick(page(), Qt::Key_Home);
    EXPECT_EQ(page()->view().scale, fitSitePlan(page()->plan(), QRectF(page()->rect())).scale);

    // Stretch 2 lies at 60 m; double-clicking its line selects its column.
    const QPoint onTwo = onScreen({-60.0 * cotDeg(100), 60.0}).toPoint();
    QTest::mouseDClick(page(), Qt::LeftButton, {}, onTwo);
    EXPECT_EQ(form->PageControl()->currentWidget(), form->PageControl_Delstrackor());
    EXPECT_EQ(stretches()->currentColumn(), 2);
    EXPECT_EQ(form->activeStretch(), 2);
}
