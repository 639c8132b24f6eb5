#include "main_window_fixture.h"

#include "charts/chart_surface.h"
#include "charts/tolerance_set.h"
#include "colour/colorimetry.h"
#include "colour/hue.h"
#include "colour/mun2xyz.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>

namespace huelinx::testing {
namespace {

class Tolerance : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
        const char* lab[3] = {"50", "0", "0"};
        for (int i = 0; i < 3; ++i)
            ui().labBoxes[i]->setText(lab[i]);
        ui().toleranceSetCheck->setChecked(true);
        set = form->findChild<ToleranceSet*>();
        ASSERT_NE(set, nullptr);
    }
    // L*, a*, b* of patch i, back from the Munsell notation the set holds.
    std::array<float, 3> labOf(int i) const {
        const CieOfMunsell cie =
            mun2xyz(converth(set->patchNotations[0][i]).hue, std::stof(set->patchNotations[1][i]),
                    std::stof(set->patchNotations[2][i]), session().table(), form->settings());
        const LabOfXyz lab = xyzlab(cie.X, cie.Y, cie.Z, form->settings());
        return {lab.L, lab.a, lab.b};
    }
    QStringList captions() const {
        QStringList all;
        for (auto* label : set->stepCaptions)
            all << label->text();
        return all;
    }
    ToleranceSet* set = nullptr;
};

TEST_F(Tolerance, SevenPatchesOneStepApart) {
    EXPECT_EQ(set->windowTitle(), "Munsell Color Tolerance Set");
    EXPECT_EQ(set->standardBoxes[0]->text() + "|" + set->standardBoxes[1]->text(), "50.00|.00");
    EXPECT_EQ(captions(), QStringList({"L + 5", "L - 5", "A + 5", "A -  5", "B + 5", "B -  5"}));
    EXPECT_EQ(set->directionLabels[5]->text(), "Bluer");
    const float expected[7][3] = {{50, 0, 0},  {55, 0, 0}, {45, 0, 0}, {50, 5, 0},
                                  {50, -5, 0}, {50, 0, 5}, {50, 0, -5}};
    for (int i = 0; i < 7; ++i) {
        const auto lab = labOf(i);
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(lab[k], expected[i][k], 0.6f) << "patch " << i << " coordinate " << k;
        const QColor fill(set->patchRgb[0][i], set->patchRgb[1][i], set->patchRgb[2][i]);
        EXPECT_EQ(set->patches[i]->fillColor(), fill);
        EXPECT_EQ(set->patches[i]->borderColor(), fill);
        const QPoint c = set->patches[i]->rect().center();
        EXPECT_EQ(set->surface->pixel(c.x(), c.y()), colourValue(fill));
    }
    EXPECT_EQ(set->patches[1]->rect(), QRect(148, 60, 65, 65));
    EXPECT_EQ(set->patches[6]->rect(), QRect(76, 164, 65, 65));
    // Neighbours stand apart: the ground shows between the standard and each.
    for (int i = 1; i < 7; ++i) {
        EXPECT_FALSE(
            set->patches[0]->rect().adjusted(-2, -2, 2, 2).intersects(set->patches[i]->rect()))
            << i;
        const QRect between = set->patches[0]->rect().united(set->patches[i]->rect());
        EXPECT_GE(std::max(between.width(), between.height()), 65 + 65 + 4) << i;
    }
    // A conversion in the main window rebuilds the set around the new colour.
    ui().munsellBoxes[0]->setText("5R");
    ui().munsellBoxes[1]->setText("5");
    enter(ui().munsellBoxes[2], "10");
    EXPECT_EQ(set->standardBoxes[1]->text(), text(ui().labBoxes[1]));
    EXPECT_TRUE(messages().empty());
}

