// The client as a hostile host sees it: arbitrary bytes through the framer into the model, mixed
// with the player's clicks, menu choices and both timers. Checks, besides crashes and sanitizer
// reports, that every request the client writes is well formed: a known name, the client's own
// seat where a seat is named (only the host's just-watch switch names another player), slots
// within the table, numbers in decimal, and no terminator inside.
#include <array>
#include <string>
#include <vector>

#include "core/client/clientmodel.h"
#include "core/client/clientsink.h"
#include "core/net/framer.h"
#include "core/net/protocol.h"
#include "core/net/readers.h"
#include "fuzzinput.h"

using namespace plimb;
using plimb::fuzz::fail;

namespace {

bool isNumber(std::string_view s) {
    if (s.empty() || s.size() > 10) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

std::vector<std::string_view> fields(std::string_view data) {
    std::vector<std::string_view> out;
    for (std::size_t start = 0;;) {
        const auto plus = data.find('+', start);
        out.push_back(data.substr(start, plus == std::string_view::npos ? plus : plus - start));
        if (plus == std::string_view::npos) return out;
        start = plus + 1;
    }
}

bool isInteger(std::string_view s) {
    return isNumber(s.substr(!s.empty() && s[0] == '-' ? 1 : 0));
}

int num(std::string_view s) {
    return isNumber(s) ? std::stoi(std::string(s)) : -1;
}

class Sink : public QuietSink {
public:
    void sendRequest(const std::string& text) override {
        // The login request carries the login name with its own terminator at the end.
        std::string_view body = text;
        const auto m = splitMessage(body);
        if (m.name == msg::logininfo && !body.empty() && body.back() == kTerminator) body.remove_suffix(1);
        if (body.find(kTerminator) != std::string_view::npos) fail("terminator inside a request", text);
        const auto f = fields(splitMessage(body).data);
        const int seat = model ? model->me().seat : -1;
        const auto board = [&](std::size_t i) { return i < f.size() && num(f[i]) >= 1 && num(f[i]) <= 10; };
        const auto hand = [&](std::size_t i) { return i < f.size() && num(f[i]) >= 1 && num(f[i]) <= 6; };
        // The seat is whatever number the host gave us, so it is written back as given.
        const auto own = [&] { return !f.empty() && f[0] == std::to_string(seat); };
        bool ok = false;
        if (m.name == msg::logininfo)
            ok = own() && f.size() >= 3 && f[1] == kVersion;
        else if (m.name == msg::chat || m.name == msg::action)
            ok = own() && f.size() >= 2;
        // A move is read back with the server's reader and must be written again, byte for byte,
        // by its builder: the layout, the trailing "+" and plain decimals all hold.
        else if (const auto mv = read::moveRequest(m.data); mv && m.name == msg::placemyletter)
            ok = own() && hand(1) && board(2) &&
                 body == build::placemyletterRequest(mv->seat, mv->from, mv->to);
        else if (mv && m.name == msg::tradingmyletter)
            ok = own() && board(1) && board(2) &&
                 body == build::tradingmyletterRequest(mv->seat, mv->from, mv->to);
        else if (mv && m.name == msg::stealinghisletter)
            ok = own() && board(1) && board(2) &&
                 body == build::stealinghisletterRequest(mv->seat, mv->from, mv->to);
        else if (const auto d = read::seatSlot(m.data); d && m.name == msg::discardletter)
            ok = own() && board(1) && body == build::discardletterRequest(d->seat, d->slot);
        else if (d && m.name == msg::discardextra)
            ok = own() && hand(1) && body == build::discardextraRequest(d->seat, d->slot);
        else if (m.name == msg::justwatch) // the host's name popup may switch either player
            ok = f.size() == 2 && (num(f[0]) == 1 || num(f[0]) == 2) && (f[1] == "1" || f[1] == "2");
        else if (m.name == msg::kickhim) // the server alone decides whether the requester may
            ok = own() && f.size() >= 2 && isInteger(f[1]);
        else if (m.name == msg::playasound)
            ok = own() && f.size() >= 2 && f[1].substr(0, 4) == "wave" && num(f[1].substr(4)) >= 1 &&
                 num(f[1].substr(4)) <= 20;
        else if (m.name == msg::startgame) // name (which may hold "+"), three numbers, trailing "+"
            ok = model && model->me().isHost && f.size() >= 5 && f.back().empty() &&
                 isNumber(f[f.size() - 2]) && isNumber(f[f.size() - 3]) && isNumber(f[f.size() - 4]);
        if (!ok) fail("malformed request", text);
    }
    const ClientModel* model = nullptr;
};

// Notices that move the model along, so the clicks meet a game and not only an empty table.
const std::array<std::string_view, 10> kNotices{"CMD_sendlogininfo+",
                                                "CMD_newplayerinfo+",
                                                "CMD_startgame+Ann+30+200+5+",
                                                "CMD_letters+",
                                                "CMD_nextplayer+",
                                                "CMD_newletter+",
                                                "CMD_placetheletters+1+1+3+2+2+4",
                                                "CMD_gamestats+30+200+5+1+2+",
                                                "CMD_justwatching+",
                                                "CMD_winner+"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    Sink sink;
    ClientModel model(sink);
    sink.model = &model;
    Framer framer;
    model.setPlayerName(in.pick(2) ? "You" : "A+b");
    if (in.pick(2))
        model.hostpress();
    else
        model.joinpress();

    while (!in.empty()) {
        switch (in.pick(12)) {
        case 0: { // bytes from the host
            std::vector<std::string> messages;
            if (!framer.feed(in.bytes(400), messages)) return 0; // the shell closes the connection
            for (auto& m : messages)
                model.received(std::move(m));
            break;
        }
        case 1: { // a plausible notice with small numbers
            std::string text(kNotices[in.pick(static_cast<int>(kNotices.size()))]);
            if (text.back() == '+')
                for (int n = in.pick(4); n >= 0; --n)
                    text += std::to_string(in.pick(12)) + "+";
            model.received(text);
            break;
        }
        case 2:
            for (int n = in.pick(8) + 1; n > 0; --n)
                model.timer1Timer();
            break;
        case 3:
            model.turntimerTimer();
            break;
        case 4:
            model.input().click(SlotFamily::MyLetter, in.pick(13) - 1, static_cast<MouseButton>(in.pick(3)));
            break;
        case 5:
            model.input().click(SlotFamily::Extra, in.pick(9) - 1, static_cast<MouseButton>(in.pick(3)));
            break;
        case 6:
            model.input().click(SlotFamily::HisLetter, in.pick(13) - 1, MouseButton::Left);
            break;
        case 7:
            model.spectators().justWatchClick();
            break;
        case 8:
            model.spectators().setJustWatch(in.pick(4), in.pick(2) == 1);
            break;
        case 9:
            model.spectators().kicking(in.pick(11));
            break;
        case 10:
            model.spectators().kickSpyEntry(in.bytes(12));
            break;
        case 11:
            // The start button and menu item are shown in the host's window only.
            if (model.me().isHost && model.startButtonClick())
                // The dialog's fields are number boxes.
                model.sendStartGame(std::to_string(in.pick(256)), std::to_string(in.pick(256)),
                                    std::to_string(in.pick(256)), in.pick(2) == 1);
            break;
        }
    }
    return 0;
}
