// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "command_ids.h"

namespace vornik {
namespace {

// Draws `command`'s glyph in a 16-unit square.
void DrawGlyph(QPainter& p, int command) {
    const QColor ink(0x30, 0x40, 0x58);
    const QColor paper(0xFA, 0xFA, 0xF5);
    p.setPen(QPen(ink, 1.2));
    switch (command) {
        case CmdExport:  // a page with an arrow leaving it
            p.setBrush(paper);
            p.drawRect(QRectF(2.5, 1.5, 8, 12));
            p.setPen(QPen(QColor(0x2A, 0x7A, 0x2A), 2));
            p.drawLine(QPointF(7, 9), QPointF(14, 9));
            p.drawLine(QPointF(11, 6), QPointF(14, 9));
            p.drawLine(QPointF(11, 12), QPointF(14, 9));
            break;
        case CmdCut:  // scissors
            p.drawLine(QPointF(4, 1.5), QPointF(11, 10));
            p.drawLine(QPointF(12, 1.5), QPointF(5, 10));
            p.drawEllipse(QPointF(4, 12.5), 2.3, 2.3);
            p.drawEllipse(QPointF(12, 12.5), 2.3, 2.3);
            break;
        case CmdCopy:  // two pages
            p.setBrush(paper);
            p.drawRect(QRectF(1.5, 1.5, 8, 10));
            p.drawRect(QRectF(6.5, 4.5, 8, 10));
            break;
        case CmdPaste:  // a clipboard
            p.setBrush(QColor(0xC8, 0x9A, 0x5A));
            p.drawRect(QRectF(2.5, 2.5, 11, 12.5));
            p.setBrush(paper);
            p.drawRect(QRectF(5.5, 1.0, 5, 3));
            p.drawRect(QRectF(4.5, 6.0, 7, 7));
            break;
        case CmdRefresh: {  // a circling arrow
            p.setPen(QPen(QColor(0x2A, 0x60, 0xB0), 2));
            p.drawArc(QRectF(2.5, 2.5, 11, 11), 30 * 16, 280 * 16);
            p.drawLine(QPointF(13, 2), QPointF(13, 6.5));
            p.drawLine(QPointF(13, 6.5), QPointF(8.5, 6.5));
            break;
        }
        case CmdCompleteScan:  // a magnifier
            p.setPen(QPen(ink, 2));
            p.setBrush(QColor(0xD8, 0xE8, 0xF8));
            p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
            p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
            break;
        case CmdStop:  // a red octagon
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xC8, 0x28, 0x28));
            p.drawPolygon(
                QPolygonF({QPointF(5, 1), QPointF(11, 1), QPointF(15, 5), QPointF(15, 11),
                           QPointF(11, 15), QPointF(5, 15), QPointF(1, 11), QPointF(1, 5)}));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4, 7, 8, 2));
            break;
        case CmdSettings: {  // a cog
            p.setBrush(QColor(0x90, 0x98, 0xA8));
            QPainterPath cog;
            for (int tooth = 0; tooth < 8; ++tooth) {
                p.save();
                p.translate(8, 8);
                p.rotate(tooth * 45.0);
                p.drawRect(QRectF(-1.5, -7.5, 3, 3));
                p.restore();
            }
            p.drawEllipse(QPointF(8, 8), 5, 5);
            p.setBrush(paper);
            p.drawEllipse(QPointF(8, 8), 2, 2);
            break;
        }
        case CmdAbout:  // an "i" in a circle
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x2A, 0x60, 0xB0));
            p.drawEllipse(QRectF(1, 1, 14, 14));
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(8, 4.5), 1.3, 1.3);
            p.drawRect(QRectF(7, 7, 2, 6));
            break;
        default:
            break;
    }
}

}  // namespace

QString ThemeIconName(int command) {
    switch (command) {
        case CmdExport:
            return "document-save-as";
        case CmdCut:
            return "edit-cut";
        case CmdCopy:
            return "edit-copy";
        case CmdPaste:
            return "edit-paste";
        case CmdRefresh:
            return "view-refresh";
        case CmdCompleteScan:
            return "edit-find";
        case CmdStop:
            return "process-stop";
        case CmdSettings:
            return "preferences-system";
        case CmdAbout:
            return "help-about";
        default:
            return {};
    }
}

QIcon DrawnIcon(int command) {
    QIcon icon;
    for (const int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        DrawGlyph(painter, command);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon ToolbarIcon(int command) {
    const QString name = ThemeIconName(command);
    if (!name.isEmpty() && QIcon::hasThemeIcon(name)) {
        return QIcon::fromTheme(name);
    }
    return DrawnIcon(command);
}

QString ToolbarTip(int command) {
    switch (command) {
        case CmdExport:
            return "Export";
        case CmdCut:
            return "Cut";
        case CmdCopy:
            return "Copy";
        case CmdPaste:
            return "Paste";
        case CmdRefresh:
            return "Refresh";
        case CmdCompleteScan:
            return "Complete Scan";
        case CmdStop:
            return "Stop";
        case CmdSettings:
            return "Settings";
        case CmdAbout:
            return "About";
        default:
            return {};
    }
}

}  // namespace vornik
