#include "report/Exports.h"

#include <algorithm>
#include <functional>

#include "calc/TrainTypes.h"
#include "model/CodeTexts.h"
#include "report/ReportPage.h"

namespace {
using namespace reportfmt;

constexpr const char* kEol = "\r\n";
constexpr char kTab = '\t';

// A text built line by line; each line ends with CR LF.
struct Lines {
    std::string text;
    void line(const std::string& s = {}) { text += s + kEol; }
    void cells(const std::string& title, const std::string& value) { line(title + kTab + value); }
    // A title followed by one cell per column 1..count.
    void row(const std::string& title, int count, const std::function<std::string(int)>& valueOf)
    {
        std::string s = title;
        for (int i = 1; i <= count; ++i) s += kTab + valueOf(i);
        line(s);
    }
};

int trainsOf(const ProjectRecord& r) { return std::clamp(r.trainCount, 0, kMaxTrains); }
int stretchesOf(const ProjectRecord& r) { return std::clamp(r.stretchCount, 0, kMaxStretches); }
int tracksOf(const ProjectRecord& r)
{
    int n = stretchesOf(r);
    return n > 0 ? std::clamp(r.track[n], 0, kMaxTracks) : 0;
}

std::string bankText(int v) { return codeText(kBankCorrectionNamesLong, v); }
std::string screenText(int v) { return codeText(kScreenTypeNames, v); }
}  // namespace

std::string exportResults(const ProjectRecord& r, const CalcResults& res, char sep)
{
    const double fi = r.facadeInsulation;
    const double fr = res.FacadeCorrection;
    Lines out;
    // The free-field line and the corrected lines of the options that are on.
    auto section = [&](double level) {
        out.cells("Frifältsvärde", I(level));
        if (r.indoorLevelOn != 0)
            out.cells("Innenivå efter korrektion för fasadisolering (" + F1(fi, sep) + " dBA)", I(level + fi));
        if (r.facadeReflectionOn != 0)
            out.cells("Utenivå framför fasad, efter korrektion för fasadreflex (+" + F1(fr, sep) + " dBA)",
                      I(level + fr));
    };

    out.line("RESULTAT");
    out.cells("Ekvivalentnivå", "dBA");
    section(res.FreeFieldEq);
    out.line();
    out.cells("Maxnivå", "dBA");
    section(res.ResultGrid[1][2]);
    if (tracksOf(r) > 1) {
        out.line();
        out.cells("Maxnivå vid samv. tåg/spår", "dBA");
        section(res.ResultGrid[1][3]);
    }
    return out.text;
}

std::string exportTrainData(const ProjectRecord& r)
{
    const int n = trainsOf(r);
    const int tracks = tracksOf(r);
    Lines out;
    out.line("TÅGDATA");
    out.row("Tåg nr:", n, [](int t) { return std::to_string(t); });
    out.row("Tåglängd (m/dygn)", n, [&](int t) { return std::to_string(r.trainLengthPerDay[t]); });
    out.row("Maximal tåglängd (m)", n, [&](int t) { return std::to_string(r.maxTrainLength[t]); });
    out.row("Hastighet (km/h)", n, [&](int t) { return std::to_string(r.speed[t]); });
    out.row("Tågtyp", n, [&](int t) { return trainTypeName(r, t); });
    out.row("Nationalitet", n, [&](int t) { return nationalityName(r.nationality[t]); });
    // Every listed track is followed by ", " unless it is the last track in use, so a train
    // on track 1 of two reads "1, ".
    out.row("Spår", n, [&](int t) {
        std::string s;
        for (int k = 1; k <= tracks; ++k)
            if (r.runs(t, k)) s += std::to_string(k) + (k == tracks ? "" : ", ");
        return s;
    });
    return out.text;
}

