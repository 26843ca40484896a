// SPDX-License-Identifier: GPL-3.0-or-later
// The list on a real X screen (Xvfb), driven by xdotool as a user drives it: a row dragged to
// another program arrives there as the file's exact URI, and Shift+Del on a row whose name is
// not UTF-8 deletes that file and not its twin.
#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "file_safety.h"
#include "local_path.h"
#include "shell_test_support.h"
#include "vornik_app.h"
#include "vornik_list.h"

namespace vornik {
namespace {

using test::TempFolder;
constexpr int kPatienceMs = 30000;

// The centre of `row`'s Name cell on the screen.
QPoint RowOnScreen(CVornikList& list, int row) {
    const QRect cell = list.visualRect(list.Table().index(row, 0));
    return list.viewport()->mapToGlobal(cell.center());
}

// Runs xdotool with `arguments` without waiting: the drag's own event loop must keep running.
void Xdotool(QProcess& process, const QStringList& arguments) {
    process.start(QStringLiteral("xdotool"), arguments);
    QVERIFY(process.waitForStarted());
}

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() {
        RegisterWindows();
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(home_ / "share"));
    }

    void RowDragsOutToAnotherProgram() {
        TempFolder folder;
        const std::string named = folder / "x\xff.mp3";
        test::WriteStream(named, 128, 20);
        QProcess target;
        target.start(QStringLiteral(DROP_TARGET_PATH), {});
        QVERIFY(target.waitForStarted());
        QByteArray said;
        QTRY_VERIFY2_WITH_TIMEOUT((said += target.readAllStandardOutput()).contains("ready"),
                                  qPrintable(said + target.readAllStandardError()), kPatienceMs);

        CVornikList list;
        list.setGeometry(0, 0, 600, 300);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.ListLoadFolder(folder.path, true, false);
        QTRY_COMPARE_WITH_TIMEOUT(list.Table().rowCount(), 1, kPatienceMs);
        const QPoint from = RowOnScreen(list, 0);
        // A press, a move past the drag distance in steps, and the release over the target.
        QProcess drag;
        QStringList steps{"mousemove", QString::number(from.x()), QString::number(from.y()),
                          "mousedown", "1"};
        for (int step = 1; step <= 10; ++step) {
            steps << "sleep"
                  << "0.05"
                  << "mousemove" << QString::number(from.x() + (850 - from.x()) * step / 10)
                  << QString::number(from.y() + (250 - from.y()) * step / 10);
        }
        steps << "sleep"
              << "0.3"
              << "mouseup"
              << "1";
        Xdotool(drag, steps);
        QTRY_VERIFY_WITH_TIMEOUT(target.state() == QProcess::NotRunning, kPatienceMs);
        QCOMPARE(target.exitCode(), 0);
        QCOMPARE(target.readAllStandardOutput().trimmed(), FileUri(named));
        QTRY_COMPARE_WITH_TIMEOUT(drag.state(), QProcess::NotRunning, kPatienceMs);
        QVERIFY(test::TreeChecksums(folder.path).count("x\xff.mp3") == 1);  // a copy leaves it
    }

    // The twin case by the keyboard: the selected file goes, the twin stays byte for byte.
    void ShiftDeleteReachesTheSelectedFileOnly() {
        TempFolder folder;
        const std::string named = folder / "x\xff.mp3";
        const std::string twin = folder / "x\xef\xbf\xbd.mp3";
        test::WriteStream(named, 128, 20);
        test::WriteStream(twin, 160, 20);
        const std::string twinSum = test::TreeChecksums(folder.path).at("x\xef\xbf\xbd.mp3");
        CVornikList list;
        list.setGeometry(0, 0, 600, 300);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.activateWindow();
        list.ListLoadFolder(folder.path, true, false);
        QTRY_COMPARE_WITH_TIMEOUT(list.Table().rowCount(), 2, kPatienceMs);

        QStringList asked;
        QTimer answer;
        answer.setInterval(20);
        connect(&answer, &QTimer::timeout, [&asked] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                asked << box->text();
                box->button(QMessageBox::Yes)->click();
            }
        });
        answer.start();
        const QPoint row = RowOnScreen(list, test::RowOf(list, named));
        QProcess keys;
        Xdotool(keys, {"mousemove", QString::number(row.x()), QString::number(row.y()), "click",
                       "1", "sleep", "0.3", "key", "shift+Delete"});
        QTRY_VERIFY_WITH_TIMEOUT(!asked.isEmpty(), kPatienceMs);
        QTRY_COMPARE_WITH_TIMEOUT(keys.state(), QProcess::NotRunning, kPatienceMs);
        QCOMPARE(asked, QStringList{"Delete \"x\uFFFD.mp3\" for good? This cannot be undone."});
        QCOMPARE(test::TreeChecksums(folder.path),
                 (std::map<std::string, std::string>{{"x\xef\xbf\xbd.mp3", twinSum}}));
    }

  private:
    TempFolder home_;
};

}  // namespace vornik

QTEST_MAIN(vornik::DesktopTest)
#include "desktop_test.moc"
