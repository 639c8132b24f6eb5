#include "main_window_fixture.h"

#include "colour/colorimetry.h"
#include "colour/mun2xyz.h"
#include "mainwindow/swatch.h"
#include "text/number_format.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>

namespace huelinx::testing {
namespace {

class Entry : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
    }
    std::string xyzText() const {
        return (text(ui().xyzBoxes[0]) + " " + text(ui().xyzBoxes[1]) + " " +
                text(ui().xyzBoxes[2]))
            .toStdString();
    }
    QStringList all() const {
        QStringList texts;
        for (auto group : {ui().munsellBoxes.data(), ui().xyzBoxes.data(), ui().labBoxes.data(),
                           ui().rgbBoxes.data()})
            for (int i = 0; i < 3; ++i)
                texts << group[i]->text();
        for (auto* box : ui().chromaticityBoxes)
            texts << box->text();
        for (auto* box : ui().cmykBoxes)
            texts << box->text();
        return texts;
    }
};

TEST_F(Entry, TypedMunsellNotationReachesEveryNotationAndTheSwatch) {
    ui().munsellBoxes[0]->setText("5r");
    ui().munsellBoxes[1]->setText("5");
    enter(ui().munsellBoxes[2], "10");
    const CieOfMunsell cie = mun2xyz(5, 5, 10, session().table(), {});
    ASSERT_EQ(cie.status, MunsellToCie::Ok);
    EXPECT_EQ(xyzText(), formatNumber(cie.X, "##0.00") + " " + formatNumber(cie.Y, "##0.00") + " " +
                             formatNumber(cie.Z, "##0.00"));
    EXPECT_EQ(text(ui().chromaticityBoxes[1]).toStdString(), formatNumber(cie.y, "0.0000"));
    EXPECT_EQ(text(ui().labBoxes[1]).toStdString(),
              formatNumber(xyzlab(cie.X, cie.Y, cie.Z, {}).a, "###.00"));
    // The same row written out, so a formula shared by the window and this
    // test can't hide a fault.
    EXPECT_EQ(xyzText(), "29.08 19.77 12.41");
    EXPECT_EQ(text(ui().labBoxes[0]) + " " + text(ui().labBoxes[1]) + " " + text(ui().labBoxes[2]),
              "51.57 42.14 22.16");
    EXPECT_EQ(text(ui().rgbBoxes[0]) + " " + text(ui().rgbBoxes[1]) + " " + text(ui().rgbBoxes[2]),
              "195 91 88");
    EXPECT_EQ(text(ui().munsellBoxes[0]), "5r"); // the box keeps its case
    EXPECT_EQ(ui().hueSlider->value(), 10);
    EXPECT_EQ(ui().valueSlider->value(), 10);
    EXPECT_EQ(ui().chromaSlider->value(), 10);
    const QColor swatch(text(ui().rgbBoxes[0]).toInt(), text(ui().rgbBoxes[1]).toInt(),
                        text(ui().rgbBoxes[2]).toInt());
    EXPECT_EQ(ui().swatch->backColor(), swatch);
    EXPECT_GT(swatch.red(), swatch.green());
    EXPECT_EQ(ui().outOfRangeLabel->text(), "");
    EXPECT_TRUE(messages().empty());
}

TEST_F(Entry, TypingAloneConvertsNothingAndFocusSelectsTheWholeBox) {
    const QStringList before = all();
    form->show();
    ui().xyzBoxes[0]->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(ui().xyzBoxes[0]->selectedText(), text(ui().xyzBoxes[0]));
    QTest::keyClicks(ui().xyzBoxes[0], "12");
    QStringList after = all();
    EXPECT_EQ(text(ui().xyzBoxes[0]), "12");
    after[3] = before[3];
    EXPECT_EQ(after, before);
}

