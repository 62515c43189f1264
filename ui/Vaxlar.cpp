// TForm_Vaxlar, the switches-and-crossings dialog of one stretch.
#include "ui/Vaxlar.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/ProjectRecord.h"
#include "ui/Platform.h"

namespace {
// Distance along the track from the foot of the normal to the point seen theta degrees
// away from the normal.
double along(double p, double thetaDegrees)
{
    const double c = std::cos(thetaDegrees * std::numbers::pi / 180.0);
    const double h = p / c;
    return std::sqrt(std::max(0.0, h * h - p * p));
}

// Rounds halves to even.
double roundEven(double x) { return std::nearbyint(x); }

// Keeps a limit within the 16-bit range of the field.
int capped(double x)
{
    if (std::isnan(x)) return 0;
    return static_cast<int>(std::clamp(x, -32768.0, 32767.0));
}
}  // namespace

SwitchLimits switchLimits(double p, int a1, int a2)
{
    if (a1 == 0) a1 = 1;
    if (a2 == 180) a2 = 179;
    double lower, upper;
    if (a1 < 90 && a2 > 90) {
        lower = 0;
        upper = roundEven(along(p, std::max(90 - a1, a2 - 90))) - 10;
    } else if (a1 < 90) {
        upper = roundEven(along(p, 90 - a1)) - 10;
        lower = roundEven(along(p, 90 - a2));
    } else {
        upper = roundEven(along(p, a2 - 90)) - 10;
        lower = roundEven(along(p, a1 - 90));
    }
    return {capped(lower), capped(upper)};
}

TForm_Vaxlar::TForm_Vaxlar(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form_Vaxlar"));
    setWindowTitle(QStringLiteral("Växlar och korsningar"));
    Label1 = new QLabel(QStringLiteral("Ange avståndet från normalen "), this);
    Label2 = new QLabel(QStringLiteral("Till växelns/korsningens början:"), this);
    Edit_Avstand = new QLineEdit(this);
    Edit_Avstand->setObjectName(QStringLiteral("Edit_Avstand"));
    Edit_Avstand->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?\\d{0,6}")), this));
    Edit_Avstand->setAlignment(Qt::AlignRight);
    Edit_Avstand->setFixedWidth(80);
    // The allowed range beside the field, set for each stretch.
    Label_Grans = new QLabel(QStringLiteral("m"), this);
    Label_Grans->setObjectName(QStringLiteral("Label_Grans"));
    Button_Ok = new QPushButton(QStringLiteral("Ok"), this);
    Button_Ok->setObjectName(QStringLiteral("Button_Ok"));
    Button_Ok->setDefault(true);

    auto* grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0, 1, 3);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(Edit_Avstand, 1, 1);
    grid->addWidget(Label_Grans, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button_Ok);
    auto* v = new QVBoxLayout(this);
    v->addLayout(grid);
    v->addSpacing(8);
    v->addLayout(buttons);
    v->setSizeConstraint(QLayout::SetFixedSize);
    connect(Button_Ok, &QPushButton::clicked, this, &TForm_Vaxlar::Button_OkClick);
}

void TForm_Vaxlar::prepare(ProjectRecord& r, int s)
{
    r_ = &r;
    s_ = s;
    limits_ = switchLimits(r.perpDistance[s], r.angleFrom[s], r.angleTo[s]);
    const int v = r.switchStart[s];
    Edit_Avstand->setText(QString::number(v >= limits_.lower && v <= limits_.upper ? v : limits_.lower));
    const QString range = QString::fromUtf8("%1 – %2 m").arg(limits_.lower).arg(limits_.upper);
    Label_Grans->setText(range);
    Edit_Avstand->setToolTip(range);
    Edit_Avstand->selectAll();
    Edit_Avstand->setFocus();
}

bool TForm_Vaxlar::execFor(ProjectRecord& r, int s)
{
    prepare(r, s);
    return platform().execDialog(*this) == QDialog::Accepted;
}

void TForm_Vaxlar::Button_OkClick()
{
    bool ok = false;
    const int v = Edit_Avstand->text().trimmed().toInt(&ok);
    if (!ok || v < limits_.lower || v > limits_.upper) {
        // Outside the limits: nothing is stored and the dialog stays open.
        platform().beep();
        Edit_Avstand->setText(QString::number(limits_.upper));
        Edit_Avstand->selectAll();
        Edit_Avstand->setFocus();
        return;
    }
    if (r_) r_->switchStart[s_] = v;
    accept();
}
