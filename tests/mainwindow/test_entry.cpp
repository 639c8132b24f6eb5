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
        return (text(form->xyzBoxes[0]) + " " + text(form->xyzBoxes[1]) + " " +
                text(form->xyzBoxes[2]))
            .toStdString();
    }
    QStringList all() const {
        QStringList texts;
        for (auto group : {form->munsellBoxes.data(), form->xyzBoxes.data(), form->labBoxes.data(),
                           form->rgbBoxes.data()})
            for (int i = 0; i < 3; ++i)
                texts << group[i]->text();
        for (auto* box : form->chromaticityBoxes)
            texts << box->text();
        for (auto* box : form->cmykBoxes)
            texts << box->text();
        return texts;
    }
};

TEST_F(Entry, TypedMunsellNotationReachesEveryNotationAndTheSwatch) {
    form->munsellBoxes[0]->setText("5r");
    form->munsellBoxes[1]->setText("5");
    enter(form->munsellBoxes[2], "10");
    const CieOfMunsell cie = mun2xyz(5, 5, 10, session().table(), {});
    ASSERT_EQ(cie.status, MunsellToCie::Ok);
    EXPECT_EQ(xyzText(), formatNumber(cie.X, "##0.00") + " " + formatNumber(cie.Y, "##0.00") + " " +
                             formatNumber(cie.Z, "##0.00"));
    EXPECT_EQ(text(form->chromaticityBoxes[1]).toStdString(), formatNumber(cie.y, "0.0000"));
    EXPECT_EQ(text(form->labBoxes[1]).toStdString(),
              formatNumber(xyzlab(cie.X, cie.Y, cie.Z, {}).a, "###.00"));
    // The same row written out, so a formula shared by the window and this
    // test can't hide a fault.
    EXPECT_EQ(xyzText(), "29.08 19.77 12.41");
    EXPECT_EQ(text(form->labBoxes[0]) + " " + text(form->labBoxes[1]) + " " +
                  text(form->labBoxes[2]),
              "51.57 42.14 22.16");
    EXPECT_EQ(text(form->rgbBoxes[0]) + " " + text(form->rgbBoxes[1]) + " " +
                  text(form->rgbBoxes[2]),
              "194 90 87");
    EXPECT_EQ(text(form->munsellBoxes[0]), "5r"); // the box keeps its case
    EXPECT_EQ(form->hueSlider->value(), 10);
    EXPECT_EQ(form->valueSlider->value(), 10);
    EXPECT_EQ(form->chromaSlider->value(), 10);
    const QColor swatch(text(form->rgbBoxes[0]).toInt(), text(form->rgbBoxes[1]).toInt(),
                        text(form->rgbBoxes[2]).toInt());
    EXPECT_EQ(form->swatch->backColor(), swatch);
    EXPECT_GT(swatch.red(), swatch.green());
    EXPECT_EQ(form->outOfRangeLabel->text(), "");
    EXPECT_TRUE(messages().empty());
}

TEST_F(Entry, TypingAloneConvertsNothingAndFocusSelectsTheWholeBox) {
    const QStringList before = all();
    form->show();
    form->xyzBoxes[0]->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(form->xyzBoxes[0]->selectedText(), text(form->xyzBoxes[0]));
    QTest::keyClicks(form->xyzBoxes[0], "12");
    QStringList after = all();
    EXPECT_EQ(text(form->xyzBoxes[0]), "12");
    after[3] = before[3];
    EXPECT_EQ(after, before);
}

