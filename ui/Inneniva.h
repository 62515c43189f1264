#pragma once
// TForm_Inneniva, the indoor-level dialog: window area, room absorption and the windows' Rw give the facade
// insulation, shown greyed below them.

#include <QDialog>

struct ProjectRecord;
struct DocumentState;
class QTableWidget;

class TForm_Inneniva : public QDialog {
    Q_OBJECT
public:
    TForm_Inneniva(ProjectRecord& record, DocumentState& doc, QWidget* parent = nullptr);
    // Fills the grid from the record and shows the dialog modally.
    int execFor();
    QTableWidget* grid() const { return grid_; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void load();
    void cellChanged(int row, int column);
    ProjectRecord& r_;
    DocumentState& doc_;
    QTableWidget* grid_;
    bool loading_ = false;
};
