#include "ui/common/windowplacement.h"

#include <QLayout>
#include <QWidget>

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
        window.move(mainWindow->frameGeometry().center() - window.rect().center());
    }
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace plimb
