#pragma once
// Small pieces the board panel is made of: labels for texts that come from other players, fixed
// pictures, and the winner's banner.
#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "ui/common/tileart.h"

class QLabel;

namespace plimb {

inline const QColor kCream(0xF6, 0xE9, 0xCC);
inline const QColor kGold(0xF2, 0xC9, 0x6B);
inline const QColor kSoftText(0xCF, 0xE0, 0xD4);

// A label that shows its text as plain text, never as markup.
QLabel* makeLabel(QWidget* parent, const QString& text, const QRect& geometry, const QFont& font,
                  const QColor& colour, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
void setPlainText(QLabel* label, const QString& text);
// Every setting of a name is announced to assistive technology, even an unchanged one, so names
// are set only when they change.
void setName(QWidget* widget, const QString& name);
// A label too narrow for its text shows it shortened with an ellipsis and offers the whole text as
// its tool tip; its accessible name is `name` (the text itself when not given).
void setElidedText(QLabel* label, const QString& text, const QString& name);
void setElidedText(QLabel* label, const QString& text);

// A fixed picture from TileArt; the widget's width may be narrower than the picture, in which case
// only its left part shows (the timer bar shrinks this way).
class PictureWidget : public QWidget {
    Q_OBJECT
public:
    using Source = std::function<QPixmap(const TileArt&, qreal)>;
    PictureWidget(const TileArt* art, Source source, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const TileArt* art_;
    Source source_;
};

// The gold banner over the hand that announces the winner (`panel_winner`), with its text and
// the text's grey shadow (`label_winner1`, `label_winner2`).
class WinnerBanner : public QWidget {
public:
    WinnerBanner(const QRect& geometry, QWidget* parent);
    // The whole sentence shows for any name: the font shrinks to fit it, and a name too long even
    // for the smallest size is shortened, never the words after it.
    void setText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* text_ = nullptr;
    QLabel* shadow_ = nullptr;
};

} // namespace plimb
