// SPDX-License-Identifier: GPL-3.0-or-later
// Files and folders the desktop program's tests make for themselves.
#pragma once

#include <QObject>
#include <QStringList>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "background_job.h"
#include "stream_builder.h"
#include "vornik_list.h"

namespace vornik::test {

// A fresh folder, removed with everything in it.
struct TempFolder {
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vornik-shell-XXXXXX");
        path = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    ~TempFolder() {
        std::error_code error;
        std::filesystem::remove_all(path, error);
    }
    std::string operator/(const std::string& name) const { return path + "/" + name; }
    std::string path;
};

// A short MPEG-1 Layer III stream of `frames` frames at `kbps`.
inline void WriteStream(const std::string& path, int kbps, int frames) {
    FrameShape shape;
    shape.kbps = kbps;
    const std::vector<std::uint8_t> bytes = StreamBuilder().frames(shape, frames).data();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// True once every background job `owner` started (listings, the folder watch) has handed its
// result over: RunInBackground gives the owner a receiver for each job until its result is in.
inline bool BackgroundWorkDone(const QObject& owner) {
    return owner.findChildren<QObject*>(kBackgroundJobName).isEmpty();
}

// True once the list has nothing under way: no listing and no row waiting for a worker.
inline bool ListSettled(CVornikList& list) {
    return BackgroundWorkDone(list) && list.Model().Awaited() == 0;
}

// The shown row of the file at `path` (its bytes), or -1.
inline int RowOf(CVornikList& list, const std::string& path) {
    for (int row = 0; row < list.Model().DisplayedCount(); ++row) {
        if (list.Model().Displayed(row).fullPath == path) {
            return row;
        }
    }
    return -1;
}

inline QStringList ShownNames(CVornikList& list) {
    QStringList names;
    for (int row = 0; row < list.Table().rowCount(); ++row) {
        names << list.Table().index(row, 0).data().toString();
    }
    return names;
}

}  // namespace vornik::test
