#include "core/settings/regularfile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/fifo.h"

namespace plimb {
namespace {

namespace fs = std::filesystem;
using Status = RegularFileRead::Status;

TEST(ReadRegularFile, ReadsOnlyARegularFileUpToTheCapAndNeverOpensAnythingElse) {
    const fs::path dir = fs::temp_directory_path() / ("plimb-regularfile-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "full") << "16 bytes exactly";
    std::ofstream(dir / "over") << "17 bytes, one over";
    fs::create_symlink(dir / "full", dir / "link");
    fs::create_symlink(dir / "nowhere", dir / "dangling");
    fs::create_symlink(dir / "loop", dir / "loop");
    fs::create_directory(dir / "folder");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    fs::create_symlink(dir / "fifo", dir / "fifolink");
    const struct {
        const char* name;
        Status expected;
    } rows[] = {{"full", Status::Read},        {"over", Status::TooLarge},
                {"link", Status::Read},        {"missing", Status::Missing},
                {"dangling", Status::Missing}, {"full/below", Status::Missing},
                {"loop", Status::Failed},      {"folder", Status::NotRegular},
                {"fifo", Status::NotRegular},  {"fifolink", Status::NotRegular}};
    for (const auto& row : rows) {
        const std::string path = (dir / row.name).string();
        const RegularFileRead got = test::loadBesideFifo(path, [&] { return readRegularFile(path, 16); });
        EXPECT_EQ(got.status, row.expected) << row.name;
        EXPECT_EQ(got.bytes, row.expected == Status::Read ? "16 bytes exactly" : "") << row.name;
    }
    fs::remove_all(dir);
}

} // namespace
} // namespace plimb
