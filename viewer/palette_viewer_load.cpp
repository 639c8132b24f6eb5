// Loading a palette file into the viewer: each row's notation is converted as
// if typed into the main window to find its display colour, and listed.
#include "files/file_read.h"
#include "files/file_write.h"
#include "palette/palette_file.h"
#include "platform/platform.h"
#include "session/session.h"
#include "text/list_input.h"
#include "text/number_format.h"
#include "viewer/palette_viewer.h"
#include "viewer/viewer_surface.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>

#include <algorithm>
#include <array>

namespace huelinx {

namespace {

constexpr const char* lastPaletteFile = "LastPalette.txt";
constexpr const char* defaultPalette = "newpalette2.csv";

// The first field of "LastPalette.txt", or the default palette.
QString rememberedPalette() {
    const FileText file = readWholeFile(lastPaletteFile, settingsFileLimit);
    if (file.status != FileRead::Ok) return defaultPalette;
    ListReader reader(file.text);
    const auto name = reader.field();
    return name && !name->empty() ? QString::fromStdString(*name) : QString(defaultPalette);
}

QString general(long long n) {
    return QString::fromStdString(signedText(n));
}

// The list's columns: number, tag, hue, value, chroma.
constexpr int listColumns = 5;
// A column is as wide as its longest text up to this many characters; a
// longer text pushes the rest of its own row along.
constexpr qsizetype widestListColumn = 32;

} // namespace

void PaletteViewer::listEntries() {
    // Every column starts at the same character in every row, in the list's
    // fixed-pitch font: texts to the left of their column, numbers to the right.
    const int count = pointCount();
    std::vector<std::array<QString, listColumns>> rows(count);
    std::array<qsizetype, listColumns> widths{};
    for (int i = 1; i <= count; ++i) {
        const PaletteEntry& e = entry(i);
        auto& row = rows[i - 1];
        row = {QString::fromStdString(plainText(i)), QString::fromStdString(e.tag),
               hueTextOf(i).trimmed(), QString::fromStdString(formatNumber(e.value, "##.00")),
               QString::fromStdString(formatNumber(e.chroma, "##.00"))};
        for (int c = 0; c < listColumns; ++c)
            widths[c] = std::max(widths[c], std::min(row[c].size(), widestListColumn));
    }
    QStringList lines;
    lines.reserve(count);
    for (const auto& row : rows)
        lines << row[0].leftJustified(widths[0]) + "  " + row[1].leftJustified(widths[1]) + "  H " +
                     row[2].leftJustified(widths[2]) + "  V " + row[3].rightJustified(widths[3]) +
                     "  C " + row[4].rightJustified(widths[4]);
    paletteList->addItems(lines);
}

QString PaletteViewer::RowMessages::summary(const QString& name) const {
    QString text = QString("%1 row(s) of \"%2\" gave a message: ").arg(rows).arg(name.trimmed());
    text += first.join("; ");
    if (rows > first.size()) text += QString("; and %1 more").arg(rows - first.size());
    return text + ".";
}

bool PaletteViewer::readRows(const std::string& text, const QString& name) {
    // Each row's notation is converted as if typed into the main window, in a
    // copy of the current colour: loading shows the rows here and leaves the
    // current colour as it is.
    ColourModel colour = session_.colour();
    RowMessages said;
    bool read = true;
    std::vector<PaletteEntry> entries = convertRows(text, name, colour, said, read);
    // One box for all the rows that gave a message, however many there are.
    if (said.rows > 0) platform_.message(said.summary(name));
    // The rows read are kept and listed, also when a later row ended the load.
    dots_.assign(entries.size() + 1, ViewPoint{});
    session_.palette().setEntries(std::move(entries), name.toStdString());
    listEntries();
    return read;
}

std::vector<PaletteEntry> PaletteViewer::convertRows(const std::string& text, const QString& name,
                                                     ColourModel& colour, RowMessages& said,
                                                     bool& read) {
    // One row more than the capacity, so a file that goes on is noticed.
    const std::vector<PaletteRow> rows = readPaletteRows(text, capacity + 1);
    QElapsedTimer repaintClock;
    repaintClock.start();
    int count = 0, withoutNotation = 0;
    read = true;
    const auto each = [&](RowRead how, const PaletteEntry& entry) {
        if (how == RowRead::NoNotation) {
            // A colour without a notation has no place in the solid.
            ++withoutNotation;
            return true;
        }
        if (how != RowRead::Converted) {
            platform_.message("File format Error or Palette not generated" + name);
            read = false;
            return false;
        }
        said.add(entry.line, entry.messages);
        if (++count == capacity) {
            // A palette of exactly 10000 shown rows is shown whole, without a
            // word; rows after that a view would not show are not counted.
            if (rowsWithNotationAfter(text, entry.line)) limitedAfter_ = entry.line;
            return false;
        }
        statusBox->setText("Loading Palette " + name + "  " + general(count));
        // The count is painted as it goes, but not more often than the eye follows.
        if (repaintClock.elapsed() >= 40) {
            statusBox->repaint();
            repaintClock.restart();
        }
        if (count % 501 == 1) platform_.processEvents();
        return true;
    };
    std::vector<PaletteEntry> entries =
        paletteEntries(rows, colour, session_.table(), session_.resources().names(), each);
    if (read && withoutNotation > 0)
        platform_.message(QString("%1 colour(s) of %2 have no Munsell notation and are not shown.")
                              .arg(withoutNotation)
                              .arg(name.trimmed()));
    return entries;
}

void PaletteViewer::loadPalette(PaletteSource source) {
    QString name = rememberedPalette();
    if (source == PaletteSource::CurrentFile)
        name = QString::fromStdString(session_.palette().file());
    if (source == PaletteSource::Chosen) {
        // A cancelled dialog keeps the palette shown.
        name = platform_.openFileName("DataBase Files (*.csv)|*.csv",
                                      QString::fromStdString(session_.lastFolder));
        if (name.isEmpty()) return;
        session_.choseFile(name.toStdString());
    }
    if (loadNamed(name) && source == PaletteSource::Chosen)
        session_.addRecent(RecentFiles::Kind::Palette, name.toStdString());
}

void PaletteViewer::loadPaletteFile(const QString& path) {
    if (loadNamed(path)) session_.addRecent(RecentFiles::Kind::Palette, path.toStdString());
}

bool PaletteViewer::loadNamed(const QString& name) {
    documentShown_.clear();
    limitedAfter_ = 0;
    statusBox->setText(name);
    paletteList->clear();
    setStatus("Loading Palette " + name, 14);
    platform_.processEvents();

    // The default palette may also come from the program's data folder.
    // Only a plain file of a palette's size is read: a device or a FIFO is refused.
    const FileText file =
        readWholeFile(session_.resources().locate(name.toStdString()).path, userFileLimit);
    const bool opened = file.status == FileRead::Ok;
    // A file that can't be opened leaves the dots of the last palette.
    if (opened) {
        session_.palette().setEntries({}, name.toStdString());
        dots_.assign(1, ViewPoint{});
    }
    paletteList->hide();
    bool loaded = false;
    {
        // The main window steps aside while the rows are converted.
        const Session::Busy aside(session_);
        loaded = opened
                     ? readRows(file.text, name)
                     : (platform_.message(file.status == FileRead::CannotOpen
                                              ? "File format Error or Palette not generated" + name
                                              : "\"" + name + "\" " +
                                                    QString::fromStdString(
                                                        readFailure(file.status, userFileLimit)) +
                                                    "."),
                        false);
    }
    paletteList->show();
    if (!loaded) return false;
    drawing->show();
    activateWindow();
    // A palette that goes on past the capacity is said here and in Messages,
    // without a box to close.
    QString status = "Loaded Palette " + name;
    if (limitedAfter_ > 0) {
        const QString limited = QString("Palette limited to %1: rows after line %2 of \"%3\" "
                                        "are not shown.")
                                    .arg(capacity)
                                    .arg(limitedAfter_)
                                    .arg(name.trimmed());
        status += "  " + limited;
        session_.note(limited.toStdString());
    }
    setStatus(status, 10);
    platform_.processEvents();
    drawPalette();
    // Remembering the palette is a convenience: a file that can't be written
    // keeps the one remembered before.
    (void)replaceFile(lastPaletteFile, (name + "\r\n").toLocal8Bit().toStdString());
    return true;
}

} // namespace huelinx
