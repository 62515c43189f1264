// SitePlanPage: the page "&Situationsplan" of the main window.
#include "ui/SitePlanPage.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTabWidget>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>


namespace {
constexpr double kMinScale = 1.0e-4;  // pixels per metre
constexpr double kMaxScale = 1.0e4;
constexpr double kHitTolerance = 8.0;  // pixels
}  // namespace

SitePlanPage::SitePlanPage(const ProjectRecord& record, QWidget* parent) : QWidget(parent), record_(record)
{
    setObjectName(QStringLiteral("PageControl_Situationsplan"));
    setProperty("helpContext", kHelpContext);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
    refresh();
}

void SitePlanPage::refresh()
{
    plan_ = buildSitePlan(record_);
    if (fitted_) view_ = fitSitePlan(plan_, QRectF(rect()));
    update();
    emit statusChanged(statusText());
}

void SitePlanPage::fitToPage()
{
    fitted_ = true;
    view_ = fitSitePlan(plan_, QRectF(rect()));
    update();
}

QString SitePlanPage::statusText() const
{
    QStringList texts;
    for (const std::string& t : sitePlanMissingTexts(plan_)) texts << QString::fromStdString(t);
    if (!texts.isEmpty()) return texts.join(QStringLiteral("; "));
    return QStringLiteral("Rulla för att zooma, dra för att flytta, dubbelklicka på en delsträcka för att välja den "
                          "i tabellen (Home visar hela planen)");
}

void SitePlanPage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintSitePlan(painter, plan_, QRectF(rect()), view_);
    if (hasFocus()) {
        painter.setPen(QPen(palette().highlight().color(), 1.0, Qt::DotLine));
        painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

void SitePlanPage::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (fitted_) view_ = fitSitePlan(plan_, QRectF(rect()));
}

void SitePlanPage::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    refresh();
}

void SitePlanPage::zoomAbout(QPointF pos, double factor)
{
    const QRectF target(rect());
    const PlanPoint fixed = deviceToPlan(view_, target, pos);
    view_.scale = std::clamp(view_.scale * factor, kMinScale, kMaxScale);
    // The plan point under the cursor stays under it.
    view_.centre = {fixed.x - (pos.x() - target.center().x()) / view_.scale,
                    fixed.y + (pos.y() - target.center().y()) / view_.scale};
    fitted_ = false;
    update();
}

void SitePlanPage::wheelEvent(QWheelEvent* e)
{
    const int steps = e->angleDelta().y();
    if (steps == 0) return;
    zoomAbout(e->position(), std::pow(1.25, steps / 120.0));
    e->accept();
}

void SitePlanPage::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        dragging_ = true;
        dragFrom_ = e->position();
        setCursor(Qt::ClosedHandCursor);
    }
    QWidget::mousePressEvent(e);
}

void SitePlanPage::mouseMoveEvent(QMouseEvent* e)
{
    if (!dragging_) return;
    const QPointF d = e->position() - dragFrom_;
    if (d.isNull()) return;
    dragFrom_ = e->position();
    view_.centre.x -= d.x() / view_.scale;
    view_.centre.y += d.y() / view_.scale;
    fitted_ = false;
    update();
}

void SitePlanPage::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && dragging_) {
        dragging_ = false;
        unsetCursor();
    }
    QWidget::mouseReleaseEvent(e);
}

void SitePlanPage::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) return;
    dragging_ = false;
    unsetCursor();
    if (const auto s = sitePlanStretchAt(plan_, view_, QRectF(rect()), e->position(), kHitTolerance))
        emit stretchActivated(*s);
    else
        fitToPage();
}

void SitePlanPage::keyPressEvent(QKeyEvent* e)
{
    const QPointF mid = QRectF(rect()).center();
    const double pan = 40.0 / view_.scale;
    switch (e->key()) {
    case Qt::Key_Home: fitToPage(); return;
    case Qt::Key_Plus: zoomAbout(mid, 1.25); return;
    case Qt::Key_Minus: zoomAbout(mid, 1.0 / 1.25); return;
    case Qt::Key_Left: view_.centre.x -= pan; break;
    case Qt::Key_Right: view_.centre.x += pan; break;
    case Qt::Key_Up: view_.centre.y += pan; break;
    case Qt::Key_Down: view_.centre.y -= pan; break;
    default: QWidget::keyPressEvent(e); return;
    }
    fitted_ = false;
    update();
}
