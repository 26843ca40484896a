// Deleting, renaming and the files' clipboard formats, on temporary folders only.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "command_ids.h"
#include "file_clipboard.h"
#include "file_operations.h"
#include "file_transfer.h"
#include "folder_snapshot.h"
#include "shell_test_support.h"
#include "transfer_plan.h"
#include "vornik_app.h"
#include "vornik_list.h"

namespace vornik {
namespace {

using test::TempFolder;
constexpr int kPatienceMs = 20000;

QString Touch(const TempFolder& folder, const std::string& name, const char* content = "x") {
    std::ofstream(folder / name) << content;
    return QString::fromStdString(folder / name);
}

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
        QCOMPARE(ReadFilesMimeData(*copy).paths, QStringList{"/m/c.mp3"});
    }

    // What Nautilus, Dolphin and Windows-era programs put on the clipboard.
    void ClipboardFilesAreReadFromEveryFormat() {
        struct Case {
            const char* name;
            std::vector<std::pair<QString, QByteArray>> formats;
            QStringList paths;
            FileEffect effect;
        };
        const QByteArray uris = "file:///m/a.mp3\r\nfile:///m/b%20c.mp3\r\n";
        const QStringList both{"/m/a.mp3", "/m/b c.mp3"};
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
        const QString dir = QString::fromStdString(folder.path);
        for (const QString& name :
             {QString(), QString("."), QString(".."), QString("x/y.mp3"), QString("b.mp3")}) {
            QVERIFY2(RenameFile(dir, "a.mp3", name).has_value(), qPrintable(name));
        }
        QFile b(QString::fromStdString(folder / "b.mp3"));
        QVERIFY(b.open(QIODevice::ReadOnly));
        QCOMPARE(b.readAll(), QByteArray("B"));  // never replaced
        QVERIFY(!RenameFile(dir, "a.mp3", "a.mp3"));
        QVERIFY(!RenameFile(dir, "a.mp3", "Ä new.MP3"));
        QVERIFY(QFileInfo::exists(dir + "/Ä new.MP3"));
        QVERIFY(!QFileInfo::exists(dir + "/a.mp3"));
    }

