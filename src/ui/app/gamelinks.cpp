#include "ui/app/gamelinks.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

#include "ui/chat/chatwidget.h"

namespace plimb {

GameLinks::GameLinks(QWidget& window, Hooks hooks) : window_(window), hooks_(std::move(hooks)) {}

bool GameLinks::askBeforeOpening(const QString& link) {
    const std::string text = link.toStdString();
    if (!isInvitationLink(text)) return askToOpenLink(&window_, link);
    const JoinStep step = joinStepFor(text, LinkOrigin::Chat, hooks_.gameInProgress());
    if (step.kind == JoinStep::Kind::Refuse) {
        hooks_.tell(step.text);
        return false;
    }
    return QMessageBox::question(&window_, QStringLiteral("Plimb"), questionText(step.text),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void GameLinks::handOver(const QString& link) {
    if (stopped_) return;
    QWidget* modal = QApplication::activeModalWidget();
    auto* dialog = qobject_cast<QDialog*>(modal);
    if (!dialog || dialog == question_) {
        act(link.toStdString());
        return;
    }
    const bool listening = waiting_.has_value();
    waiting_ = link.toStdString();
    if (listening) return;
    // Queued, so the dialog has left the screen and whatever it answered has been done.
    connect(dialog, &QDialog::finished, this, &GameLinks::takeWaiting, Qt::QueuedConnection);
    connect(dialog, &QObject::destroyed, this, &GameLinks::takeWaiting, Qt::QueuedConnection);
}

void GameLinks::takeWaiting() {
    if (!waiting_) return;
    const QString link = QString::fromStdString(*std::exchange(waiting_, std::nullopt));
    handOver(link);
}

void GameLinks::act(const std::string& link) {
    const JoinStep step = joinStepFor(link, LinkOrigin::HandedOver, hooks_.gameInProgress());
    switch (step.kind) {
    case JoinStep::Kind::Refuse:
        hooks_.tell(step.text);
        return;
    case JoinStep::Kind::JoinNow:
        if (question_) question_->close();
        hooks_.join(QString::fromStdString(invitationLink(step.address.host, step.address.port)));
        return;
    case JoinStep::Kind::Ask:
        break;
    }
    asked_ = step.address;
    if (!question_) {
        auto* box = new QMessageBox(QMessageBox::Question, QStringLiteral("Plimb"), {},
                                    QMessageBox::Yes | QMessageBox::No, &window_);
        box->setDefaultButton(QMessageBox::No);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setModal(true);
        // The answer is read without a loop of its own, so the link's hand-over returns at once.
        connect(box, &QDialog::finished, this, [this, box] {
            if (box->standardButton(box->clickedButton()) == QMessageBox::Yes && !stopped_)
                hooks_.join(QString::fromStdString(invitationLink(asked_.host, asked_.port)));
        });
        question_ = box;
    }
    question_->setText(questionText(step.text));
    question_->show();
}

void GameLinks::stop() {
    stopped_ = true;
    waiting_.reset();
}

} // namespace plimb
