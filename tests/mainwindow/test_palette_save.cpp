#include "main_window_fixture.h"

#include "palette/palette_file.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

namespace huelinx::testing {
namespace {

class Saving : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
    }
    std::vector<PaletteRow> rows(const QString& file) const {
        return readPaletteRows(readFile(file).toStdString());
    }
    QStringList prompts() const {
        QStringList asked;
        for (const auto& s : platform.shown())
            if (s.kind == ScriptedPlatform::Shown::Input)
                asked << s.title + ": " + s.text + " [" + s.defaultText + "]";
        return asked;
    }
};

TEST_F(Saving, FirstSaveAsksForFileAndTagLaterSavesOnlyForTheTag) {
    platform.queueInput("TZMpalette");
    platform.queueInput("sky");
    ui().saveToPaletteButton->click();
    EXPECT_EQ(
        prompts(),
        (QStringList{
            "Save Palette Data: Palette File Name to save or append  [.CSV added] [TZMpalette]",
            "Palette File Save - TAG: Palette TZMpalette - Enter Tag [Enter 'file' to change file "
            "name] []"}));
    platform.clear();
    platform.queueInput("sea");
    ui().saveToPaletteButton->click();
    EXPECT_EQ(prompts().size(), 1);
    const auto saved = rows("TZMpalette.csv");
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[0].fields[0], "12-17-2022");
    EXPECT_EQ(saved[0].fields[1], "10:30:00");
    EXPECT_EQ(saved[0].fields[2], "sky");
    EXPECT_EQ(saved[1].fields[2], "sea");
    EXPECT_EQ(saved[1].fields[3], "6.4Y");
    EXPECT_EQ(paletteFile(), "TZMpalette.csv");
    EXPECT_TRUE(readFile("TZMpalette.csv").endsWith(",\r\n"));
}

TEST_F(Saving, FileAnswerChangesTheFileAndTheCsvRuleKeepsAnyCase) {
    setPaletteFile("colours.CSV");
    platform.queueInput("FILE");
    platform.queueInput("colours");
    platform.queueInput("tag two");
    saveColourToPalette(TagPrompt::Ask);
    EXPECT_FALSE(QFile::exists("colours.CSV"));
    EXPECT_EQ(rows("colours.csv").size(), 1u);
    EXPECT_EQ(paletteTag(), "tag two");
    setPaletteFile("other.CSV");
    platform.queueInput("t");
    saveColourToPalette(TagPrompt::Ask);
    EXPECT_EQ(rows("other.CSV").size(), 1u);
    EXPECT_EQ(paletteFile(), "other.CSV");
}

TEST_F(Saving, CancelledPromptsAndBatchSaves) {
    platform.queueInput("");
    saveColourToPalette(TagPrompt::Ask);
    EXPECT_TRUE(paletteFile().isEmpty());
    EXPECT_TRUE(QDir().entryList({"*.csv"}).isEmpty());
    // A batch save asks only for a file, and uses the tag it is given.
    setPaletteTag("batch");
    platform.queueInput("run");
    saveColourToPalette(TagPrompt::UseCurrentTag);
    ASSERT_EQ(rows("run.csv").size(), 1u);
    EXPECT_EQ(rows("run.csv")[0].fields[2], "batch");
    // A cancelled tag saves with an empty tag.
    platform.queueInput("");
    saveColourToPalette(TagPrompt::Ask);
    EXPECT_EQ(rows("run.csv")[1].fields[2], "");
}

TEST_F(Saving, TheRecordTakesTheBoxesAsTheyStand) {
    setPaletteFile("boxes.csv");
    ui().rgbBoxes[0]->setText("300"); // typed, not entered
    platform.queueInput("typed");
    saveColourToPalette(TagPrompt::Ask);
    const QStringList fields = readFile("boxes.csv").split(',');
    EXPECT_EQ(fields[15], "\"300\"");
    EXPECT_EQ(fields[12], "1"); // the linear red of 255
    EXPECT_EQ(ui().redSlider->value(), 255);
    EXPECT_EQ(ui().rgbBoxes[0]->text(), "300");
    EXPECT_EQ(fields.size(), 23);
}

TEST_F(Saving, PaletteThatCannotBeWrittenIsNamedAndKeepsItsRecords) {
    QFile existing("kept.csv");
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("\"a\",\"b\",\"c\",\"5R\",\"5\",\"4\",\r\n");
    existing.close();
    ASSERT_TRUE(QDir().mkdir("blocked.csv"));
    setPaletteFile("blocked.csv");
    platform.queueInput("t");
    saveColourToPalette(TagPrompt::Ask);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].contains("blocked.csv"));
    EXPECT_EQ(rows("kept.csv").size(), 1u);
}

TEST_F(Saving, MakeTableWritesTheFileAndSaysItOnceInMessages) {
    const QString hue = ui().munsellBoxes[0]->text(), x = ui().xyzBoxes[0]->text();
    ui().makeTableButton->click();
    // The Messages line is the whole report: no box repeats it.
    EXPECT_TRUE(messages().empty());
    const QString table = readFile("muntable2.prn");
    EXPECT_EQ(ui().messagesBox->toPlainText(),
              QString("\"muntable2.prn\" written: %1 row(s).").arg(table.count("\r\n") - 3));
    EXPECT_TRUE(table.startsWith(form->windowTitle()));
    EXPECT_GT(table.count("\r\n"), 3000);
    EXPECT_EQ(ui().munsellBoxes[0]->text(), hue);
    EXPECT_EQ(ui().xyzBoxes[0]->text(), x);
    // A second run replaces the file.
    platform.clear();
    ui().makeTableButton->click();
    EXPECT_EQ(readFile("muntable2.prn"), table);
    // A table that can't be written is said in a box.
    ASSERT_TRUE(QFile::remove("muntable2.prn"));
    ASSERT_TRUE(QDir().mkdir("muntable2.prn"));
    platform.clear();
    ui().makeTableButton->click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].contains("muntable2.prn"));
}

} // namespace
} // namespace huelinx::testing
