#include "ui/app/connectionbanner.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace plimb {

ConnectionBanner::ConnectionBanner(QWidget* parent)
    : QFrame(parent), label_headline(new QLabel(this)), label_detail(new QLabel(this)),
      button_rejoin(new QPushButton(this)), button_quit(new QPushButton(QStringLiteral("Quit"), this)) {
    setObjectName(QStringLiteral("banner_connection"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("#banner_connection { background: #FFF4CE; }"));
    label_headline->setObjectName(QStringLiteral("label_connection"));
    QFont bold = label_headline->font();
    bold.setBold(true);
    label_headline->setFont(bold);
    label_headline->setWordWrap(true);
    label_detail->setObjectName(QStringLiteral("label_connectiondetail"));
    label_detail->setWordWrap(true);
    button_rejoin->setObjectName(QStringLiteral("button_rejoin"));
    button_quit->setObjectName(QStringLiteral("button_quit"));

    auto* texts = new QVBoxLayout;
    texts->addWidget(label_headline);
    texts->addWidget(label_detail);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 4, 8, 4);
    row->addLayout(texts, 1);
    row->addWidget(button_rejoin);
    row->addWidget(button_quit);
    connect(button_rejoin, &QPushButton::clicked, this, &ConnectionBanner::rejoinClicked);
    connect(button_quit, &QPushButton::clicked, this, &ConnectionBanner::quitClicked);
    parent->installEventFilter(this);
    hide();
}

void ConnectionBanner::present(const QString& headline, const QString& detail, const QString& actionText,
                               bool actionEnabled) {
    label_headline->setText(headline);
    label_detail->setText(detail);
    label_detail->setVisible(!detail.isEmpty());
    button_rejoin->setText(actionText);
    button_rejoin->setVisible(!actionText.isEmpty());
    button_rejoin->setEnabled(actionEnabled);
    // The banner's news is also a screen reader's news.
    setAccessibleName(headline);
    setAccessibleDescription(detail);
    show();
    place();
    raise();
}

bool ConnectionBanner::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible()) place();
    return QFrame::eventFilter(watched, event);
}

void ConnectionBanner::place() {
    const int width = parentWidget()->width();
    layout()->activate();
    const int height = hasHeightForWidth() ? heightForWidth(width) : sizeHint().height();
    setGeometry(0, 0, width, height);
}

} // namespace plimb
