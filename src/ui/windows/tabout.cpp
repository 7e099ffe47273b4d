#include "ui/windows/tabout.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/common/qtext.h"
#include "ui/common/tileart.h"
#include "ui/common/windowplacement.h"
#include "core/net/protocol.h"

namespace plimb {

namespace {

constexpr int kLetterP = 16;
constexpr qreal kLogoScale = 2.0; // the logo is the P tile at twice its board size

} // namespace

Tabout::Tabout(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("Tabout"));
    setWindowTitle(QStringLiteral("Plimb - About"));
    open_ = [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); };

    auto* root = new QVBoxLayout(this);

    Image1 = new QToolButton(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAutoRaise(true);
    Image1->setAccessibleName(QStringLiteral("Plimb logo"));
    Image1->setToolTip(QStringLiteral("Plimb"));
    // Drawn at the screen's ratio times the scale, then declared at the screen's ratio, so the
    // tile is twice as large and still sharp.
    const qreal ratio = devicePixelRatioF();
    QPixmap logo = TileArt().tile(kLetterP, ratio * kLogoScale);
    logo.setDevicePixelRatio(ratio);
    Image1->setIcon(QIcon(logo));
    Image1->setIconSize(logo.deviceIndependentSize().toSize());
    connect(Image1, &QToolButton::clicked, this, &QWidget::hide);
    root->addWidget(Image1, 0, Qt::AlignHCenter);

    auto* name = new QLabel(QStringLiteral("Plimb"), this);
    name->setFont(TileArt::font(20, QFont::Bold));
    root->addWidget(name, 0, Qt::AlignHCenter);

    Label7 = new QLabel(this);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(Label7, &QLabel::linkActivated, this, [this] { openWebAddress(); });
    Label7->hide();
    root->addWidget(Label7, 0, Qt::AlignHCenter);

    auto* credit =
        new QLabel(QStringLiteral("By The Plimb developers. Free software under the MIT licence."), this);
    credit->setObjectName(QStringLiteral("label_credit"));
    root->addWidget(credit, 0, Qt::AlignHCenter);
    auto* words =
        new QLabel(QStringLiteral("Word lists: word-list by Sindre Sorhus (MIT licence) and SCOWL by "
                                  "Kevin Atkinson (SCOWL licence)."),
                   this);
    words->setObjectName(QStringLiteral("label_wordlists"));
    words->setWordWrap(true);
    words->setAlignment(Qt::AlignHCenter);
    root->addWidget(words);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(0);
    bottom->addWidget(new QLabel(QStringLiteral("Version "), this));
    version = new QLabel(toQString(kVersion), this);
    version->setObjectName(QStringLiteral("version"));
    bottom->addWidget(version);
    Label9 = new QLabel(QStringLiteral(".1"), this);
    Label9->setObjectName(QStringLiteral("Label9"));
    bottom->addWidget(Label9);
    bottom->addStretch(1);
    button_done = new QPushButton(QStringLiteral("Done"), this);
    button_done->setObjectName(QStringLiteral("button_done"));
    button_done->setDefault(true);
    connect(button_done, &QPushButton::clicked, this, &QWidget::close);
    bottom->addWidget(button_done);
    root->addLayout(bottom);
}

void Tabout::setWebAddress(const QString& address) {
    url1_ = address.trimmed();
    Label7->setText(QStringLiteral("<a href=\"#\">%1</a>").arg(url1_.toHtmlEscaped()));
    Label7->setAccessibleName(url1_);
    Label7->setVisible(!url1_.isEmpty());
}

void Tabout::openWebAddress() const {
    if (url1_.isEmpty()) return;
    open_(QStringLiteral("http://") + url1_);
}

void Tabout::showOver(QWidget* mainWindow) {
    if (!isVisible()) adjustSize();
    showWindowOver(*this, mainWindow);
}

} // namespace plimb
