// The grid view, its editors and the edit cycle of every table and cross-section grid.
#include "ui/TableGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <limits>

#include "model/ProjectRecord.h"
#include "ui/NumberText.h"
#include "ui/Platform.h"


// ---------------------------------------------------------------------------------------
// EditTableModel

EditTableModel::EditTableModel(QObject* parent) : QAbstractTableModel(parent) {}

std::optional<QString> EditTableModel::checkValue(int, int, const QVariant&) const { return std::nullopt; }

void EditTableModel::refreshAll()
{
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

void EditTableModel::resetShape()
{
    beginResetModel();
    endResetModel();
}

int EditTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : usedRows(); }
int EditTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : usedColumns(); }

QVariant EditTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) return {};
    const int row = index.row() + 1, col = index.column() + 1;
    const bool check = cellFormat(row, col).kind == CellKind::Check;
    switch (role) {
    case Qt::DisplayRole: return check ? QVariant() : QVariant(displayText(row, col));
    case Qt::EditRole: return fieldValue(row, col);
    case Qt::CheckStateRole:
        if (!check) return {};
        return fieldValue(row, col).toBool() ? Qt::Checked : Qt::Unchecked;
    case Qt::ForegroundRole:
        if (greyed(row, col)) return QColor(Qt::gray);
        return {};
    case Qt::TextAlignmentRole: return int(Qt::AlignCenter);
    case Qt::ToolTipRole: return statusText(row, col);
    default: return {};
    }
}

bool EditTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole) return false;
    const int row = index.row() + 1, col = index.column() + 1;
    if (cellFormat(row, col).kind != CellKind::Check || !editable(row, col)) return false;
    const bool on = static_cast<Qt::CheckState>(value.toInt()) == Qt::Checked;
    return acceptValue(row, col, on);
}

QVariant EditTableModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (role == Qt::DisplayRole) {
        if (o == Qt::Horizontal) return columnTitle(section + 1);
        return rowTitle(section + 1);
    }
    if (role == Qt::TextAlignmentRole && o == Qt::Vertical) return int(Qt::AlignLeft | Qt::AlignVCenter);
    return QAbstractTableModel::headerData(section, o, role);
}

Qt::ItemFlags EditTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int row = index.row() + 1, col = index.column() + 1;
    if (!editable(row, col)) return f;
    const CellKind k = cellFormat(row, col).kind;
    if (k == CellKind::Check) return f | Qt::ItemIsUserCheckable;
    if (k != CellKind::ReadOnly) return f | Qt::ItemIsEditable;
    return f;
}

// ---------------------------------------------------------------------------------------
// RecordTableModel

RecordTableModel::RecordTableModel(ProjectRecord& record, TableHost& host, QObject* parent)
    : EditTableModel(parent), r_(record), host_(host)
{
}

QVariant RecordTableModel::clipboard(ClipKind kind) const
{
    return kind == ClipKind::Int ? QVariant(host_.cellClipboardInt) : QVariant(static_cast<double>(host_.cellClipboardReal));
}

void RecordTableModel::setClipboard(ClipKind kind, const QVariant& v)
{
    if (kind == ClipKind::Int)
        host_.cellClipboardInt = static_cast<std::int32_t>(v.toLongLong());
    else
        host_.cellClipboardReal = static_cast<float>(v.toDouble());
}

EditRules EditRules::numberGrid()
{
    EditRules r;
    r.onlyNumberKeysStart = true;
    r.clickOnCurrentStarts = false;
    r.leftRightEndEntry = true;
    r.refusedStaysTyped = true;
    r.keepsEscape = true;
    r.rightAligned = true;
    return r;
}

// ---------------------------------------------------------------------------------------
// CellDelegate

