#pragma once
// The train table: one column per train, one row per field (page "&TågInfo").

#include "ui/TableGrid.h"

// The rows of the train table, as the completeness check counts them; one track row per track
// in use follows from Track1.
namespace TrainRow {
enum : int { LengthPerDay = 1, MaxLength, Speed, Type, Nationality, Track1 };
// The track of a track row.
constexpr int trackOf(int row) { return row - Track1 + 1; }
}  // namespace TrainRow

// The nationality chosen for train t: a Swedish train turned Norwegian or Finnish loses its
// type, and a type beyond the new list becomes the first one.
void applyNationality(ProjectRecord& r, int t, int nationality);
// The status text of a chosen train type: "TYP: ..., KLASS: ..., DRIFT: ...[, SLIPER: ...] ...".
QString trainTypeStatus(int nationality, int index);

class TrainTableModel : public RecordTableModel {
    Q_OBJECT
public:
    using RecordTableModel::RecordTableModel;

    // Rows 1..5 and one row per track in use; columns 1..trainCount.
    int usedRows() const override;
    int usedColumns() const override;
    int trackRows() const;

    CellFormat cellFormat(int row, int col) const override;
    bool editable(int row, int col) const override;
    QVariant fieldValue(int row, int col) const override;
    QString displayText(int row, int col) const override;
    QString rowTitle(int row) const override;
    QString statusText(int row, int col) const override;
    int helpContext(int row) const override;
    ClipKind clipKind(int row) const override;
    bool acceptValue(int row, int col, const QVariant& v) override;
};
