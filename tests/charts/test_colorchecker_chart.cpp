#include "main_window_fixture.h"

#include "charts/chart_surface.h"
#include "charts/colorchecker_chart.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include <sys/stat.h>

namespace huelinx::testing {
namespace {

class Checker : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
    }
    ColorCheckerChart* open() {
        ui().colorCheckerCheck->setChecked(true);
        return form->findChild<ColorCheckerChart*>();
    }
    static QColor colourAt(const ColorCheckerChart* w, int i) {
        const QPoint p = w->patches[i]->rect().center();
        const long c = w->surface->pixel(p.x(), p.y());
        return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    }
    static void write(const char* contents) {
        QFile file("ccnames.csv");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
};

TEST_F(Checker, TwentyFourPatchesOnADarkGround) {
    ColorCheckerChart* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(w->windowTitle(), QString("The Macbeth ColorChecker") + QChar(174));
    EXPECT_EQ(w->patchesDrawn(), 24);
    EXPECT_EQ(w->surface->pixel(2, 2), colourValue(QColor(71, 67, 69)));
    EXPECT_FALSE(w->sourceLabel->text().isEmpty());
    EXPECT_EQ(w->patches[6]->rect(), QRect(8, 128, 97, 97));
    EXPECT_EQ(w->patches[23]->rect(), QRect(568, 352, 97, 97));
    // Item 6 is orange; items 18 to 23 are neutrals from white to black.
    const QColor orange = colourAt(w, 6);
    EXPECT_TRUE(orange.red() > orange.green() && orange.green() > orange.blue())
        << orange.name().toStdString();
    int previous = 256;
    for (int i = 18; i < 24; ++i) {
        const QColor c = colourAt(w, i);
        EXPECT_NEAR(c.red(), c.blue(), 2);
        EXPECT_LT(c.red(), previous);
        previous = c.red();
    }
    EXPECT_EQ(colourAt(w, 23), w->patches[23]->fillColor());
    w->printButton->click();
    EXPECT_EQ(messages(), std::vector<QString>{"Printer not Found"});
}

TEST_F(Checker, GammaRedrawsTheVisibleChartOnly) {
    ColorCheckerChart* w = open();
    const QColor before = colourAt(w, 18);
    ui().gammaSlider->setValue(15);
    const QColor atGamma15 = colourAt(w, 21);
    EXPECT_NE(colourAt(w, 18), before);
    ui().colorCheckerCheck->setChecked(false);
    EXPECT_TRUE(w->isHidden());
    ui().gammaSlider->setValue(30);
    EXPECT_EQ(colourAt(w, 21), atGamma15);
    ui().colorCheckerCheck->setChecked(true); // shown again: drawn with the new gamma
    EXPECT_NE(colourAt(w, 21), atGamma15);
}

TEST_F(Checker, ShortOrMissingFilesDrawWhatTheyCan) {
    // Leading numbers with units still read; the patches past the file's end
    // keep their colour, and one message names the file.
    write("No,Name,Hue,Value,Chroma\r\n1,a,2.5R,5 units,10cm\r\n2,b,2.5R,5,10\r\n");
    ColorCheckerChart* w = open();
    EXPECT_EQ(w->patchesDrawn(), 2);
    EXPECT_EQ(colourAt(w, 0), colourAt(w, 1));
    EXPECT_NE(colourAt(w, 0), QColor(128, 128, 128));
    EXPECT_EQ(colourAt(w, 2), QColor(128, 128, 128));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].contains("\"ccnames.csv\" holds 2 of the 24"));
    platform.clear();
    // Without any file the patches stay as they were.
    QFile::remove("ccnames.csv");
    session().resources().setFolders({{"."}, true});
    w->drawChart();
    EXPECT_EQ(w->patchesDrawn(), 0);
    EXPECT_EQ(colourAt(w, 2), QColor(128, 128, 128));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].contains("\"ccnames.csv\" can't be read"));
    platform.clear();
    // A FIFO in its place is refused at once instead of waited on.
    ASSERT_EQ(::mkfifo("ccnames.csv", 0600), 0);
    w->drawChart();
    EXPECT_EQ(w->patchesDrawn(), 0);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].contains("is not a plain file")) << messages()[0].toStdString();
    QFile::remove("ccnames.csv");
    platform.clear();
    // The neutral notation "N" is read without a message and drawn as a
    // neutral; a hue without family gives one "Format Error".
    write("No,Name,Hue,Value,Chroma\r\n1,x,N,5,0\r\n2,y,5X,5,0\r\n3,z,5R,5,0\r\n");
    w->drawChart();
    EXPECT_EQ(messages().front(), "Format Error");
    EXPECT_EQ(messages().size(), 2u);
    EXPECT_EQ(colourAt(w, 0), colourAt(w, 2));
}

} // namespace
} // namespace huelinx::testing
