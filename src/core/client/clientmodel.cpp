#include "core/client/clientmodel.h"

#include <algorithm>
#include <utility>

#include "core/chat/chatrules.h"
#include "core/chat/chatter.h"
#include "core/chat/receivedtext.h"
#include "core/net/protocol.h"
#include "core/net/readers.h"
#include "core/net/socketerror.h"

namespace plimb {

namespace {
// The phrase buttons come back after this many ticks of the 1 ms timer have passed; counted in
// ticks, not milliseconds.
constexpr int kPhraseCoolDownTicks = 100;
} // namespace

ClientModel::ClientModel(const ClientPorts& ports)
    : ports_(ports),
      input_(
          view_,
          // A move is this player's while the seat has the turn and does not just watch.
          [this] {
              return currentPlayer_ == me_.seat && !view_.justWatch ? std::optional<int>(me_.seat)
                                                                    : std::nullopt;
          },
          [this](const std::string& request) { send(request); }),
      clock_(ports.turnTimer),
      spectators_(me_, view_, [this](const std::string& request) { send(request); }) {
    clearall();
}

ClientModel::ClientModel(const ClientModel& from, const ClientPorts& ports) : ClientModel(ports) {
    // Every member but the ports and the parts bound to this object's own view.
    view_ = from.view_;
    me_ = from.me_;
    switches_ = from.switches_;
    queue_ = from.queue_;
    input_.copyStateFrom(from.input_);
    clock_.copyStateFrom(from.clock_);
    spectators_.copyStateFrom(from.spectators_);
    feedback_ = from.feedback_;
    announced_ = from.announced_;
    gameRunning_ = from.gameRunning_;
    computerName_ = from.computerName_;
    nextComputerName_ = from.nextComputerName_;
    settingsLoaded_ = from.settingsLoaded_;
    currentPlayer_ = from.currentPlayer_;
    phraseReady_ = from.phraseReady_;
    phraseTicks_ = from.phraseTicks_;
    removedByHost_ = from.removedByHost_;
    restarted_ = from.restarted_;
    gameKey_ = from.gameKey_;
    turnNumber_ = from.turnNumber_;
    leftBehind_ = from.leftBehind_;
    fullWhileAway_ = from.fullWhileAway_;
    seatSecret_ = from.seatSecret_;
}

bool ClientModel::inTheGame() const {
    return me_.loggedIn && me_.seat >= 1 && me_.seat < static_cast<int>(announced_.size()) &&
           announced_[static_cast<std::size_t>(me_.seat)].has_value();
}

// Exact names, one row each; CMD_existingplayers shares the newcomer's handler. A game start
// and the notices a latecomer is shown the game with record no changes to point out.
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
        {msg::startgame, &ClientModel::startthegame, true},
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
        {msg::gamestats, &ClientModel::gamestats, true},
        {msg::toomany, &ClientModel::toomany},
        {msg::placetheletters, &ClientModel::placetheletters, true},
        {msg::playasound, &ClientModel::playasound},
        {msg::removedfromgame, &ClientModel::removedfromgame},
        {msg::gamekey, &ClientModel::gamekey},
        {msg::tablestate, &ClientModel::tablestate, true},
        {msg::seatkey, &ClientModel::seatkey},
    };
    return table;
}

