#include "ui/board/tspylist.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/common/windowplacement.h"

namespace plimb {

Tspylist::Tspylist(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Tspylist"));
    setWindowTitle(QStringLiteral("Plimb -Spys"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Spy List"), this));
    listbox_spys = new QListWidget(this);
    listbox_spys->setObjectName(QStringLiteral("listbox_spys"));
    listbox_spys->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(listbox_spys);
    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("button_done"));
    layout->addWidget(done, 0, Qt::AlignRight);
    connect(done, &QPushButton::clicked, this, &QWidget::hide);

    popup_kickhim = new QAction(QStringLiteral("Remove From Game"), this);
    popup_kickhim->setEnabled(false);
    connect(listbox_spys, &QListWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        // The entry under the pointer, not the selected one, is the one removed.
        QListWidgetItem* item = listbox_spys->itemAt(pos);
        QMenu popup(this);
        popup.addAction(popup_kickhim);
        if (popup.exec(listbox_spys->viewport()->mapToGlobal(pos)) == popup_kickhim && item)
            emit kickRequested(item->text().toStdString());
    });
    resize(220, 260);
}

void Tspylist::render(const std::vector<std::string>& entries, bool canKick) {
    popup_kickhim->setEnabled(canKick);
    // Called after every notice: the list is rebuilt only when its entries changed.
    if (entries == shown_) return;
    shown_ = entries;
    listbox_spys->clear();
    for (const auto& e : entries)
        listbox_spys->addItem(QString::fromStdString(e));
}

void Tspylist::showOver(QWidget* mainWindow) {
    showWindowOver(*this, mainWindow);
}

} // namespace plimb