CellDelegate::CellDelegate(GridView* view) : QStyledItemDelegate(view), view_(view) {}

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    const EditTableModel* m = view_->gridModel();
    const CellFormat cellKind = m->cellFormat(index.row() + 1, index.column() + 1);
    QWidget* w = nullptr;
    switch (cellKind.kind) {
    case CellKind::Int:
    case CellKind::Real: {
        // Integers up to ten digits; reals up to seven and one decimal.
        const bool real = cellKind.kind == CellKind::Real;
        const int digits = cellKind.maxDigits > 0 ? cellKind.maxDigits : real ? 7 : 10;
        auto* e = new QLineEdit(parent);
        e->setValidator(numberValidator(e, digits, real, cellKind.allowNegative));
        if (view_->rules.rightAligned) {
            e->setFrame(false);
            e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        } else {
            e->setAlignment(Qt::AlignCenter);
        }
        w = e;
        break;
    }
    case CellKind::List: {
        auto* c = new QComboBox(parent);
        c->addItems(cellKind.items);
        connect(c, &QComboBox::activated, view_, [v = view_](int) { v->listChosen(); });
        // The dropped list is a window of its own: its closing is watched to take back an
        // edit that ended without a choice.
        c->view()->window()->installEventFilter(const_cast<CellDelegate*>(this));
        w = c;
        break;
    }
    default: return nullptr;
    }
    w->setObjectName(QStringLiteral("CellEditor"));
    editor_ = w;
    editorIndex_ = index;
    return w;
}

void CellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const EditTableModel* m = view_->gridModel();
    const int row = index.row() + 1, col = index.column() + 1;
    const QVariant v = m->fieldValue(row, col);
    if (auto* e = qobject_cast<QLineEdit*>(editor)) {
        const CellKind k = m->cellFormat(row, col).kind;
        e->setText(k == CellKind::Real ? realText(v.toDouble()) : QString::number(v.toLongLong()));
        e->selectAll();
    } else if (auto* c = qobject_cast<QComboBox*>(editor)) {
        const int i = v.toInt();
        c->setCurrentIndex(i >= 0 && i < c->count() ? i : -1);
    }
}

void CellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const
{
    QStyledItemDelegate::updateEditorGeometry(editor, option, index);
    auto* c = qobject_cast<QComboBox*>(editor);
    if (!c) return;
    // A list is as wide as its longest entry, also where that is wider than the cell; it
    // stays inside the table's visible part.
    QRect rect = editor->geometry();
    const int width = std::max(rect.width(), c->sizeHint().width());
    if (width == rect.width()) return;
    rect.setWidth(width);
    if (const QWidget* area = editor->parentWidget(); area && rect.right() >= area->width())
        rect.moveLeft(std::max(0, area->width() - width));
    editor->setGeometry(rect);
}

void CellDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    if (editor == editor_) {
        editor_ = nullptr;
        editorIndex_ = QPersistentModelIndex();
    }
    QStyledItemDelegate::destroyEditor(editor, index);
}

void CellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (view_ && view_->rules.rightAligned) option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
}

namespace {
bool isCheckCell(const EditTableModel* m, const QModelIndex& index)
{
    return index.isValid() && m->cellFormat(index.row() + 1, index.column() + 1).kind == CellKind::Check;
}
}  // namespace

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (!view_ || !isCheckCell(view_->gridModel(), index)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const QWidget* w = option.widget;
    QStyle* style = w ? w->style() : QApplication::style();
    opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    opt.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
    QStyleOptionViewItem box(opt);
    const QSize size(style->pixelMetric(QStyle::PM_IndicatorWidth, &opt, w),
                     style->pixelMetric(QStyle::PM_IndicatorHeight, &opt, w));
    box.rect = QRect(option.rect.center() - QPoint(size.width() / 2, size.height() / 2), size);
    box.state &= ~(QStyle::State_On | QStyle::State_Off | QStyle::State_HasFocus);
    box.state |= index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, w);
}

