#include "converter_contrast.h"
#include "main_window_fixture.h"

#include "exchange/palette_export.h"
#include "mainwindow/swatch.h"
#include "palette/palette_file.h"
#include "picture/picture_window.h"
#include "viewer/palette_viewer.h"
#include "viewer/viewer_surface.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <sys/stat.h>

namespace huelinx::testing {
namespace {

class Viewer : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
    }
    // Opens the viewer through its check box and stops the rotation.
    PaletteViewer& open() {
        ui().viewerCheck->setChecked(true);
        PaletteViewer* v = companions().viewer();
        v->onStop();
        platform.clear();
        return *v;
    }
    static void palette(const QString& name, const QStringList& rows) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        for (const QString& row : rows)
            f.write((row + "\r\n").toLatin1());
    }
    static QString row(const QString& tag, const QString& hue, const QString& value,
                       const QString& chroma) {
        return "\"12-17-2022\",\"10:30:00\",\"" + tag + "\",\"" + hue + "\",\"" + value + "\",\"" +
               chroma + "\",\"1\",\"2\",\"3\",";
    }
};

TEST_F(Viewer, OpensOnTheDefaultPaletteAndRotates) {
    ui().viewerCheck->setChecked(true);
    PaletteViewer& v = *companions().viewer();
    EXPECT_EQ(v.windowTitle(), "Vantorix 3D Munsell Palette Viewer");
    EXPECT_EQ(v.pointCount(), 216);
    EXPECT_EQ(v.paletteList->count(), 216);
    EXPECT_EQ(v.statusBox->text(), "Loaded Palette newpalette2.csv");
    EXPECT_EQ(v.statusBox->palette().color(QPalette::Base), QColor(0, 255, 0));
    EXPECT_EQ(readFile("LastPalette.txt"), "newpalette2.csv\r\n");
    EXPECT_TRUE(v.rotationTimer->isActive());
    EXPECT_TRUE(v.redrawTimer->isActive());
    EXPECT_EQ(v.stopButton->palette().color(QPalette::Button), QColor(160, 224, 160));
    v.onStop();
    EXPECT_FALSE(v.rotationTimer->isActive());
    EXPECT_EQ(v.rotateButton->palette().color(QPalette::Button), QColor(160, 224, 160));
    EXPECT_EQ(v.rotationSlider->value(), v.rotationSlider->value()); // sliders keep their places
    EXPECT_EQ(v.tiltSlider->value(), 15);
    EXPECT_EQ(v.zoomSlider->value(), 20);
    // e&Xit hides without touching the check box; the close box destroys the
    // window and clears the box, as a chart's does.
    v.exitAction->trigger();
    EXPECT_TRUE(v.isHidden());
    EXPECT_TRUE(ui().viewerCheck->isChecked());
    ui().viewerCheck->setChecked(false);
    ui().viewerCheck->setChecked(true);
    EXPECT_FALSE(v.isHidden());
    v.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(companions().viewer(), nullptr);
    EXPECT_FALSE(ui().viewerCheck->isChecked());
}

TEST_F(Viewer, ListEntriesAndHueTexts) {
    palette("one.csv", {row("tile", "5.0YR", "5", "0.5"), row("leaf", "2.5gy", "6", "12.5")});
    PaletteViewer& v = open();
    setPaletteFile("one.csv");
    v.loadPalette(PaletteSource::CurrentFile);
    ASSERT_EQ(v.pointCount(), 2);
    const QString first = v.paletteList->item(0)->text();
    EXPECT_TRUE(first.startsWith("1  tile ")) << first.toStdString();
    EXPECT_TRUE(first.contains("  H 5.0yr ")) << first.toStdString();
    EXPECT_TRUE(first.endsWith("  V 5.00  C   .50")) << first.toStdString();
    EXPECT_TRUE(v.paletteList->item(1)->text().endsWith("  V 6.00  C 12.50"));
    EXPECT_TRUE(v.hueTextOf(1).startsWith("5.0yr "));
    EXPECT_EQ(v.entry(2).hueAngle, static_cast<float>(32.5 * 3.6 * 0.0174532925));
    EXPECT_EQ(readFile("LastPalette.txt"), "one.csv\r\n");
    // Each row's colour is what the main window's conversion gives its
    // notation, and the main window keeps its own colour.
    ColourModel typed = edit(form->colour(), Box::Hue, "2.5gy");
    typed =
        enterMunsell(edit(edit(typed, Box::Value, "6"), Box::Chroma, "12.5"), session().table());
    EXPECT_EQ(v.entry(2).rgb[0], typed.red);
    EXPECT_NE(form->colour()[Box::Hue], "2.5gy");
}

