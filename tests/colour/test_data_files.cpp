// Where the data files are found, and what is said about them: a file of the
// working folder is used before the program's own and is named as such.
#include "colour/colour_naming.h"
#include "colour/data_files.h"
#include "colour/iscc_nbs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace huelinx {
namespace {

namespace fs = std::filesystem;

// A scratch working folder, made current for the test, with files of its own.
class DataFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(dir_);
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }
    static void put(const std::string& name, const std::string& text = "x") {
        std::ofstream(name, std::ios::binary) << text;
    }
    const std::string data = HUELINX_DATA_DIR;
    const DataFolders program = withWorkingFolder({HUELINX_DATA_DIR});

  private:
    fs::path previous_ = fs::current_path();
    fs::path dir_ = fs::temp_directory_path() / ("huelinx-data-files-" + std::to_string(getpid()));
};

TEST_F(DataFilesTest, AWorkingFolderFileIsUsedBeforeTheProgramsOwnAndSaidSo) {
    const std::vector<DataFile> own = dataFilesInUse(program);
    ASSERT_EQ(own.size(), 4u);
    for (const DataFile& file : own) {
        EXPECT_TRUE(file.found) << file.name;
        EXPECT_FALSE(file.fromWorkingFolder) << file.name;
        EXPECT_EQ(file.path, data + "/" + file.name);
    }
    EXPECT_EQ(workingFolderNote(own), "");

    put(munsellTableFile);
    const std::vector<DataFile> files = dataFilesInUse(program);
    EXPECT_EQ(files[0].path, "Vadoro.dat"); // as the loader's messages name it
    EXPECT_TRUE(files[0].fromWorkingFolder);
    EXPECT_EQ(files[0].programPath, data + "/Vadoro.dat");
    EXPECT_FALSE(files[1].fromWorkingFolder);
    const std::string here = fs::current_path().string();
    const std::string text = dataFilesText(files);
    EXPECT_NE(text.find("Vadoro.dat: " + here + "/Vadoro.dat (working folder, instead of " +
                        shownPath(data + "/Vadoro.dat") + ")\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("iscc-nbs-names.csv: " + shownPath(data + "/iscc-nbs-names.csv") + "\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(workingFolderNote(files), "The working folder's Vadoro.dat is used, not the "
                                        "program's own " +
                                            shownPath(data + "/Vadoro.dat") + ".");
}

// The name files are read together from the folder holding the blocks file:
// the report follows the loader, even where that folder lacks the names.
TEST_F(DataFilesTest, TheNameFilesComeFromTheFolderHoldingTheBlocksAsTheyAreLoaded) {
    put(isccNbsBlocksFile);
    const std::vector<DataFile> files = dataFilesInUse(program);
    EXPECT_TRUE(files[1].fromWorkingFolder);
    EXPECT_EQ(files[2].path, isccNbsNamesFile);
    EXPECT_FALSE(files[2].found);
    EXPECT_TRUE(files[2].fromWorkingFolder);
    EXPECT_EQ(files[2].programPath, data + "/" + isccNbsNamesFile);
    IsccNbsTable names;
    const Result loaded = loadIsccNbsFromFolders(program.searched, names);
    EXPECT_FALSE(loaded.ok);
    EXPECT_NE(loaded.message.find(isccNbsNamesFile), std::string::npos) << loaded.message;
    EXPECT_EQ(loaded.message.find(data), std::string::npos) << loaded.message;
}

TEST_F(DataFilesTest, WithoutAWorkingFolderTheFoldersAreSearchedInOrder) {
    fs::create_directories("first");
    put("first/Vadoro.dat");
    put(renotationRealFile); // the working folder is not searched
    const DataFolders folders{{"first", data}, false};
    const DataFile table = findDataFile(munsellTableFile, folders);
    EXPECT_EQ(table.path, "first/Vadoro.dat");
    EXPECT_FALSE(table.fromWorkingFolder);
    EXPECT_EQ(findDataFile(renotationRealFile, folders).path, data + "/" + renotationRealFile);
    const DataFile missing = findDataFile("no-such.dat", folders);
    EXPECT_FALSE(missing.found);
    EXPECT_EQ(missing.path, "no-such.dat");
    EXPECT_EQ(dataFilesText({missing}), "no-such.dat: not found\n");
    EXPECT_EQ(workingFolderNote(dataFilesInUse(folders)), "");
    // A working-folder file with no program copy behind it is still said.
    put("own.csv");
    EXPECT_EQ(workingFolderNote({findDataFile("own.csv", withWorkingFolder({data}))}),
              "The working folder's own.csv is used.");
}

// A program finds its data in data/ beside it (the build tree) or, installed,
// in share/huelinx beside its bin/ folder, wherever the tree was put; the
// working folder still comes first.
TEST_F(DataFilesTest, AProgramFindsItsDataBesideItOrInTheInstalledTree) {
    const std::string prefix = (fs::current_path() / "moved" / "prefix").string();
    fs::create_directories(prefix + "/bin");
    fs::create_directories(prefix + "/share/huelinx");
    put(prefix + "/share/huelinx/Vadoro.dat");
    const DataFolders installed = withWorkingFolder(programDataFolders(prefix + "/bin"));
    const DataFile table = findDataFile(munsellTableFile, installed);
    ASSERT_TRUE(table.found);
    EXPECT_FALSE(table.fromWorkingFolder);
    EXPECT_EQ(shownPath(table.path), prefix + "/share/huelinx/Vadoro.dat");
    // Said as a plain path, without "bin/..".
    EXPECT_EQ(dataFilesText({table}), "Vadoro.dat: " + prefix + "/share/huelinx/Vadoro.dat\n");

    // A build tree's data/ beside the program comes before an installed copy.
    fs::create_directories(prefix + "/bin/data");
    put(prefix + "/bin/data/Vadoro.dat");
    EXPECT_EQ(findDataFile(munsellTableFile, installed).path, prefix + "/bin/data/Vadoro.dat");

    put(munsellTableFile);
    const DataFile own = findDataFile(munsellTableFile, installed);
    EXPECT_TRUE(own.fromWorkingFolder);
    EXPECT_EQ(own.programPath, prefix + "/bin/data/Vadoro.dat");
}

} // namespace
} // namespace huelinx
