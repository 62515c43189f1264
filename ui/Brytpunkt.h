#pragma once
// TForm_Brytpunkt, the break-point dialog "Ny Brytpunkt": adds a break point to the
// cross-section of one stretch, or replaces the ground height of the point at the same
// rounded distance.

#include <QDialog>

#include "model/ProjectRecord.h"
#include "ui/ProfileTable.h"

class QLabel;
class QPushButton;

class TForm_Brytpunkt : public QDialog, private ProfileOwner {
    Q_OBJECT
public:
    explicit TForm_Brytpunkt(ProjectRecord& record, QWidget* parent = nullptr);
    ~TForm_Brytpunkt() override;

    // Fills the dialog for stretch s: basis is the selected distance basis (0..4), scale the
    // display scale of the cross-section dialog.
    void prepare(int s, int basis, double scale);
    // prepare and show modally; true when the record was changed.
    bool execFor(int s, int basis, double scale);
    bool changed() const { return changed_; }

    // The two entries, in displayed units; kept between openings.
    double newDistance() const { return newDistance_; }
    double newHeight() const { return newHeight_; }
    void setValues(double distance, double height);

    void Button_OKClick();
    void Button_AvbrytClick();

    GridView* table() const { return table_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyValue(ProfileTable& grid, int row, int col, double v) override;
    bool enterFinishes(const ProfileTable& grid, int row) override;
    void showValues();
    double displayed(int p) const;

    ProjectRecord& r_;
    int s_ = 1;
    double scale_ = 1.0;
    double newDistance_ = 0.0;
    double newHeight_ = 0.0;
    bool changed_ = false;
    QLabel* basisLabel_;
    GridView* table_;
    ProfileTable* values_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};
