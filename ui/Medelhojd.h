#pragma once
// TForm_MedelHojd, the cross-section dialog: break points, screen and receiver height of one stretch, with a
// picture of the profile and the line-of-sight analysis after every change. Every edit is
// written straight into the project record.

#include <QDialog>

#include "ui/CrossSectionCommon.h"
#include "ui/ProfileTable.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class CrossSectionPicture;
class GridView;
class TForm_Brytpunkt;
class TForm1;

class TForm_MedelHojd : public QDialog, private ProfileOwner {
    Q_OBJECT
public:
    explicit TForm_MedelHojd(CrossSectionContext context, QWidget* parent = nullptr);
    ~TForm_MedelHojd() override;

    // Shows the dialog modally for stretch s (1..8). Returns true when the record was
    // changed; `modified` is then set and closedWithChanges was emitted.
    bool editStretch(int s);
    // The opening steps without the modal loop (editStretch calls it first).
    void openStretch(int s);

    // "&OK": the warning of a profile that should be a screen case, then closing.
    void Button_OKClick();

    // State for the main window and tests.
    int stretch() const { return s_; }
    double displayScale() const { return scale_; }
    double displayedDistance(int p) const;
    const ProfileAnalysis& analysis() const { return analysis_; }
    GridView* breakPointTable() const { return bpTable_; }
    GridView* screenTable() const { return screenTable_; }
    QComboBox* screenList() const { return screenList_; }
    QLineEdit* receiverHeightField() const { return receiverField_; }
    QLabel* infoLine() const { return info_; }
    CrossSectionPicture* picture() const { return picture_; }
    // The value clipboard of the break-point table.
    double valueClipboard() const { return clipboard_; }

signals:
    // The dialog closed after a change: the main window runs its completeness check.
    void closedWithChanges();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    // Both grids (rows and columns from 1; the break-point columns are the points).
    bool mayEditCell(const ProfileTable& grid, int row, int col) override;
    bool acceptsValue(const ProfileTable& grid, int row, int col, double v) const override;
    void applyValue(ProfileTable& grid, int row, int col, double v) override;
    // Break-point table.
    void moveDistance(int c, double v);
    void breakPointKey(QKeyCombination key);  // F1, F4, F5, Ctrl+C, Ctrl+V
    void addBreakPoint();     // F4
    void deleteBreakPoint();  // F5
    void copyValue();         // Ctrl+C
    void pasteValue();        // Ctrl+V
    void copyHeights();
    // Screen list.
    void screenListChanged(int index);
    void setScreenList(int index);
    // Receiver height field.
    void receiverHeightEntered();
    // Distance basis.
    void setBasis(int basis);
    // Info line from the control that has the focus.
    void focusChanged(QWidget* old, QWidget* now);
    void showScreenInfo(int row);  // rows from 1

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
    ProfileTable* bpValues_;
    GridView* bpTable_;
    CrossSectionPicture* picture_;
    ProfileTable* screenValues_;
    GridView* screenTable_;
    QComboBox* screenList_;
    QLineEdit* receiverField_;
    QLabel* heightLabel_;
    QLabel* baseLabel_;
    QLabel* info_;
    QPushButton* okButton_;
    TForm_Brytpunkt* bpDialog_;
    TForm1* screenDialog_;
};
