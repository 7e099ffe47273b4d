#pragma once
// The strip over the top of the board that tells a joining player its connection to the host is
// gone or could not be made, with a button to try again ("Rejoin", "Try Again") and "Quit". It
// only shows what it is given; the window decides when and what.
//
// It lies over its parent's top edge, as wide as the parent, and is no part of the parent's
// layout: showing and hiding it never changes the size of the window.
#include <QFrame>

class QLabel;
class QPushButton;

namespace plimb {

class ConnectionBanner : public QFrame {
    Q_OBJECT
public:
    explicit ConnectionBanner(QWidget* parent);

    // An empty `actionText` leaves only "Quit" (a removed player is not offered to rejoin).
    void present(const QString& headline, const QString& detail, const QString& actionText,
                 bool actionEnabled);

signals:
    void rejoinClicked();
    void quitClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();

    QLabel* label_headline;
    QLabel* label_detail;
    QPushButton* button_rejoin;
    QPushButton* button_quit;
};

} // namespace plimb
