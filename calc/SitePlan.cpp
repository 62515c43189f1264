#include "calc/SitePlan.h"

#include <algorithm>
#include <cmath>

#include "calc/Bands.h"
#include "calc/Geometry.h"

namespace {
using geometry::sqr;
using geometry::rad;
using geometry::unit;

// Distances beyond this (100 km) describe no real site; such a stretch is left out.
constexpr double kFar = 1.0e5;

bool usableDistance(double d) { return std::isfinite(d) && d > 0.0 && d <= kFar; }
int clampAngle(int a) { return std::clamp(a, 0, 180); }

PlanPoint seenAt(double distance, double degrees)
{
    return {-distance * std::cos(rad(degrees)), distance * std::sin(rad(degrees))};
}
// The point of the line at perpendicular distance D seen at an angle strictly between 0 and 180.
PlanPoint onLine(double D, int degrees)
{
    if (degrees == 90) return {0.0, D};
    return {-D / std::tan(rad(degrees)), D};
}

// The straight line at distance D between the angles a1 < a2, with its open ends.
void straightLine(double D, int a1, int a2, std::vector<PlanPoint>& line, bool openStart, bool openEnd)
{
    line.clear();
    if (openStart && openEnd)
        line.push_back({0.0, D});
    else {
        if (!openStart) line.push_back(onLine(D, a1));
        if (!openEnd) line.push_back(onLine(D, a2));
    }
}

// The stretch of track the switch zone covers, in plan x on the line y = D, as the
// calculation applies it: from switchStart to 10 m beyond, measured outwards from the foot
// of the normal on the side where the calculation's walk meets it, and only within the stretch.
void switchZone(const ProjectRecord& r, int s, double D, int a1, int a2, PlanStretch& out)
{
    if (r.switchesOn[s] != 1) return;
    if (a1 == 0) a1 = 1;
    if (a2 == 180) a2 = 179;
    const double P = r.switchStart[s];
    double from = P, to = P + 10.0, lo, hi, side;
    if (a2 <= 90 || a1 >= 90) {  // wholly on one side of the normal
        const bool before = a2 <= 90;
        side = before ? -1.0 : 1.0;
        lo = before ? D * std::tan(rad(90 - a2)) : D * std::tan(rad(a1 - 90));
        hi = before ? D * std::tan(rad(90 - a1)) : D * std::tan(rad(a2 - 90));
    } else {  // across the normal: the side whose pass can hold the whole zone, before first
        const double xe1 = D * std::tan(rad(90 - a1)), xe2 = D * std::tan(rad(a2 - 90));
        lo = 0.0;
        if (P >= 0.0 && P + 10.0 <= xe1) {
            side = -1.0;
            hi = xe1;
        } else if (P >= 0.0 && P + 10.0 <= xe2) {
            side = 1.0;
            hi = xe2;
        } else {
            return;
        }
    }
    from = std::max(from, lo);
    to = std::min(to, hi);
    if (!(from < to)) return;
    out.switchZone = {{side * from, D}, {side * to, D}};
}

void addStraight(const ProjectRecord& r, int s, PlanStretch& p)
{
    const double D = r.perpDistance[s];
    int a1 = clampAngle(r.angleFrom[s]), a2 = clampAngle(r.angleTo[s]);
    if (a1 > a2) std::swap(a1, a2);
    p.kind = PlanStretch::Kind::Straight;
    p.openStart = a1 == 0;
    p.openEnd = a2 == 180;
    p.startDirection = {-1.0, 0.0};
    p.endDirection = {1.0, 0.0};
    straightLine(D, a1, a2, p.line, p.openStart, p.openEnd);

    if (p.openStart == p.openEnd) {
        p.labelAt = {(p.line.front().x + p.line.back().x) / 2.0, D};
    } else {
        // Half a normal's length out along the open end, so the number sits on the drawn part.
        const double shift = std::max(D, 10.0);
        p.labelAt = {p.line.front().x + (p.openStart ? -shift : shift), D};
    }

    const double a = r.screenDistance[s];
    if (r.screenType[s] > 0 && std::isfinite(a) && a >= 0.0 && a < D) {
        straightLine(D - a, a1, a2, p.screen, p.openStart, p.openEnd);
        p.screenType = r.screenType[s];
    }
    switchZone(r, s, D, a1, a2, p);
}

// The rigid motion (a turn, with or without a mirror) that takes the arc frame's receiver to
// the origin and its start point onto the point typed for the start; of the two, the one that
// brings the frame's end point nearer the point typed for the end, or, when both do equally
// (a half circle), the one that keeps the arc on the tracks' side of the receiver.
// The middle of the arc in its own frame (ys: +1 when the arc runs towards +y).
PlanPoint arcMiddle(const ArcFrame& f, double ys)
{
    const double Rc = -f.A.x;
    return {-Rc * std::cos(f.theta / 2.0), ys * Rc * std::sin(f.theta / 2.0)};
}

struct Motion {
    PlanPoint M;
    double c = 1.0, s = 0.0;
    bool mirror = false;
    PlanPoint operator()(PlanPoint p) const
    {
        double x = p.x - M.x, y = p.y - M.y;
        if (mirror) y = -y;
        return {c * x - s * y, s * x + c * y};
    }
};
Motion motionFor(const ArcFrame& f, PlanPoint A, PlanPoint B, double ys)
{
    Motion best;
    double bestMiss = -1.0;
    for (bool mirror : {false, true}) {
        Motion m;
        m.M = f.M;
        m.mirror = mirror;
        const double ex = f.A.x - f.M.x, ey = mirror ? -(f.A.y - f.M.y) : f.A.y - f.M.y;
        const double phi = std::atan2(A.y, A.x) - std::atan2(ey, ex);
        m.c = std::cos(phi);
        m.s = std::sin(phi);
        const PlanPoint b = m(f.B);
        const double miss = std::hypot(b.x - B.x, b.y - B.y);
        const double tie = 1e-9 * (1.0 + std::hypot(A.x, A.y));
        if (bestMiss < 0.0 || miss < bestMiss - tie ||
            (miss <= bestMiss + tie && m(arcMiddle(f, ys)).y > best(arcMiddle(f, ys)).y)) {
            best = m;
            bestMiss = miss;
        }
    }
    return best;
}

std::vector<PlanPoint> arcPoints(const Motion& m, double radius, double theta, double ys)
{
    const int n = std::max(2, static_cast<int>(std::ceil(theta * 180.0 / kPi)) + 1);
    std::vector<PlanPoint> pts;
    pts.reserve(n);
    for (int i = 0; i < n; ++i) {
        const double u = theta * i / (n - 1);
        pts.push_back(m({-radius * std::cos(u), ys * radius * std::sin(u)}));
    }
    return pts;
}

void addCurved(const ProjectRecord& r, int s, PlanStretch& p)
{
    const double r1 = r.startDistance[s], r2 = r.endDistance[s], Rc = r.radius[s];
    const int a1 = clampAngle(r.angleFrom[s]), a2 = clampAngle(r.angleTo[s]);
    const bool convex = r.shape[s] == 1;
    const PlanPoint A = seenAt(r1, a1), B = seenAt(r2, a2);
    const ArcFrame f = arcFrameOf(r1, r2, a1, a2, Rc, convex);
    if (f.radiusError) {
        p.kind = PlanStretch::Kind::RadiusError;
        p.line = {A, B};
        p.labelAt = {(A.x + B.x) / 2.0, (A.y + B.y) / 2.0};
        return;
    }
    p.kind = PlanStretch::Kind::Arc;
    const double ys = convex ? 1.0 : -1.0;
    const Motion m = motionFor(f, A, B, ys);
    p.line = arcPoints(m, Rc, f.theta, ys);
    p.centre = m({0.0, 0.0});
    p.radius = Rc;
    p.labelAt = m(arcMiddle(f, ys));

    const double a = r.screenDistance[s];
    if (r.screenType[s] > 0 && std::isfinite(a) && a >= 0.0) {
        // Towards the receiver: inwards when the receiver lies inside the circle.
        const bool inside = std::hypot(p.centre.x, p.centre.y) < Rc;
        const double rs = inside ? Rc - a : Rc + a;
        if (rs > 0.0 && rs <= 2.0 * kFar) {
            p.screen = arcPoints(m, rs, f.theta, ys);
            p.screenType = r.screenType[s];
        }
    }
}

bool placeable(const ProjectRecord& r, int s)
{
    if (r.shape[s] == 0) {
        const int a1 = clampAngle(r.angleFrom[s]), a2 = clampAngle(r.angleTo[s]);
        // Both ends at infinity on the same side leave nothing to draw.
        if (a1 == a2 && (a1 == 0 || a1 == 180)) return false;
        return usableDistance(r.perpDistance[s]);
    }
    return usableDistance(r.radius[s]) && usableDistance(r.startDistance[s]) && usableDistance(r.endDistance[s]);
}

void include(SitePlan& plan, PlanPoint p)
{
    plan.min.x = std::min(plan.min.x, p.x);
    plan.min.y = std::min(plan.min.y, p.y);
    plan.max.x = std::max(plan.max.x, p.x);
    plan.max.y = std::max(plan.max.y, p.y);
}
}  // namespace

