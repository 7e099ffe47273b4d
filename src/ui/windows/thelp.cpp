#include "ui/windows/thelp.h"

#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "core/app/reflow.h"
#include "ui/common/windowplacement.h"
#include "ui/windows/tabout.h"

// The pages are linked from a static library, where nothing else would pull them in.
static void initHelpResources() {
    Q_INIT_RESOURCE(help);
}

namespace plimb {

namespace {

struct TopicPage {
    const char* caption;
    const char* file;
};

constexpr std::array<TopicPage, Thelp::kTopicCount> kTopics = {{
    {"Overview", "overview.html"},
    {"Connecting", "connecting.html"},
    {"Game Play", "gameplay.html"},
    {"Scoring", "scoring.html"},
    {"Documentation", "history.html"},
    {"License", "license.html"},
}};

QString readResource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

// A licence file as paragraphs that wrap at the window's edge: the files are cut into lines at
// about 80 characters, which in a narrower window would break every line a second time.
QString licenceHtml(const QString& text) {
    QString html;
    for (const TextParagraph& paragraph : reflowHardWrapped(text.toStdString())) {
        html += QStringLiteral("<p>");
        for (std::size_t i = 0; i < paragraph.size(); ++i) {
            const QString line = QString::fromStdString(paragraph[i]);
            qsizetype indent = 0;
            while (indent < line.size() && line[indent] == QLatin1Char(' '))
                ++indent;
            if (i > 0) html += QStringLiteral("<br>");
            html += QStringLiteral("&nbsp;").repeated(indent) + line.mid(indent).toHtmlEscaped();
        }
        html += QStringLiteral("</p>");
    }
    return html;
}

// A page with every <!--include:NAME--> replaced by the resource :/help/NAME, so licence texts
// are shown from their own files rather than copies. A page opens with its title; where that is
// the topic's caption, which the window already shows above the page, it is left out.
QString pageHtml(const char* file, const QString& caption) {
    QString html = readResource(QStringLiteral(":/help/") + QLatin1String(file));
    static const QRegularExpression title(QStringLiteral("^\\s*<h2>([^<]*)</h2>"));
    if (const QRegularExpressionMatch m = title.match(html);
        m.hasMatch() && m.captured(1).trimmed() == caption)
        html.remove(0, m.capturedEnd());
    static const QRegularExpression include(QStringLiteral("<!--include:([A-Za-z0-9._-]+)-->"));
    QString out;
    qsizetype from = 0;
    for (auto it = include.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(html).mid(from, m.capturedStart() - from);
        out += licenceHtml(readResource(QStringLiteral(":/help/") + m.captured(1)));
        from = m.capturedEnd();
    }
    out += QStringView(html).mid(from);
    return out;
}

} // namespace

Thelp::Thelp(Tabout* about, QWidget* parent) : QWidget(parent, Qt::Window), about_(about) {
    initHelpResources();
    setObjectName(QStringLiteral("Thelp"));
    setWindowTitle(QStringLiteral("Plimb -  Help File"));
    resize(640, 480);

    auto* root = new QHBoxLayout(this);

    auto* panel_side = new QFrame(this);
    panel_side->setObjectName(QStringLiteral("panel_side"));
    panel_side->setFrameShape(QFrame::StyledPanel);
    auto* side = new QVBoxLayout(panel_side);
    for (int tag = 1; tag <= kTopicCount; ++tag) {
        auto* button = new QPushButton(
            QString::fromLatin1(kTopics[static_cast<std::size_t>(tag - 1)].caption), panel_side);
        button->setObjectName(QStringLiteral("SelButton%1").arg(tag));
        button->setFlat(true);
        connect(button, &QPushButton::clicked, this, [this, tag] { selectTopic(tag); });
        side->addWidget(button);
        topicButtons_[static_cast<std::size_t>(tag - 1)] = button;
    }
    button_about = new QPushButton(QStringLiteral("About"), panel_side);
    button_about->setObjectName(QStringLiteral("button_about"));
    button_about->setFlat(true);
    connect(button_about, &QPushButton::clicked, this, &Thelp::button_aboutClick);
    side->addWidget(button_about);
    side->addStretch(1);
    auto* credit = new QLabel(QStringLiteral("Plimb\nby The Plimb developers"), panel_side);
    credit->setAlignment(Qt::AlignHCenter);
    side->addWidget(credit);
    side->addStretch(1);
    button_done = new QPushButton(QStringLiteral("Done"), panel_side);
    button_done->setObjectName(QStringLiteral("button_done"));
    connect(button_done, &QPushButton::clicked, this, &QWidget::hide);
    side->addWidget(button_done);
    root->addWidget(panel_side);

    auto* panel_main = new QWidget(this);
    panel_main->setObjectName(QStringLiteral("panel_main"));
    auto* main = new QVBoxLayout(panel_main);
    main->setContentsMargins(0, 0, 0, 0);
    label_caption = new QLabel(panel_main);
    label_caption->setObjectName(QStringLiteral("label_caption"));
    QFont captionFont = label_caption->font();
    captionFont.setBold(true);
    captionFont.setPointSizeF(captionFont.pointSizeF() * 1.5);
    label_caption->setFont(captionFont);
    main->addWidget(label_caption);
    pages_ = new QStackedWidget(panel_main);
    for (int tag = 1; tag <= kTopicCount; ++tag) {
        auto* memo = new QTextBrowser(pages_);
        memo->setObjectName(QStringLiteral("memo%1").arg(tag));
        memo->setOpenExternalLinks(true);
        const TopicPage& topic = kTopics[static_cast<std::size_t>(tag - 1)];
        memo->setHtml(pageHtml(topic.file, QString::fromLatin1(topic.caption)));
        memo->setAccessibleName(QString::fromLatin1(topic.caption));
        pages_->addWidget(memo);
        memo_[static_cast<std::size_t>(tag - 1)] = memo;
    }
    main->addWidget(pages_, 1);
    root->addWidget(panel_main, 1);

    selectTopic(Overview);
}

void Thelp::selectTopic(int tag) {
    if (tag < 1 || tag > kTopicCount) return;
    pages_->setCurrentIndex(tag - 1);
    label_caption->setText(topicButtons_[static_cast<std::size_t>(tag - 1)]->text());
}

int Thelp::currentTopic() const {
    return pages_->currentIndex() + 1;
}

void Thelp::showOver(QWidget* mainWindow) {
    mainWindow_ = mainWindow;
    showWindowOver(*this, mainWindow);
}

void Thelp::showTopic(QWidget* mainWindow, int tag) {
    selectTopic(tag);
    showOver(mainWindow);
}

void Thelp::button_aboutClick() {
    about_->showOver(mainWindow_ != nullptr ? mainWindow_ : this);
}

} // namespace plimb
