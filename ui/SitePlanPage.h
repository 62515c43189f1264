#pragma once
// SitePlanPage: the page "&Situationsplan" of the main window: the stretches, tracks, screens,
// switch zones and facade around the receiver, drawn from the stretch table as it stands. The wheel zooms about the cursor,
// a drag moves the plan, Home (or a double-click beside the tracks) fits it again, and a
// double-click on a stretch asks for that stretch's column in the table.

#include <QWidget>

#include "calc/SitePlan.h"
#include "model/ProjectRecord.h"
#include "paint/SitePlanPainter.h"

class SitePlanPage : public QWidget {
    Q_OBJECT
public:
    explicit SitePlanPage(const ProjectRecord& record, QWidget* parent = nullptr);

    // Places the stretches again from the record and redraws; a plan the user has not zoomed
    // or moved is fitted to the page again.
    void refresh();
    // Shows the whole plan again.
    void fitToPage();

    const SitePlan& plan() const { return plan_; }
    const SitePlanView& view() const { return view_; }
    // The help topic of the page.
    static constexpr int kHelpContext = 90;
    // The status line for the page: the stretches without geometry, or how to use the page.
    QString statusText() const;

signals:
    // A double-click on the drawn track line of stretch s.
    void stretchActivated(int s);
    // The status text changed (after a refresh).
    void statusChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void zoomAbout(QPointF pos, double factor);

    const ProjectRecord& record_;
    SitePlan plan_;
    SitePlanView view_;
    bool fitted_ = true;  // the view follows the plan until the user zooms or moves it
    bool dragging_ = false;
    QPointF dragFrom_;
};
