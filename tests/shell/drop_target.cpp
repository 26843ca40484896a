// SPDX-License-Identifier: GPL-3.0-or-later
// Another program's drop target for the drag tests: a window that takes one drop of files and
// prints the raw text/uri-list it got, then ends. It ends with status 1 when nothing arrives.
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

class DropTarget : public QWidget {
  public:
    DropTarget() {
        setAcceptDrops(true);
        setWindowTitle(QStringLiteral("drop target"));
    }

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override { event->acceptProposedAction(); }
    void dragMoveEvent(QDragMoveEvent* event) override { event->acceptProposedAction(); }
    void dropEvent(QDropEvent* event) override {
        const QByteArray uris = event->mimeData()->data(QStringLiteral("text/uri-list"));
        std::fwrite(uris.data(), 1, static_cast<std::size_t>(uris.size()), stdout);
        std::fflush(stdout);
        event->setDropAction(Qt::CopyAction);
        event->accept();
        QTimer::singleShot(0, qApp, [] { QApplication::exit(0); });
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    DropTarget target;
    target.setGeometry(700, 100, 300, 300);
    target.show();
    std::printf("ready\n");
    std::fflush(stdout);
    QTimer::singleShot(60000, &app, [] { QApplication::exit(1); });
    return app.exec();
}
