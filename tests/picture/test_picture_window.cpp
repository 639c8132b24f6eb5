#include "main_window_fixture.h"

#include "palette/palette_file.h"
#include "picture/picture_surface.h"
#include "picture/picture_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>

namespace huelinx::testing {
namespace {

class Picture : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
        platform.setAdvancePerRead(0.05);
        ui().pictureCheck->setChecked(true);
        window = companions().picture();
        ASSERT_NE(window, nullptr);
        platform.clear();
    }
    // A picture of one colour with a few marked pixels.
    static QImage plain(int w, int h, QColor colour) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }
    QString munsell() const {
        return text(ui().munsellBoxes[0]) + " " + text(ui().munsellBoxes[1]) + "/" +
               text(ui().munsellBoxes[2]);
    }
    PictureWindow* window = nullptr;
};

TEST_F(Picture, OpensOnTheDefaultPictureAndNamesThePaletteAfterIt) {
    EXPECT_EQ(window->windowTitle(), "Munsell Notation Picture Analysis");
    EXPECT_FALSE(window->isHidden());
    EXPECT_EQ(window->sampleCount, 81);
    EXPECT_TRUE(window->clickMode);
    EXPECT_EQ(window->fileNameBox->text(), "TestImage.jpg");
    EXPECT_EQ(window->widthBox->text() + "x" + window->heightBox->text(), "480x360");
    EXPECT_EQ(paletteFile(), "TestImage");
    EXPECT_FALSE(window->view3DAction->isVisible());
    // "Save to Palette" now asks only for the tag and writes TestImage.csv.
    platform.queueInput("from the picture");
    onSaveToPalette();
    EXPECT_EQ(readPaletteRows(readFile("TestImage.csv").toStdString()).size(), 1u);
    // Unticking hides the window; e&Xit unticks; the close box destroys it.
    ui().pictureCheck->setChecked(false);
    EXPECT_TRUE(window->isHidden());
    ui().pictureCheck->setChecked(true);
    window->exitAction->trigger();
    EXPECT_FALSE(ui().pictureCheck->isChecked());
    ui().pictureCheck->setChecked(true);
    window->close();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(ui().pictureCheck->isChecked());
    EXPECT_EQ(companions().picture(), nullptr);
}

TEST_F(Picture, SamplingAveragesTheBlockAndRestoresThePicture) {
    QImage image = plain(20, 20, QColor(100, 150, 50));
    image.setPixel(10, 10, qRgb(10, 20, 30));
    window->picture->setPicture(image);
    window->setSampleSize(0); // one pixel
    window->onPictureClicked(10, 10);
    EXPECT_EQ(text(ui().rgbBoxes[0]) + "," + text(ui().rgbBoxes[1]) + "," + text(ui().rgbBoxes[2]),
              "10,20,30");
    ASSERT_FALSE(ui().colourNameBox->text().isEmpty());
    EXPECT_EQ(window->notationBox->text(), "Hue = " + text(ui().munsellBoxes[0]) +
                                               "   Value = " + text(ui().munsellBoxes[1]) +
                                               "   Chroma = " + text(ui().munsellBoxes[2]) +
                                               "   Name = " + ui().colourNameBox->text());
    EXPECT_EQ(window->positionBox->text(), "Position  X = 10  Y = 10");
    EXPECT_EQ(window->colourBox->palette().color(QPalette::Base),
              QColor(form->colour().red, form->colour().green, form->colour().blue));
    EXPECT_EQ(window->picture->image(), image); // the flash was undone
    // Nine pixels with the marked one: (8 x 100 + 10) / 9 = 90 for red.
    window->setSampleSize(1);
    window->onPictureClicked(10, 10);
    EXPECT_EQ(text(ui().rgbBoxes[0]), "90");
    // A block reaching past the corner counts the outside as white.
    window->onPictureClicked(0, 0);
    EXPECT_EQ(text(ui().rgbBoxes[0]), QString::number((4 * 100 + 5 * 255 + 4) / 9));
    EXPECT_EQ(window->picture->image(), image);
    EXPECT_FALSE(window->sampling);
}

TEST_F(Picture, BlackOrWhiteBlocksFillTheBoxesButConvertNothing) {
    window->picture->setPicture(plain(10, 10, QColor(0, 120, 200)));
    const QString before = munsell();
    window->onPictureClicked(5, 5);
    EXPECT_EQ(text(ui().rgbBoxes[0]), "0");
    EXPECT_EQ(munsell(), before);
    EXPECT_TRUE(window->sampling); // stays set, as after any unconverted block
    EXPECT_TRUE(window->notationBox->text().contains(text(ui().munsellBoxes[0])));
}

