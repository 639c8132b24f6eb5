// The line under the notations: the ISCC-NBS name and the nearest chip of the
// chosen chip set follow every change of the colour.
#include "main_window_fixture.h"

#include "colour/hue.h"

#include <QComboBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>

namespace huelinx::testing {
namespace {

class Naming : public MainWindowTest {
  protected:
    QString name() const { return ui().colourNameBox->text(); }
    QString chip() const { return ui().nearestChipBox->text(); }
    // The name of the notation the Munsell boxes show, looked up directly.
    QString nameOfBoxes() {
        const IsccNbsName* n = session().resources().names().nameOf(
            converth(ui().munsellBoxes[0]->text().toStdString()),
            ui().munsellBoxes[1]->text().toFloat(), ui().munsellBoxes[2]->text().toFloat());
        return n ? QString::fromStdString(n->name + " (" + n->abbreviation + ")") : QString();
    }
    static void writeFile(const QString& path, const QByteArray& text) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
};

TEST_F(Naming, NameAndChipFollowEntriesSlidersAndIlluminants) {
    ASSERT_TRUE(start());
    // Start-up converts the initial notation: it is named at once.
    EXPECT_EQ(name(), "brilliant yellow (brill.Y)");
    EXPECT_EQ(ui().chipSetList->currentText(), "renotation-real");
    EXPECT_TRUE(chip().startsWith("5Y 9/10  \u0394E00 ")) << chip().toStdString();

    // A chip of the set is its own nearest chip.
    typeMunsell("5R", "4", "14");
    EXPECT_EQ(name(), "vivid red (viv.R)");
    EXPECT_EQ(chip(), "5R 4/14  \u0394E00 0.00  (\u0394H +0.00 \u0394V +0.00 \u0394C +0.00)");

    // A slider converts through the display colour; the line names what the
    // Munsell boxes now show.
    ui().greenSlider->setValue(200);
    EXPECT_FALSE(name().isEmpty());
    EXPECT_EQ(name(), nameOfBoxes());
    EXPECT_FALSE(chip().startsWith("5R 4/14  \u0394E00 0.00"));

    // An X, Y, Z entry, then a change of illuminant: the notation is
    // converted anew under D65 and the chips are measured under D65 too, so
    // the same chip stays nearest.
    ui().xyzBoxes[0]->setText("30");
    ui().xyzBoxes[1]->setText("20");
    enter(ui().xyzBoxes[2], "10");
    EXPECT_EQ(name(), nameOfBoxes());
    const QString underC = chip();
    EXPECT_TRUE(underC.contains("\u0394E00")) << underC.toStdString();
    ui().illuminantButtons[2]->click();
    EXPECT_EQ(name(), nameOfBoxes());
    EXPECT_EQ(form->colour().settings.illuminant, Illuminant::D65);
    EXPECT_EQ(chip().section("  ", 0, 0), underC.section("  ", 0, 0));
}

TEST_F(Naming, GreysAreNamedAndColoursOutsideTheDataAreNot) {
    ASSERT_TRUE(start());
    typeMunsell("N", "5", "");
    EXPECT_EQ(name(), "medium gray (m.Gy)");
    // The real colours are followed by the neutral series, so a grey has its chip.
    EXPECT_EQ(ui().chipSetList->currentText(), "renotation-real");
    EXPECT_EQ(chip(), "N 5/  \u0394E00 0.00  (\u0394H +0.00 \u0394V +0.00 \u0394C +0.00)");
    typeMunsell("N", "7.3", "");
    EXPECT_TRUE(chip().startsWith("N 7/  \u0394E00 ")) << chip().toStdString();
    EXPECT_TRUE(chip().endsWith("(\u0394H +0.00 \u0394V +0.30 \u0394C +0.00)"));
    ui().chipSetList->setCurrentText("soil");
    typeMunsell("N", "5", "");
    EXPECT_EQ(chip(), "N 5/  \u0394E00 0.00  (\u0394H +0.00 \u0394V +0.00 \u0394C +0.00)");

    // A notation beyond the data stays in its boxes but is not named.
    typeMunsell("5Y", "9", "40");
    EXPECT_EQ(ui().messagesBox->toPlainText(), "Outside the Munsell data");
    EXPECT_EQ(name(), "");
    EXPECT_EQ(chip(), "");
    // Nor is a colour found from X, Y, Z outside the data.
    typeMunsell("5R", "4", "14");
    EXPECT_EQ(name(), "vivid red (viv.R)");
    ui().xyzBoxes[0]->setText("5");
    ui().xyzBoxes[1]->setText("10");
    enter(ui().xyzBoxes[2], "90");
    EXPECT_EQ(name(), "");
    EXPECT_EQ(chip(), "");

    // An entry refused for text in a box changes nothing, the line included.
    typeMunsell("10YR", "5", "3");
    const QString named = name(), nearest = chip();
    ui().labBoxes[0]->setText("dark");
    enter(ui().labBoxes[1], "5");
    ASSERT_TRUE(ui().messagesBox->toPlainText().startsWith("L* needs a number"));
    EXPECT_EQ(name(), named);
    EXPECT_EQ(chip(), nearest);
}

TEST_F(Naming, UserChipSetsAreListedAndOneThatCannotBeReadIsSaid) {
    ASSERT_TRUE(QDir().mkdir("chipsets"));
    writeFile("chipsets/page3.csv",
              "notation,label\r\n5R 4/14,page 3 red\r\n5R 6/10,page 3 pink\r\n");
    writeFile("chipsets/broken.csv", "notation,label\n5R 4/14,fine\n5Q 4/14,not a hue\n");
    ASSERT_TRUE(start());
    QStringList listed;
    for (int i = 0; i < ui().chipSetList->count(); ++i)
        listed << ui().chipSetList->itemText(i);
    EXPECT_EQ(listed, QStringList({"renotation-real", "soil", "broken", "page3"}));

    typeMunsell("5R", "4.1", "13.9");
    ui().chipSetList->setCurrentText("page3");
    EXPECT_TRUE(chip().startsWith("5R 4/14 page 3 red  \u0394E00 ")) << chip().toStdString();
    EXPECT_TRUE(chip().endsWith("(\u0394H +0.00 \u0394V +0.10 \u0394C -0.10)"));
    const QString nearest = chip();

    // A set with a bad line: the message names the file and the line, and the
    // list goes back to the set still searched.
    ui().chipSetList->setCurrentText("broken");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].contains("broken.csv")) << messages()[0].toStdString();
    EXPECT_TRUE(messages()[0].contains("3")) << messages()[0].toStdString();
    EXPECT_EQ(ui().chipSetList->currentText(), "page3");
    EXPECT_EQ(chip(), nearest);
}

TEST_F(Naming, NameFilesThatCannotBeReadAreSaidAndTheChipStillShows) {
    // The working directory is searched first: a broken copy there is read.
    writeFile("iscc-nbs-blocks.csv", "hue_from,hue_to\n0,100\n");
    ASSERT_TRUE(start());
    EXPECT_TRUE(ui().messagesBox->toPlainText().startsWith("Colour names are not shown: "))
        << ui().messagesBox->toPlainText().toStdString();
    EXPECT_EQ(name(), "");
    typeMunsell("5R", "4", "14");
    EXPECT_EQ(name(), "");
    EXPECT_TRUE(chip().startsWith("5R 4/14  \u0394E00 0.00"));
}

} // namespace
} // namespace huelinx::testing
