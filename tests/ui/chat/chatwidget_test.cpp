#include "ui/chat/chatwidget.h"

#include "support/qtapp.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <memory>
#include <string>
#include <vector>

using namespace plimb;

namespace {

class ChatWidgetTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::ensureApplication(); }
    void SetUp() override {
        chat = std::make_unique<ChatWidget>();
        chat->resize(400, 200);
        chat->show();
        chat->setSessionSource([this] { return session; });
        chat->setLinkOpener([this](const QString& link) { opened.push_back(link); });
        chat->setLinkQuestion([this](const QString& link) {
            asked.push_back(link);
            return answer;
        });
        QApplication::processEvents();
    }

    QString prompt() const { return QStringLiteral("<Enter Chat Here>"); }

    std::vector<std::string> requests() {
        std::vector<std::string> out;
        for (const auto& args : *spy)
            out.push_back(args.at(0).value<std::string>());
        return out;
    }

    // A point in the transcript's viewport over the character at `position`, `across` of the way
    // from its left edge to its right edge.
    QPoint pointAt(int position, double across = 0.5) {
        QTextCursor c(chat->mainchat()->document());
        c.setPosition(position);
        const QRect left = chat->mainchat()->cursorRect(c);
        c.setPosition(position + 1);
        const QRect right = chat->mainchat()->cursorRect(c);
        return QPoint(left.left() + static_cast<int>((right.left() - left.left()) * across),
                      left.center().y());
    }

    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::NoButton) {
        QWidget* vp = chat->mainchat()->viewport();
        QMouseEvent e(type, at, vp->mapToGlobal(at), button, button, Qt::NoModifier);
        QApplication::sendEvent(vp, &e);
    }

    Qt::CursorShape cursorShape() const { return chat->mainchat()->viewport()->cursor().shape(); }

    ChatSession session;
    std::vector<QString> opened;
    std::vector<QString> asked;
    bool answer = false;
    std::unique_ptr<ChatWidget> chat;
    std::unique_ptr<QSignalSpy> spy;
};

} // namespace

TEST_F(ChatWidgetTest, LineIsAParagraphWithABoldHeadAndANormalRestInItsColour) {
    chat->addlinetochat("Ann chats: hello", clNavy);
    chat->addlinetochat("Bob waves", kSystemLineColour);
    QTextDocument* doc = chat->mainchat()->document();
    EXPECT_EQ(doc->toPlainText(), "Ann chats: hello\nBob waves\n");

    const QTextBlock first = doc->firstBlock();
    QTextCursor c(first);
    c.setPosition(first.position() + 3);
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold) << "inside the head";
    EXPECT_EQ(c.charFormat().foreground().color(), QColor(0, 0, 0x80));
    c.setPosition(first.position() + 13);
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Normal) << "inside the rest";
    EXPECT_EQ(c.charFormat().foreground().color(), QColor(0, 0, 0x80));

    const QTextBlock second = first.next();
    for (int i = 1; i <= second.length() - 1; ++i) {
        c.setPosition(second.position() + i);
        EXPECT_EQ(c.charFormat().fontWeight(), QFont::Normal) << "no colon, no bold: " << i;
        EXPECT_EQ(c.charFormat().foreground().color(), QColor(0x1B, 0x62, 0x83));
    }
}

TEST_F(ChatWidgetTest, RelayedLineWithUnreadableColourIsRed) {
    const ChatLine relayed = chatrecieved("Ann chats: hello|x|clBlack");
    chat->addlinetochat(relayed.line, relayed.colour);
    QTextCursor c(chat->mainchat()->document());
    c.setPosition(2);
    EXPECT_EQ(chat->mainchat()->toPlainText(), "Ann chats: hello\n");
    EXPECT_EQ(c.charFormat().foreground().color(), QColor(0xFF, 0, 0));
}

TEST_F(ChatWidgetTest, NewLinesScrollToTheBottomUnlessScrollIsOff) {
    QScrollBar* bar = chat->mainchat()->verticalScrollBar();
    for (int i = 0; i < 60; ++i)
        chat->addlinetochat("line " + std::to_string(i), clBlack);
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());

    chat->scrollOffOptionsAction()->trigger();
    ASSERT_TRUE(chat->scrollOff());
    bar->setValue(bar->maximum() / 3);
    const int view = bar->value();
    QTextCursor caret(chat->mainchat()->document());
    caret.setPosition(20);
    chat->mainchat()->setTextCursor(caret);
    bar->setValue(view);

    for (int i = 0; i < 5; ++i)
        chat->addlinetochat("Bob chats: more", clBlack);
    EXPECT_EQ(bar->value(), view) << "the view stays put";
    EXPECT_EQ(chat->mainchat()->textCursor().position(), 20) << "the caret goes back";
    EXPECT_FALSE(chat->mainchat()->textCursor().hasSelection());

    chat->scrollOffOptionsAction()->trigger();
    chat->addlinetochat("back on", clBlack);
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST_F(ChatWidgetTest, ScrollOffItemsAlwaysAgree) {
    QAction* popupItem = chat->transcriptPopup()->actions().at(2);
    ASSERT_EQ(popupItem->text(), "Scroll Chat Off");
    popupItem->trigger();
    EXPECT_TRUE(chat->scrollOffOptionsAction()->isChecked());
    chat->scrollOffOptionsAction()->trigger();
    EXPECT_FALSE(popupItem->isChecked());
    chat->scrollChatOff1Click();
    EXPECT_TRUE(popupItem->isChecked());
    EXPECT_TRUE(chat->scrollOffOptionsAction()->isChecked());
}

