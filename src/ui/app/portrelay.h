#pragma once
// The client model's ports for the window, built before the model so that the model and the
// parts that serve its ports can each be built with what already exists: the model gets the relay,
// the parts get the model, and bind() then points the relay at the parts. Nothing calls a port
// before the window is built; a call before bind() is a fault of the window's wiring.
#include <cassert>
#include <optional>

#include "core/client/clientsink.h"

namespace plimb {

class PortRelay : public ClientSink {
public:
    void bind(const ClientPorts& ports) { ports_.emplace(ports); }
    ClientPorts ports() { return ClientPorts{*this, *this, *this, *this, *this, *this, *this}; }

    void sendRequest(const std::string& text) override { to().requests.sendRequest(text); }
    void addlinetochat(const std::string& line, Colour colour) override {
        to().messages.addlinetochat(line, colour);
    }
    void showMessage(const std::string& text) override { to().messages.showMessage(text); }
    void closeMainWindow() override { to().messages.closeMainWindow(); }
    void playsounds(const std::string& name) override { to().sounds.playsounds(name); }
    void playChatter(const std::string& name) override { to().sounds.playChatter(name); }
    void startTurnTimer() override { to().turnTimer.startTurnTimer(); }
    void stopTurnTimer() override { to().turnTimer.stopTurnTimer(); }
    void loadinifile() override { to().settings.loadinifile(); }
    void addword(const std::string& word, int value, int column) override {
        to().tally.addword(word, value, column);
    }
    void anotherword(int column) override { to().tally.anotherword(column); }
    void addgame(const std::string& winnerText) override { to().tally.addgame(winnerText); }
    int longestWordRecord() const override { return to().tally.longestWordRecord(); }
    int bestScoreRecord() const override { return to().tally.bestScoreRecord(); }
    void handled(std::string_view notice) override { to().log.handled(notice); }

private:
    const ClientPorts& to() const {
        assert(ports_);
        return *ports_;
    }
    std::optional<ClientPorts> ports_;
};

} // namespace plimb
