#include "cli/ResultJson.h"

namespace {
// Singles are widened exactly; the JSON writer prints the shortest text that reads back.
template <class T, int N>
nlohmann::ordered_json jsonArray(const Array1<T, N>& a)
{
    auto j = nlohmann::ordered_json::array();
    for (const T& v : a) j.push_back(static_cast<double>(v));
    return j;
}

template <class T, int N>
nlohmann::ordered_json jsonIntArray(const Array1<T, N>& a)
{
    auto j = nlohmann::ordered_json::array();
    for (const T& v : a) j.push_back(static_cast<int>(v));
    return j;
}

}  // namespace

nlohmann::ordered_json resultsJson(const ProjectRecord& r, const CalcResults& res, int segmentLength,
                                   const std::vector<std::string>& messages)
{
    nlohmann::ordered_json j;
    j["segmentLength"] = segmentLength;
    j["facadeCorrection"] = res.FacadeCorrection;
    j["freeFieldEq"] = static_cast<double>(res.FreeFieldEq);
    j["stretchEqLevel"] = jsonArray(res.StretchEqLevel);
    j["trackEqLevel"] = jsonArray(res.TrackEqLevel);
    j["radiusError"] = res.RadiusError;
    j["messages"] = messages;
    j["screenEffectEqA"] = jsonArray(r.screenEffectEqA);
    j["screenEffectEqB"] = jsonArray(r.screenEffectEqB);
    j["screenEffectMaxA"] = jsonArray(r.screenEffectMaxA);
    j["screenEffectMaxB"] = jsonArray(r.screenEffectMaxB);
    j["facadeDistance"] = static_cast<double>(r.facadeDistance);
    j["stretchMaxLevel"] = jsonArray(res.StretchMaxLevel);
    j["stretchMaxLevelFullTrain"] = jsonArray(res.StretchMaxLevelFullTrain);
    j["trackMaxLevel"] = jsonArray(res.TrackMaxLevel);
    j["trackMaxStretch"] = jsonIntArray(res.TrackMaxStretch);
    j["trackMaxAngle"] = jsonIntArray(res.TrackMaxAngle);
    j["trackMaxTrain"] = jsonIntArray(res.TrackMaxTrain);
    j["trainLongerThanTrack"] = res.TrainLongerThanTrack;
    j["simultaneousMaxLevel"] = res.SimultaneousMaxLevel;
    auto grid = nlohmann::ordered_json::array();
    for (int row = 1; row <= 3; ++row) grid.push_back(jsonArray(res.ResultGrid[row]));
    j["resultGrid"] = grid;
    auto labels = nlohmann::ordered_json::array();
    for (int row = 1; row <= 3; ++row) labels.push_back(res.ResultRowLabel[row]);
    j["resultRowLabels"] = labels;
    return j;
}

