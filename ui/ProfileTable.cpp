// The number grids of the cross-section dialog and its break-point and screen dialogs.
#include "ui/ProfileTable.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "ui/NumberText.h"

namespace {
bool startsNumber(const QKeyEvent* e)
{
    if (e->text().isEmpty()) return false;
    const QChar c = e->text().at(0);
    return c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('.') || c == QLatin1Char(',');
}
}  // namespace

ProfileCellDelegate::ProfileCellDelegate(ProfileTable* table) : QStyledItemDelegate(table), table_(table) {}

QWidget* ProfileCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QStringLiteral("CellEditor"));
    e->setFrame(false);
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Whole digits and one decimal; a minus sign only where the row allows it.
    const bool negative = table_->allowsNegative && table_->allowsNegative(index.row());
    e->setValidator(numberValidator(e, table_->integerDigits, true, negative));
    editor_ = e;
    index_ = index;
    return e;
}

void ProfileCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* e = static_cast<QLineEdit*>(editor);
    e->setText(index.data(Qt::DisplayRole).toString());
    e->selectAll();  // typing replaces the value
}

// The owner stores accepted values itself (ProfileTable::finishEdit); the model only shows them.
void ProfileCellDelegate::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const {}

bool ProfileCellDelegate::eventFilter(QObject* object, QEvent* event)
{
    if (object != editor_) return QStyledItemDelegate::eventFilter(object, event);
    if (event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        switch (k->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: table_->finishEdit(ProfileTable::Move::Enter); return true;
        case Qt::Key_Left: table_->finishEdit(ProfileTable::Move::Left); return true;
        case Qt::Key_Right: table_->finishEdit(ProfileTable::Move::Right); return true;
        case Qt::Key_Escape: {
            QWidget* w = editor_;
            editor_ = nullptr;
            emit closeEditor(w, QAbstractItemDelegate::RevertModelCache);
            table_->setFocus();
            return true;
        }
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            // Only Enter, Left and Right end an entry from the keyboard.
            return true;
        case Qt::Key_C:
        case Qt::Key_V:
            // The value clipboard belongs to the owner; the system clipboard is left alone.
            if (k->modifiers() & Qt::ControlModifier) {
                if (table_->ownerKey) table_->ownerKey(k->key(), k->modifiers());
                return true;
            }
            return false;
        case Qt::Key_F1:
        case Qt::Key_F4:
        case Qt::Key_F5:
            if (table_->ownerKey && table_->ownerKey(k->key(), k->modifiers())) return true;
            return true;
        default: return false;
        }
    }
    if (event->type() == QEvent::FocusOut) {
        auto* f = static_cast<QFocusEvent*>(event);
        // A pop-up or another window taking the focus does not end the entry.
        if (f->reason() == Qt::PopupFocusReason || f->reason() == Qt::ActiveWindowFocusReason) return false;
        if (!finishing_ && editor_ && !table_->finishEdit(ProfileTable::Move::FocusLost)) {
            // Leaving the cell with a value that is not accepted abandons the entry.
            QWidget* w = editor_;
            editor_ = nullptr;
            emit closeEditor(w, QAbstractItemDelegate::RevertModelCache);
        }
        return false;
    }
    return false;
}

ProfileTable::ProfileTable(QWidget* parent) : QTableWidget(parent), delegate_(new ProfileCellDelegate(this))
{
    setItemDelegate(delegate_);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
}

ProfileTable::~ProfileTable() { detach(); }

void ProfileTable::detach()
{
    delegate_->editor_ = nullptr;
    mayEdit = nullptr;
    accepts = nullptr;
    apply = nullptr;
    allowsNegative = nullptr;
    ownerKey = nullptr;
    enterFinishes = nullptr;
}

QLineEdit* ProfileTable::activeEditor() const { return delegate_->editor_; }

QString ProfileTable::numberText(double v)
{
    return realText(v, 1);
}

bool ProfileTable::parseNumber(const QString& text, double& v)
{
    const std::optional<double> n = parseCellReal(text);
    if (n) v = *n;
    return n.has_value();
}

bool ProfileTable::finishEdit(Move how)
{
    QLineEdit* e = delegate_->editor_;
    if (!e) return false;
    const int row = delegate_->index_.row();
    const int col = delegate_->index_.column();
    double v = 0.0;
    if (!parseNumber(e->text(), v)) return false;
    if (accepts && !accepts(row, col, v)) return false;
    delegate_->finishing_ = true;
    delegate_->editor_ = nullptr;
    emit delegate_->closeEditor(e, QAbstractItemDelegate::NoHint);
    delegate_->finishing_ = false;
    if (how != Move::FocusLost) setFocus();
    if (apply) apply(row, col, v);
    // The owner may have moved the cursor with the value (a point put into order).
    moveAfter(row, currentColumn() >= 0 ? currentColumn() : col, how);
    return true;
}

void ProfileTable::moveAfter(int row, int col, Move how)
{
    switch (how) {
    case Move::FocusLost: return;
    case Move::Left:
        if (col > 0) --col;
        break;
    case Move::Right:
        if (col + 1 < columnCount()) ++col;
        break;
    case Move::Enter:
        if (enterFinishes && enterFinishes(row, col)) return;
        if (row + 1 < rowCount()) {
            ++row;
        } else {
            row = 0;
            if (enterAdvancesColumn && col + 1 < columnCount()) ++col;
        }
        break;
    }
    if (row < rowCount() && col < columnCount()) setCurrentCell(row, col);
}

bool ProfileTable::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (state() == EditingState || !(editTriggers() & trigger)) return QTableWidget::edit(index, trigger, event);
    if (trigger == AnyKeyPressed) {
        auto* k = event && event->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
        if (!k || !startsNumber(k)) return false;
    }
    if (!index.isValid() || !(index.flags() & Qt::ItemIsEditable)) return false;
    if (mayEdit && !mayEdit(index.row(), index.column())) return false;
    return QTableWidget::edit(index, trigger, event);
}

void ProfileTable::keyPressEvent(QKeyEvent* event)
{
    if (ownerKey && ownerKey(event->key(), event->modifiers())) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter without an entry moves on as after one; it never reaches the dialog's buttons.
        const int row = currentRow(), col = currentColumn();
        if (row >= 0 && col >= 0) moveAfter(row, col, Move::Enter);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}
