// SPDX-License-Identifier: GPL-3.0-or-later
// Favourites > "&Organize": remove and reorder the favourite folders.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;

namespace vornik {

class OrganizeFavouritesDialog : public QDialog {
  public:
    OrganizeFavouritesDialog(const std::vector<std::string>& folders, QWidget* parent);
    // The folders as the user left them.
    std::vector<std::string> Folders() const;

  private:
    void MoveCurrent(int step);

    QListWidget* list_;
};

}  // namespace vornik
