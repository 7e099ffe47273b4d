#include "core/net/readers.h"

#include <tuple>

namespace plimb::read {

namespace {

// Every field as a number, for the notices made of repeated groups. The empty field that a
// trailing "+" leaves is allowed at the very end; any other field must be decimal.
std::optional<std::vector<int>> allNumbers(std::string_view data) {
    std::vector<int> out;
    if (data.empty()) return out;
    FieldReader reader(data);
    while (true) {
        const bool last = reader.rest().find('+') == std::string_view::npos;
        const auto field = reader.text();
        if (last && field.empty()) break;
        const auto n = parseInt(field);
        if (!n) return std::nullopt;
        out.push_back(*n);
        if (last) break;
    }
    return out;
}

// A layout of N numbers and nothing else, read into T's fields in their order.
template <typename T, std::size_t N> std::optional<T> numbered(std::string_view data) {
    const auto f = numbers<N>(data);
    if (!f) return std::nullopt;
    return std::apply([](auto... n) { return T{n...}; }, *f);
}

} // namespace

std::optional<Login> logininfoRequest(std::string_view data) {
    FieldReader reader(data);
    const auto seat = reader.number();
    if (!seat) return std::nullopt;
    const auto version = reader.text();
    return Login{*seat, version, reader.rest()};
}

std::optional<Reclaim> reclaimseatRequest(std::string_view data) {
    FieldReader reader(data);
    const auto seat = reader.number();
    if (!seat) return std::nullopt;
    return Reclaim{*seat, reader.text()};
}

std::optional<Kick> kickhimRequest(std::string_view data) {
    return numbered<Kick, 2>(data);
}

std::optional<ChatLine> chatRequest(std::string_view data) {
    FieldReader reader(data);
    const auto seat = reader.number();
    if (!seat) return std::nullopt;
    return ChatLine{*seat, reader.rest()};
}

std::optional<Chatter> playasound(std::string_view data) {
    FieldReader reader(data);
    const auto player = reader.text();
    const auto rest = reader.rest();
    FieldReader soundReader(rest);
    const auto sound = soundReader.text();
    return Chatter{player, sound, rest, soundReader.atEnd()};
}

std::optional<Watch> justwatchRequest(std::string_view data) {
    FieldReader reader(data);
    const auto seat = reader.number();
    if (!seat) return std::nullopt;
    return Watch{*seat, reader.rest()};
}

std::optional<GameStart> startgame(std::string_view data) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const auto plus = data.find('+', start);
        fields.push_back(data.substr(start, plus == std::string_view::npos ? plus : plus - start));
        if (plus == std::string_view::npos) break;
        start = plus + 1;
    }
    if (!fields.empty() && fields.back().empty()) fields.pop_back();
    if (fields.size() < 4) return std::nullopt;
    const auto n = fields.size();
    const auto time = parseInt(fields[n - 3]);
    const auto playto = parseInt(fields[n - 2]);
    const auto steals = parseInt(fields[n - 1]);
    if (!time || !playto || !steals) return std::nullopt;
    const auto nameEnd = static_cast<std::size_t>(fields[n - 3].data() - data.data());
    return GameStart{data.substr(0, nameEnd - 1), *time, *playto, *steals};
}

std::optional<Move> moveRequest(std::string_view data) {
    return numbered<Move, 3>(data);
}

std::optional<SeatSlot> seatSlot(std::string_view data) {
    return numbered<SeatSlot, 2>(data);
}

std::optional<int> seat(std::string_view data) {
    const auto f = numbers<1>(data);
    if (!f) return std::nullopt;
    return (*f)[0];
}

std::optional<SeatName> seatName(std::string_view data) {
    FieldReader reader(data);
    const auto seat = reader.number();
    if (!seat) return std::nullopt;
    return SeatName{*seat, reader.rest()};
}

std::optional<Watching> justwatching(std::string_view data) {
    return numbered<Watching, 2>(data);
}

std::optional<GameStats> gamestats(std::string_view data) {
    return numbered<GameStats, 5>(data);
}

std::optional<Hand> letters(std::string_view data) {
    const auto f = allNumbers(data);
    if (!f || f->size() % 2 != 1) return std::nullopt;
    Hand hand{(*f)[0], {}};
    for (std::size_t i = 1; i < f->size(); i += 2)
        hand.letters.push_back({(*f)[i], (*f)[i + 1]});
    return hand;
}

std::optional<std::vector<build::BoardLetter>> placetheletters(std::string_view data) {
    const auto f = allNumbers(data);
    if (!f || f->size() % 3 != 0) return std::nullopt;
    std::vector<build::BoardLetter> out;
    for (std::size_t i = 0; i < f->size(); i += 3)
        out.push_back({(*f)[i], (*f)[i + 1], (*f)[i + 2]});
    return out;
}

std::optional<NewLetter> newletter(std::string_view data) {
    return numbered<NewLetter, 3>(data);
}

std::optional<Placed> placemyletter(std::string_view data) {
    return numbered<Placed, 4>(data);
}

std::optional<Traded> tradingmyletter(std::string_view data) {
    return numbered<Traded, 5>(data);
}

std::optional<Stolen> stoldletter(std::string_view data) {
    return numbered<Stolen, 5>(data);
}

std::optional<Word> formedword(std::string_view data) {
    FieldReader reader(data);
    const auto seat = reader.number();
    const auto word = reader.text();
    const auto f = numbers<2>(reader);
    if (!seat || !f) return std::nullopt;
    return Word{*seat, word, (*f)[0], (*f)[1]};
}

std::optional<Turn> nextplayer(std::string_view data) {
    return numbered<Turn, 2>(data);
}

std::string_view seatkey(std::string_view data) {
    return FieldReader(data).text();
}

} // namespace plimb::read