void ClientModel::processsocktimer() {
    const auto taken = queue_.take();
    if (!taken) return;
    // Every notice is read here, once, as text that is safe to show.
    const std::string entry = receivedText(*taken);
    const Message m = splitMessage(entry);
    if (m.name.empty()) return;
    if (std::exchange(restarted_, false)) {
        // What the old connection showed goes only now, as the new one starts to tell.
        const ViewState fresh;
        view_ = fresh;
        view_.startButtonVisible = me_.isHost;
        clearall();
    }
    for (const auto& route : routes()) {
        if (route.name == m.name) {
            const ShownSlots before = shownSlots(view_);
            (this->*route.handler)(m.data);
            if (!route.catchUp) appendChanges(before, shownSlots(view_), feedback_.changes);
            ports_.log.handled(entry);
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
    if (me_.loggedIn) ports_.requests.sendRequest(request);
}

void ClientModel::sound(const std::string& name) {
    if (switches_.playSounds) ports_.sounds.playsounds(name);
}

void ClientModel::systemLine(const std::string& line) {
    ports_.messages.addlinetochat(line, kSystemLineColour);
}

// ---- start-up and login ----

void ClientModel::hostpress() {
    me_.loginName = me_.playerName + kTerminator;
    me_.isHost = true;
    view_.startButtonVisible = true;
}

void ClientModel::joinpress() {
    me_.loginName = me_.playerName + kTerminator;
    view_.startButtonVisible = false;
}

void ClientModel::connectFailed(std::string_view host, int port, int code, std::string_view error) {
    if (me_.loggedIn) return;
    systemLine("Could not connect to " + std::string(host) + ": " + std::string(error));
    systemLine(connectFailureAdvice(code, host, port));
}

void ClientModel::sendloginfo(std::string_view data) {
    const auto seat = read::seat(data);
    if (!seat) return;
    me_.seat = *seat;
    me_.loggedIn = true;
    // Coming back to a seat the host keeps for us: shown before the login, the secret moves this
    // connection into it, and the host tells the seat again. A host that keeps nothing ignores it.
    if (leftBehind_ && leftBehind_->seat == 2 && me_.seat != 2 && !seatSecret_.empty())
        send(build::reclaimseatRequest(me_.seat, seatSecret_));
    // The login name keeps its 0xFF, so the framed request ends in two terminators; the server
    // reads the second as an empty message and drops it.
    send(build::logininfoRequest(me_.seat, kVersion, me_.loginName));
}

void ClientModel::havewrongversion(std::string_view data) {
    systemLine(std::string(data) + " has a different version of the game then you.");
}

void ClientModel::wrongversion(std::string_view) {
    systemLine("You have a differnt version of the game then the host.");
}

void ClientModel::seatkey(std::string_view data) {
    if (const auto secret = parseSeatSecret(read::seatkey(data))) seatSecret_ = *secret;
}

void ClientModel::removedfromgame(std::string_view) {
    removedByHost_ = true;
    seatSecret_.clear();
    // The game goes on without us: nothing on this board counts down or marks a turn any more.
    clock_.stop();
    currentPlayer_ = 0;
    view_.rows[0].turn = false;
    view_.rows[1].turn = false;
}

void ClientModel::restartConnection() {
    // One attempt after another ends without the table told: what was left is still the game
    // the window showed.
    if (!leftBehind_)
        leftBehind_ = LeftBehind{gameKey_, gameRunning_, turnNumber_, currentPlayer_, me_.seat, view_};
    gameKey_.clear();
    turnNumber_ = 0;
    queue_.clear();
    spectators_.clear();
    announced_ = {};
    gameRunning_ = false;
    me_.seat = 0;
    me_.loggedIn = false;
    currentPlayer_ = 0;
    clock_.clear();
    input_.forget(SlotFamily::Extra);
    input_.forget(SlotFamily::MyLetter);
    input_.forget(SlotFamily::HisLetter);
    feedback_ = {};
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
    ports_.messages.addlinetochat(ownLine(line.line, me_.playerName), line.colour);
}

// ---- people ----

void ClientModel::newplayerinfo(std::string_view data) {
    const auto arrived = read::seatName(data);
    if (!arrived || !isSeat(arrived->seat)) return;
    const int seat = arrived->seat;
    const std::string name(arrived->name);
    // The host announces each login once. An announcement of a seat as it already stands is a
    // repeat that would only pile up chat lines, sounds and spy entries: ignored.
    auto& announced = announced_[static_cast<std::size_t>(seat)];
    if (announced == name) return;
    announced = name;

    if (seat == me_.seat) {
        systemLine("You are Connected.");
        // Once a window: a window that rejoins knows the key already.
        if (!settingsLoaded_) systemLine("View Quick Instructions by clicking Ctrl-i");
        // Only the first announcement of the own seat may exchange the rows and read the
        // settings; a repeat under another name must do neither again.
        if (me_.seat == 2 && view_.rowOfSeat2 == 1) switchlabels();
        if (!settingsLoaded_) ports_.settings.loadinifile();
        settingsLoaded_ = true;
    } else {
        systemLine(name + " is Connected.");
    }
    sound("entered");

    if (seat >= 3) {
        // One entry per seat: a seat announced under another name replaces its entry.
        spectators_.arrived(seat, name);
        systemLine(seat == me_.seat ? std::string("You are spying.") : name + " is spying.");
    } else {
        auto& row = view_.rowFor(seat);
        row.name = name;
        row.nameVisible = true;
        row.scoreVisible = true;
    }
}

void ClientModel::playerdisconnected(std::string_view data) {
    const auto left = read::seatName(data);
    if (!left || !isSeat(left->seat)) return;
    const int seat = left->seat;
    const std::string name(left->name);
    announced_[static_cast<std::size_t>(seat)].reset();

    if (seat >= 3) {
        if (spectators_.left(seat, name)) ports_.messages.addlinetochat(name + " has left.", clNavy);
        return;
    }
    auto& row = view_.rowFor(seat);
    systemLine(row.name + " disconnected.");
    row.name = computerName_; // the server's computer player takes the seat over
    row.eyes = false;
}

void ClientModel::justwatching(std::string_view data) {
    const auto f = read::justwatching(data);
    if (!f) return;
    const auto [seat, flag] = *f;
    if (!isPlayerSeat(seat)) return;
    auto& row = view_.rowFor(seat);
    const bool watching = flag == 1;
    if (seat == me_.seat) view_.justWatch = watching;
    const std::string line = row.name + (watching ? " is just watching." : " is now playing again.");
    ports_.messages.addlinetochat(seat == me_.seat ? ownLine(line, me_.playerName) : line, clGreen);
    row.eyes = watching;
}

// ---- phrases and chatter sounds ----

bool ClientModel::phraseClick(std::string_view phrase, Colour actionColour) {
    if (!me_.loggedIn || !phraseReady_) return false;
    ports_.requests.sendRequest(phraseRequest(phrase, me_.seat, actionColour));
    phraseReady_ = false;
    return true;
}

void ClientModel::wave20Click(int tag) {
    if (tag < 1 || tag > kChatterCount || !me_.isPlayer()) return;
    send(build::playasoundRequest(me_.seat, tag));
}

void ClientModel::playasound(std::string_view data) {
    const auto chatter = read::playasound(data);
    const std::string_view seatText = chatter->player;
    const std::string_view name = chatter->sound;
    if (name.empty()) return;
    if (switches_.playChatterSounds) {
        ports_.sounds.playChatter(std::string(name));
        return;
    }
    // Muted chatter is written into the chat instead; a seat without a name label or a sound
    // without a menu item writes nothing.
    const auto seat = parseInt(seatText);
    if (!seat || !isPlayerSeat(*seat)) return;
    const auto tag = chatterNumber(name);
    if (!tag) return;
    systemLine(view_.rowFor(*seat).name + ": <Chatter Sound> " + std::string(kChatterCaptions[*tag]));
}

// ---- game start ----

bool ClientModel::startButtonClick() {
    if (me_.loggedIn) return true;
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
    if (!announced_[2] && row.name == kWaitingName) row.name = computerName_;
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
    send(build::startgame(me_.playerName, timeText, playtoText, steals));
}

// ---- the clock ----

void ClientModel::turntimerTimer() {
    const bool aloud = clock_.tick();
    clock_.show(view_);
    if (aloud) sound("tick");
}

// ---- view operations ----

void ClientModel::clearall() {
    view_.rows[0].score = "0";
    view_.rows[1].score = "0";
}

void ClientModel::switchlabels() {
    // The rows change places and each keeps what it shows, so a seat announced before this
    // client's own (the host's login can overtake it) stays with its seat.
    std::swap(view_.rowOfSeat1, view_.rowOfSeat2);
    std::swap(view_.rows[0], view_.rows[1]);
}

} // namespace plimb