std::string exportStretchData(const ProjectRecord& r, const CalcResults& res, char sep)
{
    const int n = stretchesOf(r);
    const std::string na = "---";
    bool anyCurved = false, anyCrossSection = false, anyScreen = false;
    for (int s = 1; s <= n; ++s) {
        if (r.isCurved(s)) anyCurved = true;
        if (r.crossSectionOn[s] != 0) anyCrossSection = true;
        if (r.screenType[s] != 0) anyScreen = true;
    }

    Lines out;
    out.line("STRÄCKDATA");
    out.row("Delsträcka:", n, [](int s) { return std::to_string(s); });
    out.row("Spår", n, [&](int s) { return std::to_string(r.track[s]); });
    out.row("Ordning inom spåret", n, [&](int s) { return std::to_string(r.orderInTrack[s]); });
    out.row("Form", n, [&](int s) { return shapeText(r.shape[s]); });
    // The apostrophe keeps spreadsheets from reading the range as a date or a sum.
    out.row("Vinkelområde (grader)", n,
            [&](int s) { return std::string("'") += G(r.angleFrom[s], sep) + " - " + G(r.angleTo[s], sep); });

    if (!anyCurved) {
        out.row("Vinkelrätt Mottagaravstånd (m)", n, [&](int s) { return G(r.perpDistance[s], sep); });
    } else {
        out.row("Vinkelrätt Mottagaravstånd (m)", n,
                [&](int s) { return r.isCurved(s) ? na : G(r.perpDistance[s], sep); });
        out.row("Mottagaravstånd startpunkt (m)", n,
                [&](int s) { return r.isCurved(s) ? G(r.startDistance[s], sep) : na; });
        out.row("Mottagaravstånd slutpunkt (m)", n,
                [&](int s) { return r.isCurved(s) ? G(r.endDistance[s], sep) : na; });
        out.row("Radie (m)", n, [&](int s) { return r.isCurved(s) ? G(r.radius[s], sep) : na; });
    }

    out.row("Marktyp källdel", n, [&](int s) { return groundText(r.groundSource[s], sep); });
    out.row("Marktyp mottagardel", n, [&](int s) { return groundText(r.groundReceiver[s], sep); });
    out.row("Marktyp mellandel", n, [&](int s) { return groundText(r.groundMiddle[s], sep); });
    out.row("Bankorrektion", n, [&](int s) { return bankText(r.bankCorrection[s]); });
    out.row("Växel/Korsning", n, [&](int s) { return std::string(r.switchesOn[s] != 0 ? "Ja" : "Nej"); });
    out.line();

    out.row("Tvärsektion", n, [&](int s) { return std::string(r.crossSectionOn[s] != 0 ? "Ja" : "Nej"); });
    if (anyCrossSection)
        out.row("Mottagarhöjd över marken (m)", n,
                [&](int s) { return r.crossSectionOn[s] != 0 ? F1(r.receiverHeight[s], sep) : na; });
    else
        out.line();

    out.row("Skärm", n, [&](int s) { return screenText(r.screenType[s]); });
    if (anyScreen) {
        auto screened = [&](const std::string& title, const std::function<std::string(int)>& valueOf) {
            out.row(title, n, [&](int s) { return r.screenType[s] != 0 ? valueOf(s) : na; });
        };
        screened("Avstånd spårmitt-skärm (m)", [&](int s) { return F1(r.screenDistance[s], sep); });
        screened("Skärmkrönets höjd över marken (m)", [&](int s) { return F1(r.screenCrestHeight[s], sep); });
        screened("Spårhöjd (m)", [&](int s) { return F1(r.trackHeight[s], sep); });
        screened("Skärmhöjd (m)", [&](int s) { return F1(r.screenBaseHeight[s], sep); });
        screened("Mottagarhöjd (m)", [&](int s) { return F1(r.receiverGroundHeight[s], sep); });
        screened("Skärmeffekt ekvivalentnivå (m)", [&](int s) {
            return std::string("[") += F1(r.screenEffectEqA[s], sep) + " - " + F1(r.screenEffectEqB[s], sep) + "]";
        });
        screened("Skärmeffekt maxnivå (m)", [&](int s) {
            return std::string("[") += F1(r.screenEffectMaxA[s], sep) + " - " + F1(r.screenEffectMaxB[s], sep) + "]";
        });
    }
    out.line();

    out.row("Totalt ekvivalentnivå (dBA)", n, [&](int s) { return F1(res.StretchEqLevel[s], sep); });
    out.row("Totalt maxnivå (dBA)", n, [&](int s) { return F1(res.StretchMaxLevel[s], sep); });
    return out.text;
}
