#pragma once
// The one edit cycle of every grid (the two transposed input tables and the cross-section
// grids): a model base whose cells are bound to fields (rows and columns counted from 1), the
// cell editors, and a view that owns the cycle: an entry is checked before it is accepted, and
// every way of leaving a cell goes through finishEditing(). What a grid does differently is
// named in its EditRules.

#include <QAbstractTableModel>
#include <QPointer>
#include <QPersistentModelIndex>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QKeyCombination>
#include <QList>
#include <cstdint>
#include <optional>

struct ProjectRecord;

// What the table needs from the window that holds it.
class TableHost {
public:
    virtual ~TableHost() = default;
    // After every accepted edit: modified := true and the completeness check.
    virtual void cellAccepted() = 0;
    // The number of tracks in use may have changed: resize the train table.
    virtual void tracksChanged() = 0;
    virtual void setStatus(const QString& text) = 0;
    // The switches dialog for stretch s; false when it was cancelled.
    virtual bool showSwitches(int s) = 0;
    // The cross-section dialog for stretch s.
    virtual void showCrossSection(int s) = 0;
    virtual QWidget* dialogParent() = 0;

    // One-value clipboards for single cells, shared by both tables.
    std::int32_t cellClipboardInt = 0;
    float cellClipboardReal = 0.0f;
};

enum class CellKind { ReadOnly, Int, Real, List, Check };
enum class ClipKind { None, Int, Real };

struct CellFormat {
    CellKind kind = CellKind::ReadOnly;
    int maxDigits = 0;           // whole digits of a number; 0: 10 for integers, 7 for reals
    bool allowNegative = false;  // number cells
    QStringList items;           // list cells
};

class EditTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit EditTableModel(QObject* parent = nullptr);

    // The binding, with rows and columns counted from 1 like the record.
    virtual CellFormat cellFormat(int row, int col) const = 0;
    virtual bool editable(int row, int col) const = 0;
    // Greyed: the row depends on the stretch and the cell is not editable.
    virtual bool greyed(int /*row*/, int /*col*/) const { return false; }
    // Int and Real cells: the number; List cells: the entry index; Check cells: bool.
    virtual QVariant fieldValue(int row, int col) const = 0;
    virtual QString displayText(int row, int col) const = 0;
    virtual QString rowTitle(int row) const = 0;
    virtual QString columnTitle(int col) const { return QString::number(col); }
    virtual QString statusText(int /*row*/, int /*col*/) const { return {}; }
    virtual int helpContext(int /*row*/) const { return 0; }
    // The one-value cell clipboard (Ctrl+C, Ctrl+V) of a row; in rows without one the keys do nothing.
    virtual ClipKind clipKind(int /*row*/) const { return ClipKind::None; }
    virtual QVariant clipboard(ClipKind) const { return {}; }
    virtual void setClipboard(ClipKind, const QVariant&) {}
    // Whether an edit of the cell may start (the model may explain a refusal to the user).
    virtual bool mayStartEdit(int /*row*/, int /*col*/) { return true; }
    // The value check: nothing lets the value through; a refusal carries the message to show
    // (an empty one refuses silently).
    virtual std::optional<QString> checkValue(int row, int col, const QVariant& v) const;
    // Writes an accepted value and runs the derived updates. Returns false when the choice
    // was discarded (nothing changed).
    virtual bool acceptValue(int row, int col, const QVariant& v) = 0;
    // Enter in the cell, after an entry or without one: true when the model took over (its
    // dialog closed); otherwise the cursor moves on.
    virtual bool enterFinishes(int /*row*/, int /*col*/) { return false; }
    virtual int usedRows() const = 0;
    virtual int usedColumns() const = 0;

    // Repaint everything (values may have changed anywhere).
    void refreshAll();
    // The counts changed: rows and columns follow them.
    void resetShape();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
};

// A main input table: cells bound to record fields, the window behind it as its host.
class RecordTableModel : public EditTableModel {
    Q_OBJECT
public:
    RecordTableModel(ProjectRecord& record, TableHost& host, QObject* parent = nullptr);

    ProjectRecord& record() { return r_; }
    const ProjectRecord& record() const { return r_; }
    TableHost& host() { return host_; }
    QVariant clipboard(ClipKind kind) const override;
    void setClipboard(ClipKind kind, const QVariant& v) override;

protected:
    ProjectRecord& r_;
    TableHost& host_;
    // Accepted edits report through the host once the derived updates are done.
    void accepted() { host_.cellAccepted(); }
};

