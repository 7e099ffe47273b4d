#pragma once
// The strip over the board that tells a joined player its connection to the host is gone, with
// "Rejoin" and "Quit". It only shows what it is given; the window decides when and what.
#include <QFrame>

class QLabel;
class QPushButton;

namespace plimb {

class ConnectionBanner : public QFrame {
    Q_OBJECT
public:
    explicit ConnectionBanner(QWidget* parent = nullptr);

    // `rejoinShown` false leaves only "Quit" (a removed player is not offered to rejoin).
    void present(const QString& headline, const QString& detail, bool rejoinShown, bool rejoinEnabled);

signals:
    void rejoinClicked();
    void quitClicked();

private:
    QLabel* label_headline;
    QLabel* label_detail;
    QPushButton* button_rejoin;
    QPushButton* button_quit;
};

} // namespace plimb
