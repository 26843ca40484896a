// SPDX-License-Identifier: GPL-3.0-or-later
// The "Settings" sheet and its five pages, driven as the user drives them.
#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QColorDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>

#include "attribute_catalogue.h"
#include "colour_button.h"
#include "colour_word.h"
#include "export_tree.h"
#include "main_frame.h"
#include "prop_list_columns.h"
#include "prop_list_filetypes.h"
#include "prop_list_general.h"
#include "prop_list_quality.h"
#include "prop_tree.h"
#include "settings_sheet.h"
#include "shell_test_support.h"
#include "summary_text.h"
#include "vornik_app.h"
#include "vornik_list.h"
#include "vornik_tree.h"
#include "vornik_view.h"

namespace vornik {
namespace {

using test::TempFolder;
using test::WriteStream;
constexpr int kPatienceMs = 20000;

enum Page { General, Quality, Columns, Filetypes, StartUp };

// Opens the sheet through the view at `page` and runs `steps` inside its loop;
// the steps end by pressing OK or Cancel.
void RunSheet(CVornikView& view, int page, const std::function<void(CSettingsSheet&)>& steps) {
    const QMetaObject::Connection connection =
        QObject::connect(&view, &CVornikView::SettingsSheetOpened, [&steps](CSettingsSheet* sheet) {
            QTimer::singleShot(0, sheet, [&steps, sheet] { steps(*sheet); });
        });
    view.ViewSettingsSheet(page);
    QObject::disconnect(connection);
}

template <typename P>
P& PageOf(CSettingsSheet& sheet, int index) {
    sheet.ShowPage(index);
    P* page = qobject_cast<P*>(sheet.Page(index));
    Q_ASSERT(page != nullptr);
    return *page;
}

// The live settings of the list and tree as the settings file would get them.
std::vector<CIniFile::Section> Saved(CVornikView& view) {
    CIniFile ini;
    view.SaveSettings(ini);
    return ini.Sections();
}

// Groups of the attribute catalogue: a new group starts where the group text changes.
std::size_t GroupCount() {
    std::size_t groups = 0;
    std::string last;
    for (const auto& [id, attribute] : BuildAttributeCatalogue()) {
        if (groups == 0 || attribute.group != last) {
            ++groups;
            last = attribute.group;
        }
    }
    return groups;
}

QTreeWidgetItem* GroupItem(CExportTree& tree, const QString& name) {
    for (int g = 0; g < tree.topLevelItemCount(); ++g) {
        if (tree.topLevelItem(g)->text(0) == name) {
            return tree.topLevelItem(g);
        }
    }
    return nullptr;
}

// A click on the box of `item`, where the style puts it.
void ClickBox(CExportTree& tree, QTreeWidgetItem* item) {
    tree.scrollToItem(item);
    QStyleOptionViewItem option;
    option.initFrom(tree.viewport());
    option.rect = tree.visualItemRect(item);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = item->text(0);
    const QRect box =
        tree.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &tree);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, box.center());
}

std::vector<Qt::CheckState> Boxes(QTreeWidgetItem* group) {
    std::vector<Qt::CheckState> boxes{group->checkState(0)};
    for (int c = 0; c < group->childCount(); ++c) {
        boxes.push_back(group->child(c)->checkState(0));
    }
    return boxes;
}

}  // namespace

class SettingsSheetTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() { RegisterWindows(); }

    void OpensAtTheAskedPageWithItsFivePages() {
        CVornikView view;
        const std::vector<std::pair<int, int>> cases = {{0, 0}, {2, 2}, {4, 4}, {10, 0}, {25, 0}};
        for (const auto& [asked, shown] : cases) {
            RunSheet(view, asked, [shown = shown](CSettingsSheet& sheet) {
                QCOMPARE(sheet.windowTitle(), QString("Settings"));
                QVERIFY(sheet.isModal());
                QStringList titles;
                for (int index = 0; index < sheet.PageCount(); ++index) {
                    titles << sheet.Page(index)->Title();
                }
                QCOMPARE(titles,
                         (QStringList{"General", "Quality", "Columns", "Filetypes", "Start up"}));
                QCOMPARE(sheet.CurrentPage(), shown);
                sheet.reject();
            });
        }
    }

    void CancelLeavesEverySettingAsItWas() {
        CVornikView view;
        const std::vector<CIniFile::Section> before = Saved(view);
        RunSheet(view, General, [](CSettingsSheet& sheet) {
            auto& general = PageOf<CPropListGeneral>(sheet, General);
            general.FramesEdit()->setText("5");
            general.XmlBox()->toggle();
            PageOf<CPropListQuality>(sheet, Quality).GoodButton()->SetColour(Qt::black);
            PageOf<CPropListQuality>(sheet, Quality).MonoQualityBox()->toggle();
            auto& columns = PageOf<CPropListColumns>(sheet, Columns);
            columns.Tree()->ToggleItem(columns.Tree()->topLevelItem(0));
            columns.TooltipsBox()->toggle();
            auto& types = PageOf<CPropListFiletypes>(sheet, Filetypes);
            types.Extensions()->clear();
            auto& startUp = PageOf<CPropTree>(sheet, StartUp);
            startUp.InitialDirectoryEdit()->setText("/elsewhere");
            startUp.UseRecentBox()->toggle();
            sheet.reject();
        });
        QCOMPARE(Saved(view), before);
        QCOMPARE(view.List()->Model().Columns().ShownCount(), 8);
    }

    // The General page's rules at OK, and what each outcome does to the list.
    void GeneralPageAppliesByItsRules() {
        struct Case {
            QString frames;
            bool unknown;
            int frameres;
            bool readAllUnknown;
            QString framesPane;
        };
        const std::vector<Case> cases = {
            {"0", true, 0, true, "Reading all frames"},
            {"70000", false, 70000, false, "Reading at most 70000 frames"},
            {"", false, 0, true, "Reading all frames"},  // no number: the box is not taken
            {"-3", true, -3, true, "Reading all frames"},
        };
        for (const Case& c : cases) {
            CVornikView view;
            QSignalSpy status(&view, &CVornikView::FrameSetStatusText);
            RunSheet(view, General, [&c](CSettingsSheet& sheet) {
                auto& general = PageOf<CPropListGeneral>(sheet, General);
                general.FramesEdit()->setText(c.frames);
                general.ReadAllUnknownBox()->setChecked(c.unknown);
                sheet.accept();
            });
            const ListSettings& settings = view.List()->Model().Settings();
            QCOMPARE(settings.frameres, c.frameres);
            QCOMPARE(settings.readAllUnknown, c.readAllUnknown);
            QTRY_VERIFY(!status.isEmpty() && status.last().at(0).toInt() == kFramesPane &&
                        status.last().at(1).toString() == c.framesPane);
        }
    }

    void FramesEditTakesDigitsOnly() {
        ListPageValues values;
        int flags = 0;
        CPropListGeneral page(values, &flags);
        page.FramesEdit()->clear();
        QTest::keyClicks(page.FramesEdit(), "12ab3");
        QCOMPARE(page.FramesEdit()->text(), QString("123"));
    }

    // What OK does to a filled list: a refill when a page asks for one, otherwise only a new
    // look. Visiting the Columns page always asks.
    void OkRefillsOnlyWhenAPageAsks() {
        TempFolder folder;
        WriteStream(folder / "a.mp3", 128, 20);
        WriteStream(folder / "b.mp3", 64, 20);
        struct Case {
            const char* name;
            int page;
            std::function<void(CSettingsSheet&)> steps;
            bool refills;
        };
        const std::vector<Case> cases = {
            {"nothing changed", General, [](CSettingsSheet& s) { s.accept(); }, false},
            {"colour only", Quality,
             [](CSettingsSheet& s) {
                 PageOf<CPropListQuality>(s, Quality).BadButton()->SetColour(Qt::blue);
                 s.accept();
             },
             false},
            {"mono quality", Quality,
             [](CSettingsSheet& s) {
                 PageOf<CPropListQuality>(s, Quality).MonoQualityBox()->toggle();
                 s.accept();
             },
             true},
            {"columns visited", Columns, [](CSettingsSheet& s) { s.accept(); }, true},
            {"extension added", Filetypes,
             [](CSettingsSheet& s) {
                 auto& types = PageOf<CPropListFiletypes>(s, Filetypes);
                 types.NewExtensionEdit()->setText("ogg");
                 QTest::mouseClick(types.AddButton(), Qt::LeftButton);
                 s.accept();
             },
             false},
            {"start-up folder", StartUp,
             [](CSettingsSheet& s) {
                 PageOf<CPropTree>(s, StartUp).InitialDirectoryEdit()->setText("/tmp");
                 s.accept();
             },
             false},
        };
        for (const Case& c : cases) {
            CVornikView view;
            CVornikList& list = *view.List();
            list.ListLoadFolder(QString::fromStdString(folder.path), true, false);
            QTRY_COMPARE_WITH_TIMEOUT(list.Table().rowCount(), 2, kPatienceMs);
            const std::uint64_t filled = list.Model().FillCount();
            RunSheet(view, c.page, c.steps);
            QTRY_VERIFY_WITH_TIMEOUT(test::ListSettled(list) && list.Table().rowCount() == 2,
                                     kPatienceMs);
            QVERIFY2((list.Model().FillCount() != filled) == c.refills, c.name);
        }
    }

    void ColourButtonOpensTheDialogAtItsColourWithWhiteCustomColours() {
        ColourButton button(QColor(0x11, 0x22, 0x33));
        QSignalSpy changed(&button, &ColourButton::ColourChanged);
        bool seen = false;
        const auto answer = [&seen](const QColor& pick, bool accept) {
            QTimer::singleShot(0, [&seen, pick, accept] {
                auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog != nullptr);
                seen = true;
                if (accept) {
                    dialog->setCurrentColor(pick);
                    dialog->accept();
                } else {
                    dialog->reject();
                }
            });
        };
        for (int index = 0; index < QColorDialog::customCount(); ++index) {
            QColorDialog::setCustomColor(index, Qt::red);  // as an earlier program left them
        }
        answer(QColor(0x40, 0x50, 0x60), true);
        button.click();
        QVERIFY(seen);
        QCOMPARE(QColorDialog::customColor(0), QColor(Qt::white));
        QCOMPARE(QColorDialog::customColor(15), QColor(Qt::white));
        QCOMPARE(button.Colour(), QColor(0x40, 0x50, 0x60));
        QCOMPARE(changed.size(), 1);

        // Custom colours put in by the user stay for the program's life; Cancel keeps the colour.
        QColorDialog::setCustomColor(3, Qt::green);
        seen = false;
        answer(QColor(Qt::black), false);
        button.click();
        QVERIFY(seen);
        QCOMPARE(QColorDialog::customColor(3), QColor(Qt::green));
        QCOMPARE(button.Colour(), QColor(0x40, 0x50, 0x60));
        QCOMPARE(changed.size(), 1);
    }

    void ColourChangeRepaintsTheQualityCells() {
        TempFolder folder;
        WriteStream(folder / "a.mp3", 128, 20);
        CVornikView view;
        CVornikList& list = *view.List();
        list.ListLoadFolder(QString::fromStdString(folder.path), true, false);
        QTRY_COMPARE_WITH_TIMEOUT(list.Table().rowCount(), 1, kPatienceMs);
        const int quality = list.Model().Columns().ColumnOf(kQualityColumnId);
        const int figure = list.Model().Displayed(0).record.qualityFigure;
        QVERIFY(figure >= 0);
        RunSheet(view, Quality, [](CSettingsSheet& s) {
            auto& page = PageOf<CPropListQuality>(s, Quality);
            for (ColourButton* button :
                 {page.GoodButton(), page.NotBadButton(), page.BadButton()}) {
                button->SetColour(QColor(1, 2, 3));
            }
            s.accept();
        });
        QCOMPARE(list.Model().Settings().colorGood, WordFromColour(QColor(1, 2, 3)));
        QCOMPARE(list.Table().index(0, quality).data(Qt::BackgroundRole).value<QColor>(),
                 QColor(1, 2, 3));
    }

    // The three-state boxes, clicked where the style draws them.
    void AttributeTreeBoxesFollowTheirGroup() {
        CExportTree tree;
        tree.resize(300, 900);
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        tree.Fill({{"Lame Tag", "Tag Revision"}, {"General", "Name"}, {"Nowhere", "Name"}});
        QCOMPARE(static_cast<std::size_t>(tree.topLevelItemCount()), GroupCount());
        QTreeWidgetItem* lame = GroupItem(tree, "Lame Tag");
        QVERIFY(lame != nullptr);
        QCOMPARE(lame->childCount(), 13);
        QCOMPARE(lame->checkState(0), Qt::PartiallyChecked);
        QCOMPARE(GroupItem(tree, "ID3v1")->checkState(0), Qt::Unchecked);

        const std::vector<Qt::CheckState> empty(14, Qt::Unchecked);
        const std::vector<Qt::CheckState> full(14, Qt::Checked);
        ClickBox(tree, lame);  // partly checked clears
        QCOMPARE(Boxes(lame), empty);
        ClickBox(tree, lame);
        QCOMPARE(Boxes(lame), full);
        ClickBox(tree, lame->child(4));
        QCOMPARE(lame->checkState(0), Qt::PartiallyChecked);
        ClickBox(tree, lame->child(4));
        QCOMPARE(lame->checkState(0), Qt::Checked);
        ClickBox(tree, lame);
        QCOMPARE(Boxes(lame), empty);

        // Space on the current node toggles it as well.
        tree.setCurrentItem(lame->child(0));
        tree.setFocus();
        QTest::keyClick(tree.viewport(), Qt::Key_Space);
        QCOMPARE(lame->child(0)->checkState(0), Qt::Checked);
        QCOMPARE(tree.GetSelection(),
                 (ExportTreeState::Selection{{"General", "Name"},
                                             {"Lame Tag", lame->child(0)->text(0).toStdString()}}));
    }

    void ColumnsPageRebuildsTheColumnsKeepingWidths() {
        CVornikView view;
        CVornikList& list = *view.List();
        list.setColumnWidth(1, 321);  // Encoder, as the user left it
        RunSheet(view, Columns, [](CSettingsSheet& s) {
            CExportTree& tree = *PageOf<CPropListColumns>(s, Columns).Tree();
            tree.ToggleItem(GroupItem(tree, "ID3v1")->child(0));    // Title, new at the end
            tree.ToggleItem(GroupItem(tree, "General")->child(0));  // Name goes
            s.accept();
        });
        const ColumnTable& columns = list.Model().Columns();
        // In the tree's order, which is the catalogue's.
        QCOMPARE(columns.ShownIds(), (std::vector<int>{1, 2, 4, 5, 6, 7, 9, 200}));
        QCOMPARE(list.Table().columnCount(), 8);
        QCOMPARE(list.columnWidth(0), 321);
        QCOMPARE(list.Table().headerData(7, Qt::Horizontal).toString(),
                 QString::fromStdString(columns.Find(200)->name));

        // Every attribute unchecked: a list without columns, which the page does not refuse.
        RunSheet(view, Columns, [](CSettingsSheet& s) {
            CExportTree& tree = *PageOf<CPropListColumns>(s, Columns).Tree();
            for (int g = 0; g < tree.topLevelItemCount(); ++g) {
                while (tree.topLevelItem(g)->checkState(0) != Qt::Unchecked) {
                    tree.ToggleItem(tree.topLevelItem(g));
                }
            }
            PageOf<CPropListColumns>(s, Columns).TooltipsBox()->setChecked(false);
            s.accept();
        });
        QCOMPARE(list.Table().columnCount(), 0);
        QVERIFY(!list.Model().Settings().tooltips);
    }

    void FiletypesPageAddsAndRemoves() {
        TempFolder folder;
        WriteStream(folder / "a.mp3", 128, 20);
        CVornikView view;
        CVornikList& list = *view.List();
        RunSheet(view, Filetypes, [](CSettingsSheet& s) {
            auto& types = PageOf<CPropListFiletypes>(s, Filetypes);
            QListWidget& entries = *types.Extensions();
            QCOMPARE(entries.count(), 5);
            QCOMPARE(entries.item(0)->text(), QString(".mp+"));    // sorted
            QTest::mouseClick(types.AddButton(), Qt::LeftButton);  // empty: nothing
            QCOMPARE(entries.count(), 5);
            types.NewExtensionEdit()->setText("MP3");
            QTest::mouseClick(types.AddButton(), Qt::LeftButton);
            QTest::mouseClick(types.AddButton(), Qt::LeftButton);  // no duplicate check
            QCOMPARE(entries.count(), 7);
            QCOMPARE(types.NewExtensionEdit()->text(), QString("MP3"));
            QVERIFY(entries.findItems(".MP3", Qt::MatchExactly | Qt::MatchCaseSensitive).size() ==
                    2);
            entries.clearSelection();
            QTest::mouseClick(types.RemoveButton(), Qt::LeftButton);  // nothing selected
            QCOMPARE(entries.count(), 7);
            while (entries.count() > 0) {
                entries.item(0)->setSelected(true);
                QTest::mouseClick(types.RemoveButton(), Qt::LeftButton);
            }
            types.NewExtensionEdit()->setText(".MP3");
            QTest::mouseClick(types.AddButton(), Qt::LeftButton);
            s.accept();
        });
        QCOMPARE(list.Model().Settings().fileTypes, std::string(".MP3;"));
        list.ListLoadFolder(QString::fromStdString(folder.path), true, false);
        QTRY_COMPARE_WITH_TIMEOUT(list.Table().rowCount(), 1, kPatienceMs);

        RunSheet(view, Filetypes, [](CSettingsSheet& s) {
            PageOf<CPropListFiletypes>(s, Filetypes).Extensions()->clear();
            s.accept();
        });
        QCOMPARE(list.Model().Settings().fileTypes, std::string());
        list.ViewRefresh(false);
        QTRY_COMPARE_WITH_TIMEOUT(list.Table().rowCount(), 0, kPatienceMs);
    }

    void StartUpFolderIsDisabledWhileTheMostRecentOneIsUsed() {
        TreeSettings values{"/music", true};
        CPropTree page(values);
        QVERIFY(!page.InitialDirectoryEdit()->isEnabled());
        QVERIFY(!page.BrowseButton()->isEnabled());
        page.UseRecentBox()->setChecked(false);
        QVERIFY(page.InitialDirectoryEdit()->isEnabled());
        QVERIFY(page.BrowseButton()->isEnabled());
        const QString deep = "/" + QString("d").repeated(300) + "/" + QString("e").repeated(300);
        page.InitialDirectoryEdit()->setText(deep);
        page.Apply();
        QCOMPARE(values.initDir, deep.toStdString());  // a long Linux path is kept whole
        QVERIFY(!values.useRecent);
    }

    // One setting changed on each page survives OK, exit and a new start.
    void SettingsSurviveARestart() {
        TempFolder folder;
        const std::string settingsFile = folder / "vornik.ini";
        std::string settingsPath;
        std::unique_ptr<CMainFrame> frame(StartMainFrame({settingsFile, {}}, settingsPath));
        QVERIFY(frame);
        RunSheet(*frame->View(), General, [&folder](CSettingsSheet& s) {
            PageOf<CPropListGeneral>(s, General).FramesEdit()->setText("250");
            PageOf<CPropListQuality>(s, Quality).NotBadButton()->SetColour(QColor(10, 20, 30));
            CExportTree& tree = *PageOf<CPropListColumns>(s, Columns).Tree();
            tree.ToggleItem(GroupItem(tree, "ID3v1")->child(1));
            auto& types = PageOf<CPropListFiletypes>(s, Filetypes);
            types.NewExtensionEdit()->setText("mpa");
            QTest::mouseClick(types.AddButton(), Qt::LeftButton);
            PageOf<CPropTree>(s, StartUp)
                .InitialDirectoryEdit()
                ->setText(QString::fromStdString(folder.path));
            s.accept();
        });
        QTRY_COMPARE(frame->StatusText(1), QString("Reading at most 250 frames"));
        frame->close();
        QVERIFY(SaveProgramSettings(*frame, settingsPath));
        frame.reset();

        std::unique_ptr<CMainFrame> again(StartMainFrame({settingsFile, {}}, settingsPath));
        CVornikView& view = *again->View();
        const ListSettings& settings = view.List()->Model().Settings();
        QCOMPARE(settings.frameres, 250);
        QCOMPARE(settings.colorNotBad, WordFromColour(QColor(10, 20, 30)));
        // Written back in the list box's order.
        QCOMPARE(settings.fileTypes, std::string(".mp+;.mp1;.mp2;.mp3;.mpa;.mpc;"));
        QCOMPARE(view.List()->Model().Columns().ShownIds().back(), 201);
        QCOMPARE(view.Tree()->Settings().initDir, folder.path);
        QTRY_COMPARE_WITH_TIMEOUT(view.Tree()->GetSelectedPath(),
                                  QString::fromStdString(folder.path), kPatienceMs);
        again->close();
    }
};

}  // namespace vornik

QTEST_MAIN(vornik::SettingsSheetTest)
#include "settings_sheet_test.moc"
