#include "ui/chat/chatwidget.h"

#include "core/chat/chatrules.h"
#include "core/chat/rteurl.h"
#include "ui/chat/qcolour.h"
#include "ui/common/qtext.h"
#include "ui/common/tileart.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace plimb {
namespace {

constexpr std::array<int, 4> kSizes{8, 10, 12, 14};
constexpr int kMinTextSize = 1;
constexpr int kMaxTextSize = 96;
// Characters of an unbroken address on one line of a question box: well inside the narrowest
// width the box keeps, even in wide letters.
constexpr std::size_t kQuestionLineChars = 60;

// UTF-8 byte offset of the first `chars` UTF-16 units of `s`.
std::size_t utf8Offset(const QString& s, int chars) {
    return toStdString(s.left(chars)).size();
}

// UTF-16 length of the first `bytes` bytes of `utf8`.
int utf16Offset(const std::string& utf8, std::size_t bytes) {
    return static_cast<int>(toQString(std::string_view(utf8.data(), bytes)).size());
}

// The transcript link under a character, mapped back to document positions. Only the character's
// own line is searched: a link never crosses a line end.
struct DocLink {
    int start = 0, end = 0;
    QString url;
    bool webOrMail = false;
};
std::optional<DocLink> docLinkAt(const QTextDocument& doc, int position) {
    if (position < 0) return std::nullopt;
    const QTextBlock block = doc.findBlock(position);
    if (!block.isValid()) return std::nullopt;
    const QString blockText = block.text();
    const int index = position - block.position();
    if (index >= blockText.size()) return std::nullopt;
    std::string text = toStdString(blockText);
    if (block.next().isValid()) text += '\n';
    const auto link = linkAt(text, utf8Offset(blockText, index));
    if (!link) return std::nullopt;
    return DocLink{block.position() + utf16Offset(text, link->start),
                   block.position() + utf16Offset(text, link->end), toQString(linkUrl(*link)),
                   isWebOrMailLink(*link)};
}

} // namespace

// The desktop's opener gets the address as written; going through QUrl would lower-case its
// scheme and host. Links begin with a scheme or "www.", so the opener never takes one for an option.
void openWithDesktop(const QString& link) {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty() && QProcess::startDetached(opener, {link})) return;
    QDesktopServices::openUrl(QUrl(link));
}

QString questionText(std::string_view text) {
    return toQString(breakLongWords(text, kQuestionLineChars));
}