TEST_F(ChatWidgetTest, TextSizeMenuChecksOnlyTheChosenSize) {
    QSignalSpy changed(chat.get(), &ChatWidget::settingsChanged);
    const auto items = chat->textSizeMenu()->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_TRUE(items[0]->isChecked()) << "8 at start";
    items[2]->trigger();
    EXPECT_EQ(chat->textSize(), 12);
    EXPECT_EQ(chat->mainchat()->document()->defaultFont().pointSize(), 12) << "the transcript text follows";
    EXPECT_FALSE(items[0]->isChecked());
    EXPECT_TRUE(items[2]->isChecked());
    items[2]->trigger();
    EXPECT_TRUE(items[2]->isChecked()) << "choosing the checked size again keeps its mark";
    EXPECT_EQ(changed.count(), 2);

    chat->setTextSize(9);
    EXPECT_EQ(chat->mainchat()->document()->defaultFont().pointSize(), 9);
    for (QAction* item : items)
        EXPECT_FALSE(item->isChecked()) << item->text().toStdString();
    EXPECT_EQ(changed.count(), 2) << "loading a size is not a change to save";
    chat->setTextSize(100000);
    EXPECT_EQ(chat->textSize(), 96);
}

TEST_F(ChatWidgetTest, FirstKeyRemovesThePromptAndTypesIntoTheEmptyBox) {
    QLineEdit* box = chat->mychat();
    EXPECT_EQ(box->text(), prompt());
    QTest::keyClick(box, Qt::Key_H);
    EXPECT_EQ(box->text(), "h");
    QTest::keyClick(box, Qt::Key_I);
    EXPECT_EQ(box->text(), "hi");
}

TEST_F(ChatWidgetTest, PasteReplacesTheWholeEntryText) {
    QLineEdit* box = chat->mychat();
    QApplication::clipboard()->setText("pasted text");
    chat->entryPopup()->actions().at(0)->trigger();
    EXPECT_EQ(box->text(), "pasted text") << "the prompt is replaced";

    box->setText("abcdef");
    box->setCursorPosition(3);
    QApplication::clipboard()->setText("XY");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->text(), "XY") << "Ctrl+V replaces too, not inserting at the caret";

    QApplication::clipboard()->clear();
    chat->paste1Click();
    EXPECT_EQ(box->text(), "XY") << "no text on the clipboard: nothing happens";
}

TEST_F(ChatWidgetTest, EnterWhileNotLoggedInKeepsTheText) {
    spy = std::make_unique<QSignalSpy>(chat.get(), &ChatWidget::requestReady);
    QLineEdit* box = chat->mychat();
    box->setText("hello");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(box->text(), "hello");
    EXPECT_TRUE(requests().empty());
}

TEST_F(ChatWidgetTest, EnterWhileLoggedInSendsAndEmptiesTheBox) {
    spy = std::make_unique<QSignalSpy>(chat.get(), &ChatWidget::requestReady);
    session = {true, 3};
    chat->setTextColour(0x0000FF);
    chat->setActionColour(0x800000);
    QLineEdit* box = chat->mychat();
    box->setText("hello");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(box->text(), "");
    box->setText("/me waves");
    QTest::keyClick(box, Qt::Key_Enter);
    box->setText("/who");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(box->text(), "") << "unknown commands are dropped";
    EXPECT_EQ(requests(), (std::vector<std::string>{"CMD_chat+3+hello|clRed", "CMD_action+3+waves|clNavy"}));
    EXPECT_EQ(box->palette().color(QPalette::Text), QColor(0xFF, 0, 0)) << "the box shows the text colour";
}

TEST_F(ChatWidgetTest, EnterOnThePromptSendsNothing) {
    spy = std::make_unique<QSignalSpy>(chat.get(), &ChatWidget::requestReady);
    session = {true, 1};
    QTest::keyClick(chat->mychat(), Qt::Key_Return);
    EXPECT_TRUE(requests().empty());
    EXPECT_EQ(chat->mychat()->text(), "");
}