TEST_F(Viewer, ColoursWithoutANotationAreLeftOutAndCounted) {
    PaletteViewer& v = open();
    palette("outside.csv", {row("a", "5R", "5", "4"), row("b", "", "3.68", ""),
                            row("c", "N", "7", "0"), row("d", "", "2", "")});
    setPaletteFile("outside.csv");
    v.loadPalette(PaletteSource::CurrentFile);
    EXPECT_EQ(messages(),
              std::vector<QString>{
                  "2 colour(s) of outside.csv have no Munsell notation and are not shown."});
    ASSERT_EQ(v.pointCount(), 2);
    EXPECT_EQ(v.entry(2).tag, "c");
    EXPECT_EQ(v.entry(2).chroma, 0.0f);
    EXPECT_EQ(v.entry(2).rgb[0], v.entry(2).rgb[2]); // a grey
}

TEST_F(Viewer, RowsThatCannotBeReadEndTheLoadAndKeepTheEarlierEntries) {
    PaletteViewer& v = open();
    const QString remembered = readFile("LastPalette.txt");
    palette("bad.csv",
            {row("a", "5R", "5", "4"), row("b", "5Y", "7", "6"), row("c", "5G", "x", "4")});
    setPaletteFile("bad.csv");
    v.loadPalette(PaletteSource::CurrentFile);
    EXPECT_EQ(messages(),
              std::vector<QString>{"File format Error or Palette not generatedbad.csv"});
    EXPECT_EQ(v.pointCount(), 2);
    EXPECT_EQ(readFile("LastPalette.txt"), remembered);
    platform.clear();
    palette("short.csv", {row("a", "5R", "5", "4"), "\"d\",\"t\",\"tag\",\"5R\""});
    setPaletteFile("short.csv");
    v.loadPalette(PaletteSource::CurrentFile);
    EXPECT_EQ(messages(),
              std::vector<QString>{"File format Error or Palette not generatedshort.csv"});
    EXPECT_EQ(v.pointCount(), 1);
    // A missing file keeps the dots of the palette before it; picking then
    // selects no list row that isn't there.
    platform.clear();
    setPaletteFile("missing.csv");
    v.loadPalette(PaletteSource::CurrentFile);
    EXPECT_EQ(messages(),
              std::vector<QString>{"File format Error or Palette not generatedmissing.csv"});
    EXPECT_EQ(v.pointCount(), 1);
    EXPECT_EQ(v.paletteList->count(), 0);
    v.drawPalette();
    const QPointF at = v.drawing->toPixels(v.dotAt(1).x, v.dotAt(1).y);
    v.onDrawingClicked(1, static_cast<int>(at.x()), static_cast<int>(at.y()));
    EXPECT_EQ(v.paletteList->currentRow(), -1);
    EXPECT_EQ(v.pickedTags[0]->text(), "a");
    // A cancelled open dialog keeps the palette.
    platform.queueFile("");
    v.openPaletteAction->trigger();
    EXPECT_EQ(v.pointCount(), 1);
}

TEST_F(Viewer, ARememberedDeviceOrFifoIsRefusedAtOnce) {
    // Neither is read: /dev/zero never ends, a FIFO nobody writes never answers.
    ASSERT_EQ(::mkfifo("pipe.csv", 0600), 0);
    palette("LastPalette.txt", {"/dev/zero"});
    ui().viewerCheck->setChecked(true);
    PaletteViewer& v = *companions().viewer();
    EXPECT_EQ(messages(), std::vector<QString>{"\"/dev/zero\" is not a plain file."});
    EXPECT_EQ(v.pointCount(), 0);
    EXPECT_EQ(readFile("LastPalette.txt"), "/dev/zero\r\n");
    platform.clear();
    palette("LastPalette.txt", {"pipe.csv"});
    v.loadPalette(PaletteSource::Remembered);
    EXPECT_EQ(messages(), std::vector<QString>{"\"pipe.csv\" is not a plain file."});
    EXPECT_EQ(v.pointCount(), 0);
    // LastPalette.txt itself as a FIFO: the default palette opens.
    QFile::remove("LastPalette.txt");
    ASSERT_EQ(::mkfifo("LastPalette.txt", 0600), 0);
    platform.clear();
    v.loadPalette(PaletteSource::Remembered);
    EXPECT_EQ(v.pointCount(), 216);
}

