// SPDX-License-Identifier: GPL-3.0-or-later
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

TEST(FileTypeFilter, ExtensionsAfterTheLastDotInAnyLetterCase) {
    // Pieces in capitals, an empty one, and a last one without its ";".
    const FileTypeFilter filter(";.MP3;;.mp+;.ogg");
    EXPECT_EQ(filter.Extensions(), (std::vector<std::string>{".mp3", ".mp+", ".ogg"}));
    for (const char* wanted :
         {"song.mp3", "SONG.Mp3", "live.2024.mp3", "track.mp+", "a.OGG", ".mp3"}) {
        EXPECT_TRUE(filter.Wants(wanted)) << wanted;
    }
    for (const char* unwanted : {"song.mp3.part", "song.mp4", "mp3", "song."}) {
        EXPECT_FALSE(filter.Wants(unwanted)) << unwanted;
    }
    EXPECT_FALSE(FileTypeFilter("").Wants("a.mp3"));
    EXPECT_EQ(AsciiLower("AbC.\xC3\x84Z"), "abc.\xC3\x84z");  // only ASCII letters are lowered
}

FolderSnapshot Snap(const std::vector<FolderEntry>& entries) {
    return TakeFolderSnapshot(entries, FileTypeFilter(".mp3;"));
}

TEST(FolderSnapshot, KeepsMatchingFilesSortedByName) {
    EXPECT_EQ(Snap({{"b.mp3", 2}, {"notes.txt", 9}, {"B.MP3", 3}, {"a.mp3", 1}}),
              (FolderSnapshot{{"B.MP3", 3}, {"a.mp3", 1}, {"b.mp3", 2}}));
}

// Another order or another non-matching file is no change; a size (compared whole, beyond
// 32 bits), a new, removed or renamed file is one.
TEST(FolderSnapshot, ComparesNamesExactlyAndSizesWhole) {
    const std::vector<FolderEntry> before{{"a.mp3", 1}, {"b.mp3", 5 * kGiB}};
    const std::pair<std::vector<FolderEntry>, bool> cases[] = {
        {{{"b.mp3", 5 * kGiB}, {"a.mp3", 1}, {"cover.jpg", 7}}, false},
        {{{"a.mp3", 1}, {"b.mp3", kGiB}}, true},  // 5 GiB and 1 GiB agree in their low 32 bits
        {{{"a.mp3", 1}, {"b.mp3", 5 * kGiB}, {"c.mp3", 0}}, true},
        {{{"b.mp3", 5 * kGiB}}, true},
        {{{"A.mp3", 1}, {"b.mp3", 5 * kGiB}}, true},
    };
    for (const auto& [now, differ] : cases) {
        EXPECT_EQ(SnapshotsDiffer(Snap(before), Snap(now)), differ) << now.front().name;
    }
    EXPECT_EQ(Snap(before)[1].second, 5368709120u);
}

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
    std::vector<std::pair<std::string, std::uint64_t>> listed;
    for (const FolderEntry& entry : *entries) {
        listed.emplace_back(entry.name, entry.size);
    }
    EXPECT_EQ(listed,
              (decltype(listed){{".hidden.mp3", 1}, {"A.mp3", 0}, {"b.mp3", 5}, {"link.mp3", 5}}));

    // A missing folder, or a file, cannot be listed.
    EXPECT_FALSE(DiskFolderLister().List(folder / "missing").has_value());
    EXPECT_FALSE(DiskFolderLister().List(folder / "b.mp3").has_value());
}

}  // namespace
}  // namespace vornik
