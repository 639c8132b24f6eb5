// "Compare with…": the colour against a second one as soil colours, said in
// one line in Messages, the same as the soil comparer and huelinx-convert
// --contrast give for the pair; the colour and its history stay as they were.
#include "converter_contrast.h"
#include "main_window_fixture.h"

#include "colour/soil_contrast.h"
#include "palette/palette_file.h"
#include "session/soil_comparison.h"
#include "text/number_format.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>

namespace huelinx::testing {
namespace {

class Compare : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
    }
    // Compares through the button, answering the list with `choice` and, for
    // a typed notation, the input box with `typed`; Messages afterwards.
    QString compare(const QString& choice, const QString& typed = {}) {
        platform.clear();
        platform.queueInput(choice);
        if (!typed.isNull()) platform.queueInput(typed);
        ui().compareButton->click();
        EXPECT_TRUE(messages().empty()) << "no box opens";
        return ui().messagesBox->toPlainText();
    }
    std::string converterLine(const std::string& a, const std::string& b) {
        return converterContrastLine(session().resources(), a, b);
    }
    // The colour's boxes and the history's length, which a comparison leaves alone.
    struct State {
        std::array<std::string, boxCount> boxes;
        std::size_t recent;
        bool canUndo;
        bool operator==(const State&) const = default;
    };
    State state() const {
        return {session().colour().box, session().history().recent().size(),
                session().history().canUndo()};
    }
};

TEST_F(Compare, TheWorkedExampleAgreesWithTheComparerAndTheConverter) {
    typeMunsell("10YR", "6", "3");
    const State before = state();
    const QString line = compare("Type a notation\u2026", "5YR 3/4");
    EXPECT_EQ(state(), before);

    // The rules give Prominent for this pair (two pages, three value steps).
    SoilComparer comparer(session().table(), session().colour().settings);
    const SoilContrast direct =
        comparer.compare(soilNotation("10YR 6/3")->colour, soilNotation("5YR 3/4")->colour);
    EXPECT_EQ(direct.contrast, ContrastClass::Prominent);
    EXPECT_TRUE(line.startsWith("10YR 6/3 against 5YR 3/4: Prominent, \u0394E00 "))
        << line.toStdString();
    EXPECT_TRUE(line.contains(QString::fromStdString(formatNumber(direct.de00, "0.00"))));
    EXPECT_EQ(line.toStdString(), converterLine("10YR 6/3", "5YR 3/4"));
    EXPECT_FALSE(line.contains('\n'));

    // The menu action asks the same and says the same.
    platform.clear();
    ui().messagesBox->clear();
    platform.queueInput("Type a notation\u2026");
    platform.queueInput("5yr3/4");
    ui().compareAction->trigger();
    EXPECT_EQ(ui().messagesBox->toPlainText(), line);
}

TEST_F(Compare, APreviousColourAndAPaletteRowGiveTheSameLineAsTyping) {
    typeMunsell("5YR", "3", "4");
    typeMunsell("10YR", "6", "3");
    const std::string expected = converterLine("10YR 6/3", "5YR 3/4");
    EXPECT_EQ(compare("Previous colour 5YR 3/4").toStdString(), expected);

    PaletteEntry row;
    row.line = 7;
    row.tag = "mottle";
    row.notation = {"5YR", "3", "4"};
    session().palette().setEntries({row}, "soil.csv");
    const State before = state();
    EXPECT_EQ(compare("Palette row 7").toStdString(), expected);
    EXPECT_EQ(state(), before);
}

TEST_F(Compare, ANotationOffTheChipsSaysWhichChipItWasTakenTo) {
    typeMunsell("10YR", "6", "3");
    const QString line = compare("Type a notation\u2026", "5YR 3.2/4.3");
    EXPECT_EQ(line.toStdString(), converterLine("10YR 6/3", "5YR 3.2/4.3"));
    EXPECT_TRUE(line.endsWith("; 5YR 3.2/4.3 taken to the soil chip 5YR 3/4"))
        << line.toStdString();
    // The first is a chip itself: no chip is named for it.
    EXPECT_FALSE(line.contains("10YR 6/3 taken to"));
}

