// SPDX-License-Identifier: GPL-3.0-or-later
// Which files go where before a copy or move starts, with the user's answer for each file
// that is there already.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "file_transfer.h"

namespace vornik {

enum class ConflictChoice { Replace, Skip, Cancel };
struct ConflictAnswer {
    ConflictChoice choice = ConflictChoice::Skip;
    bool toAll = false;  // the same answer for every later conflict
};

// One item per source (the files' own bytes) into `folder`. A source that is its own target is left
// out (nothing to do, and replacing a file by itself would destroy it). For a target that exists,
// or that another transfer of this program is writing, `ask` is asked with its name unless an
// earlier answer applies to all: Replace marks the item, Skip leaves it out, Cancel gives none at
// all.
std::optional<std::vector<TransferItem>> PlanTransferItems(
    const std::vector<std::string>& sources, const std::string& folder,
    const std::function<ConflictAnswer(const QString& name)>& ask);

}  // namespace vornik
