// SPDX-License-Identifier: GPL-3.0-or-later
// The program as the desktop starts it, on a virtual screen: `vornik --settings F FOLDER` over
// files made by real encoders shows their rows and the summary, closes gracefully on SIGTERM
// and writes its settings on the way out.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <csignal>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "encoder_support.h"
#include "ini_file.h"
#include "main_frame.h"
#include "vornik_app.h"
#include "vornik_list.h"
#include "vornik_view.h"

namespace vornik {
namespace {

constexpr int kPatienceMs = 30000;

// What the probe saw of the running program before it sent the signal.
struct Seen {
    int rows = -1;
    QString summary;
    QString caption;
    bool timedOut = false;
};
Seen gSeen;

CMainFrame* RunningFrame() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* frame = qobject_cast<CMainFrame*>(widget)) {
            return frame;
        }
    }
    return nullptr;
}

// Runs once the program has made its application object: watches the window until its list
// is complete, then asks the program to end as a desktop session would.
void StartProbe() {
    auto* const poll = new QTimer(QCoreApplication::instance());
    const auto waited = std::make_shared<QElapsedTimer>();
    waited->start();
    poll->setInterval(50);
    QObject::connect(poll, &QTimer::timeout, [poll, waited] {
        CMainFrame* const frame = RunningFrame();
        const bool filled = frame != nullptr && frame->StatusText(0).endsWith("kbps");
        gSeen.timedOut = !filled && waited->elapsed() > kPatienceMs;
        if (filled || gSeen.timedOut) {
            if (frame != nullptr) {
                gSeen.rows = frame->View()->List()->Table().rowCount();
                gSeen.summary = frame->StatusText(0);
                gSeen.caption = frame->windowTitle();
            }
            poll->stop();
            std::raise(SIGTERM);
        }
    });
    poll->start();
}

TEST(EndToEnd, ProgramShowsEncodedFilesAndWritesItsSettingsWhenTerminated) {
    const test::TempDir dir;
    const std::string wav = dir.file("signal.wav");
    test::WriteTestSignal(wav, 44100, 2, 3.0);
    const std::string music = dir.file("music");
    ASSERT_EQ(test::RunCommand("mkdir -p '" + music + "'"), 0);
    for (const auto& [pattern, name] : std::vector<std::pair<const char*, std::string>>{
             {"lame --quiet -b 128 %s %s", "cbr.mp3"},
             {"lame --quiet -V 2 %s %s", "vbr.mp3"},
             {"twolame --quiet -b 192 %s %s", "layer2.mp2"}}) {
        std::string output;
        ASSERT_EQ(test::RunCommand(test::EncoderCommand(pattern, wav, music + "/" + name), &output),
                  0)
            << output;
    }
    // "Use most recent": the folder shown is the one written back at exit.
    const std::string settings = dir.file("vornik.ini");
    std::ofstream(settings) << "tree_settings\nuserecent\t1\n\n";

    qAddPreRoutine(StartProbe);
    std::vector<std::string> arguments{"vornik", "--settings", settings, music};
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    int argc = static_cast<int>(argv.size());
    argv.push_back(nullptr);
    EXPECT_EQ(RunVornik(argc, argv.data()), 0);

    EXPECT_FALSE(gSeen.timedOut) << "the list did not fill; status: "
                                 << gSeen.summary.toStdString();
    EXPECT_TRUE(gSeen.caption.endsWith(QString(" \u2014 Vornik"))) << gSeen.caption.toStdString();
    EXPECT_EQ(gSeen.rows, 3);
    EXPECT_TRUE(gSeen.summary.startsWith("3 files, ")) << gSeen.summary.toStdString();

    CIniFile written;
    written.SetFileName(settings);
    ASSERT_TRUE(written.Read());
    std::vector<std::string> sections;
    for (const CIniFile::Section& section : written.Sections()) {
        sections.push_back(section.name);
    }
    EXPECT_EQ(sections, (std::vector<std::string>{"favourites_mru", "list_settings", "export",
                                                  "tree_settings", "details_rect", "details",
                                                  "view_settings", "mainframe", "global"}));
    EXPECT_EQ(written.GetString("tree_settings", "initdir", ""), music);
}

}  // namespace
}  // namespace vornik
