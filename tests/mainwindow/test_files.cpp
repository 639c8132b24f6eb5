// Files easy to find: where a saved row went, dialogs that open in the folder
// last used, File > Open Recent, the picture formats offered, and files
// dropped on the main window and the picture window.
#include "main_window_fixture.h"

#include "picture/picture_surface.h"
#include "picture/picture_window.h"
#include "viewer/palette_viewer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

namespace huelinx::testing {
namespace {

constexpr const char* meterText =
    "CGATS.17\r\nBEGIN_DATA_FORMAT\r\nSAMPLE_ID SAMPLE_NAME LAB_L LAB_A LAB_B\r\n"
    "END_DATA_FORMAT\r\nBEGIN_DATA\r\n1 \"tile\" 41.2 42.1 22.2\r\n2 \"\" 51.57 0 0\r\n"
    "END_DATA\r\n";

class Files : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
        before_ = state();
    }
    // Writes a file and gives its absolute path.
    static QString write(const QString& name, const QByteArray& bytes) {
        QFile f(name);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << name.toStdString();
        f.write(bytes);
        return QDir::current().absoluteFilePath(name);
    }
    // A palette of `rows` rows, each of the notation 5R 5/4.
    static QString palette(const QString& name, int rows = 1) {
        QByteArray text;
        for (int i = 0; i < rows; ++i)
            text += "\"12-17-2022\",\"10:30:00\",\"t\",\"5R\",\"5\",\"4\",\r\n";
        return write(name, text);
    }
    static QString picture(const QString& name, const char* format) {
        QImage image(3, 2, QImage::Format_RGB32);
        image.fill(QColor(200, 40, 50));
        EXPECT_TRUE(image.save(name, format));
        return QDir::current().absoluteFilePath(name);
    }
    QAction* action(const char* name) const { return form->findChild<QAction*>(name); }
    void openPalette(const QString& path) {
        platform.queueFile(path);
        action("fileOpenPaletteAction")->trigger();
    }
    PictureWindow& pictureWindow() {
        ui().pictureCheck->setChecked(true);
        return *companions().picture();
    }
    // The folder the last file-open dialog was asked to open in.
    QString lastStartFolder() const {
        for (auto s = platform.shown().rbegin(); s != platform.shown().rend(); ++s)
            if (s->kind == ScriptedPlatform::Shown::FileDialog) return s->startFolder;
        ADD_FAILURE() << "no file dialog";
        return {};
    }
    QStringList recentItems() const {
        QStringList items;
        for (QAction* a : ui().recentMenu->actions())
            if (a->isVisible()) items << a->text();
        return items;
    }
    // The recent item of the file named.
    QAction* recent(const QString& name) const {
        for (QAction* a : ui().recentMenu->actions())
            if (a->isVisible() && a->text().contains("/" + name + " (")) return a;
        ADD_FAILURE() << "no recent item " << name.toStdString();
        return new QAction(ui().recentMenu);
    }
    // Whether the current colour and its history are as they were after start-up.
    std::string state() const {
        const auto& history = session().history();
        return historyLabel(session().colour()) + (history.canUndo() ? " undo" : "") + " " +
               std::to_string(history.recent().size());
    }
    QString messagesLine() const { return ui().messagesBox->toPlainText(); }
    // Drags the files over `target` and drops them; whether the drag was taken.
    static bool drop(QWidget* target, const QStringList& paths) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& p : paths)
            urls << QUrl::fromLocalFile(p);
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        return dropped.isAccepted();
    }

    std::string before_;
};

TEST_F(Files, SaveToPaletteSaysWhereTheRowWent) {
    platform.queueInput("mine");
    platform.queueInput("tag1");
    ui().saveToPaletteButton->click();
    const QString file = QDir::current().absoluteFilePath("mine.csv");
    EXPECT_EQ(messagesLine(), "Row 1 added to \"" + file + "\" (tag \"tag1\").");
    platform.queueInput("tag, two");
    ui().saveToPaletteButton->click();
    EXPECT_EQ(messagesLine(), "Row 2 added to \"" + file + "\" (tag \"tag, two\").");
}

