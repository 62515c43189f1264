#pragma once
// Copy and paste of whole train and stretch columns inside the program. The clipboard
// holds one column at a time; copying one kind drops the other. It never reaches the
// system clipboard.

#include <array>
#include <cstdint>

#include "model/Array1.h"
#include "model/DocumentState.h"
#include "model/ProjectRecord.h"

struct TrainColumn {
    std::int32_t trainLengthPerDay = 0;
    std::int32_t maxTrainLength = 0;
    std::int32_t speed = 0;
    std::int32_t trainType = 0;
    std::int32_t nationality = 0;
    Array1<BoolByte, kMaxTracks> runsOnTrack{};
};

// Everything that describes a stretch except its place on the tracks (`track`,
// `orderInTrack`). `radius` and `trackHeight` travel with it, so that a pasted curve keeps
// its own radius and a pasted cross-section agrees with its own track height.
struct StretchColumn {
    std::int32_t shape = 0;
    std::int32_t angleFrom = 0, angleTo = 0;
    float perpDistance = 0, startDistance = 0, endDistance = 0, radius = 0;
    float receiverGroundHeight = 0;
    std::array<std::uint8_t, 4> spare{};
    float groundSource = 0, groundReceiver = 0, groundMiddle = 0;
    std::int32_t screenType = 0;
    float screenBaseHeight = 0, screenDistance = 0;
    float screenEffectEqA = 0, screenEffectEqB = 0, screenEffectMaxA = 0, screenEffectMaxB = 0;
    std::int32_t bankCorrection = 0;
    std::int32_t switchesOn = 0, switchStart = 0;
    std::int32_t crossSectionOn = 0, bpCount = 0, bpDistanceBasis = 0;
    float receiverHeight = 0, screenCrestHeight = 0, trackHeight = 0;
    Array1<float, kMaxBreakPoints> bpDistance{}, bpHeight{};
    Array1<Label2, kMaxBreakPoints> bpLabel{};
};

class ColumnClipboard {
public:
    enum class Kind { Empty, Train, Stretch };

    Kind kind() const { return kind_; }
    // What the two column menus offer: "Klistra in kolumn" only in the table whose kind
    // the clipboard holds.
    bool canPasteTrain() const { return kind_ == Kind::Train; }
    bool canPasteStretch() const { return kind_ == Kind::Stretch; }

    // Copies train t (1..6) / stretch s (1..8); false for a column outside the record.
    bool copyTrain(const ProjectRecord& r, int t);
    bool copyStretch(const ProjectRecord& r, int s);

    // Writes the held column into train t / stretch s. A paste changes the project, so it
    // sets `modified`. The train's type is kept inside the list of the pasted nationality.
    // False (and nothing changed) when the clipboard holds no column of that kind or the
    // column lies outside the record.
    bool pasteTrain(ProjectRecord& r, DocumentState& doc, int t) const;
    bool pasteStretch(ProjectRecord& r, DocumentState& doc, int s) const;

    const TrainColumn& train() const { return train_; }
    const StretchColumn& stretch() const { return stretch_; }

private:
    Kind kind_ = Kind::Empty;
    TrainColumn train_;
    StretchColumn stretch_;
};
