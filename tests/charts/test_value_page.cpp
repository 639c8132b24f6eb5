#include "main_window_fixture.h"

#include "charts/chart_common.h"
#include "charts/chart_surface.h"
#include "charts/value_page.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include <cmath>
#include <set>

namespace huelinx::testing {
namespace {

class ValuePageTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
        platform.setAdvancePerRead(0.004); // the read-out's pause ends after three readings
        ui().munsellBoxes[0]->setText("5R");
        ui().munsellBoxes[1]->setText("5");
        enter(ui().munsellBoxes[2], "10");
        ui().valuePageCheck->setChecked(true);
        page = form->findChild<ValuePage*>();
        ASSERT_NE(page, nullptr);
    }
    // Where the circle of hue h, chroma c is centred, in pixels.
    QPoint at(float h, int c) const { return page->circleAt(h, c).toPoint(); }
    // Where the page wrote a hue's name; a null rectangle when it didn't.
    QRect nameRect(const QString& name) const {
        for (const auto& [text, rect] : page->hueNames())
            if (text == name) return rect;
        return {};
    }
    // The colours within `reach` pixels of a point.
    std::set<long> around(QPoint p, int reach) const {
        std::set<long> colours;
        for (int dx = -reach; dx <= reach; ++dx)
            for (int dy = -reach; dy <= reach; ++dy)
                colours.insert(page->surface->pixel(p.x() + dx, p.y() + dy));
        return colours;
    }
    // The last chroma of hue h at value 5 that lies in the data.
    int lastChroma(float h) const {
        int last = -2;
        for (float value = 5; last < 40; last += 2)
            if (chartColour(h, value, float(last + 2), session().table(), form->settings()).X == 0)
                break;
        return last;
    }
    ValuePage* page = nullptr;
};

TEST_F(ValuePageTest, ValueFiveRaysEndWithTheirHueNames) {
    EXPECT_EQ(page->windowTitle(), "Munsell Value Page");
    EXPECT_EQ(page->valueTitle->text(), "Value   5.");
    EXPECT_EQ(page->valueSlider->value(), 500);
    const long grey = colourValue(QColor(192, 192, 192));
    EXPECT_EQ(page->surface->pixel(296, 276), grey); // the empty centre
    // Chroma 0 lies on the inner ring: a solid neutral circle (its neighbours
    // overlap it a little).
    const std::set<long> neutral = around(at(5, 0), 1);
    ASSERT_EQ(neutral.size(), 1u);
    EXPECT_NEAR(*neutral.begin() & 0xFF, (*neutral.begin() >> 8) & 0xFF, 2);
    // Rays of different lengths; a clipped colour is hatched in black; the
    // name stands where the data end.
    const int red = lastChroma(5), blue = lastChroma(65);
    EXPECT_NE(red, blue);
    float five = 5;
    const ChartColour edge = chartColour(5, five, float(red), session().table(), form->settings());
    ASSERT_TRUE(edge.R == 0 || edge.G == 0 || edge.B == 0);
    const std::set<long> hatched = around(at(5, red), 3);
    EXPECT_TRUE(hatched.count(0) && hatched.count(colourValue(QColor(edge.R, edge.G, edge.B))));
    const QRect name = nameRect("5.00R");
    EXPECT_LT(QLineF(name.center(), at(5, red + 2)).length(), 30.0);
    std::set<long> text;
    for (int x = name.left(); x <= name.right(); ++x)
        for (int y = name.top(); y <= name.bottom(); ++y)
            text.insert(page->surface->pixel(x, y));
    EXPECT_EQ(text, (std::set<long>{0, grey}));
}

TEST_F(ValuePageTest, HueNamesNeitherOverlapNorLeaveThePageAndCirclesStayOnIt) {
    const QRect pageRect(QPoint(0, 0), page->surface->layoutSize());
    for (const char* value : {"1", "2.5", "4", "5", "6.5", "8", "9"}) {
        enter(ui().munsellBoxes[1], value);
        const auto& names = page->hueNames();
        for (std::size_t i = 0; i < names.size(); ++i) {
            EXPECT_TRUE(pageRect.contains(names[i].second))
                << value << " " << names[i].first.toStdString();
            for (std::size_t j = 0; j < i; ++j)
                EXPECT_FALSE(names[i].second.intersects(names[j].second))
                    << value << " " << names[i].first.toStdString() << " "
                    << names[j].first.toStdString();
            for (QWidget* control : {static_cast<QWidget*>(page->valueSlider),
                                     static_cast<QWidget*>(page->printButton)})
                EXPECT_FALSE(names[i].second.intersects(control->geometry())) << value;
        }
        // Every principal hue is named.
        for (const char* principal : {"5.00R", "5.00YR", "5.00Y", "5.00GY", "5.00G", "5.00BG",
                                      "5.00B", "5.00PB", "5.00P", "5.00RP"})
            EXPECT_FALSE(nameRect(principal).isNull()) << value << " " << principal;
        // The outermost circle of every ray lies on the page.
        for (int k = 0; k < 40; ++k) {
            const QPointF c = page->circleAt(2.5f * k, 40);
            const double r = ValuePage::circleRadius();
            if (pageRect.contains(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r).toAlignedRect()))
                continue;
            // A ray that long must end before chroma 40 here.
            float v = std::stof(value);
            EXPECT_EQ(chartColour(2.5f * k, v, 40.0f, session().table(), form->settings()).X, 0.0f)
                << value << " " << k;
        }
    }
}