TEST_F(Compare, RefusalsAreOneLineAndLeaveTheColourAsItWas) {
    typeMunsell("10YR", "6", "3");
    const State before = state();
    // Not a notation, though a colour.
    QString line = compare("Type a notation\u2026", "RGB 10 20 30");
    EXPECT_EQ(line, "Compare with takes a Munsell notation; \"RGB 10 20 30\" is none");
    // Outside the Munsell data.
    line = compare("Type a notation\u2026", "5PB 4/60");
    EXPECT_EQ(line, "10YR 6/3 against 5PB 4/60: the second notation lies outside the Munsell data");
    // Far from every soil chip.
    line = compare("Type a notation\u2026", "5PB 4/12");
    EXPECT_EQ(line, "10YR 6/3 against 5PB 4/12: the second notation has no soil chip within 5");
    EXPECT_EQ(state(), before);

    // A grey is a notation too: one page from a chromatic colour.
    line = compare("Type a notation\u2026", "n 5/");
    EXPECT_EQ(line.toStdString(), converterLine("10YR 6/3", "N 5/"));

    // Cancelling the list or the input box says nothing new.
    ui().messagesBox->setPlainText("kept");
    EXPECT_EQ(compare(""), "kept");
    EXPECT_EQ(compare("Type a notation\u2026", ""), "kept");
    EXPECT_EQ(state(), before);
}

TEST_F(Compare, AColourWithoutANotationIsSaidAndNothingIsAsked) {
    ui().xyzBoxes[0]->setText("10");
    ui().xyzBoxes[1]->setText("100");
    enter(ui().xyzBoxes[2], "300");
    ASSERT_TRUE(ui().munsellBoxes[0]->text().isEmpty()) << "the data hold no notation for it";
    platform.clear();
    ui().compareButton->click();
    EXPECT_TRUE(platform.shown().empty());
    EXPECT_EQ(ui().messagesBox->toPlainText(),
              "Compare with: the colour has no Munsell notation to compare");
}

// A soil sample's moist and dry readings kept for the next record saved: the
// record carries them after K, the checks are said once both are kept, and
// the next record starts without them.
TEST_F(Compare, MoistAndDryReadingsGoIntoTheNextRecordSavedAndOnlyThatOne) {
    ui().xyzBoxes[0]->setText("10");
    ui().xyzBoxes[1]->setText("100");
    enter(ui().xyzBoxes[2], "300");
    ui().moistAction->trigger();
    EXPECT_EQ(ui().messagesBox->toPlainText(),
              "Keep as moist reading: the colour has no Munsell notation");
    EXPECT_EQ(session().palette().moist(), "");

    typeMunsell("10YR", "3", "2");
    ui().moistAction->trigger();
    EXPECT_EQ(ui().messagesBox->toPlainText(),
              "10YR 3/2 kept as the moist reading for the next record saved");
    typeMunsell("10YR", "5.5", "2");
    ui().dryAction->trigger();
    EXPECT_EQ(ui().messagesBox->toPlainText(),
              "10YR 5.5/2 kept as the dry reading for the next record saved; moist 10YR 3/2, "
              "dry 10YR 5.5/2: mollic colour no, chernic colour no");
    typeMunsell("10YR", "5", "2");
    ui().dryAction->trigger(); // a second dry reading replaces the first
    EXPECT_TRUE(ui().messagesBox->toPlainText().endsWith(
        "moist 10YR 3/2, dry 10YR 5/2: mollic colour yes, chernic colour yes"));

    platform.clear();
    platform.queueInput("soils");
    platform.queueInput("pit 1");
    ui().saveToPaletteButton->click();
    EXPECT_TRUE(ui().messagesBox->toPlainText().endsWith(
        "(tag \"pit 1\"). Moist reading \"10YR 3/2\", dry reading \"10YR 5/2\"."));
    platform.queueInput("pit 2");
    ui().saveToPaletteButton->click();
    const auto rows = readPaletteRows(readFile("soils.csv").toStdString());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].fields[3], "10YR");
    EXPECT_EQ(rows[0].moist, "10YR 3/2");
    EXPECT_EQ(rows[0].dry, "10YR 5/2");
    EXPECT_EQ(rows[1].moist, "");
    EXPECT_EQ(rows[1].dry, "");
    EXPECT_EQ(session().palette().moist(), "");
}

} // namespace
} // namespace huelinx::testing
