// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program: its pure rules, and its windows on the offscreen platform.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <thread>

#include "about_box.h"
#include "cell_colours.h"
#include "command_ids.h"
#include "command_line.h"
#include "gui_mailbox.h"
#include "list_sub_header.h"
#include "main_frame.h"
#include "select_path.h"
#include "shell_test_support.h"
#include "show_files.h"
#include "sort_arrow.h"
#include "top_folders.h"
#include "view_settings.h"
#include "vornik_app.h"
#include "vornik_list.h"
#include "vornik_tree.h"
#include "vornik_view.h"

namespace vornik {
namespace {

using Strings = std::vector<std::string>;
constexpr int kPatienceMs = 20000;

using test::ShownNames;
using test::TempFolder;
using test::WriteStream;

}  // namespace

class ShellTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() { RegisterWindows(); }

    void CommandLineRules() {
        using Kind = StartupRequest::Kind;
        const std::vector<std::pair<Strings, StartupRequest>> cases = {
            {{}, {Kind::InitialFolder, {}}},
            {{"/m/Song.MP3"}, {Kind::ShowFiles, {"/m/Song.MP3"}}},
            {{"/m/folder"}, {Kind::SelectPath, {"/m/folder"}}},
            {{"/m/a.wav"}, {Kind::SelectPath, {"/m/a.wav"}}},
            {{"/m/Song.mp2"}, {Kind::ShowFiles, {"/m/Song.mp2"}}},
            {{"/m.mp3/folder"}, {Kind::SelectPath, {"/m.mp3/folder"}}},
            {{"/m/a.mp3", "/m/b.wav", "/m/c.Mp3", "/m/d.mpc", "/m/e.mp1"},
             {Kind::ShowFiles, {"/m/a.mp3", "/m/c.Mp3", "/m/d.mpc", "/m/e.mp1"}}},
        };
        for (const auto& [paths, expected] : cases) {
            QCOMPARE(DecideStartup(paths), expected);
        }
    }

    void DisplayIsFoundFromTheEnvironment() {
        const auto env = [](std::map<std::string, std::string> values) {
            return [values](const char* name) -> std::optional<std::string> {
                const auto found = values.find(name);
                return found == values.end() ? std::nullopt : std::optional(found->second);
            };
        };
        QVERIFY(!HasDisplay(env({})));
        QVERIFY(!HasDisplay(env({{"DISPLAY", ""}})));
        QVERIFY(HasDisplay(env({{"DISPLAY", ":0"}})));
        QVERIFY(HasDisplay(env({{"WAYLAND_DISPLAY", "wayland-0"}})));
        QVERIFY(HasDisplay(env({{"QT_QPA_PLATFORM", "offscreen"}})));
        QVERIFY(!HasDisplay(env({{"QT_QPA_PLATFORM", "xcb"}})));
    }

    // The guide of an installed tree first, then the one this build made.
    void DocumentationIsTheInstalledGuideOrTheBuiltOne() {
        test::TempFolder prefix;
        std::filesystem::create_directories(prefix / "bin");
        const QString bin = QString::fromStdString(prefix / "bin");
        const QString built = DocumentationPath(bin);
        QVERIFY(built.endsWith("/docs/guide.html"));
        QVERIFY(QFileInfo(built).isFile());
        std::filesystem::create_directories(prefix / "share/doc/vornik");
        std::ofstream(prefix / "share/doc/vornik/guide.html") << "<html></html>";
        QCOMPARE(DocumentationPath(bin),
                 QFileInfo(QString::fromStdString(prefix / "share/doc/vornik/guide.html"))
                     .canonicalFilePath());
    }

    // A worker's calls reach the GUI thread in order; once the mailbox is closed (its dialog
    // went) nothing more does, queued or late.
    void MailboxDeliversInOrderAndNothingAfterClosing() {
        struct Sink {
            std::vector<int> got;
        } sink;
        const auto mailbox = GuiMailbox<Sink>::Open(sink);
        std::thread([mailbox] {
            for (int i = 0; i < 200; ++i) {
                mailbox->Post([i](Sink& s) { s.got.push_back(i); });
            }
        }).join();
        QTRY_COMPARE(sink.got.size(), std::size_t{200});
        QVERIFY(std::is_sorted(sink.got.begin(), sink.got.end()));
        mailbox->Post([](Sink& s) { s.got.push_back(-1); });
        mailbox->Close();
        mailbox->Post([](Sink& s) { s.got.push_back(-2); });
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(sink.got.size(), std::size_t{200});
    }

