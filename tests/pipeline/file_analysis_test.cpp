// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_analysis.h"

#include <gtest/gtest.h>

#include "stream_builder.h"

namespace vornik {
namespace {

using test::StreamBuilder;
using test::TempFile;

// Joint stereo, every frame mid/side, no short blocks and no padding: the statistics name no
// encoder.
std::vector<std::uint8_t> UnknownEncoderFrames(int count) {
    test::FrameShape shape;
    shape.mode = 1;
    shape.modeExtension = 2;
    return StreamBuilder().frames(shape, count).data();
}

TEST(FileAnalysis, MpegAudioFileIsDone) {
    const TempFile file(UnknownEncoderFrames(50));
    AnalysisOptions options;
    options.frameBudget = 10;
    options.readAllUnknown = false;
    const FileAnalysis result = AnalyseFile(file.path(), "song.mp3", options);
    EXPECT_EQ(result.outcome, AnalysisOutcome::Done);
    EXPECT_EQ(result.texts[kSlotName], "song.mp3");
    EXPECT_EQ(result.texts[kSlotFrames], "10+");
    EXPECT_EQ(result.texts[kSlotEncoder], "Unknown");
    EXPECT_EQ(result.record.qualityFigure, 1);  // 128 kbps joint stereo, unknown encoder
    EXPECT_EQ(result.texts[kSlotQuality], "ok");
}

// A budgeted scan that leaves the encoder "Unknown" walks the whole file once more.
TEST(FileAnalysis, UnknownEncoderIsReadWholeWhenAsked) {
    const TempFile file(UnknownEncoderFrames(50));
    AnalysisOptions options;
    options.frameBudget = 10;
    options.readAllUnknown = true;
    const FileAnalysis result = AnalyseFile(file.path(), "song.mp3", options);
    EXPECT_EQ(result.texts[kSlotEncoder], "Unknown");
    EXPECT_EQ(result.texts[kSlotFrames], "49");

    // A file whose statistics name an encoder is not read again.
    const TempFile plain(StreamBuilder().frames({}, 50).data());
    const FileAnalysis named = AnalyseFile(plain.path(), "plain.mp3", options);
    EXPECT_EQ(named.texts[kSlotEncoder], "Plugger");
    EXPECT_EQ(named.texts[kSlotFrames], "10+");
}

TEST(FileAnalysis, FilesWithoutAudioSayWhyAndEngineErrorsAreRows) {
    const TempFile text(std::vector<std::uint8_t>(5000, 'x'));
    const TempFile empty(std::vector<std::uint8_t>{});
    const TempFile emptyMpc(std::vector<std::uint8_t>{}, ".mpc");
    const struct {
        std::string path;
        AnalysisOutcome outcome;
        std::string encoder;
    } cases[] = {
        {text.path(), AnalysisOutcome::NoAudio, "no MPEG audio"},
        {empty.path(), AnalysisOutcome::NoAudio, "empty file"},
        {emptyMpc.path(), AnalysisOutcome::NoAudio, "empty file"},
        {"/no/such/file.mp3", AnalysisOutcome::Unreadable,
         "cannot open the file: No such file or directory"},
        {"/", AnalysisOutcome::Unreadable, "is a folder"},
    };
    for (const auto& c : cases) {
        const FileAnalysis result = AnalyseFile(c.path, "x.mp3", {});
        EXPECT_EQ(result.outcome, c.outcome) << c.path;
        EXPECT_EQ(result.noAudioReason, c.encoder) << c.path;
        EXPECT_EQ(result.texts[kSlotEncoder], c.encoder) << c.path;
        EXPECT_EQ(result.texts[kSlotName], "x.mp3") << c.path;
        EXPECT_EQ(result.record.qualityFigure, -1) << c.path;
    }

    // A stream behind more than the sync search's megabyte of zeros: the quick test finds it
    // in the middle, the engine not from the start, and gives up.
    const TempFile late(StreamBuilder().junk(1100000).frames({}, 3000).data());
    const FileAnalysis result = AnalyseFile(late.path(), "late.mp3", {});
    EXPECT_EQ(result.outcome, AnalysisOutcome::Done);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(result.texts[kSlotEncoder], "--");
    EXPECT_EQ(result.texts[kSlotBitrate], "--");
    EXPECT_EQ(result.texts[kSlotQuality], "Unknown");
    EXPECT_EQ(result.record.qualityFigure, -1);
}

TEST(FileAnalysis, MpegPlusByExtensionInAnyCase) {
    EXPECT_TRUE(IsMpegPlusPath("a/b.MPC"));
    EXPECT_TRUE(IsMpegPlusPath("b.mp+"));
    EXPECT_FALSE(IsMpegPlusPath("b.mp3"));
    EXPECT_FALSE(IsMpegPlusPath("mpc"));
    // "MP+" stream version 7, 100 frames.
    std::vector<std::uint8_t> header{'M', 'P', '+', 0x17, 100, 0, 0, 0, 0, 0, 0x20, 0};
    header.resize(4000, 0);
    const TempFile file(header, ".MPC");
    const FileAnalysis result = AnalyseFile(file.path(), "x.MPC", {});
    EXPECT_EQ(result.outcome, AnalysisOutcome::Done);
    EXPECT_EQ(result.texts[kSlotMpcStream], "SV7");
    EXPECT_EQ(result.texts[kSlotEncoder], "mppenc");
}

}  // namespace
}  // namespace vornik
