#include "support/qtapp.h"
#include "ui/windows/ttallylist.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/tally/lzrw1kh.h"
#include "support/fifo.h"

namespace plimb {
namespace {

class TtallylistTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { plimb::test::ensureApplication(); }
    void SetUp() override {
        window.setQuestion([this](const QString& text) {
            questions << text;
            return answer;
        });
        window.show();
    }
    template <typename T> T* child(const char* name) {
        return window.findChild<T*>(QString::fromLatin1(name));
    }
    QString text(const char* label) { return child<QLabel>(label)->text(); }
    QListWidget* followed() { return child<QListWidget>("listbox_tally"); }
    QListWidget* current() { return child<QListWidget>("checklist"); }
    // Ticks or unticks an item from the keyboard, as a user without a mouse does.
    void pressSpaceOn(QListWidget* list, int row) {
        list->setFocus();
        list->setCurrentRow(row);
        QTest::keyClick(list, Qt::Key_Space);
        QCoreApplication::processEvents(); // the question comes once the key press is over
    }

    Ttallylist window;
    QStringList questions;
    bool answer = false;
};

TEST_F(TtallylistTest, TickingAnOpponentFollowsThemAndTheGameCountsForThem) {
    EXPECT_EQ(window.windowTitle(), "Plimb - Tally List");
    EXPECT_EQ(followed()->accessibleName(), "Players Being Tallied");
    window.loadchecklist({"Ann"});
    ASSERT_EQ(current()->count(), 1);
    EXPECT_EQ(current()->item(0)->checkState(), Qt::Unchecked);
    pressSpaceOn(current(), 0);
    ASSERT_EQ(followed()->count(), 1);
    EXPECT_EQ(followed()->item(0)->text(), "Ann");
    EXPECT_EQ(followed()->item(0)->checkState(), Qt::Checked);

    pressSpaceOn(current(), 0);
    EXPECT_EQ(followed()->count(), 1) << "unticking the current opponent does not stop following";

    window.addgame("addtomine", {"ann"});
    EXPECT_EQ(current()->item(0)->checkState(), Qt::Checked) << "followed names are ticked in any case";
    followed()->setCurrentRow(0);
    EXPECT_EQ(text("mylabel_1"), "1");
    EXPECT_EQ(text("mylabel_2"), "1");
    EXPECT_EQ(text("label_hisnametop"), "Ann's Tally");
    EXPECT_EQ(text("label_1"), "1");
    EXPECT_EQ(text("label_3"), "1");
    EXPECT_EQ(text("label_7"), "1");
}

TEST_F(TtallylistTest, UntickingAFollowedNameAsksAndNoKeepsIt) {
    window.loadchecklist({"Ann"});
    pressSpaceOn(current(), 0);
    answer = false;
    pressSpaceOn(followed(), 0);
    ASSERT_EQ(questions, QStringList{"This will delete Ann's Tally, Are you want to delete it?"});
    ASSERT_EQ(followed()->count(), 1);
    EXPECT_EQ(followed()->item(0)->checkState(), Qt::Checked) << "ticked again";

    answer = true;
    pressSpaceOn(followed(), 0);
    EXPECT_EQ(followed()->count(), 0);
    EXPECT_EQ(window.tally().grid().rowCount(), 1);
}

TEST_F(TtallylistTest, TheAccessibleToggleOfAnItemTicksIt) {
    window.loadchecklist({"Ann"});
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(current());
    ASSERT_NE(list, nullptr);
    QAccessibleInterface* item = nullptr;
    for (int i = 0; i < list->childCount() && !item; ++i)
        if (list->child(i)->text(QAccessible::Name) == "Ann") item = list->child(i);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->state().checkable);
    EXPECT_FALSE(item->state().checked);
    ASSERT_NE(item->actionInterface(), nullptr);
    ASSERT_TRUE(item->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    item->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(item->state().checked);
    EXPECT_EQ(followed()->count(), 1);
}

TEST_F(TtallylistTest, ResetAsksAndYesEmptiesTheTally) {
    window.loadchecklist({"Ann"});
    pressSpaceOn(current(), 0);
    window.addword("zebra", 5, 3);
    answer = false;
    QTest::mouseClick(child<QPushButton>("FlatButton2"), Qt::LeftButton);
    EXPECT_EQ(questions.last(), "Are you sure you want to reset the Tally?");
    EXPECT_EQ(text("mylabel_3"), "zebra (5)") << "No changes nothing";
    answer = true;
    QTest::mouseClick(child<QPushButton>("FlatButton2"), Qt::LeftButton);
    EXPECT_EQ(followed()->count(), 0);
    EXPECT_EQ(text("mylabel_3"), "None");
    EXPECT_EQ(window.longestWordRecord(), 0);
}

TEST_F(TtallylistTest, FileIsWrittenAfterEachGameAndADamagedOneGivesOneErrorAndAnEmptyTally) {
    QTemporaryDir dir;
    const QString path = dir.filePath("plimbtally.tld");
    EXPECT_FALSE(window.load(path).has_value()) << "no file yet: no error";
    window.loadchecklist({"Ann"});
    pressSpaceOn(current(), 0);
    window.addgame("Ann", {"Ann"});
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"plimbtally.tld"}) << "no temporary left";

    Ttallylist next;
    EXPECT_FALSE(next.load(path).has_value());
    next.show();
    EXPECT_EQ(next.findChild<QListWidget*>("listbox_tally")->count(), 1);
    EXPECT_EQ(next.findChild<QLabel*>("mylabel_1")->text(), "1");

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(file.size() - 1);
    file.close();
    Ttallylist damaged;
    EXPECT_EQ(damaged.load(path), QString::fromLatin1(kLzrwSizeError));
    EXPECT_EQ(damaged.tally().grid().rowCount(), 1);
    EXPECT_TRUE(damaged.save(path));
    Ttallylist again;
    EXPECT_FALSE(again.load(path).has_value()) << "the damaged file is replaced whole";
}

