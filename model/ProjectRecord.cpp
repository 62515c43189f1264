#include "model/ProjectRecord.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "model/FileSystem.h"

int ProjectRecord::trackCount() const
{
    int n = std::clamp(stretchCount, 1, kMaxStretches);
    return track[n];
}

std::string currentTimestamp() { return localTimestampNow(); }

namespace {
void setLabel(Label2& l, std::string_view text)
{
    l.clear();
    l.setBytes(text);
}

// The New values of every field that New resets.
void applyNewValues(ProjectRecord& r, const std::string& timestamp)
{
    r.objectName.clear();
    r.description.clear();
    r.caseOfficer.clear();
    r.lastUpdate.clear();
    r.lastUpdate.setBytes(timestamp.substr(0, 19));
    r.trainCount = 1;
    r.stretchCount = 1;
    r.windowArea = 2.0f;
    r.roomAbsorption = 10.0f;
    r.windowRw = 29;
    r.indoorLevelOn = 0;
    r.facadeInsulation = -30.0f;
    r.facadeReflectionOn = 0;
    r.facadeDistance = 0.0f;
    for (int s = 1; s <= kMaxStretches; ++s) {
        r.angleFrom[s] = 0;
        r.angleTo[s] = 180;
        r.track[s] = 1;
        r.trackHeight[s] = 0.0f;
        r.shape[s] = 0;
        r.perpDistance[s] = 0.0f;
        r.startDistance[s] = 0.0f;
        r.endDistance[s] = 0.0f;
        r.radius[s] = 0.0f;
        r.receiverGroundHeight[s] = 0.0f;
        r.spare[s] = {0, 0, 0, 0};
        r.groundSource[s] = 1.0f;
        r.groundReceiver[s] = 1.0f;
        r.groundMiddle[s] = 1.0f;
        r.screenType[s] = 0;
        r.screenBaseHeight[s] = 0.0f;
        r.screenDistance[s] = 0.0f;
        r.bankCorrection[s] = 0;
        r.switchesOn[s] = 0;
        r.switchStart[s] = 0;
        r.crossSectionOn[s] = 0;
        r.bpCount[s] = 2;
        r.bpDistanceBasis[s] = 0;
        r.receiverHeight[s] = 2.0f;
        r.screenCrestHeight[s] = 0.0f;
        for (int p = 1; p <= kMaxBreakPoints; ++p) {
            r.bpDistance[s][p] = 0.0f;
            r.bpHeight[s][p] = 0.0f;
            r.bpLabel[s][p].clear();
        }
        setLabel(r.bpLabel[s][1], "SM");
        setLabel(r.bpLabel[s][2], "MT");
    }
    for (int t = 1; t <= kMaxTrains; ++t) {
        r.trainLengthPerDay[t] = 0;
        r.maxTrainLength[t] = 0;
        r.speed[t] = 0;
        r.trainType[t] = 0;
        for (int k = 1; k <= 8; ++k) r.runsOnTrack[t][k] = 1;
    }
}
}  // namespace

ProjectRecord startupDefaults(const std::string& timestamp)
{
    ProjectRecord r;
    applyNewValues(r, timestamp);
    for (int s = 1; s <= kMaxStretches; ++s) {
        r.orderInTrack[s] = 1;
        r.screenEffectEqA[s] = r.screenEffectEqB[s] = r.screenEffectMaxA[s] = r.screenEffectMaxB[s] = 0.0f;
        r.bpDistanceBasis[s] = 0;
    }
    r.country = 1;
    for (int t = 1; t <= kMaxTrains; ++t) r.nationality[t] = 1;
    return r;
}

void resetProjectForNew(ProjectRecord& r, int chosenCountry, const std::string& timestamp)
{
    applyNewValues(r, timestamp);
    int nat = chosenCountry == 0 ? 0 : chosenCountry == 1 ? 1 : 2;
    for (int t = 1; t <= kMaxTrains; ++t) r.nationality[t] = nat;
}

void recomputeFacadeInsulation(ProjectRecord& r)
{
    double ratio = static_cast<double>(r.windowArea) / static_cast<double>(r.roomAbsorption);
    double lg = (ratio > 0.0 && std::isfinite(ratio)) ? std::log(ratio) / std::log(10.0) : 0.0;
    r.facadeInsulation = static_cast<float>(-(static_cast<double>(r.windowRw) - 10.0 * lg - 6.0));
}

