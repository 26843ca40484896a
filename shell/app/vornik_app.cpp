// SPDX-License-Identifier: GPL-3.0-or-later
#include "vornik_app.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "command_line.h"
#include "main_frame.h"
#include "settings_location.h"
#include "termination_signals.h"
#include "version_text.h"
#include "window_factory.h"

// The icons are compiled into the shell's static library; the resource's registration must be
// named, or the linker leaves it out. Outside any namespace, as Qt's macro wants.
static void RegisterIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace vornik {

QIcon ProgramIcon() {
    RegisterIconResources();
    QIcon icon;
    for (const int size : {48, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/vornik-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

ProgramArguments ParseProgramArguments(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Vornik: what is really in your MPEG audio files");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption settings("settings", "Read and write the settings in FILE.", "FILE");
    parser.addOption(settings);
    parser.addPositionalArgument("PATH", "A folder to open, or .mp3 files to show.", "[PATH...]");
    parser.process(arguments);

    ProgramArguments parsed;
    parsed.settingsFile = parser.value(settings).toStdString();
    for (const QString& path : parser.positionalArguments()) {
        parsed.paths.push_back(
            QDir::cleanPath(QDir::current().absoluteFilePath(path)).toStdString());
    }
    return parsed;
}

CMainFrame* StartMainFrame(const ProgramArguments& arguments, std::string& settingsPath) {
    CMainFrame* const frame = CreateRegisteredWindow<CMainFrame>(kFrameWindowId, nullptr);
    if (frame == nullptr) {
        return nullptr;
    }
    const SettingsFiles files = LocateSettingsFiles(OwnExecutablePath(), arguments.settingsFile);
    settingsPath = files.settings;
    CIniFile ini;
    ini.SetFileName(files.settings);
    ini.Read();  // a missing file leaves every setting at its default
    frame->SetLogFile(files.log);
    frame->LoadSettings(ini);
    frame->Startup(DecideStartup(arguments.paths));
    return frame;
}

bool SaveProgramSettings(CMainFrame& frame, const std::string& settingsPath) {
    if (settingsPath.empty()) {
        return false;
    }
    CIniFile ini;
    ini.SetFileName(settingsPath);
    frame.SaveSettings(ini);
    // Said once: SaveSettingsFile has put the line in the log already.
    if (const std::optional<std::string> failure = SaveSettingsFile(ini)) {
        std::cerr << *failure << '\n';
        return false;
    }
    return true;
}

namespace {

void NameTheApplication() {
    QCoreApplication::setApplicationName("Vornik");
    // The number alone: --version prints the name before it.
    QCoreApplication::setApplicationVersion(
        QString::fromStdString(VersionText()).remove(QStringLiteral("Vornik ")));
}

// --help and --version answer without a display: they open no window.
bool AsksForTextOnly(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") {
            break;
        }
        if (argument == "-h" || argument == "--help" || argument == "--help-all" ||
            argument == "-v" || argument == "--version") {
            return true;
        }
    }
    return false;
}

}  // namespace

int RunVornik(int argc, char** argv) {
    const auto environment = [](const char* name) -> std::optional<std::string> {
        const char* const value = std::getenv(name);
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    };
    if (!HasDisplay(environment)) {
        if (AsksForTextOnly(argc, argv)) {
            QCoreApplication application(argc, argv);
            NameTheApplication();
            ParseProgramArguments(QCoreApplication::arguments());  // prints and exits
        }
        std::cerr << kNoDisplayMessage << '\n';
        return 1;
    }
    QApplication application(argc, argv);
    NameTheApplication();
    QApplication::setDesktopFileName("vornik");
    QApplication::setWindowIcon(ProgramIcon());
    const ProgramArguments arguments = ParseProgramArguments(QApplication::arguments());

    RegisterWindows();
    std::string settingsPath;
    CMainFrame* const frame = StartMainFrame(arguments, settingsPath);
    if (frame == nullptr) {
        return 0;
    }
    CloseOnTerminationSignals(frame);
    const int status = QApplication::exec();
    SaveProgramSettings(*frame, settingsPath);
    delete frame;
    return status;
}

}  // namespace vornik
