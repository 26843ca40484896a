// SPDX-License-Identifier: GPL-3.0-or-later
// The tag dialog with its music CRC check, and the list's export.
#include <QPointer>
#include <QProgressBar>
#include <QTest>
#include <sstream>

#include "attribute_texts.h"
#include "encoder_support.h"
#include "list_export.h"
#include "replace_file.h"
#include "scan_command.h"
#include "scan_helpers.h"
#include "shell_test_support.h"
#include "tag_dlg.h"
#include "tag_page.h"
#include "tag_rows.h"
#include "tag_thread.h"
#include "vbr_builders.h"
#include "vornik_app.h"
#include "vornik_list.h"

namespace vornik {
namespace {

using test::TempFolder;
constexpr int kPatienceMs = 30000;

std::vector<std::uint8_t> Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

QStringList Fields(const TagRows& rows) {
    QStringList fields;
    for (const auto& row : rows) {
        fields << row.first;
    }
    return fields;
}

// A file encoded by lame, with its record and texts as the list has them.
struct Encoded {
    std::string path;
    Mp3Info record{};
    AttributeTexts texts;
};

Encoded Encode(const TempFolder& folder, const std::string& name, const char* command) {
    Encoded encoded;
    const std::string wav = folder / (name + ".wav");
    encoded.path = folder / name;
    test::WriteTestSignal(wav, 44100, 2, 3.0);
    if (test::RunCommand(test::EncoderCommand(command, wav, encoded.path)) != 0) {
        return encoded;
    }
    encoded.record = test::ScanPath(encoded.path).record;
    ComputeAttributeTexts(encoded.texts, encoded.record, false);
    return encoded;
}

std::string CliScan(const std::string& folder, const std::vector<int>& columns,
                    const std::string& format) {
    ScanOptions options;
    options.paths = {folder};
    options.columns = columns;
    options.format = format;
    std::ostringstream out;
    std::ostringstream err;
    RunScan(options, out, err, nullptr);
    return out.str();
}

}  // namespace

class TagsExportTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() { RegisterWindows(); }

    void PagesAndRowsFollowTheHeaders() {
        Mp3Info record{};
        QVERIFY(TagPagesOf(record).empty());
        record.hasVbri = true;
        QCOMPARE(TagPagesOf(record), std::vector<TagPageKind>{TagPageKind::Vbri});
        record.hasXing = true;
        QCOMPARE(TagPagesOf(record),
                 (std::vector<TagPageKind>{TagPageKind::Xing, TagPageKind::Vbri}));
        record.lameTagValid = true;
        QCOMPARE(TagPagesOf(record), (std::vector<TagPageKind>{TagPageKind::Lame, TagPageKind::Xing,
                                                               TagPageKind::Vbri}));

        record.xingFlags = 0x0F;
        record.xingFrames = 100;
        record.xingBytes = 4000;
        record.xingVbrScale = 57;
        QCOMPARE(XingTagRows(record), (TagRows{{"Frames", "100"},
                                               {"Total Bitstream Bytes", "4000"},
                                               {"VBR Scale", "57"},
                                               {"Table Of Contents", "yes"}}));
        record.xingFlags = 0x05;
        QCOMPARE(Fields(XingTagRows(record)), (QStringList{"Frames", "Table Of Contents"}));

        QCOMPARE(HexWord(0x0102), QString("01 02"));
        QCOMPARE(HexWord(0x1234), QString("12 34"));
        QCOMPARE(HexWord(0xABCD), QString("AB CD"));
        record.vbriUnknown2 = 0x0A31;
        record.vbriFramesPerEntry = 7;
        const TagRows vbri = VbriTagRows(record);
        QCOMPARE(vbri.size(), std::size_t{9});
        QCOMPARE(vbri[1], (std::pair<QString, QString>{"Unknown Word #2 (hex)", "0A 31"}));
        QCOMPARE(vbri.back(), (std::pair<QString, QString>{"Size of Table Entries (frames)", "7"}));

        AttributeTexts texts;
        texts[kSlotAbrBitrate] = "128";
        record.lameVersion = "LAME3.100xyz";
        const std::vector<std::pair<int, QString>> methods = {
            {1, "Bitrate"}, {2, "ABR Bitrate"}, {3, "Minimum Bitrate"}, {4, "Minimum Bitrate"}};
        for (const auto& [method, field] : methods) {
            record.lameVbrMethod = static_cast<std::uint8_t>(method);
            const TagRows rows = LameTagRows(record, texts, MusicCrcState::Calculating);
            QCOMPARE(rows.size(), std::size_t{16});
            QCOMPARE(rows[10], (std::pair<QString, QString>{field, "128"}));
            QCOMPARE(rows[1].second, QString("LAME3.100"));
            QCOMPARE(rows.back(), (std::pair<QString, QString>{"Music CRC", "Calculating..."}));
        }
    }