void normaliseAfterRead(ProjectRecord& r)
{
    for (int s = 1; s <= kMaxStretches; ++s) {
        for (int p = 1; p <= kMaxBreakPoints; ++p) {
            const Label2& l = r.bpLabel[s][p];
            if (l.equals("SM") && r.trackHeight[s] == 0.0f)
                r.trackHeight[s] = r.bpHeight[s][p];
            else if (l.equals("SK") && r.screenBaseHeight[s] == 0.0f)
                r.screenBaseHeight[s] = r.bpHeight[s][p];
            else if (l.equals("MT") && r.receiverGroundHeight[s] == 0.0f)
                r.receiverGroundHeight[s] = r.bpHeight[s][p];
        }
    }
    for (int s = 1; s <= kMaxStretches; ++s)
        for (int p = 1; p <= kMaxBreakPoints; ++p)
            if (r.bpLabel[s][p].equals("SK")) r.bpLabel[s][p].setBytes("BP");
}

int trainTypeListLength(int nationality)
{
    switch (nationality) {
    case 0: return 5;
    case 1: return 6;
    case 2: return 4;
    default: return 0;
    }
}

void rebuildTrainTypeList(ProjectRecord& r, int t)
{
    if (r.trainType[t] < 0 || r.trainType[t] >= trainTypeListLength(r.nationality[t])) r.trainType[t] = 0;
}

MissingInput firstMissingInput(const ProjectRecord& r)
{
    using T = MissingInput::Table;
    const int trains = std::clamp(std::max(1, r.trainCount), 1, kMaxTrains);
    const int stretches = std::clamp(std::max(1, r.stretchCount), 1, kMaxStretches);
    const int tracks = std::clamp(std::max(1, r.track[stretches]), 1, kMaxTracks);
    for (int t = 1; t <= trains; ++t) {
        if (r.trainLengthPerDay[t] == 0) return {T::Train, t, 1};
        if (r.maxTrainLength[t] == 0) return {T::Train, t, 2};
        if (r.speed[t] == 0) return {T::Train, t, 3};
        bool any = false;
        for (int k = 1; k <= tracks; ++k) any = any || r.runs(t, k);
        if (!any) return {T::Train, t, 6};
    }
    for (int s = 1; s <= stretches; ++s) {
        if (r.shape[s] == 0) {
            if (r.perpDistance[s] == 0.0f) return {T::Stretch, s, 6};
        } else {
            if (r.radius[s] == 0.0f) return {T::Stretch, s, 9};
            if (r.startDistance[s] == 0.0f) return {T::Stretch, s, 7};
            if (r.endDistance[s] == 0.0f) return {T::Stretch, s, 8};
        }
        bool any = false;
        const int k = r.track[s];
        if (k >= 1 && k <= 8)
            for (int t = 1; t <= std::clamp(r.trainCount, 0, kMaxTrains); ++t) any = any || r.runs(t, k);
        if (!any) return {T::Train, 1, std::clamp(k, 1, kMaxTracks) + 5};
    }
    return {};
}

std::string trainRowTitle(int row)
{
    static const char* titles[] = {"Tåglängd (m/dygn)", "Maximal tåglängd (m)", "Hastighet (km/h)", "Tågtyp",
                                   "Nationalitet"};
    if (row >= 1 && row <= 5) return titles[row - 1];
    if (row >= 6 && row <= 9) return "Spår " + std::to_string(row - 5);
    return {};
}

std::string stretchRowTitle(int row)
{
    static const char* titles[] = {"Spår",
                                   "Sträckans ordning inom spåret",
                                   "Sträckform",
                                   "Vinkelområde från (grader)",
                                   "Vinkelområde till (grader)",
                                   "Vinkelrätt mottagaravstånd (m)",
                                   "Mottagaravstånd startpunkt (m)",
                                   "Mottagaravstånd slutpunkt (m)",
                                   "Radie (m)",
                                   "Mottagarhöjd över marken (m)",
                                   "Marktyp källdel",
                                   "Marktyp mottagardel",
                                   "Marktyp mellandel",
                                   "Korrek. för spe" "c. banförhållanden",
                                   "Växlar/Korsningar",
                                   "Tvärsektion (Ja/Nej)"};
    if (row >= 1 && row <= 16) return titles[row - 1];
    return {};
}
