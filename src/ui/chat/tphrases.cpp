#include "ui/chat/tphrases.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/common/windowplacement.h"

namespace plimb {

Tphrases::Tphrases(QWidget* parent)
    : QWidget(parent, Qt::Window), done_(new QPushButton(QStringLiteral("Done"), this)) {
    setWindowTitle(QStringLiteral("Plimb - Phrase Buttons"));
    auto* form = new QFormLayout;
    for (int n = 1; n <= 9; ++n) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("phrase%1").arg(n));
        edit->setMaxLength(kMaxPhraseLength);
        edit->setMinimumWidth(260);
        auto* label = new QLabel(QStringLiteral("Phrase Button %1:").arg(n), this);
        label->setBuddy(edit);
        edit->setAccessibleName(QStringLiteral("Phrase Button %1").arg(n));
        form->addRow(label, edit);
        edits_[static_cast<std::size_t>(n - 1)] = edit;
    }
    done_->setObjectName(QStringLiteral("SelButton8"));
    done_->setDefault(true);
    done_->setAutoDefault(true);
    connect(done_, &QPushButton::clicked, this, [this] {
        std::array<QString, 9> texts;
        for (std::size_t i = 0; i < texts.size(); ++i)
            texts[i] = edits_[i]->text();
        emit phrasesChosen(texts);
        close();
    });
    // Enter in any box is "Done", as in a dialog.
    for (QLineEdit* e : edits_)
        connect(e, &QLineEdit::returnPressed, done_, &QPushButton::click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(done_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

void Tphrases::openWith(const std::array<QString, 9>& phrases, QWidget* mainWindow) {
    for (std::size_t i = 0; i < phrases.size(); ++i)
        edits_[i]->setText(phrases[i]);
    adjustSize();
    showWindowOver(*this, mainWindow);
    edits_[0]->setFocus();
}

} // namespace plimb
