// The study command: the whole calculation once per receiver height ("floors") or per screen
// crest height ("screen"), the heights run in parallel, printed as a table, CSV or JSON.

#include <CLI/CLI.hpp>
#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>

#include "calc/Study.h"
#include "cli/Cli.h"
#include "cli/CliSupport.h"
#include "cli/ResultJson.h"
#include "report/StudyTable.h"

namespace {
struct StudyOptions {
    StudyKind kind = StudyKind::Floors;
    std::string file;
    std::string heights;
    std::string stretch;  // screen study: a stretch number or "alla"
    int segment = 1;
    int threads = 0;
    bool json = false;
    bool csv = false;
};

void usage(CliStreams& io, int& exitCode, const std::string& text)
{
    io.err << text << "\n";
    exitCode = kExitUsage;
}

// "alla" or a stretch number 1..8; -1 when it is neither.
int parseStretch(const std::string& text)
{
    if (text == "alla") return 0;
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '8') return text[0] - '0';
    return -1;
}

std::string title(const StudyRequest& q)
{
    if (q.kind == StudyKind::Floors) return "Våningsstudie: mottagarhöjd över marken på alla delsträckor";
    if (q.stretch == 0) return "Skärmhöjdsstudie: skärmkrönets höjd på alla delsträckor med skärm";
    return "Skärmhöjdsstudie: skärmkrönets höjd på delsträcka " + std::to_string(q.stretch);
}

void runStudyCommand(const StudyOptions& opt, CliStreams& io, int& exitCode)
{
    StudyRequest q;
    q.kind = opt.kind;
    if (q.kind == StudyKind::Screen) {
        q.stretch = parseStretch(opt.stretch);
        if (q.stretch < 0)
            return usage(io, exitCode, "Ogiltig delsträcka \"" + opt.stretch + "\": ange 1-8 eller \"alla\".");
    }
    if (const std::string e = ParseHeightList(opt.heights, q.heights); !e.empty()) return usage(io, exitCode, e);

    // Read and checked as a plain calc run of the same file.
    ProjectRecord r;
    RunSettings settings;
    if (!reportOutcome(PrepareProjectFile(opt.file, r, fileRunRequest(opt.segment), settings), io, exitCode)) return;
    if (const std::string e = StudyRefusal(r, q); !e.empty()) return usage(io, exitCode, e);

    StudyOutcome out;
    try {
        out = RunStudy(r, settings, AngleFactors{}, q, opt.threads);
    } catch (const std::exception& e) {
        io.err << e.what() << "\n";
        exitCode = kExitBadFile;
        return;
    }

    if (opt.json) {
        nlohmann::ordered_json j;
        j["study"] = q.kind == StudyKind::Floors ? "floors" : "screen";
        if (q.kind == StudyKind::Screen) j["stretch"] = q.stretch == 0 ? nlohmann::ordered_json("alla") : nlohmann::ordered_json(q.stretch);
        j["heights"] = q.heights;
        auto rows = nlohmann::ordered_json::array();
        for (const StudyRow& row : out.rows) {
            nlohmann::ordered_json o;
            o["height"] = row.height;
            // A refused run has no result object; its message says why.
            if (row.ran)
                o["result"] = resultsJson(row.record, row.results, settings.segmentLength, row.messages);
            else {
                // The same wording calc prints for the refusal, without the message box's CR.
                auto messages = nlohmann::ordered_json::array();
                for (const std::string& m : row.messages) messages.push_back(forTerminal(m));
                o["result"] = nullptr;
                o["messages"] = std::move(messages);
            }
            rows.push_back(std::move(o));
        }
        j["rows"] = std::move(rows);
        io.out << j.dump(2) << "\n";
        return;
    }
    const StudyTable t = buildStudyTable(r, out.rows, settings.indoorBoxChecked, settings.facadeBoxChecked);
    if (opt.csv) {
        io.out << studyTableCsv(t);
        return;
    }
    io.out << title(q) << "\nSegmentlängd: " << settings.segmentLength << " m\n\n" << studyTableText(t);
}

void addStudy(CLI::App& study, StudyKind kind, CliStreams& io, int& exitCode)
{
    const bool floors = kind == StudyKind::Floors;
    auto* cmd = study.add_subcommand(floors ? "floors" : "screen",
                                     floors ? "Våningsstudie: mottagarhöjden på alla delsträckor sätts till varje höjd"
                                            : "Skärmhöjdsstudie: skärmkrönets höjd sätts till varje höjd");
    auto opt = std::make_shared<StudyOptions>();
    opt->kind = kind;
    cmd->add_option("FILE", opt->file, "Projektfil (.sdb)")->required();
    if (!floors)
        cmd->add_option("--stretch", opt->stretch, "Delsträcka med skärm (1-8) eller \"alla\" (alla med skärm)")
            ->required();
    cmd->add_option("--heights", opt->heights,
                    "Höjder i meter: en lista 1.5,4.5,7.5 eller FRÅN:STEG:TILL (högst 200 höjder, 0-1000 m)")
        ->required();
    cmd->add_option("--segment", opt->segment, "Segmentlängd i meter (inställningen \"Segment\", standard 1)");
    cmd->add_option("--threads", opt->threads, "Antal trådar (standard: en per kärna)")->check(CLI::Range(0, 256));
    auto* json = cmd->add_flag("--json", opt->json, "Resultatet som JSON: för varje höjd samma objekt som calc --json");
    auto* csv = cmd->add_flag("--csv", opt->csv, "Tabellen som CSV med rubrikrad");
    json->excludes(csv);
    cmd->callback([opt, &io, &exitCode] { runStudyCommand(*opt, io, exitCode); });
}

const CliCommand studyCommand(45, [](CLI::App& app, CliStreams& io, int& exitCode) {
    auto* study = app.add_subcommand("study", "Våningsstudie eller skärmhöjdsstudie: en beräkning per höjd");
    study->require_subcommand(1);
    addStudy(*study, StudyKind::Floors, io, exitCode);
    addStudy(*study, StudyKind::Screen, io, exitCode);
});
}  // namespace
