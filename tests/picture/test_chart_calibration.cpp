#include "main_window_fixture.h"

#include "colour/colour_model.h"
#include "palette/palette_file.h"
#include "photo/calibration.h"
#include "picture/picture_surface.h"
#include "picture/picture_window.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <functional>
#include <map>
#include <tuple>

namespace huelinx::testing {
namespace {

// A chart photographed by a made-up camera: its linear R, G, B are fixed
// positive mixtures of X, Y, Z (so no real colour clips at 0), encoded as
// 8-bit sRGB. Patches are 50 pixels wide on a 60-pixel pitch; a sample and a
// grey card stand beside the chart.
constexpr int pitch = 60, patch = 50, left = 40, top = 40;

QPoint patchCentre(int index) {
    return {left + patch / 2 + pitch * (index % 6), top + patch / 2 + pitch * (index / 6)};
}

double encoded(double linear) {
    const double v = std::clamp(linear, 0.0, 1.0);
    return v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
}

using Linear = std::array<double, 3>;

// The camera's linear R, G, B for X, Y, Z (white Y = 100) under light of `exposure`.
Linear camera(const Tristimulus& xyz, double exposure) {
    const double X = xyz.X / 100 * exposure, Y = xyz.Y / 100 * exposure, Z = xyz.Z / 100 * exposure;
    return {0.70 * X + 0.15 * Y, 0.15 * X + 0.62 * Y + 0.05 * Z, 0.04 * Y + 0.66 * Z};
}

const Tristimulus sampleXyz{28.0, 22.0, 9.0}; // a brown soil
const QPoint sampleCentre{520, 330};
const QPoint greyCentre{520, 70};

std::array<Tristimulus, photo::chartPatches> reference() {
    const auto read = photo::chartReference(HUELINX_DATA_DIR "/photo/chart-reflectance.csv");
    EXPECT_TRUE(read.value) << read.message;
    return read.value.value_or(std::array<Tristimulus, photo::chartPatches>{});
}

// The whole scene as linear camera values, each pixel given to `put`;
// `sampleLight` scales the light on the sample and the grey card (Y 50),
// `chartLight` that on the chart, and `rightGreys` that on the right half of
// its grey row besides.
void renderScene(double chartLight, double sampleLight, double rightGreys,
                 const std::function<void(int x, int y, const Linear&)>& put) {
    for (int y = 0; y < 440; ++y)
        for (int x = 0; x < 640; ++x)
            put(x, y, {0.1, 0.1, 0.1});
    const auto square = [&put](QPoint c, int half, const Linear& rgb) {
        for (int y = c.y() - half; y < c.y() + half; ++y)
            for (int x = c.x() - half; x < c.x() + half; ++x)
                put(x, y, rgb);
    };
    const auto known = reference();
    for (int i = 0; i < photo::chartPatches; ++i)
        square(patchCentre(i), patch / 2,
               camera(known[i], chartLight * (i >= 21 ? rightGreys : 1.0)));
    square(sampleCentre, 30, camera(sampleXyz, sampleLight));
    // A neutral grey of Y 50 under illuminant C.
    square(greyCentre, 30, camera({0.98041 * 50, 50, 1.18103 * 50}, sampleLight));
}

// The scene as an 8-bit sRGB picture (made once for each light).
QImage chartPicture(double chartLight = 0.8, double sampleLight = 0.8, double rightGreys = 1) {
    static std::map<std::tuple<double, double, double>, QImage> made;
    QImage& image = made[{chartLight, sampleLight, rightGreys}];
    if (!image.isNull()) return image;
    image = QImage(640, 440, QImage::Format_RGB32);
    renderScene(chartLight, sampleLight, rightGreys, [&image](int x, int y, const Linear& rgb) {
        int out[3];
        for (int i = 0; i < 3; ++i)
            out[i] = static_cast<int>(std::lround(255 * encoded(rgb[i])));
        image.setPixel(x, y, qRgb(out[0], out[1], out[2]));
    });
    return image;
}

// The scene as a 16-bit linear picture, as a raw developer writes it.
photo::Picture linearPicture() {
    photo::Picture picture;
    picture.width = 640;
    picture.height = 440;
    picture.bits = 16;
    picture.samples.resize(3 * picture.pixelCount());
    renderScene(0.8, 0.8, 1, [&picture](int x, int y, const Linear& rgb) {
        for (int i = 0; i < 3; ++i)
            picture.samples[3 * (std::size_t(y) * 640 + x) + i] =
                static_cast<std::uint16_t>(std::lround(65535 * std::clamp(rgb[i], 0.0, 1.0)));
    });
    return picture;
}

class ChartCalibrationTest : public MainWindowTest {
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
    void openPicture(const QImage& image, const QString& file = "chart.png") {
        ASSERT_TRUE(image.save(file, "PNG"));
        platform.queueFile(file);
        window->loadPictureAction->trigger();
    }
    // "Calibrate with chart" and the four corner patches clicked in order.
    void calibrate() {
        window->calibrateChartAction->trigger();
        for (int index : {0, 5, 23, 18}) {
            EXPECT_TRUE(window->statusBox->text().contains(cornerNames[prompt++ % 4]));
            QTest::mouseClick(window->picture, Qt::LeftButton, {}, patchCentre(index));
        }
    }
    // X, Y, Z of the main window's boxes.
    QString munsell() const {
        return text(ui().munsellBoxes[0]) + " " + text(ui().munsellBoxes[1]) + "/" +
               text(ui().munsellBoxes[2]);
    }
    Tristimulus boxes() const {
        return {text(ui().xyzBoxes[0]).toFloat(), text(ui().xyzBoxes[1]).toFloat(),
                text(ui().xyzBoxes[2]).toFloat()};
    }
    void readAt(QPoint point) {
        window->setSampleSize(2);
        QTest::mouseClick(window->picture, Qt::LeftButton, {}, point);
    }
    static constexpr const char* cornerNames[4] = {"dark skin", "bluish green", "black", "white"};
    int prompt = 0;
    PictureWindow* window = nullptr;
};

TEST_F(ChartCalibrationTest, CornersClickedInOrderOutlineThePatchesAndFitTheChart) {
    openPicture(chartPicture());
    calibrate();
    EXPECT_TRUE(messages().empty());
    ASSERT_TRUE(window->chart.fit());
    EXPECT_TRUE(window->statusBox->text().startsWith("Calibrated with the chart (3x3): expected"))
        << window->statusBox->text().toStdString();
    // 24 squares and four corner crosses; each square lies on its own patch:
    // every pixel under its outline has the patch's colour.
    const auto& marks = window->picture->marks();
    ASSERT_EQ(marks.size(), 28u);
    const QImage& shown = window->picture->image();
    for (int i = 0; i < photo::chartPatches; ++i) {
        const QRect square = marks[i].rect.toAlignedRect();
        EXPECT_EQ(marks[i].shape, PictureSurface::Mark::Square);
        EXPECT_GE(square.width(), 20) << i;
        const QRgb expected = shown.pixel(patchCentre(i));
        for (int x = square.left(); x <= square.right(); ++x)
            for (int y : {square.top(), square.bottom()})
                ASSERT_EQ(shown.pixel(x, y), expected) << "patch " << i + 1;
        for (int y = square.top(); y <= square.bottom(); ++y)
            for (int x : {square.left(), square.right()})
                ASSERT_EQ(shown.pixel(x, y), expected) << "patch " << i + 1;
        // An 8-bit picture of a linear camera fits well: outlined green.
        EXPECT_EQ(marks[i].colour, residualColour(window->chart.fit()->residual[i]));
    }
    EXPECT_LT(window->chart.fit()->expectedMedian, 1.0);
    // A patch's tooltip gives its own errors; the picture beside the chart has none.
    const QString tip = window->picture->tooltipAt(patchCentre(17).x(), patchCentre(17).y());
    EXPECT_TRUE(tip.startsWith("patch 18 (")) << tip.toStdString();
    EXPECT_TRUE(tip.contains(QString::number(window->chart.fit()->leftOut[17], 'f', 2)));
    EXPECT_TRUE(window->picture->tooltipAt(sampleCentre.x(), sampleCentre.y()).isEmpty());
}

TEST_F(ChartCalibrationTest, CalibratedClicksAreMeasurementsAndClearGoesBackToDisplayRgb) {
    openPicture(chartPicture());
    readAt(sampleCentre);
    const Tristimulus uncalibrated = boxes();
    EXPECT_FALSE(window->notationBox->text().contains("calibrated"));
    calibrate();
    readAt(sampleCentre);
    const Tristimulus read = boxes();
    EXPECT_NEAR(read.X, sampleXyz.X, 0.5);
    EXPECT_NEAR(read.Y, sampleXyz.Y, 0.5);
    EXPECT_NEAR(read.Z, sampleXyz.Z, 0.5);
    // Far from what display RGB makes of this camera's picture.
    EXPECT_GT(std::abs(uncalibrated.Z - sampleXyz.Z) + std::abs(uncalibrated.X - sampleXyz.X), 2.0);
    // The Munsell notation is that of the sample's known colour.
    const ColourModel known = enterXyzValues(form->colour(), sampleXyz, session().table());
    EXPECT_EQ(text(ui().munsellBoxes[0]).left(2), QString::fromStdString(known[Box::Hue]).left(2));
    EXPECT_NEAR(text(ui().munsellBoxes[1]).toDouble(), std::stod(known[Box::Value]), 0.1);
    const QString line = window->notationBox->text();
    EXPECT_TRUE(line.contains(QString::fromUtf8("calibrated, expected ΔE00 ")))
        << line.toStdString();
    EXPECT_TRUE(line.contains("not checked")) << line.toStdString();
    EXPECT_TRUE(line.contains("Hue = " + text(ui().munsellBoxes[0])));

    window->clearCalibrationAction->trigger();
    EXPECT_FALSE(window->chart.fit());
    EXPECT_TRUE(window->picture->marks().empty());
    readAt(sampleCentre);
    EXPECT_NEAR(boxes().X, uncalibrated.X, 1e-3);
    EXPECT_FALSE(window->notationBox->text().contains("calibrated"));
}

TEST_F(ChartCalibrationTest, ClippedPatchesAreRefusedWithOneMessage) {
    // Twice the light: the white patch reads 255 in every channel.
    openPicture(chartPicture(2.0));
    calibrate();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].startsWith("The chart can't be used: "))
        << messages()[0].toStdString();
    EXPECT_FALSE(window->chart.fit());
    EXPECT_TRUE(window->statusBox->text().startsWith("Not calibrated"));
    // The squares stay white where they were read, and clicks read display RGB.
    ASSERT_EQ(window->picture->marks().size(), 28u);
    EXPECT_EQ(window->picture->marks()[0].colour, QColor(Qt::white));
    readAt(sampleCentre);
    EXPECT_FALSE(window->notationBox->text().contains("calibrated"));
}