// The tooltips write each patch's notation as the main window's notations
// are written (two decimals at most, no trailing zeros); the stored palette
// keeps the full precision.
TEST_F(Tolerance, TooltipsWriteTheNotationAsTheWindowDoes) {
    ui().munsellBoxes[0]->setText("5R");
    ui().munsellBoxes[1]->setText("4");
    enter(ui().munsellBoxes[2], "14");
    const QString number = "(\\d+(\\.\\d?[1-9])?)";
    const QRegularExpression tip("^[A-Za-z]+: " + number + "(R|YR|Y|GY|G|BG|B|PB|P|RP) " + number +
                                 "/" + number + "  ");
    for (int i = 0; i < 7; ++i) {
        const QPoint c = set->patches[i]->rect().center();
        const auto match = tip.match(set->tooltipAt(c.x(), c.y()));
        ASSERT_TRUE(match.hasMatch()) << set->tooltipAt(c.x(), c.y()).toStdString();
        // The notation the set holds, to the hundredth.
        const float hue = converth((match.captured(1) + match.captured(3)).toStdString()).hue;
        EXPECT_NEAR(hue, converth(set->patchNotations[0][i]).hue, 0.0051f);
        EXPECT_NEAR(match.captured(4).toFloat(), std::stof(set->patchNotations[1][i]), 0.0051f);
        EXPECT_NEAR(match.captured(6).toFloat(), std::stof(set->patchNotations[2][i]), 0.0051f);
    }
    const QPoint standard = set->patches[0]->rect().center();
    EXPECT_TRUE(set->tooltipAt(standard.x(), standard.y()).startsWith("Standard: 5R 4/14  "));
}

TEST_F(Tolerance, APatchOutsideTheDataShowsItsValueAlone) {
    // A saturated blue-green beyond the data: the set is built around it.
    ui().xyzBoxes[0]->setText("5");
    ui().xyzBoxes[1]->setText("10");
    enter(ui().xyzBoxes[2], "90");
    EXPECT_EQ(set->patchNotations[0][0], "");
    EXPECT_EQ(set->patchNotations[2][0], "");
    EXPECT_NEAR(std::stof(set->patchNotations[1][0]), 3.68f, 0.01f);
}

TEST_F(Tolerance, StepsBlackLinesAndTheBoxes) {
    set->standardBoxes[0]->setText("60");
    set->stepSliders[1]->setValue(120);
    EXPECT_EQ(set->stepSizes[1], 12.0f);
    EXPECT_EQ(captions()[2] + "|" + captions()[3], "A + 12|A -  12");
    EXPECT_EQ(set->standardBoxes[0]->text(), "60.00");
    EXPECT_NEAR(labOf(3)[1], 12.0f, 0.6f);
    EXPECT_NEAR(labOf(0)[0], 60.0f, 0.6f);
    set->blackLinesCheck->setChecked(true);
    for (auto* patch : set->patches)
        EXPECT_EQ(patch->borderColor(), QColor(Qt::black));
    const QPoint corner = set->patches[1]->rect().topLeft();
    EXPECT_EQ(set->surface->pixel(corner.x(), corner.y()), 0);
    set->blackLinesCheck->setChecked(false);
    for (auto* patch : set->patches)
        EXPECT_EQ(patch->borderColor(), patch->fillColor());
    // A box without a number is named and the set stays as it was.
    const auto before = set->patchRgb;
    set->standardBoxes[2]->setText("blue");
    set->stepSliders[0]->setValue(100);
    EXPECT_EQ(messages(), std::vector<QString>{"b* needs a number; it holds \"blue\"."});
    EXPECT_EQ(captions()[0], "L + 10");
    EXPECT_EQ(set->patchRgb, before);
}

