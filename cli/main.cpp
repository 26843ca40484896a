// SPDX-License-Identifier: GPL-3.0-or-later
// vornik-cli: the analysis without windows.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <limits>
#include <sstream>
#include <string_view>
#include <system_error>
#include <thread>

#include "attribute_catalogue.h"
#include "check_command.h"
#include "crc_command.h"
#include "dump_command.h"
#include "replace_file.h"
#include "report_command.h"
#include "scan_command.h"
#include "terminal_text.h"

namespace {

// Refuses a number that names no attribute, as an unknown --format is refused.
const CLI::Validator kAttributeId(
    [](const std::string& text) -> std::string {
        try {
            std::size_t used = 0;
            const int id = std::stoi(text, &used);
            if (used == text.size() && vornik::FindAttribute(id) != nullptr) {
                return {};
            }
        } catch (const std::exception&) {
        }
        return text + " is not an attribute id (the README lists them)";
    },
    "ID");

std::ostream* ProgressStream() {
    return ::isatty(STDERR_FILENO) == 1 ? &std::cerr : nullptr;
}

// Where error lines go: standard error, through escaping when it is a terminal (the lines name
// files, whose names may hold escape sequences). The progress line writes its own.
std::ostream& ErrorStream() {
    static vornik::TerminalLineBuffer escaping(std::cerr);
    static std::ostream escaped(&escaping);
    return ::isatty(STDERR_FILENO) == 1 ? escaped : std::cerr;
}

// Runs the scan into standard output or into `outputPath`, which is written only when the scan
// produced its document. The document goes to a new file that replaces the old one only once
// it is whole, so a full disk leaves the previous document; a file the user made read-only is
// left alone, as writing it in place would have been refused.
int Scan(const vornik::ScanOptions& options, const std::string& outputPath) {
    if (outputPath.empty() && ::isatty(STDOUT_FILENO) == 1) {
        // On a terminal, names and tags show their control characters escaped.
        std::ostringstream document;
        const int status = vornik::RunScan(options, document, ErrorStream(), ProgressStream());
        std::cout << vornik::TerminalText(document.str()) << std::flush;
        return status;
    }
    if (outputPath.empty()) {
        return vornik::RunScan(options, std::cout, ErrorStream(), ProgressStream());
    }
    std::ostringstream document;
    const int status = vornik::RunScan(options, document, ErrorStream(), ProgressStream());
    std::error_code error;
    if (!vornik::WriteFileReplacing(outputPath, document.view(), error,
                                    vornik::ReadOnlyFile::kKeep)) {
        ErrorStream() << outputPath << ": cannot write the file: " << error.message() << '\n';
        return 2;
    }
    return status;
}

constexpr const char* kJobsMessage = "-j needs a whole number of at least 1";

// Takes the value of -j: decimal digits, at least 1; a value beyond int is as many as an int
// holds, since the workers are limited by the files anyway. Any other value sets `refused` and
// stops the parse; main then says kJobsMessage alone, without CLI11's prefix and hint.
CLI::Validator JobsCount(bool& refused) {
    return CLI::Validator(
        [&refused](std::string& value) -> std::string {
            std::string_view digits = value;
            if (digits.starts_with('+')) {
                digits.remove_prefix(1);
            }
            const bool whole =
                !digits.empty() && std::all_of(digits.begin(), digits.end(),
                                               [](char c) { return c >= '0' && c <= '9'; });
            const std::size_t first = digits.find_first_not_of('0');
            if (!whole || first == std::string_view::npos) {
                refused = true;
                return kJobsMessage;
            }
            digits.remove_prefix(first);
            const std::string most = std::to_string(std::numeric_limits<int>::max());
            const bool beyond =
                digits.size() > most.size() || (digits.size() == most.size() && digits > most);
            value = beyond ? most : std::string(digits);
            return {};
        },
        "N>=1");
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
        ->allow_extra_args(false)
        ->check(kAttributeId);
    scanCommand->add_option("--sort", scan.sortId, "Attribute id of the sort column")
        ->check(kAttributeId);
    scanCommand->add_flag("--reverse", scan.reverse, "Sort in reverse order");
    scanCommand->add_option("--format", scan.format, "Document format")
        ->check(CLI::IsMember({"txt", "xml", "json", "csv"}));
    scanCommand->add_flag("--no-xml-amp{false}", scan.xmlAmpersands,
                          "Write \"&\" in XML values as it is, not as \"&amp;\"");
    scanCommand->add_option("--output", scanOutput, "Write the document to FILE");
    scanCommand->add_flag("--recursive", scan.recursive, "Take the files of sub-folders too");
    scan.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    bool jobsRefused = false;
    scanCommand->add_option("-j,--jobs", scan.jobs, "List workers side by side")
        ->transform(JobsCount(jobsRefused));
    scanCommand->add_option("PATH", scan.paths, "Files and folders")->required();

    vornik::CheckOptions check;
    CLI::App* checkCommand = app.add_subcommand(
        "check", "Check files completely: OK, or what is wrong with each (exit 1 when any is)");
    checkCommand->add_flag("--recursive", check.recursive, "Take the files of sub-folders too");
    checkCommand->add_option("--format", check.format, "Output format")
        ->check(CLI::IsMember({"txt", "json", "csv"}));
    check.jobs = scan.jobs;
    checkCommand->add_option("-j,--jobs", check.jobs, "Files checked side by side")
        ->transform(JobsCount(jobsRefused));
    checkCommand->add_option("PATH", check.paths, "Files and folders")->required();

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (!jobsRefused) {
            return app.exit(error);
        }
        std::cerr << kJobsMessage << '\n';
        return error.get_exit_code();
    }
    if (dumpCommand->parsed()) {
        return vornik::RunDump(dump, std::cout);
    }
    if (crcCommand->parsed()) {
        return vornik::RunCrc(crcFiles, std::cout, ProgressStream());
    }
    if (reportCommand->parsed()) {
        return vornik::RunReport(reportFile, std::cout, ErrorStream());
    }
    if (scanCommand->parsed()) {
        return Scan(scan, scanOutput);
    }
    if (checkCommand->parsed()) {
        if (::isatty(STDOUT_FILENO) == 1) {
            std::ostringstream verdicts;
            const int status = vornik::RunCheck(check, verdicts, ErrorStream(), ProgressStream());
            std::cout << vornik::TerminalText(verdicts.str()) << std::flush;
            return status;
        }
        return vornik::RunCheck(check, std::cout, ErrorStream(), ProgressStream());
    }
    return 0;
}
