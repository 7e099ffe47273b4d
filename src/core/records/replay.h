#pragma once
// A kept game played again: the record's notices go, in order, through a client model of its own,
// so every moment shows what the window showed then: both boards, the hand it could see, the
// scores, the words and the chat. Moment p is the game after its p-th notice (1 is the start);
// moment 0, before the start, is only there for a record that holds no notice yet.
//
// Seeking does not run the game from its start each time: a copy of the model is kept every
// kSnapshotEvery notices, and a seek goes on from the nearest one at or before the moment.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/client/clientmodel.h"
#include "core/records/gamerecord.h"

namespace plimb {

struct ReplayChatLine {
    std::string line;
    Colour colour;
};

class ReplayModel {
public:
    static constexpr std::size_t kSnapshotEvery = 64;

    explicit ReplayModel(GameRecord record);
    ~ReplayModel();
    ReplayModel(const ReplayModel&) = delete;
    ReplayModel& operator=(const ReplayModel&) = delete;

    const RecordHeader& header() const { return record_.header; }
    std::size_t firstMoment() const { return record_.notices.empty() ? 0 : 1; }
    std::size_t lastMoment() const { return record_.notices.size(); }
    std::size_t position() const { return position_; }
    bool atEnd() const { return position_ == lastMoment(); }

    const ViewState& view() const;
    // The chat lines shown at this moment, oldest first.
    std::size_t chatLines() const;
    const ReplayChatLine& chatLine(std::size_t i) const { return chat_[i]; }

    // Any moment, clamped to the record. Nothing of the way there is kept as feedback.
    void seek(std::size_t moment);
    // One notice on; its changes and the opponent's moves are kept as feedback.
    void forward();
    // To the start of the next turn (the end, after the last), and to the start of this turn or
    // the one before, as a player steps through a game; the steps forward keep their feedback.
    void stepForward();
    void stepBack();
    Feedback takeFeedback();

    // Milliseconds since the start at a moment, and from this moment to the next (0 at the end).
    std::int64_t msAt(std::size_t moment) const;
    std::int64_t msToNext() const;
    // The turns begun by a moment, and in the whole game.
    int turnAt(std::size_t moment) const;
    int turns() const { return static_cast<int>(turnStarts_.size()); }
    // "Turn 12 of 80, 3:42 of 12:30", what the window and a screen reader say of the moment.
    std::string momentText() const;

private:
    struct Frame;
    std::unique_ptr<Frame> copyOf(const Frame& from) const;
    void feed(Frame& frame, std::size_t notice) const;

    GameRecord record_;
    std::vector<ReplayChatLine> chat_;      // every line of the game, as the first run made them
    std::vector<std::size_t> turnStarts_;   // the moments of the turn notices
    std::vector<std::unique_ptr<Frame>> snapshots_; // at moments 0, kSnapshotEvery, ...
    std::unique_ptr<Frame> working_;
    std::size_t position_ = 0;
};

} // namespace plimb
