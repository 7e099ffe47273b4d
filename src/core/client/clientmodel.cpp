#include "core/client/clientmodel.h"

#include <algorithm>
#include <utility>

#include "core/chat/chatrules.h"
#include "core/chat/chatter.h"
#include "core/chat/receivedtext.h"
#include "core/client/noticefields.h"
#include "core/net/protocol.h"
#include "core/net/socketerror.h"

namespace plimb {

namespace {
// The phrase buttons come back after this many ticks of the 1 ms timer have passed; counted in
// ticks, not milliseconds.
constexpr int kPhraseCoolDownTicks = 100;
constexpr std::string_view kWaiting = "<Waiting>";
} // namespace

ClientModel::ClientModel(const ClientPorts& ports) : ports_(ports) {
    clearall();
}

// Exact names, one row each; CMD_existingplayers shares the newcomer's handler.
const std::vector<ClientModel::Route>& ClientModel::routes() {
    static const std::vector<Route> table = {
        {msg::sendlogininfo, &ClientModel::sendloginfo},
        {msg::chat, &ClientModel::chat},
        {msg::action, &ClientModel::chat},
        {msg::newplayerinfo, &ClientModel::newplayerinfo},
        {msg::havewrongversion, &ClientModel::havewrongversion},
        {msg::wrongversion, &ClientModel::wrongversion},
        {msg::existingplayers, &ClientModel::newplayerinfo},
        {msg::playerdisconnected, &ClientModel::playerdisconnected},
        {msg::justwatching, &ClientModel::justwatching},
        {msg::startgame, &ClientModel::startthegame},
        {msg::nextplayer, &ClientModel::getnextplayer},
        {msg::winner, &ClientModel::winner},
        {msg::full, &ClientModel::full},
        {msg::letters, &ClientModel::letters},
        {msg::newletter, &ClientModel::newletter},
        {msg::placemyletter, &ClientModel::placemyletter},
        {msg::discardextra, &ClientModel::discardextra},
        {msg::discardletter, &ClientModel::discardletter},
        {msg::tradingmyletter, &ClientModel::tradingmyletter},
        {msg::notvalid, &ClientModel::notvalid},
        {msg::formedword, &ClientModel::formedword},
        {msg::stoldletter, &ClientModel::stoldletter},
        {msg::timeup, &ClientModel::timeup},
        {msg::gamestats, &ClientModel::gamestats},
        {msg::toomany, &ClientModel::toomany},
        {msg::placetheletters, &ClientModel::placetheletters},
        {msg::playasound, &ClientModel::playasound},
        {msg::removedfromgame, &ClientModel::removedfromgame},
        {msg::gamekey, &ClientModel::gamekey},
        {msg::tablestate, &ClientModel::tablestate},
        {msg::seatkey, &ClientModel::seatkey},
    };
    return table;
}

void ClientModel::received(std::string message) {
    queuedBytes_ += message.size();
    receivedlist_.push_back(std::move(message));
}

void ClientModel::processsocktimer() {
    if (receivedlist_.empty()) return;
    queuedBytes_ -= receivedlist_.front().size();
    // Every notice is read here, once, as text that is safe to show.
    const std::string entry = receivedText(receivedlist_.front());
    receivedlist_.pop_front();
    const Message m = splitMessage(entry);
    if (m.name.empty()) return;
    if (std::exchange(restarted_, false)) {
        // What the old connection showed goes only now, as the new one starts to tell.
        const ViewState fresh;
        view_ = fresh;
        view_.startButtonVisible = isHost_;
        clearall();
    }
    for (const auto& route : routes()) {
        if (route.name == m.name) {
            const ShownSlots before = shownSlots(view_);
            (this->*route.handler)(m.data);
            // A new game clears the boards and a latecomer is shown the game as it stands:
            // neither is a move to point out.
            const bool catchUp = m.name == msg::startgame || m.name == msg::placetheletters ||
                                 m.name == msg::gamestats || m.name == msg::tablestate;
            if (!catchUp) appendChanges(before, shownSlots(view_), feedback_);
            return;
        }
    }
}

void ClientModel::timer1Timer() {
    processsocktimer();
    if (!phraseReady_ && ++phraseTicks_ > kPhraseCoolDownTicks) {
        phraseReady_ = true;
        phraseTicks_ = 0;
    }
}

void ClientModel::send(const std::string& request) {
    if (loggedIn_) ports_.requests.sendRequest(request);
}

void ClientModel::sound(const std::string& name) {
    if (playSounds) ports_.sounds.playsounds(name);
}

void ClientModel::systemLine(const std::string& line) {
    ports_.messages.addlinetochat(line, kSystemLineColour);
}

void ClientModel::startClock() {
    turnTimerRunning_ = true;
    ports_.turnTimer.startTurnTimer();
}

void ClientModel::stopClock() {
    turnTimerRunning_ = false;
    ports_.turnTimer.stopTurnTimer();
}

// ---- start-up and login ----

void ClientModel::hostpress() {
    loginName_ = playerName_ + kTerminator;
    isHost_ = true;
    view_.startButtonVisible = true;
}

void ClientModel::joinpress() {
    loginName_ = playerName_ + kTerminator;
    view_.startButtonVisible = false;
}

void ClientModel::connectFailed(std::string_view host, int port, int code, std::string_view error) {
    if (loggedIn_) return;
    systemLine("Could not connect to " + std::string(host) + ": " + std::string(error));
    systemLine(connectFailureAdvice(code, host, port));
}

void ClientModel::sendloginfo(std::string_view data) {
    const auto seat = parseInt(data);
    if (!seat) return;
    mySeat_ = *seat;
    loggedIn_ = true;
    // Coming back to a seat the host keeps for us: shown before the login, the secret moves this
    // connection into it, and the host tells the seat again. A host that keeps nothing ignores it.
    if (leftBehind_ && leftBehind_->seat == 2 && mySeat_ != 2 && !seatSecret_.empty())
        send(build::reclaimseat(mySeat_, seatSecret_));
    // The login name keeps its 0xFF, so the framed request ends in two terminators; the server
    // reads the second as an empty message and drops it.
    send(build::logininfo(mySeat_, kVersion, loginName_));
}

void ClientModel::havewrongversion(std::string_view data) {
    systemLine(std::string(data) + " has a different version of the game then you.");
}

void ClientModel::wrongversion(std::string_view) {
    systemLine("You have a differnt version of the game then the host.");
}

void ClientModel::seatkey(std::string_view data) {
    FieldReader reader(data);
    if (const auto secret = parseSeatSecret(reader.text())) seatSecret_ = *secret;
}

void ClientModel::removedfromgame(std::string_view) {
    removedByHost_ = true;
    seatSecret_.clear();
    // The game goes on without us: nothing on this board counts down or marks a turn any more.
    stopClock();
    currentPlayer_ = 0;
    view_.rows[0].turn = false;
    view_.rows[1].turn = false;
}

void ClientModel::restartConnection() {
    // One attempt after another ends without the table told: what was left is still the game
    // the window showed.
    if (!leftBehind_)
        leftBehind_ = LeftBehind{gameKey_, gameRunning_, turnNumber_, currentPlayer_, mySeat_, view_};
    gameKey_.clear();
    turnNumber_ = 0;
    receivedlist_.clear();
    queuedBytes_ = 0;
    spys_.clear();
    announced_ = {};
    gameRunning_ = false;
    mySeat_ = 0;
    loggedIn_ = false;
    currentPlayer_ = 0;
    secondsLeft_ = 0;
    selectedHand_ = selectedBoard_ = selectedOpponent_ = 0;
    if (turnTimerRunning_) stopClock();
    feedback_.clear();
    removedByHost_ = false;
    restarted_ = true;
}

void ClientModel::full(std::string_view) {
    // Coming back to a game, a full table is one more try that failed: the window stays, and the
    // connection banner goes on trying or leaves it to the player.
    if (leftBehind_) {
        if (!std::exchange(fullWhileAway_, true)) systemLine("Game is full");
        return;
    }
    ports_.messages.showMessage("Game is full");
    ports_.messages.closeMainWindow();
}

void ClientModel::chat(std::string_view data) {
    const ChatLine line = chatrecieved(data);
    ports_.messages.addlinetochat(ownLine(line.line, playerName_), line.colour);
}

// ---- people ----

void ClientModel::newplayerinfo(std::string_view data) {
    FieldReader reader(data);
    const auto seat = reader.number();
    if (!seat || !notice::isSeat(*seat)) return;
    const std::string name(reader.rest());
    // The host announces each login once. An announcement of a seat as it already stands is a
    // repeat that would only pile up chat lines, sounds and spy entries: ignored.
    auto& announced = announced_[static_cast<std::size_t>(*seat)];
    if (announced == name) return;
    announced = name;

    if (*seat == mySeat_) {
        systemLine("You are Connected.");
        // Once a window: a window that rejoins knows the key already.
        if (!settingsLoaded_) systemLine("View Quick Instructions by clicking Ctrl-i");
        // Only the first announcement of the own seat may exchange the rows and read the
        // settings; a repeat under another name must do neither again.
        if (mySeat_ == 2 && view_.rowOfSeat2 == 1) switchlabels();
        if (!settingsLoaded_) ports_.settings.loadinifile();
        settingsLoaded_ = true;
    } else {
        systemLine(name + " is Connected.");
    }
    sound("entered");

    if (*seat >= 3) {
        // One entry per seat: a seat announced under another name replaces its entry.
        const std::string prefix = std::to_string(*seat) + ": ";
        std::erase_if(spys_, [&prefix](const std::string& e) { return e.rfind(prefix, 0) == 0; });
        spys_.push_back(prefix + name);
        systemLine(*seat == mySeat_ ? std::string("You are spying.") : name + " is spying.");
    } else {
        auto& row = view_.rowFor(*seat);
        row.name = name;
        row.nameVisible = true;
        row.scoreVisible = true;
    }
}

void ClientModel::playerdisconnected(std::string_view data) {
    FieldReader reader(data);
    const auto seat = reader.number();
    if (!seat || !notice::isSeat(*seat)) return;
    const std::string name(reader.rest());
    announced_[static_cast<std::size_t>(*seat)].reset();

    if (*seat >= 3) {
        const std::string entry = std::to_string(*seat) + ": " + name;
        const auto it = std::find(spys_.begin(), spys_.end(), entry);
        if (it == spys_.end()) return;
        ports_.messages.addlinetochat(name + " has left.", clNavy);
        spys_.erase(it);
        return;
    }
    auto& row = view_.rowFor(*seat);
    systemLine(row.name + " disconnected.");
    row.name = computerName_; // the server's computer player takes the seat over
    row.eyes = false;
}

void ClientModel::justwatching(std::string_view data) {
    const auto f = notice::numbers<2>(data);
    if (!f) return;
    const auto [seat, flag] = *f;
    if (!notice::isPlayerSeat(seat)) return;
    auto& row = view_.rowFor(seat);
    const bool watching = flag == 1;
    if (seat == mySeat_) view_.justWatch = watching;
    const std::string line = row.name + (watching ? " is just watching." : " is now playing again.");
    ports_.messages.addlinetochat(seat == mySeat_ ? ownLine(line, playerName_) : line, clGreen);
    row.eyes = watching;
}

// ---- phrases and chatter sounds ----

bool ClientModel::phraseClick(std::string_view phrase, Colour actionColour) {
    if (!loggedIn_ || !phraseReady_) return false;
    ports_.requests.sendRequest(phraseRequest(phrase, mySeat_, actionColour));
    phraseReady_ = false;
    return true;
}

void ClientModel::wave20Click(int tag) {
    if (tag < 1 || tag > kChatterCount || !isPlayerClient()) return;
    send(build::playasoundRequest(mySeat_, tag));
}

void ClientModel::playasound(std::string_view data) {
    FieldReader reader(data);
    const std::string_view seatText = reader.text();
    const std::string_view name = reader.text();
    if (name.empty()) return;
    if (playChatterSounds) {
        ports_.sounds.playChatter(std::string(name));
        return;
    }
    // Muted chatter is written into the chat instead; a seat without a name label or a sound
    // without a menu item writes nothing.
    const auto seat = parseInt(seatText);
    if (!seat || !notice::isPlayerSeat(*seat)) return;
    const auto tag = chatterNumber(name);
    if (!tag) return;
    systemLine(view_.rowFor(*seat).name + ": <Chatter Sound> " + std::string(kChatterCaptions[*tag]));
}

// ---- game start ----

bool ClientModel::startButtonClick() {
    if (loggedIn_) return true;
    ports_.messages.showMessage("You are not connected");
    return false;
}

void ClientModel::showNextGame(std::string_view timeText, std::string_view playtoText,
                               std::string_view stealsText, bool unlimited) {
    if (gameRunning_ || view_.winnerVisible) return;
    view_.timeperturn = "Time per Turn: " + std::string(timeText);
    view_.playtoscore = "Play to Score: " + std::string(playtoText);
    view_.steals = "# of Steals: " + (unlimited ? std::string("Unlimited") : std::string(stealsText));
}

void ClientModel::showComputerOpponent() {
    auto& row = view_.rowFor(2);
    if (!announced_[2] && row.name == kWaiting) row.name = computerName_;
}

void ClientModel::setComputerName(std::string name) {
    nextComputerName_ = std::move(name);
    if (!gameRunning_) adoptComputerName();
}

void ClientModel::adoptComputerName() {
    for (auto& row : view_.rows)
        if (row.name == computerName_) row.name = nextComputerName_;
    computerName_ = nextComputerName_;
}

void ClientModel::sendStartGame(std::string_view timeText, std::string_view playtoText,
                                std::string_view stealsText, bool unlimited) {
    const std::string steals = unlimited ? std::to_string(kUnlimitedSteals) : std::string(stealsText);
    send(build::startgame(playerName_, timeText, playtoText, steals));
}

// ---- spectators and removal ----

void ClientModel::justWatchClick() {
    if (!loggedIn_ || !isPlayerClient()) return;
    // The flag follows the check mark, which only the server's answer moves: two clicks
    // without an answer in between send the same request twice.
    send(build::justwatch(mySeat_, view_.justWatch ? 2 : 1));
}

void ClientModel::setJustWatch(int seat, bool watch) {
    if (!notice::isPlayerSeat(seat)) return;
    send(build::justwatch(seat, watch ? 1 : 2));
}

void ClientModel::kicking(int seat) {
    if (isHost_) send(build::kickhim(mySeat_, seat));
}

void ClientModel::kickSpyEntry(std::string_view entry) {
    const auto colon = entry.find(':');
    const auto seat = parseInt(entry.substr(0, colon));
    if (seat) kicking(*seat);
}

ClientModel::NamePopupState ClientModel::namePopupState(int seat) const {
    const bool waiting = notice::isPlayerSeat(seat) && view_.rowFor(seat).name == kWaiting;
    return {seat, isHost_ && !waiting, isHost_, isHost_};
}

// ---- view operations ----

void ClientModel::clearall() {
    view_.rows[0].score = "0";
    view_.rows[1].score = "0";
}

void ClientModel::resettiles() {
    selectedHand_ = 0;
    selectedBoard_ = 0;
    selectedOpponent_ = 0;
    for (int n = 1; n <= 10; ++n) {
        view_.hisletter[n].top = kHisLetterTop;
        view_.myletter[n].top = kMyLetterTop;
        if (n <= 6) view_.extra[n].top = kExtraTop;
    }
}

void ClientModel::switchlabels() {
    // The rows change places and each keeps what it shows, so a seat announced before this
    // client's own (the host's login can overtake it) stays with its seat.
    std::swap(view_.rowOfSeat1, view_.rowOfSeat2);
    std::swap(view_.rows[0], view_.rows[1]);
}

} // namespace plimb