TEST_F(ChatWidgetTest, CopyPutsTheSelectionAsPlainText) {
    chat->addlinetochat("Ann chats: one", clNavy);
    chat->addlinetochat("Bob chats: two", clNavy);
    QTextCursor sel(chat->mainchat()->document());
    sel.setPosition(11);
    sel.setPosition(18, QTextCursor::KeepAnchor);
    chat->mainchat()->setTextCursor(sel);
    chat->transcriptPopup()->actions().at(0)->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "one\nBob");

    chat->mainchat()->setTextCursor(QTextCursor(chat->mainchat()->document()));
    QTest::keyClick(chat->mainchat(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "") << "an empty selection copies an empty text";
}

TEST_F(ChatWidgetTest, ClearEmptiesTheTranscriptOnly) {
    chat->addlinetochat("Ann chats: one", clNavy);
    chat->setTextSize(12);
    chat->setScrollOff(true);
    chat->clearAction()->trigger();
    EXPECT_EQ(chat->mainchat()->toPlainText(), "");
    EXPECT_EQ(chat->textSize(), 12);
    EXPECT_TRUE(chat->scrollOff());
    EXPECT_EQ(chat->mainchat()->document()->documentMargin(), 5);
}

TEST_F(ChatWidgetTest, HoverOverALinkShowsTheHandAndAPressOpensItWithoutTheFullStop) {
    chat->addlinetochat("Ann chats: see www.Example.org/x. ok", clBlack);
    const QString text = chat->mainchat()->toPlainText();
    const int linkStart = text.indexOf("www.");
    const int fullStop = text.indexOf(". ok");

    mouse(QEvent::MouseMove, pointAt(linkStart + 6));
    EXPECT_EQ(cursorShape(), Qt::PointingHandCursor);
    mouse(QEvent::MouseMove, pointAt(text.indexOf("see")));
    EXPECT_EQ(cursorShape(), Qt::ArrowCursor);

    mouse(QEvent::MouseButtonPress, pointAt(linkStart + 6), Qt::RightButton);
    EXPECT_TRUE(opened.empty()) << "only the left button opens";

    mouse(QEvent::MouseButtonPress, pointAt(fullStop), Qt::LeftButton);
    EXPECT_TRUE(opened.empty()) << "the full stop is not drawn as part of the link";
    mouse(QEvent::MouseButtonPress, pointAt(fullStop - 1), Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QStringLiteral("http://www.Example.org/x"));
    const QTextCursor sel = chat->mainchat()->textCursor();
    EXPECT_EQ(sel.selectionStart(), linkStart);
    EXPECT_EQ(sel.selectionEnd(), fullStop) << "the selection covers exactly the link";
}

TEST_F(ChatWidgetTest, RightHalfOfALinksLastCharacterIsStillOnTheLink) {
    chat->addlinetochat("see http://a.example ok", clBlack);
    const int last = chat->mainchat()->toPlainText().indexOf(" ok") - 1;
    mouse(QEvent::MouseMove, pointAt(last, 0.8));
    EXPECT_EQ(cursorShape(), Qt::PointingHandCursor);
    mouse(QEvent::MouseMove, pointAt(last + 1, 0.8));
    EXPECT_EQ(cursorShape(), Qt::ArrowCursor) << "the blank after it is not";
}

TEST_F(ChatWidgetTest, PointPastTheEndOfTheTextIsNeverALink) {
    chat->addlinetochat("http://a.example", clBlack);
    const QPoint below(20, chat->mainchat()->viewport()->height() - 5);
    mouse(QEvent::MouseMove, below);
    EXPECT_EQ(cursorShape(), Qt::ArrowCursor);
    mouse(QEvent::MouseButtonPress, below, Qt::LeftButton);
    EXPECT_TRUE(opened.empty());
    const QPoint rightOfLine(chat->mainchat()->viewport()->width() - 5, pointAt(3).y());
    mouse(QEvent::MouseMove, rightOfLine);
    EXPECT_EQ(cursorShape(), Qt::ArrowCursor) << "right of the line's end lies its line break";
}

