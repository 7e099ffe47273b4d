#include "ui/board/boardaccess.h"
#include "ui/common/qtext.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QTimer>

#include "ui/board/boardparts.h"
#include "ui/board/slotwidget.h"

namespace plimb {
namespace {

// The second accessibility action of a slot: what its right click does, where it does something.
QString secondAction(SlotFamily family) {
    switch (family) {
    case SlotFamily::MyLetter:
        return QStringLiteral("Remove");
    case SlotFamily::Extra:
        return QStringLiteral("Throw away");
    case SlotFamily::HisLetter:
        break;
    }
    return {};
}

// A slot's actions are the slot's own clicks, so they make the same move as the mouse.
class SlotAccessible : public QAccessibleWidget {
public:
    explicit SlotAccessible(SlotWidget* slot) : QAccessibleWidget(slot, QAccessible::Button) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        // Only one slot is a tab stop at a time, but the arrows and the focus action reach them all.
        s.focusable = true;
        return s;
    }
    QStringList actionNames() const override {
        QStringList names{pressAction()};
        if (const QString second = secondAction(slot()->family()); !second.isEmpty()) names << second;
        names << setFocusAction();
        return names;
    }
    void doAction(const QString& name) override {
        if (name == pressAction())
            slot()->act(MouseButton::Left);
        else if (name == setFocusAction())
            slot()->setFocus(Qt::OtherFocusReason);
        else if (!name.isEmpty() && name == secondAction(slot()->family()))
            slot()->act(MouseButton::Right);
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (name == pressAction()) return {QStringLiteral("Return"), QStringLiteral("Space")};
        if (!name.isEmpty() && name == secondAction(slot()->family())) return {QStringLiteral("Delete")};
        return {};
    }
    QString localizedActionDescription(const QString& name) const override {
        if (name == pressAction()) return QStringLiteral("Click this tile");
        if (name == QLatin1String("Remove"))
            return QStringLiteral("Right click: remove this letter from your board");
        if (name == QLatin1String("Throw away")) return QStringLiteral("Right click: throw this letter away");
        return QAccessibleWidget::localizedActionDescription(name);
    }

private:
    SlotWidget* slot() const { return static_cast<SlotWidget*>(widget()); }
};

QAccessibleInterface* boardAccessibleFactory(const QString& key, QObject* object) {
    if (object == nullptr || !object->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (key == QLatin1String("plimb::SlotWidget"))
        return new SlotAccessible(static_cast<SlotWidget*>(widget));
    if (key == QLatin1String("plimb::PictureWidget"))
        return new QAccessibleWidget(widget, QAccessible::Graphic);
    if (key == QLatin1String("plimb::Announcer"))
        return new QAccessibleWidget(widget, QAccessible::Notification);
    return nullptr;
}

} // namespace

void installBoardAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(boardAccessibleFactory);
        return true;
    }();
    (void)installed;
}

// ---------------------------------------------------------------------------------------------
Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("announcer"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 1, 1);
    quiet_ = new QTimer(this);
    quiet_->setSingleShot(true);
    quiet_->setInterval(kQuietMs);
    connect(quiet_, &QTimer::timeout, this, &Announcer::sayPending);
}

void Announcer::announce(const QString& text) {
    setAccessibleName(text);
    // Screen readers present a notification as it appears, so each text appears anew.
    hide();
    show();
}

void Announcer::shown(const ViewState& view) {
    if (news_.shown(view)) quiet_->start();
}

void Announcer::played(const Feedback& feedback) {
    news_.note(feedback);
    if (news_.pending()) quiet_->start();
}

void Announcer::sayPending() {
    if (news_.pending()) announce(toQString(news_.take()));
}

} // namespace plimb
