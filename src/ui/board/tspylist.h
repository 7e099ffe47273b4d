#pragma once
// Tspylist: the spectators at the table ("spies"), one entry per seat of 3 or more, like "3: Ann".
// The host may remove one from the game through the list's popup menu.
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QListWidget;

namespace plimb {

class Tspylist : public QWidget {
    Q_OBJECT
public:
    explicit Tspylist(QWidget* parent = nullptr);

    // Shows the entries as they stand; `canKick` enables "Remove From Game" (the host only).
    void render(const std::vector<std::string>& entries, bool canKick);
    void showOver(QWidget* mainWindow);

signals:
    // "Remove From Game" on an entry, with the entry's text.
    void kickRequested(const std::string& entry);

private:
    QListWidget* listbox_spys = nullptr;
    QAction* popup_kickhim = nullptr;
    std::vector<std::string> shown_;
};

} // namespace plimb
