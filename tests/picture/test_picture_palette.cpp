#include "main_window_fixture.h"

#include "palette/palette_file.h"
#include "picture/picture_surface.h"
#include "picture/picture_window.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>

namespace huelinx::testing {
namespace {

class PicturePalette : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
        form->pictureCheck->setChecked(true);
        window = form->pictureWindow();
        platform.clear();
    }
    // A picture whose blocks differ, so each row has its own colour.
    void picture(int w, int h) {
        QImage image(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.setPixel(x, y, qRgb(40 + x % 200, 60 + y % 150, 120));
        window->picture->setPicture(image);
    }
    void make(const QString& name, std::initializer_list<const char*> granularities,
              std::initializer_list<Answer> answers) {
        platform.queueInput(name);
        for (const char* g : granularities)
            platform.queueInput(g);
        for (Answer a : answers)
            platform.queueAnswer(a);
        window->makePaletteAction->trigger();
    }
    std::vector<PaletteRow> rows(const QString& file) const {
        return readPaletteRows(readFile(file).toStdString());
    }
    QStringList prompts() const {
        QStringList asked;
        for (const auto& s : platform.shown())
            if (s.kind == ScriptedPlatform::Shown::Input || s.buttons != Buttons::Ok)
                asked << s.text + " [" + s.defaultText + "]";
        return asked;
    }
    PictureWindow* window = nullptr;
};

TEST_F(PicturePalette, BlocksGoColumnByColumnAndAreOutlined) {
    picture(405, 303); // remainders of 5 and 3 pixels
    make("blocks", {"10"}, {Answer::Yes});
    EXPECT_EQ(prompts(), (QStringList{"Enter file name for palette  [TestImage]",
                                      "Granularity (average of pixels n x n) [10]",
                                      "Total Pixels  1200   Generate Palette []"}));
    const auto saved = rows("blocks.csv");
    ASSERT_EQ(saved.size(), 1200u);
    EXPECT_EQ(saved.front().fields[2], "0 0"); // " 0 0" with its blanks trimmed by the reader
    EXPECT_EQ(saved[1].fields[2], "0 10");
    EXPECT_EQ(saved.back().fields[2], "390 290");
    EXPECT_TRUE(readFile("blocks.csv").startsWith("\"12-17-2022\",\"10:30:00\",\" 0 0\","));
    EXPECT_EQ(window->statusBox->text(), "Palette Done and saved as blocks.csv");
    EXPECT_EQ(window->statusBox->palette().color(QPalette::Base), QColor(0, 255, 0));
    EXPECT_TRUE(window->view3DAction->isVisible());
    const PictureSurface& p = *window->picture;
    EXPECT_EQ(p.pixel(10, 7), 0L);
    EXPECT_EQ(p.pixel(3, 290), 0L);
    EXPECT_EQ(p.pixel(10, 302), 0L); // vertical lines run the full height
    EXPECT_NE(p.pixel(400, 7), 0L);  // the remainder strip is not outlined
    EXPECT_NE(p.pixel(5, 300), 0L);
    // The picture is changed: a second run is refused and the file is left alone.
    platform.clear();
    window->makePaletteAction->trigger();
    EXPECT_EQ(messages(),
              std::vector<QString>{"Palette already made - reload or load new picture"});
    EXPECT_EQ(rows("blocks.csv").size(), 1200u);
}

TEST_F(PicturePalette, NamesKeepTheirCaseAndMeetAPaletteOfAnyCase) {
    picture(40, 30);
    QFile old("X.CSV");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("\"old\",\"row\",\"t\",\"5R\",\"5\",\"4\",\r\n");
    old.close();
    // "x.csv" is the palette X.CSV already there: emptied and written, no
    // second file beside it.
    make("x.csv", {"10"}, {Answer::Yes});
    EXPECT_EQ(program->paletteFile, "X.CSV");
    EXPECT_EQ(rows("X.CSV").size(), 12u);
    EXPECT_FALSE(QFile::exists("x.csv"));
    window->paletteMade = false;
    make("MyColours", {"20"}, {Answer::Yes});
    EXPECT_EQ(program->paletteFile, "MyColours.csv");
    EXPECT_EQ(rows("MyColours.csv").size(), 2u);
    // The main window's later saves go to the same file whatever the case typed.
    program->paletteFile = "mycolours";
    ASSERT_TRUE(form->saveToPalette(form->colour(), TagPrompt::UseCurrentTag));
    EXPECT_EQ(program->paletteFile, "MyColours.csv");
    EXPECT_EQ(rows("MyColours.csv").size(), 3u);
}

TEST_F(PicturePalette, TenThousandBlocksAtMost) {
    picture(10001, 1);
    make("edge", {"1", "2"}, {Answer::Yes});
    const std::vector<QString> shown = messages();
    ASSERT_GE(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Too many pixels  10001 Maximun 10,000 - increase granularity ");
    EXPECT_EQ(rows("edge.csv").size(), 0u); // n = 2 leaves a picture of height 1 no blocks
    picture(10000, 1);
    window->paletteMade = false;
    platform.clear();
    make("full", {"1"}, {Answer::Yes});
    EXPECT_EQ(messages(), std::vector<QString>{"Total Pixels  10000   Generate Palette"});
    EXPECT_EQ(rows("full.csv").size(), 10000u);
}

TEST_F(PicturePalette, GranularityIsAskedAgainUntilUsableAndCancelWritesNothing) {
    picture(40, 30);
    make("again", {"abc", "0", "-3", "20", "15"}, {Answer::No, Answer::Yes});
    EXPECT_EQ(prompts(), (QStringList{"Enter file name for palette  [TestImage]",
                                      "Granularity (average of pixels n x n) [10]",
                                      "Granularity (average of pixels n x n) [10]",
                                      "Granularity (average of pixels n x n) [10]",
                                      "Granularity (average of pixels n x n) [10]",
                                      "Total Pixels  2   Generate Palette []",
                                      "Granularity (average of pixels n x n) [20]",
                                      "Total Pixels  4   Generate Palette []"}));
    EXPECT_EQ(rows("again.csv").size(), 4u);
    window->paletteMade = false;
    make("cancelled", {""}, {});
    EXPECT_FALSE(QFile::exists("cancelled.csv"));
    EXPECT_FALSE(window->paletteMade);
    make("", {}, {});
    EXPECT_FALSE(window->paletteMade);
}

} // namespace
} // namespace huelinx::testing
