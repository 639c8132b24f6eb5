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
    // Every box, the sliders, the swatch and the name line: what a colour shows.
    QStringList shown() const {
        QStringList texts = all();
        for (auto* s : {ui().hueSlider, ui().valueSlider, ui().chromaSlider, ui().redSlider,
                        ui().greenSlider, ui().blueSlider})
            texts << QString::number(s->value());
        return texts << ui().swatch->backColor().name() << ui().outOfRangeLabel->text()
                     << ui().colourNameBox->text() << ui().nearestChipBox->text();
    }
    void munsell(const QString& hue, const QString& value, const QString& chroma) {
        ui().munsellBoxes[0]->setText(hue);
        ui().munsellBoxes[1]->setText(value);
        enter(ui().munsellBoxes[2], chroma);
    }
    // The line Messages shows for a refusal while the boxes hold `notation`.
    QString refusal(const QString& reason) const {
        return reason + "; the colour stays " + text(ui().munsellBoxes[0]) + " " +
               text(ui().munsellBoxes[1]) + "/" + text(ui().munsellBoxes[2]) + ".";
    }
    // The boxes marked as refused, by object name.
    QStringList marked() const {
        QStringList names;
        for (auto* box : form->findChildren<EntryBox*>())
            if (box->property("refused").toBool()) names << box->objectName();
        return names;
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

TEST_F(Entry, MunsellTextsThatCannotConvertAreRefusedInOneLine) {
    const QStringList before = all();
    const struct {
        const char* hue;
        const char* chroma;
        int box;
        const char* reason;
    } cases[] = {
        {nullptr, "abc", 2, "Chroma needs a number; it holds \"abc\""},
        {nullptr, "45", 2, "Chroma \"45\" is out of Munsell range (0 to 40)"},
        {"5x", "4", 0, "Hue \"5x\" names no hue family (R, YR, Y, GY, G, BG, B, PB, P, RP or N)"},
        {"0.5", "4", 0, "Hue \"0.5\" names no hue family (R, YR, Y, GY, G, BG, B, PB, P, RP or N)"},
    };
    for (const auto& c : cases) {
        if (c.hue) ui().munsellBoxes[0]->setText(c.hue);
        enter(ui().munsellBoxes[2], c.chroma);
        EXPECT_EQ(all(), before) << c.reason;
        EXPECT_EQ(ui().messagesBox->toPlainText(), refusal(c.reason));
        EXPECT_EQ(marked(), QStringList{ui().munsellBoxes[c.box]->objectName()}) << c.reason;
        EXPECT_EQ(ui().munsellBoxes[c.box]->toolTip(), c.reason);
    }
    EXPECT_TRUE(messages().empty());
    // "N" is the neutral hue: a grey, its chroma 0 whatever the box held.
    ui().munsellBoxes[1]->setText("5");
    enter(ui().munsellBoxes[0], "N");
    // A colour converted takes the line away; its MacAdam line follows it.
    EXPECT_EQ(ui().messagesBox->toPlainText(), "Within the MacAdam limits");
    EXPECT_EQ(text(ui().munsellBoxes[2]), "0");
    EXPECT_EQ(text(ui().labBoxes[1]) + " " + text(ui().labBoxes[2]), ".00 .00");
    EXPECT_EQ(text(ui().rgbBoxes[0]), text(ui().rgbBoxes[1]));
    EXPECT_EQ(text(ui().rgbBoxes[1]), text(ui().rgbBoxes[2]));
    const QString neutral = text(ui().xyzBoxes[0]);
    enter(ui().munsellBoxes[0], "10RP");
    EXPECT_EQ(text(ui().xyzBoxes[0]), neutral);
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(marked().isEmpty()); // a colour converted takes the mark away
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
    // Said in Messages, with no box to close; the zeros are no colour to check.
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
    // No surface is that blue at that lightness.
    EXPECT_TRUE(ui().messagesBox->toPlainText().startsWith(
        "Outside the Munsell data\nBeyond the MacAdam limits by "))
        << ui().messagesBox->toPlainText().toStdString();
    EXPECT_TRUE(messages().empty());
    // A colour inside the data takes the note away; other messages stay, and
    // the MacAdam line follows each colour.
    enter(ui().xyzBoxes[2], "20");
    EXPECT_EQ(ui().messagesBox->toPlainText(), "Within the MacAdam limits");
    ui().messagesBox->setPlainText("Instrument not responding");
    enter(ui().xyzBoxes[2], "21");
    EXPECT_EQ(ui().messagesBox->toPlainText(),
              "Instrument not responding\nWithin the MacAdam limits");
    enter(ui().xyzBoxes[2], "22");
    EXPECT_EQ(ui().messagesBox->toPlainText(),
              "Instrument not responding\nWithin the MacAdam limits");
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
        const char* reason;
    } cases[] = {
        {ui().xyzBoxes[2], "abc", "Z needs a number; it holds \"abc\""},
        {ui().chromaticityBoxes[0], "abc", "x needs a number; it holds \"abc\""},
        {ui().labBoxes[1], "abc", "a* needs a number; it holds \"abc\""},
        {ui().cmykBoxes[3], "abc", "K needs a number; it holds \"abc\""},
        // Numbers single precision can't hold, within a double's range and beyond it.
        {ui().xyzBoxes[0], "1e39", "X is out of range: \"1e39\""},
        {ui().labBoxes[2], "-1e400", "b* is out of range: \"-1e400\""},
    };
    for (const auto& c : cases) {
        enter(c.box, c.text);
        EXPECT_EQ(ui().messagesBox->toPlainText(), refusal(c.reason));
        EXPECT_EQ(marked(), QStringList{c.box->objectName()}) << c.reason;
        EXPECT_EQ(all(), before) << c.reason;
    }
    ui().chromaticityBoxes[0]->setText("0.3");
    enter(ui().chromaticityBoxes[1], "0");
    EXPECT_EQ(ui().messagesBox->toPlainText(), refusal("y needs a number other than 0"));
    EXPECT_EQ(marked(), QStringList{ui().chromaticityBoxes[1]->objectName()});
    // Below L* 0 is less light than none.
    enter(ui().labBoxes[0], "-0.5");
    EXPECT_EQ(ui().messagesBox->toPlainText(), refusal("L* needs a number of 0 or more"));
    EXPECT_EQ(marked(), QStringList{ui().labBoxes[0]->objectName()});
    EXPECT_TRUE(messages().empty());
}