TEST_F(Viewer, TenThousandRowsAtMost) {
    QStringList rows;
    for (int i = 0; i < 10000; ++i)
        rows << row("t", "5R", "5", "4");
    palette("full.csv", rows);
    // Rows a view would not show don't make the palette cut: a colour
    // without a notation, a row cut short, blank lines.
    palette("a.csv", rows + QStringList{row("plain", "", "5", ""), ""});
    palette("b.csv", rows + QStringList{"\"12-17-2022\",\"10:30:00\",\"short\",\"5Y\""});
    rows << row("plain", "", "5", "") << row("extra", "5Y", "7", "6");
    palette("over.csv", rows);
    PaletteViewer& v = open();
    // Only a palette that goes on with rows to show is said to be cut, in
    // Messages and the status box, without a box to close.
    for (const char* name : {"full.csv", "a.csv", "b.csv", "over.csv"}) {
        ui().messagesBox->clear();
        setPaletteFile(name);
        v.loadPalette(PaletteSource::CurrentFile);
        EXPECT_TRUE(messages().empty()) << name;
        const QString cut = "Palette limited to 10000: rows after line 10000 of \"" +
                            QString(name) + "\" are not shown.";
        const bool over = name == std::string("over.csv");
        EXPECT_EQ(ui().messagesBox->toPlainText(), over ? cut : "") << name;
        EXPECT_EQ(v.statusBox->text(), "Loaded Palette " + QString(name) + (over ? "  " + cut : ""))
            << name;
        EXPECT_EQ(v.pointCount(), 10000);
        EXPECT_EQ(v.paletteList->count(), 10000);
        platform.clear();
    }
}

TEST_F(Viewer, RowsThatGiveMessagesAreSaidInOneBoxWithTheirCountAndTheFirstFew) {
    QStringList rows{row("first", "5R", "5", "4")};
    for (int i = 0; i < 2000; ++i)
        rows << (i % 2 ? row("far", "5R", "5", "80") : row("odd", "5Q", "5", "4"));
    rows << row("last", "5Y", "7", "6");
    palette("many.csv", rows);
    PaletteViewer& v = open();
    setPaletteFile("many.csv");
    v.loadPalette(PaletteSource::CurrentFile);
    EXPECT_EQ(messages(), std::vector<QString>{"2000 row(s) of \"many.csv\" gave a message: "
                                               "line 2: Format Error, Out of Munsell Range; "
                                               "line 3: Out of Munsell Range; "
                                               "line 4: Format Error, Out of Munsell Range; "
                                               "and 1997 more."});
    EXPECT_EQ(v.pointCount(), 2002);
    EXPECT_EQ(v.statusBox->text(), "Loaded Palette many.csv");
    // A hue without family is also out of the data: a row says all its
    // messages. Three rows are all named; a clean palette says nothing.
    palette("few.csv",
            {row("a", "5R", "5", "4"), row("b", "5Q", "5", "4"), row("c", "5R", "5", "4"),
             row("d", "5Q", "5", "4"), row("e", "5R", "5", "80")});
    setPaletteFile("few.csv");
    platform.clear();
    v.loadPalette(PaletteSource::CurrentFile);
    EXPECT_EQ(messages(), std::vector<QString>{"3 row(s) of \"few.csv\" gave a message: "
                                               "line 2: Format Error, Out of Munsell Range; "
                                               "line 4: Format Error, Out of Munsell Range; "
                                               "line 5: Out of Munsell Range."});
    palette("clean.csv", {row("a", "5R", "5", "4")});
    setPaletteFile("clean.csv");
    platform.clear();
    v.loadPalette(PaletteSource::CurrentFile);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Viewer, PickingWithEitherButtonFillsItsSideAndDotsAreDrawnInTheirColours) {
    palette("two.csv", {row("red", "5R", "5", "12"), row("blue", "5PB", "4", "10"),
                        row("again", "5PB", "4", "10")});
    PaletteViewer& v = open();
    setPaletteFile("two.csv");
    v.loadPalette(PaletteSource::CurrentFile);
    v.drawPalette();
    const auto pixelOf = [&](int i) {
        const QPointF at = v.drawing->toPixels(v.dotAt(i).x, v.dotAt(i).y);
        return QPoint(static_cast<int>(at.x()), static_cast<int>(at.y()));
    };
    const QPoint red = pixelOf(1), blue = pixelOf(2);
    const long drawn = v.drawing->pixel(red.x(), red.y());
    EXPECT_EQ(QColor(drawn & 0xFF, (drawn >> 8) & 0xFF, (drawn >> 16) & 0xFF),
              QColor(v.entry(1).rgb[0], v.entry(1).rgb[1], v.entry(1).rgb[2]));
    v.onDrawingClicked(1, red.x(), red.y());
    v.onDrawingClicked(2, blue.x(), blue.y());
    EXPECT_EQ(v.pickedTags[0]->text(), "red");
    EXPECT_EQ(v.pickedTags[1]->text(), "blue"); // entry 3 lies on entry 2: the earlier wins
    EXPECT_EQ(v.pickedNotations[1]->text(), v.hueTextOf(2) + " 4.00/10.00");
    EXPECT_EQ(v.pickedNames[0]->text(), "strong red (s.R)");
    EXPECT_EQ(v.pickedNames[1]->text(), "strong blue (s.B)");
    EXPECT_EQ(v.leftPickSwatch->palette().color(QPalette::Window),
              QColor(v.entry(1).rgb[0], v.entry(1).rgb[1], v.entry(1).rgb[2]));
    EXPECT_EQ(v.rightPickSwatch->palette().color(QPalette::Window),
              QColor(v.entry(2).rgb[0], v.entry(2).rgb[1], v.entry(2).rgb[2]));
    EXPECT_EQ(v.paletteList->currentRow(), 1);
    // The selected entry gets a white centre (entry 3 covers entry 2, so look at entry 1).
    v.onDrawingClicked(1, red.x(), red.y());
    v.drawPalette();
    EXPECT_EQ(v.drawing->pixel(red.x(), red.y()), 0xFFFFFFL);
    // Other buttons do nothing.
    v.onDrawingClicked(0, blue.x(), blue.y());
    EXPECT_EQ(v.paletteList->currentRow(), 0);
}