TEST_F(Entry, MunsellTextsThatCannotConvertSayOutOfMunsellRangeOnce) {
    const auto expectMessages = [&](std::vector<QString> expected, const char* what) {
        EXPECT_EQ(messages(), expected) << what;
        platform.clear();
    };
    const QStringList before = all();
    enter(form->munsellBoxes[2], "abc");
    expectMessages({"Out of Munsell Range"}, "chroma not a number");
    EXPECT_EQ(all().mid(3), before.mid(3));
    enter(form->munsellBoxes[2], "45");
    expectMessages({"Out of Munsell Range"}, "chroma beyond the slider");
    // A hue without family: "Format Error", then hue 105 is beyond the slider.
    form->munsellBoxes[0]->setText("5x");
    enter(form->munsellBoxes[2], "4");
    expectMessages({"Format Error", "Out of Munsell Range"}, "hue 5x");
    // "N" is the neutral hue: a grey, its chroma 0 whatever the box held.
    form->munsellBoxes[1]->setText("5");
    enter(form->munsellBoxes[0], "N");
    expectMessages({}, "hue N");
    EXPECT_EQ(text(form->munsellBoxes[2]), "0");
    EXPECT_EQ(text(form->labBoxes[1]) + " " + text(form->labBoxes[2]), ".00 .00");
    EXPECT_EQ(text(form->rgbBoxes[0]), text(form->rgbBoxes[1]));
    EXPECT_EQ(text(form->rgbBoxes[1]), text(form->rgbBoxes[2]));
    const QString neutral = text(form->xyzBoxes[0]);
    enter(form->munsellBoxes[0], "10RP");
    EXPECT_EQ(text(form->xyzBoxes[0]), neutral);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Entry, NotationOutsideTheDataShowsZerosAndTheFloorOfLab) {
    form->munsellBoxes[0]->setText("5Y");
    form->munsellBoxes[1]->setText("9");
    enter(form->munsellBoxes[2], "40");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(xyzText(), "0.00 0.00 0.00");
    EXPECT_EQ(text(form->chromaticityBoxes[0]), "0.0000");
    EXPECT_EQ(text(form->labBoxes[0]), ".09");
    // The display colour is that of the floor values: near black.
    for (auto* box : form->rgbBoxes)
        EXPECT_LE(box->text().toInt(), 5);
    // Said in Messages, with no box to close.
    EXPECT_EQ(form->messagesBox->toPlainText(), "Outside the Munsell data");
    EXPECT_EQ(form->outOfRangeLabel->text(), "");
    // X, Y, Z the data hold no notation for: value alone, hue and chroma empty.
    form->xyzBoxes[0]->setText("5");
    form->xyzBoxes[1]->setText("10");
    enter(form->xyzBoxes[2], "90");
    EXPECT_EQ(text(form->munsellBoxes[0]) + "|" + text(form->munsellBoxes[1]) + "|" +
                  text(form->munsellBoxes[2]),
              "|3.68|");
    EXPECT_EQ(form->outOfRangeLabel->text(), "Out of RGB Range");
    EXPECT_EQ(form->messagesBox->toPlainText(), "Outside the Munsell data");
    EXPECT_TRUE(messages().empty());
    // A colour inside the data takes the note away; other messages stay.
    enter(form->xyzBoxes[2], "20");
    EXPECT_EQ(form->messagesBox->toPlainText(), "");
    form->messagesBox->setPlainText("Instrument not responding");
    enter(form->xyzBoxes[2], "21");
    EXPECT_EQ(form->messagesBox->toPlainText(), "Instrument not responding");
}