// Where a grid's edit cycle differs from the main tables' (the defaults).
struct EditRules {
    // Typing starts an entry only with a digit, a minus sign or a decimal separator.
    bool onlyNumberKeysStart = false;
    // A click on the current cell starts an entry (a double click always does).
    bool clickOnCurrentStarts = true;
    // Left and Right end an entry and move a column; Tab, Up, Down and the page keys do
    // nothing in an entry. Otherwise Left and Right move in the text, and the other keys end
    // the entry and move on.
    bool leftRightEndEntry = false;
    // A refused entry keeps what was typed, and leaving the cell (the focus going elsewhere,
    // a click) abandons it. Otherwise the entry gets the field's value back and keeps the
    // cell until a value is accepted or Escape abandons it.
    bool refusedStaysTyped = false;
    // Enter on the last row goes to the first row of the next column (else of the same column).
    bool enterAdvancesColumn = false;
    // Down in the last row is swallowed (train table).
    bool swallowDownInLastRow = false;
    // Escape outside an entry stays in the grid: it never reaches the dialog.
    bool keepsEscape = false;
    // Cells and entries right-aligned, entries without a frame (else centred).
    bool rightAligned = false;

    // The rules of the cross-section dialogs' number grids.
    static EditRules numberGrid();
};

class GridView;

class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CellDelegate(GridView* view);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    // Values are taken by GridView::finishEditing; a plain commit writes nothing.
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
    // Check boxes sit in the middle of their cell, and a click anywhere in it toggles them.
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

    QWidget* editor() const { return editor_; }
    QModelIndex editorIndex() const { return editorIndex_; }
    // The editor's value in the cell's terms; nullopt for an integer out of range.
    std::optional<QVariant> editorValue() const;
    void setEditorText(const QString& text);
    // The view is going away: its editor's last events are no longer passed on.
    void detach() { view_ = nullptr; }

protected:
    bool eventFilter(QObject* object, QEvent* event) override;
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    GridView* view_;
    mutable QPointer<QWidget> editor_;
    mutable QPersistentModelIndex editorIndex_;
};

class GridView : public QTableView {
    Q_OBJECT
public:
    GridView(EditTableModel* model, QWidget* parent = nullptr, const EditRules& rules = {});
    ~GridView() override;
    // The owner is going away: nothing more reaches the model (an entry losing its focus on
    // the way out). Owners whose model calls back into them call it when they are destroyed.
    void detach();

    EditTableModel* gridModel() const { return model_; }
    CellDelegate* cellDelegate() const { return delegate_; }
    bool isEditing() const { return delegate_->editor() != nullptr; }

    // Accepts a pending edit. When its value fails the check, the message is shown, the
    // editor keeps the old field value and false is returned: the caller must not go on.
    // A list whose entry was not chosen anew (the cell was only left) changes nothing, so
    // its follow-up dialogs do not come back; `chosen` marks a pick from the list.
    bool finishEditing(bool chosen = false);
    // Closes a pending entry without storing it.
    void abandonEntry();
    // Accepts v into the cell as if it had been typed there and accepted.
    bool enterValue(const QModelIndex& index, const QVariant& v);
    // The current cell in record terms (row, column from 1); 0 when there is none.
    int currentRow() const { return currentIndex().isValid() ? currentIndex().row() + 1 : 0; }
    int currentColumn() const { return currentIndex().isValid() ? currentIndex().column() + 1 : 0; }
    void setCurrentCell(int row, int col);

    EditRules rules;
    // Keys the owner handles (help, adding points, Ctrl+T), also from an entry: the grid
    // passes them on as ownerKey. Modifiers listed must be held; others may be.
    QList<QKeyCombination> ownerKeys;

    // Called by the delegate.
    bool isOwnerKey(const QKeyEvent* e) const;
    void editorKey(QKeyEvent* e);
    void editorFocusLost(Qt::FocusReason reason);
    void listChosen();
    // The list's pop-up closed; without a choice the edit is taken back.
    void listClosed(QWidget* list);

signals:
    void cellEntered(int row, int col);
    void ownerKey(QKeyCombination key);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    bool handleOwnerKey(QKeyEvent* e);
    bool handleClipboardKey(QKeyEvent* e);
    // Enter: the model may take over, else the cursor moves to the next row.
    void enterPressed();
    void refuse(const QString& message);

    EditTableModel* model_;
    CellDelegate* delegate_;
    bool finishing_ = false;
};
