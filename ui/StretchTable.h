#pragma once
// The stretch table: one column per stretch, one row per field (page "&Delsträckor").

#include "ui/TableGrid.h"

// The rows of the stretch table, as the completeness check counts them.
namespace StretchRow {
enum : int {
    Track = 1,
    Order,
    Shape,
    AngleFrom,
    AngleTo,
    PerpDistance,
    StartDistance,
    EndDistance,
    Radius,
    ReceiverHeight,
    GroundSource,
    GroundReceiver,
    GroundMiddle,
    BankCorrection,
    Switches,
    CrossSection,
};
}  // namespace StretchRow

// Stretch c is set to track n: the tracks are renumbered without gaps along the stretch
// order (at most four) and the order within each track is recomputed. Returns true when the
// numbering had to be changed from what was asked.
bool renumberTracks(ProjectRecord& r, int c, int n);
// The geometry a cross-section needs: the perpendicular distance of a straight stretch, or
// start distance, end distance and radius of a curved one, all non-zero.
bool crossSectionGeometryComplete(const ProjectRecord& r, int s);
// Status texts of the ground rows 12 (receiver part) and 13 (middle part).
QString groundStatus(float fraction, bool receiverPart);

class StretchTableModel : public RecordTableModel {
    Q_OBJECT
public:
    using RecordTableModel::RecordTableModel;

    int usedRows() const override { return StretchRow::CrossSection; }
    int usedColumns() const override;

    CellFormat cellFormat(int row, int col) const override;
    bool editable(int row, int col) const override;
    bool greyed(int row, int col) const override;
    QVariant fieldValue(int row, int col) const override;
    QString displayText(int row, int col) const override;
    QString rowTitle(int row) const override;
    QString statusText(int row, int col) const override;
    int helpContext(int row) const override;
    ClipKind clipKind(int row) const override;
    std::optional<QString> checkValue(int row, int col, const QVariant& v) const override;
    bool acceptValue(int row, int col, const QVariant& v) override;

private:
    bool acceptGround(int row, int col, int choice);
    bool acceptCrossSection(int col, int choice);
};

extern const char* const kRenumberMessage;
extern const char* const kCrossSectionGeometryMessage;