bool CellDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                               const QModelIndex& index)
{
    if (!view_ || !isCheckCell(view_->gridModel(), index))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    if (!(index.flags() & Qt::ItemIsUserCheckable)) return false;
    bool toggle = false;
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() != Qt::LeftButton || !option.rect.contains(me->position().toPoint())) return false;
        toggle = true;
        break;
    }
    case QEvent::MouseButtonDblClick: return true;
    case QEvent::KeyPress: {
        const int k = static_cast<QKeyEvent*>(event)->key();
        toggle = k == Qt::Key_Space || k == Qt::Key_Select;
        break;
    }
    default: return false;
    }
    if (!toggle) return false;
    const bool on = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    return model->setData(index, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

std::optional<QVariant> CellDelegate::editorValue() const
{
    if (auto* c = qobject_cast<QComboBox*>(editor_.data())) return QVariant(c->currentIndex());
    auto* e = qobject_cast<QLineEdit*>(editor_.data());
    if (!e) return std::nullopt;
    const CellKind k = view_->gridModel()->cellFormat(editorIndex_.row() + 1, editorIndex_.column() + 1).kind;
    if (k == CellKind::Real) {
        auto v = parseCellReal(e->text());
        if (!v) return std::nullopt;
        return QVariant(*v);
    }
    auto v = parseCellInt(e->text());
    if (!v) return std::nullopt;
    return QVariant(*v);
}

void CellDelegate::setEditorText(const QString& text)
{
    if (auto* e = qobject_cast<QLineEdit*>(editor_.data())) e->setText(text);
}

bool CellDelegate::eventFilter(QObject* object, QEvent* event)
{
    if (event->type() == QEvent::Hide && view_) {
        auto* c = qobject_cast<QComboBox*>(editor_.data());
        if (c && object == c->view()->window()) {
            // A choice from the list reports itself right after the list closes; one that
            // did not come (Escape, a click elsewhere) takes the edit back.
            QTimer::singleShot(0, view_, [v = view_, list = QPointer<QWidget>(c)] { v->listClosed(list); });
            return false;
        }
    }
    auto* ed = qobject_cast<QWidget*>(object);
    if (!view_ || !ed || ed != editor_) return false;
    if (event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        const int k = ke->key();
        const bool ctrl = ke->modifiers() & Qt::ControlModifier;
        const bool text = qobject_cast<QLineEdit*>(ed) != nullptr;
        if ((ctrl && (k == Qt::Key_C || k == Qt::Key_V || k == Qt::Key_T)) || view_->isOwnerKey(ke) ||
            k == Qt::Key_Return || k == Qt::Key_Enter) {
            view_->editorKey(ke);
            return true;
        }
        if (view_->rules.leftRightEndEntry) {
            switch (k) {
            case Qt::Key_Left:
            case Qt::Key_Right: view_->editorKey(ke); return true;
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown: return true;  // no way out of an entry
            default: break;
            }
        }
        if (k == Qt::Key_Tab || k == Qt::Key_Backtab || ((k == Qt::Key_Up || k == Qt::Key_Down) && text)) {
            view_->editorKey(ke);
            return true;
        }
        if (k == Qt::Key_Escape) {
            // The edit is abandoned: the field keeps its value.
            emit closeEditor(ed, QAbstractItemDelegate::RevertModelCache);
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::FocusOut) {
        view_->editorFocusLost(static_cast<QFocusEvent*>(event)->reason());
        return false;
    }
    return false;
}

// ---------------------------------------------------------------------------------------
// GridView

GridView::GridView(EditTableModel* model, QWidget* parent, const EditRules& editRules)
    : QTableView(parent), rules(editRules), model_(model)
{
    setModel(model);
    delegate_ = new CellDelegate(this);
    setItemDelegate(delegate_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed |
                    (rules.clickOnCurrentStarts ? QAbstractItemView::SelectedClicked : QAbstractItemView::NoEditTriggers));
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        if (!currentIndex().isValid() && model_->rowCount() > 0 && model_->columnCount() > 0)
            setCurrentIndex(model_->index(0, 0));
    });
}

GridView::~GridView() { delegate_->detach(); }

void GridView::detach()
{
    delegate_->detach();
    disconnect(this, &GridView::ownerKey, nullptr, nullptr);
    disconnect(this, &GridView::cellEntered, nullptr, nullptr);
}

void GridView::setCurrentCell(int row, int col)
{
    const QModelIndex i = model_->index(row - 1, col - 1);
    if (!i.isValid()) return;
    // Moving the cursor ends a pending edit the same way as leaving the cell does.
    if (isEditing() && i != currentIndex() && !finishEditing()) return;
    setCurrentIndex(i);
    scrollTo(i);
}

void GridView::refuse(const QString& message)
{
    QWidget* ed = delegate_->editor();
    if (!message.isEmpty()) {
        finishing_ = true;
        platform().message(window(), QStringLiteral("Skenbrus"), message, MsgIcon::Error, MsgButtons::Ok);
        finishing_ = false;
    }
    if (ed && ed == delegate_->editor() && !rules.refusedStaysTyped) {
        // The cell stays in editing with the old field value.
        delegate_->setEditorData(ed, delegate_->editorIndex());
        ed->setFocus();
    }
}

