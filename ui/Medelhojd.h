#pragma once
// TForm_MedelHojd, the cross-section dialog: break points, screen and receiver height of one stretch, with a
// picture of the profile and the line-of-sight analysis after every change. Every edit is
// written straight into the project record.

#include <QDialog>
#include <functional>

#include "ui/CrossSectionCommon.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class CrossSectionPicture;
class ProfileTable;
class TForm_Brytpunkt;
class TForm1;

class TForm_MedelHojd : public QDialog {
    Q_OBJECT
public:
    explicit TForm_MedelHojd(CrossSectionContext context, QWidget* parent = nullptr);
    ~TForm_MedelHojd() override;

    // Shows the dialog modally for stretch s (1..8). Returns true when the record was
    // changed; `modified` is then set and refreshCommandState has run.
    bool editStretch(int s);
    // The opening steps without the modal loop (editStretch calls it first).
    void openStretch(int s);
    // Run when the dialog closes after a change: the main window's completeness check.
    std::function<void()> refreshCommandState;

    // "&OK": the warning of a profile that should be a screen case, then closing.
    void Button_OKClick();

    // State for the main window and tests.
    int stretch() const { return s_; }
    double displayScale() const { return scale_; }
    double displayedDistance(int p) const;
    const ProfileAnalysis& analysis() const { return analysis_; }
    TForm_Brytpunkt* breakPointDialog() const { return bpDialog_; }
    TForm1* screenDialog() const { return screenDialog_; }
    ProfileTable* breakPointTable() const { return bpTable_; }
    ProfileTable* screenTable() const { return screenTable_; }
    QComboBox* screenList() const { return screenList_; }
    QLineEdit* receiverHeightField() const { return receiverField_; }
    QLabel* infoLine() const { return info_; }
    CrossSectionPicture* picture() const { return picture_; }
    // The value clipboard of the break-point table.
    double valueClipboard() const { return clipboard_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    // Break-point table.
    bool breakPointMayEdit(int row, int col);
    bool breakPointAccepts(int row, int col, double v) const;
    void breakPointApply(int row, int col, double v);
    void moveDistance(int c, double v);
    bool breakPointKey(int key, Qt::KeyboardModifiers modifiers);
    void addBreakPoint();     // F4
    void deleteBreakPoint();  // F5
    void copyValue();         // Ctrl+C
    void pasteValue();        // Ctrl+V
    void copyHeights();
    // Screen table and list.
    bool screenMayEdit(int row, int col);
    bool screenAccepts(int row, int col, double v) const;
    void screenApply(int row, int col, double v);
    void screenListChanged(int index);
    void setScreenList(int index);
    // Receiver height field.
    void receiverHeightEntered();
    // Distance basis.
    void setBasis(int basis);
    // Info line from the control that has the focus.
    void focusChanged(QWidget* old, QWidget* now);
    void showScreenInfo(int row);

    void markChanged();
    // Refreshes the displayed distances, runs the profile analysis and redraws.
    void refresh();
    void fillBreakPointTable();
    void fillScreenTable();
    void finishClose();
    int pointCount() const;

    CrossSectionContext ctx_;
    ProjectRecord& r_;
    int s_ = 1;
    double scale_ = 1.0;
    double clipboard_ = 0.0;
    float rememberedDistance_ = 0.0f;
    float rememberedCrest_ = 0.0f;
    bool updatingList_ = false;
    bool closing_ = false;
    bool userChanged_ = false;
    ProjectRecord snapshot_;
    ProfileAnalysis analysis_;

    QLabel* shapeLabel_;
    QButtonGroup* basisGroup_;
    QRadioButton* basisButtons_[5];
    ProfileTable* bpTable_;
    CrossSectionPicture* picture_;
    ProfileTable* screenTable_;
    QComboBox* screenList_;
    QLineEdit* receiverField_;
    QLabel* heightLabel_;
    QLabel* baseLabel_;
    QLabel* info_;
    QPushButton* okButton_;
    TForm_Brytpunkt* bpDialog_;
    TForm1* screenDialog_;
};