TEST_F(Entry, MunsellTextsThatCannotConvertSayOutOfMunsellRangeOnce) {
    const auto expectMessages = [&](std::vector<QString> expected, const char* what) {
        EXPECT_EQ(messages(), expected) << what;
        platform.clear();
    };
    const QStringList before = all();
    enter(ui().munsellBoxes[2], "abc");
    expectMessages({"Out of Munsell Range"}, "chroma not a number");
    EXPECT_EQ(all().mid(3), before.mid(3));
    enter(ui().munsellBoxes[2], "45");
    expectMessages({"Out of Munsell Range"}, "chroma beyond the slider");
    // A hue without family: "Format Error", then hue 105 is beyond the slider.
    ui().munsellBoxes[0]->setText("5x");
    enter(ui().munsellBoxes[2], "4");
    expectMessages({"Format Error", "Out of Munsell Range"}, "hue 5x");
    // "N" is the neutral hue: a grey, its chroma 0 whatever the box held.
    ui().munsellBoxes[1]->setText("5");
    enter(ui().munsellBoxes[0], "N");
    expectMessages({}, "hue N");
    EXPECT_EQ(text(ui().munsellBoxes[2]), "0");
    EXPECT_EQ(text(ui().labBoxes[1]) + " " + text(ui().labBoxes[2]), ".00 .00");
    EXPECT_EQ(text(ui().rgbBoxes[0]), text(ui().rgbBoxes[1]));
    EXPECT_EQ(text(ui().rgbBoxes[1]), text(ui().rgbBoxes[2]));
    const QString neutral = text(ui().xyzBoxes[0]);
    enter(ui().munsellBoxes[0], "10RP");
    EXPECT_EQ(text(ui().xyzBoxes[0]), neutral);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Entry, NotationOutsideTheDataShowsZerosAndBlack) {
    ui().munsellBoxes[0]->setText("5Y");
    ui().munsellBoxes[1]->setText("9");
    enter(ui().munsellBoxes[2], "40");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(xyzText(), "0.00 0.00 0.00");
    EXPECT_EQ(text(ui().chromaticityBoxes[0]), "0.0000");
    EXPECT_EQ(text(ui().labBoxes[0]), ".00");
    // No light: black, inside the display's range.
    for (auto* box : ui().rgbBoxes)
        EXPECT_EQ(box->text(), "0");
    // Said in Messages, with no box to close.
    EXPECT_EQ(ui().messagesBox->toPlainText(), "Outside the Munsell data");
    EXPECT_EQ(ui().outOfRangeLabel->text(), "");
    // X, Y, Z the data hold no notation for: value alone, hue and chroma empty.
    ui().xyzBoxes[0]->setText("5");
    ui().xyzBoxes[1]->setText("10");
    enter(ui().xyzBoxes[2], "90");
    EXPECT_EQ(text(ui().munsellBoxes[0]) + "|" + text(ui().munsellBoxes[1]) + "|" +
                  text(ui().munsellBoxes[2]),
              "|3.68|");
    EXPECT_EQ(ui().outOfRangeLabel->text(), "Out of RGB Range");
    EXPECT_EQ(ui().messagesBox->toPlainText(), "Outside the Munsell data");
    EXPECT_TRUE(messages().empty());
    // A colour inside the data takes the note away; other messages stay.
    enter(ui().xyzBoxes[2], "20");
    EXPECT_EQ(ui().messagesBox->toPlainText(), "");
    ui().messagesBox->setPlainText("Instrument not responding");
    enter(ui().xyzBoxes[2], "21");
    EXPECT_EQ(ui().messagesBox->toPlainText(), "Instrument not responding");
}

