#pragma once
// TForm_Vaxlar, the switches-and-crossings dialog: where on a straight stretch the 10 m zone of switches
// or crossings starts, measured from the foot of the normal.

#include <QDialog>

struct ProjectRecord;
class QLabel;
class QLineEdit;
class QPushButton;

struct SwitchLimits {
    int lower = 0;
    int upper = 0;
    friend bool operator==(const SwitchLimits&, const SwitchLimits&) = default;
};

// The allowed range of the zone start for a stretch at perpendicular distance p seen
// between the angles a1 and a2 (degrees).
SwitchLimits switchLimits(double p, int a1, int a2);

class TForm_Vaxlar : public QDialog {
    Q_OBJECT
public:
    explicit TForm_Vaxlar(QWidget* parent = nullptr);

    // Sets the limits from stretch s and shows its value (the lower limit when the stored
    // value lies outside them).
    void prepare(ProjectRecord& r, int s);
    // prepare + modal run; true when a value was stored.
    bool execFor(ProjectRecord& r, int s);

    const SwitchLimits& limits() const { return limits_; }

    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* Edit_Avstand;
    QLabel* Label_Grans;  // "lower – upper m"
    QPushButton* Button_Ok;

    void Button_OkClick();

private:
    ProjectRecord* r_ = nullptr;
    int s_ = 1;
    SwitchLimits limits_;
};
