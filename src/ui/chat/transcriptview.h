#pragma once
// The chat's read-only transcript `mainchat`: its lines and where its view stands. The view either
// follows the newest line or, with scrolling off, stays on the line at its top; either way it keeps
// its place through relayouts (a resize, a new text size, old lines trimmed off the top).
#include "core/chat/colortext.h"

#include <QTextCursor>
#include <QTextEdit>

#include <string>

namespace plimb {

class TranscriptView : public QTextEdit {
    Q_OBJECT
public:
    explicit TranscriptView(QWidget* parent = nullptr);

    // One paragraph: the head (up to and including the first ":") in bold, the rest in normal
    // weight, both in `colour`, links underlined. The view follows it unless scrolling is off, in
    // which case the view and the caret stay where they were and any selection is collapsed.
    void addLine(const std::string& line, Colour colour);
    // Empties the transcript; the text size and scrolling stay as they are.
    void clearLines();
    void setTextSize(int points);

    bool scrollOff() const { return scrollOff_; }
    void setScrollOff(bool on) { scrollOff_ = on; }

private:
    // The view's place: at the bottom, or the line at the top and how far into it the view starts.
    void rememberView();
    void restoreView();
    void placeView(bool bottom);

    bool scrollOff_ = false;
    bool atBottom_ = true;
    QTextCursor topLine_;
    int intoTopLine_ = 0;
    bool restoring_ = false;
    bool editing_ = false; // the transcript is being written or cleared
};

} // namespace plimb