bool askToOpenLink(QWidget* parent, const QString& link) {
    const std::string question = "This link is not a web or mail address and may start a program on this "
                                 "computer:\n\n" +
                                 toStdString(link) + "\n\nOpen it?";
    return QMessageBox::question(parent, QStringLiteral("Plimb"), questionText(question),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

ChatWidget::ChatWidget(QWidget* parent)
    : QWidget(parent), mainchat_(new TranscriptView(this)), mychat_(new QLineEdit(this)),
      popupMenu1_(new QMenu(this)), popupMenu2_(new QMenu(this)),
      copy1_(new QAction(QStringLiteral("Copy"), this)),
      clearMainChat1_(new QAction(QStringLiteral("Clear Main Chat"), this)),
      scrollChatOff1_(new QAction(QStringLiteral("Scroll Chat Off"), this)),
      paste1_(new QAction(QStringLiteral("Paste"), this)),
      textColor_(new QAction(QStringLiteral("Text Color"), this)),
      actionColor_(new QAction(QStringLiteral("Action Color"), this)),
      textSizeMenu_(new QMenu(QStringLiteral("Text Size"), this)),
      scrollChatOff2_(new QAction(QStringLiteral("Scroll Chat Off"), this)),
      clearMainChat2_(new QAction(QStringLiteral("Clear Main Chat"), this)), openLink_(openWithDesktop),
      askLink_([this](const QString& link) { return askToOpenLink(this, link); }) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(mainchat_, 1);
    layout->addWidget(mychat_);

    mainchat_->setTextSize(textSize_);
    mainchat_->viewport()->setMouseTracking(true);
    mainchat_->viewport()->setCursor(Qt::ArrowCursor);
    mainchat_->installEventFilter(this);
    mainchat_->viewport()->installEventFilter(this);

    mychat_->setObjectName(QStringLiteral("mychat"));
    // The house type the board's labels already use: no font of its own to look up.
    mychat_->setFont(TileArt::font(QFont::Normal));
    mychat_->setText(toQString(kChatPrompt));
    applyEntryColour();
    mychat_->installEventFilter(this);

    // The pop-ups' keys are handled by the boxes themselves (Ctrl+C, Ctrl+V) or by the Options
    // twin (Ctrl+S); here they show in the menu and act only while it is open.
    copy1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    scrollChatOff1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    paste1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    for (QAction* a : {copy1_, scrollChatOff1_, paste1_})
        a->setShortcutContext(Qt::WidgetShortcut);
    scrollChatOff1_->setCheckable(true);
    scrollChatOff2_->setCheckable(true);
    scrollChatOff2_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    addAction(scrollChatOff2_);

    popupMenu1_->setObjectName(QStringLiteral("PopupMenu1"));
    popupMenu1_->addAction(copy1_);
    popupMenu1_->addAction(clearMainChat1_);
    popupMenu1_->addAction(scrollChatOff1_);
    popupMenu2_->setObjectName(QStringLiteral("PopupMenu2"));
    popupMenu2_->addAction(paste1_);

    for (std::size_t i = 0; i < kSizes.size(); ++i) {
        const int size = kSizes[i];
        QAction* item = textSizeMenu_->addAction(QString::number(size));
        item->setCheckable(true);
        item->setChecked(size == textSize_);
        connect(item, &QAction::triggered, this, [this, size] { chooseTextSize(size); });
        sizeItems_[i] = item;
    }

    connect(copy1_, &QAction::triggered, this, &ChatWidget::copy1Click);
    connect(paste1_, &QAction::triggered, this, &ChatWidget::paste1Click);
    connect(clearMainChat1_, &QAction::triggered, this, &ChatWidget::clearMainChat1Click);
    connect(clearMainChat2_, &QAction::triggered, this, &ChatWidget::clearMainChat1Click);
    // A checkable item has already flipped its own mark when it triggers; its twin follows.
    connect(scrollChatOff1_, &QAction::triggered, this, &ChatWidget::setScrollOff);
    connect(scrollChatOff2_, &QAction::triggered, this, &ChatWidget::setScrollOff);
    connect(textColor_, &QAction::triggered, this, &ChatWidget::textColor1Click);
    connect(actionColor_, &QAction::triggered, this, &ChatWidget::actionColor1Click);
}

void ChatWidget::addlinetochat(const std::string& line, Colour colour) {
    mainchat_->addLine(line, colour);
}

void ChatWidget::sendit() {
    const ChatSession session = session_ ? session_() : ChatSession{};
    const SendOutcome outcome = plimb::sendit(toStdString(mychat_->text()), session.loggedIn, session.mySeat,
                                              textColour_, actionColour_);
    if (outcome.clearEntry) mychat_->clear();
    if (outcome.request) emit requestReady(*outcome.request);
}

void ChatWidget::setSessionSource(std::function<ChatSession()> source) {
    session_ = std::move(source);
}

void ChatWidget::setLinkOpener(std::function<void(const QString&)> opener) {
    openLink_ = std::move(opener);
}

void ChatWidget::setLinkQuestion(std::function<bool(const QString&)> question) {
    askLink_ = std::move(question);
}

void ChatWidget::setTextColour(Colour c) {
    textColour_ = c;
    applyEntryColour();
}

void ChatWidget::setActionColour(Colour c) {
    actionColour_ = c;
}

void ChatWidget::setTextSize(int points) {
    textSize_ = std::clamp(points, kMinTextSize, kMaxTextSize);
    mainchat_->setTextSize(textSize_);
    for (std::size_t i = 0; i < kSizes.size(); ++i)
        sizeItems_[i]->setChecked(kSizes[i] == textSize_);
}

bool ChatWidget::scrollOff() const {
    return mainchat_->scrollOff();
}

void ChatWidget::setScrollOff(bool on) {
    mainchat_->setScrollOff(on);
    scrollChatOff1_->setChecked(on);
    scrollChatOff2_->setChecked(on);
}

void ChatWidget::textColor1Click() {
    const QColor chosen = QColorDialog::getColor(toQColor(textColour_), this, QStringLiteral("Text Color"));
    if (!chosen.isValid()) return;
    setTextColour(fromQColor(chosen));
    emit settingsChanged();
}

void ChatWidget::actionColor1Click() {
    const QColor chosen =
        QColorDialog::getColor(toQColor(actionColour_), this, QStringLiteral("Action Color"));
    if (chosen.isValid()) actionColour_ = fromQColor(chosen);
    emit settingsChanged();
}

void ChatWidget::chooseTextSize(int points) {
    setTextSize(points);
    emit settingsChanged();
}

void ChatWidget::scrollChatOff1Click() {
    setScrollOff(!scrollOff());
}

void ChatWidget::clearMainChat1Click() {
    mainchat_->clearLines();
}

void ChatWidget::copy1Click() {
    QApplication::clipboard()->setText(mainchat_->textCursor().selection().toPlainText());
}

void ChatWidget::paste1Click() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText()) return;
    mychat_->setText(data->text());
}

