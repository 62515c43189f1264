// TForm_Brytpunkt, the break-point dialog "Ny Brytpunkt" of the cross-section dialog.
#include "ui/Brytpunkt.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "calc/Profile.h"
#include "ui/CrossSectionCommon.h"
#include "ui/Platform.h"

TForm_Brytpunkt::TForm_Brytpunkt(ProjectRecord& record, QWidget* parent) : QDialog(parent), r_(record)
{
    setObjectName(QStringLiteral("TForm_Brytpunkt"));
    setWindowTitle(QStringLiteral("Ny Brytpunkt"));
    setModal(true);

    const TwoRowDialogParts parts = layOutTwoRowDialog(
        this, *this, QStringLiteral("OvcTable_Brytpunkt"),
        {QStringLiteral("Avstånd till spårmitt (m)"), QStringLiteral("Markhöjd (m)")});
    basisLabel_ = parts.basisLabel;
    table_ = parts.table;
    values_ = parts.values;
    okButton_ = parts.ok;
    cancelButton_ = parts.cancel;

    connect(okButton_, &QPushButton::clicked, this, &TForm_Brytpunkt::Button_OKClick);
    connect(cancelButton_, &QPushButton::clicked, this, &TForm_Brytpunkt::Button_AvbrytClick);
}

void TForm_Brytpunkt::applyValue(ProfileTable&, int row, int, double v)
{
    if (row == 1)
        newDistance_ = v;
    else
        newHeight_ = v;
    showValues();
}

bool TForm_Brytpunkt::enterFinishes(const ProfileTable&, int row)
{
    // Enter on the height row finishes the dialog when the distance lies inside the profile.
    if (row != 2) return false;
    const int n = ProfilePointCount(r_, s_);
    if (newDistance_ > 0 && newDistance_ < displayed(n)) {
        Button_OKClick();
        return true;
    }
    return false;
}

double TForm_Brytpunkt::displayed(int p) const { return static_cast<double>(r_.bpDistance[s_][p]) * scale_; }

void TForm_Brytpunkt::setValues(double distance, double height)
{
    newDistance_ = distance;
    newHeight_ = height;
    showValues();
}

void TForm_Brytpunkt::showValues()
{
    values_->setValue(1, 1, newDistance_);
    values_->setValue(2, 1, newHeight_);
}

TForm_Brytpunkt::~TForm_Brytpunkt()
{
    table_->detach();
    values_->detach();
}

void TForm_Brytpunkt::prepare(int s, int basis, double scale)
{
    s_ = s;
    scale_ = scale;
    changed_ = false;
    basisLabel_->setText(distanceBasisText(basis));
    showValues();
    table_->setCurrentCell(1, 1);
}

bool TForm_Brytpunkt::execFor(int s, int basis, double scale)
{
    prepare(s, basis, scale);
    platform().execDialog(*this);
    return changed_;
}

void TForm_Brytpunkt::Button_OKClick()
{
    if (!table_->finishEditing()) return;
    const int n = ProfilePointCount(r_, s_);
    int m = findLabel(r_, s_, n, "MT");
    if (m == 0) m = n;
    const double d = roundTenth(newDistance_);
    // A point at or before the track centre is refused like one beyond the receiver.
    if (d <= 0 || !(d < roundTenth(displayed(m)))) {
        showMessage(this, QStringLiteral("Brytpunktens avstånd är större än mottagarens!"));
        reject();
        return;
    }
    int j = n;
    for (int p = 2; p <= n; ++p)
        if (roundTenth(displayed(p)) >= d) {
            j = p;
            break;
        }
    auto& dist = r_.bpDistance[s_];
    auto& height = r_.bpHeight[s_];
    auto& label = r_.bpLabel[s_];
    if (roundTenth(displayed(j)) == d) {
        height[j] = static_cast<float>(newHeight_);
    } else {
        // The arrays hold 33 points; a further point would be written past them.
        if (n >= kMaxBreakPoints) {
            showMessage(this, QStringLiteral("Högst 33 brytpunkter per delsträcka!"));
            reject();
            return;
        }
        for (int p = n; p >= j; --p) {
            dist[p + 1] = dist[p];
            height[p + 1] = height[p];
            label[p + 1] = label[p];
        }
        dist[j] = static_cast<float>(newDistance_ / scale_);
        height[j] = static_cast<float>(newHeight_);
        label[j].clear();
        label[j].setBytes("BP");
        r_.bpCount[s_] = n + 1;
    }
    changed_ = true;
    accept();
}

void TForm_Brytpunkt::Button_AvbrytClick() { reject(); }

void TForm_Brytpunkt::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Button_AvbrytClick();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
    QDialog::keyPressEvent(event);
}
