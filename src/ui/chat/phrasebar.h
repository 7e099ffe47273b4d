#pragma once
// The column at the left edge of the chat: nine phrase buttons `b_phrase1`..`b_phrase9`, each
// sending its phrase (its tooltip) with one click, and `b_phrase10`, which opens the menu of
// chatter sounds `popup_sounds` at its bottom-right corner.
#include <QWidget>

#include <array>
#include <string>

class QMenu;
class QToolButton;

namespace plimb {

inline constexpr std::array<const char*, 9> kBuiltinPhrases = {
    "Way To Go!", "Good One!", "Nice Try!",         "Excellent!",         "Brilliant!",
    "Wow, WTG!",  "Thanks!",   "Way To Go Teamie!", "Good Game Everyone!"};

class PhraseBar : public QWidget {
    Q_OBJECT
public:
    explicit PhraseBar(QWidget* parent = nullptr);

    // The phrase of button n (1..9), as its tooltip and accessible name show it.
    QString phrase(int n) const;
    void setPhrase(int n, const QString& text);
    std::array<std::string, 9> phrases() const;

    QToolButton* button(int n) const { return buttons_.at(static_cast<std::size_t>(n - 1)); }
    // Made on first use: most runs never open it.
    QMenu* soundsMenu();

    // b_phrase10Click: the chatter-sound menu at the button's bottom-right corner.
    void b_phrase10Click();

signals:
    void phraseClicked(const QString& phrase);
    // An item of the chatter-sound menu; 0 is "<Cancel>".
    void chatterChosen(int tag);

private:
    std::array<QToolButton*, 10> buttons_{};
    QMenu* popupSounds_ = nullptr;
};

} // namespace plimb
