#include "details_thread.h"

#include <QMetaObject>
#include <functional>

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

    int progress(Mp3Info& record) override {
        if (stop_) {
            return 0;
        }
        post_(record);
        return 1;
    }

  private:
    const std::atomic<bool>& stop_;
    std::function<void(const Mp3Info&)> post_;
};

}  // namespace

CDetailsThread::CDetailsThread(std::string path, int scan, QObject* context,
                               DetailsReceiver& receiver)
    : path_(std::move(path)), scan_(scan), context_(context), receiver_(receiver) {
    thread_ = std::thread([this] { Run(); });
}

CDetailsThread::~CDetailsThread() {
    stop_ = true;
    thread_.join();
}

template <typename Call>
void CDetailsThread::Post(Call call) {
    QMetaObject::invokeMethod(context_, std::move(call), Qt::QueuedConnection);
}

void CDetailsThread::Run() {
    DetailsReceiver* const receiver = &receiver_;
    const int scan = scan_;
    const auto fail = [this, receiver, scan](const std::string& text) {
        Post([receiver, scan, text = QString::fromStdString(text)] {
            receiver->DetailsFailed(scan, text);
        });
    };

    CMp3File file;
    if (!file.Open(path_, "rb")) {
        fail(kFileNotFound + path_);
    } else {
        auto series = std::make_shared<FrameSeries>();
        series->reserve(kReservedFrames);
        ProgressSink sink(stop_, [this, receiver, scan](const Mp3Info& record) {
            auto copy = std::make_shared<Mp3Info>(record);
            copy->xingToc = nullptr;  // the worker's buffer, not the copy's
            Post([receiver, scan, copy] { receiver->DetailsProgress(scan, *copy); });
        });
        Mp3Info record{};
        try {
            if (file.ProcessFrames(/*walkFrames=*/true, record, /*frameLimit=*/-1, series.get(),
                                   &sink) == 0) {
                fail(kErrorProcessing);
            } else if (!stop_) {
                Post([receiver, scan, series] { receiver->DetailsDone(scan, series); });
            }
        } catch (const ScanError& error) {
            fail(error.what());
        } catch (const std::exception&) {
            fail(kErrorProcessing);  // out of memory for the series, say
        }
    }
    Log("CDetailsThread ended");
    Post([receiver, scan] { receiver->DetailsEnded(scan); });
}

}  // namespace vornik