    void GeneratedHeadersGiveTheirPages() {
        TempFolder folder;
        test::FrameShape frame;
        test::XingShape invalid;  // a Xing header with no Lame tag
        std::vector<std::uint8_t> bytes = test::BuildXingFrame(frame, invalid);
        const std::vector<std::uint8_t> audio = test::StreamBuilder().frames(frame, 30).data();
        bytes.insert(bytes.end(), audio.begin(), audio.end());
        const Mp3Info xing = test::ScanBytes(bytes).record;
        QPointer<CTagDlg> dialog = new CTagDlg(xing, {}, "", "x.mp3");
        QCOMPARE(dialog->windowTitle(), QString("Tags - [x.mp3]"));
        QCOMPARE(dialog->PageCount(), 1);
        QCOMPARE(dialog->Page(0)->Kind(), TagPageKind::Xing);
        QVERIFY(dialog->Page(0)->Progress() == nullptr);  // no Lame page, no worker
        dialog->close();

        std::vector<std::uint8_t> vbriBytes = test::BuildVbriFrame(frame, test::VbriShape{});
        vbriBytes.insert(vbriBytes.end(), audio.begin(), audio.end());
        const Mp3Info vbri = test::ScanBytes(vbriBytes).record;
        dialog = new CTagDlg(vbri, {}, "", "v.mp3");
        QCOMPARE(dialog->PageCount(), 1);
        QCOMPARE(dialog->Page(0)->Rows()[1].second, QString("0A 31"));
        dialog->close();
        QTRY_VERIFY(dialog.isNull());
    }

