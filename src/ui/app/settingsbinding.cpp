#include "ui/app/settingsbinding.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "core/records/recorder.h"
#include "ui/app/mainmenus.h"
#include "ui/app/sidewindows.h"
#include "ui/chat/chatwidget.h"
#include "ui/chat/phrasebar.h"
#include "ui/server/tserver.h"

namespace plimb {

SettingsBinding::SettingsBinding(QWidget& window, ClientModel& model, const SettingsStore& file,
                                 ChatWidget& chat, PhraseBar& phrases, SideWindows& windows, MainMenus& menus,
                                 GameRecorder& records)
    : window_(window), model_(model), file_(file), chat_(chat), phrases_(phrases), windows_(windows),
      menus_(menus), records_(records) {}

WindowBounds SettingsBinding::currentBounds() const {
    return {window_.x(), window_.y(), window_.width(), window_.height()};
}

void SettingsBinding::loadinifile() {
    const IniFile ini = file_.read();
    const LoadedSettings s = readSettings(ini);
    // Bounds that do not fit the screen they name come from a damaged file or a screen that is
    // gone: the window opens at the defaults. savedBounds_ keeps what the file says, so closing
    // repairs it.
    savedBounds_ = s.bounds;
    const QScreen* screen = QGuiApplication::screenAt(QPoint(s.bounds.left, s.bounds.top));
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect();
    const WindowBounds shown = fitToDesktop(s.bounds, {area.x(), area.y(), area.width(), area.height()});
    window_.move(shown.left, shown.top);
    window_.resize(shown.width, shown.height);

    model_.switches().turnSound = s.turnSound;
    menus_.showTurnSound(s.turnSound);
    chat_.setTextSize(s.textSize);
    chat_.setTextColour(s.textColour);
    chat_.setActionColour(s.actionColour);
    for (int n = 1; n <= 9; ++n)
        if (const auto& phrase = s.phrases[static_cast<std::size_t>(n - 1)])
            phrases_.setPhrase(n, QString::fromStdString(*phrase));
    model_.switches().playSounds = s.playSounds;
    menus_.showPlaySounds(s.playSounds);
    GameOptionTexts options = windows_.gameOptions();
    if (s.playToScore) options.playToScore = QString::fromStdString(*s.playToScore);
    if (s.creationTime) options.timePerTurn = QString::fromStdString(*s.creationTime);
    if (s.steals) options.steals = QString::fromStdString(*s.steals);
    options.unlimited = s.unlimited;
    windows_.setGameOptions(options);
    if (model_.me().isHost)
        model_.showNextGame(options.timePerTurn.toStdString(), options.playToScore.toStdString(),
                            options.steals.toStdString(), options.unlimited);
    model_.switches().playChatterSounds = s.chatterSounds;
    menus_.showChatterSounds(s.chatterSounds);
    records_.setEnabled(readKeepRecords(ini));
    menus_.showKeepRecords(records_.enabled());

    const ComputerKind kind = parseComputerKind(ini.get(kSettingsSection, "Klot").value_or(""));
    menus_.showComputerKind(kind);
    if (server_ != nullptr && model_.me().isHost) {
        server_->setComputerPlayer(kind);
        model_.setComputerName(computerName(kind));
    }
}

void SettingsBinding::saveinifile() {
    SavedSettings s;
    s.textSize = chat_.textSize();
    s.textColour = chat_.textColour();
    s.actionColour = chat_.actionColour();
    const GameOptionTexts options = windows_.gameOptions();
    s.playToScore = options.playToScore.toStdString();
    s.creationTime = options.timePerTurn.toStdString();
    s.steals = options.steals.toStdString();
    s.bounds = currentBounds();
    s.turnSound = model_.switches().turnSound;
    s.unlimited = options.unlimited;
    s.playSounds = model_.switches().playSounds;
    s.chatterSounds = model_.switches().playChatterSounds;
    file_.update([&s](IniFile& ini) { writeSettings(ini, s); });
    savedBounds_ = s.bounds;
}

void SettingsBinding::saveIfMoved() {
    if (currentBounds() != savedBounds_) saveinifile();
}

void SettingsBinding::chooseComputerPlayer(ComputerKind kind) {
    if (server_ != nullptr && server_->chooseComputerPlayer(kind)) {
        model_.setComputerName(computerName(kind));
        chat_.addlinetochat("The computer plays " + std::string(computerKindTitle(kind)) +
                                " from the next game.",
                            kSystemLineColour);
    }
    file_.update([kind](IniFile& ini) { ini.set(kSettingsSection, "Klot", formatComputerKind(kind)); });
}

void SettingsBinding::keepRecords(bool on) {
    records_.setEnabled(on);
    file_.update([on](IniFile& ini) { writeKeepRecords(ini, on); });
}

} // namespace plimb
