#pragma once
// Paints the site plan (calc/SitePlan.h) on a Qt paint device: the window's page, the
// report's second page and the command-line tool's SVG, PNG and PDF files. Line widths and
// texts are sized in points of the device, so every device gets the same picture.

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <optional>
#include <string>

#include "calc/SitePlan.h"
#include "paint/SitePlanFile.h"

class QPainter;

// Which part of the plan the target rectangle shows: device pixels per metre and the plan
// point at the rectangle's centre.
struct SitePlanView {
    double scale = 1.0;
    PlanPoint centre;
};

// The view that shows the whole plan in the target with a margin, keeping the aspect ratio.
SitePlanView fitSitePlan(const SitePlan& plan, const QRectF& target);

// Device position of a plan point and back.
QPointF planToDevice(const SitePlanView& view, const QRectF& target, PlanPoint p);
PlanPoint deviceToPlan(const SitePlanView& view, const QRectF& target, QPointF p);

// Draws the plan inside the target (clipped to it): tracks in their colours, stretch
// numbers, screens, switch zones, the facade, the receiver, the rays at 0°, 90° and 180°,
// a legend and a scale bar. Each placed stretch's track line is one path. An empty plan
// gets the text "Inga delsträckor att visa".
void paintSitePlan(QPainter& painter, const SitePlan& plan, const QRectF& target, const SitePlanView& view);

// The stretch whose drawn track line passes within tolerance device pixels of pos.
std::optional<int> sitePlanStretchAt(const SitePlan& plan, const SitePlanView& view, const QRectF& target,
                                     QPointF pos, double tolerance);

// The colour of a track's line, 1..4.
QColor sitePlanTrackColour(int track);
