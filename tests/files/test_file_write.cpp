#include "files/file_read.h"
#include "files/file_write.h"
#include "palette/palette_file.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace huelinx {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void put(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The names of the entries of a folder, sorted.
std::vector<std::string> entries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class FileWriteFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
        put(victim, "the user's own file\n");
    }
    void TearDown() override { fs::remove_all(dir); }
    // One folder a process: the tests of this fixture may run at once.
    const fs::path dir =
        fs::temp_directory_path() / ("huelinx-file-links-" + std::to_string(::getpid()));
    const fs::path victim = dir / "victim";
};

TEST_F(FileWriteFolder, APlantedLinkIsNeverWrittenThrough) {
    // Someone who can write in the working folder plants the temporary names
    // the program used to write to.
    const fs::path table = dir / "LastPalette.txt";
    fs::create_symlink(victim, table.string() + ".part");
    fs::create_symlink(victim, table.string() + ".tmp");
    ASSERT_TRUE(replaceFile(table.string(), "field.csv\r\n").ok);
    EXPECT_EQ(contents(victim), "the user's own file\n");
    EXPECT_EQ(contents(table), "field.csv\r\n");
    EXPECT_FALSE(fs::is_symlink(table));
    // A link where the file itself should be is neither written through nor
    // replaced by a plain file.
    const fs::path link = dir / "palette-report.csv";
    fs::create_symlink(victim, link);
    const Result w = replaceFile(link.string(), "report\n");
    EXPECT_FALSE(w.ok);
    EXPECT_NE(w.message.find("palette-report.csv\" is a symbolic link; it was left as it is"),
              std::string::npos)
        << w.message;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contents(victim), "the user's own file\n");
    EXPECT_EQ(entries(dir),
              (std::vector<std::string>{"LastPalette.txt", "LastPalette.txt.part",
                                        "LastPalette.txt.tmp", "palette-report.csv", "victim"}));
}

