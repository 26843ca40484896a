// SPDX-License-Identifier: GPL-3.0-or-later
// Deleting, renaming and the files' clipboard formats, on temporary folders only.
#include <sys/stat.h>
#include <sys/time.h>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

#include "command_ids.h"
#include "file_clipboard.h"
#include "file_operations.h"
#include "file_safety.h"
#include "file_transfer.h"
#include "folder_snapshot.h"
#include "local_path.h"
#include "shell_test_support.h"
#include "transfer_plan.h"
#include "vornik_app.h"
#include "vornik_list.h"

namespace vornik {
namespace {

using test::TempFolder;
constexpr int kPatienceMs = 20000;

std::string Touch(const TempFolder& folder, const std::string& name, const char* content = "x") {
    std::ofstream(folder / name) << content;
    return folder / name;
}

bool Exists(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

long long Size(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? status.st_size : -1;
}

using Paths = std::vector<std::string>;

// Answers every question with `answer` and keeps the questions.
struct Answers {
    bool answer = true;
    QStringList asked;
    Confirm confirm() {
        return [this](const QString& question) {
            asked << question;
            return answer;
        };
    }
};

// Clicks `button` on every message box that opens until it goes, as a user answering.
class BoxAnswerer : public QObject {
  public:
    explicit BoxAnswerer(QMessageBox::StandardButton button) : button_(button) {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                asked << box->text();
                box->button(button_)->click();
            }
        });
        timer_.start();
    }
    QStringList asked;

  private:
    QMessageBox::StandardButton button_;
    QTimer timer_;
};

// Names a file system allows and a Latin-1 era collection has: the exact bytes must reach
// every action.
const std::vector<std::string> kAwkwardNames = {
    "plain.mp3",
    "a b#?%.mp3",
    "\xc3\x84rger.mp3",
    "x\xff.mp3",
    "\xfc"
    "ber \xe4\xf6.mp3",
};

}  // namespace

class FileOperationsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() {
        RegisterWindows();
        // The trash of this test, never the user's.
        QVERIFY(trashHome_.path.size() > 0);
        // A data folder that is not there yet, as on a fresh account.
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(trashHome_ / "share"));
    }

    void PathsKeepTheirBytesThroughEveryHelper() {
        for (const std::string& name : kAwkwardNames) {
            const std::string path = "/m/" + name;
            const std::unique_ptr<QMimeData> data(FilesMimeData({path}, false));
            QCOMPARE(ReadFilesMimeData(*data).paths, Paths{path});
            QCOMPARE(LocalPathOfUri(FileUri(path)), std::optional<std::string>(path));
            QCOMPARE(LocalPathOfUrl(FileUrl(path)), std::optional<std::string>(path));
            QVERIFY(FileUri(path).startsWith("file:///m/"));
            // The text never names another file: a name that is not UTF-8 goes as its URI.
            QCOMPARE(PathBytes(data->text()) == path || data->text().toLatin1() == FileUri(path),
                     true);
            QVERIFY(PathBytes(data->text()) != "/m/x\xef\xbf\xbd.mp3");
            // What another program's drop gives back, parsed by Qt.
            QMimeData dropped;
            dropped.setUrls(data->urls());
            QCOMPARE(ReadFilesMimeData(dropped).paths, Paths{path});
        }
        QCOMPARE(LocalPathOfUri("file://localhost/m/a%FF"), std::optional<std::string>("/m/a\xff"));
        QCOMPARE(LocalPathOfUri("file://elsewhere/m/a"), std::nullopt);
        QCOMPARE(LocalPathOfUri("https://example.org/a.mp3"), std::nullopt);
        QCOMPARE(DisplayFileName("/m/x\xff.mp3"), QString("x\uFFFD.mp3"));
    }

    // The file the row shows and its twin whose name is what the first one's shows as text:
    // every action reaches the row's own file and leaves the twin byte for byte.
    void ActionsReachTheRowsOwnFileNotItsTwin() {
        TempFolder folder;
        const std::string named = folder / "x\xff.mp3";
        const std::string twin = folder / "x\xef\xbf\xbd.mp3";
        test::WriteStream(named, 128, 20);
        test::WriteStream(twin, 160, 20);
        CVornikList list;
        list.ListLoadFolder(folder.path, true, false);
        QTRY_COMPARE_WITH_TIMEOUT(list.Table().rowCount(), 2, kPatienceMs);
        const auto twinSum = test::TreeChecksums(folder.path).at("x\xef\xbf\xbd.mp3");
        const auto select = [&](const std::string& path) {
            list.clearSelection();
            list.selectRow(test::RowOf(list, path));
        };

        select(named);
        QSignalSpy details(&list, &CVornikList::ViewOpenDetails);
        list.OpenDetails(test::RowOf(list, named));
        QCOMPARE(details.size(), 1);
        QCOMPARE(details.front().front().value<std::string>(), named);
        list.ViewClipboard(CmdCopy);
        QCOMPARE(ReadFilesMimeData(*QApplication::clipboard()->mimeData()).paths, Paths{named});

        // F2 with the text unchanged renames nothing; a new name renames the row's file.
        const QModelIndex name = list.Table().index(test::RowOf(list, named), 0);
        QVERIFY(list.Table().setData(name, list.Table().data(name, Qt::DisplayRole)));
        QVERIFY(Exists(named));
        QVERIFY(list.Table().setData(name, "renamed.mp3"));
        QVERIFY(!Exists(named) && Exists(folder / "renamed.mp3"));
        QCOMPARE(::rename((folder / "renamed.mp3").c_str(), named.c_str()), 0);
        list.ViewRefresh(false);
        QTRY_COMPARE_WITH_TIMEOUT(test::RowOf(list, named) >= 0, true, kPatienceMs);

        {
            select(named);
            BoxAnswerer yes(QMessageBox::Yes);
            list.DeleteSelected(/*forGood=*/false);
            QVERIFY(!Exists(named));
            QVERIFY(Exists(trashHome_ / "share/Trash/files/x\xff.mp3"));
        }
        QCOMPARE(::rename((trashHome_ / "share/Trash/files/x\xff.mp3").c_str(), named.c_str()), 0);
        list.ViewRefresh(false);
        QTRY_COMPARE_WITH_TIMEOUT(list.Table().rowCount(), 2, kPatienceMs);
        {
            select(named);
            BoxAnswerer yes(QMessageBox::Yes);
            list.DeleteSelected(/*forGood=*/true);
            QCOMPARE(yes.asked.size(), 1);
            QVERIFY(!Exists(named));
        }
        QCOMPARE(test::TreeChecksums(folder.path),
                 (std::map<std::string, std::string>{{"x\xef\xbf\xbd.mp3", twinSum}}));
    }

    // A data folder that cannot be written is no trash: the user is asked the second question
    // and the file stays unless they agree; nothing lands in the working folder.
    void UnwritableDataFolderAsksBeforeDeleting() {
        std::string why;
        std::optional<test::ScratchMount> mount = test::ScratchMount::Mount(1024, why);
        if (!mount) {
            QSKIP(qPrintable(QString::fromStdString("needs a file system of its own: " + why)));
        }
        const std::string share = mount->path() + "/share";
        QCOMPARE(::mkdir(share.c_str(), 0755), 0);
        QCOMPARE(::mkdir((mount->path() + "/m").c_str(), 0755), 0);
        const std::string file = mount->path() + "/m/a.mp3";
        std::ofstream(file) << "a";
        QVERIFY(mount->BindReadOnly(share));
        TempFolder working;
        const QString before = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(working.path));
        const auto sums = test::TreeChecksums(mount->path());

        int asked = 0;
        const DeleteOutcome outcome = DeleteFiles(
            {file}, false, [&](const QString&) { return ++asked == 1; }, {share, ::getuid()});
        QDir::setCurrent(before);
        QCOMPARE(asked, 2);  // the trash question, then "Delete for good instead?"
        QCOMPARE(outcome.kept, Paths{file});
        QCOMPARE(test::TreeChecksums(mount->path()), sums);
        QVERIFY(QDir(QString::fromStdString(working.path)).isEmpty());
    }

    // A read-only folder: the reason, and no offer of a deletion that cannot work.
    void ReadOnlyFolderGivesTheReason() {
        std::string why;
        std::optional<test::ScratchMount> mount = test::ScratchMount::Mount(1024, why);
        if (!mount) {
            QSKIP(qPrintable(QString::fromStdString("needs a file system of its own: " + why)));
        }
        const std::string file = mount->path() + "/a.mp3";
        std::ofstream(file) << "a";
        QVERIFY(mount->MakeReadOnly());
        TempFolder home;
        for (const bool forGood : {false, true}) {
            Answers yes;
            const DeleteOutcome outcome =
                DeleteFiles({file}, forGood, yes.confirm(), {home / "share", ::getuid()});
            QCOMPARE(yes.asked.size(), 1);
            QCOMPARE(outcome.failed.size(), std::size_t{1});
            QCOMPARE(outcome.failed.front().reason, std::string("Read-only file system"));
            QVERIFY(Exists(file));
        }
    }

    void ClipboardFormatsAsFileManagersWriteThem() {
        const std::unique_ptr<QMimeData> cut(FilesMimeData({"/m/a b.mp3", "/m/c.mp3"}, true));
        QCOMPARE(cut->data("text/uri-list"),
                 QByteArray("file:///m/a%20b.mp3\r\nfile:///m/c.mp3\r\n"));
        QCOMPARE(cut->data(kGnomeCopiedFiles),
                 QByteArray("cut\nfile:///m/a%20b.mp3\nfile:///m/c.mp3"));
        QCOMPARE(cut->data(kKdeCutSelection), QByteArray("1"));
        QCOMPARE(cut->data(kPreferredDropEffect), QByteArray("\x02\x00\x00\x00", 4));
        QCOMPARE(cut->text(), QString("/m/a b.mp3\n/m/c.mp3"));
        const std::unique_ptr<QMimeData> copy(FilesMimeData({"/m/c.mp3"}, false));
        QCOMPARE(copy->data(kGnomeCopiedFiles), QByteArray("copy\nfile:///m/c.mp3"));
        QVERIFY(!copy->hasFormat(kKdeCutSelection));
        QCOMPARE(copy->data(kPreferredDropEffect), QByteArray("\x01\x00\x00\x00", 4));
        QCOMPARE(ReadFilesMimeData(*cut).effect, FileEffect::Move);
        QCOMPARE(ReadFilesMimeData(*copy).paths, Paths{"/m/c.mp3"});
    }

    // What Nautilus, Dolphin and Windows-era programs put on the clipboard.
    void ClipboardFilesAreReadFromEveryFormat() {
        struct Case {
            const char* name;
            std::vector<std::pair<QString, QByteArray>> formats;
            Paths paths;
            FileEffect effect;
        };
        const QByteArray uris = "file:///m/a.mp3\r\nfile:///m/b%20c.mp3\r\n";
        const Paths both{"/m/a.mp3", "/m/b c.mp3"};
        const std::vector<Case> cases = {
            {"nautilus copy",
             {{kGnomeCopiedFiles, "copy\nfile:///m/a.mp3\nfile:///m/b%20c.mp3"}},
             both,
             FileEffect::Copy},
            {"nautilus cut",
             {{kGnomeCopiedFiles, "cut\nfile:///m/a.mp3\nfile:///m/b%20c.mp3\n"}},
             both,
             FileEffect::Move},
            {"dolphin copy", {{"text/uri-list", uris}}, both, FileEffect::Copy},
            {"dolphin cut",
             {{"text/uri-list", uris}, {kKdeCutSelection, "1"}},
             both,
             FileEffect::Move},
            {"effect 3: copy wins",
             {{"text/uri-list", uris}, {kPreferredDropEffect, QByteArray("\x03\0\0\0", 4)}},
             both,
             FileEffect::Copy},
            {"effect 2",
             {{"text/uri-list", uris}, {kPreferredDropEffect, QByteArray("\x02\0\0\0", 4)}},
             both,
             FileEffect::Move},
            {"effect 0",
             {{"text/uri-list", uris}, {kPreferredDropEffect, QByteArray(4, '\0')}},
             both,
             FileEffect::None},
            {"web page",
             {{"text/uri-list", "https://example.org/a.mp3\r\n"}},
             {},
             FileEffect::None},
            {"text only", {{"text/plain", "/m/a.mp3"}}, {}, FileEffect::None},
        };
        for (const Case& c : cases) {
            QMimeData data;
            for (const auto& [format, bytes] : c.formats) {
                data.setData(format, bytes);
            }
            const ClipboardFiles files = ReadFilesMimeData(data);
            QVERIFY2(files.paths == c.paths, c.name);
            QVERIFY2(files.effect == c.effect, c.name);
        }
    }

    void RenameIsRefusedRatherThanReplacing() {
        TempFolder folder;
        Touch(folder, "a.mp3", "A");
        Touch(folder, "b.mp3", "B");
        const std::string dir = folder.path;
        for (const QString& name :
             {QString(), QString("."), QString(".."), QString("x/y.mp3"), QString("b.mp3")}) {
            QVERIFY2(RenameFile(dir, "a.mp3", name).has_value(), qPrintable(name));
        }
        QFile b(QString::fromStdString(folder / "b.mp3"));
        QVERIFY(b.open(QIODevice::ReadOnly));
        QCOMPARE(b.readAll(), QByteArray("B"));  // never replaced
        QVERIFY(!RenameFile(dir, "a.mp3", "a.mp3"));
        QVERIFY(!RenameFile(dir, "a.mp3", "Ä new.MP3"));
        QVERIFY(Exists(dir + "/Ä new.MP3"));
        QVERIFY(!Exists(dir + "/a.mp3"));
    }

    void DeleteAsksThenTrashes() {
        TempFolder folder;
        const std::string a = Touch(folder, "a.mp3");
        const std::string b = Touch(folder, "b.mp3");
        Answers no;
        no.answer = false;
        DeleteOutcome outcome = DeleteFiles({a, b}, false, no.confirm());
        QCOMPARE(no.asked, QStringList{"Move 2 files to the trash?"});
        QCOMPARE(outcome.kept, (Paths{a, b}));
        QVERIFY(Exists(a) && Exists(b));

        Answers yes;
        outcome = DeleteFiles({a}, false, yes.confirm());
        QCOMPARE(yes.asked, QStringList{"Move \"a.mp3\" to the trash?"});
        QCOMPARE(outcome.removed, Paths{a});
        QVERIFY(!Exists(a));
        QVERIFY(Exists(trashHome_ / "share/Trash/files/a.mp3"));

        Answers forGood;
        outcome = DeleteFiles({b}, true, forGood.confirm());
        QCOMPARE(forGood.asked, QStringList{"Delete \"b.mp3\" for good? This cannot be undone."});
        QVERIFY(!Exists(b));
        QVERIFY(!Exists(trashHome_ / "share/Trash/files/b.mp3"));
    }

    void ChangedExtensionsAreQuestioned() {
        const struct {
            const char* from;
            const char* to;
            bool asked;
        } cases[] = {
            {"a.mp3", "b.mp3", false},   {"a.mp3", "a.MP3", false},    {"a.mp3", "a.txt", true},
            {"a.mp3", "a", true},        {"a", "a.mp3", false},        {".hidden", "x", false},
            {"a.b.mp3", "a.mp3", false}, {"a.mp3", "a.mp3.bak", true},
        };
        for (const auto& c : cases) {
            QCOMPARE(ExtensionQuestion(c.from, c.to).has_value(), c.asked);
        }
        QCOMPARE(BaseNameLength("song.live.mp3"), 9);
        QCOMPARE(BaseNameLength(".hidden"), 7);
    }

    // A renamed row keeps its place and the folder watch sees nothing new.
    void RenamingARowNeedsNoRefill() {
        TempFolder folder;
        test::WriteStream(folder / "a.mp3", 128, 20);
        test::WriteStream(folder / "b.mp3", 128, 20);
        CVornikList list;
        list.ListLoadFolder(QString::fromStdString(folder.path), true, false);
        QTRY_COMPARE_WITH_TIMEOUT(list.Table().rowCount(), 2, kPatienceMs);
        QVERIFY(list.Table().flags(list.Table().index(0, 0)) & Qt::ItemIsEditable);
        QVERIFY(!(list.Table().flags(list.Table().index(0, 1)) & Qt::ItemIsEditable));
        QVERIFY(list.Table().flags(list.Table().index(0, 1)) & Qt::ItemIsDragEnabled);

        // A file without a Lame, Xing or VBRI header has no tag sheet, and the user is told.
        {
            BoxAnswerer ok(QMessageBox::Ok);
            list.OpenTagDialog(0);
            QCOMPARE(ok.asked, QStringList{"\"a.mp3\" has no Lame tag, Xing or VBRI header to "
                                           "show."});
        }

        // F2 opens the editor on the current name with the base name selected.
        QCOMPARE(list.Table().data(list.Table().index(0, 0), Qt::EditRole).toString(),
                 QString("a.mp3"));
        list.setCurrentIndex(list.Table().index(0, 0));
        list.ViewRename();
        auto* editor = list.viewport()->findChild<QLineEdit*>();
        QVERIFY(editor != nullptr);
        QCOMPARE(editor->text(), QString("a.mp3"));
        QTRY_COMPARE(editor->selectedText(), QString("a"));
        list.closePersistentEditor(list.Table().index(0, 0));
        QTest::keyClick(editor, Qt::Key_Escape);

        QVERIFY(list.Table().setData(list.Table().index(0, 0), "c.mp3"));
        QCOMPARE(list.Table().index(0, 0).data().toString(), QString("c.mp3"));
        QCOMPARE(list.Model().Displayed(0).fullPath, folder / "c.mp3");
        QVERIFY(Exists(folder / "c.mp3"));
        const FolderSnapshot now =
            TakeFolderSnapshot(*DiskFolderLister().List(folder.path),
                               FileTypeFilter(list.Model().Settings().fileTypes));
        QVERIFY(!list.Model().DiffersFromFill(now));

        // Cut puts both files on the clipboard as a move.
        list.ViewSelectAll(true);
        list.ViewClipboard(CmdCut);
        const ClipboardFiles files = ReadFilesMimeData(*QApplication::clipboard()->mimeData());
        QCOMPARE(files.effect, FileEffect::Move);
        QCOMPARE(files.paths.size(), 2);
    }

    void TransfersNeverLoseAFile() {
        TempFolder from;
        TempFolder to;
        const std::atomic<bool> go{false};
        const auto none = [](std::uint64_t, std::uint64_t) {};
        const std::string a = Touch(from, "a.mp3", "AAAA");
        const std::string target = to / "a.mp3";

        // Copy: the source stays.
        TransferResult result = RunTransfer({{a, target, false}}, false, go, none);
        QCOMPARE(result.done.size(), std::size_t{1});
        QVERIFY(Exists(a) && Size(target) == 4);

        // Nothing replaced without the word, even when the plan said nothing of it.
        Touch(from, "a.mp3", "NEW");
        result = RunTransfer({{a, target, false}}, false, go, none);
        QCOMPARE(result.failed.size(), std::size_t{1});
        QCOMPARE(Size(target), 4);
        result = RunTransfer({{a, target, true}}, false, go, none);
        QCOMPARE(Size(target), 3);

        // A move across file systems: copied, then the source goes.
        const std::string b = Touch(from, "b.mp3", "BB");
        const RenameCall crossDevice = [](const std::string& f, const std::string& t, bool r) {
            return f.find(".vornik-part") == std::string::npos ? EXDEV : SystemRename(f, t, r);
        };
        result = RunTransfer({{b, to / "b.mp3", false}}, true, go, none, crossDevice);
        QCOMPARE(result.done.size(), std::size_t{1});
        QVERIFY(!Exists(b));
        QCOMPARE(Size(to / "b.mp3"), 2);

        // A copy that cannot be written loses nothing and leaves no part behind.
        const std::string c = Touch(from, "c.mp3", "CC");
        result = RunTransfer({{c, to / "missing/c.mp3", false}}, true, go, none);
        QCOMPARE(result.failed.size(), std::size_t{1});
        QVERIFY(Exists(c));

        // Cancelled half-way: the partial copy goes, the source stays.
        std::ofstream(from / "big.mp3") << std::string(3 << 20, 'x');
        std::atomic<bool> cancel{false};
        result = RunTransfer(
            {{from / "big.mp3", to / "big.mp3", false}}, true, cancel,
            [&cancel](std::uint64_t done, std::uint64_t) { cancel = done > 0; }, crossDevice);
        QVERIFY(result.cancelled);
        QVERIFY(Exists(from / "big.mp3"));
        QVERIFY(!Exists(to / "big.mp3"));
        QCOMPARE(QDir(QString::fromStdString(to.path)).entryList(QDir::Files | QDir::Hidden).size(),
                 2);
    }

    // Part files: a user's file of a similar name is never touched, names of any legal length
    // fit, and this program's leftovers from a killed run go with the next transfer.
    void PartFilesAreOnlyEverOurOwn() {
        TempFolder from;
        TempFolder to;
        const std::atomic<bool> go{false};
        const auto none = [](std::uint64_t, std::uint64_t) {};
        const RenameCall crossDevice = [](const std::string& f, const std::string& t, bool r) {
            return f.find(".vornik-part") == std::string::npos ? EXDEV : SystemRename(f, t, r);
        };
        const std::string longName = std::string(251, 'n') + ".mp3";
        const std::string a = Touch(from, "a.mp3", "A");
        const std::string longSource = Touch(from, longName, "L");
        Touch(to, ".a.mp3.vornik-part", "the user's own");
        Touch(to, ".b.mp3.12345-0badf00d.vornik-part.keep", "the user's too");
        // Left by a killed run: a process that is gone, and older than this one.
        const std::string stale = Touch(to, ".c.mp3.999999999-deadbeef.vornik-part", "stale");
        const std::string fresh = Touch(to, ".d.mp3.999999999-deadbeef.vornik-part", "new");
        const timeval old[2] = {{1000000000, 0}, {1000000000, 0}};
        QCOMPARE(::utimes(stale.c_str(), old), 0);
        auto expected = test::TreeChecksums(to.path);
        expected.erase(".c.mp3.999999999-deadbeef.vornik-part");

        const TransferResult result =
            RunTransfer({{a, to / "a.mp3", false}, {longSource, to / longName, false}}, true, go,
                        none, crossDevice);
        QCOMPARE(result.done.size(), std::size_t{2});
        expected["a.mp3"] = test::TreeChecksums(to.path).at("a.mp3");
        expected[longName] = test::TreeChecksums(to.path).at(longName);
        QCOMPARE(test::TreeChecksums(to.path), expected);
        QVERIFY(Exists(fresh));
        QVERIFY(PartName(to / longName, 0xffffffffu).size() - to.path.size() - 1 <= 255);
    }

    // A second paste of a file a first paste is still writing asks, as for a file that is
    // there; transfers run one after the other, so Replace is well defined.
    void ASecondPasteOfTheSameFileIsAConflict() {
        TempFolder from;
        TempFolder to;
        const Paths sources{Touch(from, "a.mp3")};
        int asked = 0;
        const auto skip = [&asked](const QString&) {
            ++asked;
            return ConflictAnswer{ConflictChoice::Skip, false};
        };
        {
            const TransferClaim first({to / "a.mp3"});
            QVERIFY(PlanTransferItems(sources, to.path, skip)->empty());
            QCOMPARE(asked, 1);
        }
        QCOMPARE(PlanTransferItems(sources, to.path, skip)->size(), std::size_t{1});
        QCOMPARE(asked, 1);
    }

    void ConflictAnswersDecideThePlan() {
        TempFolder from;
        TempFolder to;
        const Paths sources{Touch(from, "a.mp3"), Touch(from, "b.mp3"), Touch(from, "c.mp3")};
        Touch(to, "a.mp3");
        Touch(to, "b.mp3");
        const std::string folder = to.path;
        QStringList asked;
        const auto answer = [&asked](ConflictAnswer a) {
            return [&asked, a](const QString& name) {
                asked << name;
                return a;
            };
        };
        auto items = PlanTransferItems(sources, folder, answer({ConflictChoice::Skip, false}));
        QCOMPARE(asked, (QStringList{"a.mp3", "b.mp3"}));
        QCOMPARE(items->size(), std::size_t{1});
        asked.clear();
        items = PlanTransferItems(sources, folder, answer({ConflictChoice::Replace, true}));
        QCOMPARE(asked, QStringList{"a.mp3"});  // once, for all
        QCOMPARE(items->size(), std::size_t{3});
        QVERIFY(items->front().replace && !items->back().replace);
        QVERIFY(!PlanTransferItems(sources, folder, answer({ConflictChoice::Cancel, false})));
        // Into its own folder: nothing to do.
        QVERIFY(PlanTransferItems(sources, from.path, answer({ConflictChoice::Replace, true}))
                    ->empty());
    }

    // Copy and paste, cut and paste, through the list and the clipboard.
    void PasteCopiesAndMovesIntoTheListedFolder() {
        TempFolder from;
        TempFolder to;
        test::WriteStream(from / "a.mp3", 128, 20);
        test::WriteStream(from / "b.mp3", 128, 20);
        Touch(from, "notes.txt");
        CVornikList list;
        list.ListLoadFolder(QString::fromStdString(to.path), true, false);
        QTRY_VERIFY_WITH_TIMEOUT(list.Model().CurrentFolder().has_value(), kPatienceMs);

        const std::string a = from / "a.mp3";
        const std::string b = from / "b.mp3";
        QApplication::clipboard()->setMimeData(FilesMimeData({a, from / "notes.txt"}, false));
        list.ViewClipboard(CmdPaste);
        QTRY_VERIFY_WITH_TIMEOUT(Exists(to / "a.mp3"), kPatienceMs);
        QVERIFY(Exists(a));
        QVERIFY(!Exists(to / "notes.txt"));  // not a listed type

        QApplication::clipboard()->setMimeData(FilesMimeData({b}, true));
        list.ViewClipboard(CmdPaste);
        QTRY_VERIFY_WITH_TIMEOUT(!Exists(b), kPatienceMs);
        QVERIFY(Exists(to / "b.mp3"));
        const auto clipboardEmpty = [] {
            const QMimeData* data = QApplication::clipboard()->mimeData();
            return data == nullptr || ReadFilesMimeData(*data).paths.empty();
        };
        QTRY_VERIFY_WITH_TIMEOUT(clipboardEmpty(), kPatienceMs);
        QTRY_COMPARE_WITH_TIMEOUT(list.Table().rowCount(), 2, kPatienceMs);  // the watch's refill
    }

    // Drops by key state: Ctrl copies, Shift moves, one folder navigates, one file opens.
    void DropsFollowTheKeys() {
        TempFolder from;
        TempFolder to;
        test::WriteStream(from / "a.mp3", 128, 20);
        test::WriteStream(from / "b.mp3", 128, 20);
        CVornikList list;
        list.ListLoadFolder(QString::fromStdString(to.path), true, false);
        QTRY_VERIFY_WITH_TIMEOUT(list.Model().CurrentFolder().has_value(), kPatienceMs);
        QSignalSpy goTo(&list, &CVornikList::TreeGoToFolder);
        QSignalSpy details(&list, &CVornikList::ViewOpenDetails);
        const std::string a = from / "a.mp3";
        const std::string b = from / "b.mp3";

        list.ShowDroppedFiles({a}, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(Exists(to / "a.mp3"), kPatienceMs);
        QVERIFY(Exists(a));
        list.ShowDroppedFiles({b}, Qt::ShiftModifier);
        QTRY_VERIFY_WITH_TIMEOUT(!Exists(b), kPatienceMs);
        QVERIFY(goTo.isEmpty() && details.isEmpty());

        list.ShowDroppedFiles({from.path}, Qt::ControlModifier);
        QCOMPARE(goTo.size(), 1);  // a folder navigates whatever the keys
        list.ShowDroppedFiles({a}, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(details.size(), 1);
        QCOMPARE(goTo.last().front().toString(), QString::fromStdString(from.path));
    }

  private:
    TempFolder trashHome_;
};

}  // namespace vornik

QTEST_MAIN(vornik::FileOperationsTest)
#include "file_operations_test.moc"
