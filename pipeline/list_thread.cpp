// SPDX-License-Identifier: GPL-3.0-or-later
#include "list_thread.h"

#include <cstddef>
#include <utility>
#include <vector>

#include "file_analysis.h"
#include "log.h"

namespace vornik {

bool CListThread::thread_helper::progress(Mp3Info& /*record*/) {
    return !stop_.StopRequested();
}

CListThread::CListThread(std::shared_ptr<ResultOutlet> outlet, bool start)
    : outlet_(std::move(outlet)) {
    if (start) {
        Start();
    }
}

bool CListThread::Post(std::unique_ptr<ListRequest> request) {
    if (request == nullptr) {
        return true;
    }
    // The job owns its request and shares the outlet: it needs nothing else of this object.
    std::shared_ptr<const ListRequest> batch = std::move(request);
    return thread_.Post([batch, outlet = outlet_](const StopToken& stop) {
        OnProcessMulti(*batch, stop, *outlet);
    });
}

void CListThread::OnProcessMulti(const ListRequest& request, const StopToken& stop,
                                 ResultOutlet& outlet) {
    Log("CListThread::OnProcessMulti");
    for (std::size_t i = 0; i < request.rows.size(); ++i) {
        std::unique_ptr<ListItemResult> result = OnProcess(request.rows[i], request, stop);
        if (stop.StopRequested()) {
            break;
        }
        Log("CListThread::OnProcessMulti posting message ");
        outlet.PostItemDone(std::move(result), i + 1 == request.rows.size());
    }
}

std::unique_ptr<ListItemResult> CListThread::OnProcess(const ListRowRequest& row,
                                                       const ListRequest& request,
                                                       const StopToken& stop) {
    Log("CListThread::OnProcess");
    Log("CListThread::OnProcess " + row.path);
    auto result = std::make_unique<ListItemResult>();
    result->ref = row.ref;
    result->texts.Set(kSlotName, row.name);
    try {
        Log("CListThread::DoProcess");
        AnalysisOptions options;
        // Carried whole, so that budgets above 65535 frames mean what they say; AnalyseFile
        // walks every frame for 0 or less.
        options.frameBudget = request.frameBudget;
        options.walk = request.walk;
        options.checkIntegrity = request.checkIntegrity;
        options.monoQuality = request.monoQuality;
        options.readAllUnknown = request.readAllUnknown;
        thread_helper helper(stop);
        FileAnalysis analysis = AnalyseFile(row.path, row.name, options, &helper);
        if (analysis.outcome != AnalysisOutcome::Done) {
            result->content = analysis.outcome == AnalysisOutcome::Unreadable
                                  ? RowContent::Unreadable
                                  : RowContent::NoAudio;
        }
        if (!analysis.error.empty()) {
            // The engine gave up on the stream; AnalyseFile has already made the "--" texts.
            Log("CListThread::SetupItem exception in CMp3File::ProcessFrames " + analysis.error);
            Log("CListThread::OnProcess unspecified exception ");
        }
        result->record = std::move(analysis.record);
        // The row holds its path already; twenty thousand rows need not hold it twice.
        result->record.fileName = std::string();
        result->texts = PackedTexts(analysis.texts);
    } catch (...) {
        // Only what the analysis cannot handle itself gets here (memory, say): the row still
        // appears, saying that it could not be read.
        Log("CListThread::OnProcess unspecified exception ");
        result->record.duration = 0;
        result->record.qualityFigure = -1;
        AttributeTexts texts;
        texts[kSlotName] = row.name;
        SetEngineErrorTexts(texts);
        result->texts = PackedTexts(texts);
    }
    return result;
}

}  // namespace vornik
