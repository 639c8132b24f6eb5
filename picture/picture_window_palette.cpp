// The palette of a whole picture: the picture cut into n x n blocks, each
// block's average colour converted by the main window and appended as one
// palette row, column by column; then the blocks are outlined.
#include "mainwindow/colour_host.h"
#include "mainwindow/entry_box.h"
#include "mainwindow/program.h"
#include "palette/palette_file.h"
#include "picture/picture_surface.h"
#include "picture/picture_window.h"
#include "text/number_format.h"
#include "text/number_read.h"

#include <QFile>
#include <QLineEdit>

namespace huelinx {

namespace {

QString general(long long n) {
    return QString::fromStdString(signedText(n));
}

} // namespace

bool PictureWindow::chooseGranularity(long& columns, long& rows) {
    Platform& p = program_.platform;
    for (;;) {
        const QString answer = p.inputBox("Granularity (average of pixels n x n)", QString(),
                                          QString::number(granularity));
        if (answer.isEmpty()) return false;
        const auto number = strictNumber(answer.toStdString());
        const double n = number ? roundHalfEven(*number) : 0.0;
        // An answer that gives no usable block size is asked for again.
        if (!(n >= 1.0 && n <= 32767.0)) continue;
        granularity = static_cast<int>(n);
        columns = picture->pictureWidth() / granularity;
        rows = picture->pictureHeight() / granularity;
        const long long blocks = static_cast<long long>(columns) * rows;
        if (blocks > 10000) {
            p.message("Too many pixels " + general(blocks) +
                      " Maximun 10,000 - increase granularity ");
            continue;
        }
        if (p.message("Total Pixels " + general(blocks) + "   Generate Palette", Buttons::YesNo) ==
            Answer::Yes)
            return true;
    }
}

void PictureWindow::makePicturePalette() {
    Platform& p = program_.platform;
    if (paletteMade) {
        p.message("Palette already made - reload or load new picture");
        return;
    }
    program_.paletteFile =
        p.inputBox("Enter file name for palette ", "Palette Generation", program_.paletteFile);
    if (program_.paletteFile.isEmpty()) return;
    paletteMade = true;
    // The case typed is kept; a palette of that name in another case is used.
    if (program_.paletteFile.right(4).toLower() != ".csv") program_.paletteFile += ".csv";
    program_.paletteFile =
        QString::fromStdString(sameFileAnyCase(program_.paletteFile.toStdString()));
    granularity = 10;
    long columns = 0, rows = 0;
    if (!chooseGranularity(columns, rows)) {
        paletteMade = false; // nothing was written: the picture can still be used
        return;
    }
    QFile file(program_.paletteFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        p.message("The palette file \"" + program_.paletteFile + "\" can't be created.");
        paletteMade = false;
        return;
    }
    file.close();
    show();
    setStatus(statusBox->text(), 14);
    buildPalette(columns, rows);
}

void PictureWindow::buildPalette(long columns, long rows) {
    const int n = granularity;
    const long W = columns * n, H = rows * n;
    ColourModel colour = host_.colour();
    for (long x = 0; x < W; x += n) {
        for (long y = 0; y < H; y += n) {
            long sum[3] = {0, 0, 0};
            for (int a = 0; a < n; ++a)
                for (int b = 0; b < n; ++b) {
                    const long c = picture->pixel(static_cast<int>(x + a), static_cast<int>(y + b));
                    for (int i = 0; i < 3; ++i)
                        sum[i] += (c >> (8 * i)) & 0xFF;
                }
            for (int i = 0; i < 3; ++i)
                colour = edit(std::move(colour), rgbBox(i),
                              plainText(roundHalfEven(static_cast<double>(sum[i]) / (n * n))));
            colour = enterRgb(std::move(colour), program_.table);
            program_.paletteTag = general(x) + general(y);
            if (!host_.saveToPalette(colour, TagPrompt::UseCurrentTag)) {
                host_.showColour(std::move(colour));
                return;
            }
        }
        // The main window shows the last block converted.
        host_.showColour(colour);
        setStatus("Building Palette " + general((W - x) / n), 14);
        // This window stays in front of the main window while the palette grows.
        show();
        raise();
        program_.platform.processEvents();
    }
    setStatus("Palette Done and saved as " + program_.paletteFile, 10);
    outlineBlocks(columns, rows);
    view3DAction->setVisible(true);
}

void PictureWindow::outlineBlocks(long columns, long rows) {
    const int n = granularity;
    const int right = picture->pictureWidth() - 1, bottom = picture->pictureHeight() - 1;
    for (long c = 0; c < columns; ++c)
        picture->drawLine(static_cast<int>(c * n), 0, static_cast<int>(c * n), bottom, Qt::black);
    for (long r = 0; r < rows; ++r)
        picture->drawLine(0, static_cast<int>(r * n), right, static_cast<int>(r * n), Qt::black);
}

} // namespace huelinx