TEST_F(ChartCalibrationTest, UnevenLightOnTheChartIsWarnedOfOnceAndSaidWithEveryReading) {
    // The right half of the grey row in a shadow 30 % darker.
    openPicture(chartPicture(0.8, 0.8, 0.7));
    platform.clear();
    calibrate();
    ASSERT_TRUE(window->chart.fit());
    ASSERT_FALSE(window->chart.fit()->warnings.empty());
    const QString warning = QString::fromStdString(window->chart.fit()->warnings[0]);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(platform.shown()[0].title, "Calibrate with chart");
    EXPECT_TRUE(messages()[0].contains(warning));
    EXPECT_TRUE(window->statusBox->text().contains(warning));
    readAt(sampleCentre);
    EXPECT_EQ(window->notationBox->text().count(warning), 1)
        << window->notationBox->text().toStdString();
}

TEST_F(ChartCalibrationTest, MovingACornerFitsAgainAndAStillPressReadsThePatch) {
    openPicture(chartPicture());
    calibrate();
    const double before = window->chart.fit()->expectedMedian;
    // A press and release on the black patch's centre reads it.
    readAt(patchCentre(23));
    EXPECT_TRUE(window->notationBox->text().contains("calibrated"));
    EXPECT_EQ(window->chart.fit()->corners.bottomRight.x, patchCentre(23).x());
    // Dragged half a patch off, the grid no longer sits on the patches.
    const QPoint off = patchCentre(23) + QPoint(25, 22);
    window->onPictureClicked(patchCentre(23).x(), patchCentre(23).y());
    window->onPictureMouseMove(off.x() - 10, off.y());
    window->onPictureMouseMove(off.x(), off.y());
    window->onPictureReleased(off.x(), off.y());
    EXPECT_EQ(window->chart.corners()->bottomRight.x, off.x());
    EXPECT_TRUE(!window->chart.fit() || window->chart.fit()->expectedMedian > before + 1);
    platform.clear();
    // And back.
    window->onPictureClicked(off.x(), off.y());
    window->onPictureMouseMove(patchCentre(23).x(), patchCentre(23).y());
    window->onPictureReleased(patchCentre(23).x(), patchCentre(23).y());
    ASSERT_TRUE(window->chart.fit());
    EXPECT_NEAR(window->chart.fit()->expectedMedian, before, 1e-9);
}

