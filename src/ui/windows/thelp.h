#pragma once
// Thelp: the help window. A side panel of six topic buttons, "About" and "Done"; the main panel
// shows the page of the topic chosen last, under the topic's caption. Not modal.
#include <QString>
#include <QWidget>
#include <array>

class QLabel;
class QPushButton;
class QStackedWidget;
class QTextBrowser;

namespace plimb {

class Tabout;

class Thelp : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTopicCount = 6;
    // Topic tags 1..6, in the order of the side panel's buttons.
    enum Topic { Overview = 1, Connecting, GamePlay, Scoring, Documentation, License };

    // `about` is the one about window that the help's "About" shows; it outlives this window.
    explicit Thelp(Tabout* about, QWidget* parent = nullptr);

    // Help, "Content" (F1): shows the window, centred on the main window when it opens, on the
    // page that was in front when it was last hidden.
    void showOver(QWidget* mainWindow);
    // The same, opened at a topic (a tag outside 1..6 keeps the page in front).
    void showTopic(QWidget* mainWindow, int tag);

    int currentTopic() const;

private:
    // SelButton1Click: the page of the button's tag to the front, its caption over it.
    void selectTopic(int tag);
    void button_aboutClick();

    Tabout* about_;
    QWidget* mainWindow_ = nullptr;

    std::array<QPushButton*, kTopicCount> topicButtons_{};
    std::array<QTextBrowser*, kTopicCount> memo_{}; // memo1 .. memo6
    QStackedWidget* pages_ = nullptr;
    QLabel* label_caption = nullptr;
    QPushButton* button_about = nullptr;
    QPushButton* button_done = nullptr;
};

} // namespace plimb
