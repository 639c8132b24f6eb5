#include "charts/colorchecker_chart.h"

#include "charts/chart_common.h"
#include "charts/chart_surface.h"
#include "colour/hue.h"
#include "files/file_read.h"
#include "platform/platform.h"
#include "session/session.h"
#include "text/list_input.h"
#include "text/number_read.h"

#include <QLabel>

#include <vector>

namespace huelinx {

namespace {

const QColor ground(71, 67, 69);

// The next record of `count` comma-separated fields; false at the end of the
// text or when the text ends inside the record.
bool readRecord(ListReader& reader, std::size_t count, std::vector<std::string>& fields) {
    reader.skipBlankLines();
    fields.clear();
    while (fields.size() < count) {
        const auto field = reader.field();
        if (!field) return false;
        fields.push_back(*field);
    }
    return true;
}

} // namespace

ColorCheckerChart::ColorCheckerChart(Session& session, Platform& platform, QWidget* parent)
    : ChartWindow(
          session, platform,
          {"CChecker", "The Macbeth Color Checker", QSize(clientWidth, clientHeight), pageGrey},
          parent) {
    for (int i = 0; i < patchCount; ++i) {
        const QRect rect(twips(patchLeft(i)), twips(patchTop(i)), twips(patchSize),
                         twips(patchSize));
        patches[i] = surface->addShape(QString("Shape1_%1").arg(i), ChartShape::Kind::Square, rect);
        patches[i]->setFillColor(QColor(128, 128, 128));
    }
    placePrintButton("PRINT", 120, 6960, 1212, 252);
    sourceLabel = placeLabel(surface, "Label1", "", 5880, 6840, 3135, 375);
    sourceLabel->setAutoFillBackground(true);
    sourceLabel->setAlignment(Qt::AlignCenter);
}

void ColorCheckerChart::followColour(const ColourChange& change) {
    if (change.colour.gammaChanged) drawChart();
}

void ColorCheckerChart::drawChart() {
    surface->setBackColor(ground);
    QPalette palette = sourceLabel->palette();
    palette.setColor(QPalette::Window, ground);
    palette.setColor(QPalette::WindowText, Qt::white);
    sourceLabel->setPalette(palette);
    sourceLabel->setText("Chart data: McCamy et al., 1976");
    setWindowTitle(QString("The Macbeth ColorChecker") + QChar(174));

    drawn_ = 0;
    const FileText file = readWholeFile(session_.resources().locate(fileName).path, tableFileLimit);
    if (file.status != FileRead::Ok) {
        platform_.message(
            QString("\"%1\" can't be read (it %2), so the ColorChecker patches are left as "
                    "they were.")
                .arg(fileName, QString::fromStdString(readFailure(file.status, tableFileLimit))));
        return;
    }
    paintPatches(file.text);
    if (drawn_ < patchCount)
        platform_.message(QString("\"%1\" holds %2 of the %3 ColorChecker patches; the others are "
                                  "left as they were.")
                              .arg(fileName)
                              .arg(drawn_)
                              .arg(patchCount));
}

// Skips the header line, then paints one patch per record of five fields:
// number, name, hue, value, chroma.
void ColorCheckerChart::paintPatches(const std::string& text) {
    const ColourSettings s = session_.colour().settings;
    ListReader reader(text);
    reader.line();
    bool formatErrorShown = false;
    std::vector<std::string> f;
    while (drawn_ < patchCount && readRecord(reader, 5, f)) {
        const HueOfText hueRead = converth(f[2]);
        const bool formatError = hueRead.family == HueFamily::Missing;
        const float hue = wrappedHue(hueRead.hue);
        if (formatError && !formatErrorShown) platform_.message("Format Error");
        formatErrorShown = formatErrorShown || formatError;
        float value = static_cast<float>(leadingNumberLenient(f[3]));
        const float chroma = static_cast<float>(leadingNumberLenient(f[4]));
        const ChartColour c = chartColour(hue, value, chroma, session_.table(), s);
        tips_[static_cast<std::size_t>(drawn_)] =
            QString::fromStdString(f[0] + " " + f[1] + ": ") +
            notationTip(hue, value, chroma, session_.resources().names(), false);
        patches[drawn_++]->setFillColor(QColor(c.R, c.G, c.B));
    }
}

QString ColorCheckerChart::tooltipAt(int x, int y) const {
    for (int i = 0; i < drawn_; ++i)
        if (patches[static_cast<std::size_t>(i)]->rect().contains(x, y))
            return tips_[static_cast<std::size_t>(i)];
    return {};
}

} // namespace huelinx