    void WindowTitleNamesTheShownFolder() {
        QCOMPARE(WindowTitle("/home/me/Music/Live 1999"), QString("Live 1999 \u2014 Vornik"));
        QCOMPARE(WindowTitle("/"), QString("/ \u2014 Vornik"));
        QCOMPARE(WindowTitle(""), QString("Vornik"));
    }

    void SplitterPositionIsClamped() {
        QCOMPARE(ClampSplitterPosition(-1, 800, 60, 60), 400);
        QCOMPARE(ClampSplitterPosition(900, 800, 60, 60), 740);
        QCOMPARE(ClampSplitterPosition(10, 800, 60, 60), 60);
    }

    void SelectPathStartsAtTheDeepestTopFolder() {
        const Strings anchors{"/home/u/Desktop", "/home/u", "/home/u/Documents", "/", "/media/usb"};
        QCOMPARE(PlanSelectPath("/home/u/Desktop", anchors), (SelectPathPlan{0, {}}));
        QCOMPARE(PlanSelectPath("/home/u/Documents/a/b", anchors), (SelectPathPlan{2, {"a", "b"}}));
        QCOMPARE(PlanSelectPath("/home/u/Desktopx", anchors), (SelectPathPlan{1, {"Desktopx"}}));
        QCOMPARE(PlanSelectPath("/media/usb/x", anchors), (SelectPathPlan{4, {"x"}}));
        QCOMPARE(PlanSelectPath("/etc", anchors), (SelectPathPlan{3, {"etc"}}));
        // With no desktop folder the root is the home folder; the root wins the tie.
        QCOMPARE(PlanSelectPath("/home/u/x", Strings{"/home/u", "/home/u", "/"}),
                 (SelectPathPlan{0, {"x"}}));
    }

    void TopFoldersReachEveryPath() {
        const std::vector<MountedVolume> volumes{{"/", "ext4", "/"},
                                                 {"/proc", "proc", "proc"},
                                                 {"/run/media/u/STICK", "vfat", "STICK"},
                                                 {"/run/user/1000", "tmpfs", ""},
                                                 {"/mnt/music", "ext4", "music"}};
        const std::vector<TopFolder> tops =
            TopFolders("/home/u/Desktop", "/home/u", "/home/u/Documents", volumes);
        std::vector<std::string> paths;
        for (const TopFolder& top : tops) {
            paths.push_back(top.path);
        }
        QCOMPARE(paths, (Strings{"/home/u", "/home/u/Documents", "/", "/run/media/u/STICK",
                                 "/mnt/music"}));
        QCOMPARE(TopFolders("/home/u", "/home/u", "", {}).size(), std::size_t{1});
    }

    void SortArrowSitsAfterTheTextOrAtTheRightMargin() {
        const QRect section(100, 0, 120, 20);
        QCOMPARE(SortArrowRect(section, 140).x(), 152);
        QCOMPARE(SortArrowRect(section, 215).x(), 205);  // 15 pixels from the right edge
        QCOMPARE(SortArrowRect(QRect(100, 0, 10, 20), 108).x(), 100);
        const QPolygon up = SortArrowTriangle(QRect(0, 0, 8, 4), false);
        QVERIFY(up.at(2).y() < up.at(0).y());
        const QPolygon down = SortArrowTriangle(QRect(0, 0, 8, 4), true);
        QVERIFY(down.at(2).y() > down.at(0).y());
    }

    void EvenRowsStayReadableOnADarkPalette() {
        const ListPalette light{Qt::white, Qt::black, QColor(0xEE, 0xEE, 0xEE), Qt::gray};
        const ListPalette dark{QColor(0x20, 0x20, 0x20), QColor(0xF0, 0xF0, 0xF0),
                               QColor(0x30, 0x30, 0x38), Qt::gray};
        QCOMPARE(RowBackground(0, light), QColor(0xEB, 0xEB, 0xFF));
        QCOMPARE(RowBackground(1, light), QColor(Qt::white));
        QCOMPARE(RowBackground(2, dark), dark.alternateBase);
        QCOMPARE(RowBackground(3, dark), dark.base);
        QVERIFY(!QualityCellBackground(ListSettings{}, -1));
        QCOMPARE(*QualityCellBackground(ListSettings{}, 2), QColor(0x96, 0xFF, 0x96));
    }

