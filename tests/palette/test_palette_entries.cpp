// Palette rows as entries: what each kind of row comes to, the colour each
// converted row is (the Munsell entry of its notation), where a caller stops
// the reading, and the export's swatches, which must be the entries' own.
#include "../colour/table_fixture.h"
#include "exchange/palette_export.h"
#include "palette/palette_entries.h"
#include "palette/palette_geometry.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace huelinx {
namespace {

using testing::isccNbsNames;
using testing::renotationTable;

std::string row(const std::string& tag, const std::string& hue, const std::string& value,
                const std::string& chroma) {
    return "\"12-08-2026\",\"10:30:00\",\"" + tag + "\",\"" + hue + "\",\"" + value + "\",\"" +
           chroma + "\",1,2,3,\r\n";
}

ColourModel started() {
    return selectIlluminant(ColourModel::initial(), Illuminant::C, renotationTable());
}

// Every kind of row, one a line: converted whole, incomplete, without a
// notation, a value that is no number, a grey written without chroma, a hue
// with chroma missing, a hue without family, beyond the sliders, outside the data.
const std::string everyKind = row("Brick", "5R", "4", "14") + "\"d\",\"t\",\"short\",\"5R\"\r\n" +
                              row("none", "", "6.2", "") + row("bad value", "5G", "x", "4") +
                              row("card", "N", "5", "") + row("no chroma", "5Y", "7", "") +
                              row("odd", "5Q", "5", "4") + row("far", "5R", "5", "80") +
                              row("outside", "5R", "9", "30");

struct Seen {
    std::vector<std::pair<RowRead, std::size_t>> rows; // what the callback was told
    std::vector<PaletteEntry> entries;
};

Seen readAll(const std::string& text, ColourModel& colour) {
    Seen seen;
    seen.entries = paletteEntries(readPaletteRows(text), colour, renotationTable(), isccNbsNames(),
                                  [&seen](RowRead read, const PaletteEntry& entry) {
                                      seen.rows.emplace_back(read, entry.line);
                                      return true;
                                  });
    return seen;
}

TEST(PaletteEntries, EveryRowIsToldAndOnlyConvertedRowsBecomeEntries) {
    ColourModel colour = started();
    const Seen seen = readAll(everyKind, colour);
    using R = RowRead;
    const std::vector<std::pair<RowRead, std::size_t>> expected = {
        {R::Converted, 1},  {R::Incomplete, 2}, {R::NoNotation, 3},
        {R::NotANumber, 4}, {R::Converted, 5},  {R::NotANumber, 6},
        {R::Converted, 7},  {R::Converted, 8},  {R::Converted, 9}};
    EXPECT_EQ(seen.rows, expected);
    ASSERT_EQ(seen.entries.size(), 5u);
    const PaletteEntry& brick = seen.entries[0];
    EXPECT_EQ(brick.tag, "Brick");
    EXPECT_EQ(brick.notation, (std::array<std::string, 3>{"5R", "4", "14"}));
    EXPECT_EQ(brick.value, 4.0f);
    EXPECT_EQ(brick.chroma, 14.0f);
    EXPECT_TRUE(brick.outcome.empty());
    EXPECT_TRUE(brick.messages.empty());
    // A grey needs no chroma: it sits on the axis and has a swatch.
    const PaletteEntry& card = seen.entries[1];
    EXPECT_EQ(card.line, 5u);
    EXPECT_EQ(card.chroma, 0.0f);
    EXPECT_EQ(card.hueAngle, 0.0f);
    ASSERT_TRUE(card.swatch);
    EXPECT_EQ(card.swatch->notation, "N 5/");
    EXPECT_EQ(card.rgb[0], card.rgb[2]);
    // Rows the Munsell entry can't place say so and give no swatch.
    const PaletteEntry &odd = seen.entries[2], &far = seen.entries[3], &out = seen.entries[4];
    EXPECT_TRUE(odd.outcome.has(Outcome::FormatError));
    EXPECT_EQ(odd.messages.front(), "Format Error");
    EXPECT_TRUE(far.outcome.has(Outcome::OutOfMunsellRange));
    EXPECT_TRUE(out.outcome.has(Outcome::OutsideData));
    for (const PaletteEntry* e : {&odd, &far, &out})
        EXPECT_FALSE(e->swatch) << e->line;
    EXPECT_TRUE(brick.swatch);
}

TEST(PaletteEntries, EachEntryIsItsNotationTypedIntoTheMunsellBoxesAndEntered) {
    const std::string text = row("a", "5R", "4", "14") + row("b", "2.5gy", "6", "12.5") +
                             row("c", "5Q", "5", "4") + row("d", "5R", "5", "80") +
                             row("e", "10YR", "5", "4");
    ColourModel colour = started();
    ColourModel typed = colour;
    const std::vector<PaletteEntry> entries =
        paletteEntries(readPaletteRows(text), colour, renotationTable(), isccNbsNames());
    ASSERT_EQ(entries.size(), 5u);
    for (const PaletteEntry& e : entries) {
        for (int f = 0; f < 3; ++f)
            typed = edit(std::move(typed), static_cast<Box>(f), e.notation[std::size_t(f)]);
        typed = enterMunsell(std::move(typed), renotationTable());
        EXPECT_EQ(e.rgb, (std::array<int, 3>{typed.red, typed.green, typed.blue})) << e.line;
        EXPECT_EQ(e.outcome, typed.outcome) << e.line;
        EXPECT_EQ(e.messages, typed.messages) << e.line;
        EXPECT_EQ(e.swatch.has_value(), givesSwatch(typed)) << e.line;
        float angle = -1;
        if (hueAngleOf(e.notation[0], angle)) {
            EXPECT_EQ(e.hueAngle, angle) << e.line;
        }
    }
    // The colour ends on the last row, as the Munsell boxes would.
    EXPECT_EQ(colour.box, typed.box);
    EXPECT_EQ(colour.slider, typed.slider);
    // A hue without family keeps no angle of an earlier row.
    EXPECT_EQ(entries[2].hueAngle, 0.0f);
}

TEST(PaletteEntries, ARowWhoseNumbersCantBeReadIsTypedAndNotEntered) {
    ColourModel colour = started();
    const ColourModel before = colour;
    const std::vector<PaletteEntry> entries = paletteEntries(
        readPaletteRows(row("b", "5G", "x", "4")), colour, renotationTable(), isccNbsNames());
    EXPECT_TRUE(entries.empty());
    EXPECT_EQ(colour[Box::Hue], "5G");
    EXPECT_EQ(colour[Box::Value], "x");
    for (Box b : {Box::X, Box::Y, Box::Z, Box::Red})
        EXPECT_EQ(colour[b], before[b]);
    EXPECT_FALSE(colour.munsellConverted);
    EXPECT_TRUE(colour.outcome.empty());
}

TEST(PaletteEntries, TheCallerStopsAfterTheRowItSaysSo) {
    std::string text;
    for (int i = 0; i < 6; ++i)
        text += row("t" + std::to_string(i), "5R", "5", "4");
    text += "\"d\",\"t\",\"short\"\r\n" + row("after", "5Y", "7", "6");
    // At a capacity of three: the third entry is kept, nothing after it read.
    ColourModel colour = started();
    int told = 0;
    const auto three =
        paletteEntries(readPaletteRows(text), colour, renotationTable(), isccNbsNames(),
                       [&told](RowRead, const PaletteEntry&) { return ++told < 3; });
    EXPECT_EQ(told, 3);
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(three.back().tag, "t2");
    // Stopping at a row that can't be read keeps the entries before it.
    colour = started();
    const auto upToShort = paletteEntries(
        readPaletteRows(text), colour, renotationTable(), isccNbsNames(),
        [](RowRead read, const PaletteEntry&) { return read == RowRead::Converted; });
    ASSERT_EQ(upToShort.size(), 6u);
    EXPECT_EQ(upToShort.back().tag, "t5");
}

TEST(PaletteEntries, TheExportsSwatchesAreTheEntriesSwatches) {
    const std::string text =
        everyKind + row("'=1+2", "5PB", "4", "8") + row("caf\xe9\xE2\x80\xA8x", "10YR", "5", "4");
    ColourModel forEntries = started(), forExport = started();
    const std::vector<PaletteEntry> entries =
        paletteEntries(readPaletteRows(text), forEntries, renotationTable(), isccNbsNames());
    int skipped = 0;
    const std::vector<PaletteSwatch> exported = paletteSwatches(
        readPaletteRows(text), forExport, renotationTable(), isccNbsNames(), skipped);
    const std::vector<PaletteSwatch> own = swatchesOf(entries);
    ASSERT_EQ(exported.size(), own.size());
    EXPECT_EQ(exported.size(), 4u);
    EXPECT_EQ(skipped, 7); // 11 rows
    for (std::size_t i = 0; i < own.size(); ++i) {
        EXPECT_EQ(swatchName(exported[i]), swatchName(own[i])) << i;
        EXPECT_EQ(exported[i].rgb, own[i].rgb) << i;
        EXPECT_EQ(exported[i].xyz.Y, own[i].xyz.Y) << i;
    }
    EXPECT_EQ(swatchName(own[0]), "Brick 5R 4/14 vivid red");
    EXPECT_EQ(swatchName(own[1]), "card N 5/ medium gray");
    // The entry keeps the tag as read; its swatch puts the tag on one line.
    const PaletteEntry& formula = entries[entries.size() - 2];
    EXPECT_EQ(formula.tag, "=1+2");
    EXPECT_EQ(swatchName(own[2]), "=1+2 5PB 4/8 moderate blue");
    EXPECT_EQ(entries.back().tag.find("\xE2\x80\xA8"), 4u);
    EXPECT_EQ(own[3].tag.find("\xE2\x80\xA8"), std::string::npos);
}

} // namespace
} // namespace huelinx
