#pragma once
// The model of the cross-section dialogs' number grids, shown by a GridView with
// EditRules::numberGrid(): one-decimal numbers, a minus sign only in the row that allows it.
// The model holds the numbers it shows; every entry is handed to the owner, which checks it
// before it is accepted, writes the record and sets the numbers anew.

#include <vector>

#include "ui/TableGrid.h"

class ProfileTable;

// What a number grid needs from the dialog that owns it. Rows and columns count from 1.
class ProfileOwner {
public:
    // Whether an entry in the cell may start (the owner may explain a refusal).
    virtual bool mayEditCell(const ProfileTable&, int /*row*/, int /*col*/) { return true; }
    // Whether the value would be accepted; nothing is stored yet. A refused entry stays as typed.
    virtual bool acceptsValue(const ProfileTable&, int /*row*/, int /*col*/, double /*v*/) const { return true; }
    // Stores an accepted value (the entry is already closed).
    virtual void applyValue(ProfileTable& grid, int row, int col, double v) = 0;
    // Enter in the cell, with or without an entry: true when the owner took over (closed its
    // dialog); otherwise the cursor moves on.
    virtual bool enterFinishes(const ProfileTable&, int /*row*/) { return false; }

protected:
    ~ProfileOwner() = default;
};

class ProfileTable : public EditTableModel {
    Q_OBJECT
public:
    // `rows` rows of `valueRows` numbers (the rows after them hold a control of the owner's).
    ProfileTable(ProfileOwner& owner, int rows, int valueRows, QObject* parent);
    // Drops the owner; owners call it when they are destroyed.
    void detach() { owner_ = nullptr; }

    void setRowTitles(const QStringList& titles);
    // One column per title.
    void setColumnTitles(const QStringList& titles);
    void setValue(int row, int col, double v);
    double value(int row, int col) const { return values_[row - 1][col - 1]; }
    // The row where a minus sign may be typed (0: none) and the whole digits of an entry.
    int negativeRow = 0;
    int integerDigits = 7;
    // While off, the numbers are greyed and cannot be edited.
    void setActive(bool on);

    CellFormat cellFormat(int row, int col) const override;
    bool editable(int row, int col) const override;
    bool greyed(int, int) const override { return !active_; }
    QVariant fieldValue(int row, int col) const override { return value(row, col); }
    QString displayText(int row, int col) const override;
    QString rowTitle(int row) const override { return rowTitles_.value(row - 1); }
    QString columnTitle(int col) const override { return columnTitles_.value(col - 1); }
    bool mayStartEdit(int row, int col) override;
    std::optional<QString> checkValue(int row, int col, const QVariant& v) const override;
    bool acceptValue(int row, int col, const QVariant& v) override;
    bool enterFinishes(int row, int col) override;
    int usedRows() const override { return static_cast<int>(values_.size()); }
    int usedColumns() const override { return columns_; }

private:
    ProfileOwner* owner_;
    int valueRows_;
    int columns_ = 1;
    bool active_ = true;
    QStringList rowTitles_, columnTitles_;
    std::vector<std::vector<double>> values_;  // [row - 1][col - 1]
};
