// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the ID3v2 tag with its fields, the APE and Lyrics3 tags at the end, and the
// tag text decoder, over arbitrary bytes.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "end_tags.h"
#include "file_reader.h"
#include "id3v2_fields.h"
#include "id3v2_tag.h"
#include "tag_text.h"

namespace {

// The readers take files; an in-memory file keeps each run off the disk.
class MemoryFile {
  public:
    MemoryFile() : fd_(memfd_create("vornik-fuzz-tags", 0)) {}
    std::string write(const std::uint8_t* data, std::size_t size) {
        if (ftruncate(fd_, 0) != 0 || pwrite(fd_, data, size, 0) != static_cast<ssize_t>(size)) {
            __builtin_trap();
        }
        return "/proc/self/fd/" + std::to_string(fd_);
    }

  private:
    int fd_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile memory;
    const std::string path = memory.write(data, size);
    vornik::FileReader reader;
    if (!reader.open(path)) {
        return 0;
    }
    vornik::Id3v2Tag tag;
    tag.Read(reader);
    vornik::Mp3Info record{};
    vornik::ReadId3v2Fields(tag, record);
    tag.FindCueSheet(nullptr);
    vornik::ReadEndTags(reader, -1, record);
    if (size >= 128) {
        vornik::ReadEndTags(reader, static_cast<std::int64_t>(size) - 128, record);
    }
    for (std::uint8_t encoding = 0; encoding < 4; ++encoding) {
        vornik::TagTextReader(std::span<const std::uint8_t>(data, size),
                              static_cast<vornik::TagEncoding>(encoding))
            .Values();
    }
    return 0;
}
