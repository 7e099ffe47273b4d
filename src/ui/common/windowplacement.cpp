#include "ui/common/windowplacement.h"

#include <QLayout>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace plimb {

void showWindowOver(QWidget& window, const QWidget* mainWindow) {
    if (!window.isVisible() && mainWindow != nullptr) {
        // show() lays the window out first, which fits a window never resized to its layout and
        // grows one smaller than its layout allows. Do that now, as show() would, so the window
        // is centred by the size it opens at.
        if (!window.testAttribute(Qt::WA_Resized)) {
            window.adjustSize();
            window.setAttribute(Qt::WA_Resized, false);
        }
        if (QLayout* layout = window.layout()) layout->activate();
        // move() places the frame, so the main window's frame is the one to centre on.
        QPoint at = mainWindow->frameGeometry().center() - window.rect().center();
        // A side window wider or taller than the main window stays on the screen the main
        // window is on, its top-left corner first.
        if (const QScreen* screen = mainWindow->screen()) {
            const QRect area = screen->availableGeometry();
            at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - window.width())));
            at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - window.height())));
        }
        window.move(at);
    }
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace plimb
