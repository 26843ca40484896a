// SPDX-License-Identifier: GPL-3.0-or-later
// The "Settings" sheet: one tab per page, OK and Cancel.
#pragma once

#include <QDialog>
#include <QSet>
#include <QWidget>
#include <vector>

class QTabWidget;

namespace vornik {

// A page of the sheet. It shows its owner's working copies when it is made and writes the
// controls back into them at Apply; it never touches the live settings.
class CSettingsPage : public QWidget {
    Q_OBJECT

  public:
    explicit CSettingsPage(QWidget* parent = nullptr) : QWidget(parent) {}

    // The tab's text.
    virtual QString Title() const = 0;
    // OK was pressed and the page was shown at least once.
    virtual void Apply() = 0;
};

// Pages that were never shown are not asked to apply, as a property sheet creates a page only
// when it is first shown: their working copies stay as they were filled, and a page that
// always asks for a refill (Columns) does so only when the user looked at it.
class CSettingsSheet : public QDialog {
    Q_OBJECT

  public:
    explicit CSettingsSheet(QWidget* parent = nullptr);

    // The sheet owns `page` from here on; pages keep the order they were added in.
    void AddPage(CSettingsPage* page);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    CSettingsPage* Page(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
    // The page shown when the sheet opens; an index without a page opens the first.
    void SetStartPage(int index);
    int CurrentPage() const;
    void ShowPage(int index);

    // OK: every page shown so far applies, in page order, then the sheet closes.
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QTabWidget* tabs_;
    std::vector<CSettingsPage*> pages_;
    QSet<int> shown_;
};

}  // namespace vornik
