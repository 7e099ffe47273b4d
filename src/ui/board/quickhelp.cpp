#include "ui/board/quickhelp.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/common/tileart.h"

#include "core/net/board.h"

namespace plimb {
namespace {

// A small row of tiles illustrating one step; lifted marks the tile the step is about.
class TileStrip : public QWidget {
public:
    TileStrip(const TileArt& art, QString letters, int lifted, QWidget* parent)
        : QWidget(parent), art_(art), letters_(std::move(letters)), lifted_(lifted) {
        setFixedSize(static_cast<int>(letters_.size()) * 30 + 6, 36);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        for (int i = 0; i < letters_.size(); ++i) {
            const QChar c = letters_[i];
            if (c == QLatin1Char(' ')) continue;
            const int code = letterCode(c.toLatin1());
            const QPixmap tile = art_.tile(code, devicePixelRatioF());
            p.drawPixmap(QRect(3 + i * 30, i == lifted_ ? 0 : 6, 29, 29), tile);
        }
    }

private:
    const TileArt& art_;
    QString letters_;
    int lifted_;
};

QLabel* text(const QString& s, QWidget* parent) {
    auto* label = new QLabel(s, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    return label;
}

} // namespace

QuickHelp::QuickHelp(const TileArt& art, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("panel_help"));
    setAttribute(Qt::WA_StyledBackground, false);
    setStyleSheet(QStringLiteral("QLabel { color: #f4ecd8; font-size: 11px; }"
                                 "QLabel#headline { color: #f0c060; font-size: 13px; font-weight: bold; }"
                                 "QLabel#keys { color: #f0d890; }"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 6, 12, 8);
    layout->setSpacing(2);
    auto* headline = text(QStringLiteral("Try to \"MORPH\" your word into a new word by adding or deleting "
                                         "letters from your board."),
                          this);
    headline->setObjectName(QStringLiteral("headline"));
    layout->addWidget(headline);

    struct Step {
        const char* letters;
        int lifted;
        const char* text;
    };
    const Step steps[] = {
        {"C  ", 0,
         "1. Click one of your letters then click on your board to start your word. This will end your "
         "turn."},
        {"CA ", 1,
         "2. Keep adding letters to form valid words. Your word is checked at the end of your turn."},
        {"TAC", 0,
         "3. You can rearrange the letters on the board. Click on the letter and then click on the spot "
         "you want to move it to."},
        {"CAT", 2, "4. Be sure to complete all your rearranging before adding another letter to your board."},
        {"ACT", 0, "5. Swap two letters on your board by clicking one of them, then clicking the other."},
        {"CATS", 3,
         "6. You can remove a letter on your board by right clicking on it. This will end your turn. "},
    };
    // Steps 1 to 3 down the left column and 4 to 6 down the middle one, each a picture over its
    // text; the side note on the right, with the keys under it and "Done" at the foot.
    auto* columns = new QHBoxLayout;
    columns->setSpacing(14);
    for (int column = 0; column < 2; ++column) {
        auto* steps3 = new QVBoxLayout;
        steps3->setSpacing(1);
        for (int i = column * 3; i < column * 3 + 3; ++i) {
            steps3->addWidget(
                new TileStrip(art, QString::fromLatin1(steps[i].letters), steps[i].lifted, this));
            steps3->addWidget(text(QString::fromUtf8(steps[i].text), this));
        }
        steps3->addStretch(1);
        columns->addLayout(steps3, 1);
    }
    auto* side = new QVBoxLayout;
    side->setSpacing(6);
    side->addWidget(text(QStringLiteral("You can also steal letters from your opponent's board, or you can "
                                        "delete letters from your own hand. Both of these actions will end "
                                        "your turn."),
                         this));
    auto* keys = text(QStringLiteral("Keys: Tab moves from the chat to the board and back. The arrows move "
                                     "between tiles, Up and Down between the rows. Enter or Space clicks a "
                                     "tile, Delete right-clicks it, a letter picks the tile showing it, Esc "
                                     "drops the pick. Or drag tiles; drop one on the bin to throw it away."),
                      this);
    keys->setObjectName(QStringLiteral("keys"));
    side->addWidget(keys);
    side->addStretch(1);
    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("button_done"));
    connect(done, &QPushButton::clicked, this, &QWidget::hide);
    side->addWidget(done, 0, Qt::AlignRight);
    columns->addLayout(side, 1);
    layout->addLayout(columns, 1);
    hide();
}

void QuickHelp::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xc8, 0x9a, 0x48), 2));
    p.setBrush(QColor(0x12, 0x3a, 0x2c));
    p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 8, 8);
}

} // namespace plimb
