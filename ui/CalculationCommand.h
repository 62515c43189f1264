#pragma once
// CalculationCommand: "&Beräkning" of the main window — the run with its progress window
// (TForm_Berakning, "Avbryt" stops it) and, when it completes, the results page.

#include <QObject>

class TForm_Berakning;
class TForm_Skenbrus;

class CalculationCommand : public QObject {
    Q_OBJECT
public:
    explicit CalculationCommand(TForm_Skenbrus& window);

    TForm_Berakning* Form_Berakning() const { return Form_Berakning_; }

public slots:
    // Runs the calculation on the window's project as it stands.
    void run();

private:
    TForm_Skenbrus& w_;
    TForm_Berakning* Form_Berakning_;
};
