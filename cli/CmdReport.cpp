// Commands that calculate a project and hand on its results: the report as a PDF and the
// three tab-separated export texts.

#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>

#include "calc/Results.h"
#include "calc/RunRequest.h"
#include "calc/SitePlan.h"
#include "cli/Cli.h"
#include "cli/CliSupport.h"
#include "model/FileSystem.h"
#include "model/ProjectRecord.h"
#include "report/Exports.h"
#include "report/ReportPage.h"
#ifdef SKENBRUS_HAVE_PDF
#include "paint/ReportPainter.h"
#endif

namespace {
// The project as the program would have it after opening the file and pressing
// "Beräkning": read, checked for completeness, the segment length clamped by the program's
// rule, calculated with the options stored in the project.
struct Calculated {
    ProjectRecord record;
    CalcResults results;
    int segmentLength = 1;
};

bool readAndCalculate(const std::string& path, int segmentSetting, Calculated& c, CliStreams& io, int& exitCode)
{
    const RunOutcome out = RunProjectFile(path, c.record, c.results, fileRunRequest(segmentSetting));
    c.segmentLength = out.segmentLength;
    if (out.status != RunStatus::Unreadable && out.status != RunStatus::Incomplete &&
        c.segmentLength != segmentSetting)
        io.err << SegmentChangedText(segmentSetting, c.segmentLength) << "\n";
    if (!reportOutcome(out, io, exitCode)) return false;
    // The program shows no results after a radius error, so there is nothing to report.
    if (c.results.RadiusError) {
        io.err << NoResultsText() << "\n";
        exitCode = kExitBadFile;
        return false;
    }
    return true;
}

void addSegmentOption(CLI::App* cmd, int& segment)
{
    cmd->add_option("--segment", segment, "Segmentlängd i meter (som inställningen \"Segment\", normalt 1)")
        ->check(CLI::Range(1, 100000));
}

#ifdef SKENBRUS_HAVE_PDF
const CliCommand reportCommand(60, [](CLI::App& app, CliStreams& io, int& exitCode) {
    auto* cmd = app.add_subcommand("report", "Beräknar ett projekt och skriver rapporten som PDF (A4)");
    auto file = std::make_shared<std::string>();
    auto outFile = std::make_shared<std::string>();
    auto segment = std::make_shared<int>(1);
    auto partial = std::make_shared<bool>(false);
    auto withPlan = std::make_shared<bool>(false);
    cmd->add_option("FILE", *file, "Projektfil (.sdb)")->required();
    cmd->add_option("-o,--output", *outFile, "PDF-fil som skrivs")->required();
    addSegmentOption(cmd, *segment);
    cmd->add_flag("--delresultat", *partial, "Delresultat i stället för standardrapporten");
    cmd->add_flag("--situationsplan", *withPlan, "Situationsplanen som andra sida (som \"Med situationsplan\")");
    cmd->callback([=, &io, &exitCode] {
        Calculated c;
        if (!readAndCalculate(*file, *segment, c, io, exitCode)) return;
        std::error_code ec;
        const std::filesystem::path full = std::filesystem::absolute(pathFromUtf8(*file), ec);
        ReportInput in{c.record, c.results, c.segmentLength, ec ? *file : utf8Of(full.lexically_normal()),
                       SKENBRUS_VERSION_TEXT, localDateNow(), '.'};
        const ReportPage page = buildReport(*partial ? ReportKind::Partial : ReportKind::Standard, in);
        const SitePlanSheet sheet{buildSitePlanPageHeader(in), buildSitePlan(c.record)};
        const std::string error = writeReportPdf(*outFile, page, *withPlan ? &sheet : nullptr);
        if (!error.empty()) {
            io.err << error << "\n";
            exitCode = kExitBadFile;
        }
    });
});
#else
// Without Qt there is nothing to draw the page with: the command is there, so that asking for
// it gets a plain answer.
const CliCommand reportCommand(60, [](CLI::App& app, CliStreams& io, int& exitCode) {
    auto* cmd = app.add_subcommand("report", "Rapporten som PDF (finns inte i den här versionen)");
    cmd->allow_extras();
    cmd->callback([&io, &exitCode] {
        io.err << "Den här versionen av skenbrus-cli kan inte skriva PDF: den är byggd utan Qt.\n";
        exitCode = kExitUsage;
    });
});
#endif

const CliCommand exportCommand(61, [](CLI::App& app, CliStreams& io, int& exitCode) {
    auto* cmd = app.add_subcommand(
        "export", "Beräknar ett projekt och skriver en exporttext (TAB-separerad, CR LF) till standard ut");
    auto what = std::make_shared<std::string>();
    auto file = std::make_shared<std::string>();
    auto segment = std::make_shared<int>(1);
    cmd->add_option("WHAT", *what, "resultat, tagdata eller strackdata")
        ->required()
        ->check(CLI::IsMember({"resultat", "tagdata", "strackdata"}));
    cmd->add_option("FILE", *file, "Projektfil (.sdb)")->required();
    addSegmentOption(cmd, *segment);
    cmd->callback([=, &io, &exitCode] {
        Calculated c;
        if (!readAndCalculate(*file, *segment, c, io, exitCode)) return;
        if (*what == "resultat")
            io.out << exportResults(c.record, c.results);
        else if (*what == "tagdata")
            io.out << exportTrainData(c.record);
        else
            io.out << exportStretchData(c.record, c.results);
    });
});
}  // namespace
