#include "form1_fixture.h"

#include "colour/colorimetry.h"
#include "colour/mun2xyz.h"
#include "mainwindow/swatch.h"
#include "text/number_format.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>

namespace huelinx::testing {
namespace {

class Entry : public Form1Test {
  protected:
    void SetUp() override {
        Form1Test::SetUp();
        ASSERT_TRUE(start());
    }
    std::string xyzText() const {
        return (text(form->Text11[0]) + " " + text(form->Text11[1]) + " " + text(form->Text11[2]))
            .toStdString();
    }
    QStringList all() const {
        QStringList texts;
        for (auto group :
             {form->Text12.data(), form->Text11.data(), form->Text15.data(), form->Text1.data()})
            for (int i = 0; i < 3; ++i)
                texts << group[i]->text();
        for (auto* box : form->Text18)
            texts << box->text();
        for (auto* box : form->Text2)
            texts << box->text();
        return texts;
    }
};

TEST_F(Entry, TypedMunsellNotationReachesEveryNotationAndTheSwatch) {
    form->Text12[0]->setText("5r");
    form->Text12[1]->setText("5");
    enter(form->Text12[2], "10");
    const CieOfMunsell cie = mun2xyz(5, 5, 10, program->table, {});
    ASSERT_EQ(cie.status, MunsellToCie::Ok);
    EXPECT_EQ(xyzText(), formatNumber(cie.X, "##0.00") + " " + formatNumber(cie.Y, "##0.00") + " " +
                             formatNumber(cie.Z, "##0.00"));
    EXPECT_EQ(text(form->Text18[1]).toStdString(), formatNumber(cie.y, "0.0000"));
    EXPECT_EQ(text(form->Text15[1]).toStdString(),
              formatNumber(xyzlab(cie.X, cie.Y, cie.Z, {}).a, "###.00"));
    EXPECT_EQ(text(form->Text12[0]), "5r"); // the box keeps its case
    EXPECT_EQ(form->VScroll1->value(), 10);
    EXPECT_EQ(form->VScroll2->value(), 10);
    EXPECT_EQ(form->VScroll3->value(), 10);
    const QColor swatch(text(form->Text1[0]).toInt(), text(form->Text1[1]).toInt(),
                        text(form->Text1[2]).toInt());
    EXPECT_EQ(form->Picture1->backColor(), swatch);
    EXPECT_GT(swatch.red(), swatch.green());
    EXPECT_EQ(form->Label19->text(), "");
    EXPECT_TRUE(messages().empty());
}

TEST_F(Entry, TypingAloneConvertsNothingAndFocusSelectsTheWholeBox) {
    const QStringList before = all();
    form->show();
    form->Text11[0]->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(form->Text11[0]->selectedText(), text(form->Text11[0]));
    QTest::keyClicks(form->Text11[0], "12");
    QStringList after = all();
    EXPECT_EQ(text(form->Text11[0]), "12");
    after[3] = before[3];
    EXPECT_EQ(after, before);
}

TEST_F(Entry, MunsellTextsThatCannotConvertSayOutOfMunsellRangeOnce) {
    const auto expectMessages = [&](std::vector<QString> expected, const char* what) {
        EXPECT_EQ(messages(), expected) << what;
        platform.clear();
    };
    const QStringList before = all();
    enter(form->Text12[2], "abc");
    expectMessages({"Out of Munsell Range"}, "chroma not a number");
    EXPECT_EQ(all().mid(3), before.mid(3));
    enter(form->Text12[2], "45");
    expectMessages({"Out of Munsell Range"}, "chroma beyond the slider");
    // A hue without family: "Format Error", then hue 105 is beyond the slider.
    form->Text12[0]->setText("5x");
    enter(form->Text12[2], "4");
    expectMessages({"Format Error", "Out of Munsell Range"}, "hue 5x");
    // "N" reads as 100, which is 10RP again.
    form->Text12[1]->setText("5");
    enter(form->Text12[0], "N");
    expectMessages({"Format Error"}, "hue N");
    const QString neutral = text(form->Text11[0]);
    enter(form->Text12[0], "10RP");
    EXPECT_EQ(text(form->Text11[0]), neutral);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Entry, NotationOutsideTheDataShowsZerosAndTheFloorOfLab) {
    form->Text12[0]->setText("5Y");
    form->Text12[1]->setText("9");
    enter(form->Text12[2], "40");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(xyzText(), "0.00 0.00 0.00");
    EXPECT_EQ(text(form->Text18[0]), "0.0000");
    EXPECT_EQ(text(form->Text15[0]), ".09");
    // The display colour is that of the floor values: near black.
    for (auto* box : form->Text1)
        EXPECT_LE(box->text().toInt(), 5);
}

TEST_F(Entry, XyzEntryFindsTheNotationAndDisplayColour) {
    form->Text11[0]->setText("19.38");
    form->Text11[1]->setText("19.77");
    enter(form->Text11[2], "23.35");
    // The white at value 5: chroma about 0, value 5.
    EXPECT_EQ(text(form->Text12[1]), "5.00");
    EXPECT_LT(text(form->Text12[2]).toFloat(), 0.05f);
    EXPECT_TRUE(text(form->Text18[0]).startsWith(".31"));
    EXPECT_EQ(form->VScroll2->value(), 10);
    const int r = text(form->Text1[0]).toInt(), g = text(form->Text1[1]).toInt();
    EXPECT_NEAR(r, g, 3);
    EXPECT_TRUE(messages().empty());
    // All zeros leave the notation as it was; the display shows the floor values.
    const QString hue = text(form->Text12[0]);
    form->Text11[0]->setText("0");
    form->Text11[1]->setText("0");
    enter(form->Text11[2], "0");
    EXPECT_EQ(text(form->Text12[0]), hue);
    EXPECT_EQ(text(form->Text15[0]), ".09");
    for (auto* box : form->Text1)
        EXPECT_LE(box->text().toInt(), 5);
    // A green beyond the display gamut shows black and says so.
    form->Text11[0]->setText("20");
    form->Text11[1]->setText("60");
    enter(form->Text11[2], "5");
    EXPECT_EQ(form->Label19->text(), "Out of RGB Range");
    EXPECT_EQ(text(form->Text1[0]) + text(form->Text1[1]) + text(form->Text1[2]), "000");
}

TEST_F(Entry, DarkSamplesShowAtLeastValueHalf) {
    form->Text11[0]->setText("0.1");
    form->Text11[1]->setText("0.1");
    enter(form->Text11[2], "0.12");
    EXPECT_EQ(text(form->Text12[1]), "0.50");
    EXPECT_EQ(form->VScroll2->value(), 1);
}

TEST_F(Entry, BoxesThatHoldNoNumberSayWhichAndChangeNothing) {
    const QStringList before = all();
    const struct {
        QLineEdit* box;
        const char* message;
    } cases[] = {
        {form->Text11[2], "Z needs a number; it holds \"abc\"."},
        {form->Text18[0], "x needs a number; it holds \"abc\"."},
        {form->Text15[1], "a* needs a number; it holds \"abc\"."},
        {form->Text2[3], "K needs a number; it holds \"abc\"."},
    };
    for (const auto& c : cases) {
        const QString kept = c.box->text();
        enter(c.box, "abc");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0], c.message);
        platform.clear();
        c.box->setText(kept);
        EXPECT_EQ(all(), before);
    }
    form->Text18[0]->setText("0.3");
    enter(form->Text18[1], "0");
    EXPECT_EQ(messages(), std::vector<QString>{"y needs a number other than 0."});
    platform.clear();
    enter(form->Text15[0], "-20");
    EXPECT_EQ(messages(), std::vector<QString>{"L* needs a number of -16 or more."});
}

