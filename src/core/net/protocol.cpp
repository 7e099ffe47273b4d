#include "core/net/protocol.h"
#include "core/net/board.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace plimb {

Message splitMessage(std::string_view text) {
    const auto plus = text.find('+');
    if (plus == std::string_view::npos) return {{}, {}};
    return {text.substr(0, plus), text.substr(plus + 1)};
}

std::string_view utf8Prefix(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t end = maxBytes;
    // Step back over continuation bytes to the start of the character that would be cut; a UTF-8
    // character has at most three, and text that is not UTF-8 is cut where it stands.
    for (int back = 0; back < 3 && end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80; ++back)
        --end;
    if ((static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) end = maxBytes;
    return text.substr(0, end);
}

std::optional<int> chatterNumber(std::string_view soundName) {
    constexpr std::string_view kPrefix = "wave";
    if (soundName.size() <= kPrefix.size()) return std::nullopt;
    for (std::size_t i = 0; i < kPrefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(soundName[i])) != kPrefix[i]) return std::nullopt;
    const auto digits = soundName.substr(kPrefix.size());
    if (digits.front() == '0' || digits.front() == '-') return std::nullopt;
    const auto n = parseInt(digits);
    if (!n || *n < 1 || *n > kChatterSounds) return std::nullopt;
    return n;
}

