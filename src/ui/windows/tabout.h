#pragma once
// Tabout: the about window. Its version label carries the version text the client sends at login;
// the ".1" beside it is shown only. The maker's web address is configuration: none by default, and
// then its label is hidden and opening it does nothing.
#include <QString>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class QToolButton;

namespace plimb {

class Tabout : public QWidget {
    Q_OBJECT
public:
    // Opens an address with the system's default handler. Tests record it instead.
    using UrlOpener = std::function<void(const QString& url)>;

    explicit Tabout(QWidget* parent = nullptr);

    // The address without its scheme, e.g. "www.example.org"; empty hides the label.
    void setWebAddress(const QString& address);
    QString webAddress() const { return url1_; }
    void setUrlOpener(UrlOpener open) { open_ = std::move(open); }

    // Label7Click, and the main window's logo: "http://" + the address, when there is one.
    void openWebAddress() const;

    // Centred on the main window when it opens; a request while it is open only brings it forward.
    void showOver(QWidget* mainWindow);

private:
    QString url1_;
    UrlOpener open_;

    QToolButton* Image1 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* version = nullptr;
    QLabel* Label9 = nullptr;
    QPushButton* button_done = nullptr;
};

} // namespace plimb