TEST_F(Entry, ChromaticityEntryKeepsTheLuminance) {
    form->Text11[1]->setText("50");
    form->Text18[0]->setText("0.3101");
    enter(form->Text18[1], "0.3163");
    EXPECT_EQ(xyzText(), "49.02 50 59.06");
    EXPECT_LT(text(form->Text12[2]).toFloat(), 0.05f);
}

TEST_F(Entry, LabEntryUnderD65WritesTheAdaptedTristimulus) {
    form->Option1[2]->click();
    EXPECT_EQ(form->Label1->text(), "Illuminant D65  10° Observer ");
    form->Text15[0]->setText("50");
    form->Text15[1]->setText("20");
    enter(form->Text15[2], "-30");
    const auto lab = labxyz(50, 20, -30);
    ASSERT_TRUE(lab);
    ColourSettings s;
    s.illuminant = Illuminant::D65;
    const auto c = xyzconvert(Adaptation::ToC, lab->X, lab->Y, lab->Z, s);
    ASSERT_TRUE(c);
    EXPECT_EQ(xyzText(), formatNumber(c->X, "###.00") + " " + formatNumber(c->Y, "###.00") + " " +
                             formatNumber(c->Z, "###.00"));
}

TEST_F(Entry, RgbEntryClampsAndWritesRoundedPlainTristimulus) {
    form->Text1[1]->setText("-5");
    form->Text1[2]->setText("abc");
    enter(form->Text1[0], "300");
    EXPECT_EQ(text(form->Text1[0]) + "," + text(form->Text1[1]) + "," + text(form->Text1[2]),
              "255,0,0");
    EXPECT_EQ(form->VScroll4->value(), 255);
    EXPECT_EQ(form->VScroll5->value(), 0);
    const QRegularExpression plain("^-?\\d+(\\.\\d?[1-9])?$");
    for (auto* box : form->Text11)
        EXPECT_TRUE(plain.match(box->text()).hasMatch()) << box->text().toStdString();
    EXPECT_EQ(text(form->Text11[1]), "21.27"); // display red: Y = 0.212671
    EXPECT_EQ(form->Picture1->backColor(), QColor(255, 0, 0));
    EXPECT_EQ(text(form->Text2[0]) + " " + text(form->Text2[1]) + " " + text(form->Text2[2]) + " " +
                  text(form->Text2[3]),
              "0 100 100 0");
    EXPECT_TRUE(text(form->Text12[0]).endsWith("R"));
}

