// SPDX-License-Identifier: GPL-3.0-or-later
#include "tag_thread.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <thread>

#include "gui_mailbox.h"
#include "mp3_file.h"

namespace vornik {

// Shared by the dialog and its worker; the mailbox takes the worker's calls to the receiver
// while the dialog lives, `cancelled` is the worker's stop token.
struct CTagThread::Link {
    TagCrcReceiver receiver;  // the GUI thread's
    std::shared_ptr<GuiMailbox<TagCrcReceiver>> mailbox;
    std::atomic<bool> cancelled{false};
};

namespace {

class CrcProgress : public CMp3File::sink_mini {
  public:
    CrcProgress(std::function<void(int)> post, const std::atomic<bool>& cancelled)
        : post_(std::move(post)), cancelled_(cancelled) {}
    bool cancelled() const override { return cancelled_; }
    void progress(std::uint64_t bytesDone, std::uint64_t bytesInAll) override {
        const int percent = bytesInAll > 0 ? static_cast<int>(bytesDone * 100 / bytesInAll) : 0;
        if (percent != last_) {  // one post per percent, not per block
            last_ = percent;
            post_(percent);
        }
    }

  private:
    std::function<void(int)> post_;
    const std::atomic<bool>& cancelled_;
    int last_ = -1;
};

// CRC passes running, their dialogs gone or not.
std::atomic<int> gRunning{0};

struct CrcOutcome {
    bool done = false;
    std::uint16_t crc = 0;
    QString failure;
};

CrcOutcome ComputeCrc(const std::string& path, Mp3Info record, CMp3File::sink_mini& sink) {
    // The list's record may say the CRC was computed; only this pass counts here.
    record.musicCrcDone = false;
    CrcOutcome outcome;
    CMp3File file;
    try {
        if (!file.Open(path, "rb")) {
            const int error = errno;
            outcome.failure = QStringLiteral("cannot open the file: ") +
                              QString::fromLocal8Bit(std::strerror(error != 0 ? error : ENOENT));
            return outcome;
        }
        outcome.crc = file.ComputeMusicCrc(record, &sink);
    } catch (const std::exception& error) {
        outcome.failure = QString::fromLocal8Bit(error.what());
        return outcome;
    }
    outcome.done = record.musicCrcDone;
    if (!outcome.done) {
        outcome.failure = sink.cancelled() ? QStringLiteral("cancelled")
                                           : QStringLiteral("no audio where the tag says");
    }
    return outcome;
}

// Hands `call` to the GUI thread, where it runs only while the dialog is still there.
template <typename Call>
void Post(const std::shared_ptr<CTagThread::Link>& link, Call call) {
    link->mailbox->Post(std::move(call));
}

}  // namespace

CTagThread::CTagThread(std::string path, const Mp3Info& record, TagCrcReceiver receiver)
    : link_(std::make_shared<Link>()) {
    link_->receiver = std::move(receiver);
    link_->mailbox = GuiMailbox<TagCrcReceiver>::Open(link_->receiver);
    ++gRunning;
    try {
        // A thread of its own, apart from the folder listings, which nothing waits for.
        std::thread([link = link_, path = std::move(path), copy = record] {
            CrcProgress sink(
                [&link](int percent) {
                    Post(link, [percent](TagCrcReceiver& r) { r.progress(percent); });
                },
                link->cancelled);
            const CrcOutcome outcome = ComputeCrc(path, copy, sink);
            Post(link, [outcome](TagCrcReceiver& r) {
                r.finished(outcome.done, outcome.crc, outcome.failure);
            });
            --gRunning;
        }).detach();
    } catch (const std::system_error& error) {
        --gRunning;
        const QString failure = QString::fromLocal8Bit(error.what());
        Post(link_, [failure](TagCrcReceiver& r) { r.finished(false, 0, failure); });
    }
}

bool CTagThread::AllEnded() {
    return gRunning == 0;
}

CTagThread::~CTagThread() {
    link_->mailbox->Close();
    link_->cancelled = true;
}

}  // namespace vornik