TEST_F(Tolerance, NumbersAndColoursBeyondSinglePrecisionAreRefusedAndDrawNothing) {
    const auto patchesBefore = set->patchRgb;
    const auto notationsBefore = set->patchNotations;
    const auto fillsBefore = set->patches[3]->fillColor();
    for (int k = 0; k < 3; ++k) {
        const QString kept = set->standardBoxes[k]->text();
        for (const char* huge : {"1e39", "-3.5e38"}) {
            platform.clear();
            set->standardBoxes[k]->setText(huge);
            set->stepSliders[k]->setValue(set->stepSliders[k]->value() == 60 ? 70 : 60);
            const QString refused =
                QString("%1 is out of range: \"%2\".").arg(QStringList{"L*", "a*", "b*"}[k], huge);
            EXPECT_EQ(messages(), std::vector<QString>{refused}) << k << huge;
            EXPECT_EQ(set->patchRgb, patchesBefore) << k << huge;
            EXPECT_EQ(set->patchNotations, notationsBefore) << k << huge;
            EXPECT_EQ(set->patches[3]->fillColor(), fillsBefore) << k << huge;
        }
        set->standardBoxes[k]->setText(kept);
    }
    // Numbers single precision holds whose colours lie beyond it: said, and
    // no black patch drawn. (A large negative a* is on the straight line of
    // L*a*b*: a finite negative X, not beyond single precision.)
    const QStringList huge{"1e13", "1e30", "-1e30"};
    for (int k : {0, 1, 2}) {
        platform.clear();
        const QString kept = set->standardBoxes[k]->text();
        set->standardBoxes[k]->setText(huge[k]);
        set->blackLinesCheck->toggle();
        QStringList around{"L* 50.00", "a* .00", "b* .00"};
        around[k] = QStringList{"L* ", "a* ", "b* "}[k] + huge[k];
        EXPECT_EQ(messages(), std::vector<QString>{"The set around " + around.join(", ") +
                                                   " is out of range: its colours lie beyond "
                                                   "single precision."});
        EXPECT_EQ(set->patchRgb, patchesBefore) << k;
        EXPECT_EQ(set->patchNotations, notationsBefore) << k;
        EXPECT_EQ(set->standardBoxes[k]->text(), huge[k]);
        set->standardBoxes[k]->setText(kept);
    }
    // The main window's L*a*b* entry says the same of the same text.
    platform.clear();
    ui().labBoxes[0]->setText("0");
    ui().labBoxes[1]->setText("0");
    enter(ui().labBoxes[0], "1e39");
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(ui().messagesBox->toPlainText().startsWith("L* is out of range: \"1e39\";"));
}

TEST_F(Tolerance, SavedPaletteIsReplacedWithTheStandardLast) {
    // The viewer's reload converts each saved colour in the main window; the
    // set stays as saved, so a second save writes the same file again.
    set->savePaletteButton->click();
    const QString saved = readFile("Cpalette.csv");
    set->savePaletteButton->click();
    EXPECT_EQ(readFile("Cpalette.csv"), saved);
    EXPECT_EQ(paletteFile(), "Cpalette.csv");
    const QStringList lines = saved.split("\r\n");
    ASSERT_EQ(lines.size(), 8); // seven lines and the end
    EXPECT_EQ(lines[7], "");
    for (int n = 0; n < 7; ++n) {
        const int i = 6 - n;
        const QStringList f = lines[n].split(',');
        ASSERT_EQ(f.size(), 19);
        EXPECT_EQ(f.mid(0, 3), QStringList({"12-17-2022", "10:30:00", " " + QString::number(i)}));
        EXPECT_EQ(f[3].toStdString(), set->patchNotations[0][i]);
        EXPECT_TRUE(f[4].startsWith(' ') && f[5].startsWith(' '));
        EXPECT_EQ(f.mid(6, 9), QStringList(9, "0"));
        EXPECT_EQ(f[15], " " + QString::number(set->patchRgb[0][i]) + " ");
        EXPECT_EQ(f[18], "end");
    }
    platform.clear();
    set->printButton->click();
    EXPECT_EQ(messages(), std::vector<QString>{"Printer not Found"});
}

} // namespace
} // namespace huelinx::testing