TEST_F(Entry, XyzEntryFindsTheNotationAndDisplayColour) {
    ui().xyzBoxes[0]->setText("19.38");
    ui().xyzBoxes[1]->setText("19.77");
    enter(ui().xyzBoxes[2], "23.35");
    // The white at value 5: chroma about 0, value 5.
    EXPECT_EQ(text(ui().munsellBoxes[1]), "5.00");
    EXPECT_LT(text(ui().munsellBoxes[2]).toFloat(), 0.05f);
    EXPECT_TRUE(text(ui().chromaticityBoxes[0]).startsWith(".31"));
    EXPECT_EQ(ui().valueSlider->value(), 10);
    const int r = text(ui().rgbBoxes[0]).toInt(), g = text(ui().rgbBoxes[1]).toInt();
    EXPECT_NEAR(r, g, 3);
    EXPECT_TRUE(messages().empty());
    // All zeros are black, N 0/, shown black and inside the display's range.
    ui().xyzBoxes[0]->setText("0");
    ui().xyzBoxes[1]->setText("0");
    enter(ui().xyzBoxes[2], "0");
    EXPECT_EQ(text(ui().munsellBoxes[0]) + " " + text(ui().munsellBoxes[1]) + "/" +
                  text(ui().munsellBoxes[2]),
              "N 0.00/0.00");
    EXPECT_EQ(text(ui().labBoxes[0]), ".00");
    EXPECT_EQ(text(ui().labBoxes[1]) + " " + text(ui().labBoxes[2]), ".00 .00");
    for (auto* box : ui().rgbBoxes)
        EXPECT_EQ(box->text(), "0");
    EXPECT_EQ(ui().outOfRangeLabel->text(), "");
    // A green beyond the display gamut shows black and says so.
    ui().xyzBoxes[0]->setText("20");
    ui().xyzBoxes[1]->setText("60");
    enter(ui().xyzBoxes[2], "5");
    EXPECT_EQ(ui().outOfRangeLabel->text(), "Out of RGB Range");
    EXPECT_EQ(text(ui().rgbBoxes[0]) + text(ui().rgbBoxes[1]) + text(ui().rgbBoxes[2]), "000");
}

// A value below the value slider's first place (0.5) is shown as it is; the
// slider stays at its first place, and the notation shown converts back.
TEST_F(Entry, DarkSamplesShowTheirValueWithTheSliderAtItsFirstPlace) {
    ui().xyzBoxes[0]->setText("0.1");
    ui().xyzBoxes[1]->setText("0.1");
    enter(ui().xyzBoxes[2], "0.12");
    EXPECT_EQ(text(ui().munsellBoxes[1]), "0.08");
    EXPECT_EQ(ui().valueSlider->value(), 1);
    enter(ui().munsellBoxes[2], text(ui().munsellBoxes[2]));
    EXPECT_EQ(xyzText(), "0.10 0.10 0.12");
    EXPECT_EQ(ui().valueSlider->value(), 1);
}

TEST_F(Entry, BoxesThatHoldNoUsableNumberSayWhichAndChangeNothing) {
    const QStringList before = all();
    const struct {
        QLineEdit* box;
        const char* text;
        const char* message;
    } cases[] = {
        {ui().xyzBoxes[2], "abc", "Z needs a number; it holds \"abc\"."},
        {ui().chromaticityBoxes[0], "abc", "x needs a number; it holds \"abc\"."},
        {ui().labBoxes[1], "abc", "a* needs a number; it holds \"abc\"."},
        {ui().cmykBoxes[3], "abc", "K needs a number; it holds \"abc\"."},
        // Numbers single precision can't hold, within a double's range and beyond it.
        {ui().xyzBoxes[0], "1e39", "X is out of range: \"1e39\"."},
        {ui().labBoxes[2], "-1e400", "b* is out of range: \"-1e400\"."},
    };
    for (const auto& c : cases) {
        const QString kept = c.box->text();
        enter(c.box, c.text);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0], c.message);
        platform.clear();
        c.box->setText(kept);
        EXPECT_EQ(all(), before);
    }
    ui().chromaticityBoxes[0]->setText("0.3");
    enter(ui().chromaticityBoxes[1], "0");
    EXPECT_EQ(messages(), std::vector<QString>{"y needs a number other than 0."});
    platform.clear();
    // Below L* 0 is less light than none.
    enter(ui().labBoxes[0], "-0.5");
    EXPECT_EQ(messages(), std::vector<QString>{"L* needs a number of 0 or more."});
}

TEST_F(Entry, ChromaticityEntryKeepsTheLuminance) {
    ui().xyzBoxes[1]->setText("50");
    ui().chromaticityBoxes[0]->setText("0.3101");
    enter(ui().chromaticityBoxes[1], "0.3163");
    EXPECT_EQ(xyzText(), "49.02 50 59.06");
    EXPECT_LT(text(ui().munsellBoxes[2]).toFloat(), 0.05f);
}

