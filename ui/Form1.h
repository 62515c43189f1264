#pragma once
// TForm1, the screen dialog "SKÄRM": asks for the position and crest height of a screen
// when one is switched on in the cross-section dialog.

#include <QDialog>

#include "model/ProjectRecord.h"
#include "ui/ProfileTable.h"

class QLabel;
class QPushButton;

class TForm1 : public QDialog, private ProfileOwner {
    Q_OBJECT
public:
    // Stored: the values were written; Aborted: the distance error box was left with Abort
    // (nothing stored, the screen stays switched on); Cancelled: "&Avbryt", screenType := 0.
    enum class Outcome { Stored, Aborted, Cancelled };

    explicit TForm1(ProjectRecord& record, QWidget* parent = nullptr);
    ~TForm1() override;

    // Fills the dialog from the record for stretch s; basis and scale as in the
    // cross-section dialog.
    void prepare(int s, int basis, double scale);
    Outcome execFor(int s, int basis, double scale);
    Outcome outcome() const { return outcome_; }

    // Values in displayed units.
    double limit() const { return limit_; }
    double screenDistance() const { return distance_; }
    double crestHeight() const { return crest_; }
    void setValues(double distance, double crest);

    void Button_OKClick();
    void Button_AvbrytClick();

    GridView* table() const { return table_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void applyValue(ProfileTable& grid, int row, int col, double v) override;
    bool enterFinishes(const ProfileTable& grid, int row) override;
    void showValues();

    ProjectRecord& r_;
    int s_ = 1;
    double scale_ = 1.0;
    double limit_ = 0.0;
    double distance_ = 0.0;
    double crest_ = 0.0;
    Outcome outcome_ = Outcome::Cancelled;
    bool closing_ = false;
    QLabel* basisLabel_;
    GridView* table_;
    ProfileTable* values_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};