void ChatWidget::applyEntryColour() {
    QPalette pal = mychat_->palette();
    pal.setColor(QPalette::Text, toQColor(textColour_));
    mychat_->setPalette(pal);
}

int ChatWidget::characterAt(const QPoint& pos) const {
    const QTextCursor cursor = mainchat_->cursorForPosition(pos);
    int position = cursor.position();
    // cursorForPosition gives the nearest gap between characters, which is the gap after a
    // character when the point is on its right half; the character under the point is wanted.
    if (position > cursor.block().position() && pos.x() < mainchat_->cursorRect(cursor).left()) --position;
    return position;
}

void ChatWidget::mainchatMouseMove(const QPoint& pos) {
    const bool overLink = docLinkAt(*mainchat_->document(), characterAt(pos)).has_value();
    mainchat_->viewport()->setCursor(overLink ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

bool ChatWidget::mainchatMouseDown(const QPoint& pos, Qt::MouseButton button) {
    if (button != Qt::LeftButton) return false;
    const auto link = docLinkAt(*mainchat_->document(), characterAt(pos));
    if (!link) return false;
    QTextCursor selection(mainchat_->document());
    selection.setPosition(link->start);
    selection.setPosition(link->end, QTextCursor::KeepAnchor);
    mainchat_->setTextCursor(selection);
    if (link->webOrMail || askLink_(link->url)) openLink_(link->url);
    return true;
}

bool ChatWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mainchat_->viewport()) {
        switch (event->type()) {
        case QEvent::MouseMove:
            mainchatMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
            return false;
        case QEvent::MouseButtonPress: {
            auto* e = static_cast<QMouseEvent*>(event);
            return mainchatMouseDown(e->position().toPoint(), e->button());
        }
        case QEvent::ContextMenu:
            popupMenu1_->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        default:
            return false;
        }
    }
    if (watched == mainchat_) {
        if (event->type() == QEvent::ContextMenu) {
            popupMenu1_->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
            copy1Click();
            return true;
        }
        return false;
    }
    if (watched == mychat_) {
        if (event->type() == QEvent::ContextMenu) {
            popupMenu2_->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
        const bool isPrompt = mychat_->text() == toQString(kChatPrompt);
        if (event->type() == QEvent::InputMethod && isPrompt) mychat_->clear();
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste)) {
            paste1Click();
            return true;
        }
        if (isPrompt) mychat_->clear();
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            sendit();
            return true;
        }
        return false;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace plimb