TEST_F(ChatWidgetTest, LinksOpenExactlyAsWrittenAndOnlyWebAndMailOpenWithoutAsking) {
    struct Row {
        const char* line;
        const char* link;
        bool asks;
    };
    const Row rows[] = {
        {"see HTTPS://Example.COM/Path ok", "HTTPS://Example.COM/Path", false},
        {"see HTTP://Example.COM/A ok", "HTTP://Example.COM/A", false},
        {"write MAILTO:Ann@Example.org ok", "MAILTO:Ann@Example.org", false},
        {"see WWW.Example.org ok", "http://WWW.Example.org", false},
        {"run file:///usr/bin/xterm ok", "file:///usr/bin/xterm", true},
        {"try telnet://Host.example:23 ok", "telnet://Host.example:23", true},
        {"get ftp://files.example/a ok", "ftp://files.example/a", true},
    };
    for (const Row& row : rows) {
        for (const bool yes : {false, true}) {
            chat->clearAction()->trigger();
            opened.clear();
            asked.clear();
            answer = yes;
            chat->addlinetochat(row.line, clBlack);
            const int at = chat->mainchat()->toPlainText().indexOf(" ok") - 2;
            mouse(QEvent::MouseButtonPress, pointAt(at), Qt::LeftButton);
            const QString link = QString::fromLatin1(row.link);
            EXPECT_EQ(asked, row.asks ? std::vector<QString>{link} : std::vector<QString>{})
                << row.line << " shows the whole link when it asks";
            EXPECT_EQ(opened, !row.asks || yes ? std::vector<QString>{link} : std::vector<QString>{})
                << row.line << " answer " << yes;
        }
    }
}

TEST_F(ChatWidgetTest, TheViewStaysWhereItWasWhenTheWindowOrTextSizeChanges) {
    QScrollBar* bar = chat->mainchat()->verticalScrollBar();
    for (int i = 0; i < 400; ++i)
        chat->addlinetochat("Ann chats: line " + std::to_string(i) + " with some words to wrap around",
                            clBlack);
    QApplication::processEvents();
    ASSERT_EQ(bar->value(), bar->maximum());

    const auto settle = [] {
        for (int i = 0; i < 50; ++i)
            QApplication::processEvents();
    };
    const auto topLine = [&] {
        return chat->mainchat()->cursorForPosition(QPoint(5, 8)).block().text().toStdString();
    };
    chat->resize(260, 150);
    settle();
    EXPECT_EQ(bar->value(), bar->maximum()) << "at the bottom after a resize";
    chat->setTextSize(14);
    settle();
    EXPECT_EQ(bar->value(), bar->maximum()) << "at the bottom after a new text size";
    chat->resize(500, 300);
    settle();
    EXPECT_EQ(bar->value(), bar->maximum()) << "at the bottom after growing";

    bar->setValue(bar->maximum() / 2);
    const std::string middle = topLine();
    chat->resize(300, 180);
    settle();
    EXPECT_EQ(topLine(), middle) << "the same line at the top after a resize";
    chat->setTextSize(8);
    settle();
    EXPECT_EQ(topLine(), middle) << "and after a new text size";
}

TEST_F(ChatWidgetTest, WithScrollOffTheFirstLineAfterANewTextSizeMovesNothing) {
    QScrollBar* bar = chat->mainchat()->verticalScrollBar();
    const auto settle = [] {
        for (int i = 0; i < 50; ++i)
            QApplication::processEvents();
    };
    chat->resize(300, 180);
    chat->setScrollOff(true);
    // The line at the top once the new size is laid out, with a line arriving then or not.
    const auto topAfter = [&](int place, int size, bool settled, bool withLine) {
        chat->clearAction()->trigger();
        chat->setTextSize(10);
        for (int i = 0; i < 300; ++i)
            chat->addlinetochat("Ann chats: line " + std::to_string(i) + " with words to wrap", clBlack);
        settle();
        bar->setValue(place * bar->maximum() / 2);
        settle();
        chat->setTextSize(size);
        if (settled) settle();
        if (withLine) chat->addlinetochat("Bo chats: the first line after the change", clBlack);
        settle();
        return chat->mainchat()->cursorForPosition(QPoint(5, 8)).block().text().toStdString();
    };
    // At the top, in the middle and at the bottom; the line comes before or after the new layout.
    for (const int place : {0, 1, 2})
        for (const int size : {8, 14})
            for (const bool settled : {false, true})
                EXPECT_EQ(topAfter(place, size, settled, true), topAfter(place, size, settled, false))
                    << "place " << place << " size " << size << " settled " << settled;
}

TEST_F(ChatWidgetTest, LongLinesAreCutAndOnlyTheNewestLinesAreKept) {
    const std::string longLine = "Ann chats: " + std::string(10000, 'x');
    chat->addlinetochat(longLine, clBlack);
    const QString shown = chat->mainchat()->document()->firstBlock().text();
    EXPECT_EQ(shown.size(), 4001) << "4000 characters and an ellipsis";
    EXPECT_TRUE(shown.endsWith(QChar(0x2026)));

    chat->clearAction()->trigger();
    for (int i = 1; i <= 3005; ++i)
        chat->addlinetochat("line " + std::to_string(i), clBlack);
    const QTextDocument* doc = chat->mainchat()->document();
    EXPECT_EQ(doc->blockCount(), 3001) << "3000 lines and the empty one after the newest";
    EXPECT_EQ(doc->firstBlock().text(), QStringLiteral("line 6"));
    EXPECT_EQ(doc->lastBlock().previous().text(), QStringLiteral("line 3005"));
}