TEST_F(Files, DialogsOpenInTheWorkingFolderAndRememberTheLast) {
    ASSERT_TRUE(QDir().mkpath("a") && QDir().mkpath("b"));
    const QString a = QDir::current().absoluteFilePath("a");
    const QString b = QDir::current().absoluteFilePath("b");
    // The viewer's first dialog opens in the working folder, not the program's.
    openPalette(palette("a/p.csv"));
    EXPECT_EQ(lastStartFolder(), "");
    EXPECT_EQ(companions().viewer()->pointCount(), 1);
    platform.queueFile(picture("b/pic.png", "PNG"));
    pictureWindow().loadPictureAction->trigger();
    EXPECT_EQ(lastStartFolder(), a);
    // A cancelled dialog changes no folder.
    platform.queueFile("");
    companions().picture()->loadPictureAction->trigger();
    EXPECT_EQ(lastStartFolder(), b);
    const QString meter = write("a/meter.txt", meterText);
    setPaletteFile("field");
    platform.queueInput("cgats");
    platform.queueFile(meter);
    ui().importButton->click();
    EXPECT_EQ(lastStartFolder(), b);
    // The export's dialog opens on the palette's name in the last folder.
    platform.queueFile("");
    companions().viewer()->exportPaletteAction->trigger();
    ASSERT_EQ(platform.shown().back().kind, ScriptedPlatform::Shown::FileDialog);
    EXPECT_EQ(platform.shown().back().defaultText, a + "/field.gpl");
    EXPECT_TRUE(messages().empty());
}

TEST_F(Files, RecentKeepsTenPalettesAndPicturesNewestFirstAndSurvivesARestart) {
    EXPECT_FALSE(ui().recentMenu->isEnabled());
    for (int i = 0; i < 11; ++i)
        openPalette(palette(QString("p%1.csv").arg(i)));
    const QString pic = picture("pic.png", "PNG");
    platform.queueFile(pic);
    pictureWindow().loadPictureAction->trigger();
    openPalette(QDir::current().absoluteFilePath("p5.csv")); // again: to the top, once
    const QString here = QDir::currentPath() + "/";
    QStringList expected{"&1 " + here + "p5.csv (palette)", "&2 " + here + "pic.png (picture)"};
    for (int i = 10, n = 3; n <= 10; --i)
        if (i != 5) expected << QString("&%1 %2p%3.csv (palette)").arg(n++ % 10).arg(here).arg(i);
    EXPECT_TRUE(ui().recentMenu->isEnabled());
    EXPECT_EQ(recentItems(), expected);
    // Opening files left the colour and its history as they were.
    EXPECT_EQ(state(), before_);

    start();
    EXPECT_EQ(recentItems(), expected);
    // A recent palette opens in the viewer, a recent picture in the picture window.
    recent("p10.csv")->trigger();
    ASSERT_NE(companions().viewer(), nullptr);
    EXPECT_EQ(companions().viewer()->statusBox->text(), "Loaded Palette " + here + "p10.csv");
    EXPECT_TRUE(ui().viewerCheck->isChecked());
    EXPECT_EQ(recentItems()[0], "&1 " + here + "p10.csv (palette)");
    recent("pic.png")->trigger();
    ASSERT_NE(companions().picture(), nullptr);
    EXPECT_EQ(companions().picture()->fileNameBox->text(), pic);
    EXPECT_EQ(recentItems()[0], "&1 " + pic + " (picture)");
    // A file gone is said and taken off the list.
    ASSERT_TRUE(QFile::remove("p9.csv"));
    recent("p9.csv")->trigger();
    EXPECT_EQ(messagesLine(),
              "\"" + here + "p9.csv\" is no longer there; it was taken off the recent files.");
    EXPECT_EQ(recentItems().size(), 9);
    EXPECT_FALSE(recentItems().join('\n').contains("p9.csv"));
    EXPECT_TRUE(messages().empty());
}