TEST_F(ChartCalibrationTest, AGreyReferenceScalesASampleLitLessThanTheChart) {
    openPicture(chartPicture(0.8, 0.8 * 0.7));
    calibrate();
    readAt(sampleCentre);
    EXPECT_NEAR(boxes().Y, 0.7 * sampleXyz.Y, 0.5);
    EXPECT_TRUE(window->notationBox->text().contains("not checked"));

    platform.queueInput("50");
    window->greyReferenceAction->trigger();
    readAt(greyCentre);
    ASSERT_TRUE(window->chart.greyReference);
    EXPECT_EQ(window->chart.greyReference->y, 50);
    readAt(sampleCentre);
    EXPECT_NEAR(boxes().Y, sampleXyz.Y, 0.5);
    EXPECT_NEAR(boxes().X, sampleXyz.X, 0.5);
    EXPECT_FALSE(window->notationBox->text().contains("not checked"));
    // The default asked is 18; a Y that is no luminance factor is refused.
    platform.clear();
    platform.queueInput("0");
    window->greyReferenceAction->trigger();
    readAt(greyCentre);
    ASSERT_EQ(platform.shown().size(), 2u);
    EXPECT_EQ(platform.shown()[0].defaultText, "18");
    EXPECT_TRUE(messages()[0].contains("above 0 and at most 100"));
    EXPECT_EQ(window->chart.greyReference->y, 50); // the reference before stays
}

