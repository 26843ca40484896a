// vornik-cli: the analysis without windows.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <fstream>
#include <iostream>
#include <thread>

#include "check_command.h"
#include "crc_command.h"
#include "dump_command.h"
#include "report_command.h"
#include "scan_command.h"

namespace {

std::ostream* ProgressStream() {
    return ::isatty(STDERR_FILENO) == 1 ? &std::cerr : nullptr;
}

// Runs the scan into standard output or into `outputPath`, which is written only when the scan
// produced its document.
int Scan(const vornik::ScanOptions& options, const std::string& outputPath) {
    if (outputPath.empty()) {
        return vornik::RunScan(options, std::cout, std::cerr, ProgressStream());
    }
    std::ostringstream document;
    const int status = vornik::RunScan(options, document, std::cerr, ProgressStream());
    std::ofstream out(outputPath, std::ios::binary | std::ios::trunc);
    out << document.str();
    out.close();
    if (!out) {
        std::cerr << outputPath << ": cannot write the file\n";
        return 2;
    }
    return status;
}

}  // namespace

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

    std::string reportFile;
    CLI::App* reportCommand =
        app.add_subcommand("report", "Scan a file completely and print its text report");
    reportCommand->add_option("FILE", reportFile, "File to report on")->required();

    vornik::ScanOptions scan;
    std::string scanOutput;
    CLI::App* scanCommand = app.add_subcommand(
        "scan", "Analyse files and folders as the file list does and write them as an export");
    scanCommand->add_option("--frames", scan.frameBudget,
                            "Walk at most N frames of each file (0: every frame)");
    // One argument per --columns, split at its commas; without the limit, the paths after it
    // would be taken as further ids.
    scanCommand->add_option("--columns", scan.columns, "Attribute ids of the columns, in order")
        ->delimiter(',')
        ->allow_extra_args(false);
    scanCommand->add_option("--sort", scan.sortId, "Attribute id of the sort column");
    scanCommand->add_flag("--reverse", scan.reverse, "Sort in reverse order");
    scanCommand->add_option("--format", scan.format, "Document format")
        ->check(CLI::IsMember({"txt", "xml", "json", "csv"}));
    scanCommand->add_flag("--no-xml-amp{false}", scan.xmlAmpersands,
                          "Write \"&\" in XML values as it is, not as \"&amp;\"");
    scanCommand->add_option("--output", scanOutput, "Write the document to FILE");
    scanCommand->add_flag("--recursive", scan.recursive, "Take the files of sub-folders too");
    scan.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    scanCommand->add_option("-j,--jobs", scan.jobs, "List workers side by side")
        ->check(CLI::PositiveNumber);
    scanCommand->add_option("PATH", scan.paths, "Files and folders")->required();

    vornik::CheckOptions check;
    CLI::App* checkCommand = app.add_subcommand(
        "check", "Check files completely: OK, or what is wrong with each (exit 1 when any is)");
    checkCommand->add_flag("--recursive", check.recursive, "Take the files of sub-folders too");
    checkCommand->add_option("--format", check.format, "Output format")
        ->check(CLI::IsMember({"txt", "json", "csv"}));
    check.jobs = scan.jobs;
    checkCommand->add_option("-j,--jobs", check.jobs, "Files checked side by side")
        ->check(CLI::PositiveNumber);
    checkCommand->add_option("PATH", check.paths, "Files and folders")->required();

    CLI11_PARSE(app, argc, argv);
    if (dumpCommand->parsed()) {
        return vornik::RunDump(dump, std::cout);
    }
    if (crcCommand->parsed()) {
        return vornik::RunCrc(crcFiles, std::cout, ProgressStream());
    }
    if (reportCommand->parsed()) {
        return vornik::RunReport(reportFile, std::cout, std::cerr);
    }
    if (scanCommand->parsed()) {
        return Scan(scan, scanOutput);
    }
    if (checkCommand->parsed()) {
        return vornik::RunCheck(check, std::cout, std::cerr, ProgressStream());
    }
    return 0;
}