// Under D65 every box means a D65 value: L*a*b* entered write the X, Y, Z
// of the D65 white's L*a*b*, and those X, Y, Z entered give the notation back.
TEST_F(Entry, LabEntryUnderD65WritesTheTristimulusUnderD65) {
    ui().illuminantButtons[2]->click();
    EXPECT_EQ(ui().illuminantLabel->text(), "Illuminant D65  10° Observer ");
    ui().labBoxes[0]->setText("50");
    ui().labBoxes[1]->setText("20");
    enter(ui().labBoxes[2], "-30");
    const auto lab = labxyz(50, 20, -30, whiteOf(Illuminant::D65));
    ASSERT_TRUE(lab);
    EXPECT_EQ(xyzText(), formatNumber(lab->X, "###.00") + " " + formatNumber(lab->Y, "###.00") +
                             " " + formatNumber(lab->Z, "###.00"));
    const auto notation = [this] {
        return text(ui().munsellBoxes[0]) + " " + text(ui().munsellBoxes[1]) + "/" +
               text(ui().munsellBoxes[2]);
    };
    EXPECT_EQ(notation(), "1.24P 4.86/8.22");
    enter(ui().xyzBoxes[2], text(ui().xyzBoxes[2]));
    EXPECT_EQ(notation(), "1.24P 4.86/8.22");
}

TEST_F(Entry, RgbEntryClampsAndWritesRoundedPlainTristimulus) {
    ui().rgbBoxes[1]->setText("-5");
    ui().rgbBoxes[2]->setText("abc");
    enter(ui().rgbBoxes[0], "300");
    EXPECT_EQ(text(ui().rgbBoxes[0]) + "," + text(ui().rgbBoxes[1]) + "," + text(ui().rgbBoxes[2]),
              "255,0,0");
    EXPECT_EQ(ui().redSlider->value(), 255);
    EXPECT_EQ(ui().greenSlider->value(), 0);
    const QRegularExpression plain("^-?\\d+(\\.\\d?[1-9])?$");
    for (auto* box : ui().xyzBoxes)
        EXPECT_TRUE(plain.match(box->text()).hasMatch()) << box->text().toStdString();
    EXPECT_EQ(text(ui().xyzBoxes[1]), "21.27"); // display red: Y = 0.212671
    EXPECT_EQ(ui().swatch->backColor(), QColor(255, 0, 0));
    EXPECT_EQ(text(ui().cmykBoxes[0]) + " " + text(ui().cmykBoxes[1]) + " " +
                  text(ui().cmykBoxes[2]) + " " + text(ui().cmykBoxes[3]),
              "0 100 100 0");
    EXPECT_TRUE(text(ui().munsellBoxes[0]).endsWith("R"));
}

TEST_F(Entry, CmykEntryConvertsBackToEveryNotation) {
    for (int i = 0; i < 3; ++i)
        ui().cmykBoxes[i]->setText("0");
    enter(ui().cmykBoxes[3], "0");
    EXPECT_EQ(text(ui().rgbBoxes[0]) + text(ui().rgbBoxes[1]) + text(ui().rgbBoxes[2]),
              "255255255");
    EXPECT_EQ(ui().blueSlider->value(), 255);
    EXPECT_EQ(ui().swatch->backColor(), QColor(255, 255, 255));
    EXPECT_LT(text(ui().munsellBoxes[2]).toFloat(), 0.5f);
    // Ink beyond 100 % is clamped to full.
    enter(ui().cmykBoxes[3], "150");
    EXPECT_EQ(text(ui().rgbBoxes[0]), "0");
}

TEST_F(Entry, MunsellSlidersWriteTheirBoxAndIgnoreTheirOwnMoves) {
    // Start-up moved the hue slider to 53 without rewriting the hue box.
    EXPECT_EQ(text(ui().munsellBoxes[0]), "6.4Y");
    ui().hueSlider->setValue(0);
    EXPECT_EQ(text(ui().munsellBoxes[0]), "10.00RP");
    ui().hueSlider->setValue(202);
    EXPECT_EQ(text(ui().munsellBoxes[0]), "1.00R");
    ui().chromaSlider->setValue(4);
    EXPECT_EQ(text(ui().munsellBoxes[2]), "4");
    ui().valueSlider->setValue(9);
    EXPECT_EQ(text(ui().munsellBoxes[1]), "4.5");
    const QString x = text(ui().xyzBoxes[0]);
    ui().valueSlider->setValue(20);
    EXPECT_EQ(text(ui().munsellBoxes[1]), "4.5"); // the top writes nothing...
    EXPECT_EQ(text(ui().xyzBoxes[0]), x);         // ...but converts the same notation again
    EXPECT_EQ(ui().valueSlider->value(), 9);      // and the slider follows the box
}

