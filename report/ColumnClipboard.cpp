#include "report/ColumnClipboard.h"

namespace {
// One field from the clipboard into the record, or the other way.
template <bool ToRecord, class F, class H>
void moveField(F& field, H& held)
{
    if constexpr (ToRecord)
        field = held;
    else
        held = field;
}

// Copies the column's fields between the record and the clipboard, in either direction,
// so the field list is written down once.
template <bool ToRecord, class Rec, class Col>
void transferTrain(Rec& r, int t, Col& c)
{
    auto move = [](auto& field, auto& held) { moveField<ToRecord>(field, held); };
    move(r.trainLengthPerDay[t], c.trainLengthPerDay);
    move(r.maxTrainLength[t], c.maxTrainLength);
    move(r.speed[t], c.speed);
    move(r.nationality[t], c.nationality);
    move(r.trainType[t], c.trainType);
    for (int k = 1; k <= kMaxTracks; ++k) move(r.runsOnTrack[t][k], c.runsOnTrack[k]);
}

template <bool ToRecord, class Rec, class Col>
void transferStretch(Rec& r, int s, Col& c)
{
    auto move = [](auto& field, auto& held) { moveField<ToRecord>(field, held); };
    move(r.shape[s], c.shape);
    move(r.angleFrom[s], c.angleFrom);
    move(r.angleTo[s], c.angleTo);
    move(r.perpDistance[s], c.perpDistance);
    move(r.startDistance[s], c.startDistance);
    move(r.endDistance[s], c.endDistance);
    move(r.radius[s], c.radius);
    move(r.receiverGroundHeight[s], c.receiverGroundHeight);
    move(r.spare[s], c.spare);
    move(r.groundSource[s], c.groundSource);
    move(r.groundReceiver[s], c.groundReceiver);
    move(r.groundMiddle[s], c.groundMiddle);
    move(r.screenType[s], c.screenType);
    move(r.screenBaseHeight[s], c.screenBaseHeight);
    move(r.screenDistance[s], c.screenDistance);
    move(r.screenEffectEqA[s], c.screenEffectEqA);
    move(r.screenEffectEqB[s], c.screenEffectEqB);
    move(r.screenEffectMaxA[s], c.screenEffectMaxA);
    move(r.screenEffectMaxB[s], c.screenEffectMaxB);
    move(r.bankCorrection[s], c.bankCorrection);
    move(r.switchesOn[s], c.switchesOn);
    move(r.switchStart[s], c.switchStart);
    move(r.crossSectionOn[s], c.crossSectionOn);
    move(r.bpCount[s], c.bpCount);
    move(r.bpDistanceBasis[s], c.bpDistanceBasis);
    move(r.receiverHeight[s], c.receiverHeight);
    move(r.screenCrestHeight[s], c.screenCrestHeight);
    move(r.trackHeight[s], c.trackHeight);
    for (int p = 1; p <= kMaxBreakPoints; ++p) {
        move(r.bpDistance[s][p], c.bpDistance[p]);
        move(r.bpHeight[s][p], c.bpHeight[p]);
        move(r.bpLabel[s][p], c.bpLabel[p]);
    }
}

bool validTrain(int t) { return t >= 1 && t <= kMaxTrains; }
bool validStretch(int s) { return s >= 1 && s <= kMaxStretches; }
}  // namespace

bool ColumnClipboard::copyTrain(const ProjectRecord& r, int t)
{
    if (!validTrain(t)) return false;
    transferTrain<false>(r, t, train_);
    kind_ = Kind::Train;
    return true;
}

bool ColumnClipboard::copyStretch(const ProjectRecord& r, int s)
{
    if (!validStretch(s)) return false;
    transferStretch<false>(r, s, stretch_);
    kind_ = Kind::Stretch;
    return true;
}

bool ColumnClipboard::pasteTrain(ProjectRecord& r, DocumentState& doc, int t) const
{
    if (kind_ != Kind::Train || !validTrain(t)) return false;
    transferTrain<true>(r, t, train_);
    // The type list follows the pasted nationality; a type it does not hold falls back to
    // the first one.
    rebuildTrainTypeList(r, t);
    doc.modified = true;
    return true;
}

bool ColumnClipboard::pasteStretch(ProjectRecord& r, DocumentState& doc, int s) const
{
    if (kind_ != Kind::Stretch || !validStretch(s)) return false;
    transferStretch<true>(r, s, stretch_);
    doc.modified = true;
    return true;
}