void GridView::abandonEntry()
{
    if (QWidget* ed = delegate_->editor()) closeEditor(ed, QAbstractItemDelegate::RevertModelCache);
}

bool GridView::finishEditing(bool chosen)
{
    if (finishing_) return false;
    QWidget* ed = delegate_->editor();
    if (!ed) return true;
    const QModelIndex idx = delegate_->editorIndex();
    const int row = idx.row() + 1, col = idx.column() + 1;
    const std::optional<QVariant> v = delegate_->editorValue();
    if (!v) {
        // An integer beyond the signed 32-bit range cannot be stored.
        platform().beep();
        delegate_->setEditorData(ed, idx);
        ed->setFocus();
        return false;
    }
    if (const std::optional<QString> msg = model_->checkValue(row, col, *v)) {
        refuse(*msg);
        return false;
    }
    const bool list = model_->cellFormat(row, col).kind == CellKind::List;
    const bool unchanged = list && !chosen && *v == model_->fieldValue(row, col);
    finishing_ = true;
    closeEditor(ed, QAbstractItemDelegate::NoHint);
    finishing_ = false;
    if (!unchanged) model_->acceptValue(row, col, *v);
    return true;
}

bool GridView::enterValue(const QModelIndex& index, const QVariant& v)
{
    if (!index.isValid()) return false;
    const int row = index.row() + 1, col = index.column() + 1;
    if (!model_->editable(row, col)) return false;
    if (const std::optional<QString> msg = model_->checkValue(row, col, v)) {
        setCurrentIndex(index);
        QTableView::edit(index, QAbstractItemView::EditKeyPressed, nullptr);
        refuse(*msg);
        return false;
    }
    return model_->acceptValue(row, col, v);
}

void GridView::enterPressed()
{
    const int row = currentRow(), col = currentColumn();
    if (row == 0 || model_->enterFinishes(row, col)) return;
    if (row < model_->usedRows())
        setCurrentCell(row + 1, col);
    else
        setCurrentCell(1, rules.enterAdvancesColumn && col < model_->usedColumns() ? col + 1 : col);
}

bool GridView::isOwnerKey(const QKeyEvent* e) const
{
    for (const QKeyCombination& k : ownerKeys)
        if (e->key() == k.key() && (e->modifiers() & k.keyboardModifiers()) == k.keyboardModifiers()) return true;
    return false;
}

bool GridView::handleOwnerKey(QKeyEvent* e)
{
    if (!isOwnerKey(e)) return false;
    emit ownerKey(e->keyCombination());
    return true;
}

bool GridView::handleClipboardKey(QKeyEvent* e)
{
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    if (!ctrl || (e->key() != Qt::Key_C && e->key() != Qt::Key_V)) return false;
    const int row = currentRow(), col = currentColumn();
    if (row == 0) return true;
    const ClipKind kind = model_->clipKind(row);
    if (kind == ClipKind::None) return true;  // other rows: nothing
    if (e->key() == Qt::Key_C) {
        QVariant v = model_->fieldValue(row, col);
        if (isEditing())
            if (auto ev = delegate_->editorValue()) v = *ev;
        model_->setClipboard(kind, v);
        return true;
    }
    if (!model_->editable(row, col)) return true;
    const QVariant v = model_->clipboard(kind);
    if (isEditing()) {
        delegate_->setEditorText(kind == ClipKind::Int ? QString::number(v.toInt()) : realText(v.toDouble()));
        finishEditing();
    } else {
        enterValue(currentIndex(), v);
    }
    return true;
}

void GridView::editorKey(QKeyEvent* e)
{
    if (handleOwnerKey(e) || handleClipboardKey(e)) return;
    const int k = e->key();
    if (e->modifiers() & Qt::ControlModifier) return;
    if (!finishEditing()) return;
    const int row = currentRow(), col = currentColumn();
    switch (k) {
    case Qt::Key_Return:
    case Qt::Key_Enter: enterPressed(); break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // As outside an edit, Tab leaves the table.
        focusNextPrevChild(k == Qt::Key_Tab);
        break;
    case Qt::Key_Up:
        if (row > 1) setCurrentCell(row - 1, col);
        break;
    case Qt::Key_Down:
        if (row < model_->usedRows()) setCurrentCell(row + 1, col);
        break;
    case Qt::Key_Left:
        if (col > 1) setCurrentCell(row, col - 1);
        break;
    case Qt::Key_Right:
        if (col < model_->usedColumns()) setCurrentCell(row, col + 1);
        break;
    default: break;
    }
}

