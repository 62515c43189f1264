#pragma once
// A small grid of one-decimal numbers for the cross-section dialogs. Every entry is handed to
// the owner before it is stored: a refused value keeps the cell in editing (Enter, Left and
// Right do nothing then), Escape abandons the entry. The grid itself stores nothing; the owner
// writes the record and refills the cells.

#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <functional>

class QLineEdit;

class ProfileTable;

class ProfileCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ProfileCellDelegate(ProfileTable* table);
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    friend class ProfileTable;
    ProfileTable* table_;
    mutable QPointer<QLineEdit> editor_;
    mutable QModelIndex index_;
    bool finishing_ = false;
};

class ProfileTable : public QTableWidget {
    Q_OBJECT
public:
    enum class Move { Enter, Left, Right, FocusLost };

    explicit ProfileTable(QWidget* parent = nullptr);
    ~ProfileTable() override;
    // Drops every owner callback; owners call it when they are destroyed, so that an editor
    // losing its focus on the way out never reaches them.
    void detach();

    // Whether an edit of the cell may start (the owner may explain a refusal).
    std::function<bool(int row, int col)> mayEdit;
    // Whether the value would be accepted; nothing is stored yet.
    std::function<bool(int row, int col, double value)> accepts;
    // Stores an accepted value (the editor is already closed).
    std::function<void(int row, int col, double value)> apply;
    // Whether negative numbers may be typed in the row.
    std::function<bool(int row)> allowsNegative;
    // Keys the owner handles (help, adding and removing points, copy and paste). Returns true
    // when handled.
    std::function<bool(int key, Qt::KeyboardModifiers modifiers)> ownerKey;
    // Called after Enter (with or without an entry) in the cell; returns true when the owner
    // took over (for instance closed the dialog), otherwise the cursor moves on.
    std::function<bool(int row, int col)> enterFinishes;
    // Enter on the last row moves to the first row of the next column (else the same column).
    bool enterAdvancesColumn = false;
    // Digits before the decimal point in an entry.
    int integerDigits = 7;

    // The open line editor, or nullptr.
    QLineEdit* activeEditor() const;
    // Number text of a value with one decimal and the locale's separator.
    static QString numberText(double v);
    // Parses a typed number as every table cell does (parseCellReal: "12,5" or "12.5"; a
    // cell without digits is 0).
    static bool parseNumber(const QString& text, double& v);

    // Ends the current entry as the given key would; returns false when the value was refused.
    bool finishEdit(Move how);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class ProfileCellDelegate;
    void moveAfter(int row, int col, Move how);
    ProfileCellDelegate* delegate_;
};
