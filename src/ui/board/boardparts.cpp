#include "ui/board/boardparts.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>

namespace plimb {
namespace {

constexpr int kWinnerFontPx = 26;
constexpr int kWinnerMinFontPx = 13;

} // namespace

QLabel* makeLabel(QWidget* parent, const QString& text, const QRect& geometry, const QFont& font,
                  const QColor& colour, Qt::Alignment align) {
    auto* label = new QLabel(parent);
    // Names and texts come from other players over the network; never let them be read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(align);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    return label;
}

void setPlainText(QLabel* label, const QString& text) {
    if (label->text() != text) label->setText(text);
}

void setName(QWidget* widget, const QString& name) {
    if (widget->accessibleName() != name) widget->setAccessibleName(name);
}

void setElidedText(QLabel* label, const QString& text, const QString& name) {
    const QString shown = label->fontMetrics().elidedText(text, Qt::ElideRight, label->width());
    const QString tip = shown == text ? QString() : text;
    if (label->toolTip() != tip) label->setToolTip(tip);
    // A label without a name of its own announces its text instead, so the order of the two
    // settings keeps it to one announcement per change.
    if (name.isEmpty()) {
        setPlainText(label, shown);
        setName(label, name);
    } else {
        setName(label, name);
        setPlainText(label, shown);
    }
}

void setElidedText(QLabel* label, const QString& text) {
    setElidedText(label, text, text);
}

// ---------------------------------------------------------------------------------------------
PictureWidget::PictureWidget(const TileArt* art, Source source, QWidget* parent)
    : QWidget(parent), art_(art), source_(std::move(source)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PictureWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, source_(*art_, devicePixelRatioF()));
}

// ---------------------------------------------------------------------------------------------
WinnerBanner::WinnerBanner(const QRect& geometry, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("panel_winner"));
    setGeometry(geometry);
    const QRect text(0, 0, geometry.width() - 4, geometry.height() - 4);
    const QFont big = TileArt::font(kWinnerFontPx, QFont::Black);
    // The grey copy lies behind, one pixel right and one up, as a shadow.
    shadow_ = makeLabel(this, {}, text.translated(1, -1), big, QColor(0x80, 0x80, 0x80), Qt::AlignCenter);
    shadow_->setObjectName(QStringLiteral("label_winner2"));
    text_ = makeLabel(this, {}, text, big, QColor(0x5A, 0x2E, 0x05), Qt::AlignCenter);
    text_->setObjectName(QStringLiteral("label_winner1"));
}

void WinnerBanner::setText(const QString& text) {
    if (text_->accessibleName() == text) return;
    static const QString sentence = QStringLiteral(" has won the game!");
    const int room = text_->contentsRect().width();
    QFont font = text_->font();
    QString shown = text;
    for (int px = kWinnerFontPx; px >= kWinnerMinFontPx; --px) {
        font.setPixelSize(px);
        if (QFontMetrics(font).horizontalAdvance(text) <= room) break;
    }
    const QFontMetrics metrics(font);
    if (metrics.horizontalAdvance(text) > room) {
        const bool named = text.endsWith(sentence);
        const QString name = named ? text.left(text.size() - sentence.size()) : text;
        const int tail = named ? metrics.horizontalAdvance(sentence) : 0;
        shown = metrics.elidedText(name, Qt::ElideRight, room - tail) + (named ? sentence : QString());
    }
    for (QLabel* label : {text_, shadow_}) {
        label->setFont(font);
        setName(label, text);
        setPlainText(label, shown);
        const QString tip = shown == text ? QString() : text;
        if (label->toolTip() != tip) label->setToolTip(tip);
    }
}

void WinnerBanner::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1.5, 1.5, -2.5, -2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(r.translated(1.5, 2), 10, 10);
    QLinearGradient gold(r.topLeft(), r.bottomLeft());
    gold.setColorAt(0.0, QColor(0xFF, 0xE7, 0x9A));
    gold.setColorAt(0.5, QColor(0xF0, 0xB8, 0x3C));
    gold.setColorAt(1.0, QColor(0xC4, 0x86, 0x1C));
    p.setBrush(gold);
    p.setPen(QPen(QColor(0x6E, 0x42, 0x08), 1.2));
    p.drawRoundedRect(r, 10, 10);
    p.setPen(QPen(QColor(255, 250, 225, 170), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(3, 3, -3, -3), 7, 7);
}

} // namespace plimb
