// Commands on project files: new, show, from-json.

#include <CLI/CLI.hpp>
#include <iomanip>
#include <sstream>

#include "calc/Format.h"
#include "calc/TrainTypes.h"
#include "cli/Cli.h"
#include "cli/CliSupport.h"
#include "cli/ProjectJson.h"
#include "model/CodeTexts.h"
#include "model/Cp1252.h"
#include "model/FileSystem.h"
#include "model/ProjectFile.h"
#include "report/ReportPage.h"

namespace {
std::string text(const auto& s) { return fromCp1252(s.bytes()); }

std::string num(float x) { return formatGeneral(static_cast<double>(x), 7); }

void printRow(std::ostream& o, const std::string& title, const std::vector<std::string>& cells)
{
    o << "  " << title;
    // Pad by characters, not bytes, so Swedish letters line up.
    int chars = 0;
    for (unsigned char c : title) chars += (c & 0xC0) != 0x80;
    for (int i = chars; i < 36; ++i) o << ' ';
    for (const auto& c : cells) {
        int w = 0;
        for (unsigned char ch : c) w += (ch & 0xC0) != 0x80;
        for (int i = w; i < 10; ++i) o << ' ';
        o << c;
    }
    o << "\n";
}

void showReadable(std::ostream& o, const ProjectRecord& r)
{
    static const char* countries[] = {"Norge", "Sverige", "Finland"};
    o << "Objekt:               " << text(r.objectName) << "\n";
    o << "Beskrivning:          " << text(r.description) << "\n";
    o << "Handläggare:          " << text(r.caseOfficer) << "\n";
    o << "Senaste uppdatering:  " << text(r.lastUpdate) << "\n";
    o << "Land:                 " << countries[r.country] << "\n";
    o << "Innenivå:             " << (r.indoorLevelOn == 1 ? "Ja" : "Nej") << "  (fönsteryta " << num(r.windowArea)
      << " m2, ljudabsorption " << num(r.roomAbsorption) << " m2, Rw " << r.windowRw << ", fasadisolering "
      << formatFixed(r.facadeInsulation, 1) << " dBA)\n";
    o << "Fasadreflexer:        " << (r.facadeReflectionOn == 1 ? "Ja" : "Nej") << "  (avstånd till fasad "
      << num(r.facadeDistance) << " m)\n\n";

    const int nt = r.trainCount, ns = r.stretchCount, tracks = r.trackCount();
    o << "TÅG\n";
    std::vector<std::string> head;
    for (int t = 1; t <= nt; ++t) head.push_back(std::to_string(t));
    printRow(o, "", head);
    auto trainRow = [&](int row, auto f) {
        std::vector<std::string> c;
        for (int t = 1; t <= nt; ++t) c.push_back(f(t));
        printRow(o, trainRowTitle(row), c);
    };
    trainRow(1, [&](int t) { return std::to_string(r.trainLengthPerDay[t]); });
    trainRow(2, [&](int t) { return std::to_string(r.maxTrainLength[t]); });
    trainRow(3, [&](int t) { return std::to_string(r.speed[t]); });
    trainRow(4, [&](int t) { return trainTypeName(r, t); });
    trainRow(5, [&](int t) { return nationalityName(r.nationality[t]); });
    for (int k = 1; k <= tracks; ++k) trainRow(5 + k, [&](int t) { return std::string(r.runs(t, k) ? "x" : "-"); });

    o << "\nDELSTRÄCKOR\n";
    head.clear();
    for (int s = 1; s <= ns; ++s) head.push_back(std::to_string(s));
    printRow(o, "", head);
    auto pick = [](const auto& names, int i) { return codeText(names, i, "?"); };
    auto ground = [](float g) { return reportfmt::groundText(g, '.'); };
    auto stretchRow = [&](const std::string& title, auto f) {
        std::vector<std::string> c;
        for (int s = 1; s <= ns; ++s) c.push_back(f(s));
        printRow(o, title, c);
    };
    stretchRow(stretchRowTitle(1), [&](int s) { return std::to_string(r.track[s]); });
    stretchRow(stretchRowTitle(2), [&](int s) { return std::to_string(r.orderInTrack[s]); });
    stretchRow(stretchRowTitle(3), [&](int s) { return pick(kShapeNames, r.shape[s]); });
    stretchRow(stretchRowTitle(4), [&](int s) { return std::to_string(r.angleFrom[s]); });
    stretchRow(stretchRowTitle(5), [&](int s) { return std::to_string(r.angleTo[s]); });
    stretchRow(stretchRowTitle(6), [&](int s) { return r.shape[s] == 0 ? num(r.perpDistance[s]) : "---"; });
    stretchRow(stretchRowTitle(7), [&](int s) { return r.shape[s] != 0 ? num(r.startDistance[s]) : "---"; });
    stretchRow(stretchRowTitle(8), [&](int s) { return r.shape[s] != 0 ? num(r.endDistance[s]) : "---"; });
    stretchRow(stretchRowTitle(9), [&](int s) { return r.shape[s] != 0 ? num(r.radius[s]) : "---"; });
    stretchRow(stretchRowTitle(10), [&](int s) { return num(r.receiverHeight[s]); });
    stretchRow(stretchRowTitle(11), [&](int) { return codeText(kGroundTypeNames, 1); });
    stretchRow(stretchRowTitle(12), [&](int s) { return ground(r.groundReceiver[s]); });
    stretchRow(stretchRowTitle(13), [&](int s) { return ground(r.groundMiddle[s]); });
    stretchRow(stretchRowTitle(14), [&](int s) { return pick(kBankCorrectionNames, r.bankCorrection[s]); });
    stretchRow(stretchRowTitle(15), [&](int s) {
        return r.switchesOn[s] == 1 ? codeText(kNoYesNames, 1) + " (" + std::to_string(r.switchStart[s]) + " m)"
                                    : codeText(kNoYesNames, 0);
    });
    stretchRow(stretchRowTitle(16), [&](int s) { return codeText(kNoYesNames, r.crossSectionOn[s] == 1); });
    stretchRow("Skärm", [&](int s) { return pick(kScreenTypeNames, r.screenType[s]); });

    for (int s = 1; s <= ns; ++s) {
        if (r.crossSectionOn[s] != 1 && r.screenType[s] == 0) continue;
        o << "\nTvärsektion, delsträcka " << s << ":";
        for (int p = 1; p <= r.bpCount[s]; ++p)
            o << "  " << (r.bpLabel[s][p].length() ? text(r.bpLabel[s][p]) : std::string("  ")) << " "
              << num(r.bpDistance[s][p]) << " m / " << num(r.bpHeight[s][p]) << " m";
        o << "\n";
        if (r.screenType[s] != 0)
            o << "  Skärm: " << pick(kScreenTypeNames, r.screenType[s]) << ", avstånd spårmitt-skärm "
              << num(r.screenDistance[s]) << " m, krönhöjd " << num(r.screenCrestHeight[s]) << " m, markhöjd "
              << num(r.screenBaseHeight[s]) << " m\n";
    }
}

int countryFromName(const std::string& name)
{
    if (name == "Norge") return 0;
    if (name == "Sverige") return 1;
    return 2;
}

const CliCommand newCommand(10, [](CLI::App& app, CliStreams& io, int& exitCode) {
    auto* cmd = app.add_subcommand("new", "Skapar ett nytt projekt med startvärden");
    auto file = std::make_shared<std::string>();
    auto land = std::make_shared<std::string>("Sverige");
    cmd->add_option("FILE", *file, "Projektfil (.sdb)")->required();
    cmd->add_option("--land", *land, "Land: Norge, Sverige eller Finland")
        ->check(CLI::IsMember({"Norge", "Sverige", "Finland"}));
    cmd->callback([=, &io, &exitCode] {
        ProjectRecord r = startupDefaults();
        r.country = countryFromName(*land);
        resetProjectForNew(r, r.country);
        exitCode = writeOrReport(*file, r, io);
    });
});

const CliCommand showCommand(20, [](CLI::App& app, CliStreams& io, int& exitCode) {
    auto* cmd = app.add_subcommand("show", "Visar ett projekt");
    auto file = std::make_shared<std::string>();
    auto asJson = std::make_shared<bool>(false);
    cmd->add_option("FILE", *file, "Projektfil (.sdb)")->required();
    cmd->add_flag("--json", *asJson, "Alla fält som ett JSON-objekt");
    cmd->callback([=, &io, &exitCode] {
        ProjectRecord r;
        if (!readOrReport(*file, r, io, exitCode)) return;
        if (*asJson)
            io.out << projectToJson(r).dump(2) << "\n";
        else
            showReadable(io.out, r);
    });
});

const CliCommand fromJsonCommand(30, [](CLI::App& app, CliStreams& io, int& exitCode) {
    auto* cmd = app.add_subcommand("from-json", "Skriver en projektfil från ett JSON-objekt");
    auto in = std::make_shared<std::string>();
    auto outFile = std::make_shared<std::string>();
    cmd->add_option("IN", *in, "JSON-fil")->required();
    cmd->add_option("OUT", *outFile, "Projektfil (.sdb)")->required();
    cmd->callback([=, &io, &exitCode] {
        std::string text;
        if (const std::error_code ec = readWholeFile(pathFromUtf8(*in), text)) {
            io.err << "Kan inte läsa " << *in << ": " << errorText(ec) << "\n";
            exitCode = kExitBadFile;
            return;
        }
        nlohmann::json j;
        try {
            j = nlohmann::json::parse(text);
        } catch (const nlohmann::json::parse_error& e) {
            io.err << "Felaktig JSON i " << *in << ": " << e.what() << "\n";
            exitCode = kExitBadFile;
            return;
        }
        ProjectRecord r = startupDefaults();
        int country = 1;
        if (j.is_object() && j.contains("country") && j["country"].is_number_integer())
            country = j["country"].get<int>();
        resetProjectForNew(r, country);
        try {
            projectFromJson(j, r);
        } catch (const JsonInputError& e) {
            io.err << e.what() << "\n";
            exitCode = kExitBadFile;
            return;
        }
        const std::string defect = recordDefect(r);
        if (!defect.empty()) {
            io.err << "Projektet i " << *in << " är inte giltigt (fältet " << defect << ")\n";
            exitCode = kExitBadFile;
            return;
        }
        exitCode = writeOrReport(*outFile, r, io);
    });
});
}  // namespace
