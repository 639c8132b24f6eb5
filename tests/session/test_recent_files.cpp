// The recent files: ten at most, newest first, each once, kept across runs.
#include "session/recent_files.h"

#include "files/file_read.h"
#include "files/file_write.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace huelinx {
namespace {

namespace fs = std::filesystem;
using Kind = RecentFiles::Kind;

class RecentFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("recent-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        store = (folder / "Recent.txt").string();
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string in(const std::string& name) const { return (folder / name).string(); }

    fs::path folder;
    std::string store;
};

TEST_F(RecentFilesTest, KeepsTenNewestFirstEachOnceAndReadsItsStoreBack) {
    RecentFiles recent(store);
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(recent.add(Kind::Palette, in("p" + std::to_string(i) + ".csv")).ok);
    // The same file by another spelling moves to the top, listed once.
    ASSERT_TRUE(recent.add(Kind::Palette, (folder / "sub" / ".." / "p5.csv").string()).ok);
    // Commas, quotes and a leading '=' in a name survive the store.
    const std::string odd = in("=a, \"b\".png");
    ASSERT_TRUE(recent.add(Kind::Picture, odd).ok);
    const auto& e = recent.entries();
    ASSERT_EQ(e.size(), RecentFiles::limit);
    EXPECT_EQ(e[0], (RecentFiles::Entry{Kind::Picture, odd}));
    EXPECT_EQ(e[1], (RecentFiles::Entry{Kind::Palette, in("p5.csv")}));
    EXPECT_EQ(e[2].path, in("p11.csv"));
    EXPECT_EQ(e[9].path, in("p3.csv"));
    EXPECT_EQ(RecentFiles(store).entries(), e);

    ASSERT_TRUE(recent.remove(in("p11.csv")).ok);
    EXPECT_EQ(recent.entries().size(), 9u);
    EXPECT_EQ(RecentFiles(store).entries(), recent.entries());
}

TEST_F(RecentFilesTest, RelativePathsAreMadeAbsoluteAndUnusableOnesLeftOut) {
    RecentFiles recent; // no store
    ASSERT_TRUE(recent.add(Kind::Picture, "pic.png").ok);
    EXPECT_EQ(recent.entries()[0].path, (fs::current_path() / "pic.png").string());
    EXPECT_TRUE(recent.add(Kind::Picture, "two\nlines.png").ok);
    EXPECT_TRUE(recent.add(Kind::Picture, "").ok);
    EXPECT_EQ(recent.entries().size(), 1u);
    EXPECT_EQ(folderOf("a/b.csv"), (fs::current_path() / "a").string());
    EXPECT_EQ(folderOf(""), "");
}

TEST_F(RecentFilesTest, LinesThatCantBeReadArePassedOver) {
    ASSERT_TRUE(replaceFile(store, "palette,/x/a.csv\r\n"
                                   "sound,/x/b.wav\r\n"
                                   "picture\r\n"
                                   "\r\n"
                                   "picture,/x/c, \"d\".png\r\n"
                                   "palette,/x/a.csv\r\n")
                    .ok);
    const RecentFiles recent(store);
    EXPECT_EQ(recent.entries(),
              (std::vector<RecentFiles::Entry>{{Kind::Palette, "/x/a.csv"},
                                               {Kind::Picture, "/x/c, \"d\".png"}}));
    // A store that can't be written keeps the list in memory and says why.
    RecentFiles blocked((folder / "missing" / "Recent.txt").string());
    const Result added = blocked.add(Kind::Palette, "/x/a.csv");
    EXPECT_FALSE(added.ok);
    EXPECT_FALSE(added.message.empty());
    EXPECT_EQ(blocked.entries().size(), 1u);
}

} // namespace
} // namespace huelinx