TEST_F(Viewer, TwoPicksAreComparedAsTheMainWindowAndTheConverterCompareThem) {
    palette("soil.csv", {row("matrix", "10YR", "6", "3"), row("mottle", "5YR", "3", "4"),
                         row("off", "5YR", "3.2", "4.3")});
    PaletteViewer& v = open();
    setPaletteFile("soil.csv");
    v.loadPalette(PaletteSource::CurrentFile);
    v.drawPalette();
    const auto pick = [&](int button, int i) {
        const QPointF at = v.drawing->toPixels(v.dotAt(i).x, v.dotAt(i).y);
        v.onDrawingClicked(button, static_cast<int>(at.x()), static_cast<int>(at.y()));
    };
    const auto colourBefore = session().colour().box;
    // One pick alone compares nothing.
    pick(1, 1);
    EXPECT_TRUE(v.contrastLine->text().isEmpty());
    pick(2, 2);
    const std::string line = v.contrastLine->text().toStdString();
    EXPECT_EQ(line, converterContrastLine(session().resources(), "10YR 6/3", "5YR 3/4"));
    EXPECT_TRUE(v.contrastLine->text().startsWith("10YR 6/3 against 5YR 3/4: Prominent, "));
    EXPECT_EQ(session().colour().box, colourBefore); // picking changes no colour

    // The main window says the same for the same pair.
    ui().munsellBoxes[0]->setText("10YR");
    ui().munsellBoxes[1]->setText("6");
    enter(ui().munsellBoxes[2], "3");
    platform.queueInput("Palette row 2");
    ui().compareButton->click();
    EXPECT_EQ(ui().messagesBox->toPlainText().toStdString(), line);

    // A pick off the chips says which chip it was taken to; no box opens.
    pick(2, 3);
    EXPECT_EQ(v.contrastLine->text().toStdString(),
              converterContrastLine(session().resources(), "10YR 6/3", "5YR 3.2/4.3"));
    EXPECT_TRUE(v.contrastLine->text().endsWith("taken to the soil chip 5YR 3/4"));
    EXPECT_TRUE(messages().empty());
}

TEST_F(Viewer, DotsOffThePictureOrNotANumberDrawNothingAndEdgeDotsTheirVisiblePart) {
    PaletteViewer& v = open();
    ViewerSurface& s = *v.drawing;
    s.begin(ViewParams{});
    s.endPainter();
    const QImage blank = s.image();
    const double far = 1e30, nan = std::nan(""), inf = HUGE_VAL;
    const double places[][3] = {{far, 0, 10},  {-far, 0, 10},   {0, far, 10},    {0, -far, 10},
                                {nan, 0, 10},  {0, nan, 10},    {inf, -inf, 10}, {0, 0, nan},
                                {far, 0, far}, {-far, far, far}};
    for (const auto& [x, y, width] : places)
        s.dot(x, y, width, Qt::red);
    EXPECT_EQ(s.image(), blank);
    // A dot whose centre lies just left of the picture shows its right half.
    const double left = s.toUnits(-1, 0).x, middle = s.toUnits(0, 196.5).y;
    s.dot(left, middle, 8, Qt::red);
    EXPECT_EQ(s.pixel(0, 196), 0x0000FFL);
    EXPECT_EQ(s.pixel(3, 196), 0xE0E0E0L);
    // A dot larger than the picture covers all of it.
    s.dot(0, 0, 1e6, Qt::blue);
    EXPECT_EQ(s.pixel(0, 0), 0xFF0000L);
    EXPECT_EQ(s.pixel(ViewerSurface::pixelWidth - 1, ViewerSurface::pixelHeight - 1), 0xFF0000L);
    s.end();
}

