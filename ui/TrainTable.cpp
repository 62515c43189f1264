// The train table of the main window (page "&TågInfo").
#include "ui/TrainTable.h"

#include <algorithm>

#include "calc/TrainTypes.h"
#include "model/ProjectRecord.h"
#include "ui/CodeLists.h"

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }

QStringList typeNames(int nationality)
{
    QStringList l;
    for (int i = 0; i < TrainTypeCount(nationality); ++i) l << q(GetTrainType(nationality, i).typeName);
    return l;
}
}  // namespace

void applyNationality(ProjectRecord& r, int t, int nationality)
{
    const int old = r.nationality[t];
    if (nationality == old) return;
    if ((nationality == 0 || nationality == 2) && old == 1) r.trainType[t] = 0;
    if (r.trainType[t] < 0 || r.trainType[t] >= trainTypeListLength(nationality)) r.trainType[t] = 0;
    r.nationality[t] = nationality;
}

QString trainTypeStatus(int nationality, int index)
{
    if (index < 0 || index >= TrainTypeCount(nationality)) return {};
    const TagTypRec& t = GetTrainType(nationality, index);
    QString s = QStringLiteral("TYP: ") + q(t.typeName) + QStringLiteral(", KLASS: ") + q(t.trainClass) +
                QStringLiteral(", DRIFT: ") + q(t.traction);
    if (!t.sleeper.empty()) s += QStringLiteral(", SLIPER: ") + q(t.sleeper);
    return s + QStringLiteral(" ...");
}

int TrainTableModel::trackRows() const { return std::clamp(r_.trackCount(), 1, kMaxTracks); }
int TrainTableModel::usedRows() const { return TrainRow::Nationality + trackRows(); }
int TrainTableModel::usedColumns() const { return std::clamp(r_.trainCount, 1, kMaxTrains); }

CellFormat TrainTableModel::cellFormat(int row, int col) const
{
    CellFormat s;
    switch (row) {
    case TrainRow::LengthPerDay:
    case TrainRow::MaxLength:
    case TrainRow::Speed: s.kind = CellKind::Int; break;
    case TrainRow::Type:
        s.kind = CellKind::List;
        s.items = typeNames(r_.nationality[col]);
        break;
    case TrainRow::Nationality:
        s.kind = CellKind::List;
        s.items = codeList(kNationalityNames);
        break;
    default: s.kind = CellKind::Check; break;
    }
    return s;
}

bool TrainTableModel::editable(int row, int col) const
{
    // A nationality outside the three has no type list to choose from.
    if (row == TrainRow::Type) return TrainTypeCount(r_.nationality[col]) > 0;
    return row >= TrainRow::LengthPerDay && row <= usedRows();
}

QVariant TrainTableModel::fieldValue(int row, int col) const
{
    switch (row) {
    case TrainRow::LengthPerDay: return r_.trainLengthPerDay[col];
    case TrainRow::MaxLength: return r_.maxTrainLength[col];
    case TrainRow::Speed: return r_.speed[col];
    case TrainRow::Type: return r_.trainType[col];
    case TrainRow::Nationality: return r_.nationality[col];
    default: return r_.runs(col, TrainRow::trackOf(row));
    }
}

QString TrainTableModel::displayText(int row, int col) const
{
    switch (row) {
    case TrainRow::LengthPerDay:
    case TrainRow::MaxLength:
    case TrainRow::Speed: return QString::number(fieldValue(row, col).toLongLong());
    case TrainRow::Type: return q(trainTypeName(r_, col));
    case TrainRow::Nationality: return q(nationalityName(r_.nationality[col]));
    default: return {};
    }
}

QString TrainTableModel::rowTitle(int row) const { return q(trainRowTitle(row)); }

QString TrainTableModel::statusText(int row, int) const
{
    switch (row) {
    case TrainRow::LengthPerDay: return QStringLiteral("Tåglängd (m/dygn) ...");
    case TrainRow::MaxLength: return QStringLiteral("Maximal tåglängd (m) ...");
    case TrainRow::Speed: return QStringLiteral("Hastighet (km/h) ...");
    case TrainRow::Type:
        switch (r_.country) {
        case 0: return QStringLiteral("Tågtyp (Fjärrgående Pass.tåg/Godståg/Lokaltåg BM65/InterCitytåg BM70/Lokaltåg BM69) ...");
        case 1: return QStringLiteral("Tågtyp (Snabbtåg X2/Pass.tåg/Pass.tåg Trä/Lokaltåg X10/Godståg Diesel/Godståg) ...");
        default: return QStringLiteral("TågTyp (Lokaltåg Sm/Pass.tåg Sr1/Godståg/Godståg med ryska vagnar) ...");
        }
    case TrainRow::Nationality: return QStringLiteral("Nationalitet (Norskt/Svenskt/Finskt) ...");
    default: return QStringLiteral("Koppling Spår %1 ...").arg(TrainRow::trackOf(row));
    }
}

int TrainTableModel::helpContext(int row) const { return row <= TrainRow::Nationality ? 50 + row : 56; }

ClipKind TrainTableModel::clipKind(int row) const
{
    return row >= TrainRow::LengthPerDay && row <= TrainRow::Speed ? ClipKind::Int : ClipKind::None;
}

bool TrainTableModel::acceptValue(int row, int col, const QVariant& v)
{
    if (col < 1 || col > kMaxTrains) return false;
    switch (row) {
    case TrainRow::LengthPerDay: r_.trainLengthPerDay[col] = v.toInt(); break;
    case TrainRow::MaxLength: r_.maxTrainLength[col] = v.toInt(); break;
    case TrainRow::Speed: r_.speed[col] = v.toInt(); break;
    case TrainRow::Type: {
        const int i = v.toInt();
        if (i < 0 || i >= TrainTypeCount(r_.nationality[col])) return false;
        r_.trainType[col] = i;
        break;
    }
    case TrainRow::Nationality: {
        const int n = v.toInt();
        if (n < 0 || n > 2) return false;
        applyNationality(r_, col, n);
        break;
    }
    default:
        if (TrainRow::trackOf(row) < 1 || TrainRow::trackOf(row) > kMaxTracks) return false;
        r_.runsOnTrack[col][TrainRow::trackOf(row)] = v.toBool() ? 1 : 0;
        break;
    }
    refreshAll();
    accepted();
    if (row == TrainRow::Type) host_.setStatus(trainTypeStatus(r_.nationality[col], r_.trainType[col]));
    return true;
}
