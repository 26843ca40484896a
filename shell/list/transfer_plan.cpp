#include "transfer_plan.h"

#include <QDir>
#include <QFileInfo>

namespace vornik {

std::optional<std::vector<TransferItem>> PlanTransferItems(
    const QStringList& sources, const QString& folder,
    const std::function<ConflictAnswer(const QString& name)>& ask) {
    std::vector<TransferItem> items;
    std::optional<ConflictChoice> forAll;
    for (const QString& source : sources) {
        const QFileInfo from(source);
        if (!from.isFile()) {
            continue;  // folders and vanished files are not transferred
        }
        const QString target = QDir(folder).filePath(from.fileName());
        const QFileInfo to(target);
        if (to.exists() && to.canonicalFilePath() == from.canonicalFilePath()) {
            continue;
        }
        TransferItem item{source.toStdString(), target.toStdString(), false};
        if (to.exists()) {
            ConflictChoice choice;
            if (forAll) {
                choice = *forAll;
            } else {
                const ConflictAnswer answer = ask(from.fileName());
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