TEST_F(Viewer, RowsWithEnormousValuesOrChromasLoadAndDrawBesideTheOthers) {
    palette("far.csv", {row("near", "5R", "5", "4"), row("chroma", "5Y", "5", "1e30"),
                        row("value", "5G", "1e30", "4"), row("under", "5B", "-1e39", "-1e30"),
                        row("hue", "1e30R", "5", "4")});
    PaletteViewer& v = open();
    setPaletteFile("far.csv");
    v.loadPalette(PaletteSource::CurrentFile);
    ASSERT_EQ(v.pointCount(), 5);
    v.sampleNumbersCheck->setChecked(true);
    v.paletteList->setCurrentRow(1);
    v.drawPalette();
    const QPointF at = v.drawing->toPixels(v.dotAt(1).x, v.dotAt(1).y);
    const long drawn = v.drawing->pixel(static_cast<int>(at.x()), static_cast<int>(at.y()));
    EXPECT_EQ(QColor(drawn & 0xFF, (drawn >> 8) & 0xFF, (drawn >> 16) & 0xFF),
              QColor(v.entry(1).rgb[0], v.entry(1).rgb[1], v.entry(1).rgb[2]));
    v.onDrawingClicked(1, static_cast<int>(at.x()), static_cast<int>(at.y()));
    EXPECT_EQ(v.pickedTags[0]->text(), "near");
}

TEST_F(Viewer, RotationTicksWrapAndTakeTheSpeed) {
    PaletteViewer& v = open();
    v.rotationSlider->setValue(179);
    v.speedSlider->setValue(37);
    v.onRotationTick();
    EXPECT_EQ(v.rotationSlider->value(), 180);
    EXPECT_EQ(v.rotationTimer->interval(), 37);
    v.onRotationTick();
    EXPECT_EQ(v.rotationSlider->value(), -180);
}

TEST_F(Viewer, MessagesAndTheOtherWindowsThatReloadIt) {
    PaletteViewer& v = open();
    v.helpAction->trigger();
    v.newPaletteAction->trigger();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_TRUE(messages()[0].startsWith(
        "Continuous rotation of palette is controlled by the 'Rotate' and 'Stop' buttons\r\n"));
    EXPECT_TRUE(messages()[0].contains("image analysis screen\r\rIdentify colors"));
    EXPECT_TRUE(messages()[0].endsWith("right-clicking the second color\r\n"));
    EXPECT_TRUE(messages()[1].startsWith("To make a new palette or add to a current palette"));
    // "Save to Palette" reloads the viewer while its box is ticked.
    platform.clear();
    setPaletteFile("saved.csv");
    platform.queueInput("first");
    onSaveToPalette();
    EXPECT_EQ(v.pointCount(), 1);
    EXPECT_EQ(v.statusBox->text(), "Loaded Palette saved.csv");
    // The picture window's "View 3D Palette" loads the palette it just made.
    palette("PICT.CSV", {row("p", "5R", "5", "4"), row("q", "5Y", "7", "6")});
    setPaletteFile("PICT.CSV");
    session().paletteViewWanted.send();
    EXPECT_EQ(v.pointCount(), 2);
}

} // namespace
} // namespace huelinx::testing