TEST_F(ChartCalibrationTest, AGreyReferenceThatReadsNoLightStopsReadingsAndThePalette) {
    openPicture(chartPicture());
    calibrate();
    QImage dark = chartPicture();
    for (int y = greyCentre.y() - 20; y < greyCentre.y() + 20; ++y)
        for (int x = greyCentre.x() - 20; x < greyCentre.x() + 20; ++x)
            dark.setPixel(x, y, qRgb(0, 0, 0));
    window->picture->setPicture(dark);
    platform.queueInput("18");
    window->greyReferenceAction->trigger();
    readAt(greyCentre);
    const QString before = munsell();
    readAt(sampleCentre);
    // Neither a reading scaled by nothing nor display RGB in its place.
    EXPECT_TRUE(window->notationBox->text().startsWith("Not read: "))
        << window->notationBox->text().toStdString();
    EXPECT_EQ(munsell(), before);
    platform.clear();
    platform.queueInput("dark");
    platform.queueInput("20");
    platform.queueAnswer(Answer::Yes);
    window->makePaletteAction->trigger();
    ASSERT_EQ(messages().size(), 2u); // the number of blocks asked, then why no palette
    EXPECT_TRUE(messages()[1].startsWith("No palette made: ")) << messages()[1].toStdString();
    EXPECT_FALSE(QFileInfo::exists("dark.csv"));
    EXPECT_FALSE(window->paletteMade);
}

TEST_F(ChartCalibrationTest, TheCalibrationIsKeptBesideThePictureAndReadWhenItIsOpened) {
    openPicture(chartPicture());
    calibrate();
    ASSERT_TRUE(QFileInfo::exists("chart.png.calibration.txt"));
    const photo::Calibration made = *window->chart.fit();
    openPicture(chartPicture(), "other.png");
    EXPECT_FALSE(window->chart.fit());
    EXPECT_TRUE(window->picture->marks().empty());
    // A shot of the same light shares the chart shot's calibration.
    QFile::copy("chart.png.calibration.txt", "other.png.calibration.txt");
    openPicture(chartPicture(), "other.png");
    EXPECT_TRUE(messages().empty());
    ASSERT_TRUE(window->chart.fit());
    EXPECT_EQ(window->chart.fit()->corners.bottomLeft.y, made.corners.bottomLeft.y);
    EXPECT_EQ(window->picture->marks().size(), 28u);
    readAt(sampleCentre);
    EXPECT_NEAR(boxes().Y, sampleXyz.Y, 0.5);
    // A damaged file: one message, and the picture opens uncalibrated.
    QFile bad("other.png.calibration.txt");
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
    bad.write("not a calibration\n");
    bad.close();
    openPicture(chartPicture(), "other.png");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].contains("opens uncalibrated"));
    EXPECT_FALSE(window->chart.fit());
    EXPECT_EQ(window->picture->pictureWidth(), 640);
}

