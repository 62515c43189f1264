#include "report/ReportPage.h"

#include <algorithm>
#include <cmath>

#include "calc/Bands.h"
#include "calc/Format.h"
#include "calc/TrainTypes.h"
#include "model/CodeTexts.h"
#include "model/Cp1252.h"

namespace reportfmt {
std::string G(double x, char sep) { return formatGeneral(x, 7, sep); }
std::string F1(double x, char sep) { return formatFixed(x, 1, sep); }
std::string I(double x) { return formatInt(RoundEven(x)); }

std::string groundText(double fraction, char sep)
{
    const int type = groundTypeOf(fraction);
    return type == 2 ? codeText(kGroundTypeNames, 1) + " " + G(100.0 * fraction, sep) + "%"
                     : codeText(kGroundTypeNames, type);
}

std::string shapeText(int shape) { return codeText(kShapeNamesReport, shape); }
}  // namespace reportfmt

double ReportPage::bottom() const
{
    double lowest = 0.0;
    for (const DrawOp& op : ops) {
        if (op.kind == DrawOp::Kind::Text)
            lowest = std::max(lowest, op.y + op.rise + op.fontSize * 2.54 / 72.0 * 1.2);
        else
            lowest = std::max({lowest, op.y, op.y2});
    }
    return lowest;
}

double ReportPage::fitScale(double limitCm) const
{
    const double lowest = bottom();
    return lowest > limitCm && limitCm > 0.0 ? limitCm / lowest : 1.0;
}

const DrawOp* ReportPage::findText(std::string_view text) const
{
    for (const auto& op : ops)
        if (op.kind == DrawOp::Kind::Text && op.text == text) return &op;
    return nullptr;
}

std::vector<const DrawOp*> ReportPage::textsAt(double y) const
{
    std::vector<const DrawOp*> r;
    for (const auto& op : ops)
        if (op.kind == DrawOp::Kind::Text && std::fabs(op.y - y) < 0.001) r.push_back(&op);
    return r;
}

namespace {
using namespace reportfmt;
using Align = DrawOp::Align;

constexpr double kLeft = 2.3;
constexpr double kRight = 19.7;
constexpr double kRowLabel = 3.5;  // labels of the results block
constexpr double kValue = 17.8;    // values and "dBA" of the results block
constexpr double kRowPitch = 0.38; // rows of the data part
constexpr int kDataSize = 9;

// Collects the operations with the current font, like a canvas would.
class Page {
public:
    ReportPage page;
    int size = 12;

