#pragma once
// The one-page report of a calculated project, laid out as a list of drawing operations
// in centimetres from the left and top edges of the printable page. A painter (the Qt
// adapter, or a test) turns the list into pixels; nothing here knows about devices.

#include <string>
#include <string_view>
#include <vector>

#include "calc/Results.h"
#include "model/ProjectRecord.h"

enum class ReportColour { Black, Navy };

struct DrawOp {
    enum class Kind { Text, Line, Rect };
    enum class Align {
        Left,        // text starts at x
        Right,       // text ends at x
        PageCentre,  // centred on the page width; x is not used
        Follow,      // continues where the previous text ended; x is not used
    };

    Kind kind = Kind::Text;
    double x = 0.0, y = 0.0;    // text: anchor and top of the line; line/rectangle: first corner
    double x2 = 0.0, y2 = 0.0;  // line/rectangle: second corner
    std::string text;           // UTF-8
    Align align = Align::Left;
    int fontSize = 12;          // points
    bool bold = false;
    ReportColour colour = ReportColour::Black;
    double rise = 0.0;          // cm the text sits below its line (subscript > 0, superscript < 0)
};

// Every drawn text and line stays at least 1 cm above the bottom edge of the A4 sheet,
// where printers cut.
inline constexpr double kReportBottomLimitCm = 28.7;

struct ReportPage {
    std::vector<DrawOp> ops;

    // The lowest point the page reaches, in cm: line and rectangle corners, and the bottoms
    // of texts (a line of text is 1.2 times its font size high).
    double bottom() const;
    // The factor the whole page is drawn at: 1, or less so that its lowest point comes to
    // limitCm.
    double fitScale(double limitCm = kReportBottomLimitCm) const;

    // Test and debugging helpers: the first text op with exactly this text, or nullptr.
    const DrawOp* findText(std::string_view text) const;
    // All text ops on the line at y (to 0.001 cm), in drawing order.
    std::vector<const DrawOp*> textsAt(double y) const;
};

// Which report the user asked for.
enum class ReportKind { Standard, Partial };

struct ReportInput {
    const ProjectRecord& record;
    // Three of its arrays (StretchMaxLevelFullTrain, TrackEqLevel, TrackMaxLevel) are rounded
    // to one decimal in place while the page is laid out, as the report has always done; a
    // second layout therefore gives the same text.
    CalcResults& results;
    int segmentLength = 1;
    std::string currentFileName;  // UTF-8
    std::string versionText;      // "4.5.0.4"
    std::string date;             // short date text of the platform
    char decimalSeparator = '.';
};

// The standard report: header, results block and the data part.
ReportPage buildReportPage(const ReportInput& in);
// "Delresultat": header and the per-stretch and per-track results.
ReportPage buildPartialReportPage(const ReportInput& in);
// The header of the site plan's page: the report's header and a box titled "Situationsplan";
// the plan itself goes into sitePlanArea below it.
ReportPage buildSitePlanPageHeader(const ReportInput& in);
struct ReportArea {
    double left, top, right, bottom;  // cm
};
constexpr ReportArea sitePlanArea{2.3, 6.0, 19.7, 27.0};
inline ReportPage buildReport(ReportKind kind, const ReportInput& in)
{
    return kind == ReportKind::Standard ? buildReportPage(in) : buildPartialReportPage(in);
}

// Number texts shared by the report and the exports.
namespace reportfmt {
std::string G(double x, char sep);   // up to 7 significant digits, no trailing zeros
std::string F1(double x, char sep);  // exactly one decimal
std::string I(double x);             // nearest integer, halves to even
// "Porös" for 1, "Hård" for 0, otherwise "Porös " + percentage + "%".
std::string groundText(double fraction, char sep);
std::string shapeText(int shape);  // "Rakt", "Konvex", "Konkav"
}  // namespace reportfmt