TEST_F(Entry, CmykEntryConvertsBackToEveryNotation) {
    for (int i = 0; i < 3; ++i)
        form->Text2[i]->setText("0");
    enter(form->Text2[3], "0");
    EXPECT_EQ(text(form->Text1[0]) + text(form->Text1[1]) + text(form->Text1[2]), "255255255");
    EXPECT_EQ(form->VScroll6->value(), 255);
    EXPECT_EQ(form->Picture1->backColor(), QColor(255, 255, 255));
    EXPECT_LT(text(form->Text12[2]).toFloat(), 0.5f);
    // Ink beyond 100 % is clamped to full.
    enter(form->Text2[3], "150");
    EXPECT_EQ(text(form->Text1[0]), "0");
}

TEST_F(Entry, MunsellSlidersWriteTheirBoxAndIgnoreTheirOwnMoves) {
    // vadoro moved VScroll1 to 53 at start-up without rewriting the hue box.
    EXPECT_EQ(text(form->Text12[0]), "6.4Y");
    form->VScroll1->setValue(0);
    EXPECT_EQ(text(form->Text12[0]), "10.00RP");
    form->VScroll1->setValue(202);
    EXPECT_EQ(text(form->Text12[0]), "1.00R");
    form->VScroll3->setValue(4);
    EXPECT_EQ(text(form->Text12[2]), "4");
    form->VScroll2->setValue(9);
    EXPECT_EQ(text(form->Text12[1]), "4.5");
    const QString x = text(form->Text11[0]);
    form->VScroll2->setValue(20);
    EXPECT_EQ(text(form->Text12[1]), "4.5"); // the top writes nothing...
    EXPECT_EQ(text(form->Text11[0]), x);     // ...but converts the same notation again
    EXPECT_EQ(form->VScroll2->value(), 9);   // and the slider follows the box
}

