// The model of the number grids of the cross-section dialog and its break-point and screen dialogs.
#include "ui/ProfileTable.h"

#include <algorithm>

#include "ui/NumberText.h"

ProfileTable::ProfileTable(ProfileOwner& owner, int rows, int valueRows, QObject* parent)
    : EditTableModel(parent), owner_(&owner), valueRows_(valueRows), values_(rows, std::vector<double>(1, 0.0))
{
}

void ProfileTable::setRowTitles(const QStringList& titles)
{
    rowTitles_ = titles;
    emit headerDataChanged(Qt::Vertical, 0, usedRows() - 1);
}

void ProfileTable::setColumnTitles(const QStringList& titles)
{
    const int n = std::max(1, static_cast<int>(titles.size()));
    // Columns come and go at the end, so the cursor stays where it was.
    if (n > columns_) {
        beginInsertColumns({}, columns_, n - 1);
        for (auto& row : values_) row.resize(n, 0.0);
        columns_ = n;
        endInsertColumns();
    } else if (n < columns_) {
        beginRemoveColumns({}, n, columns_ - 1);
        for (auto& row : values_) row.resize(n);
        columns_ = n;
        endRemoveColumns();
    }
    columnTitles_ = titles;
    emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
}

void ProfileTable::setValue(int row, int col, double v)
{
    values_[row - 1][col - 1] = v;
    emit dataChanged(index(row - 1, col - 1), index(row - 1, col - 1));
}

void ProfileTable::setActive(bool on)
{
    active_ = on;
    refreshAll();
}

CellFormat ProfileTable::cellFormat(int row, int) const
{
    if (row > valueRows_) return {};
    return {CellKind::Real, integerDigits, row == negativeRow, {}};
}

bool ProfileTable::editable(int row, int) const { return active_ && row <= valueRows_; }

QString ProfileTable::displayText(int row, int col) const
{
    return row <= valueRows_ ? realText(value(row, col), 1) : QString();
}

bool ProfileTable::mayStartEdit(int row, int col) { return owner_ && owner_->mayEditCell(*this, row, col); }

std::optional<QString> ProfileTable::checkValue(int row, int col, const QVariant& v) const
{
    if (owner_ && owner_->acceptsValue(*this, row, col, v.toDouble())) return std::nullopt;
    return QString();
}

bool ProfileTable::acceptValue(int row, int col, const QVariant& v)
{
    if (owner_) owner_->applyValue(*this, row, col, v.toDouble());
    return owner_ != nullptr;
}

bool ProfileTable::enterFinishes(int row, int) { return owner_ && owner_->enterFinishes(*this, row); }
