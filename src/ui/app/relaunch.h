#pragma once
// Starts this program anew with another command line once the current copy is gone (the File
// menu's Host and Join). The new copy needs what this one still holds: the game port 7772 and
// the single-instance guard. So the start waits for the destructor: declared in main() before
// the guard and the server, a Relauncher is destroyed after them, when both are released.
#include <QString>
#include <QStringList>

namespace plimb {

class Relauncher {
public:
    // `program` is the executable to start; by default this program's own file.
    explicit Relauncher(QString program = {});
    ~Relauncher();
    Relauncher(const Relauncher&) = delete;
    Relauncher& operator=(const Relauncher&) = delete;

    // Asks for a start with `args` (without the program's name) when this object goes; a later
    // request replaces an earlier one. Refused, and false returned, when a parameter would be read
    // as an option (readAsOption): the new copy would not get it as a position, and could abort.
    bool request(const QStringList& args);
    bool requested() const { return requested_; }

private:
    QString program_;
    QStringList args_;
    bool requested_ = false;
};

} // namespace plimb
