#include "palette/palette_file.h"
#include "platform/file_write.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

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
    for (const FileWrite& w : {replaceFile((dir / "taken").string(), "x"),
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
    const fs::path dir = fs::temp_directory_path() / "huelinx-full-disk";
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
    std::string message;
    EXPECT_FALSE(appendPaletteLine(palette.string(), paletteLine(record), message));
    EXPECT_NE(message.find("palette.csv"), std::string::npos);
    EXPECT_NE(message.find("No space left on device"), std::string::npos) << message;
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
    const FileWrite w = replaceFile(table.string(), std::string(32768, 't'));
    EXPECT_FALSE(w.ok);
    EXPECT_NE(w.message.find("No space left on device"), std::string::npos) << w.message;
    EXPECT_EQ(contents(table), "the table before\r\n");
    EXPECT_FALSE(fs::exists(table.string() + ".part"));
    // A new file that doesn't fit is not left behind half written.
    EXPECT_FALSE(appendToFile((dir / "new.csv").string(), std::string(32768, 'n')).ok);
    EXPECT_FALSE(fs::exists(dir / "new.csv"));
}

} // namespace
} // namespace huelinx
