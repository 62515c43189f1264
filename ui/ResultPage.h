#pragma once
// The "Resultat" page: the result grid, the stretch and track contributions, and the groups
// that hold the report and export buttons.

#include <QWidget>

struct CalcResults;
struct ProjectRecord;
class QGroupBox;
class QTableWidget;

class ResultPage : public QWidget {
    Q_OBJECT
public:
    explicit ResultPage(QWidget* parent = nullptr);

    // Fills and sizes the three tables from the results of a completed run.
    void showResults(const ProjectRecord& r, const CalcResults& res);

    // The texts a cell shows (row and column as the tables number them, 0 = heading).
    static QString wholeText(double v);
    static QString tenthText(double v);

    QTableWidget* OvcTable_Res = nullptr;
    QTableWidget* OvcTable_DelRes = nullptr;
    QTableWidget* OvcTable_SparRes = nullptr;
    QGroupBox* GroupBox_Utskrift = nullptr;
    QGroupBox* GroupBox_Export = nullptr;

private:
    void placeTables();
};