TEST_F(Files, LoadPictureOffersEveryReadableFormat) {
    platform.queueFile("");
    pictureWindow().loadPictureAction->trigger();
    const QString filter = platform.shown().back().text;
    for (const char* pattern : {"*.bmp", "*.png", "*.jpg", "*.jpeg", "*.tif", "*.tiff", "*.ppm"})
        EXPECT_TRUE(filter.contains(pattern)) << pattern << " in " << filter.toStdString();
    platform.queueFile(picture("dot.bmp", "BMP"));
    companions().picture()->loadPictureAction->trigger();
    EXPECT_EQ(companions().picture()->picture->pictureWidth(), 3);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Files, DroppedPictureOpensInThePictureWindowAPaletteInTheViewerACgatsFileImports) {
    const QString pic = picture("shot.png", "PNG");
    const QString pal = palette("two.csv", 2);
    EXPECT_TRUE(drop(form, {pic, pal}));
    ASSERT_NE(companions().picture(), nullptr);
    EXPECT_TRUE(companions().picture()->isVisible());
    EXPECT_EQ(companions().picture()->fileNameBox->text(), pic);
    EXPECT_EQ(companions().picture()->picture->pictureWidth(), 3);
    ASSERT_NE(companions().viewer(), nullptr);
    EXPECT_EQ(companions().viewer()->pointCount(), 2);
    EXPECT_TRUE(ui().pictureCheck->isChecked());
    EXPECT_TRUE(ui().viewerCheck->isChecked());
    EXPECT_EQ(state(), before_);

    // A CGATS file dropped imports with the summary the Import gives.
    const QString meter = write("meter.txt", meterText);
    setPaletteFile("field");
    platform.queueInput("cgats");
    platform.queueFile(meter);
    ui().importButton->click();
    const QString imported = messagesLine();
    ASSERT_TRUE(imported.startsWith("2 sample(s) of \"" + meter + "\" added to \"field.csv\""))
        << imported.toStdString();
    const std::string afterImport = state();
    ui().messagesBox->clear();
    EXPECT_TRUE(drop(companions().picture(), {meter}));
    // The summary; the import button also showed the colour it ended on, with
    // its MacAdam line.
    EXPECT_EQ(messagesLine(), imported.section('\n', 0, 0));
    EXPECT_EQ(readFile("field.csv").count('\n'), 4);
    EXPECT_EQ(state(), afterImport);
    // A picture only Qt reads, dropped on the picture window, opens there.
    const QString bmp = picture("dot.bmp", "BMP");
    EXPECT_TRUE(drop(companions().picture(), {bmp}));
    EXPECT_EQ(companions().picture()->fileNameBox->text(), bmp);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Files, DroppedUnknownOrMissingFileIsSaidAndChangesNothing) {
    const QString notes = write("notes.txt", "just some words\n");
    EXPECT_TRUE(drop(form, {notes}));
    EXPECT_EQ(messagesLine(), "\"" + notes +
                                  "\" is neither a picture, a palette (.csv) nor a CGATS file; "
                                  "it was not opened.");
    const QString gone = QDir::current().absoluteFilePath("gone.png");
    EXPECT_TRUE(drop(form, {gone}));
    EXPECT_EQ(messagesLine(), "\"" + gone + "\" can't be opened; nothing was read from it.");
    EXPECT_EQ(companions().picture(), nullptr);
    EXPECT_EQ(companions().viewer(), nullptr);
    EXPECT_EQ(state(), before_);
    EXPECT_TRUE(messages().empty());
    // Text dragged without files is not taken.
    QMimeData text;
    text.setText("5R 4/14");
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form, &enter);
    EXPECT_FALSE(enter.isAccepted());
}

TEST_F(Files, FilesTheProgramIsStartedWithOpenAsDroppedOnesDo) {
    picture("shot.png", "PNG");
    palette("two.csv", 2);
    write("notes.txt", "just some words\n");
    // Named as a file manager or a shell gives them: relative to the working folder.
    app->openFiles({"shot.png", "two.csv", "notes.txt"});
    ASSERT_NE(companions().picture(), nullptr);
    EXPECT_EQ(companions().picture()->picture->pictureWidth(), 3);
    ASSERT_NE(companions().viewer(), nullptr);
    EXPECT_EQ(companions().viewer()->pointCount(), 2);
    EXPECT_TRUE(messagesLine().startsWith("\"notes.txt\" is neither a picture"))
        << messagesLine().toStdString();
    EXPECT_EQ(state(), before_);
    EXPECT_TRUE(messages().empty());
}

} // namespace
} // namespace huelinx::testing
