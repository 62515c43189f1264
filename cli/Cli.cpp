#include "cli/Cli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>

CliCommand::CliCommand(int order, Setup setup) { all().emplace_back(order, std::move(setup)); }

std::vector<std::pair<int, CliCommand::Setup>>& CliCommand::all()
{
    static std::vector<std::pair<int, Setup>> commands;
    return commands;
}

int runCli(int argc, char** argv) { return runCli(argc, argv, std::cout, std::cerr); }

int runCli(int argc, char** argv, std::ostream& out, std::ostream& err)
{
    CLI::App app{"Skenbrus - buller från spårtrafik enligt den nordiska beräkningsmodellen"};
    app.require_subcommand(1);
    // Options are written --name on every system; "/folder/x.sdb" is a path, also on Windows.
    app.allow_windows_style_options(false);
    CliStreams io{out, err};
    int exitCode = kExitOk;
    auto commands = CliCommand::all();
    std::stable_sort(commands.begin(), commands.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& c : commands) c.second(app, io, exitCode);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return kExitOk;
    } catch (const CLI::CallForAllHelp&) {
        out << app.help("", CLI::AppFormatMode::All);
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        err << "Felaktigt kommando: " << e.what() << "\n";
        return kExitUsage;
    }
    return exitCode;
}

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> all{"skenbrus-cli"};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    return runCli(static_cast<int>(argv.size()), argv.data(), out, err);
}
