#include "ui/chat/transcriptview.h"

#include "core/chat/chatrules.h"
#include "core/chat/rteurl.h"
#include "ui/chat/qcolour.h"
#include "ui/common/qtext.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace plimb {
namespace {

constexpr int kTranscriptMargin = 5;
const QColor kTranscriptBackground(0xC6, 0x94, 0x73); // 0x7394C6 as 0x00BBGGRR

// The window's own typeface at the transcript's text size: asking for faces by name would cost a
// font lookup for each name not installed, and end at this face on most systems anyway.
QFont transcriptFont(int points) {
    QFont f = QGuiApplication::font();
    f.setPointSize(points);
    return f;
}

} // namespace

TranscriptView::TranscriptView(QWidget* parent) : QTextEdit(parent) {
    setObjectName(QStringLiteral("mainchat"));
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    document()->setDocumentMargin(kTranscriptMargin);
    // One block more than the lines kept: the last block is the empty one after the newest line.
    document()->setMaximumBlockCount(kMaxTranscriptLines + 1);
    topLine_ = QTextCursor(document());
    QScrollBar* bar = verticalScrollBar();
    // The user's scrolling moves the remembered place; a relayout changes the range, after which
    // the view goes back to that place instead of wherever the new range left it.
    connect(bar, &QScrollBar::valueChanged, this, [this] {
        if (!restoring_) rememberView();
    });
    connect(bar, &QScrollBar::rangeChanged, this, &TranscriptView::restoreView);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, kTranscriptBackground);
    // The selection stays visible when the transcript loses focus.
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        pal.setColor(QPalette::Inactive, role, pal.color(QPalette::Active, role));
    setPalette(pal);
}

void TranscriptView::addLine(const std::string& line, Colour colour) {
    QScrollBar* bar = verticalScrollBar();
    const bool keepView = scrollOff_;
    QTextCursor selectionStart(document());
    selectionStart.setPosition(textCursor().selectionStart());
    viewport()->setUpdatesEnabled(false);

    const std::string shown = shownLine(line);
    const LineParts parts = splitHead(shown);
    editing_ = true;
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    const int lineStart = cursor.position();
    QTextCharFormat format;
    format.setForeground(toQColor(colour));
    format.setFontWeight(QFont::Bold);
    cursor.insertText(toQString(parts.head), format);
    format.setFontWeight(QFont::Normal);
    cursor.insertText(toQString(parts.rest), format);
    // A link looks like one before the pointer finds it.
    for (const Link& link : linksIn(shown)) {
        const auto at = [&](std::size_t bytes) {
            return lineStart +
                   static_cast<int>(QString::fromUtf8(shown.data(), static_cast<qsizetype>(bytes)).size());
        };
        QTextCursor run(document());
        run.setPosition(at(link.start));
        run.setPosition(at(link.end), QTextCursor::KeepAnchor);
        QTextCharFormat linkFormat;
        linkFormat.setFontUnderline(true);
        linkFormat.setForeground(palette().color(QPalette::Link));
        run.mergeCharFormat(linkFormat);
    }
    cursor.insertBlock(QTextBlockFormat(), format);
    editing_ = false;

    if (keepView) {
        QTextCursor caret(document());
        caret.setPosition(selectionStart.position());
        restoring_ = true;
        setTextCursor(caret);
        restoring_ = false;
        // The line at the top stays there, even when the view was at the bottom.
        placeView(false);
        rememberView();
    } else {
        setTextCursor(cursor);
        bar->setValue(bar->maximum());
        rememberView();
    }
    viewport()->setUpdatesEnabled(true);
    viewport()->update();
}

void TranscriptView::clearLines() {
    editing_ = true;
    clear();
    editing_ = false;
    document()->setDocumentMargin(kTranscriptMargin);
    rememberView();
}

void TranscriptView::setTextSize(int points) {
    setFont(transcriptFont(points));
}

void TranscriptView::rememberView() {
    // Not while the transcript is being written or cleared: the document walks its cursors then,
    // and replacing one of them under it corrupts memory. The view is remembered after the edit.
    if (editing_) return;
    const QScrollBar* bar = verticalScrollBar();
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    atBottom_ = bar->value() >= bar->maximum();
    const int hit = layout->hitTest(QPointF(kTranscriptMargin, bar->value()), Qt::FuzzyHit);
    const QTextBlock block = document()->findBlock(std::max(hit, 0));
    topLine_ = QTextCursor(block);
    intoTopLine_ = bar->value() - qRound(layout->blockBoundingRect(block).top());
}

void TranscriptView::restoreView() {
    // The new line's own growth of the transcript is placed by addLine.
    if (editing_) return;
    placeView(atBottom_);
    // A view kept at the bottom shows other lines at the top after a new layout: those are the
    // ones a line arriving with scrolling off must keep in place.
    rememberView();
}

void TranscriptView::placeView(bool bottom) {
    QScrollBar* bar = verticalScrollBar();
    restoring_ = true;
    if (bottom) {
        bar->setValue(bar->maximum());
    } else {
        const QRectF line = document()->documentLayout()->blockBoundingRect(topLine_.block());
        const int into = std::clamp(intoTopLine_, 0, std::max(0, qRound(line.height()) - 1));
        bar->setValue(qRound(line.top()) + into);
    }
    restoring_ = false;
}

} // namespace plimb
