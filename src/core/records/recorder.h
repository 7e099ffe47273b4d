#pragma once
// Writes the record of every game this window sees from its start, line by line as the notices
// are handled, so a crash or a cut connection leaves the game up to that point. A record opens
// with the start notice of a game (a latecomer, who did not see the start, keeps none) and closes
// when the game has a winner, when the connection ends or the window closes, and when a new game
// starts. The files and the clock are ports, so the decisions are tested without a disk.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/client/clientmodel.h"
#include "core/records/gamerecord.h"

namespace plimb {

// The folder "games".
class RecordFiles {
public:
    virtual ~RecordFiles() = default;
    // The program's records in the folder (files named by isRecordFileName), with their sizes.
    virtual std::vector<KeptFile> kept() = 0;
    // Makes a new file holding `text`; false when one of that name exists or it cannot be made.
    virtual bool create(const std::string& name, std::string_view text) = 0;
    // Adds `text` at the end of the file and hands it to the system before returning.
    virtual bool append(const std::string& name, std::string_view text) = 0;
    virtual void remove(const std::string& name) = 0;
};

class GameRecorder : public NoticeLog {
public:
    // `nowMs` is the wall clock in milliseconds since 1970; `tell` puts one line into the chat.
    GameRecorder(const ClientModel& model, RecordFiles& files, std::function<std::int64_t()> nowMs,
                 std::function<void(const std::string&)> tell);

    // Options, "Keep Game Records". Switching it off closes the record being written as it stands.
    void setEnabled(bool on);
    bool enabled() const { return enabled_; }
    // The file being written, empty when none is.
    const std::string& current() const { return current_; }

    void handled(std::string_view notice) override;
    // The connection ended or the window closes.
    void close();

private:
    void open(std::string_view startData);
    void write(std::string_view text);

    const ClientModel& model_;
    RecordFiles& files_;
    std::function<std::int64_t()> nowMs_;
    std::function<void(const std::string&)> tell_;
    bool enabled_ = true;
    std::string current_;
    std::int64_t startedMs_ = 0;
    std::int64_t lastMs_ = 0;
    std::uint64_t bytes_ = 0;
    bool full_ = false; // the record reached kMaxRecordBytes and takes no more lines
};

} // namespace plimb
