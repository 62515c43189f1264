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

    // The empty groups the report and export buttons go in ("Utskrift", "Export").
    QGroupBox* utskriftGroup() const { return GroupBox_Utskrift_; }
    QGroupBox* exportGroup() const { return GroupBox_Export_; }

private:
    void placeTables();

    // Controls, named as the program names them.
    QTableWidget* OvcTable_Res_ = nullptr;
    QTableWidget* OvcTable_DelRes_ = nullptr;
    QTableWidget* OvcTable_SparRes_ = nullptr;
    QGroupBox* GroupBox_Utskrift_ = nullptr;
    QGroupBox* GroupBox_Export_ = nullptr;
};
