#pragma once
// Plays the program's own sounds (the wave files built in under ":/sounds", one per upper-case
// name) without blocking: a new sound cuts off the one still playing, and a name without a file
// gives the desktop's alert instead (the sound theme's bell, else the toolkit's beep). Nothing touches the audio system until the first sound, so
// a window that never plays one never opens an audio output; without an audio device playback
// fails silently.
#include <QHash>
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>

class QSoundEffect;

namespace plimb {

class SoundPlayer : public QObject {
public:
    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;

    // `name` is matched without regard to letter case ("badword" plays BADWORD).
    void play(const QString& name);

    // The sound file of a name, or an empty URL when the program has none.
    QUrl resourceFor(const QString& name) const;

    // Tests watch what would be heard instead of opening an audio output.
    void setOutputForTesting(std::function<void(const QUrl&)> play, std::function<void()> beep);

private:
    QSoundEffect* effectFor(const QUrl& url);

    QHash<QString, QUrl> files_; // lower-case name -> resource
    QHash<QUrl, QSoundEffect*> effects_;
    QSoundEffect* playing_ = nullptr;
    std::function<void(const QUrl&)> testPlay_;
    std::function<void()> testBeep_;
};

} // namespace plimb
