#include "paint/SitePlanPainter.h"

#include "paint/HeadlessApp.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPen>
#include <QPolygonF>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <set>

namespace {
const QColor kTrackColours[4] = {QColor(31, 95, 191), QColor(40, 140, 60), QColor(160, 60, 180), QColor(205, 125, 0)};
const QColor kScreenColour(70, 70, 70);
const QColor kErrorColour(200, 0, 0);
const QColor kRayColour(160, 160, 160);

// Device pixels per typographic point.
double pointOf(const QPainter& p) { return p.device() ? p.device()->logicalDpiY() / 72.0 : 96.0 / 72.0; }

QFont planFont(double points, bool bold = false)
{
    QFont f;
    f.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QPen pen(const QColor& c, double width, Qt::PenStyle style = Qt::SolidLine, Qt::PenCapStyle cap = Qt::RoundCap)
{
    QPen p(c, width, style, cap, Qt::RoundJoin);
    return p;
}

// Liang–Barsky: cuts the segment a–b to the rectangle; false when nothing is left.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& r)
{
    double t0 = 0.0, t1 = 1.0;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const QPointF a0 = a;
    a = a0 + t0 * QPointF(dx, dy);
    b = a0 + t1 * QPointF(dx, dy);
    return std::isfinite(a.x()) && std::isfinite(a.y()) && std::isfinite(b.x()) && std::isfinite(b.y());
}

// A polyline as one path, each piece cut to the clip rectangle (coordinates far outside the
// device never reach the rasteriser).
QPainterPath clippedPath(const std::vector<QPointF>& pts, const QRectF& clip)
{
    QPainterPath path;
    bool open = false;
    QPointF last;
    for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
        QPointF a = pts[i], b = pts[i + 1];
        if (!clipSegment(a, b, clip)) {
            open = false;
            continue;
        }
        if (!open || a != last) path.moveTo(a);
        path.lineTo(b);
        last = b;
        open = true;
    }
    if (pts.size() == 1 && clip.contains(pts[0])) {  // a stretch of no length: a dot
        path.moveTo(pts[0]);
        path.lineTo(pts[0] + QPointF(0.01, 0.0));
    }
    return path;
}

// How far (in metres) an open end must run from its last finite point to leave the view.
double reachOutOfView(const SitePlanView& view, const QRectF& target, PlanPoint from)
{
    const double halfDiagonal = std::hypot(target.width(), target.height()) / view.scale;
    const double toCentre = std::hypot(from.x - view.centre.x, from.y - view.centre.y);
    return halfDiagonal + toCentre + 1.0;
}

// The device polyline of a points list, with the open ends run out of the view.
std::vector<QPointF> devicePolyline(const std::vector<PlanPoint>& line, bool openStart, PlanPoint startDir,
                                   bool openEnd, PlanPoint endDir, const SitePlanView& view, const QRectF& target)
{
    std::vector<QPointF> pts;
    if (line.empty()) return pts;
    if (openStart) {
        const PlanPoint f = line.front();
        const double L = reachOutOfView(view, target, f);
        pts.push_back(planToDevice(view, target, {f.x + L * startDir.x, f.y + L * startDir.y}));
    }
    for (PlanPoint p : line) pts.push_back(planToDevice(view, target, p));
    if (openEnd) {
        const PlanPoint b = line.back();
        const double L = reachOutOfView(view, target, b);
        pts.push_back(planToDevice(view, target, {b.x + L * endDir.x, b.y + L * endDir.y}));
    }
    return pts;
}

std::vector<QPointF> trackPolyline(const PlanStretch& s, const SitePlanView& view, const QRectF& target)
{
    return devicePolyline(s.line, s.openStart, s.startDirection, s.openEnd, s.endDirection, view, target);
}

// An arrow head at the point where an open end leaves the view, pointing outwards.
void openEndMark(QPainter& painter, QPointF from, PlanPoint dir, const QRectF& inner, const QColor& colour, double pt)
{
    QPointF far = from + QPointF(dir.x, -dir.y) * 1.0e7;
    QPointF a = from;
    if (!clipSegment(a, far, inner)) return;
    const QPointF d(dir.x, -dir.y), n(-d.y(), d.x());
    const double len = 7.0 * pt, half = 3.5 * pt;
    QPolygonF head;
    head << far << far - d * len + n * half << far - d * len - n * half;
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(head);
    painter.setBrush(Qt::NoBrush);
}

double niceLength(double metres)
{
    if (!(metres > 0.0) || !std::isfinite(metres)) return 0.0;
    const double p = std::pow(10.0, std::floor(std::log10(metres)));
    for (double m : {5.0, 2.0, 1.0})
        if (m * p <= metres) return m * p;
    return p;
}

QString metresText(double m)
{
    if (m >= 10.0 || m == std::round(m)) return QString::number(static_cast<long long>(std::llround(m))) + QStringLiteral(" m");
    return QString::number(m, 'g', 3) + QStringLiteral(" m");
}

void drawScaleBar(QPainter& painter, const SitePlanView& view, const QRectF& target, double pt)
{
    const double metres = niceLength(target.width() / 5.0 / view.scale);
    if (metres <= 0.0) return;
    const double len = metres * view.scale;
    const QPointF a(target.left() + 12.0 * pt, target.bottom() - 12.0 * pt), b = a + QPointF(len, 0.0);
    painter.setPen(pen(Qt::black, 1.5 * pt, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(a, b);
    painter.drawLine(a, a - QPointF(0.0, 4.0 * pt));
    painter.drawLine(b, b - QPointF(0.0, 4.0 * pt));
    painter.drawLine((a + b) / 2.0, (a + b) / 2.0 - QPointF(0.0, 2.5 * pt));
    painter.setFont(planFont(8));
    const QFontMetricsF fm(painter.font(), painter.device());
    painter.drawText(a + QPointF(-fm.horizontalAdvance("0") / 2.0, -6.0 * pt), QStringLiteral("0"));
    const QString t = metresText(metres);
    painter.drawText(b + QPointF(-fm.horizontalAdvance(t) / 2.0, -6.0 * pt), t);
}

struct LegendEntry {
    QString text;
    QColor colour;
    double thickness;  // points
};

void drawLegend(QPainter& painter, const SitePlan& plan, const QRectF& target, double pt)
{
    std::vector<LegendEntry> entries;
    std::set<int> tracks;
    bool screen = false, switches = false, radiusError = false;
    for (const PlanStretch& s : plan.stretches) {
        if (s.kind != PlanStretch::Kind::RadiusError) tracks.insert(s.track);
        screen = screen || !s.screen.empty();
        switches = switches || !s.switchZone.empty();
        radiusError = radiusError || s.kind == PlanStretch::Kind::RadiusError;
    }
    for (int k : tracks) entries.push_back({QStringLiteral("Spår %1").arg(k), sitePlanTrackColour(k), 2.5});
    if (screen) entries.push_back({QStringLiteral("Skärm"), kScreenColour, 3.5});
    if (switches) entries.push_back({QStringLiteral("Växelzon"), QColor(0, 0, 0, 150), 6.0});
    if (plan.facade) entries.push_back({QStringLiteral("Fasad"), QColor(90, 90, 90), 3.0});
    if (radiusError) entries.push_back({QStringLiteral("Felaktig radie"), kErrorColour, 1.5});
    if (entries.empty()) return;

    painter.setFont(planFont(9));
    const QFontMetricsF fm(painter.font(), painter.device());
    double textWidth = 0.0;
    for (const auto& e : entries) textWidth = std::max(textWidth, fm.horizontalAdvance(e.text));
    const double row = fm.height() + 2.0 * pt, swatch = 18.0 * pt, pad = 6.0 * pt;
    const QRectF box(target.left() + 8.0 * pt, target.top() + 8.0 * pt, pad * 3 + swatch + textWidth,
                     pad * 2 + row * entries.size() - 2.0 * pt);
    painter.setPen(pen(QColor(180, 180, 180), 0.75 * pt));
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRect(box);
    painter.setBrush(Qt::NoBrush);
    double y = box.top() + pad;
    for (const auto& e : entries) {
        const double mid = y + fm.height() / 2.0;
        const double h = e.thickness * pt;
        painter.fillRect(QRectF(box.left() + pad, mid - h / 2.0, swatch, h), e.colour);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(box.left() + pad * 2 + swatch, y + fm.ascent()), e.text);
        y += row;
    }
}

// Text centred on a point, on a white ground so that it stays readable over lines.
void haloText(QPainter& painter, QPointF centre, const QString& text, const QColor& colour)
{
    const QFontMetricsF fm(painter.font(), painter.device());
    const double w = fm.horizontalAdvance(text), h = fm.height();
    const QRectF r(centre.x() - w / 2.0 - 2.0, centre.y() - h / 2.0, w + 4.0, h);
    painter.fillRect(r, QColor(255, 255, 255, 210));
    painter.setPen(colour);
    painter.drawText(QPointF(r.left() + 2.0, r.top() + fm.ascent()), text);
}

// Texts that keep out of each other's way: a text that would cover one placed before it is
// left out, unless it must show.
struct Labels {
    std::vector<QRectF> taken;
    void place(QPainter& painter, QPointF centre, const QString& text, const QColor& colour, bool always = false)
    {
        const QFontMetricsF fm(painter.font(), painter.device());
        const double w = fm.horizontalAdvance(text) + 4.0, h = fm.height();
        const QRectF r(centre.x() - w / 2.0, centre.y() - h / 2.0, w, h);
        if (!always)
            for (const QRectF& t : taken)
                if (t.intersects(r)) return;
        taken.push_back(r);
        haloText(painter, centre, text, colour);
    }
};

// Where a stretch's number goes on the device. A straight stretch with one open end gets it
// on the open part, at least a finger's width out from the finite end.
QPointF labelPoint(const PlanStretch& s, const SitePlanView& view, const QRectF& target, double pt)
{
    if (s.kind != PlanStretch::Kind::Straight || s.openStart == s.openEnd) return planToDevice(view, target, s.labelAt);
    const PlanPoint from = s.openStart ? s.line.front() : s.line.back();
    const PlanPoint dir = s.openStart ? s.startDirection : s.endDirection;
    const double out = std::max(std::fabs(from.y) * view.scale, 40.0 * pt);
    return planToDevice(view, target, from) + QPointF(dir.x, -dir.y) * out;
}

QString degrees(double a) { return QString::number(static_cast<int>(std::lround(a))) + QChar(0x00B0); }

// The angle at which the receiver sees a plan point, 0..180 for points on the track side.
double angleOf(PlanPoint p) { return std::atan2(p.y, -p.x) * 180.0 / std::numbers::pi; }
}  // namespace

QColor sitePlanTrackColour(int track) { return kTrackColours[std::clamp(track, 1, 4) - 1]; }

SitePlanView fitSitePlan(const SitePlan& plan, const QRectF& target)
{
    const double spanX = std::max(plan.max.x - plan.min.x, 10.0);
    const double spanY = std::max(plan.max.y - plan.min.y, 10.0);
    const double margin = std::max(0.08 * std::min(target.width(), target.height()), 24.0);
    const double w = std::max(target.width() - 2.0 * margin, 10.0);
    const double h = std::max(target.height() - 2.0 * margin, 10.0);
    SitePlanView v;
    v.scale = std::min(w / spanX, h / spanY);
    if (!std::isfinite(v.scale) || v.scale <= 0.0) v.scale = 1.0;
    v.centre = {(plan.min.x + plan.max.x) / 2.0, (plan.min.y + plan.max.y) / 2.0};
    return v;
}

QPointF planToDevice(const SitePlanView& view, const QRectF& target, PlanPoint p)
{
    return {target.center().x() + (p.x - view.centre.x) * view.scale,
            target.center().y() - (p.y - view.centre.y) * view.scale};
}

PlanPoint deviceToPlan(const SitePlanView& view, const QRectF& target, QPointF p)
{
    return {view.centre.x + (p.x() - target.center().x()) / view.scale,
            view.centre.y - (p.y() - target.center().y()) / view.scale};
}

void paintSitePlan(QPainter& painter, const SitePlan& plan, const QRectF& target, const SitePlanView& view)
{
    const double pt = pointOf(painter);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(target, Qt::white);
    painter.setClipRect(target);
    const QRectF clip = target.adjusted(-20.0 * pt, -20.0 * pt, 20.0 * pt, 20.0 * pt);
    const QPointF o = planToDevice(view, target, {0.0, 0.0});

    // Rays from the receiver along the track direction (0° and 180°) and the normal (90°).
    painter.setPen(pen(kRayColour, 0.75 * pt, Qt::DashLine, Qt::FlatCap));
    for (PlanPoint d : {PlanPoint{-1, 0}, PlanPoint{1, 0}, PlanPoint{0, 1}}) {
        QPointF a = o, b = o + QPointF(d.x, -d.y) * 1.0e7;
        if (clipSegment(a, b, clip)) painter.drawLine(a, b);
    }
    painter.setFont(planFont(8));
    if (o.y() > target.top() && o.y() < target.bottom()) {
        haloText(painter, QPointF(target.left() + 14.0 * pt, o.y() - 8.0 * pt), QStringLiteral("0°"), kRayColour.darker(160));
        haloText(painter, QPointF(target.right() - 16.0 * pt, o.y() - 8.0 * pt), QStringLiteral("180°"), kRayColour.darker(160));
    }
    if (o.x() > target.left() && o.x() < target.right() && o.y() > target.top())
        haloText(painter, QPointF(o.x() + 14.0 * pt, target.top() + 10.0 * pt), QStringLiteral("90°"), kRayColour.darker(160));

    // The facade behind the receiver, hatched on its far side.
    if (plan.facade) {
        const double half = std::max(8.0, 40.0 * pt / view.scale);
        const QPointF a = planToDevice(view, target, {-half, -plan.facadeDistance});
        const QPointF b = planToDevice(view, target, {half, -plan.facadeDistance});
        painter.setPen(pen(QColor(90, 90, 90), 3.0 * pt, Qt::SolidLine, Qt::FlatCap));
        QPointF ca = a, cb = b;
        if (clipSegment(ca, cb, clip)) {
            painter.drawLine(ca, cb);
            painter.setPen(pen(QColor(90, 90, 90), 0.75 * pt));
            for (double x = ca.x() + 3.0 * pt; x < cb.x(); x += 6.0 * pt)
                painter.drawLine(QPointF(x, a.y() + 1.5 * pt), QPointF(x - 4.0 * pt, a.y() + 6.0 * pt));
            painter.setFont(planFont(8));
            haloText(painter, QPointF(cb.x() + 16.0 * pt, cb.y()), QStringLiteral("Fasad"), QColor(60, 60, 60));
        }
    }

    // Faint rays from the receiver to the ends of every stretch: the angle range as typed.
    for (const PlanStretch& s : plan.stretches) {
        QColor c = s.kind == PlanStretch::Kind::RadiusError ? kErrorColour : sitePlanTrackColour(s.track);
        c.setAlpha(130);
        painter.setPen(pen(c, 0.6 * pt, Qt::DotLine, Qt::FlatCap));
        std::vector<PlanPoint> ends;
        if (!s.openStart) ends.push_back(s.line.front());
        if (!s.openEnd) ends.push_back(s.line.back());
        for (PlanPoint e : ends) {
            QPointF a = o, b = planToDevice(view, target, e);
            if (clipSegment(a, b, clip)) painter.drawLine(a, b);
        }
    }

    // Screens under the tracks.
    for (const PlanStretch& s : plan.stretches) {
        if (s.screen.empty()) continue;
        painter.setPen(pen(kScreenColour, 3.5 * pt, Qt::SolidLine, Qt::FlatCap));
        painter.drawPath(clippedPath(
            devicePolyline(s.screen, s.openStart, s.startDirection, s.openEnd, s.endDirection, view, target), clip));
    }

    // The tracks: one path per stretch.
    const QRectF inner = target.adjusted(4.0 * pt, 4.0 * pt, -4.0 * pt, -4.0 * pt);
    for (const PlanStretch& s : plan.stretches) {
        const std::vector<QPointF> pts = trackPolyline(s, view, target);
        if (s.kind == PlanStretch::Kind::RadiusError) {
            painter.setPen(pen(kErrorColour, 1.5 * pt, Qt::DashLine, Qt::FlatCap));
            painter.drawPath(clippedPath(pts, clip));
            continue;
        }
        const QColor c = sitePlanTrackColour(s.track);
        painter.setPen(pen(c, 2.5 * pt));
        painter.drawPath(clippedPath(pts, clip));
        if (s.openStart) openEndMark(painter, planToDevice(view, target, s.line.front()), s.startDirection, inner, c, pt);
        if (s.openEnd) openEndMark(painter, planToDevice(view, target, s.line.back()), s.endDirection, inner, c, pt);
    }

    // Switch zones on top of their tracks.
    for (const PlanStretch& s : plan.stretches) {
        if (s.switchZone.empty()) continue;
        painter.setPen(pen(QColor(0, 0, 0, 150), 6.0 * pt, Qt::SolidLine, Qt::FlatCap));
        std::vector<QPointF> pts;
        for (PlanPoint p : s.switchZone) pts.push_back(planToDevice(view, target, p));
        if (std::hypot(pts[1].x() - pts[0].x(), pts[1].y() - pts[0].y()) < 3.0 * pt) {  // keep it visible
            const QPointF m = (pts[0] + pts[1]) / 2.0;
            pts = {m - QPointF(1.5 * pt, 0.0), m + QPointF(1.5 * pt, 0.0)};
        }
        painter.drawPath(clippedPath(pts, clip));
    }

    // The receiver.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(o, 3.5 * pt, 3.5 * pt);
    painter.setBrush(Qt::NoBrush);

    // Texts: first those that must show (receiver, stretch numbers, radius errors), then the
    // distances and the angles wherever they find room.
    Labels labels;
    painter.setFont(planFont(8, true));
    // Below the receiver, and below the facade's hatching when that lies close behind it.
    double below = 13.0 * pt;
    if (plan.facade) {
        const double facadeY = plan.facadeDistance * view.scale;
        if (facadeY < below + 8.0 * pt) below = facadeY + 15.0 * pt;
    }
    labels.place(painter, o + QPointF(0.0, below), QStringLiteral("Mottagare"), Qt::black, true);

    struct Pending {
        QPointF at;
        QString text;
        QColor colour;
    };
    std::vector<Pending> distances, angles;
    auto towardsReceiver = [&o](QPointF p) {
        const double len = std::hypot(p.x() - o.x(), p.y() - o.y());
        return len > 0.0 ? (o - p) / len : QPointF(0.0, 1.0);
    };
    for (const PlanStretch& s : plan.stretches) {
        const QPointF m = labelPoint(s, view, target, pt);
        const bool error = s.kind == PlanStretch::Kind::RadiusError;
        const QColor c = error ? kErrorColour : sitePlanTrackColour(s.track);
        if (clip.contains(m)) {
            painter.setPen(pen(c, 1.2 * pt));
            painter.setBrush(Qt::white);
            painter.drawEllipse(m, 7.0 * pt, 7.0 * pt);
            painter.setBrush(Qt::NoBrush);
            painter.setFont(planFont(8, true));
            const QFontMetricsF fm(painter.font(), painter.device());
            const QString n = QString::number(s.stretch);
            painter.setPen(c.darker(120));
            painter.drawText(m + QPointF(-fm.horizontalAdvance(n) / 2.0, (fm.ascent() - fm.descent()) / 2.0), n);
            labels.taken.push_back(QRectF(m - QPointF(7.0 * pt, 7.0 * pt), QSizeF(14.0 * pt, 14.0 * pt)));
            // Under the number (the receiver's side, as the tracks lie above it): the distance or
            // radius as typed, so that a swapped value shows at once.
            const QPointF under = m + QPointF(0.0, 14.0 * pt);
            if (error) {
                painter.setFont(planFont(8));
                labels.place(painter, under, QStringLiteral("Felaktig radie"), kErrorColour, true);
            } else {
                distances.push_back({under,
                                     s.kind == PlanStretch::Kind::Arc ? QStringLiteral("R ") + metresText(s.radius)
                                                                      : metresText(s.labelAt.y),
                                     c.darker(130)});
            }
        }
        if (error) continue;
        // The angles at the finite ends.
        std::vector<PlanPoint> ends;
        if (!s.openStart) ends.push_back(s.line.front());
        if (!s.openEnd) ends.push_back(s.line.back());
        for (PlanPoint e : ends) {
            const QPointF p = planToDevice(view, target, e);
            if (target.contains(p)) angles.push_back({p + towardsReceiver(p) * 12.0 * pt, degrees(angleOf(e)), c.darker(130)});
        }
    }
    painter.setFont(planFont(7.5));
    for (const Pending& l : distances) labels.place(painter, l.at, l.text, l.colour);
    for (const Pending& l : angles) labels.place(painter, l.at, l.text, l.colour);

    if (plan.stretches.empty()) {
        painter.setFont(planFont(12));
        haloText(painter, QPointF(target.center().x(), target.top() + target.height() / 3.0),
                 QStringLiteral("Inga delsträckor att visa"), QColor(90, 90, 90));
    }

    drawLegend(painter, plan, target, pt);
    drawScaleBar(painter, view, target, pt);

    // Stretches that could not be placed, bottom right.
    const std::vector<std::string> missing = sitePlanMissingTexts(plan);
    if (!missing.empty()) {
        painter.setFont(planFont(8));
        const QFontMetricsF fm(painter.font(), painter.device());
        double y = target.bottom() - 8.0 * pt - fm.descent();
        for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
            const QString t = QString::fromStdString(*it);
            painter.setPen(kErrorColour);
            painter.drawText(QPointF(target.right() - 8.0 * pt - fm.horizontalAdvance(t), y), t);
            y -= fm.height();
        }
    }
    painter.restore();
}

