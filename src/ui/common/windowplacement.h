#pragma once
class QWidget;

namespace plimb {

// Opens a side window over the main window and hands it the keyboard: centred on `mainWindow`
// when it opens (where it last stood when there is none), shown, raised and activated. A window
// that is already open stays where the user put it and is only brought to the front.
void showWindowOver(QWidget& window, const QWidget* mainWindow);

} // namespace plimb
