#include "ui/chat/phrasebar.h"

#include "core/chat/chatter.h"
#include "ui/common/qtext.h"
#include "ui/common/tileart.h"

#include <QIconEngine>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QToolButton>
#include <QVBoxLayout>

namespace plimb {
namespace {

constexpr QSize kButtonSize(25, 19);

// Icons drawn as vectors, so they stay crisp at any scale: a speech bubble with the button's
// number for the phrases, a loudspeaker for the chatter sounds.
class BarIcon : public QIconEngine {
public:
    explicit BarIcon(int number) : number_(number) {}
    QIconEngine* clone() const override { return new BarIcon(number_); }
    // Drawn once per size and mode: the buttons repaint often, the picture never changes.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const QString key = QStringLiteral("plimb-bar-%1-%2x%3-%4")
                                .arg(number_)
                                .arg(size.width())
                                .arg(size.height())
                                .arg(int(mode));
        QPixmap pm;
        if (QPixmapCache::find(key, &pm)) return pm;
        pm = QPixmap(size);
        pm.fill(Qt::transparent);
        {
            QPainter p(&pm);
            paint(&p, QRect(QPoint(0, 0), size), mode, state);
        }
        QPixmapCache::insert(key, pm);
        return pm;
    }
    void paint(QPainter* p, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        p->translate(rect.topLeft());
        p->scale(rect.width() / 20.0, rect.height() / 14.0);
        const bool enabled = mode != QIcon::Disabled;
        const QColor ink = enabled ? QColor(0x1B, 0x62, 0x83) : QColor(0x90, 0x90, 0x90);
        if (number_ <= 9) {
            QPainterPath bubble;
            bubble.addRoundedRect(QRectF(1, 1, 18, 10), 3, 3);
            QPolygonF tail;
            tail << QPointF(5, 10) << QPointF(4, 13.5) << QPointF(9, 10);
            bubble.addPolygon(tail);
            bubble = bubble.simplified();
            p->setPen(QPen(ink, 1.0));
            p->setBrush(enabled ? QColor(0xFF, 0xF6, 0xD8) : QColor(0xE8, 0xE8, 0xE8));
            p->drawPath(bubble);
            TileArt::paintBoldText(*p, QRectF(1, 1, 18, 10), 9, Qt::AlignCenter, QString::number(number_));
        } else {
            p->setPen(Qt::NoPen);
            p->setBrush(ink);
            QPolygonF speaker;
            speaker << QPointF(3, 5) << QPointF(6, 5) << QPointF(10, 1.5) << QPointF(10, 12.5)
                    << QPointF(6, 9) << QPointF(3, 9);
            p->drawPolygon(speaker);
            p->setBrush(Qt::NoBrush);
            p->setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap));
            p->drawArc(QRectF(8, 4, 5, 6), -50 * 16, 100 * 16);
            p->drawArc(QRectF(8, 1.5, 9, 11), -50 * 16, 100 * 16);
        }
        p->restore();
    }

private:
    int number_;
};

} // namespace

PhraseBar::PhraseBar(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    for (int n = 1; n <= 10; ++n) {
        auto* b = new QToolButton(this);
        b->setObjectName(QStringLiteral("b_phrase%1").arg(n));
        b->setFixedSize(kButtonSize);
        b->setIconSize(kButtonSize - QSize(4, 4));
        b->setIcon(QIcon(new BarIcon(n)));
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::TabFocus);
        buttons_[static_cast<std::size_t>(n - 1)] = b;
        layout->addWidget(b);
        if (n <= 9) {
            setPhrase(n, toQString(kBuiltinPhrases[static_cast<std::size_t>(n - 1)]));
            connect(b, &QToolButton::clicked, this, [this, n] { emit phraseClicked(phrase(n)); });
        }
    }
    layout->addStretch(1);
    QToolButton* chatter = buttons_[9];
    chatter->setToolTip(QStringLiteral("Chatter Sounds"));
    chatter->setAccessibleName(QStringLiteral("Chatter Sounds"));
    connect(chatter, &QToolButton::clicked, this, &PhraseBar::b_phrase10Click);
}

QMenu* PhraseBar::soundsMenu() {
    if (popupSounds_ != nullptr) return popupSounds_;
    popupSounds_ = new QMenu(this);
    popupSounds_->setObjectName(QStringLiteral("popup_sounds"));
    popupSounds_->setToolTipsVisible(true);
    for (int tag = 0; tag <= kChatterCount; ++tag) {
        const QString caption = toQString(kChatterCaptions[static_cast<std::size_t>(tag)]);
        QAction* item = popupSounds_->addAction(caption);
        item->setObjectName(tag == 0 ? QStringLiteral("Cancel1") : QStringLiteral("wave%1").arg(tag));
        item->setToolTip(caption);
        connect(item, &QAction::triggered, this, [this, tag] { emit chatterChosen(tag); });
    }
    return popupSounds_;
}

QString PhraseBar::phrase(int n) const {
    return button(n)->toolTip();
}

void PhraseBar::setPhrase(int n, const QString& text) {
    QToolButton* b = button(n);
    b->setToolTip(text);
    // A screen reader says what the button sends; an empty phrase still sends "says: ".
    b->setAccessibleName(text.isEmpty() ? QStringLiteral("Phrase %1 (empty)").arg(n) : text);
}

std::array<std::string, 9> PhraseBar::phrases() const {
    std::array<std::string, 9> out;
    for (int n = 1; n <= 9; ++n)
        out[static_cast<std::size_t>(n - 1)] = toStdString(phrase(n));
    return out;
}

void PhraseBar::b_phrase10Click() {
    const QToolButton* b = buttons_[9];
    soundsMenu()->popup(b->mapToGlobal(QPoint(b->width(), b->height())));
}

} // namespace plimb