TEST_F(ChartCalibrationTest, OnlyAPictureChosenFromAFileKeepsItsCalibrationBesideIt) {
    // The program's own picture, then a picture put in its place.
    const QString programs = HUELINX_DATA_DIR "/TestImage.jpg.calibration.txt";
    window->picture->setPicture(chartPicture());
    calibrate();
    ASSERT_TRUE(window->chart.fit());
    EXPECT_FALSE(QFileInfo::exists(programs));
    // A file chosen, then another picture shown in its place.
    openPicture(chartPicture(), "chosen.png");
    window->picture->setPicture(chartPicture());
    calibrate();
    ASSERT_TRUE(window->chart.fit());
    EXPECT_FALSE(QFileInfo::exists("chosen.png.calibration.txt"));
    QFile::remove(programs); // a failure above leaves none behind
}

TEST_F(ChartCalibrationTest, LinearValuesFitTheChartAgainInTheirEncoding) {
    openPicture(chartPicture());
    calibrate();
    EXPECT_EQ(window->chart.fit()->encoding, photo::Encoding::Srgb);
    const double srgb = window->chart.fit()->expectedMedian;
    window->linearValuesAction->trigger();
    ASSERT_TRUE(window->chart.fit());
    EXPECT_EQ(window->chart.fit()->encoding, photo::Encoding::Linear);
    // sRGB values taken as linear fit a 3x3 matrix worse.
    EXPECT_GT(window->chart.fit()->expectedMedian, srgb);
}

TEST_F(ChartCalibrationTest, SixteenBitLinearTiffIsMeasuredWithItsSixteenBits) {
    ASSERT_TRUE(photo::writeTiff16("chart.tif", linearPicture()).ok);
    platform.queueFile("chart.tif");
    window->loadPictureAction->trigger();
    EXPECT_TRUE(messages().empty());
    ASSERT_EQ(window->picture->pictureWidth(), 640);
    window->linearValuesAction->trigger();
    calibrate();
    ASSERT_TRUE(window->chart.fit());
    EXPECT_EQ(window->chart.fit()->encoding, photo::Encoding::Linear);
    const photo::Picture& measured =
        window->chart.picture(window->picture->original(), window->picture->pictureSerial());
    EXPECT_EQ(measured.bits, 16);
    EXPECT_EQ(measured.samples, linearPicture().samples);
    // A linear camera read in its own 16 bits fits all but exactly.
    EXPECT_LT(window->chart.fit()->expectedMax, 0.1);
    readAt(sampleCentre);
    EXPECT_NEAR(boxes().Y, sampleXyz.Y, 0.05);
    EXPECT_NEAR(boxes().Z, sampleXyz.Z, 0.05);
}

TEST_F(ChartCalibrationTest, ThePaletteOfACalibratedPictureHoldsMeasurements) {
    openPicture(chartPicture());
    calibrate();
    platform.queueInput("calibrated");
    platform.queueInput("20");
    platform.queueAnswer(Answer::Yes);
    window->makePaletteAction->trigger();
    EXPECT_TRUE(window->statusBox->text().startsWith("Palette of calibrated colours done"));
    const auto rows = readPaletteRows(readFile("calibrated.csv").toStdString());
    ASSERT_EQ(rows.size(), 32u * 22u);
    // The block at 500, 320 lies inside the sample: column 25, row 16.
    const ColourModel known = enterXyzValues(form->colour(), sampleXyz, session().table());
    const PaletteRow& block = rows[25 * 22 + 16];
    EXPECT_EQ(block.fields[2], "500 320");
    EXPECT_EQ(block.fields[3].substr(0, 2), known[Box::Hue].substr(0, 2));
}

} // namespace
} // namespace huelinx::testing
