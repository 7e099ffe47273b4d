#include "ui/chat/soundplayer.h"

#include "ui/chat/desktopalert.h"

#include <QApplication>
#include <QDir>
#include <QSoundEffect>

// The sounds are linked from a static library, where nothing else would pull them in.
static void initSoundResources() {
    Q_INIT_RESOURCE(sounds);
}

namespace plimb {

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {
    initSoundResources();
    // Only the list of names is read here; the files are decoded when first played.
    const QDir dir(QStringLiteral(":/sounds"));
    for (const QString& entry : dir.entryList(QDir::Files))
        files_.insert(entry.toLower(), QUrl(QStringLiteral("qrc:/sounds/") + entry));
}

SoundPlayer::~SoundPlayer() = default;

QUrl SoundPlayer::resourceFor(const QString& name) const {
    return files_.value(name.toLower());
}

void SoundPlayer::setOutputForTesting(std::function<void(const QUrl&)> play, std::function<void()> beep) {
    testPlay_ = std::move(play);
    testBeep_ = std::move(beep);
}

QSoundEffect* SoundPlayer::effectFor(const QUrl& url) {
    // One effect per sound, kept once loaded: a sound asked for again starts at once.
    QSoundEffect*& effect = effects_[url];
    if (effect == nullptr) {
        effect = new QSoundEffect(this);
        effect->setSource(url);
    }
    return effect;
}

void SoundPlayer::play(const QString& name) {
    const QUrl url = resourceFor(name);
    if (url.isEmpty()) {
        if (testBeep_)
            testBeep_();
        else if (!playDesktopAlert())
            QApplication::beep();
        return;
    }
    if (testPlay_) {
        testPlay_(url);
        return;
    }
    if (playing_ != nullptr) playing_->stop();
    playing_ = effectFor(url);
    playing_->play();
}

} // namespace plimb