    void DeleteAsksThenTrashes() {
        TempFolder folder;
        const QString a = Touch(folder, "a.mp3");
        const QString b = Touch(folder, "b.mp3");
        Answers no;
        no.answer = false;
        DeleteOutcome outcome = DeleteFiles({a, b}, false, no.confirm());
        QCOMPARE(no.asked, QStringList{"Move 2 files to the trash?"});
        QCOMPARE(outcome.kept, (QStringList{a, b}));
        QVERIFY(QFileInfo::exists(a) && QFileInfo::exists(b));

        Answers yes;
        outcome = DeleteFiles({a}, false, yes.confirm());
        QCOMPARE(yes.asked, QStringList{"Move \"a.mp3\" to the trash?"});
        QCOMPARE(outcome.removed, QStringList{a});
        QVERIFY(!QFileInfo::exists(a));
        QVERIFY(QFileInfo::exists(QString::fromStdString(trashHome_ / "share/Trash/files/a.mp3")));

        Answers forGood;
        outcome = DeleteFiles({b}, true, forGood.confirm());
        QCOMPARE(forGood.asked, QStringList{"Delete \"b.mp3\" for good? This cannot be undone."});
        QVERIFY(!QFileInfo::exists(b));
        QVERIFY(!QFileInfo::exists(QString::fromStdString(trashHome_ / "share/Trash/files/b.mp3")));
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

        QVERIFY(list.Table().setData(list.Table().index(0, 0), "c.mp3"));
        QCOMPARE(list.Table().index(0, 0).data().toString(), QString("c.mp3"));
        QCOMPARE(list.Model().Displayed(0).fullPath, folder / "c.mp3");
        QVERIFY(QFileInfo::exists(QString::fromStdString(folder / "c.mp3")));
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
        const QString a = Touch(from, "a.mp3", "AAAA");
        const std::string target = to / "a.mp3";

        // Copy: the source stays.
        TransferResult result = RunTransfer({{a.toStdString(), target, false}}, false, go, none);
        QCOMPARE(result.done.size(), std::size_t{1});
        QVERIFY(QFileInfo::exists(a) && QFileInfo(QString::fromStdString(target)).size() == 4);

        // Nothing replaced without the word, even when the plan said nothing of it.
        Touch(from, "a.mp3", "NEW");
        result = RunTransfer({{a.toStdString(), target, false}}, false, go, none);
        QCOMPARE(result.failed.size(), std::size_t{1});
        QCOMPARE(QFileInfo(QString::fromStdString(target)).size(), 4);
        result = RunTransfer({{a.toStdString(), target, true}}, false, go, none);
        QCOMPARE(QFileInfo(QString::fromStdString(target)).size(), 3);

        // A move across file systems: copied, then the source goes.
        const QString b = Touch(from, "b.mp3", "BB");
        const RenameCall crossDevice = [](const std::string& f, const std::string& t, bool r) {
            return f.find(".vornik-part") == std::string::npos ? EXDEV : SystemRename(f, t, r);
        };
        result = RunTransfer({{b.toStdString(), to / "b.mp3", false}}, true, go, none, crossDevice);
        QCOMPARE(result.done.size(), std::size_t{1});
        QVERIFY(!QFileInfo::exists(b));
        QCOMPARE(QFileInfo(QString::fromStdString(to / "b.mp3")).size(), 2);

        // A copy that cannot be written loses nothing and leaves no part behind.
        const QString c = Touch(from, "c.mp3", "CC");
        result = RunTransfer({{c.toStdString(), to / "missing/c.mp3", false}}, true, go, none);
        QCOMPARE(result.failed.size(), std::size_t{1});
        QVERIFY(QFileInfo::exists(c));

        // Cancelled half-way: the partial copy goes, the source stays.
        std::ofstream(from / "big.mp3") << std::string(3 << 20, 'x');
        std::atomic<bool> cancel{false};
        result = RunTransfer(
            {{from / "big.mp3", to / "big.mp3", false}}, true, cancel,
            [&cancel](std::uint64_t done, std::uint64_t) { cancel = done > 0; }, crossDevice);
        QVERIFY(result.cancelled);
        QVERIFY(QFileInfo::exists(QString::fromStdString(from / "big.mp3")));
        QVERIFY(!QFileInfo::exists(QString::fromStdString(to / "big.mp3")));
        QCOMPARE(QDir(QString::fromStdString(to.path)).entryList(QDir::Files | QDir::Hidden).size(),
                 2);
    }

    void ConflictAnswersDecideThePlan() {
        TempFolder from;
        TempFolder to;
        const QStringList sources{Touch(from, "a.mp3"), Touch(from, "b.mp3"), Touch(from, "c.mp3")};
        Touch(to, "a.mp3");
        Touch(to, "b.mp3");
        const QString folder = QString::fromStdString(to.path);
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
        QVERIFY(PlanTransferItems(sources, QString::fromStdString(from.path),
                                  answer({ConflictChoice::Replace, true}))
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

        const QString a = QString::fromStdString(from / "a.mp3");
        const QString b = QString::fromStdString(from / "b.mp3");
        QApplication::clipboard()->setMimeData(
            FilesMimeData({a, QString::fromStdString(from / "notes.txt")}, false));
        list.ViewClipboard(CmdPaste);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(QString::fromStdString(to / "a.mp3")),
                                 kPatienceMs);
        QVERIFY(QFileInfo::exists(a));
        QVERIFY(!QFileInfo::exists(QString::fromStdString(to / "notes.txt")));  // not a listed type

        QApplication::clipboard()->setMimeData(FilesMimeData({b}, true));
        list.ViewClipboard(CmdPaste);
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(b), kPatienceMs);
        QVERIFY(QFileInfo::exists(QString::fromStdString(to / "b.mp3")));
        const auto clipboardEmpty = [] {
            const QMimeData* data = QApplication::clipboard()->mimeData();
            return data == nullptr || ReadFilesMimeData(*data).paths.isEmpty();
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
        const QString a = QString::fromStdString(from / "a.mp3");
        const QString b = QString::fromStdString(from / "b.mp3");

        list.ShowDroppedFiles({a}, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(QString::fromStdString(to / "a.mp3")),
                                 kPatienceMs);
        QVERIFY(QFileInfo::exists(a));
        list.ShowDroppedFiles({b}, Qt::ShiftModifier);
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(b), kPatienceMs);
        QVERIFY(goTo.isEmpty() && details.isEmpty());

        list.ShowDroppedFiles({QString::fromStdString(from.path)}, Qt::ControlModifier);
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
