#include "main_window_fixture.h"

#include "palette/palette_file.h"
#include "picture/picture_surface.h"
#include "picture/picture_window.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

#include <csignal>
#include <sys/resource.h>

namespace huelinx::testing {
namespace {

class PicturePalette : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
        ui().pictureCheck->setChecked(true);
        window = companions().picture();
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

// The blocks are converted for the palette alone: the main window keeps the
// colour it showed, and no window hears of a change.
TEST_F(PicturePalette, BuildingAPaletteLeavesTheCurrentColourAlone) {
    ui().munsellBoxes[0]->setText("5R");
    ui().munsellBoxes[1]->setText("4");
    enter(ui().munsellBoxes[2], "14");
    const auto state = [this] {
        QStringList all;
        for (auto* box : form->findChildren<EntryBox*>())
            all << box->objectName() + "=" + box->text();
        return all << ui().colourNameBox->text();
    };
    const QStringList before = state();
    int heard = 0;
    const Connection listening =
        session().colourChanged.connect([&heard](const ColourChange&) { ++heard; });
    picture(40, 30);
    make("blocks", {"10"}, {Answer::Yes});
    ASSERT_EQ(rows("blocks.csv").size(), 12u);
    EXPECT_EQ(state(), before);
    EXPECT_EQ(heard, 0);
}

TEST_F(PicturePalette, NamesKeepTheirCaseAndMeetAPaletteOfAnyCase) {
    picture(40, 30);
    QFile old("X.CSV");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("\"old\",\"row\",\"t\",\"5R\",\"5\",\"4\",\r\n");
    old.close();
    // "x.csv" is the palette X.CSV already there: replaced when the user says
    // so, no second file beside it.
    make("x.csv", {"10"}, {Answer::Yes, Answer::Yes});
    EXPECT_EQ(paletteFile(), "X.CSV");
    EXPECT_EQ(rows("X.CSV").size(), 12u);
    EXPECT_FALSE(QFile::exists("x.csv"));
    window->paletteMade = false;
    make("MyColours", {"20"}, {Answer::Yes});
    EXPECT_EQ(paletteFile(), "MyColours.csv");
    EXPECT_EQ(rows("MyColours.csv").size(), 2u);
    // The main window's later saves go to the same file whatever the case typed.
    setPaletteFile("mycolours");
    ASSERT_TRUE(
        saveColourRecord(platform, session().palette(), form->colour(), TagPrompt::UseCurrentTag));
    EXPECT_EQ(paletteFile(), "MyColours.csv");
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

// The question asked when the palette chosen is already there.
QString replaceQuestion(const QString& file) {
    return "The palette \"" + file +
           "\" already exists.\r\nYes: replace it with the palette of the picture\r\n"
           "No: add the picture's colours to it\r\nCancel: leave it and make no palette []";
}

TEST_F(PicturePalette, AnExistingPaletteLosesNoRowWithoutTheUserSayingReplace) {
    picture(40, 30); // 12 blocks of 10
    // Two colours saved there with Save to Palette.
    setPaletteFile("kept");
    setPaletteTag("saved");
    ASSERT_TRUE(
        saveColourRecord(platform, session().palette(), form->colour(), TagPrompt::UseCurrentTag));
    ASSERT_TRUE(
        saveColourRecord(platform, session().palette(), form->colour(), TagPrompt::UseCurrentTag));
    const QString saved = readFile("kept.csv");
    ASSERT_EQ(rows("kept.csv").size(), 2u);
    // Cancel: nothing more is asked, nothing written, the picture still usable.
    make("kept", {}, {Answer::Cancel});
    EXPECT_EQ(prompts(), (QStringList{"Enter file name for palette  [kept.csv]",
                                      replaceQuestion("kept.csv")}));
    EXPECT_EQ(readFile("kept.csv"), saved);
    EXPECT_FALSE(window->paletteMade);
    EXPECT_EQ(platform.pendingAnswers(), 0u);
    // No: the picture's rows follow the saved ones.
    make("kept", {"10"}, {Answer::No, Answer::Yes});
    EXPECT_TRUE(readFile("kept.csv").startsWith(saved));
    auto now = rows("kept.csv");
    ASSERT_EQ(now.size(), 14u);
    EXPECT_EQ(now[1].fields[2], "saved");
    EXPECT_EQ(now[2].fields[2], "0 0");
    EXPECT_EQ(window->statusBox->text(), "Palette Done and saved as kept.csv");
    // Yes: the file holds the picture's palette alone.
    window->paletteMade = false;
    platform.clear();
    make("KEPT", {"10"}, {Answer::Yes, Answer::Yes});
    EXPECT_EQ(prompts()[1], replaceQuestion("kept.csv")); // the palette of any case is meant
    now = rows("kept.csv");
    ASSERT_EQ(now.size(), 12u);
    EXPECT_EQ(now[0].fields[2], "0 0");
    EXPECT_FALSE(QFile::exists("KEPT.csv"));
}

// Limits the size of the files this process writes, as a full disk would.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &before_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = before_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, oldHandler_);
    }

  private:
    rlimit before_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST_F(PicturePalette, APaletteThatCannotBeWrittenIsNamedAndTheFileKeepsItsRows) {
    picture(405, 303); // 1200 rows, far beyond the limit below
    QFile old("field.csv");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("\"old\",\"row\",\"t\",\"5R\",\"5\",\"4\",\r\n");
    old.close();
    const QString before = readFile("field.csv");
    for (Answer replaceOrAdd : {Answer::Yes, Answer::No}) {
        platform.clear();
        {
            const FileSizeLimit limit(4096);
            make("field", {"10"}, {replaceOrAdd, Answer::Yes});
        }
        EXPECT_EQ(readFile("field.csv"), before);
        const std::vector<QString> shown = messages();
        ASSERT_EQ(shown.size(), 3u); // replace or add, the block count, what went wrong
        EXPECT_TRUE(shown[2].startsWith("The palette could not be saved: "))
            << shown[2].toStdString();
        EXPECT_TRUE(shown[2].contains("field.csv")) << shown[2].toStdString();
        EXPECT_FALSE(window->paletteMade); // the picture was not outlined: try again
        EXPECT_FALSE(window->view3DAction->isVisible());
        EXPECT_EQ(window->statusBox->text(), "Palette not saved");
    }
    // A folder where the file should be: no question, the folder is named.
    ASSERT_TRUE(QDir().mkdir("taken.csv"));
    platform.clear();
    make("taken", {"10"}, {Answer::Yes});
    ASSERT_EQ(messages().size(), 2u); // the block count, what went wrong
    EXPECT_TRUE(messages()[1].startsWith("The palette could not be saved: "))
        << messages()[1].toStdString();
    EXPECT_TRUE(messages()[1].contains("taken.csv")) << messages()[1].toStdString();
    EXPECT_TRUE(QFileInfo("taken.csv").isDir());
}

} // namespace
} // namespace huelinx::testing
