// The calc command: reads a project as the program opens it, runs the calculation and prints
// the results as the result page shows them.

#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <vector>

#include "calc/Format.h"
#include "calc/Results.h"
#include "calc/RunRequest.h"
#include "cli/Cli.h"
#include "cli/CliSupport.h"
#include "cli/ResultJson.h"
#include "model/ProjectRecord.h"

namespace {
struct CalcOptions {
    std::string file;
    int segment = 1;  // the "Segment" setting
    bool traceEq = false;
    bool traceMax = false;
    std::string traceDir;
    bool json = false;
};

// Characters (not bytes) of UTF-8 text, so Swedish letters line up.
int displayWidth(const std::string& s)
{
    int n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}

void printRow(std::ostream& o, const std::string& title, const std::vector<std::string>& cells, int width = 10)
{
    o << title;
    for (int i = displayWidth(title); i < 40; ++i) o << ' ';
    for (const auto& c : cells) {
        for (int i = displayWidth(c); i < width; ++i) o << ' ';
        o << c;
    }
    o << "\n";
}

std::string cut(const std::string& utf8, int chars)
{
    std::string out;
    int n = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if ((c & 0xC0) != 0x80 && n++ == chars) break;
        out.push_back(utf8[i]);
    }
    return out;
}

void printResults(std::ostream& o, const ProjectRecord& r, const CalcResults& res, int segmentLength)
{
    o << "Segmentlängd: " << segmentLength << " m\n\n";

    // The result table: one column per calculated quantity.
    auto gridRow = [&res](int row) {
        return std::vector<std::string>{formatFixed(res.ResultGrid[row][1], 0), formatFixed(res.ResultGrid[row][2], 1),
                                        formatFixed(res.ResultGrid[row][3], 0)};
    };
    printRow(o, "Resultat", {"Ekv. ", "Max.", "Max. samv. tåg/spår"}, 21);
    printRow(o, "  Frifältsvärde (dBA)", gridRow(1), 21);
    for (int row = 2; row <= 1 + res.correctedRows && row <= 3; ++row)
        printRow(o, "  " + cut(res.ResultRowLabel[row], 70), gridRow(row), 21);
    o << "\n";

    const int nTracks = r.trackCount();
    std::vector<std::string> head, cells;
    for (int k = 1; k <= nTracks && k <= kMaxTracks; ++k) {
        head.push_back(std::to_string(k));
        cells.push_back(formatFixed(res.TrackEqLevel[k], 1));
    }
    printRow(o, "Spår", head);
    printRow(o, "  Bullertillskott för ekv. nivå (dBA)", cells);
    std::vector<std::string> maxCells, stretchCells, angleCells, trainCells;
    for (int k = 1; k <= nTracks && k <= kMaxTracks; ++k) {
        maxCells.push_back(formatFixed(res.TrackMaxLevel[k], 1));
        stretchCells.push_back(std::to_string(res.TrackMaxStretch[k]));
        angleCells.push_back(std::to_string(res.TrackMaxAngle[k]));
        trainCells.push_back(std::to_string(res.TrackMaxTrain[k]));
    }
    printRow(o, "  Maximal ljudnivå (dBA)", maxCells);
    printRow(o, "  Delsträcka för maxnivå (tågmitt)", stretchCells);
    printRow(o, "  Tågposition för maxnivå (tågmitt)", angleCells);
    printRow(o, "  Tåg för maxnivå (full tåglängd)", trainCells);
    o << "\n";

    head.clear();
    cells.clear();
    for (int s = 1; s <= r.stretchCount && s <= kMaxStretches; ++s) {
        head.push_back(std::to_string(s));
        cells.push_back(formatFixed(res.StretchEqLevel[s], 1));
    }
    printRow(o, "Delsträcka", head);
    printRow(o, "  Bullertillskott för ekv. nivå (dBA)", cells);
    cells.clear();
    std::vector<std::string> fullCells;
    for (int s = 1; s <= r.stretchCount && s <= kMaxStretches; ++s) {
        cells.push_back(formatFixed(res.StretchMaxLevel[s], 1));
        fullCells.push_back(formatFixed(res.StretchMaxLevelFullTrain[s], 1));
    }
    printRow(o, "  Maxnivå, tåglängd ej längre än sträckan", cells);
    printRow(o, "  Maxnivå, full tåglängd (dBA)", fullCells);
}

void runCalc(const CalcOptions& opt, CliStreams& io, int& exitCode)
{
    RunRequest q = fileRunRequest(opt.segment);
    q.trace.equivalent = opt.traceEq;
    q.trace.maximum = opt.traceMax;
    q.trace.folder = opt.traceDir;
    ProjectRecord r;
    CalcResults results;
    const RunOutcome out = RunProjectFile(opt.file, r, results, q);
    if (!reportOutcome(out, io, exitCode)) return;
    if (opt.json) {
        io.out << resultsJson(r, results, out.segmentLength, out.messages).dump(2) << "\n";
    } else if (results.RadiusError) {
        // As in the program, a run with a radius error shows no result tables.
        io.err << NoResultsText() << "\n";
    } else {
        printResults(io.out, r, results, out.segmentLength);
    }
}

const CliCommand calcCommand(40, [](CLI::App& app, CliStreams& io, int& exitCode) {
    auto* cmd = app.add_subcommand("calc", "Beräknar bullernivåerna för ett projekt");
    auto opt = std::make_shared<CalcOptions>();
    cmd->add_option("FILE", opt->file, "Projektfil (.sdb)")->required();
    cmd->add_option("--segment", opt->segment, "Segmentlängd i meter (inställningen \"Segment\", standard 1)");
    cmd->add_flag("--trace-eq", opt->traceEq, "Skriv beräkningsgången för ekvivalentnivån till filer");
    cmd->add_flag("--trace-max", opt->traceMax, "Skriv beräkningsgången för maxnivån till filer");
    cmd->add_option("--trace-dir", opt->traceDir, "Katalog för beräkningsgångens filer (standard: aktuell katalog)");
    cmd->add_flag("--json", opt->json, "Resultatet som ett JSON-objekt");
    cmd->callback([opt, &io, &exitCode] { runCalc(*opt, io, exitCode); });
});
}  // namespace