TEST_F(Entry, XyzEntryFindsTheNotationAndDisplayColour) {
    form->xyzBoxes[0]->setText("19.38");
    form->xyzBoxes[1]->setText("19.77");
    enter(form->xyzBoxes[2], "23.35");
    // The white at value 5: chroma about 0, value 5.
    EXPECT_EQ(text(form->munsellBoxes[1]), "5.00");
    EXPECT_LT(text(form->munsellBoxes[2]).toFloat(), 0.05f);
    EXPECT_TRUE(text(form->chromaticityBoxes[0]).startsWith(".31"));
    EXPECT_EQ(form->valueSlider->value(), 10);
    const int r = text(form->rgbBoxes[0]).toInt(), g = text(form->rgbBoxes[1]).toInt();
    EXPECT_NEAR(r, g, 3);
    EXPECT_TRUE(messages().empty());
    // All zeros are black, N 0/, shown black and inside the display's range.
    form->xyzBoxes[0]->setText("0");
    form->xyzBoxes[1]->setText("0");
    enter(form->xyzBoxes[2], "0");
    EXPECT_EQ(text(form->munsellBoxes[0]) + " " + text(form->munsellBoxes[1]) + "/" +
                  text(form->munsellBoxes[2]),
              "N 0.00/0.00");
    EXPECT_EQ(text(form->labBoxes[0]), ".09");
    EXPECT_EQ(text(form->labBoxes[1]) + " " + text(form->labBoxes[2]), ".00 .00");
    for (auto* box : form->rgbBoxes)
        EXPECT_EQ(box->text(), "0");
    EXPECT_EQ(form->outOfRangeLabel->text(), "");
    // A green beyond the display gamut shows black and says so.
    form->xyzBoxes[0]->setText("20");
    form->xyzBoxes[1]->setText("60");
    enter(form->xyzBoxes[2], "5");
    EXPECT_EQ(form->outOfRangeLabel->text(), "Out of RGB Range");
    EXPECT_EQ(text(form->rgbBoxes[0]) + text(form->rgbBoxes[1]) + text(form->rgbBoxes[2]), "000");
}

TEST_F(Entry, DarkSamplesShowAtLeastValueHalf) {
    form->xyzBoxes[0]->setText("0.1");
    form->xyzBoxes[1]->setText("0.1");
    enter(form->xyzBoxes[2], "0.12");
    EXPECT_EQ(text(form->munsellBoxes[1]), "0.50");
    EXPECT_EQ(form->valueSlider->value(), 1);
}

