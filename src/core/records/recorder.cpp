#include "core/records/recorder.h"

#include <algorithm>

#include "core/net/protocol.h"
#include "core/net/readers.h"

namespace plimb {

GameRecorder::GameRecorder(const ClientModel& model, RecordFiles& files, std::function<std::int64_t()> nowMs,
                           std::function<void(const std::string&)> tell)
    : model_(model), files_(files), nowMs_(std::move(nowMs)), tell_(std::move(tell)) {}

void GameRecorder::setEnabled(bool on) {
    enabled_ = on;
    if (!on) close();
}

void GameRecorder::handled(std::string_view notice) {
    const Message m = splitMessage(notice);
    // The model has handled the start: a game it took up is running now.
    if (m.name == msg::startgame && model_.gameInProgress()) {
        close();
        if (enabled_) open(m.data);
    }
    if (current_.empty()) return;
    // A clock set back while the game goes keeps the times in order.
    lastMs_ = std::max(lastMs_, nowMs_() - startedMs_);
    write(formatNotice(lastMs_, notice));
    if (!model_.gameInProgress()) close();
}

void GameRecorder::close() {
    if (current_.empty()) return;
    current_.clear();
    for (const std::string& name : recordsOverCaps(files_.kept(), 0))
        files_.remove(name);
}

void GameRecorder::open(std::string_view startData) {
    const auto start = read::startgame(startData);
    if (!start) return;
    RecordHeader h;
    h.startedMs = nowMs_();
    h.players = {model_.view().rowFor(1).name, model_.view().rowFor(2).name};
    h.playTo = start->playto;
    h.timePerTurn = start->time;
    h.steals = start->steals;
    h.ownSeat = model_.me().seat;
    h.ownName = model_.me().playerName;

    for (const std::string& name : recordsOverCaps(files_.kept(), 1))
        files_.remove(name);
    const std::string text = formatHeader(h);
    // Two games cannot start in the same millisecond here, but a clock set back can name a file
    // that exists: the next free millisecond names it instead, and nothing is overwritten.
    for (int attempt = 0; attempt < 10; ++attempt) {
        const std::string name = recordFileName(h.startedMs + attempt);
        if (files_.create(name, text)) {
            current_ = name;
            startedMs_ = h.startedMs;
            lastMs_ = 0;
            bytes_ = text.size();
            full_ = false;
            return;
        }
    }
    tell_("This game is not kept: its record cannot be made in the folder \"games\".");
}

void GameRecorder::write(std::string_view text) {
    if (full_) return;
    if (bytes_ + text.size() > kMaxRecordBytes) {
        full_ = true;
        tell_("This game's record is full; the rest of the game is not kept.");
        return;
    }
    if (!files_.append(current_, text)) {
        tell_("This game is no longer kept: its record " + current_ + " cannot be written.");
        current_.clear();
        return;
    }
    bytes_ += text.size();
}

} // namespace plimb
