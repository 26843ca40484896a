// SPDX-License-Identifier: GPL-3.0-or-later
// The trash as file managers read it: the file goes under a real trash folder with a record
// that restores it, or it stays where it was; nothing ever lands anywhere else.
#include "freedesktop_trash.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "file_safety.h"
#include "temp_folder.h"

namespace vornik {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(FreedesktopTrash, RecordedPathsArePercentEncodedBytes) {
    const struct {
        std::string path;
        std::string recorded;
    } cases[] = {
        {"/m/a b.mp3", "/m/a%20b.mp3"},
        {"/m/x\xff.mp3", "/m/x%FF.mp3"},
        {"/m/x\xef\xbf\xbd.mp3", "/m/x%EF%BF%BD.mp3"},
        {"/m/\xfcml\xe4ut.mp3", "/m/%FCml%E4ut.mp3"},  // Latin-1
        {"/m/100%#?.mp3", "/m/100%25%23%3F.mp3"},
        {"/m/~a-b_c.d", "/m/~a-b_c.d"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrashInfoPath(c.path), c.recorded) << c.path;
    }
}

// Two files whose names differ only in bytes that are not UTF-8: the named one goes, the twin
// stays byte for byte, and the record names the named one.
TEST(FreedesktopTrash, TrashesExactlyTheNamedFileIntoTheHomeTrash) {
    const TempFolder home;
    const TempFolder music;
    const std::string named = music / "x\xff.mp3";
    const std::string twin = music / "x\xef\xbf\xbd.mp3";
    Put(named, "named");
    Put(twin, "twin");
    const TrashPlaces places{home / "share", ::getuid()};

    const TrashOutcome outcome = MoveToTrash(named, places);
    ASSERT_EQ(outcome.kind, TrashOutcome::Kind::Trashed) << outcome.reason;
    EXPECT_FALSE(fs::exists(named));
    EXPECT_EQ(Slurp(twin), "twin");
    EXPECT_EQ(outcome.trashedPath, home / "share/Trash/files/x\xff.mp3");
    EXPECT_EQ(Slurp(outcome.trashedPath), "named");
    const std::string record = Slurp(home / "share/Trash/info/x\xff.mp3.trashinfo");
    EXPECT_EQ(record.rfind("[Trash Info]\nPath=" + TrashInfoPath(named) + "\nDeletionDate=", 0), 0u)
        << record;

    // A second file of the same name takes a name of its own; the first stays in the trash.
    Put(named, "second");
    const TrashOutcome second = MoveToTrash(named, places);
    ASSERT_EQ(second.kind, TrashOutcome::Kind::Trashed);
    EXPECT_EQ(second.trashedPath, home / "share/Trash/files/x\xff.2.mp3");
    EXPECT_EQ(Slurp(outcome.trashedPath), "named");
    EXPECT_TRUE(fs::exists(home / "share/Trash/info/x\xff.2.mp3.trashinfo"));
}

TEST(FreedesktopTrash, LongNamesFitTheFileSystemInTheTrash) {
    const TempFolder home;
    const TempFolder music;
    const std::string name = std::string(251, 'a') + ".mp3";  // 255 bytes, legal
    for (int copy = 0; copy < 2; ++copy) {
        Put(music / name, "x");
        const TrashOutcome outcome = MoveToTrash(music / name, {home / "share", ::getuid()});
        ASSERT_EQ(outcome.kind, TrashOutcome::Kind::Trashed) << outcome.reason;
        EXPECT_LE(fs::path(outcome.trashedPath).filename().string().size() + 10, 255u);
    }
}

// A data folder that exists but cannot be written (root's, left by a sudo run): no trash, the
// file stays, and nothing is made in the working folder.
TEST(FreedesktopTrash, UnwritableDataFolderMeansNoTrashAndNothingMoves) {
    std::string why;
    std::optional<test::ScratchMount> mount = test::ScratchMount::Mount(1024, why);
    if (!mount) {
        GTEST_SKIP() << "needs a file system of its own to make read-only: " << why;
    }
    const std::string share = mount->path() + "/share";
    const std::string music = mount->path() + "/music";
    ASSERT_EQ(::mkdir(share.c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(music.c_str(), 0755), 0);
    Put(music + "/a.mp3", "a");
    ASSERT_TRUE(mount->BindReadOnly(share));
    const TempFolder workingFolder;
    const fs::path before = fs::current_path();
    fs::current_path(workingFolder.path());
    const auto sums = test::TreeChecksums(mount->path());

    const TrashOutcome outcome = MoveToTrash(music + "/a.mp3", {share, ::getuid()});
    fs::current_path(before);
    EXPECT_EQ(outcome.kind, TrashOutcome::Kind::NoTrash);
    EXPECT_EQ(test::TreeChecksums(mount->path()), sums);
    EXPECT_TRUE(fs::is_empty(workingFolder.path()));
}

// A file on another file system goes to that volume's own trash, with a relative record.
TEST(FreedesktopTrash, OtherVolumesUseTheirOwnTrash) {
    std::string why;
    std::optional<test::ScratchMount> mount = test::ScratchMount::Mount(1024, why);
    if (!mount) {
        GTEST_SKIP() << "needs a second file system: " << why;
    }
    const TempFolder home;
    ASSERT_EQ(::mkdir((mount->path() + "/m").c_str(), 0755), 0);
    Put(mount->path() + "/m/a b.mp3", "a");
    const TrashOutcome outcome =
        MoveToTrash(mount->path() + "/m/a b.mp3", {home / "share", ::getuid()});
    ASSERT_EQ(outcome.kind, TrashOutcome::Kind::Trashed) << outcome.reason;
    const std::string trash = mount->path() + "/.Trash-" + std::to_string(::getuid());
    EXPECT_EQ(outcome.trashedPath, trash + "/files/a b.mp3");
    EXPECT_NE(Slurp(trash + "/info/a b.mp3.trashinfo").find("\nPath=m/a%20b.mp3\n"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(home / "share/Trash"));

    // Read-only: the file cannot leave its folder, so neither trash nor deletion can work.
    Put(mount->path() + "/m/b.mp3", "b");
    ASSERT_TRUE(mount->MakeReadOnly());
    const TrashOutcome readOnly =
        MoveToTrash(mount->path() + "/m/b.mp3", {home / "share", ::getuid()});
    EXPECT_EQ(readOnly.kind, TrashOutcome::Kind::CannotRemove);
    EXPECT_EQ(readOnly.reason, "Read-only file system");
    EXPECT_EQ(Slurp(mount->path() + "/m/b.mp3"), "b");
}

// As an ordinary user: a folder of someone else's keeps its files ("Permission denied", no
// offer to delete for good), and a data folder of someone else's is no trash.
TEST(FreedesktopTrash, PermissionsOfAnOrdinaryUser) {
    std::string why;
    if (!test::CanRunAsOrdinaryUser(why)) {
        GTEST_SKIP() << "permission cases need an ordinary user: " << why;
    }
    const TempFolder top;
    ASSERT_EQ(::chmod(top.path().c_str(), 0755), 0);
    const std::string theirs = top / "theirs";  // root's folder
    const std::string mine = top / "mine";      // the ordinary user's
    const std::string rootData = top / "rootdata";
    ASSERT_EQ(::mkdir(theirs.c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(mine.c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(rootData.c_str(), 0755), 0);
    ASSERT_EQ(::chown(mine.c_str(), test::kOrdinaryUid, test::kOrdinaryGid), 0);
    Put(theirs + "/a.mp3", "a");
    Put(mine + "/b.mp3", "b");
    ASSERT_EQ(::chown((mine + "/b.mp3").c_str(), test::kOrdinaryUid, test::kOrdinaryGid), 0);
    const auto sums = test::TreeChecksums(top.path());

    const int inTheirs = test::RunInChildAsOrdinaryUser([&] {
        const TrashOutcome outcome =
            MoveToTrash(theirs + "/a.mp3", {mine + "/share", test::kOrdinaryUid});
        return outcome.kind == TrashOutcome::Kind::CannotRemove &&
                       outcome.reason == "Permission denied"
                   ? 0
                   : 1;
    });
    EXPECT_EQ(inTheirs, 0);
    const int rootsData = test::RunInChildAsOrdinaryUser([&] {
        const TrashOutcome outcome = MoveToTrash(mine + "/b.mp3", {rootData, test::kOrdinaryUid});
        return outcome.kind == TrashOutcome::Kind::NoTrash ? 0 : 1;
    });
    EXPECT_EQ(rootsData, 0);
    EXPECT_EQ(test::TreeChecksums(top.path()), sums);
}

}  // namespace
}  // namespace vornik