std::optional<int> parseInt(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::string_view digits = text.front() == '-' ? text.substr(1) : text;
    if (digits.empty()) return std::nullopt;
    for (char c : digits)
        if (c < '0' || c > '9') return std::nullopt;
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string_view FieldReader::text() {
    if (exhausted_) return {};
    const auto plus = rest_.find('+');
    std::string_view field;
    if (plus == std::string_view::npos) {
        field = rest_;
        rest_ = {};
        exhausted_ = true;
    } else {
        field = rest_.substr(0, plus);
        rest_ = rest_.substr(plus + 1);
    }
    return field;
}

std::optional<int> FieldReader::number() {
    if (exhausted_) return std::nullopt;
    return parseInt(text());
}

namespace {

void add(std::string& out, int n) {
    out += '+';
    out += std::to_string(n);
}
void add(std::string& out, std::string_view s) {
    out += '+';
    out += s;
}

template <typename... Fields>
std::string join(std::string_view name, bool trailingPlus, const Fields&... fields) {
    std::string out(name);
    (add(out, fields), ...);
    if (trailingPlus) out += '+';
    return out;
}

} // namespace

namespace build {

std::string logininfoRequest(int seat, std::string_view version, std::string_view loginName) {
    return join(msg::logininfo, false, seat, version, loginName);
}
std::string chatRequest(int seat, std::string_view chatText) {
    return join(msg::chat, false, seat, chatText);
}
std::string actionRequest(int seat, std::string_view chatText) {
    return join(msg::action, false, seat, chatText);
}
std::string startgame(std::string_view name, std::string_view time, std::string_view playto,
                      std::string_view steals) {
    return join(msg::startgame, true, name, time, playto, steals);
}
std::string placemyletterRequest(int player, int hand, int board) {
    return join(msg::placemyletter, true, player, hand, board);
}
std::string tradingmyletterRequest(int player, int a, int b) {
    return join(msg::tradingmyletter, true, player, a, b);
}
std::string stealinghisletterRequest(int player, int hisSlot, int mySlot) {
    return join(msg::stealinghisletter, true, player, hisSlot, mySlot);
}
std::string discardletterRequest(int player, int board) {
    return join(msg::discardletter, true, player, board);
}
std::string discardextraRequest(int player, int hand) {
    return join(msg::discardextra, true, player, hand);
}
std::string justwatchRequest(int player, int flag) {
    return join(msg::justwatch, false, player, flag);
}
std::string kickhimRequest(int requester, int seat) {
    return join(msg::kickhim, true, requester, seat);
}
std::string playasoundRequest(int player, int wave) {
    return join(msg::playasound, true, player, "wave" + std::to_string(wave));
}

std::string sendlogininfo(int seat) {
    return join(msg::sendlogininfo, false, seat);
}
std::string full() {
    return join(msg::full, true);
}

std::string removedfromgame() {
    return join(msg::removedfromgame, true);
}
std::string newplayerinfo(int seat, std::string_view name) {
    return join(msg::newplayerinfo, false, seat, name);
}
std::string existingplayers(int seat, std::string_view name) {
    return join(msg::existingplayers, false, seat, name);
}
std::string havewrongversion(std::string_view name) {
    return join(msg::havewrongversion, false, name);
}
std::string wrongversion() {
    return join(msg::wrongversion, true);
}
std::string playerdisconnected(int seat, std::string_view name) {
    return join(msg::playerdisconnected, false, seat, name);
}
std::string chat(std::string_view name, std::string_view rest) {
    return std::string(msg::chat) + '+' + std::string(name) + " chats: " + std::string(rest);
}
std::string action(std::string_view name, std::string_view rest) {
    return std::string(msg::action) + '+' + std::string(name) + ' ' + std::string(rest);
}
std::string playasound(std::string_view player, std::string_view rest) {
    return join(msg::playasound, false, player, rest);
}
std::string justwatching(int player, int flag) {
    return join(msg::justwatching, false, player, flag);
}
std::string letters(int seat, const std::vector<std::pair<int, int>>& slotCodes) {
    std::string out = join(msg::letters, false, seat);
    for (const auto& [slot, code] : slotCodes) {
        add(out, slot);
        add(out, code);
    }
    return out;
}
std::string placetheletters(const std::vector<BoardLetter>& letters) {
    std::string out(msg::placetheletters);
    for (const auto& l : letters) {
        add(out, l.player);
        add(out, l.slot);
        add(out, l.code);
    }
    return out;
}
std::string gamestats(int time, int playto, int steals, int score1, int score2) {
    return join(msg::gamestats, true, time, playto, steals, score1, score2);
}
std::string nextplayer(int player, int stealsLeft) {
    return join(msg::nextplayer, true, player, stealsLeft);
}
std::string newletter(int player, int slot, int code) {
    return join(msg::newletter, true, player, slot, code);
}
std::string placemyletter(int player, int hand, int board, int code) {
    return join(msg::placemyletter, true, player, hand, board, code);
}
std::string tradingmyletter(int player, int a, int codeA, int b, int codeB) {
    return join(msg::tradingmyletter, true, player, a, codeA, b, codeB);
}
std::string stoldletter(int player, int opponent, int mySlot, int hisSlot, int code) {
    return join(msg::stoldletter, true, player, opponent, mySlot, hisSlot, code);
}
std::string discardletter(int player, int board) {
    return join(msg::discardletter, true, player, board);
}
std::string discardextra(int player, int hand) {
    return join(msg::discardextra, true, player, hand);
}
std::string notvalid(int player) {
    return join(msg::notvalid, true, player);
}
std::string toomany(int player) {
    return join(msg::toomany, true, player);
}
std::string formedword(int player, std::string_view word, int points, int score) {
    return join(msg::formedword, true, player, word, points, score);
}
std::string timeup() {
    return join(msg::timeup, true);
}
std::string winner(int player) {
    return join(msg::winner, true, player);
}
std::string gamekey(std::string_view key) {
    return join(msg::gamekey, true, key);
}
std::string seatkey(std::string_view secret) {
    return join(msg::seatkey, true, secret);
}
std::string reclaimseatRequest(int seat, std::string_view secret) {
    return join(msg::reclaimseat, true, seat, secret);
}

} // namespace build

namespace {

constexpr std::size_t kMaxGameKeyBytes = 40;

bool isGameKey(std::string_view key) {
    return !key.empty() && key.size() <= kMaxGameKeyBytes &&
           std::all_of(key.begin(), key.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

bool isBoardWord(std::string_view word) {
    return !word.empty() && word.size() <= static_cast<std::size_t>(kBoardSlots) &&
           std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

int flag(bool on) {
    return on ? 1 : 0;
}

std::optional<bool> readFlag(FieldReader& reader) {
    const auto n = reader.number();
    if (!n || (*n != 0 && *n != 1)) return std::nullopt;
    return *n == 1;
}

} // namespace

std::string buildTablestate(const TableState& t) {
    if (!t.running) return join(msg::tablestate, true, t.key, 0, t.winner, t.score[1], t.score[2]);
    std::string out =
        join(msg::tablestate, false, t.key, 1, t.turn, t.current, t.secondsLeft, flag(t.clockRunning),
             t.stealsLeft[1], t.stealsLeft[2], flag(t.watching[1]), flag(t.watching[2]));
    for (const auto& [word, points] : t.words) {
        add(out, word);
        add(out, points);
    }
    return out + '+';
}

std::optional<std::string> parseSeatSecret(std::string_view text) {
    if (text.size() != kSeatSecretChars || !std::all_of(text.begin(), text.end(), [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
        }))
        return std::nullopt;
    return std::string(text);
}

std::optional<std::string> parseGamekey(std::string_view data) {
    FieldReader reader(data);
    const auto key = reader.text();
    if (!isGameKey(key) || !reader.rest().empty()) return std::nullopt;
    return std::string(key);
}

std::optional<TableState> parseTablestate(std::string_view data) {
    FieldReader reader(data);
    TableState t;
    t.key = std::string(reader.text());
    const auto running = readFlag(reader);
    if (!isGameKey(t.key) || !running) return std::nullopt;
    t.running = *running;
    if (!t.running) {
        const auto f = numbers<3>(reader);
        if (!f || (*f)[0] < 0 || (*f)[0] > 2) return std::nullopt;
        t.winner = (*f)[0];
        t.score = {0, (*f)[1], (*f)[2]};
        return t;
    }
    const auto f = numbers<3>(reader);
    const auto clock = readFlag(reader);
    const auto steals = numbers<2>(reader);
    const auto watch1 = readFlag(reader);
    const auto watch2 = readFlag(reader);
    if (!f || !clock || !steals || !watch1 || !watch2) return std::nullopt;
    if ((*f)[0] < 1 || ((*f)[1] != 1 && (*f)[1] != 2)) return std::nullopt;
    t.turn = (*f)[0];
    t.current = (*f)[1];
    t.secondsLeft = (*f)[2];
    t.clockRunning = *clock;
    t.stealsLeft = {0, (*steals)[0], (*steals)[1]};
    t.watching = {false, *watch1, *watch2};
    // The words run to the trailing "+", which leaves one empty field behind them.
    for (;;) {
        const auto word = reader.text();
        if (word.empty() && reader.atEnd()) break;
        const auto points = reader.number();
        if (!isBoardWord(word) || !points) return std::nullopt;
        t.words.emplace_back(word, *points);
        if (t.words.size() > kMaxWordsShown) return std::nullopt;
    }
    return t;
}
} // namespace plimb
