// The stretch table of the main window (page "&Delsträckor").
#include "ui/StretchTable.h"

#include <algorithm>
#include <cmath>

#include "model/ProjectRecord.h"
#include "ui/CodeLists.h"
#include "ui/NumberText.h"
#include "ui/Platform.h"

const char* const kRenumberMessage =
    "Programmet har ändrat numreringen av dina spår!\r\nSpåren måste numreras sekvensiellt från ett och uppåt.";
const char* const kCrossSectionGeometryMessage =
    "Det finns ej tillräckligt med värde för att kunna använda tvärsektionen!\r\nAnvänd funktionen Testa under "
    "Resultat fliken för att gå till fält som saknar värde.";

namespace {
int usedStretches(const ProjectRecord& r) { return std::clamp(r.stretchCount, 1, kMaxStretches); }

// The point before the last one of the cross-section (a stored count outside 2..33 is
// taken at its nearest limit).
int pointBeforeLast(const ProjectRecord& r, int s) { return std::clamp(r.bpCount[s], 2, kMaxBreakPoints) - 1; }

void moveReceiverPoint(ProjectRecord& r, int s, float distance)
{
    for (int p = 1; p <= kMaxBreakPoints; ++p)
        if (r.bpLabel[s][p].equals("MT")) {
            r.bpDistance[s][p] = distance;
            return;
        }
}

int groundChoice(float f) { return groundTypeOf(f); }

QString listEntry(const QStringList& l, int i) { return i >= 0 && i < l.size() ? l[i] : QString::number(i); }

const QStringList kShapes = codeList(kShapeNames);
const QStringList kTracks{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")};
const QStringList kGround = codeList(kGroundTypeNames);
const QStringList kBank = codeList(kBankCorrectionNames);
const QStringList kNoYes = codeList(kNoYesNames);

QString groundText(float f) { return kGround[groundChoice(f)]; }
}  // namespace

bool renumberTracks(ProjectRecord& r, int c, int n)
{
    const int count = usedStretches(r);
    bool changed = false;
    r.track[c] = n;
    if (c == 1) {
        if (r.track[1] != 1) {
            r.track[1] = 1;
            changed = true;
        }
    } else if (r.track[c - 1] > r.track[c]) {
        r.track[c] = r.track[c - 1];
        changed = true;
    } else if (r.track[c] - r.track[c - 1] > 1) {
        r.track[c] = r.track[c - 1] + 1;
        changed = true;
    }
    if (c < count) {
        if (r.track[c + 1] - r.track[c] > 1) {
            const int d = r.track[c + 1] - (r.track[c] + 1);
            for (int s = c + 1; s <= count; ++s) r.track[s] -= d;
            changed = true;
        }
        if (r.track[c + 1] < r.track[c]) {
            const int d = r.track[c] - r.track[c + 1];
            for (int s = c + 1; s <= count; ++s) r.track[s] += d;
            changed = true;
        }
    }
    // Shifting the following stretches up can run past the fourth track: they stay on it.
    for (int s = 1; s <= count; ++s)
        if (r.track[s] > kMaxTracks) {
            r.track[s] = kMaxTracks;
            changed = true;
        }
    int k = 1;
    for (int s = 1; s < count; ++s) {
        k = r.track[s + 1] == r.track[s] ? k + 1 : 1;
        r.orderInTrack[s + 1] = k;
    }
    return changed;
}

bool crossSectionGeometryComplete(const ProjectRecord& r, int s)
{
    if (!r.isCurved(s)) return r.perpDistance[s] != 0.0f;
    return r.startDistance[s] != 0.0f && r.endDistance[s] != 0.0f && r.radius[s] != 0.0f;
}

QString groundStatus(float f, bool receiverPart)
{
    const QString head = receiverPart ? QStringLiteral("Marktypen vid mottagardelen är ")
                                      : QStringLiteral("Marktypen vid mellandelen är ");
    switch (groundChoice(f)) {
    case 0: return head + QStringLiteral("hård ...");
    case 1: return head + QStringLiteral("porös ...");
    default: {
        const double pct = std::nearbyint(100.0 * static_cast<double>(f));
        return head + QStringLiteral("porös till ") + QString::number(pct, 'f', 0) + QStringLiteral("% ...");
    }
    }
}

int StretchTableModel::usedColumns() const { return usedStretches(r_); }

CellFormat StretchTableModel::cellFormat(int row, int) const
{
    CellFormat s;
    switch (row) {
    case StretchRow::Track: s = {CellKind::List, 0, false, kTracks}; break;
    case StretchRow::Order: s.kind = CellKind::ReadOnly; break;
    case StretchRow::Shape: s = {CellKind::List, 0, false, kShapes}; break;
    case StretchRow::AngleFrom: s = {CellKind::Int, 6, true, {}}; break;
    case StretchRow::AngleTo: s = {CellKind::Int, 10, true, {}}; break;
    case StretchRow::PerpDistance:
    case StretchRow::StartDistance:
    case StretchRow::EndDistance:
    case StretchRow::Radius:
    case StretchRow::ReceiverHeight: s.kind = CellKind::Real; break;
    case StretchRow::GroundSource: s = {CellKind::List, 0, false, {QStringLiteral("Porös")}}; break;
    case StretchRow::GroundReceiver:
    case StretchRow::GroundMiddle: s = {CellKind::List, 0, false, kGround}; break;
    case StretchRow::BankCorrection: s = {CellKind::List, 0, false, kBank}; break;
    case StretchRow::Switches:
    case StretchRow::CrossSection: s = {CellKind::List, 0, false, kNoYes}; break;
    default: break;
    }
    return s;
}

bool StretchTableModel::editable(int row, int col) const
{
    const bool straight = !r_.isCurved(col);
    switch (row) {
    case StretchRow::Order:
    case StretchRow::GroundSource: return false;
    case StretchRow::AngleFrom:
    case StretchRow::PerpDistance:
    case StretchRow::Switches: return straight;
    case StretchRow::StartDistance:
    case StretchRow::EndDistance:
    case StretchRow::Radius: return !straight;
    case StretchRow::ReceiverHeight: return r_.crossSectionOn[col] != 1;
    default: return row >= StretchRow::Track && row <= StretchRow::CrossSection;
    }
}

bool StretchTableModel::greyed(int row, int col) const
{
    switch (row) {
    case StretchRow::AngleFrom:
    case StretchRow::PerpDistance:
    case StretchRow::StartDistance:
    case StretchRow::EndDistance:
    case StretchRow::Radius:
    case StretchRow::ReceiverHeight:
    case StretchRow::GroundSource:
    case StretchRow::Switches: return !editable(row, col);
    default: return false;
    }
}

QVariant StretchTableModel::fieldValue(int row, int col) const
{
    switch (row) {
    case StretchRow::Track: return r_.track[col] - 1;
    case StretchRow::Order: return r_.orderInTrack[col];
    case StretchRow::Shape: return r_.shape[col];
    case StretchRow::AngleFrom: return r_.angleFrom[col];
    case StretchRow::AngleTo: return r_.angleTo[col];
    case StretchRow::PerpDistance: return static_cast<double>(r_.perpDistance[col]);
    case StretchRow::StartDistance: return static_cast<double>(r_.startDistance[col]);
    case StretchRow::EndDistance: return static_cast<double>(r_.endDistance[col]);
    case StretchRow::Radius: return static_cast<double>(r_.radius[col]);
    case StretchRow::ReceiverHeight: return static_cast<double>(r_.receiverHeight[col]);
    case StretchRow::GroundSource: return 0;
    case StretchRow::GroundReceiver: return groundChoice(r_.groundReceiver[col]);
    case StretchRow::GroundMiddle: return groundChoice(r_.groundMiddle[col]);
    case StretchRow::BankCorrection: return r_.bankCorrection[col];
    case StretchRow::Switches: return r_.switchesOn[col];
    case StretchRow::CrossSection: return r_.crossSectionOn[col];
    default: return {};
    }
}

QString StretchTableModel::displayText(int row, int col) const
{
    switch (row) {
    case StretchRow::Track: return listEntry(kTracks, r_.track[col] - 1);
    case StretchRow::Order:
    case StretchRow::AngleFrom:
    case StretchRow::AngleTo: return QString::number(fieldValue(row, col).toLongLong());
    case StretchRow::Shape: return listEntry(kShapes, r_.shape[col]);
    case StretchRow::PerpDistance:
    case StretchRow::StartDistance:
    case StretchRow::EndDistance:
    case StretchRow::Radius:
    case StretchRow::ReceiverHeight: return realText(fieldValue(row, col).toDouble());
    case StretchRow::GroundSource: return QStringLiteral("Porös");
    case StretchRow::GroundReceiver: return groundText(r_.groundReceiver[col]);
    case StretchRow::GroundMiddle: return groundText(r_.groundMiddle[col]);
    case StretchRow::BankCorrection: return listEntry(kBank, r_.bankCorrection[col]);
    case StretchRow::Switches: return listEntry(kNoYes, r_.switchesOn[col]);
    case StretchRow::CrossSection: return listEntry(kNoYes, r_.crossSectionOn[col]);
    default: return {};
    }
}

QString StretchTableModel::rowTitle(int row) const { return QString::fromStdString(stretchRowTitle(row)); }

QString StretchTableModel::statusText(int row, int col) const
{
    switch (row) {
    case StretchRow::Track: return QStringLiteral("Spår ...");
    case StretchRow::Order: return QStringLiteral("Delsträckans ordning på spåret ...");
    case StretchRow::Shape: return QStringLiteral("Spårform (Rak/Konvex mot mottagaren/Konkav mot mottagaren) ...");
    case StretchRow::AngleFrom: return QStringLiteral("Vinkelområde från (grader) ...");
    case StretchRow::AngleTo: return QStringLiteral("Vinkelområde till (grader) ...");
    case StretchRow::PerpDistance: return QStringLiteral("Vinkelrätt mottagaravstånd (m) ...");
    case StretchRow::StartDistance: return QStringLiteral("Mottagaravstånd startpunkt(m) ...");
    case StretchRow::EndDistance: return QStringLiteral("Mottagaravstånd slutpunkt(m) ...");
    case StretchRow::Radius: return QStringLiteral("Radie (m) ...");
    case StretchRow::ReceiverHeight: return QStringLiteral("Mottagarens höjd över marken (m) ...");
    case StretchRow::GroundSource: return QStringLiteral("Marktypen vid källdelen är alltid porös och går inte att ändra...");
    case StretchRow::GroundReceiver: return groundStatus(r_.groundReceiver[col], true);
    case StretchRow::GroundMiddle: return groundStatus(r_.groundMiddle[col], false);
    case StretchRow::BankCorrection: return QStringLiteral("Bankorrektion (Nej/Skarvar/Bro utan ballast/Bro med ballast) ...");
    case StretchRow::Switches: return QStringLiteral("10 m spårlängd för vardera av växlar och korsningar (Nej/Ja) ...");
    case StretchRow::CrossSection: return QStringLiteral("Tvärsektion (Nej/Ja) ...");
    default: return {};
    }
}

int StretchTableModel::helpContext(int row) const
{
    static const int contexts[] = {101, 102, 103, 104, 104, 105, 109, 109, 106, 111, 107, 107, 107, 108, 108, 110};
    return row >= StretchRow::Track && row <= StretchRow::CrossSection ? contexts[row - 1] : 100;
}

ClipKind StretchTableModel::clipKind(int row) const
{
    if (row == StretchRow::AngleFrom || row == StretchRow::AngleTo) return ClipKind::Int;
    if (row >= StretchRow::PerpDistance && row <= StretchRow::ReceiverHeight) return ClipKind::Real;
    return ClipKind::None;
}

std::optional<QString> StretchTableModel::checkValue(int row, int col, const QVariant& v) const
{
    switch (row) {
    case StretchRow::AngleFrom: {
        const int a = v.toInt();
        if (a < 0 || a >= 180) return QStringLiteral("Felaktigt värde (0-180) ...");
        if (a >= r_.angleTo[col]) return QStringLiteral("Felaktigt värde: får ej vara större än vinkelområde till ...");
        return std::nullopt;
    }
    case StretchRow::AngleTo: {
        const int a = v.toInt();
        if (a <= 0 || a > 180) return QStringLiteral("Felaktigt värde: ej inom de tillåtna gränserna (0-180) ...");
        if (a <= r_.angleFrom[col]) return QStringLiteral("Felaktigt värde: får ej vara mindre än vinkelområde från ...");
        return std::nullopt;
    }
    case StretchRow::PerpDistance: {
        // The receiver must lie beyond every break point and the screen.
        const float d = static_cast<float>(v.toDouble());
        if (d <= r_.bpDistance[col][pointBeforeLast(r_, col)])
            return QStringLiteral("Felaktigt värde: Någon brytpunkt/skärm har längre avstånd än mottagaren!");
        return std::nullopt;
    }
    default: return std::nullopt;
    }
}

bool StretchTableModel::acceptGround(int row, int col, int choice)
{
    float& field = row == StretchRow::GroundReceiver ? r_.groundReceiver[col] : r_.groundMiddle[col];
    if (choice == 0) {
        field = 0.0f;
    } else if (choice == 1) {
        field = 1.0f;
    } else {
        const QString title = row == StretchRow::GroundReceiver ? QStringLiteral("Marktyp: Mottagardel") : QStringLiteral("Marktyp: Mellandel");
        const std::optional<QString> text = platform().inputBox(host_.dialogParent(), title,
                                                                QStringLiteral("Ange procentuell del porös mark"),
                                                                QStringLiteral("50"));
        if (!text) return false;  // cancelled: the field stays as it was
        bool ok = false;
        int p = text->trimmed().toInt(&ok);
        if (!ok) {
            p = 50;
            platform().message(host_.dialogParent(), QStringLiteral("Skenbrus"),
                               QStringLiteral("Otillåtet värde angivet, värdet satt till 50%"), MsgIcon::Warning,
                               MsgButtons::Ok);
        }
        field = static_cast<float>(p / 100.0);
    }
    return true;
}

bool StretchTableModel::acceptCrossSection(int col, int choice)
{
    if (choice == 1) {
        if (!crossSectionGeometryComplete(r_, col)) {
            platform().message(host_.dialogParent(), QStringLiteral("Skenbrus"),
                               QString::fromUtf8(kCrossSectionGeometryMessage), MsgIcon::Warning, MsgButtons::Ok);
            return false;
        }
        r_.crossSectionOn[col] = 1;
        refreshAll();
        host_.showCrossSection(col);
        return true;
    }
    if (r_.screenType[col] >= 1 || r_.bpCount[col] > 2) return false;
    r_.crossSectionOn[col] = 0;
    r_.bpHeight[col][1] = 0.0f;
    r_.bpHeight[col][std::clamp(r_.bpCount[col], 1, kMaxBreakPoints)] = 0.0f;
    r_.receiverGroundHeight[col] = 0.0f;
    r_.trackHeight[col] = 0.0f;
    return true;
}

bool StretchTableModel::acceptValue(int row, int col, const QVariant& v)
{
    if (col < 1 || col > kMaxStretches || !editable(row, col)) return false;
    bool renumbered = false;
    switch (row) {
    case StretchRow::Track: {
        const int n = v.toInt() + 1;
        if (n < 1 || n > kMaxTracks) return false;
        renumbered = renumberTracks(r_, col, n);
        break;
    }
    case StretchRow::Shape: {
        const int shape = v.toInt();
        if (shape < 0 || shape > 2) return false;
        r_.shape[col] = shape;
        if (shape != 0)
            r_.angleFrom[col] = 0;
        else
            r_.radius[col] = 0.0f;
        break;
    }
    case StretchRow::AngleFrom: r_.angleFrom[col] = v.toInt(); break;
    case StretchRow::AngleTo: r_.angleTo[col] = v.toInt(); break;
    case StretchRow::PerpDistance:
        r_.perpDistance[col] = static_cast<float>(v.toDouble());
        moveReceiverPoint(r_, col, r_.perpDistance[col]);
        break;
    case StretchRow::StartDistance:
        r_.startDistance[col] = static_cast<float>(v.toDouble());
        moveReceiverPoint(r_, col, r_.startDistance[col]);
        break;
    case StretchRow::EndDistance: r_.endDistance[col] = static_cast<float>(v.toDouble()); break;
    case StretchRow::Radius: r_.radius[col] = static_cast<float>(v.toDouble()); break;
    case StretchRow::ReceiverHeight: r_.receiverHeight[col] = static_cast<float>(v.toDouble()); break;
    case StretchRow::GroundReceiver:
    case StretchRow::GroundMiddle:
        if (!acceptGround(row, col, v.toInt())) return false;
        break;
    case StretchRow::BankCorrection: {
        const int b = v.toInt();
        if (b < 0 || b > 3) return false;
        r_.bankCorrection[col] = b;
        break;
    }
    case StretchRow::Switches:
        if (v.toInt() == 1) {
            // A cancelled dialog takes the choice back: no switches without a position.
            const int before = r_.switchesOn[col];
            r_.switchesOn[col] = 1;
            refreshAll();
            if (!host_.showSwitches(col)) {
                r_.switchesOn[col] = before;
                refreshAll();
                return false;
            }
        } else {
            r_.switchesOn[col] = 0;
        }
        break;
    case StretchRow::CrossSection:
        if (!acceptCrossSection(col, v.toInt())) return false;
        break;
    default: return false;
    }
    refreshAll();
    if (renumbered)
        platform().message(host_.dialogParent(), QStringLiteral("Skenbrus"), QString::fromUtf8(kRenumberMessage),
                           MsgIcon::Warning, MsgButtons::Ok);
    if (row == StretchRow::Track) host_.tracksChanged();
    accepted();
    if (row == StretchRow::GroundReceiver || row == StretchRow::GroundMiddle) host_.setStatus(statusText(row, col));
    return true;
}