TEST_F(Entry, BoxesThatHoldNoUsableNumberSayWhichAndChangeNothing) {
    const QStringList before = all();
    const struct {
        QLineEdit* box;
        const char* text;
        const char* message;
    } cases[] = {
        {form->xyzBoxes[2], "abc", "Z needs a number; it holds \"abc\"."},
        {form->chromaticityBoxes[0], "abc", "x needs a number; it holds \"abc\"."},
        {form->labBoxes[1], "abc", "a* needs a number; it holds \"abc\"."},
        {form->cmykBoxes[3], "abc", "K needs a number; it holds \"abc\"."},
        // Numbers single precision can't hold, within a double's range and beyond it.
        {form->xyzBoxes[0], "1e39", "X is out of range: \"1e39\"."},
        {form->labBoxes[2], "-1e400", "b* is out of range: \"-1e400\"."},
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
    form->chromaticityBoxes[0]->setText("0.3");
    enter(form->chromaticityBoxes[1], "0");
    EXPECT_EQ(messages(), std::vector<QString>{"y needs a number other than 0."});
    platform.clear();
    enter(form->labBoxes[0], "-20");
    EXPECT_EQ(messages(), std::vector<QString>{"L* needs a number of -16 or more."});
}

TEST_F(Entry, ChromaticityEntryKeepsTheLuminance) {
    form->xyzBoxes[1]->setText("50");
    form->chromaticityBoxes[0]->setText("0.3101");
    enter(form->chromaticityBoxes[1], "0.3163");
    EXPECT_EQ(xyzText(), "49.02 50 59.06");
    EXPECT_LT(text(form->munsellBoxes[2]).toFloat(), 0.05f);
}

TEST_F(Entry, LabEntryUnderD65WritesTheAdaptedTristimulus) {
    form->illuminantButtons[2]->click();
    EXPECT_EQ(form->illuminantLabel->text(), "Illuminant D65  10° Observer ");
    form->labBoxes[0]->setText("50");
    form->labBoxes[1]->setText("20");
    enter(form->labBoxes[2], "-30");
    const auto lab = labxyz(50, 20, -30);
    ASSERT_TRUE(lab);
    ColourSettings s;
    s.illuminant = Illuminant::D65;
    const auto c = xyzconvert(Adaptation::ToC, lab->X, lab->Y, lab->Z, s);
    ASSERT_TRUE(c);
    EXPECT_EQ(xyzText(), formatNumber(c->X, "###.00") + " " + formatNumber(c->Y, "###.00") + " " +
                             formatNumber(c->Z, "###.00"));
    EXPECT_EQ(xyzText(), "23.16 18.58 48.48");
    EXPECT_EQ(text(form->munsellBoxes[0]) + " " + text(form->munsellBoxes[1]) + "/" +
                  text(form->munsellBoxes[2]),
              "1.11P 4.87/9.62");
}

TEST_F(Entry, RgbEntryClampsAndWritesRoundedPlainTristimulus) {
    form->rgbBoxes[1]->setText("-5");
    form->rgbBoxes[2]->setText("abc");
    enter(form->rgbBoxes[0], "300");
    EXPECT_EQ(text(form->rgbBoxes[0]) + "," + text(form->rgbBoxes[1]) + "," +
                  text(form->rgbBoxes[2]),
              "255,0,0");
    EXPECT_EQ(form->redSlider->value(), 255);
    EXPECT_EQ(form->greenSlider->value(), 0);
    const QRegularExpression plain("^-?\\d+(\\.\\d?[1-9])?$");
    for (auto* box : form->xyzBoxes)
        EXPECT_TRUE(plain.match(box->text()).hasMatch()) << box->text().toStdString();
    EXPECT_EQ(text(form->xyzBoxes[1]), "21.27"); // display red: Y = 0.212671
    EXPECT_EQ(form->swatch->backColor(), QColor(255, 0, 0));
    EXPECT_EQ(text(form->cmykBoxes[0]) + " " + text(form->cmykBoxes[1]) + " " +
                  text(form->cmykBoxes[2]) + " " + text(form->cmykBoxes[3]),
              "0 100 100 0");
    EXPECT_TRUE(text(form->munsellBoxes[0]).endsWith("R"));
}

TEST_F(Entry, CmykEntryConvertsBackToEveryNotation) {
    for (int i = 0; i < 3; ++i)
        form->cmykBoxes[i]->setText("0");
    enter(form->cmykBoxes[3], "0");
    EXPECT_EQ(text(form->rgbBoxes[0]) + text(form->rgbBoxes[1]) + text(form->rgbBoxes[2]),
              "255255255");
    EXPECT_EQ(form->blueSlider->value(), 255);
    EXPECT_EQ(form->swatch->backColor(), QColor(255, 255, 255));
    EXPECT_LT(text(form->munsellBoxes[2]).toFloat(), 0.5f);
    // Ink beyond 100 % is clamped to full.
    enter(form->cmykBoxes[3], "150");
    EXPECT_EQ(text(form->rgbBoxes[0]), "0");
}

TEST_F(Entry, MunsellSlidersWriteTheirBoxAndIgnoreTheirOwnMoves) {
    // Start-up moved the hue slider to 53 without rewriting the hue box.
    EXPECT_EQ(text(form->munsellBoxes[0]), "6.4Y");
    form->hueSlider->setValue(0);
    EXPECT_EQ(text(form->munsellBoxes[0]), "10.00RP");
    form->hueSlider->setValue(202);
    EXPECT_EQ(text(form->munsellBoxes[0]), "1.00R");
    form->chromaSlider->setValue(4);
    EXPECT_EQ(text(form->munsellBoxes[2]), "4");
    form->valueSlider->setValue(9);
    EXPECT_EQ(text(form->munsellBoxes[1]), "4.5");
    const QString x = text(form->xyzBoxes[0]);
    form->valueSlider->setValue(20);
    EXPECT_EQ(text(form->munsellBoxes[1]), "4.5"); // the top writes nothing...
    EXPECT_EQ(text(form->xyzBoxes[0]), x);         // ...but converts the same notation again
    EXPECT_EQ(form->valueSlider->value(), 9);      // and the slider follows the box
}

TEST_F(Entry, RgbSlidersConvertTheirChannel) {
    form->blueSlider->setValue(128);
    EXPECT_EQ(text(form->rgbBoxes[2]), "128");
    EXPECT_EQ(form->swatch->backColor().blue(), 128);
}

TEST_F(Entry, GammaBoxAndSliderMoveTogether) {
    const QString red = text(form->rgbBoxes[0]);
    form->gammaBox->setText("2.25");
    EXPECT_EQ(form->gammaSlider->value(), 22);
    EXPECT_EQ(text(form->gammaBox), "2.25");
    form->gammaBox->setText("1.5");
    EXPECT_EQ(form->gammaSlider->value(), 15);
    EXPECT_FLOAT_EQ(form->colour().settings.gammaInv[1], 1.0f / 1.5f);
    EXPECT_NE(text(form->rgbBoxes[0]), red);
    form->gammaBox->setText("5");
    EXPECT_EQ(form->gammaSlider->value(), 15);
    form->gammaBox->setText("");
    EXPECT_TRUE(messages().empty());
    form->gammaBox->setText("abc");
    EXPECT_EQ(messages(), std::vector<QString>{"Gamma needs a number; it holds \"abc\"."});
    form->gammaSlider->setValue(30);
    EXPECT_EQ(text(form->gammaBox), "3");
}

TEST_F(Entry, IlluminantsGiveBradfordAdaptedTristimulus) {
    const char* captions[3] = {"illuminant C  2° Observer ", "illuminant D5000 2° Observer ",
                               "Illuminant D65  10° Observer "};
    const char* rows[3] = {"65.10 70.37 15.75", "67.72 71.58 11.53", "63.78 70.67 14.52"};
    for (int i : {1, 2, 0}) {
        form->illuminantButtons[i]->click();
        EXPECT_EQ(form->illuminantLabel->text(), captions[i]);
        ColourSettings s;
        s.illuminant = static_cast<Illuminant>(i);
        const CieOfMunsell cie = mun2xyz(26.4f, 8.6f, 10.4f, session().table(), s);
        EXPECT_EQ(xyzText(), formatNumber(cie.X, "##0.00") + " " + formatNumber(cie.Y, "##0.00") +
                                 " " + formatNumber(cie.Z, "##0.00"));
        EXPECT_EQ(text(form->chromaticityBoxes[0]).toStdString(),
                  formatNumber(cie.X / (cie.X + cie.Y + cie.Z), "0.0000"));
        EXPECT_EQ(xyzText(), rows[i]);
    }
}

TEST_F(Entry, PwdGivesTheSameNotationLessLuminance) {
    const float Y = text(form->xyzBoxes[1]).toFloat();
    form->pwdCheck->setChecked(true);
    enter(form->munsellBoxes[0], "6.4Y");
    EXPECT_NEAR(text(form->xyzBoxes[1]).toFloat(), Y * 0.975f, 0.01f);
}

TEST_F(Entry, SwatchClickConvertsOnlyColoursInsideTheDisplayRange) {
    form->show();
    // The start colour has no channel at 0 or 255: a click converts it again.
    form->rgbBoxes[0]->setText("");
    QTest::mouseClick(form->swatch, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(text(form->rgbBoxes[0]).toInt(), form->swatch->backColor().red());
    EXPECT_EQ(platform.processEventsCount(), 1);
    // Pure red has channels at the edges: the boxes fill, nothing else moves.
    enter(form->rgbBoxes[0], "255");
    form->rgbBoxes[1]->setText("0");
    enter(form->rgbBoxes[2], "0");
    const QString hue = text(form->munsellBoxes[0]);
    form->rgbBoxes[0]->setText("9");
    QTest::mouseClick(form->swatch, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(text(form->rgbBoxes[0]), "255");
    EXPECT_EQ(text(form->munsellBoxes[0]), hue);
    EXPECT_EQ(platform.processEventsCount(), 1);
}

} // namespace
} // namespace huelinx::testing
