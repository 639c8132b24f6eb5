// The palette of a whole picture: the picture cut into n x n blocks, each
// block's average colour converted and made one palette
// row, column by column; the rows are written in one go, replacing the
// palette or added to it as the user chose, and then the blocks are outlined.
#include "palette/palette_file.h"
#include "picture/picture_surface.h"
#include "picture/picture_window.h"
#include "platform/platform.h"
#include "session/session.h"
#include "text/number_format.h"
#include "text/number_read.h"

#include <QFileInfo>
#include <QLineEdit>

namespace huelinx {

namespace {

QString general(long long n) {
    return QString::fromStdString(signedText(n));
}

} // namespace

bool PictureWindow::chooseGranularity(long& columns, long& rows) {
    Platform& p = platform_;
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

bool PictureWindow::choosePaletteWrite(bool& replace) {
    replace = true;
    // Only a palette already there can lose rows; a folder of that name is
    // reported when the palette can't be written in its place.
    const QString file = QString::fromStdString(session_.palette().file());
    if (!QFileInfo(file).isFile()) return true;
    const Answer answer = platform_.message(
        "The palette \"" + file +
            "\" already exists.\r\nYes: replace it with the palette of the picture\r\n"
            "No: add the picture's colours to it\r\nCancel: leave it and make no palette",
        Buttons::YesNoCancel, Icon::Question, "Palette Generation");
    replace = answer == Answer::Yes;
    return answer != Answer::Cancel;
}

void PictureWindow::makePicturePalette() {
    Platform& p = platform_;
    if (paletteMade) {
        p.message("Palette already made - reload or load new picture");
        return;
    }
    PaletteDocument& palette = session_.palette();
    palette.setFile(p.inputBox("Enter file name for palette ", "Palette Generation",
                               QString::fromStdString(palette.file()))
                        .toStdString());
    if (!palette.hasFile()) return;
    // The case typed is kept; a palette of that name in another case is used.
    palette.setFile(PaletteDocument::fileNamed(palette.file()));
    bool replace = true;
    if (!choosePaletteWrite(replace)) return;
    granularity = 10;
    long columns = 0, rows = 0;
    // Nothing is written before the palette is whole: a cancel leaves the
    // picture usable and the file as it was.
    if (!chooseGranularity(columns, rows)) return;
    // A grey reference that can't scale the readings makes no palette of
    // calibrated colours, and none of display RGB in their place.
    ColourModel probe = session_.colour();
    std::string problem;
    if (chart.fit() && !readCalibrated({0, 0, 1, 1}, probe, nullptr, &problem)) {
        p.message("No palette made: " + QString::fromStdString(problem), Buttons::Ok,
                  Icon::Exclamation);
        return;
    }
    paletteMade = true;
    show();
    setStatus(statusBox->text(), 14);
    const std::string records = paletteRecords(columns, rows);
    const Result written = replace ? palette.replace(records) : palette.append(records);
    if (!written.ok) {
        paletteMade = false;
        setStatus("Palette not saved", 12);
        p.message(QString::fromStdString("The palette could not be saved: " + written.message),
                  Buttons::Ok, Icon::Exclamation);
        return;
    }
    setStatus(QString(chart.fit() ? "Palette of calibrated colours done and saved as "
                                  : "Palette Done and saved as ") +
                  QString::fromStdString(palette.file()),
              10);
    outlineBlocks(columns, rows);
    view3DAction->setVisible(true);
}

std::string PictureWindow::paletteRecords(long columns, long rows) {
    const int n = granularity;
    const long W = columns * n, H = rows * n;
    const std::string date = platform_.dateText().toStdString();
    const std::string time = platform_.timeText().toStdString();
    // The blocks are converted in a copy of the current colour, which stays
    // as it is: the palette is what the user asked for.
    ColourModel colour = session_.colour();
    std::string records;
    for (long x = 0; x < W; x += n) {
        for (long y = 0; y < H; y += n) {
            // Calibrated, each block is read as a measurement.
            if (chart.fit() &&
                readCalibrated({static_cast<int>(x), static_cast<int>(y), n, n}, colour, nullptr)) {
                records += blockRecord(colour, x, y, date, time);
                continue;
            }
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
            colour = enterRgb(std::move(colour), session_.table());
            records += blockRecord(colour, x, y, date, time);
        }
        setStatus("Building Palette " + general((W - x) / n) +
                      (chart.fit() ? " (calibrated colours)" : ""),
                  14);
        // This window stays in front of the main window while the palette grows.
        show();
        raise();
        platform_.processEvents();
    }
    return records;
}

std::string PictureWindow::blockRecord(const ColourModel& colour, long x, long y,
                                       const std::string& date, const std::string& time) {
    // Each block is saved as the main window saves a colour, tagged with its corner.
    session_.palette().setTag((general(x) + general(y)).toStdString());
    PaletteRecord record = paletteRecord(readRgbBoxes(colour));
    record.date = date;
    record.time = time;
    record.tag = session_.palette().tag();
    return paletteLine(record);
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
