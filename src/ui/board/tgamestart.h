#pragma once
// The options window `Tgamestart`: the host picks the target score, the time per turn and the
// steals, then starts the game. The window only collects the values; sending the request and
// saving the settings belong to whoever listens to startRequested.
#include <QString>
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace plimb {

// The dialog's fields as texts, as the settings file keeps them; the defaults are the dialog's own.
struct GameOptionTexts {
    static constexpr int kPlayToScore = 200;
    static constexpr int kTimePerTurn = 30;
    static constexpr int kSteals = 5;
    QString playToScore = QString::number(kPlayToScore);
    QString timePerTurn = QString::number(kTimePerTurn);
    QString steals = QString::number(kSteals);
    bool unlimited = true;
};

// A read-only number field with up and down arrows. The arrows step within [minimum, maximum]
// and stop at the limits; the text itself may be set to anything (a value restored from the
// settings file stands as it was read until an arrow is used).
class UpDownField : public QWidget {
public:
    UpDownField(int minimum, int maximum, int step, int initial, QWidget* parent);

    QString text() const;
    void setText(const QString& text);
    void stepUp() { stepBy(1); }
    void stepDown() { stepBy(-1); }

    QLineEdit* edit() const { return edit_; }
    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void stepBy(int direction);

    int minimum_, maximum_, step_;
    QLineEdit* edit_;
    QToolButton* up_;
    QToolButton* down_;
};

class Tgamestart : public QWidget {
    Q_OBJECT
public:
    explicit Tgamestart(QWidget* parent = nullptr);

    QString playToScoreText() const;
    void setPlayToScoreText(const QString& text);
    QString timePerTurnText() const;
    void setTimePerTurnText(const QString& text);
    QString stealsText() const;
    void setStealsText(const QString& text);
    bool unlimited() const;
    void setUnlimited(bool on);
    GameOptionTexts options() const;
    void setOptions(const GameOptionTexts& options);

    UpDownField* playToScoreField() const { return playto_; }
    UpDownField* timePerTurnField() const { return time_; }
    UpDownField* stealsField() const { return steals_; }

    // Shows the window centred over the given window (or where it is, without one) and raises it.
    void showOver(QWidget* mainWindow);

signals:
    // The field texts exactly as they stand; with unlimited set the receiver sends 10000 steals.
    void startRequested(QString time, QString playto, QString steals, bool unlimited);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Enter anywhere in the window presses "Start Game"; Escape closes the window.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buttonStartClick();

    UpDownField* playto_;
    UpDownField* time_;
    UpDownField* steals_;
    QCheckBox* checkboxUnlimited_;
    QPushButton* buttonStart_;
};

} // namespace plimb
