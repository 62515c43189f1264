// The site plan of a project as a picture: the stretches, screens, switch zones and facade
// around the receiver, drawn from the stretch table as it stands (no calculation).

#include <CLI/CLI.hpp>
#include <memory>

#include "calc/SitePlan.h"
#include "cli/Cli.h"
#include "cli/CliSupport.h"
#include "model/ProjectRecord.h"
#ifdef SKENBRUS_HAVE_PDF
#include "paint/SitePlanFile.h"
#endif

namespace {
#ifdef SKENBRUS_HAVE_PDF
const CliCommand planCommand(62, [](CLI::App& app, CliStreams& io, int& exitCode) {
    auto* cmd = app.add_subcommand("plan", "Ritar situationsplanen för ett projekt som SVG, PNG eller PDF");
    auto file = std::make_shared<std::string>();
    auto outFile = std::make_shared<std::string>();
    auto width = std::make_shared<int>(1200);
    cmd->add_option("FILE", *file, "Projektfil (.sdb)")->required();
    cmd->add_option("-o,--output", *outFile, "Fil som skrivs; ändelsen .svg, .png eller .pdf väljer format")
        ->required();
    cmd->add_option("--width", *width, "Bildens bredd i bildpunkter (SVG och PNG, normalt 1200)")
        ->check(CLI::Range(100, 20000));
    cmd->callback([=, &io, &exitCode] {
        ProjectRecord r;
        if (!readOrReport(*file, r, io, exitCode)) return;
        const SitePlan plan = buildSitePlan(r);
        for (const std::string& text : sitePlanMissingTexts(plan)) io.err << text << "\n";
        const std::string error = writeSitePlanFile(*outFile, plan, *width);
        if (!error.empty()) {
            io.err << error << "\n";
            exitCode = kExitBadFile;
        }
    });
});
#endif
}  // namespace
