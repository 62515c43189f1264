#pragma once
// The picture of a cross-section: the ground profile, source and receiver, the screen, the
// straight line of sight, the middle-zone mean height and the zone names. Everything is
// placed by the integer coordinates of the profile analysis (logical frame x 50..550,
// y up to 160) and scaled to the widget's size.

#include <QPointF>
#include <QStringList>
#include <QWidget>

#include "calc/Profile.h"

class CrossSectionPicture : public QWidget {
    Q_OBJECT
public:
    explicit CrossSectionPicture(QWidget* parent = nullptr);
    // pointTexts: the distance shown under each break point (index 0 = point 1).
    void setProfile(const ProfilePicture& picture, const MiddleZone& zone, const QStringList& pointTexts = {});
    QSize sizeHint() const override { return {620, 240}; }
    QSize minimumSizeHint() const override { return {300, 140}; }

    // The logical frame shown: x 0..600, y 30..200.
    QPointF toWidget(double x, double y) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ProfilePicture picture_;
    MiddleZone zone_;
    QStringList pointTexts_;
};
