#pragma once
// The lower part of the main window: the read-only transcript `mainchat`, the one-line entry box
// `mychat`, their pop-up menus, and the chat entries the main window puts into its Options menu.
#include "core/chat/colortext.h"

#include "ui/chat/transcriptview.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include <array>
#include <functional>
#include <string>
#include <string_view>

class QLineEdit;

namespace plimb {

// What sending needs to know about the connection; asked on every Enter.
struct ChatSession {
    bool loggedIn = false;
    int mySeat = 0;
};

// Hands a link to the desktop's opener, exactly as written.
void openWithDesktop(const QString& link);
// The chat's own Yes/No question before a link that is not a web or mail address is opened:
// such a link may start any program.
bool askToOpenLink(QWidget* parent, const QString& link);
// A question box's text with line ends put into any address too long for the box, which shows a
// line no wider than a part of the screen and cuts off the rest of a word it cannot break.
QString questionText(std::string_view text);

class ChatWidget : public QWidget {
    Q_OBJECT
public:
    explicit ChatWidget(QWidget* parent = nullptr);

    // The one way to write a line into the transcript (TranscriptView::addLine).
    void addlinetochat(const std::string& line, Colour colour);
    // Enter in the entry box; public so phrase buttons and tests can reach the same rules.
    void sendit();

    // Asked for the login state on every send; until set, the chat counts as not logged in.
    void setSessionSource(std::function<ChatSession()> source);
    // Opens a link, given exactly as written in the transcript ("www." links with "http://" in
    // front), after asking for links that are not web or mail links; defaults to openWithDesktop.
    void setLinkOpener(std::function<void(const QString&)> opener);
    // Asked, with the whole link, before a link that is not a web or mail address is opened;
    // opens it only on true. Defaults to a Yes/No box; tests replace it.
    void setLinkQuestion(std::function<bool(const QString&)> question);

    Colour textColour() const { return textColour_; }
    Colour actionColour() const { return actionColour_; }
    int textSize() const { return textSize_; }
    // Setters for loading settings: they apply the value (the text colour also to the entry box,
    // the size with its check mark, none when no item has that size) without emitting
    // settingsChanged(). Sizes outside 1..96 points are clamped into it.
    void setTextColour(Colour c);
    void setActionColour(Colour c);
    void setTextSize(int points);
    bool scrollOff() const;
    void setScrollOff(bool on);

    // For the main window's Options menu. The scroll-off action here is the menu's twin of the
    // transcript pop-up's item; the two always agree.
    QAction* textColorAction() const { return textColor_; }
    QAction* actionColorAction() const { return actionColor_; }
    QMenu* textSizeMenu() const { return textSizeMenu_; }
    QAction* scrollOffOptionsAction() const { return scrollChatOff2_; }
    QAction* clearAction() const { return clearMainChat2_; }

    TranscriptView* mainchat() const { return mainchat_; }
    QLineEdit* mychat() const { return mychat_; }
    QMenu* transcriptPopup() const { return popupMenu1_; }
    QMenu* entryPopup() const { return popupMenu2_; }

    // Menu handlers, named after the menu items they serve.
    void textColor1Click();
    void actionColor1Click();
    void scrollChatOff1Click();
    void clearMainChat1Click();
    void copy1Click();
    void paste1Click();

signals:
    // The user changed a colour or the text size: the main window saves its settings.
    void settingsChanged();
    // A chat or action request to frame and write on the game connection.
    void requestReady(const std::string& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void chooseTextSize(int points);
    void applyEntryColour();
    // Link handling on the transcript's viewport; returns true when a press opened a link.
    void mainchatMouseMove(const QPoint& pos);
    bool mainchatMouseDown(const QPoint& pos, Qt::MouseButton button);
    int characterAt(const QPoint& pos) const;

    TranscriptView* mainchat_;
    QLineEdit* mychat_;
    QMenu* popupMenu1_;
    QMenu* popupMenu2_;
    QAction* copy1_;
    QAction* clearMainChat1_;
    QAction* scrollChatOff1_;
    QAction* paste1_;
    QAction* textColor_;
    QAction* actionColor_;
    QMenu* textSizeMenu_;
    std::array<QAction*, 4> sizeItems_{}; // N8, N10, N12, N14
    QAction* scrollChatOff2_;
    QAction* clearMainChat2_;

    Colour textColour_ = clBlack;
    Colour actionColour_ = clBlack;
    int textSize_ = 8;
    std::function<ChatSession()> session_;
    std::function<void(const QString&)> openLink_;
    std::function<bool(const QString&)> askLink_;
};

} // namespace plimb
