#include "ui/windows/ticklist.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QSignalBlocker>
#include <QWindow>
#include <mutex>

namespace plimb {

namespace {

class TickItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TickItemAccessible(TickList* list, const QPersistentModelIndex& index) : list_(list), index_(index) {}

    bool isValid() const override { return list_ && index_.isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return list_ ? list_->window()->windowHandle() : nullptr; }
    QVector<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation) const override {
        return {};
    }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(list_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return (t == QAccessible::Name && item()) ? item()->text() : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect r = list_->visualItemRect(item());
        return QRect(list_->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.selectable = true;
        s.focusable = true;
        s.checkable = true;
        s.checked = item()->checkState() == Qt::Checked;
        s.selected = item()->isSelected();
        s.focused = list_->hasFocus() && list_->currentItem() == item();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {toggleAction(), setFocusAction()}; }
    QStringList keyBindingsForAction(const QString& action) const override {
        return action == toggleAction() ? QStringList{QStringLiteral("Space")} : QStringList{};
    }
    void doAction(const QString& action) override {
        if (!isValid()) return;
        if (action == toggleAction()) {
            item()->setCheckState(item()->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        } else if (action == setFocusAction()) {
            list_->setCurrentItem(item());
            list_->setFocus(Qt::OtherFocusReason);
        }
    }

    int row() const { return index_.row(); }

private:
    QListWidgetItem* item() const { return isValid() ? list_->item(index_.row()) : nullptr; }

    QPointer<TickList> list_;
    QPersistentModelIndex index_;
};

class TickListAccessible : public QAccessibleWidget {
public:
    explicit TickListAccessible(TickList* list) : QAccessibleWidget(list, QAccessible::List) {}
    ~TickListAccessible() override {
        for (QAccessible::Id id : ids_)
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return list()->count(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= list()->count()) return nullptr;
        // Items that were removed leave interfaces behind; drop them as they are met.
        for (auto it = ids_.begin(); it != ids_.end();) {
            auto* cached = static_cast<TickItemAccessible*>(QAccessible::accessibleInterface(*it));
            if (cached == nullptr || !cached->isValid()) {
                if (cached != nullptr) QAccessible::deleteAccessibleInterface(*it);
                it = ids_.erase(it);
                continue;
            }
            if (cached->row() == index) return cached;
            ++it;
        }
        auto* made = new TickItemAccessible(list(), QPersistentModelIndex(list()->model()->index(index, 0)));
        ids_.push_back(QAccessible::registerAccessibleInterface(made));
        return made;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (QAccessible::Id id : ids_)
            if (QAccessible::accessibleInterface(id) == child)
                return static_cast<const TickItemAccessible*>(child)->row();
        return -1;
    }
    QAccessibleInterface* focusChild() const override {
        return list()->hasFocus() ? child(list()->currentRow()) : nullptr;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = list()->viewport()->mapFromGlobal(QPoint(x, y));
        QListWidgetItem* item = list()->itemAt(local);
        return item ? child(list()->row(item)) : nullptr;
    }

private:
    TickList* list() const { return static_cast<TickList*>(widget()); }
    mutable QList<QAccessible::Id> ids_;
};

QAccessibleInterface* tickListFactory(const QString&, QObject* object) {
    if (auto* list = qobject_cast<TickList*>(object)) return new TickListAccessible(list);
    return nullptr;
}

} // namespace

TickList::TickList(QWidget* parent) : QListWidget(parent) {
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(tickListFactory); });
    connect(this, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (!QAccessible::isActive()) return;
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        event.setChild(row(item));
        QAccessible::updateAccessibility(&event);
    });
}

QListWidgetItem* TickList::addTickItem(const QString& text, bool ticked) {
    const QSignalBlocker quiet(this);
    auto* item = new QListWidgetItem(text, this);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    return item;
}

void TickList::setTickQuietly(QListWidgetItem* item, bool ticked) {
    const QSignalBlocker quiet(this);
    item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void TickList::clearQuietly() {
    const QSignalBlocker quiet(this);
    clear();
}

} // namespace plimb