TEST_F(FileWriteFolder, AppendsFollowALinkToAFileButMakeNothingThroughOne) {
    // The user's palette kept elsewhere, reached through a link: appended to.
    const fs::path palette = dir / "palette.csv";
    fs::create_symlink(victim, palette);
    ASSERT_TRUE(appendToFile(palette.string(), "row\n").ok);
    EXPECT_EQ(contents(victim), "the user's own file\nrow\n");
    // A link to a file that doesn't exist would make that file anywhere.
    const fs::path planted = dir / "planted.csv";
    fs::create_symlink(dir / "made-elsewhere", planted);
    const Result w = appendToFile(planted.string(), "row\n");
    EXPECT_FALSE(w.ok);
    EXPECT_NE(w.message.find("planted.csv\" is a symbolic link"), std::string::npos) << w.message;
    EXPECT_FALSE(fs::exists(dir / "made-elsewhere"));
    // A FIFO is no palette: refused at once, not waited on.
    const fs::path fifo = dir / "fifo.csv";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(appendToFile(fifo.string(), "row\n").ok);
    EXPECT_FALSE(replaceFile(fifo.string(), "row\n").ok);
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST_F(FileWriteFolder, ReplacedFilesKeepTheirPermissions) {
    const fs::path kept = dir / "private.csv";
    put(kept, "private\n");
    fs::permissions(kept, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(replaceFile(kept.string(), "still private\n").ok);
    EXPECT_EQ(contents(kept), "still private\n");
    EXPECT_EQ(fs::status(kept).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    // A new file: 0666 less the umask.
    const mode_t before = ::umask(022);
    const Result w = replaceFile((dir / "new.csv").string(), "new\n");
    ::umask(before);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(fs::status(dir / "new.csv").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
    EXPECT_EQ(entries(dir), (std::vector<std::string>{"new.csv", "private.csv", "victim"}));
}

TEST_F(FileWriteFolder, OnlyPlainFilesUpToTheLimitAreRead) {
    const FileText text = readWholeFile(victim.string(), 20);
    EXPECT_EQ(text.status, FileRead::Ok);
    EXPECT_EQ(text.text, "the user's own file\n");
    EXPECT_EQ(readWholeFile(victim.string(), 19).status, FileRead::TooLarge);
    // Through a link the file it leads to is read.
    fs::create_symlink(victim, dir / "link");
    EXPECT_EQ(readWholeFile((dir / "link").string(), 20).text, "the user's own file\n");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(readWholeFile((dir / "fifo").string(), 1024).status, FileRead::NotAFile);
    EXPECT_EQ(readWholeFile("/dev/zero", 1024).status, FileRead::NotAFile);
    EXPECT_EQ(readWholeFile(dir.string(), 1024).status, FileRead::CannotOpen);
    EXPECT_EQ(readWholeFile((dir / "missing").string(), 1024).status, FileRead::CannotOpen);
    EXPECT_EQ(readFailure(FileRead::TooLarge, userFileLimit), "is larger than 256 MB");
    EXPECT_EQ(readFailure(FileRead::TooLarge, settingsFileLimit), "is larger than 64 KB");
}

TEST(FileWrite, WholeFilesAndAppendsOnAWritableFolder) {
    const fs::path dir = fs::temp_directory_path() / "huelinx-file-write";
    fs::remove_all(dir);
    fs::create_directories(dir / "taken");
    const std::string path = (dir / "table.txt").string();
    put(path, "old table\r\n");
    ASSERT_TRUE(replaceFile(path, "new table\r\n").ok);
    EXPECT_EQ(contents(path), "new table\r\n");
    EXPECT_FALSE(fs::exists(path + ".part"));
    ASSERT_TRUE(appendToFile(path, "row\r\n").ok);
    ASSERT_TRUE(appendToFile((dir / "fresh.csv").string(), "first\r\n").ok);
    EXPECT_EQ(contents(path), "new table\r\nrow\r\n");
    EXPECT_EQ(contents(dir / "fresh.csv"), "first\r\n");
    // A folder where the file should be: nothing written, the reason named.
    for (const Result& w : {replaceFile((dir / "taken").string(), "x"),
                            appendToFile((dir / "taken").string(), "x")}) {
        EXPECT_FALSE(w.ok);
        EXPECT_NE(w.message.find("taken\" can't be written"), std::string::npos) << w.message;
    }
    fs::remove_all(dir);
}

// A file system of 64 KiB that a filler file nearly fills. Mounting needs
// the right to mount; without it these cases are skipped.
class FullDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(dir);
        const std::string mount =
            "mount -t tmpfs -o size=64k tmpfs " + dir.string() + " 2>/dev/null";
        if (std::system(mount.c_str()) != 0) GTEST_SKIP() << "no tmpfs can be mounted here";
        mounted = true;
    }
    void TearDown() override {
        if (mounted) (void)std::system(("umount " + dir.string()).c_str());
        fs::remove_all(dir);
    }
    // Fills the disk up to a few hundred bytes.
    void fill() {
        std::ofstream filler(dir / "filler", std::ios::binary);
        const std::string block(512, 'f');
        while (filler.write(block.data(), block.size()))
            filler.flush();
    }
    // One disk a test: tests run side by side, each in its own process.
    const fs::path dir =
        fs::temp_directory_path() / ("huelinx-full-disk-" + std::to_string(getpid()));
    bool mounted = false;
};

TEST_F(FullDisk, AnAppendThatDoesNotFitLeavesTheFileAsItWas) {
    const fs::path palette = dir / "palette.csv";
    put(palette, "\"12-08-2026\",\"10:00:00\",\"first\",\"5R\",\"5\",\"4\"\r\n");
    const std::string before = contents(palette);
    fill();
    // "Save to Palette" of a record with a long tag.
    PaletteRecord record;
    record.tag = std::string(4096, 'r');
    const Result saved = appendPaletteLine(palette.string(), paletteLine(record));
    EXPECT_FALSE(saved.ok);
    EXPECT_NE(saved.message.find("palette.csv"), std::string::npos);
    EXPECT_NE(saved.message.find("No space left on device"), std::string::npos) << saved.message;
    EXPECT_EQ(contents(palette), before);
    // With room again the next record follows the last whole one.
    fs::remove(dir / "filler");
    ASSERT_TRUE(appendToFile(palette.string(), "next\r\n").ok);
    EXPECT_EQ(contents(palette), before + "next\r\n");
}

TEST_F(FullDisk, AFileThatDoesNotFitIsNotReplaced) {
    const fs::path table = dir / "muntable2.prn";
    put(table, "the table before\r\n");
    fill();
    const Result w = replaceFile(table.string(), std::string(32768, 't'));
    EXPECT_FALSE(w.ok);
    EXPECT_NE(w.message.find("No space left on device"), std::string::npos) << w.message;
    EXPECT_EQ(contents(table), "the table before\r\n");
    EXPECT_EQ(entries(dir), (std::vector<std::string>{"filler", "muntable2.prn"}));
    // A new file that doesn't fit is not left behind half written.
    EXPECT_FALSE(appendToFile((dir / "new.csv").string(), std::string(32768, 'n')).ok);
    EXPECT_FALSE(fs::exists(dir / "new.csv"));
}

} // namespace
} // namespace huelinx
