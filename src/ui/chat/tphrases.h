#pragma once
// The phrase editor `Tphrases`: nine boxes of at most 50 characters, filled from the phrase
// buttons each time it opens. "Done" hands the texts back; closing the window any other way
// discards the edits.
#include <QWidget>

#include <array>

class QLineEdit;
class QPushButton;

namespace plimb {

class Tphrases : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxPhraseLength = 50;

    explicit Tphrases(QWidget* parent = nullptr);

    // PrhaseList1Click: fill the boxes and show the window centred over the main window.
    void openWith(const std::array<QString, 9>& phrases, QWidget* mainWindow);

    QLineEdit* edit(int n) const { return edits_.at(static_cast<std::size_t>(n - 1)); }
    QPushButton* doneButton() const { return done_; }

signals:
    // SelButton8Click: the nine texts as typed (empty ones included).
    void phrasesChosen(const std::array<QString, 9>& phrases);

private:
    std::array<QLineEdit*, 9> edits_{};
    QPushButton* done_;
};

} // namespace plimb
