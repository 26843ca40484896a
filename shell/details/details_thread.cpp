// SPDX-License-Identifier: GPL-3.0-or-later
#include "details_thread.h"

#include <functional>
#include <system_error>
#include <thread>

#include "gui_mailbox.h"
#include "log.h"
#include "mp3_file.h"
#include "scan_error.h"

namespace vornik {
namespace {

constexpr char kFileNotFound[] = "File not found:\r\n";
constexpr char kErrorProcessing[] = "Error processing file....";

// Copies the record at every checkpoint and hands the copy on; answers 0 once stopped.
class ProgressSink : public CMp3File::sink {
  public:
    template <typename Post>
    ProgressSink(const std::atomic<bool>& stop, Post post) : stop_(stop), post_(std::move(post)) {}

    bool progress(Mp3Info& record) override {
        if (stop_) {
            return false;
        }
        post_(record);
        return true;
    }

  private:
    const std::atomic<bool>& stop_;
    std::function<void(const Mp3Info&)> post_;
};

}  // namespace

// `stop` is the worker's token; the mailbox takes its calls to the dialog while this object
// lives.
struct CDetailsThread::Link {
    std::shared_ptr<GuiMailbox<DetailsReceiver>> mailbox;
    std::atomic<bool> stop{false};
};

namespace {

// Hands `call` to the GUI thread, where it runs only while the dialog's worker object lives.
template <typename Call>
void Post(const std::shared_ptr<CDetailsThread::Link>& link, Call call) {
    link->mailbox->Post(std::move(call));
}

void Run(const std::string& path, int scan, const std::shared_ptr<CDetailsThread::Link>& link) {
    const auto fail = [&link, scan](const std::string& text) {
        Post(link, [scan, text = QString::fromStdString(text)](DetailsReceiver& receiver) {
            receiver.DetailsFailed(scan, text);
        });
    };
    CMp3File file;
    if (!file.Open(path, "rb")) {
        // A file that is there but cannot be read says why: a named pipe, no permission.
        fail(file.reader().missing() ? kFileNotFound + path
                                     : "Cannot read " + path + ":\r\n" + file.reader().openError());
    } else {
        auto series = std::make_shared<FrameSeries>();
        series->reserve(CDetailsThread::kReservedFrames);
        ProgressSink sink(link->stop, [&link, scan](const Mp3Info& record) {
            auto copy = std::make_shared<Mp3Info>(record);
            Post(link, [scan, copy](DetailsReceiver& receiver) {
                receiver.DetailsProgress(scan, *copy);
            });
        });
        Mp3Info record{};
        try {
            if (!file.ProcessFrames(/*walkFrames=*/true, record, /*frameLimit=*/-1, series.get(),
                                    &sink)) {
                fail(std::string(kErrorProcessing) + "\r\nempty file");
            } else if (!link->stop) {
                Post(link, [scan, series](DetailsReceiver& receiver) {
                    receiver.DetailsDone(scan, series);
                });
            }
        } catch (const ScanError& error) {
            fail(error.what());
        } catch (const std::exception&) {
            fail(kErrorProcessing);  // out of memory for the series, say
        }
    }
    Log("CDetailsThread ended");
    Post(link, [scan](DetailsReceiver& receiver) { receiver.DetailsEnded(scan); });
}

}  // namespace

CDetailsThread::CDetailsThread(std::string path, int scan, DetailsReceiver& receiver)
    : scan_(scan), link_(std::make_shared<Link>()) {
    link_->mailbox = GuiMailbox<DetailsReceiver>::Open(receiver);
    // A thread of its own, which nothing waits for: closing the dialog or the program never
    // waits on the file.
    try {
        std::thread([path = std::move(path), scan, link = link_] {
            Run(path, scan, link);
        }).detach();
    } catch (const std::system_error& error) {
        const QString text = QString::fromLocal8Bit(error.what());
        link_->mailbox->Post([scan, text](DetailsReceiver& r) {
            r.DetailsFailed(scan, text);
            r.DetailsEnded(scan);
        });
    }
}

CDetailsThread::~CDetailsThread() {
    link_->mailbox->Close();
    link_->stop = true;
}

void CDetailsThread::Stop() {
    link_->stop = true;
}

}  // namespace vornik
