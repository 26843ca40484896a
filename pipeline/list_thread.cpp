#include "list_thread.h"

#include <cstddef>
#include <utility>
#include <vector>

#include "file_analysis.h"
#include "log.h"

namespace vornik {

int CListThread::thread_helper::progress(Mp3Info& /*record*/) {
    return abort_.IsSet() ? 0 : 1;
}

CListThread::CListThread(bool start) {
    if (start) {
        Start();
    }
}

// OnProcessMulti reads this object's settings and poster: the thread must be gone before they
// are.
CListThread::~CListThread() {
    Shutdown();
}

bool CListThread::OnProcessMulti(std::unique_ptr<ListRequest> request, WorkerState& state) {
    Log("CListThread::OnProcessMulti");
    if (request == nullptr) {
        return true;
    }
    const std::vector<_LVItemData*> rows = std::move(request->rows);
    const int frameBudget = request->frameBudget;
    const std::uint8_t sequence = request->sequence;
    const bool walk = request->walk;
    checkIntegrity_ = request->checkIntegrity;
    request.reset();

    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::unique_ptr<ListItemResult> result = OnProcess(frameBudget, rows[i], walk, state);
        if (state.abort.IsSet()) {
            state.abort.Reset();
            break;
        }
        if (result == nullptr) {
            continue;
        }
        Log("CListThread::OnProcessMulti posting message ");
        const bool lastOfBatch = i + 1 == rows.size();
        const bool owned = state.WithOwner([&] {
            if (ListResultPoster* const poster = poster_) {
                poster->PostItemDone(std::move(result), lastOfBatch, sequence);
            }
        });
        if (!owned) {
            break;
        }
    }
    return true;
}

std::unique_ptr<ListItemResult> CListThread::OnProcess(int frameBudget, _LVItemData* row, bool walk,
                                                       WorkerState& state) {
    Log("CListThread::OnProcess");
    if (row == nullptr) {
        return nullptr;
    }
    std::string path;
    std::string name;
    if (!state.WithOwner([&] {
            path = row->fullPath;
            name = row->displayName;
        })) {
        return nullptr;
    }
    Log("CListThread::OnProcess " + path);

    auto result = std::make_unique<ListItemResult>();
    result->row = row;
    result->texts[kSlotName] = name;
    try {
        if (!SetupItem(path, name, *result, frameBudget, walk, state)) {
            return nullptr;
        }
    } catch (...) {
        // Only what the analysis cannot handle itself gets here (memory, say): the row still
        // appears, saying that it could not be read.
        Log("CListThread::OnProcess unspecified exception ");
        result->record.duration = 0;
        result->record.qualityFigure = -1;
        SetEngineErrorTexts(result->texts);
    }
    return result;
}

bool CListThread::SetupItem(const std::string& path, const std::string& name,
                            ListItemResult& result, int frameBudget, bool walk,
                            WorkerState& state) {
    Log("CListThread::DoProcess");
    AnalysisOptions options;
    // Carried whole, so that budgets above 65535 frames mean what they say; AnalyseFile walks
    // every frame for 0 or less.
    options.frameBudget = frameBudget;
    options.walk = walk;
    options.checkIntegrity = checkIntegrity_;
    if (!state.WithOwner([&] {
            options.monoQuality = monoQuality_;
            options.readAllUnknown = readAllUnknown_;
        })) {
        return false;
    }

    thread_helper helper(state.abort);
    FileAnalysis analysis = AnalyseFile(path, name, options, &helper);
    if (analysis.outcome == AnalysisOutcome::Failed) {
        state.WithOwner([&] {
            if (ListResultPoster* const poster = poster_) {
                poster->PostItemFailed(result.row);
            }
        });
        return false;
    }
    if (!analysis.error.empty()) {
        // The engine gave up on the stream; AnalyseFile has already made the row's "--" texts.
        Log("CListThread::SetupItem exception in CMp3File::ProcessFrames " + analysis.error);
        Log("CListThread::OnProcess unspecified exception ");
    }
    result.record = std::move(analysis.record);
    result.texts = std::move(analysis.texts);
    return true;
}

}  // namespace vornik
