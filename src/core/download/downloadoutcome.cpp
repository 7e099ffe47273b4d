#include "core/download/downloadoutcome.h"

namespace plimb {

std::string fileErrorText(FileStep step, std::string_view path, std::string_view reason) {
    std::string text = step == FileStep::Create ? "Cannot create file \"" : "Cannot write file \"";
    text += path;
    text += "\". ";
    text += reason;
    return text;
}

void DownloadFailure::refuse(Refusal why, std::string_view clientError) {
    if (refusal_ != Refusal::None) return;
    refusal_ = why;
    if (why == Refusal::TransportError) clientError_ = clientError;
}

void DownloadFailure::fileFailed(FileStep step, std::string_view path, std::string_view reason) {
    if (fileError_.empty()) fileError_ = fileErrorText(step, path, reason);
}

DownloadOutcome DownloadFailure::outcome() const {
    DownloadOutcome failed;
    if (!fileError_.empty()) {
        failed.message = fileError_;
    } else if (!stopped_ && refusalIsReported(refusal_)) {
        failed.message = refusalText(refusal_);
        if (!clientError_.empty()) failed.message += ' ' + clientError_;
    }
    return failed;
}

} // namespace plimb
