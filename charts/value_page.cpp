#include "charts/value_page.h"

#include "charts/chart_common.h"
#include "charts/chart_surface.h"
#include "colour/hue.h"
#include "platform/platform.h"
#include "platform/qt_text.h"
#include "session/session.h"
#include "text/number_format.h"
#include "text/number_read.h"

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLabel>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <optional>

namespace huelinx {

namespace {

const QColor foreground(Qt::black);

bool displayable(int c) {
    return c >= 1 && c <= 254;
}

} // namespace

int ValuePage::centreX() {
    return static_cast<int>(roundHalfEven(clientWidth / 2.0));
}
int ValuePage::centreY() {
    return static_cast<int>(roundHalfEven(clientHeight / 2.0));
}

ValuePage::ValuePage(Session& session, Platform& platform, QWidget* parent)
    : ChartWindow(session, platform,
                  {"book2", "Munsell Value Page", QSize(clientWidth, clientHeight), pageGrey},
                  parent) {
    surface->setDrawingFont(font());
    surface->onMouseDown = [this](int x, int y, Qt::MouseButton) { onMouseDown(x, y); };
    surface->onMouseMove = [this](int x, int y) { onMouseMove(x, y); };

    valueTitle = placeLabel(surface, "Label1", "", 0, 5400, 1800, 255);
    valueSlider = new QScrollBar(Qt::Vertical, surface);
    valueSlider->setObjectName("VScroll1");
    valueSlider->setGeometry(twips(720), twips(5760), twips(255), twips(2415));
    valueSlider->setRange(100, 950);
    valueSlider->setInvertedAppearance(true); // the highest value at the top
    valueSlider->setInvertedControls(true);
    valueSlider->setSingleStep(10);
    valueSlider->setPageStep(100);
    valueSlider->setValue(100);
    connect(valueSlider, &QScrollBar::valueChanged, this, [this] { onValueSlider(); });
    showValueInTooltip(valueSlider, "Value",
                       [](int position) { return QString::number(position / 100.0, 'f', 2); });
    sliderScale =
        placeLabel(surface, "Label2", "10 9   8  7  6  5  4  3  2  1", 1005, 5730, 255, 2475);
    sliderScale->setWordWrap(true);

    readOutSwatch = surface->addShape("Shape1", ChartShape::Kind::Circle,
                                      QRect(twips(1200), twips(6600), twips(855), twips(975)));
    readOutSwatch->setFillColor(Qt::black);
    readOut = placeLabel(surface, "Label3", "", 1200, 7800, 3600, 255);
    limitLegend = placeLabel(surface, "limitLegend", "MacAdam limit", 7350, 7920);
    limitLegend->setToolTip("No surface colour lies outside the dashed curve");
    limitLegend->hide();
    placePrintButton("PRINT", 120, 120, 975, 375);
    limitLines_.setCheck(macAdamCheckOfC(session.resources()));
}

void ValuePage::showValuePage(float& v) {
    valueTitle->setText("Value" + qs(formatNumber(v, "   #.##")));
    // A value without a slider position puts the slider at its nearest end.
    const double position = roundHalfEven(v * 100.0f);
    updating = true;
    valueSlider->setValue(std::isnan(position)
                              ? valueSlider->minimum()
                              : static_cast<int>(std::clamp(position, 100.0, 950.0)));
    updating = false;
    surface->clear();
    circles_.clear();
    const ColourSettings s = session_.colour().settings;
    std::vector<Ray> rays;
    for (int k = 0; k < 40; ++k)
        rays.push_back(computeRay(2.5f * static_cast<float>(k), v, s));
    factor_ = fitFactor(rays);
    for (const Ray& ray : rays)
        drawRay(ray, factor_);
    placeHueNames(rays, factor_);
    shownValue_ = v;
    drawLimit(v, factor_);
}

// The curve through the hues whose limit lies within the data, closed round
// the circle; where the data end first (every colour they hold at that hue
// is a possible surface) it stops, as no limit was found there to draw, but
// for the short gaps between two hues of the data that limitRuns crosses.
void ValuePage::drawLimit(float value, double factor) {
    std::vector<ChartSurface::Polyline> lines;
    for (const auto& run : limitRuns(limitLines_.line(value, session_.table()), true)) {
        ChartSurface::Polyline line;
        for (const LimitPoint& p : run)
            line.push_back(circleCentre(static_cast<float>(p.hue), p.chroma, factor));
        lines.push_back(std::move(line));
    }
    showLimitLines(*surface, *limitLegend, std::move(lines));
}

void ValuePage::setLimitCheck(LimitExcess excess) {
    limitLines_.setCheck(std::move(excess));
    if (isVisible()) drawLimit(shownValue_, factor_);
}

ValuePage::Ray ValuePage::computeRay(float hue, float& value, const ColourSettings& s) const {
    Ray ray;
    ray.hue = hue;
    for (int c = 0; c <= 40; c += 2) {
        const ChartColour colour =
            chartColour(hue, value, static_cast<float>(c), session_.table(), s);
        value = colour.value; // the value the page shows from here on
        if (colour.X == 0.0f || colour.Y == 0.0f) break;
        ray.circles.emplace_back(c, QColor(colour.R, colour.G, colour.B));
        ray.clipped.push_back(colour.R == 0 || colour.G == 0 || colour.B == 0);
        ray.value = value;
    }
    if (ray.circles.empty()) ray.value = value;
    return ray;
}

double ValuePage::circleRadius() {
    return centreX() / 40.0 / 15.0;
}

QPointF ValuePage::circleCentre(float hue, double chroma, double factor) const {
    const float theta = hue / 15.915494f;
    const float r = static_cast<float>(chroma + 10);
    const double x = centreX() + 100.0f * r * std::cos(theta) * factor,
                 y = centreY() - 100.0f * r * std::sin(theta) * factor;
    return {x / 15.0, y / 15.0};
}

double ValuePage::fitFactor(const std::vector<Ray>& rays) const {
    // Room for the circle and, beyond it, for the hue's name.
    const QFontMetrics metrics(surface->drawingFont());
    const double marginX = circleRadius() + metrics.horizontalAdvance("10.00BG") + 2;
    const double marginY = circleRadius() + metrics.height() + 2;
    const QSize page = surface->layoutSize();
    const QPointF centre = circleCentre(0, -10, 1.0);
    double factor = 1.0;
    for (const Ray& ray : rays) {
        const int last = ray.circles.empty() ? -2 : ray.circles.back().first;
        // Where the name goes: one step beyond the last circle.
        const QPointF far = circleCentre(ray.hue, last + 2, 1.0) - centre;
        const double roomX = (far.x() > 0 ? page.width() - centre.x() : centre.x()) - marginX;
        const double roomY = (far.y() > 0 ? page.height() - centre.y() : centre.y()) - marginY;
        if (std::abs(far.x()) > roomX) factor = std::min(factor, roomX / std::abs(far.x()));
        if (std::abs(far.y()) > roomY) factor = std::min(factor, roomY / std::abs(far.y()));
    }
    return factor;
}

void ValuePage::drawRay(const Ray& ray, double factor) {
    for (std::size_t i = 0; i < ray.circles.size(); ++i) {
        const auto& [chroma, colour] = ray.circles[i];
        const QPointF at = circleCentre(ray.hue, chroma, factor);
        surface->drawCircle(at, circleRadius(), foreground, colour,
                            ray.clipped[i] ? FillStyle::CrossHatch : FillStyle::Solid);
        circles_.push_back({ray.hue, ray.value, static_cast<float>(chroma), at, circleRadius()});
    }
}

namespace {

// Principal hues (5R, 5YR ...) first, then the 10s, then the 2.5s and 7.5s.
int namePriority(float hue) {
    const double step = std::fmod(hue, 10.0);
    return step == 5.0 ? 0 : step == 0.0 ? 1 : 2;
}

// The rectangle of a name whose ray points along `direction`, its near side
// at `anchor`: it reaches away from the centre, so it covers its own ray as
// little as it can.
QRect nameRect(QPointF anchor, QPointF direction, QSize size) {
    const double w = size.width(), h = size.height();
    const double left = direction.x() > 0.35    ? anchor.x()
                        : direction.x() < -0.35 ? anchor.x() - w
                                                : anchor.x() - w / 2;
    const double top = direction.y() > 0.35    ? anchor.y()
                       : direction.y() < -0.35 ? anchor.y() - h
                                               : anchor.y() - h / 2;
    return QRect(QPoint(static_cast<int>(std::lround(left)), static_cast<int>(std::lround(top))),
                 size);
}

} // namespace

void ValuePage::placeHueNames(const std::vector<Ray>& rays, double factor) {
    hueNames_.clear();
    // What a name must not cover: the controls, every circle, the names placed.
    std::vector<QRect> taken;
    for (QWidget* control : surface->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        taken.push_back(surface->layoutGeometry(control));
    const int r = static_cast<int>(std::ceil(circleRadius()));
    for (const Circle& c : circles_)
        taken.push_back(QRect(c.centre.toPoint() - QPoint(r, r), QSize(2 * r, 2 * r)));
    std::vector<const Ray*> order;
    for (const Ray& ray : rays)
        order.push_back(&ray);
    std::stable_sort(order.begin(), order.end(), [](const Ray* a, const Ray* b) {
        return namePriority(a->hue) < namePriority(b->hue);
    });
    const QFontMetrics metrics(surface->drawingFont());
    const QRect page(QPoint(0, 0), surface->layoutSize());
    for (const Ray* ray : order) {
        const QString name = qs(hconvert(ray->hue));
        const QSize size(metrics.horizontalAdvance(name) + 1, metrics.height());
        const int last = ray->circles.empty() ? -2 : ray->circles.back().first;
        const QPointF end = circleCentre(ray->hue, last, factor);
        const QPointF step = circleCentre(ray->hue, last + 2, factor) - end;
        const QPointF direction = step / std::hypot(step.x(), step.y());
        std::optional<QRect> chosen, first;
        // Just beyond the last circle, then outward along the ray.
        for (int k = 0; k <= 16 && !chosen; ++k) {
            const QPointF anchor = end + direction * (circleRadius() + 2 + 3 * k);
            QRect rect = nameRect(anchor, direction, size);
            rect.moveLeft(std::clamp(rect.left(), 0, page.width() - size.width()));
            rect.moveTop(std::clamp(rect.top(), 0, page.height() - size.height()));
            if (!first) first = rect;
            // A pixel of ground around a name keeps it apart from its neighbours.
            const QRect spaced = rect.adjusted(-1, -1, 1, 1);
            if (std::none_of(taken.begin(), taken.end(),
                             [&spaced](const QRect& t) { return t.intersects(spaced); }))
                chosen = rect;
        }
        // A principal hue is never left out.
        if (!chosen && namePriority(ray->hue) == 0) chosen = first;
        if (!chosen) continue;
        taken.push_back(*chosen);
        hueNames_.emplace_back(name, *chosen);
        surface->drawText(chosen->topLeft(), name, foreground);
    }
}

QPointF ValuePage::circleAt(float hue, double chroma) const {
    return circleCentre(hue, chroma, factor_);
}

QString ValuePage::tooltipAt(int x, int y) const {
    const QPointF p(x + 0.5, y + 0.5);
    for (const Circle& c : circles_) {
        const QPointF d = p - c.centre;
        if (d.x() * d.x() + d.y() * d.y() <= c.radius * c.radius)
            return notationTip(c.hue, c.value, c.chroma, session_.resources().names(), true);
    }
    return {};
}

void ValuePage::onValueSlider() {
    if (updating) return;
    ColourModel next =
        enterMunsell(edit(session_.colour(), Box::Value, plainText(valueSlider->value() / 100.0f)),
                     session_.table());
    // A hue box holding no hue (typed, not yet entered) gives no colour at
    // any value: the colour stays, and Messages says why.
    if (next.outcome.hasAny(noNewColour)) {
        const std::string why = next.messages.empty() ? "No colour" : next.messages.front();
        session_.note("The value page's slider gives no colour: " + why + "; the colour stays.");
        return;
    }
    const bool converted = next.munsellConverted;
    session_.setColour(std::move(next), Change::Slider, this);
    if (converted) showCurrentValue();
}

void ValuePage::followColour(const ColourChange& change) {
    if (change.origin != this && change.colour.munsellConverted) showCurrentValue();
}

void ValuePage::showCurrentValue() {
    // The value box read by the leading-number rule (no number reads as 0).
    float value = static_cast<float>(leadingNumber(session_.colour()[Box::Value]));
    showValuePage(value);
}

void ValuePage::pause() {
    Platform& p = platform_;
    const double start = p.secondsSinceMidnight();
    QElapsedTimer bound;
    bound.start();
    for (;;) {
        double elapsed = p.secondsSinceMidnight() - start;
        if (elapsed < 0) elapsed += 86400.0; // past midnight
        if (elapsed >= 0.01 || bound.elapsed() >= 50) return;
    }
}

void ValuePage::onMouseMove(int x, int y) {
    pause();
    // The colour under the mouse, not the limit curve drawn over it.
    const long c = surface->pixelUnderLines(x, y);
    const int R = c & 0xFF, G = (c >> 8) & 0xFF, B = (c >> 16) & 0xFF;
    if (!(displayable(R) && displayable(G) && displayable(B))) {
        readOutSwatch->setFillColor(Qt::black);
        readOut->setText("Out of RGB Gamut");
        return;
    }
    if (R == 192 && G == 192 && B == 192) return; // the background
    readOut->setText(qs("R=" + signedText(R) + "  G=" + signedText(G) + "  B=" + signedText(B)));
    readOutSwatch->setFillColor(QColor(R, G, B));
}

void ValuePage::onMouseDown(int x, int y) {
    // A circle sends the notation it shows; the background, the names and
    // the rays send nothing.
    const QPointF p(x + 0.5, y + 0.5);
    for (const Circle& c : circles_) {
        const QPointF d = p - c.centre;
        if (d.x() * d.x() + d.y() * d.y() > c.radius * c.radius) continue;
        sendNotation(session_, c.hue, c.value, c.chroma, this);
        return;
    }
}

} // namespace huelinx
