// ColumnMenus: "Kopiera kolumn" and "Klistra in kolumn" on the headings of the two input tables.
#include "ui/ColumnMenus.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>

#include "ui/TableGrid.h"

namespace {
// The menus show their keys as text only: in the tables Ctrl+C and Ctrl+V belong to the
// single cells.
QAction* item(QMenu* menu, const char* name, const char* text, const char* keys)
{
    QAction* a = menu->addAction(QString::fromUtf8(text) + QLatin1Char('\t') + QString::fromUtf8(keys));
    a->setObjectName(QString::fromUtf8(name));
    return a;
}
}  // namespace

ColumnMenus::ColumnMenus(ColumnContext ctx, QWidget* menuParent, QObject* parent)
    : QObject(parent), ctx_(std::move(ctx))
{
    PopupMenu1_ = new QMenu(menuParent);
    PopupMenu1_->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1_Kopiera_ = item(PopupMenu1_, "PopupMenu1_Kopiera", "Kopiera kolumn", "Ctrl+A");
    PopupMenu1_Klistra_ = item(PopupMenu1_, "PopupMenu1_Klistra", "Klistra in kolumn", "Ctrl+B");
    PopupMenu2_ = new QMenu(menuParent);
    PopupMenu2_->setObjectName(QStringLiteral("PopupMenu2"));
    PopupMenu2_Kopiera_ = item(PopupMenu2_, "PopupMenu2_Kopiera", "Kopiera kolumn", "Ctrl+C");
    PopupMenu2_Klistra_ = item(PopupMenu2_, "PopupMenu2_Klistra", "Klistra in kolumn", "Ctrl+V");
    connect(PopupMenu1_Kopiera_, &QAction::triggered, this, &ColumnMenus::copyTrainColumn);
    connect(PopupMenu1_Klistra_, &QAction::triggered, this, &ColumnMenus::pasteTrainColumn);
    connect(PopupMenu2_Kopiera_, &QAction::triggered, this, &ColumnMenus::copyStretchColumn);
    connect(PopupMenu2_Klistra_, &QAction::triggered, this, &ColumnMenus::pasteStretchColumn);
    applyEnabled();

    for (GridView* v : {ctx_.trainView, ctx_.stretchView})
        if (v) v->horizontalHeader()->viewport()->installEventFilter(this);
}

void ColumnMenus::applyEnabled()
{
    PopupMenu1_Klistra_->setEnabled(clip_.canPasteTrain());
    PopupMenu2_Klistra_->setEnabled(clip_.canPasteStretch());
}

bool ColumnMenus::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(e)->button() == Qt::RightButton) {
        for (GridView* v : {ctx_.trainView, ctx_.stretchView}) {
            if (!v || o != v->horizontalHeader()->viewport()) continue;
            auto* me = static_cast<QMouseEvent*>(e);
            // The column whose heading cell is under the mouse; nothing right of the last one.
            const int section = v->horizontalHeader()->logicalIndexAt(me->position().toPoint());
            if (section < 0) return true;
            const QPoint at = me->globalPosition().toPoint();
            if (v == ctx_.trainView)
                openTrainMenu(section + 1, at);
            else
                openStretchMenu(section + 1, at);
            return true;
        }
    }
    return QObject::eventFilter(o, e);
}

bool ColumnMenus::openTrainMenu(int train, const QPoint& globalPos)
{
    GridView* v = ctx_.trainView;
    if (train < 1 || train > std::min<int>(ctx_.record.trainCount, kMaxTrains)) return false;
    // A cell being edited is taken first, so the copy sees its value.
    if (v && !v->finishEditing()) return false;
    train_ = train;
    PopupMenu1_->popup(globalPos);
    return true;
}

bool ColumnMenus::openStretchMenu(int stretch, const QPoint& globalPos)
{
    GridView* v = ctx_.stretchView;
    if (stretch < 1 || stretch > std::min<int>(ctx_.record.stretchCount, kMaxStretches)) return false;
    if (v && !v->finishEditing()) return false;
    stretch_ = stretch;
    PopupMenu2_->popup(globalPos);
    return true;
}

void ColumnMenus::copyTrainColumn()
{
    if (train_ < 1) return;
    clip_.copyTrain(ctx_.record, train_);
    applyEnabled();
}

void ColumnMenus::copyStretchColumn()
{
    if (stretch_ < 1) return;
    clip_.copyStretch(ctx_.record, stretch_);
    applyEnabled();
}

void ColumnMenus::pasteTrainColumn()
{
    // The column must still be in use (the count may have gone down since the press).
    if (train_ < 1 || train_ > ctx_.record.trainCount) return;
    if (ctx_.trainView && !ctx_.trainView->finishEditing()) return;
    if (!clip_.pasteTrain(ctx_.record, ctx_.doc, train_)) return;
    afterPaste(ctx_.trainView);
}

void ColumnMenus::pasteStretchColumn()
{
    if (stretch_ < 1 || stretch_ > ctx_.record.stretchCount) return;
    if (ctx_.stretchView && !ctx_.stretchView->finishEditing()) return;
    if (!clip_.pasteStretch(ctx_.record, ctx_.doc, stretch_)) return;
    afterPaste(ctx_.stretchView);
}

void ColumnMenus::afterPaste(GridView* view)
{
    if (view) {
        view->gridModel()->refreshAll();
        view->viewport()->update();
    }
    emit columnPasted();
}
