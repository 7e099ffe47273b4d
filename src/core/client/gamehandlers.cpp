// The handlers of the game notices: each reads its fields, mirrors the server's decision on the
// boards and labels, and asks for the chat line and sound that go with it.
#include <algorithm>
#include <cctype>

#include "core/chat/chatrules.h"
#include "core/client/clientmodel.h"
#include "core/net/protocol.h"
#include "core/net/readers.h"

namespace plimb {

namespace {

constexpr int kUnlimitedShownAbove = 100;

void clearSlot(SlotView& slot) {
    slot.drawn = false;
    slot.code = 0;
}

void drawSlot(SlotView& slot, int code) {
    slot.drawn = true;
    slot.code = code;
}

void clearAndDraw(SlotView& slot, int code) {
    clearSlot(slot);
    drawSlot(slot, code);
}

// A word the board can spell: one letter per slot at most.
bool isBoardWord(std::string_view word) {
    return isBoardSlot(static_cast<int>(std::min<std::size_t>(word.size(), kBoardSlots + 1))) &&
           std::all_of(word.begin(), word.end(), [](unsigned char c) { return std::isalpha(c) != 0; });
}

// Steals left as a seat's label shows them: never below 0, and the unlimited count as a word.
std::string stealsText(int stealsLeft) {
    const int left = std::max(stealsLeft, 0);
    return left <= kUnlimitedShownAbove ? "Steals Left: " + std::to_string(left)
                                        : std::string("Steals Left: Unlimited");
}

std::string upper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

} // namespace

// A player sees the own board near and the opponent's far; a spectator sees seat 1 near.
BoardView& ClientModel::boardFor(int seat) {
    const bool near = me_.isPlayer() ? seat == me_.seat : seat == 1;
    return near ? view_.myletter : view_.hisletter;
}

void ClientModel::farMove(int seat, BoardMove move) {
    if (&boardFor(seat) == &view_.hisletter) feedback_.farMoves.push_back(move);
}

void ClientModel::applyTimePerTurn(int time) {
    view_.timeperturn = "Time per Turn: " + std::to_string(time);
    view_.timeperturnTag = time;
    view_.timerStep = TurnClock::barStep(time);
}

// ---- game settings ----

void ClientModel::startthegame(std::string_view data) {
    const auto start = read::startgame(data);
    if (!start) return;
    const std::string starter(start->name);
    const auto [time, playto, steals] = std::array{start->time, start->playto, start->steals};

    gameRunning_ = true;
    leftBehind_.reset();
    turnNumber_ = 0;
    view_.winnerVisible = false;
    view_.startButtonVisible = false;
    view_.justWatch = false;
    view_.status.clear();
    view_.rowFor(2).status.clear();

    clearall();
    view_.mywords.clear();
    view_.mywordsCaption = "Your Words: (0)";

    applyTimePerTurn(time);
    view_.playtoscore = "Play to Score: " + std::to_string(playto);

    if (steals == kUnlimitedSteals) {
        view_.steals = "# of Steals: Unlimited";
        view_.rowFor(1).status = "Steals Left: Unlimited";
        view_.rowFor(2).status = "Steals Left: Unlimited";
    } else {
        view_.steals = "# of Steals: " + std::to_string(steals);
        view_.rowFor(1).status = "Steals Left: " + std::to_string(steals);
        // Singular on purpose: the label keeps it until seat 2's first turn rewrites it.
        view_.rowFor(2).status = "Steal Left: " + std::to_string(steals);
    }

    systemLine(ownLine(starter + " has started a game.", me_.playerName));

    for (int n = 1; n <= kBoardSlots; ++n) {
        clearSlot(view_.hisletter[n]);
        clearSlot(view_.myletter[n]);
    }
    for (int n = 1; n <= kHandSlots; ++n)
        clearSlot(view_.extra[n]);
    view_.rows[0].eyes = false;
    view_.rows[1].eyes = false;
    // Nobody holds seat 2, so the computer player plays it.
    adoptComputerName();
    if (view_.rowFor(2).name == kWaitingName) view_.rowFor(2).name = computerName_;
}

void ClientModel::gamestats(std::string_view data) {
    const auto f = read::gamestats(data);
    if (!f) return;
    const auto [time, playto, steals, score1, score2] = *f;
    // Sent only to a client that comes in while a game runs.
    gameRunning_ = true;
    view_.rowFor(1).score = std::to_string(score1);
    view_.rowFor(2).score = std::to_string(score2);
    applyTimePerTurn(time);
    view_.playtoscore = "Play to score: " + std::to_string(playto);
    view_.steals = steals == kUnlimitedSteals ? std::string("# of Steals: Unlimited")
                                              : "# of Steals: " + std::to_string(steals);
}

// ---- hands ----

void ClientModel::letters(std::string_view data) {
    const auto hand = read::letters(data);
    if (!hand) return;
    for (const auto& [slot, code] : hand->letters)
        if (!isHandSlot(slot) || !isLetterCode(code)) return;
    if (hand->seat != me_.seat) return;
    for (const auto& [slot, code] : hand->letters)
        drawSlot(view_.extra[slot], code);
}

void ClientModel::newletter(std::string_view data) {
    const auto f = read::newletter(data);
    if (!f) return;
    const auto [seat, slot, code] = *f;
    if (!isHandSlot(slot) || !isLetterCode(code)) return;
    input_.lower(SlotFamily::Extra);
    if (seat != me_.seat) return;
    drawSlot(view_.extra[slot], code);
}

void ClientModel::discardextra(std::string_view data) {
    const auto f = read::seatSlot(data);
    if (!f) return;
    const auto [seat, slot] = *f;
    if (!isHandSlot(slot)) return;
    clock_.stop();
    if (seat != me_.seat) return;
    clearSlot(view_.extra[slot]);
    input_.reset();
    sound("clear");
}

// ---- boards ----

void ClientModel::placetheletters(std::string_view data) {
    const auto board = read::placetheletters(data);
    if (!board) return;
    for (const auto& [seat, slot, code] : *board)
        if (!isPlayerSeat(seat) || !isBoardSlot(slot) || !isLetterCode(code)) return;
    for (const auto& [seat, slot, code] : *board)
        clearAndDraw(boardFor(seat)[slot], code);
}

void ClientModel::placemyletter(std::string_view data) {
    const auto f = read::placemyletter(data);
    if (!f) return;
    const auto [seat, hand, board, code] = *f;
    if (!isPlayerSeat(seat) || (hand != 0 && !isHandSlot(hand)) || !isBoardSlot(board) || !isLetterCode(code))
        return;
    clock_.stop();
    if (me_.isPlayer() && seat == me_.seat) {
        clearAndDraw(view_.myletter[board], code);
        if (hand != 0) clearSlot(view_.extra[hand]);
        sound("place");
    } else {
        clearAndDraw(boardFor(seat)[board], code);
        farMove(seat, {BoardMoveKind::Put, 0, board, code});
    }
    input_.reset();
}

void ClientModel::tradingmyletter(std::string_view data) {
    const auto f = read::tradingmyletter(data);
    if (!f) return;
    const auto [seat, slotA, codeA, slotB, codeB] = *f;
    if (!isPlayerSeat(seat) || !isBoardSlot(slotA) || !isBoardSlot(slotB) || !isLetterCode(codeA) ||
        !isLetterCode(codeB))
        return;
    clock_.stop();
    auto& board = boardFor(seat);
    clearSlot(board[slotA]);
    clearSlot(board[slotB]);
    drawSlot(board[slotA], codeA);
    drawSlot(board[slotB], codeB);
    // Each letter the two slots now show came from the other one.
    if (slotA != slotB) {
        if (codeA != 0) farMove(seat, {BoardMoveKind::Moved, slotB, slotA, codeA});
        if (codeB != 0) farMove(seat, {BoardMoveKind::Moved, slotA, slotB, codeB});
    }
    // The two tiles the player clicked stood shifted while the request was on its way.
    if (me_.isPlayer() && seat == me_.seat) input_.lower(SlotFamily::MyLetter);
    sound("place");
    input_.reset();
}

void ClientModel::discardletter(std::string_view data) {
    const auto f = read::seatSlot(data);
    if (!f) return;
    const auto [seat, slot] = *f;
    if (!isPlayerSeat(seat) || !isBoardSlot(slot)) return;
    clock_.stop();
    if (const SlotView& gone = boardFor(seat)[slot]; gone.drawn && gone.code != 0)
        farMove(seat, {BoardMoveKind::TookOff, slot, 0, gone.code});
    clearSlot(boardFor(seat)[slot]);
    // The owner and the spectators hear it; the opponent does not.
    if (!me_.isPlayer() || seat == me_.seat) sound("clear");
    input_.reset();
}

void ClientModel::stoldletter(std::string_view data) {
    const auto f = read::stoldletter(data);
    if (!f) return;
    const auto [thief, victim, thiefSlot, victimSlot, code] = *f;
    (void)victim; // always the other player seat
    if (!isPlayerSeat(thief) || !isBoardSlot(thiefSlot) || !isBoardSlot(victimSlot) || !isLetterCode(code))
        return;
    const bool thiefNear = me_.isPlayer() ? thief == me_.seat : thief == 1;
    auto& thiefBoard = thiefNear ? view_.myletter : view_.hisletter;
    auto& victimBoard = thiefNear ? view_.hisletter : view_.myletter;
    clearAndDraw(thiefBoard[thiefSlot], code);
    clearSlot(victimBoard[victimSlot]);
    farMove(thief, {BoardMoveKind::Stole, victimSlot, thiefSlot, code});
    // The thief and the spectators hear it; the victim does not.
    if (!me_.isPlayer() || thief == me_.seat) sound("roundover");
    input_.reset();
}

// ---- results ----

void ClientModel::formedword(std::string_view data) {
    const auto formed = read::formedword(data);
    if (!formed || !isPlayerSeat(formed->seat) || !gameRunning_ || !isBoardWord(formed->word)) return;
    const int seat = formed->seat;
    const std::string word(formed->word);
    const int points = formed->points, total = formed->score;

    clock_.stop();
    if (seat == me_.seat) {
        view_.mywords.insert(view_.mywords.begin(), word + " : " + std::to_string(points));
        view_.mywordsCaption = "Your Words: (" + std::to_string(view_.mywords.size()) + ")";
        sound("goodword");
        const int length = static_cast<int>(word.size());
        if (length > ports_.tally.longestWordRecord()) ports_.tally.addword(word, length, 3);
        if (points > ports_.tally.bestScoreRecord()) ports_.tally.addword(word, points, 5);
        ports_.tally.anotherword(7);
    }
    for (const int slot : wordSlots(boardFor(seat), word)) {
        const auto& board = boardFor(seat);
        feedback_.changes.push_back({&board == &view_.myletter ? SlotFamily::MyLetter : SlotFamily::HisLetter,
                                     slot, SlotChangeKind::Scored, board[slot].code});
    }
    auto& row = view_.rowFor(seat);
    row.score = std::to_string(total);
    systemLine("For " + std::to_string(points) + " points " + row.name + " formed " + upper(word));
    if (!me_.isPlayer()) sound("goodword");
    input_.reset();
}

void ClientModel::notvalid(std::string_view data) {
    const auto seat = read::seat(data);
    if (!seat) return;
    input_.reset();
    if (*seat != me_.seat) return;
    ports_.messages.showMessage(
        "You can steal a letter only if you can use it immediately to create a valid word.");
    input_.lower(SlotFamily::HisLetter);
    input_.forget(SlotFamily::HisLetter);
    sound("badword");
}

void ClientModel::toomany(std::string_view data) {
    const auto seat = read::seat(data);
    if (!seat) return;
    input_.reset();
    if (*seat != me_.seat) return;
    ports_.messages.showMessage("You have used all your steals.");
    input_.forget(SlotFamily::HisLetter);
    sound("badword");
}

void ClientModel::timeup(std::string_view) {
    systemLine("Time Up!");
}

// ---- turns ----

void ClientModel::getnextplayer(std::string_view data) {
    const auto f = read::nextplayer(data);
    if (!f) return;
    const auto [seat, stealsLeft] = *f;
    if (!isPlayerSeat(seat)) return;

    leftBehind_.reset();
    input_.reset();
    ++turnNumber_;
    showTurn(seat, stealsLeft);
    if (seat == me_.seat) sound(switches_.turnSound == 1 ? "turnnew" : "start");
    clock_.setSecondsLeft(view_.timeperturnTag);
    clock_.start();
}

void ClientModel::showTurn(int seat, int stealsLeft) {
    currentPlayer_ = seat;
    view_.rows[0].turn = false;
    view_.rows[1].turn = false;
    auto& row = view_.rowFor(seat);
    row.turn = true;
    row.status = stealsText(stealsLeft);
    view_.status = seat == me_.seat ? std::string("Place a Letter") : row.name + "'s turn.";
}

// ---- a newcomer's table ----

void ClientModel::gamekey(std::string_view data) {
    if (const auto key = parseGamekey(data)) gameKey_ = *key;
}

void ClientModel::tablestate(std::string_view data) {
    const auto t = parseTablestate(data);
    if (!t) return;
    const bool sameGame = leftBehind_ && leftBehind_->gameKey == t->key;
    gameKey_ = t->key;
    if (t->running) {
        gameRunning_ = true;
        turnNumber_ = t->turn;
        for (int seat = 1; seat <= 2; ++seat) {
            view_.rowFor(seat).eyes = t->watching[seat];
            if (seat == me_.seat) view_.justWatch = t->watching[seat];
        }
        const int other = t->current == 1 ? 2 : 1;
        view_.rowFor(other).status = stealsText(t->stealsLeft[other]);
        showTurn(t->current, t->stealsLeft[t->current]);
        if (me_.isPlayer()) {
            view_.mywords.clear();
            for (const auto& [word, points] : t->words)
                view_.mywords.insert(view_.mywords.begin(), word + " : " + std::to_string(points));
            view_.mywordsCaption = "Your Words: (" + std::to_string(view_.mywords.size()) + ")";
        }
        clock_.setSecondsLeft(t->secondsLeft);
        clock_.show(view_);
        if (t->clockRunning) clock_.start();
        if (sameGame) view_.playtoscore = leftBehind_->view.playtoscore;
    } else {
        gameRunning_ = false;
        if (sameGame) restoreEndedGame(leftBehind_->gameRunning);
        if (isPlayerSeat(t->winner)) {
            view_.rowFor(1).score = std::to_string(t->score[1]);
            view_.rowFor(2).score = std::to_string(t->score[2]);
            const std::string line = view_.rowFor(t->winner).name + " has won the game!";
            view_.winnerText = t->winner == me_.seat ? ownLine(line, me_.playerName) : line;
            view_.winnerVisible = true;
        }
    }
    if (leftBehind_) tellWhatChanged(*t, sameGame);
    leftBehind_.reset();
    fullWhileAway_ = false;
}

// An ended game is not told again: it stands as this window last showed it. The tiles are the
// host's; the names are as announced now. When the game was still on at the cut, what showed its
// turns is gone with it.
void ClientModel::restoreEndedGame(bool endedWhileAway) {
    const ViewState& was = leftBehind_->view;
    // The hand is not told after a game: the one last shown stays.
    ViewState restored = was;
    restored.myletter = view_.myletter;
    restored.hisletter = view_.hisletter;
    for (std::size_t r = 0; r < restored.rows.size(); ++r) {
        restored.rows[r].name = view_.rows[r].name;
        restored.rows[r].nameVisible = view_.rows[r].nameVisible;
        restored.rows[r].scoreVisible = view_.rows[r].scoreVisible;
        restored.rows[r].eyes = view_.rows[r].eyes;
        if (endedWhileAway) restored.rows[r].turn = false;
    }
    restored.rowOfSeat1 = view_.rowOfSeat1;
    restored.rowOfSeat2 = view_.rowOfSeat2;
    restored.justWatch = view_.justWatch;
    restored.startButtonVisible = view_.startButtonVisible;
    if (endedWhileAway) {
        restored.status.clear();
        restored.turntime = view_.turntime;
        restored.timerWidth = view_.timerWidth;
    }
    view_ = std::move(restored);
}

void ClientModel::tellWhatChanged(const TableState& now, bool sameGame) {
    const LeftBehind& left = *leftBehind_;
    if (!sameGame) {
        if (left.gameRunning || left.view.winnerVisible)
            systemLine(now.running ? "The host has started a new game: the game you left is over."
                                   : "The host has started over: the game you left is over.");
        return;
    }
    if (left.gameRunning && !now.running) {
        systemLine("The game ended while you were away.");
        return;
    }
    if (!left.gameRunning || !now.running || !me_.isPlayer() || left.seat != me_.seat) return;
    // Turns alternate, the one in view at the cut being the left player's.
    const int turns = std::max(now.turn - left.turnNumber, 0);
    const int mine = left.currentPlayer == me_.seat ? (turns + 1) / 2 : turns / 2;
    if (mine == 1)
        systemLine("Your turn passed while you were away.");
    else if (mine > 1)
        systemLine(std::to_string(mine) + " of your turns passed while you were away.");
}

void ClientModel::winner(std::string_view data) {
    const auto won = read::seat(data);
    // A game ends once; a winner with no game running is not counted again.
    if (!won || !isPlayerSeat(*won) || !gameRunning_) return;
    const int seat = *won;
    gameRunning_ = false;

    clock_.stop();
    clock_.setSecondsLeft(0);
    currentPlayer_ = 0;
    sound("winner");

    const std::string name = view_.rowFor(seat).name;
    const auto own = [&](const std::string& line) {
        return seat == me_.seat ? ownLine(line, me_.playerName) : line;
    };
    view_.winnerText = own(name + " has won the game!");
    view_.winnerVisible = true;

    if (seat == me_.seat)
        ports_.tally.addgame("addtomine");
    else if (me_.isPlayer())
        ports_.tally.addgame(name);

    systemLine(own(name + " has Won the Game!"));
    if (me_.isHost) view_.startButtonVisible = true;
    sound("gameover");
}

} // namespace plimb