    void ShownFilesSendTheTreeToTheirFolder() {
        const auto isFolder = [](const std::string& path) { return path == "/m"; };
        QCOMPARE(PlanShowFiles({"/m"}, isFolder), (ShowFilesPlan{"/m", "", {}}));
        QCOMPARE(PlanShowFiles({"/m/a.mp3"}, isFolder), (ShowFilesPlan{"/m", "/m/a.mp3", {}}));
        // Several: exactly the files, wherever they are.
        QCOMPARE(PlanShowFiles({"/x/a.mp3", "/m", "/m/b.mp2"}, isFolder),
                 (ShowFilesPlan{"", "", {"/x/a.mp3", "/m/b.mp2"}}));
        QCOMPARE(PlanShowFiles({"/m", "/m"}, isFolder), (ShowFilesPlan{"/m", "", {}}));
        QCOMPARE(PlanShowFiles({}, isFolder), ShowFilesPlan{});
    }

    // "Open with" on files of two folders: the list shows those files, whatever their type,
    // and nothing else of their folders.
    void SeveralNamedFilesAreListedAlone() {
        TempFolder one;
        TempFolder two;
        WriteStream(one / "a.mp3", 128, 20);
        WriteStream(one / "left.mp3", 128, 20);
        WriteStream(two / "b.mp2", 128, 20);
        CVornikList list;
        list.ListShowFiles({one / "a.mp3", two / "b.mp2"});
        QTRY_VERIFY_WITH_TIMEOUT(test::ListSettled(list), kPatienceMs);
        QCOMPARE(ShownNames(list), (QStringList{"a.mp3", "b.mp2"}));
    }