ArcFrame arcFrameOf(double r1, double r2, int a1, int a2, double Rc, bool convex)
{
    ArcFrame f;
    double c, gamma = 0.0;
    if (a2 == 180) {
        c = r1 + r2;
        f.theta = kPi;
    } else {
        c = std::sqrt(sqr(r1) + sqr(r2) - 2.0 * r1 * r2 * std::cos(rad(a2 - a1)));
        if (2.0 * Rc < c) {
            f.radiusError = true;
            return f;
        }
        f.theta = std::acos(unit((2.0 * sqr(Rc) - sqr(c)) / (2.0 * sqr(Rc))));
        gamma = c == 0.0 ? 0.0 : std::acos(unit((sqr(r1) + sqr(c) - sqr(r2)) / (2.0 * r1 * c)));
    }
    const double ys = convex ? 1.0 : -1.0;
    f.A = {-Rc, 0.0};
    const double thetaDeg = std::nearbyint(f.theta * 180.0 / kPi);
    if (thetaDeg == 180.0)
        f.B = {Rc, 0.0};
    else if (thetaDeg == 90.0)
        f.B = {0.0, ys * Rc};
    else
        f.B = {-Rc * std::cos(f.theta), ys * Rc * std::sin(f.theta)};
    if (convex && gamma == 0.0) {
        f.M = {0.0, 0.0};
    } else {
        const double beta = convex ? gamma - (kPi - f.theta) / 2.0 : gamma + (kPi - f.theta) / 2.0;
        f.M = {-Rc + r1 * std::cos(beta), -r1 * std::sin(beta)};
    }
    return f;
}

