// SPDX-License-Identifier: GPL-3.0-or-later
// CListSubHeader: the file list's column header, which draws its own sort arrow and offers
// "&Customize" on the right button.
#pragma once

#include <QHeaderView>

class QMenu;

namespace vornik {

class CListSubHeader : public QHeaderView {
    Q_OBJECT

  public:
    explicit CListSubHeader(QWidget* parent = nullptr);

    // The shown column the rows are sorted by (-1: none) and the direction.
    void SetSortColumn(int column, bool reverse);
    int SortColumn() const { return sortColumn_; }
    bool SortReverse() const { return sortReverse_; }

    // The header's pop-up menu: "&Customize", which asks for the Columns page.
    QMenu* CreateCustomizeMenu(QWidget* parent);

  Q_SIGNALS:
    void CustomizeRequested();

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    int sortColumn_ = -1;
    bool sortReverse_ = false;
};

}  // namespace vornik
