#pragma once
// TForm_Berakning, the progress window of a calculation, with a percentage meter and "Avbryt".

#include <QDialog>

class QProgressBar;
class QPushButton;

class TForm_Berakning : public QDialog {
    Q_OBJECT
public:
    explicit TForm_Berakning(QWidget* parent = nullptr);
    // Shows the window with the meter at 0 and draws it at once.
    void start();
    // Sets the meter and lets the window repaint and "Avbryt" be pressed.
    void setPercent(int percent);
    bool cancelRequested() const { return cancelled_; }
    void finish();
    QProgressBar* meter() const { return meter_; }
    QPushButton* cancelButton() const { return cancel_; }

protected:
    void reject() override;

private:
    QProgressBar* meter_;
    QPushButton* cancel_;
    bool cancelled_ = false;
};
