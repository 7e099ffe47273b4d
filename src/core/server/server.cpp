#include "core/server/server.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <optional>
#include <random>
#include <vector>

#include "core/net/protocol.h"
#include "core/net/readers.h"
#include "core/rules/game.h"

namespace plimb {
namespace {

constexpr int kRefusedRecord = 10;

using Handler = void (Server::*)(int, std::string_view);
struct Row {
    std::string_view name;
    Handler handler;
};

const std::array<Row, 13> kDispatch{{
    {msg::logininfo, &Server::receivedlogininfo},
    {msg::kickhim, &Server::kickhim},
    {msg::chat, &Server::chat},
    {msg::action, &Server::action},
    {msg::justwatch, &Server::justwatch},
    {msg::startgame, &Server::startgame},
    {msg::placemyletter, &Server::placemyletter},
    {msg::discardextra, &Server::discardextra},
    {msg::tradingmyletter, &Server::tradingmyletter},
    {msg::stealinghisletter, &Server::stealinghisletter},
    {msg::discardletter, &Server::discardletter},
    {msg::playasound, &Server::playasound},
    {msg::reclaimseat, &Server::reclaimseat},
}};

} // namespace

std::int64_t Server::steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string Server::randomSecret() {
    std::random_device device;
    std::string secret;
    constexpr char kHex[] = "0123456789abcdef";
    while (secret.size() < kSeatSecretChars) {
        auto bits = device();
        for (int i = 0; i < 8 && secret.size() < kSeatSecretChars; ++i, bits >>= 4)
            secret += kHex[bits & 0xF];
    }
    return secret;
}

Server::Server(GameState& state, Outbox& out, Game& game, Clock clock, Secrets secrets)
    : state_(state), out_(out), game_(game), clock_(std::move(clock)), secrets_(std::move(secrets)) {}

bool Server::seatKept() const {
    return kept_ && clock_() < kept_->until;
}

int Server::pickSeat(bool ownClient) {
    const int first = hostSeatReserved_ && !ownClient ? 2 : 1;
    const bool keep2 = seatKept();
    for (int seat = first; seat <= state_.seatcount; ++seat)
        if (!state_.seats[seat].inuse && !(seat == 2 && keep2)) return seat;
    if (state_.seatcount >= kMaxSeats) return kRefusedRecord;
    state_.seatcount = std::max(state_.seatcount + 1, first);
    return state_.seatcount;
}

void Server::connectionAccepted(int seat) {
    if (seat == kRefusedRecord) {
        out_.send(seat, build::full());
        out_.close(seat);
        return;
    }
    if (!isSeat(seat)) return;
    state_.seats[seat].inuse = true;
    loggedIn_[seat] = false;
    out_.send(seat, build::sendlogininfo(seat));
}

void Server::received(int seat, std::string text) {
    if (!isSeat(seat) || !state_.seats[seat].inuse || text.empty()) return;
    auto& queue = receivedlist_[seat];
    if (queue.size() >= static_cast<std::size_t>(kMaxQueuedPerSeat)) {
        out_.close(seat);
        return;
    }
    queue.push_back(std::move(text));
    ++queuedTotal_;
}

void Server::loginDeadline(int seat) {
    if (isSeat(seat) && state_.seats[seat].inuse && !loggedIn_[seat]) out_.close(seat);
}

bool Server::loggedIn(int seat) const {
    return isSeat(seat) && state_.seats[seat].inuse && loggedIn_[seat];
}

void Server::connectionClosed(int seat) {
    if (seat < 1 || seat > kSeatRecords) return;
    auto& record = state_.seats[seat];
    if (record.inuse) {
        const auto notice = build::playerdisconnected(seat, record.name);
        for (int other = 1; other <= state_.seatcount; ++other)
            if (other != seat && state_.seats[other].inuse) out_.send(other, notice);
    }
    // A player who drops out of a game may come back to the seat; one the host removed may not.
    if (seat == 2 && loggedIn_[2] && state_.gamerunning && !seat2Secret_.empty())
        kept_ = Kept{seat2Secret_, clock_() + kKeepSeatMs};
    if (seat == 2) seat2Secret_.clear();
    record.inuse = false;
    record.name.clear();
    record.watchonly = false;
    loggedIn_[seat] = false;
    lastChatterMs_[static_cast<std::size_t>(seat)].reset();
    // Requests still queued from this connection must not act for whoever takes the seat next.
    queuedTotal_ -= receivedlist_[seat].size();
    receivedlist_[seat].clear();
    game_.seatLeft(seat);
}

void Server::socktimerTimer() {
    if (queuedTotal_ == 0) return;
    for (int step = 1; step <= kMaxSeats; ++step) {
        const int seat = (lastServed_ + step - 1) % kMaxSeats + 1;
        auto& queue = receivedlist_[seat];
        if (queue.empty()) continue;
        lastServed_ = seat;
        const std::string next = std::move(queue.front());
        queue.pop_front();
        --queuedTotal_;
        dispatch(seat, next);
        return;
    }
}

void Server::dispatch(int origin, std::string_view text) {
    const auto message = splitMessage(text);
    if (message.name.empty()) return;
    for (const auto& row : kDispatch)
        if (row.name == message.name) {
            (this->*row.handler)(origin, message.data);
            return;
        }
}

void Server::receivedlogininfo(int origin, std::string_view data) {
    const auto login = read::logininfoRequest(data);
    if (!login || login->seat != origin) return;
    // One login per connection: a repeat would announce the seat again to everybody.
    if (loggedIn_[origin]) return;
    const auto version = login->version;
    const std::string name(utf8Prefix(login->name, kMaxNameBytes));

    state_.seats[origin].name = name;
    state_.seats[origin].inuse = true;
    loggedIn_[origin] = true;
    sendToAll(state_, out_, build::newplayerinfo(origin, name));
    // A connection that has not logged in has no name to tell yet; its own login will.
    for (int other = 1; other <= state_.seatcount; ++other)
        if (other != origin && state_.seats[other].inuse && loggedIn_[other])
            out_.send(origin, build::existingplayers(other, state_.seats[other].name));
    if (version != kVersion) {
        sendToSeat(state_, out_, 1, build::havewrongversion(name));
        out_.send(origin, build::wrongversion());
    }
    game_.replayTo(origin);
    if (origin == 2) {
        seat2Secret_ = secrets_();
        out_.send(2, build::seatkey(seat2Secret_));
    }
}

void Server::reclaimseat(int origin, std::string_view data) {
    const auto reclaim = read::reclaimseatRequest(data);
    const auto secret = reclaim ? parseSeatSecret(reclaim->secret) : std::nullopt;
    if (!reclaim || reclaim->seat != origin || origin == 2 || !secret || loggedIn_[origin]) return;
    const bool heldByTheSamePlayer = loggedIn_[2] && !seat2Secret_.empty() && *secret == seat2Secret_;
    // The player's old connection, not yet seen to close: it goes now, and the seat is kept.
    if (heldByTheSamePlayer) {
        out_.close(2);
        if (state_.seats[2].inuse) connectionClosed(2);
    }
    if (!seatKept() || kept_->secret != *secret || state_.seats[2].inuse) return;
    kept_.reset();
    out_.move(origin, 2);
    state_.seats[2].inuse = true;
    state_.seats[origin].inuse = false;
    state_.seats[origin].name.clear();
    state_.seatcount = std::max(state_.seatcount, 2);
    queuedTotal_ -= receivedlist_[2].size();
    receivedlist_[2] = std::exchange(receivedlist_[origin], {});
    out_.send(2, build::sendlogininfo(2));
}

void Server::kickhim(int origin, std::string_view data) {
    const auto kick = read::kickhimRequest(data);
    if (!kick || origin != 1 || kick->requester != 1) return;
    const int seat = kick->seat;
    if (!isSeat(seat) || !state_.seats[seat].inuse) return;
    if (seat == 2) seat2Secret_.clear();
    // Told first, so the removed player knows it was no accident of the network.
    out_.send(seat, build::removedfromgame());
    out_.close(seat);
}

void Server::relay(int origin, std::string_view data, bool isAction) {
    const auto line = read::chatRequest(data);
    if (!line || line->seat != origin) return;
    if (line->text.size() > kMaxChatBytes) return;
    const auto& name = state_.seats[origin].name;
    sendToAll(state_, out_, isAction ? build::action(name, line->text) : build::chat(name, line->text));
}

void Server::chat(int origin, std::string_view data) {
    relay(origin, data, false);
}
void Server::action(int origin, std::string_view data) {
    relay(origin, data, true);
}

void Server::playasound(int origin, std::string_view data) {
    const auto chatter = read::playasound(data);
    const auto seat = parseInt(chatter->player);
    // Only the two players have the chatter menu, and only its sounds are relayed.
    if (!seat || *seat != origin || !isPlayerSeat(origin)) return;
    if (!chatterNumber(chatter->sound) || !chatter->soundAlone) return;
    const auto now = clock_();
    auto& last = lastChatterMs_[static_cast<std::size_t>(origin)];
    if (last && now - *last < kChatterIntervalMs) return;
    last = now;
    sendToAll(state_, out_, build::playasound(chatter->player, chatter->rest));
}

void Server::justwatch(int origin, std::string_view data) {
    const auto watch = read::justwatchRequest(data);
    if (!watch || !isPlayerSeat(watch->seat)) return;
    const int seat = watch->seat;
    const bool hostForSeat2 = origin == 1 && seat == 2;
    if (seat != origin && !hostForSeat2) return;
    const auto flag = watch->flag;
    if (flag == "2") {
        state_.seats[seat].watchonly = false;
        sendToAll(state_, out_, build::justwatching(seat, 2));
    } else if (flag == "1") {
        state_.seats[seat].watchonly = true;
        sendToAll(state_, out_, build::justwatching(seat, 1));
        game_.justWatchStarted(seat);
    }
}

void Server::startgame(int origin, std::string_view data) {
    if (origin != 1) return;
    const auto start = read::startgame(data);
    if (!start) return;
    game_.startgame(utf8Prefix(start->name, kMaxNameBytes), start->time, start->playto, start->steals);
}

void Server::placemyletter(int origin, std::string_view data) {
    const auto move = read::moveRequest(data);
    if (!move || move->seat != origin) return;
    const auto [seat, hand, board] = *move;
    if (isHandSlot(hand) && isBoardSlot(board)) game_.placemyletter(seat, hand, board);
}

void Server::tradingmyletter(int origin, std::string_view data) {
    const auto move = read::moveRequest(data);
    if (!move || move->seat != origin) return;
    const auto [seat, a, b] = *move;
    if (isBoardSlot(a) && isBoardSlot(b)) game_.tradingmyletter(seat, a, b);
}

void Server::stealinghisletter(int origin, std::string_view data) {
    const auto move = read::moveRequest(data);
    if (!move || move->seat != origin) return;
    const auto [seat, his, mine] = *move;
    if (isBoardSlot(his) && isBoardSlot(mine)) game_.stealinghisletter(seat, his, mine);
}

void Server::discardletter(int origin, std::string_view data) {
    const auto f = read::seatSlot(data);
    if (!f || f->seat != origin) return;
    if (isBoardSlot(f->slot)) game_.discardletter(f->seat, f->slot);
}

void Server::discardextra(int origin, std::string_view data) {
    const auto f = read::seatSlot(data);
    if (!f || f->seat != origin) return;
    if (isHandSlot(f->slot)) game_.discardextra(f->seat, f->slot);
}

} // namespace plimb
