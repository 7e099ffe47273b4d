#include "core/records/replay.h"

#include <algorithm>

#include "core/net/protocol.h"
#include "core/net/readers.h"

namespace plimb {

namespace {

// What a replayed model asks of its window: it sends nothing and plays nothing; its chat lines
// are counted (the first run keeps them), and its turn clock ticks on the record's own time.
struct ReplaySink : QuietSink {
    std::vector<ReplayChatLine>* keep = nullptr;
    std::size_t chatLines = 0;
    std::int64_t nowMs = 0;
    bool timerOn = false;
    std::int64_t nextTickMs = 0;

    void addlinetochat(const std::string& line, Colour colour) override {
        if (keep != nullptr && chatLines == keep->size()) keep->push_back({line, colour});
        ++chatLines;
    }
    void startTurnTimer() override {
        // A timer that runs keeps its rhythm, as the window's does.
        if (!timerOn) nextTickMs = nowMs + 1000;
        timerOn = true;
    }
    void stopTurnTimer() override { timerOn = false; }
};

constexpr int kMaxTicksPerPause = 3600;

ClientPorts portsOf(ReplaySink& s) { return ClientPorts{s, s, s, s, s, s, s}; }

std::string clockText(std::int64_t ms) {
    const std::int64_t seconds = ms / 1000;
    const std::int64_t secs = seconds % 60;
    return std::to_string(seconds / 60) + (secs < 10 ? ":0" : ":") + std::to_string(secs);
}

} // namespace

struct ReplayModel::Frame {
    ReplaySink sink;
    ClientModel model{sink};
    Frame() = default;
    explicit Frame(const Frame& from) : sink(from.sink), model(from.model, portsOf(sink)) { sink.keep = nullptr; }
};

ReplayModel::ReplayModel(GameRecord record) : record_(std::move(record)) {
    auto first = std::make_unique<Frame>();
    Frame& f = *first;
    f.sink.keep = &chat_;
    ClientModel& m = f.model;
    const RecordHeader& h = record_.header;
    // The table as the window knew it when the game started: its own seat and both players.
    m.processsocktimer(); // the queue's first entry
    m.setPlayerName(h.ownName);
    m.joinpress();
    const auto tell = [&m](const std::string& notice) {
        m.received(notice);
        m.processsocktimer();
    };
    tell(build::sendlogininfo(h.ownSeat));
    tell(build::newplayerinfo(h.ownSeat, h.ownName));
    for (int seat = 1; seat <= 2; ++seat)
        if (seat != h.ownSeat) tell(build::existingplayers(seat, h.players[static_cast<std::size_t>(seat - 1)]));
    f.sink.chatLines = 0;
    chat_.clear();
    m.takeFeedback();

    snapshots_.push_back(copyOf(f));
    for (std::size_t n = 1; n <= record_.notices.size(); ++n) {
        feed(f, n);
        f.model.takeFeedback();
        if (const Message msg = splitMessage(record_.notices[n - 1].text);
            msg.name == msg::nextplayer && read::nextplayer(msg.data))
            turnStarts_.push_back(n);
        if (n % kSnapshotEvery == 0) snapshots_.push_back(copyOf(f));
    }
    f.sink.keep = nullptr;
    working_ = std::move(first);
    position_ = lastMoment();
    seek(firstMoment());
}

ReplayModel::~ReplayModel() = default;

std::unique_ptr<ReplayModel::Frame> ReplayModel::copyOf(const Frame& from) const {
    return std::make_unique<Frame>(from);
}

void ReplayModel::feed(Frame& frame, std::size_t notice) const {
    const RecordedNotice& n = record_.notices[notice - 1];
    // The clock's seconds that passed before this notice came, as the window counted them. Past
    // zero, or after an hour of them, a tick changes nothing the window shows (no turn lasts
    // that long): the rest of the pause passes at once, in the clock's rhythm, so a long pause or
    // a damaged time costs a replay nothing.
    for (int ticks = 0; frame.sink.timerOn && frame.sink.nextTickMs <= n.ms; ++ticks) {
        if (ticks == kMaxTicksPerPause || frame.model.clock().secondsLeft() < 1) {
            frame.sink.nextTickMs += ((n.ms - frame.sink.nextTickMs) / 1000 + 1) * 1000;
            break;
        }
        frame.sink.nowMs = frame.sink.nextTickMs;
        frame.sink.nextTickMs += 1000;
        frame.model.turntimerTimer();
    }
    frame.sink.nowMs = n.ms;
    frame.model.received(n.text);
    frame.model.processsocktimer();
}

const ViewState& ReplayModel::view() const { return working_->model.view(); }

std::size_t ReplayModel::chatLines() const { return std::min(working_->sink.chatLines, chat_.size()); }

void ReplayModel::seek(std::size_t moment) {
    moment = std::clamp(moment, firstMoment(), lastMoment());
    // Straight on from here when that is nearer than the snapshot before the moment.
    const std::size_t snapshot = moment / kSnapshotEvery;
    if (moment < position_ || snapshot * kSnapshotEvery > position_) {
        working_ = copyOf(*snapshots_[snapshot]);
        position_ = snapshot * kSnapshotEvery;
    }
    while (position_ < moment)
        feed(*working_, ++position_);
    working_->model.takeFeedback();
}

void ReplayModel::forward() {
    if (!atEnd()) feed(*working_, ++position_);
}

void ReplayModel::stepForward() {
    const auto next = std::upper_bound(turnStarts_.begin(), turnStarts_.end(), position_);
    const std::size_t target = next == turnStarts_.end() ? lastMoment() : *next;
    while (position_ < target)
        forward();
}

void ReplayModel::stepBack() {
    // Back to the start of this turn, or of the one before when this one has just begun.
    const auto here = std::lower_bound(turnStarts_.begin(), turnStarts_.end(), position_);
    seek(here == turnStarts_.begin() ? firstMoment() : *std::prev(here));
}

Feedback ReplayModel::takeFeedback() { return working_->model.takeFeedback(); }

std::int64_t ReplayModel::msAt(std::size_t moment) const {
    return moment == 0 || record_.notices.empty()
               ? 0
               : record_.notices[std::min(moment, record_.notices.size()) - 1].ms;
}

std::int64_t ReplayModel::msToNext() const {
    return atEnd() ? 0 : std::max<std::int64_t>(0, msAt(position_ + 1) - msAt(position_));
}

int ReplayModel::turnAt(std::size_t moment) const {
    return static_cast<int>(std::upper_bound(turnStarts_.begin(), turnStarts_.end(), moment) - turnStarts_.begin());
}

std::string ReplayModel::momentText() const {
    return "Turn " + std::to_string(turnAt(position_)) + " of " + std::to_string(turns()) + ", " +
           clockText(msAt(position_)) + " of " + clockText(msAt(lastMoment()));
}

} // namespace plimb
