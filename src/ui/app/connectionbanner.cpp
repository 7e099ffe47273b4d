#include "app/connectionbanner.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace plimb {

ConnectionBanner::ConnectionBanner(QWidget* parent)
    : QFrame(parent), label_headline(new QLabel(this)), label_detail(new QLabel(this)),
      button_rejoin(new QPushButton(QStringLiteral("Rejoin"), this)),
      button_quit(new QPushButton(QStringLiteral("Quit"), this)) {
    setObjectName(QStringLiteral("banner_connection"));
    setFrameShape(QFrame::StyledPanel);
    setStyleSheet(QStringLiteral("#banner_connection { background: #FFF4CE; }"));
    label_headline->setObjectName(QStringLiteral("label_connection"));
    QFont bold = label_headline->font();
    bold.setBold(true);
    label_headline->setFont(bold);
    label_detail->setObjectName(QStringLiteral("label_connectiondetail"));
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
    hide();
}

void ConnectionBanner::present(const QString& headline, const QString& detail, bool rejoinShown,
                               bool rejoinEnabled) {
    label_headline->setText(headline);
    label_detail->setText(detail);
    label_detail->setVisible(!detail.isEmpty());
    button_rejoin->setVisible(rejoinShown);
    button_rejoin->setEnabled(rejoinEnabled);
    // The banner's news is also a screen reader's news.
    setAccessibleName(headline);
    setAccessibleDescription(detail);
    show();
}

} // namespace plimb