TEST_F(Entry, RgbSlidersConvertTheirChannel) {
    form->VScroll6->setValue(128);
    EXPECT_EQ(text(form->Text1[2]), "128");
    EXPECT_EQ(form->Picture1->backColor().blue(), 128);
}

TEST_F(Entry, GammaBoxAndSliderMoveTogether) {
    const QString red = text(form->Text1[0]);
    form->Text5->setText("2.25");
    EXPECT_EQ(form->VScroll8->value(), 22);
    EXPECT_EQ(text(form->Text5), "2.25");
    form->Text5->setText("1.5");
    EXPECT_EQ(form->VScroll8->value(), 15);
    EXPECT_FLOAT_EQ(form->colour().settings.gammaInv[1], 1.0f / 1.5f);
    EXPECT_NE(text(form->Text1[0]), red);
    form->Text5->setText("5");
    EXPECT_EQ(form->VScroll8->value(), 15);
    form->Text5->setText("");
    EXPECT_TRUE(messages().empty());
    form->Text5->setText("abc");
    EXPECT_EQ(messages(), std::vector<QString>{"Gamma needs a number; it holds \"abc\"."});
    form->VScroll8->setValue(30);
    EXPECT_EQ(text(form->Text5), "3");
}

TEST_F(Entry, IlluminantsGiveBradfordAdaptedTristimulus) {
    const char* captions[3] = {"illuminant C  2° Observer ", "illuminant D5000 2° Observer ",
                               "Illuminant D65  10° Observer "};
    for (int i : {1, 2, 0}) {
        form->Option1[i]->click();
        EXPECT_EQ(form->Label1->text(), captions[i]);
        ColourSettings s;
        s.illuminant = static_cast<Illuminant>(i);
        const CieOfMunsell cie = mun2xyz(26.4f, 8.6f, 10.4f, program->table, s);
        EXPECT_EQ(xyzText(), formatNumber(cie.X, "##0.00") + " " + formatNumber(cie.Y, "##0.00") +
                                 " " + formatNumber(cie.Z, "##0.00"));
        EXPECT_EQ(text(form->Text18[0]).toStdString(),
                  formatNumber(cie.X / (cie.X + cie.Y + cie.Z), "0.0000"));
    }
}

TEST_F(Entry, PwdGivesTheSameNotationLessLuminance) {
    const float Y = text(form->Text11[1]).toFloat();
    form->Check1->setChecked(true);
    enter(form->Text12[0], "6.4Y");
    EXPECT_NEAR(text(form->Text11[1]).toFloat(), Y * 0.975f, 0.01f);
}

TEST_F(Entry, SwatchClickConvertsOnlyColoursInsideTheDisplayRange) {
    form->show();
    // The start colour has no channel at 0 or 255: a click converts it again.
    form->Text1[0]->setText("");
    QTest::mouseClick(form->Picture1, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(text(form->Text1[0]).toInt(), form->Picture1->backColor().red());
    EXPECT_EQ(platform.processEventsCount(), 1);
    // Pure red has channels at the edges: the boxes fill, nothing else moves.
    enter(form->Text1[0], "255");
    form->Text1[1]->setText("0");
    enter(form->Text1[2], "0");
    const QString hue = text(form->Text12[0]);
    form->Text1[0]->setText("9");
    QTest::mouseClick(form->Picture1, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(text(form->Text1[0]), "255");
    EXPECT_EQ(text(form->Text12[0]), hue);
    EXPECT_EQ(platform.processEventsCount(), 1);
}

} // namespace
} // namespace huelinx::testing
