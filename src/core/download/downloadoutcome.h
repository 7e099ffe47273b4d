#pragma once
// How one lobby download ends, as the window tells the user: the checked installer in place, or a
// failure with the sentence to show. Everything that went wrong on the way is collected here, so
// the window gets one outcome and the user one message.
#include "core/download/downloadcheck.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace plimb {

enum class FileStep { Create, Write };

// "Cannot create file "<path>". <reason>", and the same with "write": the one text for a file the
// disk refused. `reason` is the system's own words.
std::string fileErrorText(FileStep step, std::string_view path, std::string_view reason);

struct DownloadOutcome {
    bool done = false;      // the installer passed every check and carries its name
    std::string file;       // where it is, when done
    std::int64_t bytes = 0; // its size, when done
    // For a failure, the sentence the user must read; empty when "Download Aborted" says it all
    // (the user's own stop, an error status).
    std::string message;
};

// What went wrong in one download, noted as it happens. The outcome names the file that could not
// be written above all, else nothing after the user's stop, else the first refusal: the later
// ones follow from it (an aborted reply ends in an error of its own).
class DownloadFailure {
public:
    // Refusal::None notes nothing. `clientError`: the HTTP client's words, told after the text of
    // a failed connection.
    void refuse(Refusal why, std::string_view clientError = {});
    void fileFailed(FileStep step, std::string_view path, std::string_view reason);
    void stopByUser() { stopped_ = true; }

    bool any() const { return refusal_ != Refusal::None || !fileError_.empty() || stopped_; }
    Refusal refusal() const { return refusal_; }
    // A failed outcome, also when nothing was noted: a download is done only when it says so.
    DownloadOutcome outcome() const;

private:
    Refusal refusal_ = Refusal::None;
    std::string clientError_;
    std::string fileError_;
    bool stopped_ = false;
};

} // namespace plimb
