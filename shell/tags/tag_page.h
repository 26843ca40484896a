// SPDX-License-Identifier: GPL-3.0-or-later
// CTagPage: one page of the tag dialog, a list of fields and values.
#pragma once

#include <QWidget>

#include "tag_rows.h"

class QProgressBar;
class QTreeWidget;

namespace vornik {

class CTagPage : public QWidget {
    Q_OBJECT

  public:
    // The Lame page also shows the music CRC's progress.
    CTagPage(TagPageKind kind, QWidget* parent = nullptr);

    TagPageKind Kind() const { return kind_; }
    void SetRows(const TagRows& rows);
    TagRows Rows() const;
    // Null on the pages other than the Lame page.
    QProgressBar* Progress() const { return progress_; }

  private:
    TagPageKind kind_;
    QTreeWidget* list_;
    QProgressBar* progress_ = nullptr;
};

}  // namespace vornik
