// vornik-cli: the analysis without windows.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <iostream>

#include "crc_command.h"
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

    std::vector<std::string> crcFiles;
    CLI::App* crcCommand = app.add_subcommand(
        "crc", "Recompute the music CRC of files with a Lame tag: OK or corrupt");
    crcCommand->add_option("FILE", crcFiles, "Files to check")->required();

    CLI11_PARSE(app, argc, argv);
    if (dumpCommand->parsed()) {
        return vornik::RunDump(dump, std::cout);
    }
    if (crcCommand->parsed()) {
        const bool terminal = ::isatty(STDERR_FILENO) == 1;
        return vornik::RunCrc(crcFiles, std::cout, terminal ? &std::cerr : nullptr);
    }
    return 0;
}
