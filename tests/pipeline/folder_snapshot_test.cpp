#include "folder_snapshot.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "file_type_filter.h"
#include "folder_lister.h"
#include "temp_folder.h"

namespace vornik {
namespace {

constexpr std::uint64_t kGiB = 1024ull * 1024 * 1024;

// ---------------------------------------------------------------------------------------------
// File-type filter

TEST(FileTypeFilter, DefaultTypesIgnoreLetterCase) {
    const FileTypeFilter filter(".mp3;.mp2;.mp1;.mpc;.mp+;");
    EXPECT_TRUE(filter.Wants("song.mp3"));
    EXPECT_TRUE(filter.Wants("SONG.MP3"));
    EXPECT_TRUE(filter.Wants("live.Mp2"));
    EXPECT_TRUE(filter.Wants("track.mp+"));
    EXPECT_TRUE(filter.Wants("track.MPC"));
    EXPECT_TRUE(filter.Wants(".mp3"));  // a hidden file that is all extension
    EXPECT_FALSE(filter.Wants("song.mp3.part"));
    EXPECT_FALSE(filter.Wants("song.mp4"));
    EXPECT_FALSE(filter.Wants("mp3"));  // no dot, no extension
    EXPECT_FALSE(filter.Wants("song."));
}

TEST(FileTypeFilter, PiecesWithoutFinalSemicolonEmptyOrInCapitals) {
    const FileTypeFilter filter(";.MP3;;.ogg");
    EXPECT_EQ(filter.Extensions(), (std::vector<std::string>{".mp3", ".ogg"}));
    EXPECT_TRUE(filter.Wants("a.mp3"));
    EXPECT_TRUE(filter.Wants("a.OGG"));  // the last piece counts without its ";"
    EXPECT_FALSE(filter.Wants("a."));    // ";;" gave no empty type
}

TEST(FileTypeFilter, EmptySettingWantsNothing) {
    const FileTypeFilter filter("");
    EXPECT_TRUE(filter.Extensions().empty());
    EXPECT_FALSE(filter.Wants("a.mp3"));
}

TEST(FileTypeFilter, OnlyAsciiLettersAreLowered) {
    EXPECT_EQ(AsciiLower("AbC.\xC3\x84Z"), "abc.\xC3\x84z");
}

// ---------------------------------------------------------------------------------------------
// Snapshots

FolderSnapshot Snap(const std::vector<FolderEntry>& entries) {
    return TakeFolderSnapshot(entries, FileTypeFilter(".mp3;"));
}

TEST(FolderSnapshot, KeepsMatchingFilesSortedByName) {
    const FolderSnapshot snapshot =
        Snap({{"b.mp3", 2}, {"notes.txt", 9}, {"B.MP3", 3}, {"a.mp3", 1}});
    EXPECT_EQ(snapshot, (FolderSnapshot{{"B.MP3", 3}, {"a.mp3", 1}, {"b.mp3", 2}}));
}

TEST(FolderSnapshot, SameFilesInAnotherOrderAreNoChange) {
    EXPECT_FALSE(SnapshotsDiffer(Snap({{"a.mp3", 1}, {"b.mp3", 2}}),
                                 Snap({{"b.mp3", 2}, {"a.mp3", 1}, {"cover.jpg", 7}})));
}

TEST(FolderSnapshot, ChangedSizeNewFileRemovedFileAndRenamedFileAreChanges) {
    const FolderSnapshot before = Snap({{"a.mp3", 1}, {"b.mp3", 2}});
    EXPECT_TRUE(SnapshotsDiffer(before, Snap({{"a.mp3", 1}, {"b.mp3", 3}})));
    EXPECT_TRUE(SnapshotsDiffer(before, Snap({{"a.mp3", 1}, {"b.mp3", 2}, {"c.mp3", 0}})));
    EXPECT_TRUE(SnapshotsDiffer(before, Snap({{"b.mp3", 2}})));
    EXPECT_TRUE(SnapshotsDiffer(before, Snap({{"A.mp3", 1}, {"b.mp3", 2}})));
}

TEST(FolderSnapshot, SizesBeyondFourGibibytesCompareWhole) {
    // 5 GiB and 1 GiB agree in their low 32 bits.
    EXPECT_TRUE(SnapshotsDiffer(Snap({{"big.mp3", kGiB}}), Snap({{"big.mp3", 5 * kGiB}})));
    EXPECT_FALSE(SnapshotsDiffer(Snap({{"big.mp3", 5 * kGiB}}), Snap({{"big.mp3", 5 * kGiB}})));
    EXPECT_EQ(Snap({{"big.mp3", 5 * kGiB}})[0].second, 5368709120u);
}

// ---------------------------------------------------------------------------------------------
// The file system's listing

TEST(DiskFolderLister, ListsFilesAndLinksToFilesSortedByName) {
    test::TempFolder folder;
    ASSERT_TRUE(folder.ok());
    test::WriteBytes(folder / "b.mp3", "12345");
    test::WriteBytes(folder / ".hidden.mp3", "1");
    test::WriteBytes(folder / "A.mp3", "");
    std::filesystem::create_directory(folder.path() / "sub.mp3");
    std::filesystem::create_symlink(folder.path() / "b.mp3", folder.path() / "link.mp3");
    std::filesystem::create_directory_symlink(folder.path() / "sub.mp3",
                                              folder.path() / "dirlink.mp3");
    ASSERT_EQ(::mkfifo((folder / "pipe.mp3").c_str(), 0600), 0);

    const auto entries = DiskFolderLister().List(folder.path().string());
    ASSERT_TRUE(entries.has_value());
    ASSERT_EQ(entries->size(), 4u);
    const std::vector<std::pair<std::string, std::uint64_t>> expected{
        {".hidden.mp3", 1}, {"A.mp3", 0}, {"b.mp3", 5}, {"link.mp3", 5}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ((*entries)[i].name, expected[i].first);
        EXPECT_EQ((*entries)[i].size, expected[i].second);
    }
}

TEST(DiskFolderLister, MissingFolderCannotBeListed) {
    test::TempFolder folder;
    ASSERT_TRUE(folder.ok());
    EXPECT_FALSE(DiskFolderLister().List(folder / "missing").has_value());
    test::WriteBytes(folder / "file", "x");
    EXPECT_FALSE(DiskFolderLister().List(folder / "file").has_value());
}

}  // namespace
}  // namespace vornik
