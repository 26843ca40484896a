// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_location.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "temp_folder.h"

namespace vornik {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using Variables = std::map<std::string, std::string>;

// A system with the given variables, where only the listed folders can be written to.
LocationProbe FakeProbe(const Variables& variables, const std::vector<std::string>& writable) {
    LocationProbe probe;
    probe.environment = [variables](const std::string& name) -> std::optional<std::string> {
        const auto found = variables.find(name);
        return found == variables.end() ? std::nullopt : std::optional(found->second);
    };
    probe.folderWritable = [writable](const std::string& folder) {
        return std::find(writable.begin(), writable.end(), folder) != writable.end();
    };
    return probe;
}

const Variables kHome{{"HOME", "/home/u"}};
const Variables kBoth{{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "/cfg"}};
const Variables kEmptyXdg{{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", ""}};
const Variables kRelativeXdg{{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "cfg"}};

TEST(SettingsLocation, PlacesBothFilesByTheExecutable) {
    const struct {
        std::string executable;
        Variables variables;
        std::vector<std::string> writable;
        std::string stem;  // the files are stem + ".ini" and stem + ".log"; none when empty
    } cases[] = {
        {"/opt/app/vornik", kBoth, {"/opt/app"}, "/opt/app/vornik"},
        {"/opt/app/vornik.bin", kBoth, {"/opt/app"}, "/opt/app/vornik.bin"},  // appended
        // A closed folder sends the files to the configuration folder, under the same name.
        {"/usr/bin/vornik-cli", kBoth, {}, "/cfg/vornik/vornik-cli"},
        {"/usr/bin/vornik", kHome, {}, "/home/u/.config/vornik/vornik"},
        {"/usr/bin/vornik", kEmptyXdg, {}, "/home/u/.config/vornik/vornik"},
        {"/usr/bin/vornik", kRelativeXdg, {}, "/home/u/.config/vornik/vornik"},
        {"/usr/bin/vornik", {}, {}, "/usr/bin/vornik"},   // no configuration folder
        {"", kBoth, {"/opt/app"}, "/cfg/vornik/vornik"},  // the executable is unknown
        {"", {}, {}, ""},
    };
    for (const auto& c : cases) {
        const SettingsFiles files =
            LocateSettingsFiles(c.executable, "", FakeProbe(c.variables, c.writable));
        const std::string ini = c.stem.empty() ? "" : c.stem + ".ini";
        const std::string log = c.stem.empty() ? "" : c.stem + ".log";
        EXPECT_EQ(files.settings, ini) << c.executable << ", " << c.stem;
        EXPECT_EQ(files.log, log) << c.executable << ", " << c.stem;
    }
}

TEST(SettingsLocation, ExplicitFileWinsWithTheLogBesideIt) {
    const std::pair<std::string, std::string> cases[] = {
        {"/tmp/t/test.ini", "/tmp/t/test.log"},
        {"/tmp/t.d/settings", "/tmp/t.d/settings.log"},
        {"/tmp/t/x.log", "/tmp/t/x.log.log"},  // not its own log
    };
    for (const auto& [settings, log] : cases) {
        const SettingsFiles files =
            LocateSettingsFiles("/opt/app/vornik", settings, FakeProbe(kBoth, {"/opt/app"}));
        EXPECT_EQ(files.settings, settings);
        EXPECT_EQ(files.log, log);
    }
}

TEST(SettingsLocation, SystemProbeAsksTheSystem) {
    const LocationProbe probe = SystemLocationProbe();
    ASSERT_EQ(::setenv("VORNIK_LOCATION_TEST", "/some/where", 1), 0);
    EXPECT_EQ(probe.environment("VORNIK_LOCATION_TEST"), std::optional<std::string>("/some/where"));
    ASSERT_EQ(::unsetenv("VORNIK_LOCATION_TEST"), 0);
    EXPECT_EQ(probe.environment("VORNIK_LOCATION_TEST"), std::nullopt);

    TempFolder folder;
    ASSERT_TRUE(folder.ok());
    EXPECT_TRUE(probe.folderWritable(folder.path().string()));
    EXPECT_FALSE(probe.folderWritable(folder / "absent"));
    if (::geteuid() != 0) {
        const fs::path closed = folder.path() / "closed";
        fs::create_directory(closed);
        ::chmod(closed.c_str(), 0555);
        EXPECT_FALSE(probe.folderWritable(closed.string()));
    }
}

// An installed tree: the programs in bin/ beside share/doc/vornik. Root may write there, and
// the files must still go to the configuration folder.
TEST(SettingsLocation, InstalledProgramFolderIsNotWritten) {
    TempFolder prefix;
    ASSERT_TRUE(prefix.ok());
    const fs::path bin = prefix.path() / "bin";
    fs::create_directories(bin);
    const LocationProbe probe = SystemLocationProbe();
    EXPECT_TRUE(probe.folderWritable(bin.string()));
    fs::create_directories(prefix.path() / "share" / "doc" / "vornik");
    EXPECT_TRUE(IsInstalledProgramFolder(bin.string()));
    EXPECT_FALSE(probe.folderWritable(bin.string()));
    // A build tree's folder of the same shape but another name stays writable.
    fs::create_directories(prefix.path() / "build");
    EXPECT_FALSE(IsInstalledProgramFolder((prefix.path() / "build").string()));
}

TEST(SettingsLocation, OwnExecutableIsThisProgram) {
    const std::string path = OwnExecutablePath();
    ASSERT_FALSE(path.empty());
    EXPECT_TRUE(fs::path(path).is_absolute());
    EXPECT_TRUE(fs::equivalent(path, "/proc/self/exe"));
}

TEST(SettingsLocation, CreateFolderForMakesTheMissingFoldersPrivate) {
    TempFolder folder;
    ASSERT_TRUE(folder.ok());
    const fs::path config = folder.path() / "config" / "vornik";
    ASSERT_TRUE(CreateFolderFor((config / "vornik.ini").string()));
    struct stat st {};
    ASSERT_EQ(::stat(config.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(CreateFolderFor((config / "vornik.ini").string()));  // already there
    EXPECT_TRUE(CreateFolderFor("relative.ini"));

    test::WriteBytes(folder / "file", "x");
    EXPECT_FALSE(CreateFolderFor(folder / "file/vornik/vornik.ini"));
}

}  // namespace
}  // namespace vornik
