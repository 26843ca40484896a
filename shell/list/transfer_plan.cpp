// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer_plan.h"

#include <sys/stat.h>

#include "local_path.h"

namespace vornik {
namespace {

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::optional<std::vector<TransferItem>> PlanTransferItems(
    const std::vector<std::string>& sources, const std::string& folder,
    const std::function<ConflictAnswer(const QString& name)>& ask) {
    std::vector<TransferItem> items;
    std::optional<ConflictChoice> forAll;
    for (const std::string& source : sources) {
        struct stat from {};
        if (::stat(source.c_str(), &from) != 0 || !S_ISREG(from.st_mode)) {
            continue;  // folders and vanished files are not transferred
        }
        const std::string name = NameOf(source);
        const std::string target = folder + "/" + name;
        struct stat to {};
        const bool exists = ::lstat(target.c_str(), &to) == 0;
        if (exists && ::stat(target.c_str(), &to) == 0 && to.st_dev == from.st_dev &&
            to.st_ino == from.st_ino) {
            continue;
        }
        TransferItem item{source, target, false};
        // A name another transfer is still writing is taken, though no file has it yet.
        if (exists || IsClaimedTarget(target)) {
            ConflictChoice choice;
            if (forAll) {
                choice = *forAll;
            } else {
                const ConflictAnswer answer = ask(DisplayPath(name));
                choice = answer.choice;
                if (answer.toAll) {
                    forAll = choice;
                }
            }
            if (choice == ConflictChoice::Cancel) {
                return std::nullopt;
            }
            if (choice == ConflictChoice::Skip) {
                continue;
            }
            item.replace = true;
        }
        items.push_back(item);
    }
    return items;
}

}  // namespace vornik