TEST_F(ValuePageTest, SliderAndValuesBeyondIt) {
    EXPECT_EQ(page->valueSlider->minimum(), 100);
    EXPECT_EQ(page->valueSlider->maximum(), 950);
    EXPECT_EQ(page->valueSlider->pageStep(), 100);
    page->valueSlider->setValue(510);
    EXPECT_EQ(text(ui().munsellBoxes[1]), "5.1");
    EXPECT_EQ(text(ui().munsellBoxes[2]), "10");
    EXPECT_EQ(page->valueTitle->text(), "Value   5.1");
    EXPECT_EQ(page->valueSlider->value(), 510);
    // Outside the slider's range: slider at its end, chart for the value given.
    float v = 12;
    page->showValuePage(v);
    EXPECT_EQ(page->valueTitle->text(), "Value   12.");
    EXPECT_EQ(page->valueSlider->value(), 950);
    EXPECT_EQ(v, 10.0f); // the top level of the data
    const QImage top = page->surface->image();
    v = 10;
    page->showValuePage(v);
    EXPECT_EQ(page->surface->image(), top);
    v = 0.5f;
    page->showValuePage(v);
    EXPECT_EQ(page->valueSlider->value(), 100);
    // A value the main window refuses leaves it and the page as they were.
    const QImage half = page->surface->image();
    enter(ui().munsellBoxes[1], "-3");
    EXPECT_EQ(text(ui().munsellBoxes[1]), "5.1");
    EXPECT_EQ(page->surface->image(), half);
    v = -3;
    page->showValuePage(v); // not even in the table: every ray is a name
    EXPECT_EQ(page->valueSlider->value(), 100);
    // A hue typed but not entered that has no family: the slider changes no
    // box and says why.
    ui().munsellBoxes[0]->setText("5X");
    QTest::keyClick(ui().munsellBoxes[0], Qt::Key_End);
    const QString xBefore = text(ui().xyzBoxes[0]);
    page->valueSlider->setValue(600);
    EXPECT_EQ(text(ui().munsellBoxes[1]), "5.1");
    EXPECT_EQ(text(ui().xyzBoxes[0]), xBefore);
    EXPECT_TRUE(
        ui().messagesBox->toPlainText().startsWith("The value page's slider gives no colour"))
        << ui().messagesBox->toPlainText().toStdString();
}

TEST_F(ValuePageTest, ReadOut) {
    const QString before = page->readOut->text();
    page->onMouseMove(296, 276); // background: nothing changes
    EXPECT_EQ(page->readOut->text(), before);
    const QPoint solid = at(5, 0);
    const long c = page->surface->pixel(solid.x(), solid.y());
    QTest::mouseMove(page->surface, solid);
    const auto byte = [c](int i) { return QString::number((c >> (8 * i)) & 0xFF); };
    EXPECT_EQ(page->readOut->text(), "R= " + byte(0) + "  G= " + byte(1) + "  B= " + byte(2));
    EXPECT_EQ(colourValue(page->readOutSwatch->fillColor()), c);
    // Over black (a hatch line or a name) the read-out says so.
    QPoint black = nameRect("5.00R").topLeft();
    for (int dx = 0; dx < 40 && page->surface->pixel(black.x(), black.y()) != 0; ++dx)
        black = nameRect("5.00R").topLeft() + QPoint(dx, nameRect("5.00R").height() / 2);
    ASSERT_EQ(page->surface->pixel(black.x(), black.y()), 0);
    page->onMouseMove(black.x(), black.y());
    EXPECT_EQ(page->readOut->text(), "Out of RGB Gamut");
    EXPECT_EQ(page->readOutSwatch->fillColor(), QColor(Qt::black));

    page->printButton->click();
    EXPECT_EQ(messages(), std::vector<QString>{"Printer not Found"});
}

// A click on a circle enters the notation it shows, as if typed into the
// Munsell boxes; the background and the names send nothing.
TEST_F(ValuePageTest, BackgroundClicksDoNothingAndACircleSendsItsNotation) {
    const auto state = [this] {
        QStringList all;
        for (auto* group : {&ui().munsellBoxes, &ui().xyzBoxes, &ui().labBoxes, &ui().rgbBoxes})
            for (auto* box : *group)
                all << box->text();
        return all << ui().colourNameBox->text() << ui().nearestChipBox->text();
    };
    ui().munsellBoxes[0]->setText("7.5YR");
    enter(ui().munsellBoxes[2], "6");
    const QStringList typed = state();
    enter(ui().munsellBoxes[0], "5R");
    const QImage shown = page->surface->image();
    const QStringList before = state();
    QPoint black = nameRect("5.00R").topLeft();
    for (int dx = 0; dx < 40 && page->surface->pixel(black.x(), black.y()) != 0; ++dx)
        black = nameRect("5.00R").topLeft() + QPoint(dx, nameRect("5.00R").height() / 2);
    ASSERT_EQ(page->surface->pixel(black.x(), black.y()), 0);
    for (const QPoint p : {QPoint(296, 276), QPoint(2, 2), black}) {
        ASSERT_TRUE(page->tooltipAt(p.x(), p.y()).isEmpty()) << p.x() << "," << p.y();
        QTest::mouseClick(page->surface, Qt::LeftButton, {}, p);
    }
    EXPECT_EQ(state(), before);

    // 7.5YR 5/6 gives what typing it gives; the page keeps its drawing.
    QTest::mouseClick(page->surface, Qt::LeftButton, {}, at(17.5f, 6));
    EXPECT_EQ(state(), typed);
    EXPECT_EQ(page->surface->image(), shown);
    QTest::mouseClick(page->surface, Qt::LeftButton, {}, at(5, 0));
    EXPECT_EQ(text(ui().munsellBoxes[0]) + " " + text(ui().munsellBoxes[1]) + "/" +
                  text(ui().munsellBoxes[2]),
              "N 5/0");
    EXPECT_TRUE(messages().empty());
}

} // namespace
} // namespace huelinx::testing