namespace huelinx::testing {
namespace {

TEST_F(Viewer, ExportWritesTheLoadedPaletteInTheFormatOfItsExtension) {
    palette("two.csv",
            {row("red", "5R", "5", "12"), row("", "5PB", "4", "10"), row("", "", "5", "")});
    PaletteViewer& v = open();
    setPaletteFile("two.csv");
    v.loadPalette(PaletteSource::CurrentFile);
    ASSERT_EQ(v.pointCount(), 2);
    platform.clear();
    platform.queueFile("two.gpl");
    v.exportPaletteAction->trigger();
    ASSERT_EQ(platform.shown().size(), 1u);
    EXPECT_EQ(platform.shown()[0].defaultText, "two.gpl"); // suggested after the palette
    const QStringList gpl = readFile("two.gpl").split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(gpl.size(), 6);
    EXPECT_EQ(gpl.mid(0, 4), QStringList({"GIMP Palette", "Name: two", "Columns: 0", "#"}));
    EXPECT_TRUE(gpl[4].endsWith("\tred 5R 5/12 strong red")) << gpl[4].toStdString();
    EXPECT_TRUE(gpl[5].endsWith("\t5PB 4/10 strong blue")) << gpl[5].toStdString();
    EXPECT_EQ(v.statusBox->text(), "Exported 2 colour(s) to two.gpl");

    platform.queueFile("two.ase");
    platform.queueFile("two.txt");
    v.exportPaletteAction->trigger();
    v.exportPaletteAction->trigger();
    EXPECT_TRUE(readFile("two.ase").startsWith("ASEF"));
    EXPECT_TRUE(readFile("two.txt").startsWith("CGATS.17\r\n"));
    EXPECT_TRUE(messages().empty());

    // A name the formats don't know, a folder in the way, a cancelled dialog.
    ASSERT_TRUE(QDir().mkdir("taken.gpl"));
    for (const char* name : {"two.aco", "taken.gpl", ""}) {
        platform.clear();
        platform.queueFile(name);
        v.exportPaletteAction->trigger();
        EXPECT_EQ(messages().size(), *name ? 1u : 0u) << name;
    }
    EXPECT_FALSE(QFile::exists("two.aco"));
}

// The viewer reads rows as the export reads them: a grey written "N 5/"
// without chroma is a dot on the axis, not a file in the wrong format, and
// what the viewer exports is what the converter's export of the file writes.
TEST_F(Viewer, RowsAreTheColoursTheExportWrites) {
    const QStringList rows{row("red", "5R", "5", "12"), row("card", "N", "5", ""),
                           row("odd", "5Q", "5", "4"),  row("far", "5R", "5", "80"),
                           row("", "", "6", ""),        row("leaf", "5G", "6", "20")};
    palette("grey.csv", rows);
    PaletteViewer& v = open();
    setPaletteFile("grey.csv");
    ColourModel colour = session().colour();
    int skipped = 0;
    const std::vector<PaletteSwatch> exported =
        paletteSwatches(readPaletteRows(readFile("grey.csv").toStdString()), colour,
                        session().table(), session().resources().names(), skipped);
    v.loadPalette(PaletteSource::CurrentFile);
    EXPECT_EQ(messages(), (std::vector<QString>{
                              "1 colour(s) of grey.csv have no Munsell notation and are not shown.",
                              "2 row(s) of \"grey.csv\" gave a message: line 3: Format Error, "
                              "Out of Munsell Range; line 4: Out of Munsell Range."}));
    ASSERT_EQ(v.pointCount(), 5);
    EXPECT_EQ(v.entry(2).chroma, 0.0f);
    EXPECT_TRUE(v.paletteList->item(1)->text().endsWith("  V 5.00  C   .00"));
    EXPECT_EQ(skipped, 3);
    platform.clear();
    platform.queueFile("grey.gpl");
    v.exportPaletteAction->trigger();
    EXPECT_EQ(readFile("grey.gpl").toStdString(), gplText("grey", exported));
    EXPECT_EQ(v.statusBox->text(), "Exported 3 colour(s) to grey.gpl");
}

} // namespace
} // namespace huelinx::testing