    void text(double x, double y, std::string s, bool bold = false, Align align = Align::Left,
              ReportColour colour = ReportColour::Black, double rise = 0.0, int fontSize = 0)
    {
        DrawOp op;
        op.kind = DrawOp::Kind::Text;
        op.x = x;
        op.y = y;
        op.text = std::move(s);
        op.align = align;
        op.fontSize = fontSize ? fontSize : size;
        op.bold = bold;
        op.colour = colour;
        op.rise = rise;
        page.ops.push_back(std::move(op));
    }
    void centred(double y, std::string s, bool bold = false) { text(0.0, y, std::move(s), bold, Align::PageCentre); }
    void follow(std::string s, int fontSize, double rise = 0.0, bool bold = false)
    {
        text(0.0, lastY(), std::move(s), bold, Align::Follow, ReportColour::Black, rise, fontSize);
    }
    void line(double x1, double y1, double x2, double y2) { shape(DrawOp::Kind::Line, x1, y1, x2, y2); }
    void rect(double x1, double y1, double x2, double y2) { shape(DrawOp::Kind::Rect, x1, y1, x2, y2); }

private:
    double lastY() const
    {
        for (auto it = page.ops.rbegin(); it != page.ops.rend(); ++it)
            if (it->kind == DrawOp::Kind::Text) return it->y;
        return 0.0;
    }
    void shape(DrawOp::Kind k, double x1, double y1, double x2, double y2)
    {
        DrawOp op;
        op.kind = k;
        op.x = x1;
        op.y = y1;
        op.x2 = x2;
        op.y2 = y2;
        page.ops.push_back(std::move(op));
    }
};

// The counts of the parts in use, kept inside the record's arrays whatever a record holds.
struct Counts {
    int trains = 0, stretches = 0, tracks = 0;
};

Counts countsOf(const ProjectRecord& r)
{
    Counts c;
    c.trains = std::clamp(r.trainCount, 0, kMaxTrains);
    c.stretches = std::clamp(r.stretchCount, 0, kMaxStretches);
    c.tracks = c.stretches > 0 ? std::clamp(r.track[c.stretches], 0, kMaxTracks) : 0;
    return c;
}

double trainX(int t) { return 5.5 + 2.33 * t; }
double trackX(int k) { return 5.5 + 2.33 * k; }
double stretchX(int s, int stretchCount) { return stretchCount <= 6 ? 5.5 + 2.33 * s : 6.14 + 1.67 * s; }

double roundToTenth(double x) { return RoundEven(10.0 * x) / 10.0; }

void header(Page& p, const ReportInput& in)
{
    const ProjectRecord& r = in.record;
    p.size = 12;
    p.line(kLeft, 0.8, kRight, 0.8);
    p.line(kLeft, 2.1, kRight, 2.1);
    p.centred(1.0, "Beräkning av Tågbuller");
    p.text(kRight, 1.0, in.date, false, Align::Right);
    p.centred(1.5, "(Enl. Naturvårdverkets rapport 4935. Skenbrus version " + in.versionText + ", Morvik AB)");
    p.text(kLeft, 2.9, "Objekt:");
    p.text(6.1, 2.9, fromCp1252(r.objectName.bytes()), true);
    p.text(kLeft, 3.4, "Beskrivning:");
    p.text(6.1, 3.4, fromCp1252(r.description.bytes()), true);
    p.text(kLeft, 3.9, "Handläggare:");
    p.text(6.1, 3.9, fromCp1252(r.caseOfficer.bytes()), true);
    p.text(kLeft, 4.4, "Databas:");
    p.text(6.1, 4.4, in.currentFileName);
}

// The results block; returns nothing, the data part finds its own top.
void resultsBlock(Page& p, const ReportInput& in, const Counts& c)
{
    const ProjectRecord& r = in.record;
    const CalcResults& res = in.results;
    const char sep = in.decimalSeparator;
    const bool indoor = r.indoorLevelOn == 1;
    const bool facade = r.facadeReflectionOn == 1;
    const int options = (indoor ? 1 : 0) + (facade ? 1 : 0);
    const double fi = r.facadeInsulation;
    const double fr = res.FacadeCorrection;

    const std::string indoorLabel = "Innenivå efter korrektion för fasadisolering (" + F1(fi, sep) + " dBA)";
    const std::string facadeLabel =
        "Utenivå framför fasad, efter korrektion för fasadreflex (+" + F1(fr, sep) + " dBA)";
    // The indoor and facade rows below a free-field row at y; corrected levels never below 0.
    auto correctedRows = [&](double y, double level) {
        if (indoor) {
            y += 0.5;
            p.text(kRowLabel, y, indoorLabel);
            p.text(kValue, y, I(std::max(0.0, level + fi)), true);
        }
        if (facade) {
            y += 0.5;
            p.text(kRowLabel, y, facadeLabel);
            p.text(kValue, y, I(std::max(0.0, level + fr)), true);
        }
    };

    bool allSwedish = true;
    for (int t = 1; t <= c.trains; ++t)
        if (r.nationality[t] != 1) allSwedish = false;
    const std::string subscript = allSwedish ? "maxF" : (c.tracks <= 1 ? "maxM" : "MaxM");
    auto maxFreeFieldRow = [&](double y, double level) {
        p.text(kRowLabel, y, "Frifältsvärde, L");
        p.follow(subscript, p.size, 0.1);
        p.text(kValue, y, I(level), true);
        correctedRows(y, level);
    };

    p.size = 12;
    p.rect(kLeft, 5.1, kRight, 5.7);
    p.centred(5.2, "RESULTAT", true);

    // Equivalent level.
    const double eqBottom = 6.8 + 0.5 * options;
    p.line(kLeft, 5.7, kLeft, eqBottom);
    p.line(kRight, 5.7, kRight, eqBottom);
    p.centred(5.8, "Ekvivalentnivå", true);
    p.text(kValue, 5.8, "dBA");
    p.text(kRowLabel, 6.3, "Frifältsvärde");
    p.text(kValue, 6.3, G(res.FreeFieldEq, sep), true);
    correctedRows(6.3, res.FreeFieldEq);

    // Maximum level.
    static constexpr double maxBottom[] = {7.9, 8.9, 9.9};
    const double maxTop = eqBottom;
    p.rect(kLeft, maxTop, kRight, maxBottom[options]);
    p.centred(maxTop + 0.1, "Maxnivå", true);
    p.text(kValue, maxTop + 0.1, "dBA");
    maxFreeFieldRow(maxTop + 0.6, res.ResultGrid[1][2]);

    static constexpr double afterMax[] = {8.0, 9.0, 10.0};
    double pos = afterMax[options];
    if (c.tracks > 1) {
        static constexpr double simBottom[] = {9.0, 10.5, 12.0};
        static constexpr double afterSim[] = {9.05, 10.55, 12.05};
        p.line(kLeft, maxBottom[options], kLeft, simBottom[options]);
        p.line(kRight, maxBottom[options], kRight, simBottom[options]);
        p.line(kLeft, simBottom[options], kRight, simBottom[options]);
        p.centred(pos, "Maxnivå samv. tåg/spår", true);
        p.text(kValue, pos, "dBA");
        maxFreeFieldRow(pos + 0.5, res.ResultGrid[1][3]);
        pos = afterSim[options];
    }

    p.size = 8;
    if (res.TrainLongerThanTrack) {
        p.text(kLeft, pos, "Varning! Något/några tågs maxlängd är längre än spåren de trafikerar!");
        pos += 0.3;
    }
    if (indoor) {
        p.text(kLeft, pos, "Fönsteryta: " + F1(r.windowArea, sep) + " m");
        p.follow("2", 7, -0.05);
        p.follow(" Ljudabsorbtion: " + F1(r.roomAbsorption, sep) + " m", 8);
        p.follow("2", 7, -0.05);
        p.follow(" Rw: " + F1(r.windowRw, sep) + "  Fasadisolering: " + F1(fi, sep) + " dBA", 8);
        pos += 0.3;
    }
    p.text(kLeft, pos, "Segmentlängd: " + std::to_string(in.segmentLength) + " m");
}

// The top of the data part, below the results block.
double dataTop(const ProjectRecord& r, const CalcResults& res, const Counts& c)
{
    const bool indoor = r.indoorLevelOn == 1;
    const bool facade = r.facadeReflectionOn == 1;
    const bool warning = res.TrainLongerThanTrack;
    const bool severalTracks = c.tracks > 1;
    double y0 = indoor ? (warning ? 11.7 : 11.4) : (warning ? 9.7 : 9.4);
    if (severalTracks) y0 += 0.5;
    if (facade) y0 += 1.5;
    if (!severalTracks) y0 -= (facade || indoor) ? 1.1 : 0.6;
    return y0;
}

// One row of the data part: label at the left, a value right-aligned in each column.
template <class ValueOf, class XOf>
void dataRow(Page& p, double y, const std::string& label, int count, XOf xOf, ValueOf valueOf, bool title = false)
{
    p.text(kLeft, y, label, title, Align::Left, title ? ReportColour::Navy : ReportColour::Black);
    for (int i = 1; i <= count; ++i) p.text(xOf(i), y, valueOf(i), title, Align::Right);
}

// Per-stretch result rows from b and the track block below them.
void stretchAndTrackResults(Page& p, const ReportInput& in, const Counts& c, double b)
{
    CalcResults& res = in.results;
    const char sep = in.decimalSeparator;
    const int n = c.stretches;
    auto sx = [n](int s) { return stretchX(s, n); };

    dataRow(p, b, "Totalt ekvivalentnivå (dBA)", n, sx, [&](int s) { return G(res.StretchEqLevel[s], sep); });
    dataRow(p, b + 0.38, "Totalt maxnivå (dBA)", n, sx, [&](int s) { return G(res.StretchMaxLevel[s], sep); });
    dataRow(p, b + 0.76, "Totalt maxnivå, full tåglängd (dBA)", n, sx, [&](int s) {
        res.StretchMaxLevelFullTrain[s] = roundToTenth(res.StretchMaxLevelFullTrain[s]);
        return G(res.StretchMaxLevelFullTrain[s], sep);
    });

    dataRow(p, b + 1.42, "Spår", c.tracks, trackX, [](int k) { return std::to_string(k); }, true);
    dataRow(p, b + 1.80, "Totalt ekvivalentnivå (dBA)", c.tracks, trackX, [&](int k) {
        res.TrackEqLevel[k] = roundToTenth(res.TrackEqLevel[k]);
        return G(res.TrackEqLevel[k], sep);
    });
    dataRow(p, b + 2.18, "Totalt maxnivå (dBA)", c.tracks, trackX, [&](int k) {
        res.TrackMaxLevel[k] = roundToTenth(res.TrackMaxLevel[k]);
        return G(res.TrackMaxLevel[k], sep);
    });
    dataRow(p, b + 2.56, "Delsträcka för maxnivå (tågmitt)", c.tracks, trackX,
            [&](int k) { return std::to_string(res.TrackMaxStretch[k]); });
    dataRow(p, b + 2.94, "Tågposition för maxnivå (tågmitt)", c.tracks, trackX,
            [&](int k) { return std::to_string(res.TrackMaxAngle[k]) + "°"; });
}

std::string bankText(int v) { return codeText(kBankCorrectionNames, v); }
std::string screenText(int v) { return codeText(kScreenTypeNames, v); }

void dataPart(Page& p, const ReportInput& in, const Counts& c)
{
    const ProjectRecord& r = in.record;
    const char sep = in.decimalSeparator;
    const double y0 = dataTop(r, in.results, c);
    p.size = kDataSize;

    // Trains.
    const int nt = c.trains;
    auto row = [&](int i) { return y0 + kRowPitch * i; };
    dataRow(p, row(0), "Tåg nr:", nt, trainX, [](int t) { return std::to_string(t); }, true);
    dataRow(p, row(1), "Tåglängd (m/dygn)", nt, trainX, [&](int t) { return std::to_string(r.trainLengthPerDay[t]); });
    dataRow(p, row(2), "Maximal tåglängd (m)", nt, trainX, [&](int t) { return std::to_string(r.maxTrainLength[t]); });
    dataRow(p, row(3), "Hastighet (km/h)", nt, trainX, [&](int t) { return std::to_string(r.speed[t]); });
    dataRow(p, row(4), "Tågtyp", nt, trainX, [&](int t) { return trainTypeName(r, t); });
    dataRow(p, row(5), "Nationalitet", nt, trainX, [&](int t) { return nationalityName(r.nationality[t]); });
    dataRow(p, row(6), "Spår", nt, trainX, [&](int t) {
        std::string s;
        for (int k = 1; k <= c.tracks; ++k)
            if (r.runs(t, k)) {
                if (!s.empty()) s += ',';
                s += std::to_string(k);
            }
        return s;
    });

    // Stretches.
    const int n = c.stretches;
    auto sx = [n](int s) { return stretchX(s, n); };
    auto each = [&](double y, const std::string& label, auto valueOf) { dataRow(p, y, label, n, sx, valueOf); };
    dataRow(p, y0 + 2.94, "Delsträcka", n, sx, [](int s) { return std::to_string(s); }, true);
    each(y0 + 3.32, "Spår", [&](int s) { return std::to_string(r.track[s]); });
    each(y0 + 3.70, "Ordning inom spåret", [&](int s) { return std::to_string(r.orderInTrack[s]); });
    each(y0 + 4.08, "Form", [&](int s) { return shapeText(r.shape[s]); });
    each(y0 + 4.46, "Vinkelområde (grader)",
         [&](int s) { return G(r.angleFrom[s], sep) + " - " + G(r.angleTo[s], sep); });

    bool anyStraight = false, anyCurved = false;
    for (int s = 1; s <= n; ++s) (r.isCurved(s) ? anyCurved : anyStraight) = true;
    const std::string na = "---";
    double y = y0 + 4.84;
    if (anyStraight || !anyCurved) {
        each(y, "Vinkelrätt Mottagaravstånd (m)",
             [&](int s) { return r.isCurved(s) ? na : G(r.perpDistance[s], sep); });
        y += kRowPitch;
    }
    if (anyCurved) {
        each(y, "Mottagaravstånd startpunkt(m)",
             [&](int s) { return r.isCurved(s) ? G(r.startDistance[s], sep) : na; });
        each(y + 0.38, "Mottagaravstånd slutpunkt(m)",
             [&](int s) { return r.isCurved(s) ? G(r.endDistance[s], sep) : na; });
        each(y + 0.76, "Radie (m)", [&](int s) { return r.isCurved(s) ? G(r.radius[s], sep) : na; });
        y += 3 * kRowPitch;
    }
    const double y1 = y;

    each(y1, "Marktyp källdel", [&](int s) { return groundText(r.groundSource[s], sep); });
    each(y1 + 0.38, "Marktyp mottagardel", [&](int s) { return groundText(r.groundReceiver[s], sep); });
    each(y1 + 0.76, "Marktyp mellandel", [&](int s) { return groundText(r.groundMiddle[s], sep); });
    each(y1 + 1.14, "Bankorrektion", [&](int s) { return bankText(r.bankCorrection[s]); });
    each(y1 + 1.52, "Växlar/korsningar", [&](int s) { return std::string(r.switchesOn[s] ? "Ja" : "Nej"); });
    each(y1 + 1.90, "Mottagarhöjd (m, ej tvärsektion)",
         [&](int s) { return r.crossSectionOn[s] == 0 ? F1(r.receiverHeight[s], sep) : na; });

    const double yx = y1 + 2.46;
    each(yx, "Tvärsektion", [&](int s) { return std::string(r.crossSectionOn[s] == 1 ? "Ja" : "Nej"); });
    bool anyCrossSection = false, anyScreen = false;
    for (int s = 1; s <= n; ++s) {
        if (r.crossSectionOn[s] == 1) anyCrossSection = true;
        if (r.screenType[s] != 0) anyScreen = true;
    }
    if (anyCrossSection) {
        each(yx + 0.38, "Markhöjd vid mottagare (m)",
             [&](int s) { return r.crossSectionOn[s] == 1 ? G(r.receiverGroundHeight[s], sep) : na; });
        each(yx + 0.76, "Mottagarhöjd över marken (m)",
             [&](int s) { return r.crossSectionOn[s] == 1 ? G(r.receiverHeight[s], sep) : na; });
    }
    const double ys = yx + (anyCrossSection ? 1.32 : 0.56);
    each(ys, "Skärm", [&](int s) { return screenText(r.screenType[s]); });

    double b = ys + 0.66;
    if (anyScreen) {
        auto screened = [&](auto text) {
            return [&, text](int s) { return r.screenType[s] != 0 ? text(s) : na; };
        };
        double ry = ys;
        auto next = [&] { return ry += kRowPitch; };
        each(next(), "Avstånd spårmitt-skärm (m)", screened([&](int s) { return F1(r.screenDistance[s], sep); }));
        each(next(), "Skärmkrönets höjd över marken (m)",
             screened([&](int s) { return G(r.screenCrestHeight[s], sep); }));
        each(next(), "Spårhöjd (m)", screened([&](int s) { return G(r.trackHeight[s], sep); }));
        each(next(), "Skärmhöjd (m)", screened([&](int s) { return F1(r.screenBaseHeight[s], sep); }));
        each(next(), "Skärmeffekt ekvivalentnivå (m)", screened([&](int s) {
                 return F1(r.screenEffectEqA[s], sep) + " - " + F1(r.screenEffectEqB[s], sep);
             }));
        each(next(), "Skärmeffekt maxnivå (m)", screened([&](int s) {
                 return F1(r.screenEffectMaxA[s], sep) + " - " + F1(r.screenEffectMaxB[s], sep);
             }));
        b = ry + 0.56;
    }
    stretchAndTrackResults(p, in, c, b);
}
}  // namespace

ReportPage buildReportPage(const ReportInput& in)
{
    Page p;
    const Counts c = countsOf(in.record);
    header(p, in);
    resultsBlock(p, in, c);
    dataPart(p, in, c);
    return std::move(p.page);
}

ReportPage buildSitePlanPageHeader(const ReportInput& in)
{
    Page p;
    header(p, in);
    p.size = 12;
    p.rect(kLeft, 5.1, kRight, 5.7);
    p.centred(5.2, "Situationsplan", true);
    return std::move(p.page);
}

ReportPage buildPartialReportPage(const ReportInput& in)
{
    Page p;
    const Counts c = countsOf(in.record);
    header(p, in);
    p.size = 12;
    p.rect(kLeft, 5.1, kRight, 5.7);
    p.centred(5.2, "Delresultat", true);

    p.size = kDataSize;
    const double y0 = 6.2;
    const int n = c.stretches;
    dataRow(p, y0, "Delsträcka", n, [n](int s) { return stretchX(s, n); }, [](int s) { return std::to_string(s); },
            true);
    stretchAndTrackResults(p, in, c, y0 + kRowPitch);
    return std::move(p.page);
}
