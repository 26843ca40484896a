// SPDX-License-Identifier: GPL-3.0-or-later
// CHistogram: one bar chart of the details dialog.
#pragma once

#include <QColor>
#include <QWidget>
#include <vector>

#include "details_content.h"

namespace vornik {

class CHistogram : public QWidget {
    Q_OBJECT

  public:
    explicit CHistogram(QWidget* parent = nullptr);

    void SetData(const HistogramData& data);
    const HistogramData& Data() const { return data_; }
    void SetColours(std::vector<QColor> colours);

    // What a screen reader says: the title and every bar's label and share.
    QString TextAlternative() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    HistogramData data_;
    std::vector<QColor> colours_{QColor(52, 115, 212), QColor(81, 149, 247)};
};

}  // namespace vornik