namespace huelinx::testing {
namespace {

// A viewer showing three dots far apart, to look at one by one.
class ViewerDots : public Viewer {
  protected:
    PaletteViewer& openDots() {
        palette("dots.csv", {row("red", "5R", "5", "12"), row("blue", "5PB", "4", "10"),
                             row("yellow", "5Y", "8", "10")});
        PaletteViewer& v = open();
        setPaletteFile("dots.csv");
        v.loadPalette(PaletteSource::CurrentFile);
        v.drawPalette();
        return v;
    }
    static QPoint dotPixel(const PaletteViewer& v, int i) {
        const QPointF at = v.drawing->toPixels(v.dotAt(i).x, v.dotAt(i).y);
        return {static_cast<int>(at.x()), static_cast<int>(at.y())};
    }
    static long entryColour(const PaletteViewer& v, int i) {
        const auto& rgb = v.entry(i).rgb;
        return rgb[0] | (rgb[1] << 8) | (long(rgb[2]) << 16);
    }
    // The first pixel left (step -1) or right (step 1) of entry i's centre
    // that its dot does not cover.
    static int pastEdge(const PaletteViewer& v, int i, int step) {
        QPoint p = dotPixel(v, i);
        while (v.drawing->pixel(p.x(), p.y()) == entryColour(v, i))
            p.rx() += step;
        return p.x();
    }
    static int dotWidth(const PaletteViewer& v, int i) {
        return pastEdge(v, i, 1) - pastEdge(v, i, -1) - 1;
    }
};

TEST_F(ViewerDots, TheDrawingGrowsWithTheWindowAndClicksStillPickTheirDots) {
    PaletteViewer& v = openDots();
    ASSERT_EQ(v.drawing->size(), QSize(ViewerSurface::pixelWidth, ViewerSurface::pixelHeight));
    EXPECT_EQ(v.drawing->scale(), 1.0);
    const QImage opening = v.drawing->image();
    const int openingWidth = dotWidth(v, 1);
    const QSize openingWindow = v.size();

    v.resize(openingWindow.width() + 500, openingWindow.height() + 400);
    QCoreApplication::processEvents();
    const QSize grown = v.drawing->size();
    ASSERT_GT(grown.width(), ViewerSurface::pixelWidth);
    ASSERT_GT(grown.height(), ViewerSurface::pixelHeight);
    // Drawn at the widget's size, the view the largest of its shape that fits, centred.
    EXPECT_EQ(v.drawing->image().size(), grown);
    const double scale = v.drawing->scale();
    EXPECT_DOUBLE_EQ(scale, std::min(double(grown.width()) / ViewerSurface::pixelWidth,
                                     double(grown.height()) / ViewerSurface::pixelHeight));
    EXPECT_GT(scale, 1.5);
    const ViewParams view =
        viewFromSliders(v.rotationSlider->value(), v.tiltSlider->value(), v.zoomSlider->value(),
                        v.panXSlider->value(), v.panYSlider->value());
    const QPointF centre = v.drawing->toPixels(view.panX, view.panY);
    EXPECT_NEAR(centre.x(), grown.width() / 2.0, 1e-9);
    EXPECT_NEAR(centre.y(), grown.height() / 2.0, 1e-9);
    EXPECT_NEAR(v.drawing->unitsToPixelsX(1) / v.drawing->unitsToPixelsY(1),
                double(ViewerSurface::pixelWidth) / ViewerSurface::pixelHeight, 1e-12);
    // Dots grow with the drawing (each width measured to a pixel); a click or
    // a tooltip at each still finds it.
    EXPECT_NEAR(dotWidth(v, 1), openingWidth * scale, 1 + scale);
    for (int i = 1; i <= 3; ++i) {
        const QPoint at = dotPixel(v, i);
        EXPECT_EQ(v.drawing->pixel(at.x(), at.y()), entryColour(v, i)) << i;
        v.onDrawingClicked(1 + i % 2, at.x(), at.y());
        const QString tag = QString::fromStdString(v.entry(i).tag);
        EXPECT_EQ(v.pickedTags[i % 2]->text(), tag);
        EXPECT_TRUE(v.tooltipAt(at.x(), at.y()).startsWith(tag + "  ")) << i;
    }
    // Back at the opening size the drawing is what it was.
    v.resize(openingWindow);
    QCoreApplication::processEvents();
    v.paletteList->setCurrentRow(-1);
    v.drawPalette();
    EXPECT_EQ(v.drawing->image(), opening);
}

TEST_F(ViewerDots, TooltipsNameTheDotUnderThePointerAndTheSlidersValues) {
    PaletteViewer& v = openDots();
    const QPoint red = dotPixel(v, 1);
    EXPECT_EQ(v.tooltipAt(red.x(), red.y()), "red  5r 5.00/12.00  strong red (s.R)");
    // Over any dot, the tooltip names what a click there shows.
    const QPoint blue = dotPixel(v, 2);
    v.onDrawingClicked(2, blue.x(), blue.y());
    EXPECT_EQ(v.tooltipAt(blue.x(), blue.y()), v.pickedTags[1]->text() + "  " +
                                                   v.pickedNotations[1]->text().simplified() +
                                                   "  " + v.pickedNames[1]->text());
    // The tooltip covers exactly the pixels of the dot.
    const int edge = pastEdge(v, 1, 1);
    EXPECT_FALSE(v.tooltipAt(edge - 1, red.y()).isEmpty());
    EXPECT_TRUE(v.tooltipAt(edge, red.y()).isEmpty());
    EXPECT_TRUE(v.tooltipAt(0, 0).isEmpty());
    // The drawing shows it when Qt asks for a tooltip there.
    QHelpEvent help(QEvent::ToolTip, red, v.drawing->mapToGlobal(red));
    QApplication::sendEvent(v.drawing, &help);
    EXPECT_EQ(QToolTip::text(), v.tooltipAt(red.x(), red.y()));
    QToolTip::hideText();

    const struct {
        QScrollBar* slider;
        const char* name;
        const char* unit;
    } sliders[] = {{v.rotationSlider, "Rotate", ""}, {v.tiltSlider, "Tilt", ""},
                   {v.zoomSlider, "Zoom", ""},       {v.panXSlider, "Pan X", ""},
                   {v.panYSlider, "Pan Y", ""},      {v.speedSlider, "Speed", " ms a degree"}};
    for (const auto& [slider, name, unit] : sliders) {
        const auto tip = [&] {
            return QString("%1: %2%3").arg(name).arg(slider->value()).arg(unit);
        };
        EXPECT_EQ(slider->toolTip(), tip()) << name;
        const int before = slider->value();
        slider->setValue(slider->minimum() + 7);
        ASSERT_NE(slider->value(), before) << name;
        EXPECT_EQ(slider->toolTip(), tip()) << name;
    }
}

TEST_F(Viewer, ListColumnsLineUpInAFixedPitchFontAndAllShow) {
    PaletteViewer& v = open();
    // Fixed pitch also where the machine's fixed font names a proportional one.
    EXPECT_TRUE(QFontInfo(v.paletteList->font()).fixedPitch())
        << v.paletteList->font().family().toStdString();
    // The default palette fits the list at the opening size: nothing to scroll sideways.
    v.paletteList->doItemsLayout();
    EXPECT_EQ(v.paletteList->horizontalScrollBar()->maximum(), 0);

    QStringList rows;
    for (int i = 0; i < 11; ++i)
        rows << row(QString("tag").repeated(i % 4), i % 2 ? "10.0YR" : "5R",
                    QString::number(i * 0.95), QString::number(i * 2.5));
    const QString longTag(40, 'x');
    rows << row(longTag, "5G", "5", "4");
    palette("ragged.csv", rows);
    setPaletteFile("ragged.csv");
    v.loadPalette(PaletteSource::CurrentFile);
    ASSERT_EQ(v.paletteList->count(), 12);
    // Where each column starts, in pixels of the font the list draws in.
    const QFontMetrics metrics(v.paletteList->font());
    const auto columns = [&](int r) {
        const QString text = v.paletteList->item(r)->text();
        std::vector<int> at;
        for (qsizetype end :
             {text.indexOf(" H "), text.indexOf(" V "), text.indexOf(" C "), text.size()})
            at.push_back(metrics.horizontalAdvance(text.left(end)));
        return at;
    };
    for (int r = 1; r < 11; ++r)
        EXPECT_EQ(columns(r), columns(0)) << v.paletteList->item(r)->text().toStdString();
    // A tag too long for the column pushes only its own row along, which scrolls into view.
    EXPECT_GT(columns(11)[0], columns(0)[0]);
    EXPECT_TRUE(v.paletteList->item(11)->text().contains(longTag + "  H 5g"));
    v.paletteList->doItemsLayout();
    EXPECT_GT(v.paletteList->horizontalScrollBar()->maximum(), 0);
}

// Opening the viewer, showing it on the palette file and loading a palette
// convert rows for the viewer alone: the main window keeps its colour, takes
// no input meanwhile and is never hidden (a window manager would place it anew).
class ColourOnlyWhenAsked : public Viewer, public QObject {
  protected:
    // Every line of text in the main window (the boxes, the name line) and the swatch.
    QStringList mainState() const {
        QStringList all;
        for (auto* box : form->findChildren<QLineEdit*>())
            all << box->objectName() + "=" + box->text();
        return all << ui().swatch->backColor().name();
    }
    bool eventFilter(QObject*, QEvent* event) override {
        hides += event->type() == QEvent::Hide;
        return false;
    }
    int hides = 0;
};

TEST_F(ColourOnlyWhenAsked, OpeningOrLoadingTheViewerKeepsTheColourAndNeverHidesTheMainWindow) {
    form->show();
    form->installEventFilter(this);
    ui().munsellBoxes[0]->setText("5R");
    ui().munsellBoxes[1]->setText("4");
    enter(ui().munsellBoxes[2], "14");
    const QStringList before = mainState();

    PaletteViewer& v = open();
    ASSERT_GT(v.pointCount(), 0);
    EXPECT_EQ(mainState(), before);
    palette("mine.csv", {row("a", "5B", "3", "2"), row("b", "5G", "6", "4")});
    setPaletteFile("mine.csv");
    session().paletteViewWanted.send(); // "View 3D Palette"
    EXPECT_EQ(v.pointCount(), 2);
    EXPECT_EQ(mainState(), before);
    palette("other.csv", {row("c", "5Y", "8", "6")});
    platform.queueFile("other.csv");
    v.loadPalette(PaletteSource::Chosen);
    EXPECT_EQ(v.pointCount(), 1);
    EXPECT_EQ(mainState(), before);
    EXPECT_EQ(hides, 0);
    EXPECT_TRUE(form->isEnabled() && form->isVisible());
    form->removeEventFilter(this);
}

} // namespace
} // namespace huelinx::testing
