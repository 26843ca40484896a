// SPDX-License-Identifier: GPL-3.0-or-later
// How the file list learns what a folder holds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vornik {

struct FolderEntry {
    std::string name;        // file name within the folder
    std::uint64_t size = 0;  // bytes; 64 bits, so files of 4 GiB and more keep their size
};

// Lists the files of a folder. The list fills from it and its folder watch compares what it
// gives; tests answer from memory.
class FolderLister {
  public:
    virtual ~FolderLister() = default;
    // The files of `folder` (hidden ones included, folders left out) in a stable order;
    // nullopt when the folder cannot be read.
    virtual std::optional<std::vector<FolderEntry>> List(const std::string& folder) const = 0;
};

// The file system's listing: regular files and links to them, sorted by name byte for byte.
// Pipes, sockets and devices are left out, since opening one for reading could block the
// worker for good. A size that cannot be read counts as 0.
class DiskFolderLister : public FolderLister {
  public:
    std::optional<std::vector<FolderEntry>> List(const std::string& folder) const override;
};

}  // namespace vornik