TEST_F(Entry, RgbSlidersConvertTheirChannel) {
    ui().blueSlider->setValue(128);
    EXPECT_EQ(text(ui().rgbBoxes[2]), "128");
    EXPECT_EQ(ui().swatch->backColor().blue(), 128);
}

TEST_F(Entry, GammaBoxAndSliderMoveTogether) {
    const QString red = text(ui().rgbBoxes[0]);
    ui().gammaBox->setText("2.25");
    EXPECT_EQ(ui().gammaSlider->value(), 22);
    EXPECT_EQ(text(ui().gammaBox), "2.25");
    ui().gammaBox->setText("1.5");
    EXPECT_EQ(ui().gammaSlider->value(), 15);
    EXPECT_FLOAT_EQ(form->colour().settings.gammaInv[1], 1.0f / 1.5f);
    EXPECT_NE(text(ui().rgbBoxes[0]), red);
    ui().gammaBox->setText("5");
    EXPECT_EQ(ui().gammaSlider->value(), 15);
    ui().gammaBox->setText("");
    EXPECT_TRUE(messages().empty());
    ui().gammaBox->setText("abc");
    EXPECT_EQ(messages(), std::vector<QString>{"Gamma needs a number; it holds \"abc\"."});
    ui().gammaSlider->setValue(30);
    EXPECT_EQ(text(ui().gammaBox), "3");
}

TEST_F(Entry, IlluminantsGiveBradfordAdaptedTristimulus) {
    const char* captions[3] = {"illuminant C  2° Observer ", "illuminant D5000 2° Observer ",
                               "Illuminant D65  10° Observer "};
    const char* rows[3] = {"65.10 70.37 15.75", "67.72 71.58 11.53", "63.78 70.67 14.52"};
    for (int i : {1, 2, 0}) {
        ui().illuminantButtons[i]->click();
        EXPECT_EQ(ui().illuminantLabel->text(), captions[i]);
        ColourSettings s;
        s.illuminant = static_cast<Illuminant>(i);
        const CieOfMunsell cie = mun2xyz(26.4f, 8.6f, 10.4f, session().table(), s);
        EXPECT_EQ(xyzText(), formatNumber(cie.X, "##0.00") + " " + formatNumber(cie.Y, "##0.00") +
                                 " " + formatNumber(cie.Z, "##0.00"));
        EXPECT_EQ(text(ui().chromaticityBoxes[0]).toStdString(),
                  formatNumber(cie.X / (cie.X + cie.Y + cie.Z), "0.0000"));
        EXPECT_EQ(xyzText(), rows[i]);
    }
}

TEST_F(Entry, PwdGivesTheSameNotationLessLuminance) {
    const float Y = text(ui().xyzBoxes[1]).toFloat();
    ui().pwdCheck->setChecked(true);
    enter(ui().munsellBoxes[0], "6.4Y");
    EXPECT_NEAR(text(ui().xyzBoxes[1]).toFloat(), Y * 0.975f, 0.01f);
}

TEST_F(Entry, SwatchClickConvertsOnlyColoursInsideTheDisplayRange) {
    form->show();
    // The start colour has no channel at 0 or 255: a click converts it again.
    ui().rgbBoxes[0]->setText("");
    QTest::mouseClick(ui().swatch, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(text(ui().rgbBoxes[0]).toInt(), ui().swatch->backColor().red());
    EXPECT_EQ(platform.processEventsCount(), 1);
    // Pure red has channels at the edges: the boxes fill, nothing else moves.
    enter(ui().rgbBoxes[0], "255");
    ui().rgbBoxes[1]->setText("0");
    enter(ui().rgbBoxes[2], "0");
    const QString hue = text(ui().munsellBoxes[0]);
    ui().rgbBoxes[0]->setText("9");
    QTest::mouseClick(ui().swatch, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(text(ui().rgbBoxes[0]), "255");
    EXPECT_EQ(text(ui().munsellBoxes[0]), hue);
    EXPECT_EQ(platform.processEventsCount(), 1);
}

} // namespace
} // namespace huelinx::testing
