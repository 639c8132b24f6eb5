#include "charts/chart_common.h"

#include "charts/chart_surface.h"
#include "colour/hue.h"
#include "colour/macadam_limits.h"
#include "colour/rgbcmyk.h"
#include "session/session.h"
#include "text/number_format.h"

#include <QLabel>
#include <QPushButton>

#include <cmath>
#include <memory>

namespace huelinx {

QLabel* placeLabel(QWidget* parent, const QString& name, const QString& text, int left, int top,
                   int width, int height) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    if (width > 0 && height > 0)
        label->setGeometry(twips(left), twips(top), twips(width), twips(height));
    else {
        label->adjustSize();
        label->move(twips(left), twips(top));
    }
    return label;
}

QPushButton* placeButton(QWidget* parent, const QString& name, const QString& text, int left,
                         int top, int width, int height) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(twips(left), twips(top), twips(width), twips(height));
    return button;
}

namespace {

// A value or chroma as the notation writes it: at most two decimals, no trailing zeros.
std::string twoDecimals(float number) {
    return plainText(std::round(static_cast<double>(number) * 100.0) / 100.0);
}

} // namespace

const char* const clickSendsLine = "Click to show this colour in the main window";

QString notationTip(float hue, float value, float chroma, const IsccNbsTable& names,
                    bool clickSends) {
    const bool grey = chroma == 0.0f;
    QString tip = QString::fromStdString(
        notationText(grey ? "N" : shortHueText(hue), twoDecimals(value), twoDecimals(chroma)));
    const IsccNbsName* name = grey ? names.nameOfNeutral(value) : names.nameOf(hue, value, chroma);
    if (name) tip += "  " + QString::fromStdString(name->name);
    if (clickSends) tip += QString("\n") + clickSendsLine;
    return tip;
}

void sendNotation(Session& session, float hue, float value, float chroma, const void* origin) {
    const bool grey = chroma == 0.0f;
    ColourModel colour = session.colour();
    colour = edit(std::move(colour), Box::Hue, grey ? "N" : shortHueText(hue));
    colour = edit(std::move(colour), Box::Value, twoDecimals(value));
    colour = edit(std::move(colour), Box::Chroma, twoDecimals(chroma));
    session.setColour(enterMunsell(std::move(colour), session.table()), Change::Entry, origin);
}

ChartColour chartColour(float hue, float value, float chroma, const MunTable& table,
                        const ColourSettings& settings) {
    ChartColour c;
    const CieOfMunsell cie = mun2xyz(hue, value, chroma, table, settings);
    c.value = cie.value;
    c.status = cie.status;
    // Outside the data and outside the table X, Y, Z are 0: the colour of no data.
    c.X = cie.X;
    c.Y = cie.Y;
    c.Z = cie.Z;
    const RgbOfXyz rgb = xyzrgb(c.X, c.Y, c.Z, settings);
    c.outOfRange = rgb.outOfRange;
    c.R = rgb.R;
    c.G = rgb.G;
    c.B = rgb.B;
    return c;
}

LimitExcess macAdamCheckOfC(const Resources& resources) {
    auto solids = std::make_shared<MacAdamSolids>();
    // The program's own solid when it has been built at start; else one of
    // the tables (read here when the program hasn't read them).
    if (const MacAdamSolids* built = resources.macAdamSolids())
        solids->c = built->c;
    else if (const SpectralTables* tables = resources.spectra())
        solids->c = solidOf(*tables, Illuminant::C);
    else if (Loaded<SpectralTables> read = loadSpectralTables(resources.folders().searched);
             read.value)
        solids->c = solidOf(*read.value, Illuminant::C);
    if (!solids->c) return {};
    // As the main window checks a colour it shows under C without PWD: taken
    // from the value scale's white to a perfect white first.
    return [solids](const Tristimulus& c) {
        const std::optional<MacAdamCheck> check =
            macAdamOfXyz(c.X, c.Y, c.Z, ColourSettings{}, *solids);
        return check ? check->excess - macAdamTolerance : 0.0;
    };
}

void showLimitLines(ChartSurface& surface, QLabel& legend,
                    std::vector<ChartSurface::Polyline> lines) {
    const bool drawn = !lines.empty();
    if (drawn) {
        const QRect at = surface.layoutGeometry(&legend);
        const double y = at.center().y();
        lines.push_back({QPointF(at.left() - 22, y), QPointF(at.left() - 4, y)});
    }
    legend.setVisible(drawn);
    surface.setLines(std::move(lines));
}

} // namespace huelinx