TEST_F(Picture, ContinuousModeSamplesOnMovesOneAtATime) {
    window->picture->setPicture(plain(30, 30, QColor(120, 90, 60)));
    window->onPictureMouseMove(5, 5); // click mode: moves do nothing
    EXPECT_EQ(window->positionBox->text(), "Pixel Location");
    window->continuousModeAction->trigger();
    window->sampling = true; // a sampling is under way
    window->onPictureMouseMove(6, 6);
    EXPECT_EQ(window->positionBox->text(), "Pixel Location");
    window->sampling = false;
    window->onPictureMouseMove(7, 8);
    EXPECT_EQ(window->positionBox->text(), "Position  X = 7  Y = 8");
    EXPECT_FALSE(window->sampling);
    window->onPictureClicked(9, 9); // clicks do nothing in this mode
    EXPECT_EQ(window->positionBox->text(), "Position  X = 7  Y = 8");
}

TEST_F(Picture, MovesOverThePictureAreOneStepOfTheHistory) {
    QImage halves = plain(40, 20, QColor(120, 90, 60));
    for (int y = 0; y < 20; ++y)
        for (int x = 20; x < 40; ++x)
            halves.setPixelColor(x, y, QColor(40, 90, 160));
    window->picture->setPicture(halves);
    const QString before = munsell();
    window->continuousModeAction->trigger();
    for (int x : {5, 30, 8, 33}) {
        window->sampling = false;
        window->onPictureMouseMove(x, 10);
    }
    const QString hovered = munsell();
    ASSERT_NE(hovered, before);
    ASSERT_TRUE(session().undo());
    EXPECT_EQ(munsell(), before);
    ASSERT_TRUE(session().redo());
    EXPECT_EQ(munsell(), hovered);
}

TEST_F(Picture, UnreadableTooBigAndEmptyPictures) {
    QFile bad("broken.jpg");
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a picture");
    bad.close();
    platform.queueFile("broken.jpg");
    window->loadPictureAction->trigger();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].startsWith("The picture \"broken.jpg\" can't be read"));
    EXPECT_TRUE(window->picture->isEmpty());
    window->onPictureClicked(1, 1); // nothing to sample, nothing happens
    EXPECT_EQ(window->positionBox->text(), "Pixel Location");
    platform.clear();
    ASSERT_TRUE(plain(300, 200, Qt::gray).save("big.jpg", "JPG"));
    platform.setScreenSize(QSize(250, 800));
    platform.queueFile("big.jpg");
    window->loadPictureAction->trigger();
    EXPECT_EQ(
        messages(),
        std::vector<QString>{
            "Picture too big - Resize or select a section with an external image editing program"});
    EXPECT_EQ(window->widthBox->text(), "300");
    EXPECT_EQ(paletteFile(), "big");
}

TEST_F(Picture, ClipboardPicturesSetTheDrawingSize) {
    QApplication::clipboard()->setImage(plain(600, 400, Qt::red));
    window->clipboardAction->trigger();
    EXPECT_EQ(window->drawingSize, QSize(610, 410));
    EXPECT_EQ(window->picture->pictureWidth(), 600);
    QApplication::clipboard()->setImage(plain(300, 200, Qt::red));
    window->clipboardAction->trigger();
    EXPECT_EQ(window->drawingSize, QSize(1024, 768));
    QApplication::clipboard()->clear();
    window->clipboardAction->trigger();
    EXPECT_EQ(messages(), std::vector<QString>{"Clipboard empty or Picture too big"});
    EXPECT_TRUE(window->picture->isEmpty());
}

// Counts the events of some kinds a window receives.
struct EventCounter : QObject {
    explicit EventCounter(QEvent::Type counted) : type(counted) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == type) ++count;
        return false;
    }
    QEvent::Type type;
    int count = 0;
};

// While the help shows, the main window takes no input but is never hidden,
// so a window manager has no reason to place it anew.
TEST_F(Picture, HelpKeepsTheMainWindowInPlace) {
    form->show();
    EventCounter hidden(QEvent::Hide), enabling(QEvent::EnabledChange);
    form->installEventFilter(&hidden);
    form->installEventFilter(&enabling);
    window->helpAction->trigger();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(platform.shown()[0].title, "Options");
    EXPECT_TRUE(messages()[0].startsWith("Displays Munsell Notation of Selected Pixels"));
    EXPECT_TRUE(messages()[0].contains("View 3D Palette - Displays Palette in 3D display\r\n"));
    EXPECT_TRUE(messages()[0].contains("Chart> Calibrate with chart"));
    EXPECT_EQ(messages()[0].count("\r\n"), 15);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(hidden.count, 0);
    EXPECT_EQ(enabling.count, 2); // disabled for the help, enabled again after
    EXPECT_TRUE(form->isEnabled());
    form->removeEventFilter(&hidden);
    form->removeEventFilter(&enabling);
}

} // namespace
} // namespace huelinx::testing