TEST_F(TtallylistTest, AnUnreadableFileIsMovedAsideByTheFirstWriteOnlyAndAFifoCannotBlock) {
    QTemporaryDir dir;
    const QString path = dir.filePath("plimbtally.tld");
    const QString aside = path + ".damaged";
    const auto write = [](const QString& name, const QByteArray& bytes) {
        QFile file(name);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    ASSERT_TRUE(write(aside, "from an earlier run"));
    // Off the window's thread: a load refused before reading touches no widget.
    const auto error = test::loadBesideFifo(path.toStdString(), [&] { return window.load(path); });
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->contains("not a regular file")) << error->toStdString();
    window.loadchecklist({"Ann"});
    pressSpaceOn(current(), 0);
    window.addgame("Ann", {"Ann"});
    window.addgame("Ann", {"Ann"}); // the tally the first game wrote is not moved aside in its turn
    struct stat info {};
    EXPECT_TRUE(::lstat(QFile::encodeName(aside).constData(), &info) == 0 && S_ISFIFO(info.st_mode));
    Ttallylist next;
    EXPECT_FALSE(next.load(path).has_value());
    EXPECT_EQ(next.tally().grid().cell(1, 0), "2");

    // A damaged file that cannot be moved aside is not written over either.
    ASSERT_TRUE(write(path, "WRZL cut short") && QFile::remove(aside) && QDir().mkpath(aside + "/full"));
    Ttallylist blocked;
    EXPECT_TRUE(blocked.load(path).has_value());
    EXPECT_FALSE(blocked.save(path));
    QFile kept(path);
    EXPECT_TRUE(kept.open(QIODevice::ReadOnly) && kept.readAll() == "WRZL cut short");
}

} // namespace
} // namespace plimb
