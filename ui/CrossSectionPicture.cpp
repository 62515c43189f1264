// The profile picture of the cross-section dialog.
#include "ui/CrossSectionPicture.h"

#include <QPainter>
#include <QPainterPath>

namespace {
constexpr double kLeft = 0, kRight = 600, kTop = 30, kBottom = 200;
constexpr double kGroundBase = 172;  // lower edge of the ground fill
constexpr double kZoneText = 194;    // base line of the zone names
}  // namespace

CrossSectionPicture::CrossSectionPicture(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PaintBox_Profil"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void CrossSectionPicture::setProfile(const ProfilePicture& picture, const MiddleZone& zone,
                                     const QStringList& pointTexts)
{
    picture_ = picture;
    zone_ = zone;
    pointTexts_ = pointTexts;
    update();
}

QPointF CrossSectionPicture::toWidget(double x, double y) const
{
    return {(x - kLeft) * width() / (kRight - kLeft), (y - kTop) * height() / (kBottom - kTop)};
}

void CrossSectionPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const ProfilePicture& pic = picture_;
    if (!pic.valid || pic.count < 2) return;  // no receiver distance: nothing to place
    const int n = pic.count;
    QFont small = font();
    small.setPointSizeF(std::max(7.0, font().pointSizeF() * 0.9));

    // Ground: the profile points, filled down to the base line.
    QPainterPath ground;
    ground.moveTo(toWidget(pic.X[1], kGroundBase));
    for (int i = 1; i <= n; ++i) ground.lineTo(toWidget(pic.X[i], pic.Y[i]));
    ground.lineTo(toWidget(pic.X[n], kGroundBase));
    ground.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(214, 190, 140));
    p.drawPath(ground);
    QPainterPath profile;
    profile.moveTo(toWidget(pic.X[1], pic.Y[1]));
    for (int i = 2; i <= n; ++i) profile.lineTo(toWidget(pic.X[i], pic.Y[i]));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(110, 80, 30), 2));
    p.drawPath(profile);
    // Break points.
    p.setBrush(QColor(110, 80, 30));
    for (int i = 1; i <= n; ++i) p.drawEllipse(toWidget(pic.X[i], pic.Y[i]), 2.5, 2.5);

    // Middle-zone mean height, dashed.
    if (zone_.drawMean && zone_.xn != 0.0 && pic.zmax != pic.zmin) {
        const double x1 = 50 + 500 * zone_.A / zone_.xn;
        const double x2 = 50 + 500 * (zone_.xn - zone_.W) / zone_.xn;
        const double y = 160 - 100 * (zone_.mean - pic.zmin) / (pic.zmax - pic.zmin);
        p.setPen(QPen(QColor(0, 120, 0), 1.5, Qt::DashLine));
        p.drawLine(toWidget(x1, y), toWidget(x2, y));
    }

    // Straight line of sight.
    p.setPen(QPen(QColor(200, 0, 0), 1.5));
    p.drawLine(toWidget(50, pic.Ys), toWidget(550, pic.Yr));

    // Screen from its foot to the crest.
    if (pic.hasScreen) {
        p.setPen(QPen(QColor(30, 30, 160), 4, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(toWidget(pic.Xb, pic.Yfoot), toWidget(pic.Xb, pic.Yb));
    }

    // Source and receiver with their poles.
    p.setPen(QPen(Qt::black, 1.5));
    p.drawLine(toWidget(50, pic.Y[1]), toWidget(50, pic.Ys));
    p.drawLine(toWidget(550, pic.Y[n]), toWidget(550, pic.Yr));
    p.setBrush(Qt::black);
    p.drawEllipse(toWidget(50, pic.Ys), 4, 4);
    p.setBrush(Qt::white);
    p.drawEllipse(toWidget(550, pic.Yr), 4, 4);
    p.setFont(small);
    const QFontMetricsF fm(small);
    const QPointF src = toWidget(50, pic.Ys);
    p.drawText(QPointF(std::max(2.0, src.x() - fm.horizontalAdvance(QStringLiteral("Ljudkälla")) / 2), src.y() - 8),
               QStringLiteral("Ljudkälla"));
    const QPointF rec = toWidget(550, pic.Yr);
    const double recWidth = fm.horizontalAdvance(QStringLiteral("Mottagare"));
    p.drawText(QPointF(std::min(width() - recWidth - 2, rec.x() - recWidth / 2), rec.y() - 8),
               QStringLiteral("Mottagare"));

    // Distances of the points just under the ground, where they do not overlap.
    p.setPen(QPen(Qt::darkGray, 1));
    double lastRight = -1e9;
    for (int i = 1; i <= n && i <= pointTexts_.size(); ++i) {
        const QString& text = pointTexts_[i - 1];
        const QPointF at = toWidget(pic.X[i], kGroundBase);
        const double w = fm.horizontalAdvance(text);
        const double left = std::clamp(at.x() - w / 2, 0.0, width() - w);
        if (left < lastRight + 4) continue;
        p.drawText(QPointF(left, at.y() + fm.ascent() + 1), text);
        lastRight = left + w;
    }

    // Zones along the bottom.
    if (zone_.dp > 0.0 && zone_.xn != 0.0) {
        struct Zone {
            double from, to;
            QString name;
        };
        std::vector<Zone> zones;
        if (zone_.threeZones) {
            const double a = std::clamp(50 + 500 * zone_.A / zone_.xn, 50.0, 550.0);
            const double b = std::clamp(50 + 500 * (zone_.xn - zone_.W) / zone_.xn, a, 550.0);
            zones = {{50, a, QStringLiteral("Källdel")}, {a, b, QStringLiteral("Mellandel")},
                     {b, 550, QStringLiteral("Mottagardel")}};
        } else {
            const double sum = zone_.A + zone_.W;
            const double a = sum > 0 ? 50 + 500 * zone_.A / sum : 300;
            zones = {{50, a, QStringLiteral("Källdel")}, {a, 550, QStringLiteral("Mottagardel")}};
        }
        p.setPen(QPen(Qt::darkGray, 1));
        for (std::size_t i = 0; i < zones.size(); ++i) {
            const Zone& z = zones[i];
            if (i > 0) p.drawLine(toWidget(z.from, kGroundBase), toWidget(z.from, kZoneText + 4));
            const QPointF l = toWidget(z.from, kZoneText), r = toWidget(z.to, kZoneText);
            const QString text = fm.elidedText(z.name, Qt::ElideRight, std::max(0.0, r.x() - l.x() - 2));
            const double w = fm.horizontalAdvance(text);
            p.drawText(QPointF((l.x() + r.x() - w) / 2, l.y()), text);
        }
    }
}