// A refused entry gives no new colour: the typed box and every box typed
// into before it go back to the colour entered last, as do the sliders, the
// swatch and the name line; the box is marked until edited, the reason is one
// line in Messages, and no other window hears of it.
TEST_F(Entry, ARefusedEntryLeavesEveryGroupOnThePreviousColour) {
    munsell("5R", "4", "14");
    const QStringList before = shown();
    int heard = 0;
    const Connection listening =
        session().colourChanged.connect([&heard](const ColourChange&) { ++heard; });
    ui().munsellBoxes[1]->setText("11");
    enter(ui().munsellBoxes[2], "4");
    EXPECT_EQ(shown(), before);
    EXPECT_EQ(ui().messagesBox->toPlainText(),
              "Value \"11\" is out of Munsell range (0 to 10); the colour stays 5R 4/14.");
    EXPECT_EQ(marked(), QStringList{ui().munsellBoxes[1]->objectName()});

    ui().xyzBoxes[0]->setText("12");
    enter(ui().xyzBoxes[2], "abc");
    EXPECT_EQ(shown(), before);
    EXPECT_EQ(marked(), QStringList{ui().xyzBoxes[2]->objectName()});
    EXPECT_EQ(heard, 0);
    EXPECT_TRUE(messages().empty());
    // Editing the box takes its mark and the reason's tooltip away.
    const QString ownTip = ui().xyzBoxes[1]->toolTip();
    enter(ui().xyzBoxes[1], "1e39");
    ASSERT_EQ(marked(), QStringList{ui().xyzBoxes[1]->objectName()});
    form->show();
    ui().xyzBoxes[1]->setFocus();
    QTest::keyClicks(ui().xyzBoxes[1], "1");
    EXPECT_TRUE(marked().isEmpty());
    EXPECT_EQ(ui().xyzBoxes[1]->toolTip(), ownTip);
}

// "5R 4/14" typed or pasted into the hue box gives what typing its parts
// into the three boxes gives.
TEST_F(Entry, AWholeNotationInTheHueBoxFillsTheGroup) {
    const struct {
        const char* whole;
        const char* parts[3];
    } cases[] = {
        {"5R 4/14", {"5R", "4", "14"}}, {"5R4/14", {"5R", "4", "14"}},
        {"N 5/", {"N", "5", "0"}},      {"2.5yr 6/8", {"2.5yr", "6", "8"}},
        {" n 3.5 ", {"N", "3.5", "0"}},
    };
    for (const auto& c : cases) {
        munsell("5PB", "3", "6"); // a grey leaves the hue slider where it was
        munsell(c.parts[0], c.parts[1], c.parts[2]);
        const QStringList typed = shown();
        munsell("5PB", "3", "6");
        enter(ui().munsellBoxes[0], c.whole);
        EXPECT_EQ(shown(), typed) << c.whole;
    }
    EXPECT_TRUE(messages().empty());
    // A notation the model refuses, and text that is no notation: one line each.
    munsell("5PB", "3", "6");
    const QStringList before = shown();
    enter(ui().munsellBoxes[0], "5R 11/4");
    EXPECT_EQ(shown(), before);
    EXPECT_EQ(ui().messagesBox->toPlainText(),
              "Value \"11\" is out of Munsell range (0 to 10); the colour stays 5PB 3/6.");
    enter(ui().munsellBoxes[0], "5R 4/abc");
    EXPECT_EQ(shown(), before);
    EXPECT_EQ(ui().messagesBox->toPlainText(),
              "Hue \"5R 4/abc\" is no Munsell notation (5R 4/14, 2.5YR 6/8, N 5/); the colour "
              "stays 5PB 3/6.");
    EXPECT_EQ(marked(), QStringList{ui().munsellBoxes[0]->objectName()});
    EXPECT_TRUE(messages().empty());
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
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(ui().messagesBox->toPlainText(),
              "Gamma needs a number; it holds \"abc\".\nWithin the MacAdam limits");
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