    // On real lame files the CRC the tag stores is found again; changed audio is "corrupt".
    void MusicCrcOfRealFiles() {
        TempFolder folder;
        const Encoded cbr = Encode(folder, "cbr.mp3", "lame --quiet -b 128 %s %s");
        const Encoded vbr = Encode(folder, "vbr.mp3", "lame --quiet -V 2 %s %s");
        QVERIFY(cbr.record.lameTagValid && vbr.record.lameTagValid);

        CTagDlg cbrDialog(cbr.record, cbr.texts, cbr.path, "cbr.mp3");
        cbrDialog.setAttribute(Qt::WA_DeleteOnClose, false);
        QCOMPARE(cbrDialog.PageCount(), 2);  // Lame and Xing ("Info")
        QCOMPARE(cbrDialog.Page(0)->Rows()[10].first, QString("Bitrate"));
        QTRY_VERIFY_WITH_TIMEOUT(cbrDialog.CrcState() != MusicCrcState::Calculating, kPatienceMs);
        QCOMPARE(cbrDialog.CrcState(), MusicCrcState::Ok);
        QCOMPARE(cbrDialog.Page(0)->Rows().back().second, QString("OK"));

        std::vector<std::uint8_t> bytes = Read(vbr.path);
        bytes[bytes.size() / 2] ^= 0x55;
        const std::string changed = folder / "changed.mp3";
        Write(changed, bytes);
        CTagDlg changedDialog(vbr.record, vbr.texts, changed, "changed.mp3");
        changedDialog.setAttribute(Qt::WA_DeleteOnClose, false);
        QTRY_VERIFY_WITH_TIMEOUT(changedDialog.CrcState() != MusicCrcState::Calculating,
                                 kPatienceMs);
        QCOMPARE(changedDialog.Page(0)->Rows().back().second, QString("corrupt"));

        // The file moved away after the list read it (whose record says the CRC was done):
        // no verdict, and the reason.
        Mp3Info listed = cbr.record;
        listed.musicCrcDone = true;
        listed.musicCrcOk = true;
        CTagDlg movedDialog(listed, cbr.texts, folder / "moved-away.mp3", "moved-away.mp3");
        movedDialog.setAttribute(Qt::WA_DeleteOnClose, false);
        QTRY_VERIFY_WITH_TIMEOUT(movedDialog.CrcState() != MusicCrcState::Calculating, kPatienceMs);
        QCOMPARE(movedDialog.CrcState(), MusicCrcState::Failed);
        QCOMPARE(movedDialog.Page(0)->Rows().back().second,
                 QString("could not be computed: cannot open the file: No such file or "
                         "directory"));

        // Closing while the CRC is computed: the dialog goes at once, the worker ends alone.
        QPointer<CTagDlg> closing = new CTagDlg(vbr.record, vbr.texts, vbr.path, "vbr.mp3");
        closing->show();
        closing->close();
        QTRY_VERIFY(closing.isNull());
        QTRY_VERIFY_WITH_TIMEOUT(CTagThread::AllEnded(), kPatienceMs);
    }

    void ExportFormatsFollowTheExtension() {
        const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
            {"/m/list.txt", "txt"}, {"/m/list.xml", "xml"}, {"/m/list.json", "json"},
            {"/m/list.csv", "csv"}, {"/m/list.XML", {}},    {"/m/list.Txt", {}},
            {"/m/list", {}},        {"/m.d/list", {}},      {"/m/list.xml.bak", {}}};
        for (const auto& [path, format] : cases) {
            QCOMPARE(ExportFormatOf(path), format);
        }
    }

    // The list's export and `vornik-cli scan` write the same bytes for every format.
    void ExportIsTheScansDocument() {
        TempFolder folder;
        test::FrameShape shape;
        for (const auto& [name, kbps] : std::vector<std::pair<std::string, int>>{
                 {"b & c.mp3", 128}, {"a.mp3", 64}, {"c.MP3", 192}}) {
            shape.kbps = kbps;
            const std::vector<std::uint8_t> bytes = test::StreamBuilder().frames(shape, 40).data();
            Write(folder / name, bytes);
        }
        CVornikList list;
        list.ListLoadFolder(QString::fromStdString(folder.path), true, false);
        QTRY_COMPARE_WITH_TIMEOUT(list.Table().rowCount(), 3, kPatienceMs);
        const std::vector<int> columns = list.Model().Columns().ShownIds();
        for (const char* format : {"txt", "xml", "json", "csv"}) {
            const std::string document = ListDocument(list.Model(), format);
            QVERIFY(!document.empty());
            QCOMPARE(document, CliScan(folder.path, columns, format));
        }

        // Written whole or not at all: a folder that is not there leaves nothing behind.
        QVERIFY(!WriteFileReplacing(folder / "missing/list.xml", "x"));
        const std::string target = folder / "list.xml";
        Write(target, {'o', 'l', 'd'});
        QVERIFY(WriteFileReplacing(target, "new"));
        QCOMPARE(Read(target), (std::vector<std::uint8_t>{'n', 'e', 'w'}));
    }
};

}  // namespace vornik

QTEST_MAIN(vornik::TagsExportTest)
#include "tags_export_test.moc"
