#pragma once
// ColumnMenus: the column menus of the two input tables: a right press on a heading cell opens
// "Kopiera kolumn" / "Klistra in kolumn" for the train or stretch under the mouse. The
// copied column stays inside the program (report/ColumnClipboard.h).

#include <QObject>
#include <QPoint>

#include "model/DocumentState.h"
#include "model/ProjectRecord.h"
#include "report/ColumnClipboard.h"

class GridView;
class QAction;
class QMenu;
class QWidget;

struct ColumnContext {
    ProjectRecord& record;
    DocumentState& doc;
    GridView* trainView;    // the train table
    GridView* stretchView;  // the stretch table
};

class ColumnMenus : public QObject {
    Q_OBJECT
public:
    ColumnMenus(ColumnContext ctx, QWidget* menuParent, QObject* parent = nullptr);

    // The column a right press chose (1..), 0 before the first one.
    int chosenTrain() const { return train_; }
    int chosenStretch() const { return stretch_; }
    const ColumnClipboard& clipboard() const { return clip_; }

    // Records the column and opens the table's menu at globalPos, as a right press on its
    // heading does. False when the column is not in use or a pending edit was refused.
    bool openTrainMenu(int train, const QPoint& globalPos);
    bool openStretchMenu(int stretch, const QPoint& globalPos);

    // The menu items.
    void copyTrainColumn();
    void pasteTrainColumn();
    void copyStretchColumn();
    void pasteStretchColumn();

signals:
    // A column was pasted into the record (the window runs its completeness check).
    void columnPasted();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void applyEnabled();
    void afterPaste(GridView* view);

    ColumnContext ctx_;
    // The menus and their items, named as the program names them (also their object names).
    QMenu* PopupMenu1_ = nullptr;  // train table
    QMenu* PopupMenu2_ = nullptr;  // stretch table
    QAction* PopupMenu1_Kopiera_ = nullptr;
    QAction* PopupMenu1_Klistra_ = nullptr;
    QAction* PopupMenu2_Kopiera_ = nullptr;
    QAction* PopupMenu2_Klistra_ = nullptr;
    ColumnClipboard clip_;
    int train_ = 0;
    int stretch_ = 0;
};
