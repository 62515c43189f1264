#pragma once
// The machinery shared by the two transposed input tables: a model base whose cells are
// bound to record fields (rows are fields, columns are trains or stretches, both counted
// from 1), the cell editors, and a view that owns the edit cycle: an edit is checked before
// it is accepted, a refused edit keeps the editor open with the old field value, and every
// way of leaving a cell goes through finishEditing().

#include <QAbstractTableModel>
#include <QPointer>
#include <QPersistentModelIndex>
#include <QStyledItemDelegate>
#include <QTableView>
#include <cstdint>
#include <functional>
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
    int maxDigits = 10;          // integer cells
    bool allowNegative = false;  // integer cells
    QStringList items;           // list cells
};

class EditTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    EditTableModel(ProjectRecord& record, TableHost& host, QObject* parent = nullptr);

    // The binding, with rows and columns counted from 1 like the record.
    virtual CellFormat cellFormat(int row, int col) const = 0;
    virtual bool editable(int row, int col) const = 0;
    // Greyed: the row depends on the stretch and the cell is not editable.
    virtual bool greyed(int /*row*/, int /*col*/) const { return false; }
    // Int and Real cells: the number; List cells: the entry index; Check cells: bool.
    virtual QVariant fieldValue(int row, int col) const = 0;
    virtual QString displayText(int row, int col) const = 0;
    virtual QString rowTitle(int row) const = 0;
    virtual QString statusText(int row, int col) const = 0;
    virtual int helpContext(int row) const = 0;
    virtual ClipKind clipKind(int /*row*/) const { return ClipKind::None; }
    // The value check; an empty text lets the value through.
    virtual QString checkValue(int row, int col, const QVariant& v) const;
    // Writes an accepted value and runs the derived updates. Returns false when the choice
    // was discarded (nothing changed).
    virtual bool acceptValue(int row, int col, const QVariant& v) = 0;
    virtual int usedRows() const = 0;
    virtual int usedColumns() const = 0;

    ProjectRecord& record() { return r_; }
    const ProjectRecord& record() const { return r_; }
    TableHost& host() { return host_; }

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

protected:
    ProjectRecord& r_;
    TableHost& host_;
    // Accepted edits report through the host once the derived updates are done.
    void accepted() { host_.cellAccepted(); }
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

private:
    GridView* view_;
    mutable QPointer<QWidget> editor_;
    mutable QPersistentModelIndex editorIndex_;
};

class GridView : public QTableView {
    Q_OBJECT
public:
    GridView(EditTableModel* model, QWidget* parent = nullptr);
    ~GridView() override;

    EditTableModel* gridModel() const { return model_; }
    CellDelegate* cellDelegate() const { return delegate_; }
    bool isEditing() const { return delegate_->editor() != nullptr; }

    // Accepts a pending edit. When its value fails the check, the message is shown, the
    // editor keeps the old field value and false is returned: the caller must not go on.
    // A list whose entry was not chosen anew (the cell was only left) changes nothing, so
    // its follow-up dialogs do not come back; `chosen` marks a pick from the list.
    bool finishEditing(bool chosen = false);
    // Accepts v into the cell as if it had been typed there and accepted.
    bool enterValue(const QModelIndex& index, const QVariant& v);
    // The current cell in record terms (row, column from 1); 0 when there is none.
    int currentRow() const { return currentIndex().isValid() ? currentIndex().row() + 1 : 0; }
    int currentColumn() const { return currentIndex().isValid() ? currentIndex().column() + 1 : 0; }
    void setCurrentCell(int row, int col);

    // Keys the owner handles (Ctrl+T); return true when handled.
    std::function<bool(QKeyEvent*)> extraKey;
    // Down in the last row is swallowed (train table).
    bool swallowDownInLastRow = false;

    // Called by the delegate.
    void editorKey(QKeyEvent* e);
    void editorFocusLost(Qt::FocusReason reason);
    void listChosen();
    // The list's pop-up closed; without a choice the edit is taken back.
    void listClosed(QWidget* list);

signals:
    void cellEntered(int row, int col);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    bool handleClipboardKey(QKeyEvent* e);
    void moveToNextRow();
    void refuse(const QString& message);

    EditTableModel* model_;
    CellDelegate* delegate_;
    bool finishing_ = false;
};
