// SPDX-License-Identifier: GPL-3.0-or-later
// The list's folder watch: every few seconds, and shortly after a command that may have
// changed the folder, the listed folder is looked at on a pool thread and filled again when
// its matching files changed.
#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <string>

#include "file_list_model.h"

namespace vornik {

class FolderWatch : public QObject {
  public:
    // The periods.
    static constexpr int kIntervalMs = 5000;
    static constexpr int kShortMs = 500;

    // How the watch sees the list's fills: the number of the latest fill asked for (a look
    // taken before a newer fill is not compared), and whether that fill is still listing.
    struct Fills {
        std::function<std::uint64_t()> latest;
        std::function<bool()> listing;
        // Fills `folder` again.
        std::function<void(const std::string& folder)> refill;
    };

    FolderWatch(const FileListModel& model, Fills fills, QObject* parent);

    // One look now, unless one is under way or a fill is listing.
    void Check();
    // One more look shortly.
    void StartShort();
    void Stop();

  private:
    const FileListModel& model_;
    Fills fills_;
    QTimer every_;
    QTimer shortly_;
    bool checking_ = false;
};

}  // namespace vornik
