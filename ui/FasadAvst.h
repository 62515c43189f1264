#pragma once
// TForm_FasadAvst, the facade-distance dialog: the distance from the receiver to the facade behind it,
// 0.5..20 m.

#include <QDialog>

struct ProjectRecord;
struct DocumentState;
class QLineEdit;

class TForm_FasadAvst : public QDialog {
    Q_OBJECT
public:
    TForm_FasadAvst(ProjectRecord& record, DocumentState& doc, QWidget* parent = nullptr);
    int execFor();
    QLineEdit* editor() const { return edit_; }
    // "Ok": accepts the typed value and closes when it lies within 0.5..20 m.
    void okClicked();

private:
    void acceptEdit();
    ProjectRecord& r_;
    DocumentState& doc_;
    QLineEdit* edit_;
};