void GridView::editorFocusLost(Qt::FocusReason reason)
{
    if (finishing_) return;
    // Another window (a message box, the list's pop-up) took the focus: the edit goes on.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
    QPointer<QWidget> ed = delegate_->editor();
    if (!ed) return;
    // The focus went into the list's pop-up, a window of its own inside the editor.
    if (QApplication::activePopupWidget()) return;
    QWidget* fw = QApplication::focusWidget();
    for (QWidget* w = fw; w; w = w->parentWidget())
        if (w == ed) return;
    // A click elsewhere in the table: the press that follows finishes the edit.
    if (fw == this) return;
    if (finishEditing() || !ed) return;
    if (rules.refusedStaysTyped)
        abandonEntry();
    else
        QTimer::singleShot(0, ed, [ed] { if (ed) ed->setFocus(); });
}

void GridView::listChosen()
{
    if (finishing_) return;
    finishEditing(true);
}

void GridView::listClosed(QWidget* list)
{
    if (!list || list != delegate_->editor() || finishing_) return;
    closeEditor(list, QAbstractItemDelegate::RevertModelCache);
    setFocus();
}

void GridView::keyPressEvent(QKeyEvent* e)
{
    // A cursor key the editor passed on (page keys, Left/Right out of a list) moves the
    // cursor: the edit is finished first, or the cursor stays when its value is refused.
    if (isEditing()) {
        switch (e->key()) {
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
            if (!finishEditing()) return;
            break;
        default: break;
        }
    }
    if (handleOwnerKey(e) || handleClipboardKey(e)) return;
    const int k = e->key();
    const int row = currentRow(), col = currentColumn();
    if (k == Qt::Key_Return || k == Qt::Key_Enter) {
        if (e->modifiers() == Qt::NoModifier || e->modifiers() == Qt::KeypadModifier) {
            enterPressed();
            return;
        }
    }
    if (k == Qt::Key_Escape && rules.keepsEscape) return;
    if (k == Qt::Key_Down && rules.swallowDownInLastRow && row == model_->usedRows()) return;
    if (k == Qt::Key_Right && col >= model_->usedColumns()) return;
    if (k == Qt::Key_Left && col <= 1) return;
    QTableView::keyPressEvent(e);
}

void GridView::mousePressEvent(QMouseEvent* e)
{
    // A refused entry keeps its cell (the click does not move the cursor), or is abandoned.
    if (isEditing() && !finishEditing()) {
        if (!rules.refusedStaysTyped) return;
        abandonEntry();
    }
    if (isEditing()) return;
    QTableView::mousePressEvent(e);
}

void GridView::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (isEditing()) return;
    QTableView::mouseDoubleClickEvent(e);
}

namespace {
bool startsNumber(const QKeyEvent* e)
{
    if (e->text().isEmpty()) return false;
    const QChar c = e->text().at(0);
    return c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('.') || c == QLatin1Char(',');
}
}  // namespace

bool GridView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (trigger == AnyKeyPressed && event && event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
        if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter || ke->key() == Qt::Key_Escape) return false;
        if (rules.onlyNumberKeysStart && !startsNumber(ke)) return false;
    }
    // An entry about to start in an editable cell: the model may refuse it.
    if (state() != EditingState && (editTriggers() & trigger) && index.isValid() &&
        (index.flags() & Qt::ItemIsEditable) && !model_->mayStartEdit(index.row() + 1, index.column() + 1))
        return false;
    const bool started = QTableView::edit(index, trigger, event);
    // A double click, or a click on the selected cell (whose editing starts once the time for
    // a double click has passed, as an edit without a trigger), drops the list.
    const bool byMouse = trigger == DoubleClicked || trigger == SelectedClicked || (trigger == AllEditTriggers && !event);
    if (started && byMouse)
        if (auto* c = qobject_cast<QComboBox*>(delegate_->editor())) c->showPopup();
    return started;
}

void GridView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (current.isValid()) emit cellEntered(current.row() + 1, current.column() + 1);
}