SitePlan buildSitePlan(const ProjectRecord& r)
{
    SitePlan plan;
    const int count = std::clamp(static_cast<int>(r.stretchCount), 1, kMaxStretches);
    for (int s = 1; s <= count; ++s) {
        if (!placeable(r, s)) {
            plan.missing.push_back(s);
            continue;
        }
        PlanStretch p;
        p.stretch = s;
        p.track = std::clamp(static_cast<int>(r.track[s]), 1, kMaxTracks);
        if (r.shape[s] == 0)
            addStraight(r, s, p);
        else
            addCurved(r, s, p);
        plan.stretches.push_back(std::move(p));
    }
    if (r.facadeReflectionOn == 1 && usableDistance(r.facadeDistance)) {
        plan.facade = true;
        plan.facadeDistance = r.facadeDistance;
    }

    include(plan, {0.0, 0.0});
    for (const PlanStretch& p : plan.stretches) {
        for (const auto* pts : {&p.line, &p.screen})
            for (PlanPoint q : *pts) include(plan, q);
        // Show a piece of an open end: as long as the stretch lies from the receiver.
        const double reach = std::max(10.0, std::fabs(p.line.front().y));
        if (p.openStart)
            include(plan, {p.line.front().x + reach * p.startDirection.x, p.line.front().y + reach * p.startDirection.y});
        if (p.openEnd)
            include(plan, {p.line.back().x + reach * p.endDirection.x, p.line.back().y + reach * p.endDirection.y});
    }
    if (plan.facade) include(plan, {0.0, -plan.facadeDistance});
    return plan;
}

std::vector<std::string> sitePlanMissingTexts(const SitePlan& plan)
{
    std::vector<std::string> texts;
    for (int s : plan.missing) texts.push_back("Delsträcka " + std::to_string(s) + " saknar geometri");
    return texts;
}
