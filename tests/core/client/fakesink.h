#pragma once
// One fake for every port of the client model, recording each request, for the client tests.
#include <string>
#include <utility>
#include <vector>

#include "core/client/clientmodel.h"
#include "core/net/protocol.h"

namespace plimb::test {

struct FakeSink : ClientSink {
    std::vector<std::string> sent, sounds, chatter, boxes, tally;
    std::vector<std::pair<std::string, Colour>> chat;
    std::vector<std::string> order; // boxes and window closing, in the order asked
    bool timerOn = false;
    int iniLoads = 0;
    int longest = 0, best = 0;

    void sendRequest(const std::string& text) override { sent.push_back(text); }
    void addlinetochat(const std::string& line, Colour colour) override { chat.emplace_back(line, colour); }
    void playsounds(const std::string& name) override { sounds.push_back(name); }
    void playChatter(const std::string& name) override { chatter.push_back(name); }
    void showMessage(const std::string& text) override {
        boxes.push_back(text);
        order.push_back("box:" + text);
    }
    void closeMainWindow() override { order.push_back("close"); }
    void startTurnTimer() override { timerOn = true; }
    void stopTurnTimer() override { timerOn = false; }
    void loadinifile() override { ++iniLoads; }
    void addword(const std::string& word, int value, int column) override {
        tally.push_back("addword " + word + " " + std::to_string(value) + " " + std::to_string(column));
    }
    void anotherword(int column) override { tally.push_back("anotherword " + std::to_string(column)); }
    void addgame(const std::string& winnerText) override { tally.push_back("addgame " + winnerText); }
    int longestWordRecord() const override { return longest; }
    int bestScoreRecord() const override { return best; }
    NoticeLog* log = nullptr; // where the handled notices go, when a test keeps records
    void handled(std::string_view notice) override {
        if (log != nullptr) log->handled(notice);
    }

    std::vector<std::string> chatLines() const {
        std::vector<std::string> out;
        for (const auto& [line, colour] : chat)
            out.push_back(line);
        return out;
    }
    void clear() {
        sent.clear(), sounds.clear(), chatter.clear(), boxes.clear(), tally.clear(), chat.clear(),
            order.clear();
    }
};

// A model already past the initial queue entry, with helpers to feed notices.
struct ClientFixture {
    FakeSink sink;
    ClientModel model{sink};

    ClientFixture() { model.processsocktimer(); }
    void feed(const std::string& message) {
        model.received(message);
        model.processsocktimer();
    }
    // Joins as `name` and takes `seat`, with both players named Ann (1) and Bo (2) at the table.
    void seatAs(int seat, std::string name = "Me") {
        model.setPlayerName(name);
        model.joinpress();
        feed(build::sendlogininfo(seat));
        feed(build::newplayerinfo(seat, seat <= 2 ? name : "Spy"));
        if (seat != 1) feed(build::existingplayers(1, "Ann"));
        if (seat != 2) feed(build::existingplayers(2, "Bo"));
        sink.clear();
    }
    // A game of 30 s per turn, play to 200, 5 steals.
    void startGame(int steals = 5) {
        feed(build::startgame("Ann", "30", "200", std::to_string(steals)));
        sink.clear();
    }
    void turnOf(int seat) {
        feed(build::nextplayer(seat, 5));
        sink.clear();
    }
};

} // namespace plimb::test