    // The table follows the rows as a folder fills, stops and fills again; column clicks sort.
    void ListFillsSortedUnderTheModelTester() {
        TempFolder folder;
        WriteStream(folder / "b.mp3", 128, 40);
        WriteStream(folder / "a.mp3", 64, 60);
        WriteStream(folder / "c.MP3", 192, 20);
        WriteStream(folder / "skip.wav", 128, 10);
        std::ofstream(folder / "junk.mp3") << "not audio";
        CVornikList list;
        QAbstractItemModelTester tester(&list.Table(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy status(&list, &CVornikList::FrameSetStatusText);

        list.ListLoadFolder(QString::fromStdString(folder.path), true, false);
        QTRY_COMPARE_WITH_TIMEOUT(list.Table().rowCount(), 4, kPatienceMs);
        QCOMPARE(ShownNames(list), (QStringList{"a.mp3", "b.mp3", "c.MP3", "junk.mp3"}));
        const auto summarised = [&status] {
            return std::any_of(status.begin(), status.end(), [](const QList<QVariant>& call) {
                return call.at(0).toInt() == 0 &&
                       call.at(1).toString().startsWith("4 files, 1 without MPEG audio, ");
            });
        };
        QTRY_VERIFY_WITH_TIMEOUT(summarised(), kPatienceMs);
        // The file without audio is greyed, and says why.
        const QModelIndex junk = list.Table().index(3, 1);
        QCOMPARE(junk.data().toString(), QString("no MPEG audio"));
        QCOMPARE(junk.data(Qt::ForegroundRole).value<QBrush>().color(),
                 list.palette().color(QPalette::Disabled, QPalette::Text));

        // Esc with nothing under way keeps the folder's summary.
        list.ViewCommand(CmdStop);
        QVERIFY(status.last().at(1).toString().startsWith("4 files"));
        list.ViewRefresh(/*completeScan=*/true);
        QTRY_COMPARE_WITH_TIMEOUT(list.Table().rowCount(), 4, kPatienceMs);

        // Frames (column 3): clicking sorts by it, clicking again reverses; the selection
        // (a.mp3, and the current row with it) follows its file.
        list.selectRow(0);
        Q_EMIT list.SubHeader().sectionClicked(3);
        QCOMPARE(ShownNames(list), (QStringList{"junk.mp3", "c.MP3", "b.mp3", "a.mp3"}));
        QCOMPARE(list.selectionModel()->selectedRows().size(), 1);
        QCOMPARE(list.selectionModel()->selectedRows().front().row(), 3);
        QCOMPARE(list.currentIndex().row(), 3);
        QCOMPARE(list.SubHeader().SortColumn(), 3);
        Q_EMIT list.SubHeader().sectionClicked(3);
        QCOMPARE(ShownNames(list), (QStringList{"a.mp3", "b.mp3", "c.MP3", "junk.mp3"}));
        QVERIFY(list.SubHeader().SortReverse());

        // The Quality cell shows its word on its colour, in a tooltip and to screen readers.
        const int quality = list.Model().Columns().ColumnOf(kQualityColumnId);
        const QModelIndex cell = list.Table().index(0, quality);
        const QString word = cell.data().toString();
        QVERIFY2(QStringList({"good", "ok", "bad"}).contains(word), qPrintable(word));
        QCOMPARE(cell.data(Qt::AccessibleTextRole).toString(), word);
        QVERIFY(cell.data(Qt::ToolTipRole).toString().contains(word));
    }

    void FolderWatchNoticesNewAndChangedFiles() {
        TempFolder folder;
        WriteStream(folder / "a.mp3", 128, 20);
        CVornikList list;
        list.ListLoadFolder(QString::fromStdString(folder.path), true, false);
        QTRY_COMPARE_WITH_TIMEOUT(list.Table().rowCount(), 1, kPatienceMs);
        const std::uint64_t filled = list.Model().FillCount();
        list.CheckFolder();
        QTRY_VERIFY_WITH_TIMEOUT(test::ListSettled(list), kPatienceMs);
        QCOMPARE(list.Model().FillCount(), filled);  // nothing changed

        WriteStream(folder / "b.mp3", 128, 20);
        list.CheckFolder();
        QTRY_COMPARE_WITH_TIMEOUT(list.Table().rowCount(), 2, kPatienceMs);
        WriteStream(folder / "a.mp3", 128, 30);
        list.CheckFolder();
        QTRY_COMPARE_WITH_TIMEOUT(list.Model().FillCount(), filled + 2, kPatienceMs);
        QTRY_COMPARE_WITH_TIMEOUT(list.Model().Displayed(0).record.frameCount +
                                      list.Model().Displayed(1).record.frameCount,
                                  std::uint32_t{48}, kPatienceMs);
    }

    // Fills are listed away from the window: only the latest request is taken, Stop drops a
    // listing still under way, and a folder that cannot be read keeps the rows shown.
    void OnlyTheLatestFillIsTaken() {
        TempFolder first;
        TempFolder second;
        WriteStream(first / "first.mp3", 128, 20);
        WriteStream(second / "second.mp3", 128, 20);
        CVornikList list;
        QSignalSpy status(&list, &CVornikList::FrameSetStatusText);
        list.ListLoadFolder(QString::fromStdString(first.path), true, false);
        list.ListLoadFolder(QString::fromStdString(second.path), true, false);
        QTRY_VERIFY_WITH_TIMEOUT(test::ListSettled(list) && list.Table().rowCount() == 1,
                                 kPatienceMs);
        QCOMPARE(ShownNames(list), QStringList{"second.mp3"});

        list.ListLoadFolder(QString::fromStdString(first.path), true, false);
        list.ViewCommand(CmdStop);
        QTRY_VERIFY_WITH_TIMEOUT(test::ListSettled(list), kPatienceMs);
        QCOMPARE(ShownNames(list), QStringList{"second.mp3"});

        const QString gone = QString::fromStdString(second / "gone");
        list.ListLoadFolder(gone, true, false);
        QTRY_VERIFY_WITH_TIMEOUT(status.last().at(1).toString() == "Cannot read the folder " + gone,
                                 kPatienceMs);
        QCOMPARE(ShownNames(list), QStringList{"second.mp3"});
    }

    void HeaderMenuAsksForTheColumnsPage() {
        CVornikList list;
        QSignalSpy settings(&list, &CVornikList::ViewSettings);
        QMenu* const menu = list.SubHeader().CreateCustomizeMenu(&list);
        QCOMPARE(menu->actions().size(), 1);
        QCOMPARE(menu->actions().front()->text(), QString("&Customize"));
        menu->actions().front()->trigger();
        QCOMPARE(settings.size(), 1);
        QCOMPARE(settings.front().front().toInt(), 2);
    }

    // The program as it starts on a folder: rows, summary, and the settings written at exit
    // in the chain's order, read back into new windows.
    void ProgramShowsAFolderAndKeepsItsSettings() {
        TempFolder folder;
        WriteStream(folder / "one.mp3", 128, 30);
        WriteStream(folder / "two.mp3", 160, 30);
        const std::string settingsFile = folder / "vornik.ini";
        std::ofstream(settingsFile) << "view_settings\nsplitter_pos\t150\n\n"
                                    << "favourites_mru\ncount\t1\n0\t/music\n\n";
        std::string settingsPath;
        std::unique_ptr<CMainFrame> frame(
            StartMainFrame({settingsFile, {folder.path}}, settingsPath));
        QVERIFY(frame);
        QTRY_COMPARE(frame->windowTitle(),
                     QFileInfo(QString::fromStdString(folder.path)).fileName() + " \u2014 Vornik");
        QTRY_VERIFY_WITH_TIMEOUT(frame->StatusText(0).startsWith("2 files"), kPatienceMs);
        QCOMPARE(frame->StatusText(1), QString("Reading at most 1000 frames"));
        QCOMPARE(frame->View()->List()->Table().rowCount(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(frame->View()->Tree()->GetSelectedPath(),
                                  QString::fromStdString(folder.path), kPatienceMs);
        QCOMPARE(frame->View()->sizes().front(), 150);

        // The menus' commands reach the list and the window by their ids.
        QItemSelectionModel* const selection = frame->View()->List()->selectionModel();
        frame->OnCommand(CmdSelectAll);
        QCOMPARE(selection->selectedRows().size(), 2);
        frame->OnCommand(CmdSelectNone);
        QVERIFY(!selection->hasSelection());
        const bool toolbarShown = frame->Action(CmdToolbar)->isChecked();
        frame->Action(CmdToolbar)->trigger();
        QCOMPARE(frame->Action(CmdToolbar)->isChecked(), !toolbarShown);
        frame->OnCommand(CmdCompleteScan);
        QTRY_VERIFY_WITH_TIMEOUT(frame->StatusText(0).startsWith("2 files"), kPatienceMs);
        // The keys a Linux desktop's programs share.
        QCOMPARE(frame->Action(CmdExit)->shortcut(), QKeySequence("Ctrl+Q"));
        QCOMPARE(frame->Action(CmdExit)->text(), QString("&Quit"));
        QCOMPARE(frame->Action(CmdDocumentation)->shortcut(), QKeySequence(Qt::Key_F1));
        // Shift+F10 opens the row menu, for the current row when nothing is selected.
        CVornikList& list = *frame->View()->List();
        list.setCurrentIndex(list.Table().index(0, 0));
        list.clearSelection();
        QTimer::singleShot(0, [] {
            QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
            QApplication::activePopupWidget()->close();
        });
        QTest::keyClick(&list, Qt::Key_F10, Qt::ShiftModifier);

        frame->View()->Tree()->Settings().useRecent = true;
        frame->close();
        QVERIFY(SaveProgramSettings(*frame, settingsPath));
        frame.reset();

        CIniFile written;
        written.SetFileName(settingsFile);
        QVERIFY(written.Read());
        Strings sections;
        for (const CIniFile::Section& section : written.Sections()) {
            sections.push_back(section.name);
        }
        QCOMPARE(sections,
                 (Strings{"favourites_mru", "list_settings", "export", "tree_settings",
                          "details_rect", "details", "view_settings", "mainframe", "global"}));
        QCOMPARE(written.GetString("favourites_mru", "0", ""), std::string("/music"));
        QCOMPARE(written.GetString("tree_settings", "initdir", ""), folder.path);
        QCOMPARE(written.GetInt("view_settings", "splitter_pos", 0), 150);

        // Read back into new windows, with no path: the most recent folder opens again.
        std::unique_ptr<CMainFrame> again(StartMainFrame({settingsFile, {}}, settingsPath));
        QCOMPARE(again->FavouriteFolders().Folders(), Strings{"/music"});
        QTRY_VERIFY_WITH_TIMEOUT(again->StatusText(0).startsWith("2 files"), kPatienceMs);
        again->close();
    }
};

}  // namespace vornik

QTEST_MAIN(vornik::ShellTest)
#include "shell_test.moc"
