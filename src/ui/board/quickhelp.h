#pragma once
// panel_help: the quick instructions, laid over the board on request (Ctrl+I) until "Done".
// The game goes on underneath.
#include <QWidget>

namespace plimb {

class TileArt;

class QuickHelp : public QWidget {
    Q_OBJECT
public:
    QuickHelp(const TileArt& art, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace plimb