std::optional<int> sitePlanStretchAt(const SitePlan& plan, const SitePlanView& view, const QRectF& target,
                                     QPointF pos, double tolerance)
{
    std::optional<int> best;
    double bestDistance = tolerance;
    for (const PlanStretch& s : plan.stretches) {
        const std::vector<QPointF> pts = trackPolyline(s, view, target);
        for (std::size_t i = 0; i < pts.size(); ++i) {
            const QPointF a = pts[i], b = i + 1 < pts.size() ? pts[i + 1] : pts[i];
            const QPointF d = b - a;
            const double len2 = QPointF::dotProduct(d, d);
            const double t = len2 > 0.0 ? std::clamp(QPointF::dotProduct(pos - a, d) / len2, 0.0, 1.0) : 0.0;
            const QPointF q = a + t * d;
            const double dist = std::hypot(pos.x() - q.x(), pos.y() - q.y());
            if (dist <= bestDistance) {
                bestDistance = dist;
                best = s.stretch;
            }
        }
    }
    return best;
}

std::string writeSitePlanFile(const std::string& path, const SitePlan& plan, int width)
{
    const QString fileName = QString::fromStdString(path);
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix != "svg" && suffix != "png" && suffix != "pdf")
        return "Okänt filformat för " + path + ": använd .svg, .png eller .pdf.";
    if (width < 100 || width > 20000) return "Bredden ska vara 100 till 20000 bildpunkter.";

    HeadlessApp headless;
    if (!headless.usable()) return "Situationsplanen kan inte ritas utan grafiskt gränssnitt.";

    const std::string failed = "Kan inte skriva filen " + path + ".";
    // The picture takes the plan's proportions, within reason.
    const double aspect = std::clamp((plan.max.y - plan.min.y + 20.0) / (plan.max.x - plan.min.x + 20.0), 0.5, 1.0);
    const int height = static_cast<int>(std::lround(width * aspect));
    const QRectF target(0, 0, width, height);
    QPainter painter;
    if (suffix == "svg") {
        QSvgGenerator svg;
        svg.setFileName(fileName);
        svg.setSize(QSize(width, height));
        svg.setViewBox(target);
        svg.setResolution(96);
        svg.setTitle(QStringLiteral("Situationsplan"));
        if (!painter.begin(&svg)) return failed;
        paintSitePlan(painter, plan, target, fitSitePlan(plan, target));
        if (!painter.end()) return failed;
    } else if (suffix == "png") {
        QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(3780);  // 96 dpi
        image.setDotsPerMeterY(3780);
        image.fill(Qt::white);
        if (!painter.begin(&image)) return failed;
        paintSitePlan(painter, plan, target, fitSitePlan(plan, target));
        painter.end();
        if (!image.save(fileName, "PNG")) return failed;
    } else {
        QPdfWriter writer(fileName);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
        writer.setResolution(600);
        writer.setTitle(QStringLiteral("Situationsplan"));
        writer.setCreator(QStringLiteral("Skenbrus " SKENBRUS_VERSION_TEXT));
        if (!painter.begin(&writer)) return failed;
        const double cm = 600.0 / 2.54;
        const QRectF page(1.5 * cm, 1.5 * cm, writer.width() - 3.0 * cm, writer.height() - 3.0 * cm);
        paintSitePlan(painter, plan, page, fitSitePlan(plan, page));
        if (!painter.end()) return failed;
    }
    QFileInfo written(fileName);
    if (!written.exists() || written.size() == 0) return failed;
    return {};
}
