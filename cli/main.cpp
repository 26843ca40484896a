// vornik-cli: the analysis without windows.
#include <CLI/CLI.hpp>
#include <iostream>

#include "dump_command.h"

int main(int argc, char** argv) {
    CLI::App app{"Vornik: what is inside MPEG audio files, without windows"};
    app.require_subcommand(1);

    vornik::DumpOptions dump;
    CLI::App* dumpCommand =
        app.add_subcommand("dump", "Scan files and print each analysis record as one JSON line");
    dumpCommand->add_option("--frames", dump.frameLimit,
                            "Walk at most N frames after the first (-1: the whole file)");
    dumpCommand->add_flag("--no-walk{false}", dump.walk, "Read the headers only, walk no frames");
    dumpCommand->add_flag("--series", dump.series, "Add the per-frame lists");
    dumpCommand->add_option("FILE", dump.files, "Files to scan")->required();

    CLI11_PARSE(app, argc, argv);
    if (dumpCommand->parsed()) {
        return vornik::RunDump(dump, std::cout);
    }
    return 0;
}
