// SPDX-License-Identifier: GPL-3.0-or-later
#include "folder_watch.h"

#include "background_job.h"
#include "folder_lister.h"
#include "folder_snapshot.h"

namespace vornik {

FolderWatch::FolderWatch(const FileListModel& model, Fills fills, QObject* parent)
    : QObject(parent), model_(model), fills_(std::move(fills)) {
    every_.setInterval(kIntervalMs);
    connect(&every_, &QTimer::timeout, this, &FolderWatch::Check);
    every_.start();
    shortly_.setSingleShot(true);
    shortly_.setInterval(kShortMs);
    connect(&shortly_, &QTimer::timeout, this, &FolderWatch::Check);
}

void FolderWatch::Check() {
    const std::optional<std::string>& folder = model_.CurrentFolder();
    if (!folder || checking_ || fills_.listing()) {
        return;
    }
    checking_ = true;
    const std::uint64_t request = fills_.latest();
    RunInBackground(
        this,
        [path = *folder, fileTypes = model_.Settings().fileTypes] {
            return SnapshotFolder(DiskFolderLister(), path, fileTypes);
        },
        [this, request, path = *folder](const FolderSnapshot& now) {
            checking_ = false;
            // Compared only when no fill began meanwhile, against the same folder.
            if (request == fills_.latest() && model_.CurrentFolder() == path &&
                model_.DiffersFromFill(now)) {
                fills_.refill(path);
            }
        });
}

void FolderWatch::StartShort() {
    shortly_.start();
}

void FolderWatch::Stop() {
    every_.stop();
    shortly_.stop();
}

}  // namespace vornik
