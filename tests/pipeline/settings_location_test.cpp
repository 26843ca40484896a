#include "settings_location.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "ini_file.h"
#include "temp_folder.h"

namespace vornik {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using test::WriteBytes;

// A system with the given variables, where only the listed folders can be written to; it
// remembers which folders it was asked about.
struct FakeSystem {
    std::map<std::string, std::string> variables;
    std::vector<std::string> writable;
    std::vector<std::string> asked;

    LocationProbe Probe() {
        LocationProbe probe;
        probe.environment = [this](const std::string& name) -> std::optional<std::string> {
            const auto found = variables.find(name);
            if (found == variables.end()) {
                return std::nullopt;
            }
            return found->second;
        };
        probe.folderWritable = [this](const std::string& folder) {
            asked.push_back(folder);
            return std::find(writable.begin(), writable.end(), folder) != writable.end();
        };
        return probe;
    }
};

struct LocationCase {
    const char* name;
    std::string executable;
    std::string explicitSettings;
    std::map<std::string, std::string> variables;
    std::vector<std::string> writable;
    std::string settings;
    std::string log;
};

class LocationTest : public testing::TestWithParam<LocationCase> {};

TEST_P(LocationTest, PlacesBothFiles) {
    const LocationCase& c = GetParam();
    FakeSystem system{c.variables, c.writable, {}};
    const SettingsFiles files =
        LocateSettingsFiles(c.executable, c.explicitSettings, system.Probe());
    EXPECT_EQ(files.settings, c.settings);
    EXPECT_EQ(files.log, c.log);
}

const std::map<std::string, std::string> kHomeOnly{{"HOME", "/home/u"}};
const std::map<std::string, std::string> kBoth{{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "/cfg"}};

INSTANTIATE_TEST_SUITE_P(
    SettingsLocation, LocationTest,
    testing::Values(LocationCase{"BesideTheExecutable",
                                 "/opt/app/vornik",
                                 "",
                                 kBoth,
                                 {"/opt/app"},
                                 "/opt/app/vornik.ini",
                                 "/opt/app/vornik.log"},
                    LocationCase{"NameIsAppendedNotReplaced",
                                 "/opt/app/vornik.bin",
                                 "",
                                 kBoth,
                                 {"/opt/app"},
                                 "/opt/app/vornik.bin.ini",
                                 "/opt/app/vornik.bin.log"},
                    LocationCase{"DotInTheFolderIsNoExtension",
                                 "/opt/app.d/vornik-cli",
                                 "",
                                 kBoth,
                                 {"/opt/app.d"},
                                 "/opt/app.d/vornik-cli.ini",
                                 "/opt/app.d/vornik-cli.log"},
                    LocationCase{"ClosedFolderGoesToXdgConfigHome",
                                 "/usr/bin/vornik",
                                 "",
                                 kBoth,
                                 {},
                                 "/cfg/vornik/vornik.ini",
                                 "/cfg/vornik/vornik.log"},
                    LocationCase{"ClosedFolderWithoutXdgGoesToHomeConfig",
                                 "/usr/bin/vornik",
                                 "",
                                 kHomeOnly,
                                 {},
                                 "/home/u/.config/vornik/vornik.ini",
                                 "/home/u/.config/vornik/vornik.log"},
                    LocationCase{"EmptyXdgConfigHomeCountsAsUnset",
                                 "/usr/bin/vornik",
                                 "",
                                 {{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", ""}},
                                 {},
                                 "/home/u/.config/vornik/vornik.ini",
                                 "/home/u/.config/vornik/vornik.log"},
                    LocationCase{"RelativeXdgConfigHomeCountsAsUnset",
                                 "/usr/bin/vornik",
                                 "",
                                 {{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "cfg"}},
                                 {},
                                 "/home/u/.config/vornik/vornik.ini",
                                 "/home/u/.config/vornik/vornik.log"},
                    LocationCase{"FallbackKeepsTheExecutablesName",
                                 "/usr/bin/vornik-cli",
                                 "",
                                 kBoth,
                                 {},
                                 "/cfg/vornik/vornik-cli.ini",
                                 "/cfg/vornik/vornik-cli.log"},
                    LocationCase{"NoFallbackStaysBesideTheExecutable",
                                 "/usr/bin/vornik",
                                 "",
                                 {},
                                 {},
                                 "/usr/bin/vornik.ini",
                                 "/usr/bin/vornik.log"},
                    LocationCase{"RelativeHomeIsNoFallback",
                                 "/usr/bin/vornik",
                                 "",
                                 {{"HOME", "u"}},
                                 {},
                                 "/usr/bin/vornik.ini",
                                 "/usr/bin/vornik.log"},
                    LocationCase{"UnknownExecutableUsesTheConfigFolder",
                                 "",
                                 "",
                                 kBoth,
                                 {"/opt/app"},
                                 "/cfg/vornik/vornik.ini",
                                 "/cfg/vornik/vornik.log"},
                    LocationCase{
                        "UnknownExecutableAndNoConfigFolderIsNowhere", "", "", {}, {}, "", ""},
                    LocationCase{"ExplicitFileWins",
                                 "/opt/app/vornik",
                                 "/tmp/t/test.ini",
                                 kBoth,
                                 {"/opt/app"},
                                 "/tmp/t/test.ini",
                                 "/tmp/t/test.log"},
                    LocationCase{"ExplicitFileWithoutExtension",
                                 "/opt/app/vornik",
                                 "/tmp/t.d/settings",
                                 kBoth,
                                 {},
                                 "/tmp/t.d/settings",
                                 "/tmp/t.d/settings.log"},
                    LocationCase{"ExplicitFileNamedLikeALog",
                                 "/opt/app/vornik",
                                 "/tmp/t/x.log",
                                 kBoth,
                                 {},
                                 "/tmp/t/x.log",
                                 "/tmp/t/x.log.log"},
                    LocationCase{"ExplicitRelativeFileIsKeptAsGiven",
                                 "/opt/app/vornik",
                                 "my.ini",
                                 kBoth,
                                 {},
                                 "my.ini",
                                 "my.log"}),
    [](const testing::TestParamInfo<LocationCase>& info) { return std::string(info.param.name); });

TEST(SettingsLocation, AsksAboutTheExecutablesFolder) {
    FakeSystem system{kBoth, {}, {}};
    LocateSettingsFiles("/opt/app/vornik", "", system.Probe());
    EXPECT_EQ(system.asked, (std::vector<std::string>{"/opt/app"}));
}

TEST(SettingsLocation, ExplicitFileAsksNothing) {
    FakeSystem system{kBoth, {}, {}};
    LocateSettingsFiles("/opt/app/vornik", "/tmp/x.ini", system.Probe());
    EXPECT_TRUE(system.asked.empty());
}

TEST(SettingsLocation, SystemProbeReadsTheEnvironment) {
    const LocationProbe probe = SystemLocationProbe();
    ASSERT_EQ(::setenv("VORNIK_LOCATION_TEST", "/some/where", 1), 0);
    EXPECT_EQ(probe.environment("VORNIK_LOCATION_TEST"), std::optional<std::string>("/some/where"));
    ASSERT_EQ(::unsetenv("VORNIK_LOCATION_TEST"), 0);
    EXPECT_EQ(probe.environment("VORNIK_LOCATION_TEST"), std::nullopt);
}

TEST(SettingsLocation, SystemProbeTellsWritableFolders) {
    TempFolder folder;
    ASSERT_TRUE(folder.ok());
    const LocationProbe probe = SystemLocationProbe();
    EXPECT_TRUE(probe.folderWritable(folder.path().string()));
    EXPECT_FALSE(probe.folderWritable(folder / "absent"));
    if (::geteuid() != 0) {
        const fs::path closed = folder.path() / "closed";
        fs::create_directory(closed);
        ::chmod(closed.c_str(), 0555);
        EXPECT_FALSE(probe.folderWritable(closed.string()));
    }
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
    EXPECT_TRUE(fs::is_directory(config));
    struct stat st {};
    ASSERT_EQ(::stat(config.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(CreateFolderFor((config / "vornik.ini").string()));  // already there
    EXPECT_TRUE(CreateFolderFor("relative.ini"));
}

TEST(SettingsLocation, CreateFolderForFailsWhereAFileStands) {
    TempFolder folder;
    ASSERT_TRUE(folder.ok());
    WriteBytes(folder / "file", "x");
    EXPECT_FALSE(CreateFolderFor(folder / "file/vornik/vornik.ini"));
}

// The way the program uses the pieces when its own folder is closed: place, make the
// folder, write, read back.
TEST(SettingsLocation, FallbackFileCanBeWrittenAndRead) {
    TempFolder folder;
    ASSERT_TRUE(folder.ok());
    FakeSystem system{{{"XDG_CONFIG_HOME", (folder.path() / "cfg").string()}}, {}, {}};
    const SettingsFiles files = LocateSettingsFiles("/usr/bin/vornik", "", system.Probe());
    ASSERT_EQ(files.settings, (folder.path() / "cfg/vornik/vornik.ini").string());

    CIniFile saved;
    saved.SetFileName(files.settings);
    saved.SetInt("global", "logging", 1);
    EXPECT_FALSE(saved.Write());  // the folder is not there yet
    ASSERT_TRUE(CreateFolderFor(files.settings));
    ASSERT_TRUE(saved.Write());

    CIniFile loaded;
    loaded.SetFileName(files.settings);
    ASSERT_TRUE(loaded.Read());
    EXPECT_EQ(loaded.GetInt("global", "logging", 0), 1);
}

}  // namespace
}  // namespace vornik
