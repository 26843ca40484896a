// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and shut-down of the desktop program.
#pragma once

#include <QIcon>
#include <QStringList>
#include <string>

namespace vornik {

class CMainFrame;

struct ProgramArguments {
    std::string settingsFile;        // --settings FILE; empty: the usual place
    std::vector<std::string> paths;  // absolute, clean
};

// The program's icon at 48, 128 and 256 pixels, for every window and the about box; the
// desktop finds the same pictures in the icon theme.
QIcon ProgramIcon();

// Reads `--settings FILE` and the paths from the arguments (the program's name first), making
// relative paths absolute against the current folder.
ProgramArguments ParseProgramArguments(const QStringList& arguments);

// The main window made, its settings read and shown on `arguments`: what start-up does once
// the application object exists. Null when the frame's window is not registered.
CMainFrame* StartMainFrame(const ProgramArguments& arguments, std::string& settingsPath);

// Writes the settings of `frame` to `settingsPath`, rebuilt from empty through the windows'
// settings chain, whole and atomically. False when the file could not be written.
bool SaveProgramSettings(CMainFrame& frame, const std::string& settingsPath);

// The whole program: from the arguments to the exit code.
int RunVornik(int argc, char** argv);

}  // namespace vornik
