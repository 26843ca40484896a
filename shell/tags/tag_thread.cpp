#include "tag_thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QtConcurrent/QtConcurrentRun>

#include "mp3_file.h"

namespace vornik {

// Shared by the dialog and its worker; `receiver` is read and cleared on the GUI thread only.
struct CTagThread::Link {
    TagCrcReceiver receiver;
    bool open = true;
};

namespace {

class CrcProgress : public CMp3File::sink_mini {
  public:
    explicit CrcProgress(std::function<void(int)> post) : post_(std::move(post)) {}
    void progress(std::uint64_t bytesDone, std::uint64_t bytesInAll) override {
        const int percent = bytesInAll > 0 ? static_cast<int>(bytesDone * 100 / bytesInAll) : 0;
        if (percent != last_) {  // one post per percent, not per block
            last_ = percent;
            post_(percent);
        }
    }

  private:
    std::function<void(int)> post_;
    int last_ = -1;
};

// Hands `call` to the GUI thread, where it runs only while the dialog is still there.
template <typename Call>
void Post(const std::shared_ptr<CTagThread::Link>& link, Call call) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [link, call = std::move(call)] {
            if (link->open) {
                call(link->receiver);
            }
        },
        Qt::QueuedConnection);
}

}  // namespace

CTagThread::CTagThread(std::string path, const Mp3Info& record, TagCrcReceiver receiver)
    : link_(std::make_shared<Link>(Link{std::move(receiver), true})) {
    auto copy = std::make_shared<Mp3Info>(record);
    copy->xingToc = nullptr;
    (void)QtConcurrent::run([link = link_, path = std::move(path), copy] {
        CrcProgress sink([&link](int percent) {
            Post(link, [percent](TagCrcReceiver& r) { r.progress(percent); });
        });
        CMp3File file;
        std::uint16_t crc = 0;
        try {
            if (file.Open(path, "rb")) {
                crc = file.ComputeMusicCrc(*copy, &sink);
            }
        } catch (const std::exception&) {
            copy->musicCrcDone = false;  // reported as a computation that did not complete
        }
        const bool done = copy->musicCrcDone;
        Post(link, [done, crc](TagCrcReceiver& r) { r.finished(done, crc); });
    });
}

CTagThread::~CTagThread() {
    link_->open = false;
}

}  // namespace vornik
