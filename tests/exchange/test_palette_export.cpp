// Palette export: each format read back by a reader written here from the
// format's own description, independent of the writer.
#include "../colour/table_fixture.h"
#include "colour/rgbcmyk.h"
#include "exchange/cgats.h"
#include "exchange/palette_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

namespace huelinx {
namespace {

using testing::dataFile;
using testing::renotationTable;

const IsccNbsTable& names() {
    return testing::isccNbsNames();
}

std::string row(const std::string& tag, const std::string& hue, const std::string& value,
                const std::string& chroma) {
    return "\"12-08-2026\",\"10:30:00\",\"" + tag + "\",\"" + hue + "\",\"" + value + "\",\"" +
           chroma + "\",1,2,3,\r\n";
}

// A palette of a tagged colour, an untagged one, a grey, a green the display
// can't show, a Latin-1 tag, and two rows with no notation the data hold.
struct Exported {
    std::vector<PaletteSwatch> swatches;
    int skipped = 0;
};
Exported samplePalette() {
    const std::string text = row("Brick", "5R", "4", "14") + row("", "5PB", "4", "8") +
                             row("Grey card", "N", "5", "") + row("", "", "6.2", "") +
                             row("too vivid", "5Y", "9", "40") + row("Leaf", "5G", "6", "20") +
                             row("caf\xe9", "10YR", "5", "4");
    ColourModel colour = selectIlluminant(ColourModel::initial(), Illuminant::C, renotationTable());
    Exported e;
    e.swatches =
        paletteSwatches(readPaletteRows(text), colour, renotationTable(), names(), e.skipped);
    return e;
}

TEST(PaletteExport, SwatchesAreNamedAndClippedNeverBlack) {
    const Exported e = samplePalette();
    EXPECT_EQ(e.skipped, 2);
    ASSERT_EQ(e.swatches.size(), 5u);
    EXPECT_EQ(swatchName(e.swatches[0]), "Brick 5R 4/14 vivid red");
    EXPECT_EQ(swatchName(e.swatches[1]), "5PB 4/8 moderate blue");
    EXPECT_EQ(swatchName(e.swatches[2]), "Grey card N 5/ medium gray");
    const PaletteSwatch& leaf = e.swatches[3];
    EXPECT_TRUE(leaf.outOfGamut);
    EXPECT_TRUE(swatchName(leaf).ends_with(" (out of gamut)"));
    // The clipped display colour of its X, Y, Z: green, not black.
    const RgbOfXyz clipped = xyzrgb(leaf.xyz.X, leaf.xyz.Y, leaf.xyz.Z, ColourSettings{});
    EXPECT_EQ(leaf.rgb, (std::array<int, 3>{clipped.R, clipped.G, clipped.B}));
    EXPECT_GT(leaf.rgb[1], 100);
    // X, Y, Z at full precision: the notation's own, not the boxes' two decimals.
    EXPECT_NEAR(e.swatches[0].xyz.Y, 12.00f, 0.05f);
    EXPECT_NE(e.swatches[0].xyz.Y * 100.0f, std::round(e.swatches[0].xyz.Y * 100.0f));
}

// ---- GIMP palette, read as its description says ------------------------------

struct GplEntry {
    int r, g, b;
    std::string name;
};
std::vector<GplEntry> readGpl(const std::string& text, std::string& paletteName) {
    std::istringstream in(text);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "GIMP Palette");
    std::vector<GplEntry> entries;
    while (std::getline(in, line)) {
        if (line.rfind("Name: ", 0) == 0) {
            paletteName = line.substr(6);
            continue;
        }
        if (line.empty() || line[0] == '#' || line.rfind("Columns:", 0) == 0) continue;
        GplEntry e{};
        int used = 0;
        EXPECT_EQ(std::sscanf(line.c_str(), "%d %d %d%n", &e.r, &e.g, &e.b, &used), 3) << line;
        const std::string rest = line.substr(static_cast<std::size_t>(used));
        EXPECT_EQ(rest.substr(0, 1), "\t");
        e.name = rest.substr(1);
        entries.push_back(e);
    }
    return entries;
}

TEST(PaletteExport, GimpPaletteReadsBackExactly) {
    const Exported e = samplePalette();
    const std::string text =
        exportPalette(ExportFormat::Gpl, "field", e.swatches, Illuminant::C, "");
    EXPECT_EQ(text.find('\r'), std::string::npos);
    std::string paletteName;
    const auto entries = readGpl(text, paletteName);
    EXPECT_EQ(paletteName, "field");
    ASSERT_EQ(entries.size(), e.swatches.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ((std::array<int, 3>{entries[i].r, entries[i].g, entries[i].b}),
                  e.swatches[i].rgb);
        EXPECT_EQ(entries[i].name, swatchName(e.swatches[i]));
    }
    // A Latin-1 tag of an old palette is written as UTF-8.
    EXPECT_EQ(entries[4].name, "caf\xc3\xa9 10YR 5/4 " + e.swatches[4].name);
}

// ---- Adobe Swatch Exchange, read as its description says --------------------

struct AseReader {
    const std::string& bytes;
    std::size_t at = 0;
    unsigned u16() {
        EXPECT_LE(at + 2, bytes.size());
        const auto b = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
        const unsigned v = (b(at) << 8) | b(at + 1);
        at += 2;
        return v;
    }
    std::uint32_t u32() {
        const std::uint32_t high = u16();
        return (high << 16) | u16();
    }
    float f32() {
        const std::uint32_t bits = u32();
        float f;
        std::memcpy(&f, &bits, 4);
        return f;
    }
    std::u16string name() {
        const unsigned length = u16();
        std::u16string text;
        for (unsigned i = 0; i < length; ++i)
            text += static_cast<char16_t>(u16());
        EXPECT_EQ(text.back(), u'\0');
        text.pop_back();
        return text;
    }
};

std::u16string ascii16(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST(PaletteExport, SwatchExchangeFileReadsBackToTheMillionth) {
    const Exported e = samplePalette();
    const std::string bytes =
        exportPalette(ExportFormat::Ase, "field", e.swatches, Illuminant::C, "");
    AseReader r{bytes};
    EXPECT_EQ(bytes.substr(0, 4), "ASEF");
    r.at = 4;
    EXPECT_EQ(r.u16(), 1u);
    EXPECT_EQ(r.u16(), 0u);
    const std::uint32_t blocks = r.u32();
    EXPECT_EQ(blocks, e.swatches.size() + 2);
    std::size_t colour = 0;
    int groupDepth = 0;
    for (std::uint32_t k = 0; k < blocks; ++k) {
        const unsigned type = r.u16();
        const std::uint32_t length = r.u32();
        const std::size_t end = r.at + length;
        if (type == 0xc001) {
            ++groupDepth;
            EXPECT_EQ(r.name(), u"field");
        } else if (type == 0xc002) {
            --groupDepth;
        } else {
            ASSERT_EQ(type, 0x0001u);
            ASSERT_LT(colour, e.swatches.size());
            const PaletteSwatch& s = e.swatches[colour++];
            const std::u16string name = r.name();
            if (colour == 5)
                EXPECT_EQ(name, u"caf\u00e9 10YR 5/4 " + ascii16(s.name));
            else
                EXPECT_EQ(name, ascii16(swatchName(s)));
            EXPECT_EQ(bytes.substr(r.at, 4), "RGB ");
            r.at += 4;
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(r.f32() * 255.0, s.rgb[static_cast<std::size_t>(c)], 255 * 1e-6);
            EXPECT_EQ(r.u16(), 2u);
        }
        EXPECT_EQ(r.at, end);
        r.at = end;
    }
    EXPECT_EQ(groupDepth, 0);
    EXPECT_EQ(colour, e.swatches.size());
    EXPECT_EQ(r.at, bytes.size());
}

// ---- Names that try to break a format's lines --------------------------------

// Tags holding a line feed or tab in an overlong form (E0 80 8A, F0 80 80 89)
// followed by what would be a colour line, a C1 next-line and a Unicode line
// separator: none may start a line or a field of its own.
std::vector<PaletteSwatch> forgingSwatches() {
    const std::string forged = "  0   0 255\tforged";
    const std::string text = row("x\xE0\x80\x8A" + forged, "5R", "4", "14") +
                             row("y\xF0\x80\x80\x89z\xC2\x85" + forged, "5PB", "4", "8") +
                             row("w\xE2\x80\xA8" + forged, "N", "5", "");
    ColourModel colour = selectIlluminant(ColourModel::initial(), Illuminant::C, renotationTable());
    int skipped = 0;
    auto swatches =
        paletteSwatches(readPaletteRows(text), colour, renotationTable(), names(), skipped);
    EXPECT_EQ(skipped, 0);
    return swatches;
}

bool hasControl(const std::u16string& name) {
    return std::any_of(name.begin(), name.end(), [](char16_t u) {
        return u < 0x20 || (u >= 0x7f && u < 0xa0) || u == 0x2028 || u == 0x2029;
    });
}

TEST(PaletteExport, NamesWithHiddenLineEndsStayOnTheirOwnLine) {
    const std::vector<PaletteSwatch> swatches = forgingSwatches();
    ASSERT_EQ(swatches.size(), 3u);
    // GIMP: one colour line per swatch, nothing else after the header.
    const std::string gpl =
        exportPalette(ExportFormat::Gpl, "f\xE0\x80\x8Ag", swatches, Illuminant::C, "");
    std::string paletteName;
    const auto entries = readGpl(gpl, paletteName);
    EXPECT_EQ(std::count(gpl.begin(), gpl.end(), '\n'), 4 + 3);
    EXPECT_EQ(paletteName, "f\xC3\xA0  g");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name.rfind("x\xC3\xA0    0   0 255 forged 5R 4/14", 0), 0u)
        << entries[0].name;
    for (const GplEntry& e : entries)
        EXPECT_EQ(e.name.find_first_of("\t\r"), std::string::npos) << e.name;
    EXPECT_EQ(gpl.find("\xC2\x85"), std::string::npos);
    EXPECT_EQ(gpl.find("\xE2\x80\xA8"), std::string::npos);

    // CGATS: one set per swatch, its name in one quoted value.
    const Loaded<CgatsTable> cgats =
        readCgats(exportPalette(ExportFormat::Cgats, "f", swatches, Illuminant::C, "now"), "f.txt");
    ASSERT_TRUE(cgats.value) << cgats.message;
    ASSERT_EQ(cgats.value->setCount(), 3u);
    EXPECT_EQ(cgats.value->value(1, 1), "y\xC3\xB0   z   0   0 255 forged");

    // ASE: every name without a control character, the blocks where they belong.
    const std::string ase = exportPalette(ExportFormat::Ase, "f", swatches, Illuminant::C, "");
    AseReader r{ase};
    r.at = 8;
    const std::uint32_t blocks = r.u32();
    EXPECT_EQ(blocks, 5u);
    for (std::uint32_t k = 0; k < blocks; ++k) {
        const unsigned type = r.u16();
        const std::uint32_t length = r.u32();
        const std::size_t end = r.at + length;
        if (type != 0xc002) {
            EXPECT_FALSE(hasControl(r.name())) << k;
        }
        r.at = end;
    }
    EXPECT_EQ(r.at, ase.size());
}

TEST(PaletteExport, FormatsByNameAndPaletteNamesOfFiles) {
    EXPECT_EQ(exportFormatNamed("GPL"), ExportFormat::Gpl);
    EXPECT_EQ(exportFormatNamed("cgats"), ExportFormat::Cgats);
    EXPECT_FALSE(exportFormatNamed("aco"));
    EXPECT_EQ(paletteNameOf("/home/me/field 2026.csv"), "field 2026");
}

} // namespace
} // namespace huelinx
