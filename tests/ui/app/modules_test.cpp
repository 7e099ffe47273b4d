// A module that is missing, broken or of another version: each feature that needs it says so
// where its outcome is shown, and nothing else is harmed.
#include "support/qtapp.h"
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ui/chat/desktopalert.h"
#include "ui/lan/lanannouncer.h"
#include "ui/lan/lanbrowser.h"
#include "ui/router/portmapper.h"

namespace plimb {
namespace {

// What each feature shows, a line each.
QStringList outcomes() {
    QStringList out;
    {
        const LanBrowser browser;
        out << browser.unavailableReason() + (browser.available() ? "; listing" : "; not listing");
    }
    LanAnnouncer announcer;
    announcer.announce(QStringLiteral("Ann"), {});
    out << (announcer.available() ? "announcing" : "not announcing");
    PortMapper mapper;
    QSignalSpy failed(&mapper, &PortMapper::failed), unknown(&mapper, &PortMapper::externalAddressUnknown);
    mapper.start();
    mapper.probeExternalAddress();
    // The probe is answered after the mapping.
    if (unknown.isEmpty()) {
        EXPECT_TRUE(unknown.wait(static_cast<int>(test::kPatience.count())));
    }
    out << (failed.isEmpty() ? "mapped" : failed.at(0).at(0).toString());
    out << (unknown.isEmpty() ? "address found" : unknown.at(0).at(0).toString());
    out << (playDesktopAlert() ? "alert played" : "alert not played");
    return out;
}

TEST(Modules, OneThatCannotBeHadIsNamedWhereTheFeatureSaysWhatCameOfIt) {
    test::ensureApplication();
    QTemporaryDir missing, broken, foreign;
    // A real module where another is expected loads, but lacks the entry asked for.
    const std::pair<const char*, const char*> impostors[] = {{"plimb_lan.so", "plimb_router.so"},
                                                             {"plimb_router.so", "plimb_lan.so"},
                                                             {"plimb_alert.so", "plimb_lan.so"}};
    for (const auto& [name, impostor] : impostors) {
        QFile garbage(broken.filePath(name));
        ASSERT_TRUE(garbage.open(QIODevice::WriteOnly) && garbage.write("not a library") > 0);
        ASSERT_TRUE(QFile::copy(QStringLiteral(PLIMB_BINARY_DIR "/") + impostor, foreign.filePath(name)));
    }
    const struct {
        QString folder,
            why; // %1: the module's file name; a why ending in ": " is followed by the loader's words
    } rows[] = {
        {missing.path(), "%1 is missing"},
        {broken.path(), "%1 cannot be loaded: "},
        // Last: a module that loads stays loaded for the rest of the run.
        {foreign.path(), "%1 does not fit this version of Plimb"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why.toStdString());
        qputenv("PLIMB_MODULE_DIR", row.folder.toUtf8());
        const auto unusable = [&row](const char* file) {
            return "Plimb's network module is not usable (" + row.why.arg(file) + ")";
        };
        const QStringList expected{
            unusable("plimb_lan.so") + "; not listing", "not announcing",
            "The router could not be asked to open TCP port 7772, as " + unusable("plimb_router.so"),
            "The router could not be asked for its outside address, as " + unusable("plimb_router.so"),
            "alert not played"};
        const QStringList got = outcomes();
        ASSERT_EQ(got.size(), expected.size());
        for (int i = 0; i < got.size(); ++i) {
            const QString& want = expected[i];
            const qsizetype open = want.indexOf(": )");
            const bool same =
                open < 0 ? got[i] == want
                         : got[i].startsWith(want.left(open + 2)) && got[i].endsWith(want.mid(open + 2));
            EXPECT_TRUE(same) << got[i].toStdString() << "\n  is not\n" << want.toStdString();
        }
    }
}

} // namespace
} // namespace plimb
