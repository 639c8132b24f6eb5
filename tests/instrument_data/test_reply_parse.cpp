#include "instrument_data/reply_parse.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace huelinx {
namespace {

// A reply of `length` blanks with `text` written from 1-based `start`.
void put(std::string& reply, std::size_t start, const std::string& text) {
    reply.replace(start - 1, text.size(), text);
}

std::string number(const char* format, double value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

float value(int i) {
    return static_cast<float>(10 + i * 1.25);
}

Reflectance marked() {
    Reflectance r{};
    r.fill(-1.0f);
    return r;
}

TEST(InstrumentReplies, FixedPositionRepliesAreReadAtTheirPositions) {
    struct Layout {
        const char* name;
        std::size_t length, width;
        std::size_t (*start)(int);
        bool (*parse)(std::string_view, Reflectance&);
    };
    const Layout layouts[] = {
        {"CE7000", 422, 7, [](int i) -> std::size_t { return 10 * i + 11; }, parseCe7000},
        {"CE2180", 290, 6, [](int i) -> std::size_t { return 7 * i + (i - 1) / 6 - 6; },
         parseCe2180},
        {"XTH", 337, 6, [](int i) -> std::size_t { return 8 * i + 11; }, parseXth},
    };
    for (const Layout& l : layouts) {
        std::string reply(l.length, ' ');
        put(reply, 1, "11");
        for (int i = 1; i <= 40; ++i)
            put(reply, l.start(i), number(l.width == 7 ? "%7.2f" : "%6.2f", value(i)));
        Reflectance curve = marked();
        ASSERT_TRUE(l.parse(reply, curve)) << l.name;
        for (int i = 1; i <= 40; ++i)
            EXPECT_FLOAT_EQ(curve[i], value(i)) << l.name << " " << i;
        EXPECT_EQ(curve[0], -1.0f);

        // A field that is not a number, or a reply cut short, leaves the curve.
        std::string bad = reply;
        put(bad, l.start(17), std::string(l.width, 'x'));
        curve = marked();
        EXPECT_FALSE(l.parse(bad, curve)) << l.name;
        EXPECT_FALSE(l.parse(reply.substr(0, l.start(40) + l.width - 2), curve)) << l.name;
        EXPECT_EQ(curve[1], -1.0f);
    }
    // The seventh CE2180 value starts at character 44, after the group's extra character.
    std::string reply(290, ' ');
    for (int i = 1; i <= 40; ++i)
        put(reply, 7 * i + (i - 1) / 6 - 6, " 10.00");
    put(reply, 44, " 77.25");
    Reflectance curve{};
    ASSERT_TRUE(parseCe2180(reply, curve));
    EXPECT_FLOAT_EQ(curve[7], 77.25f);
    EXPECT_FLOAT_EQ(curve[6], 10.0f);
}

TEST(InstrumentReplies, PointedRepliesAreReadAroundEachPoint) {
    std::string reply;
    for (int i = 1; i <= 40; ++i)
        reply += (i > 1 ? "," : "") + number("%7.3f", value(i));
    reply += ">";
    Reflectance curve = marked();
    ASSERT_TRUE(parseCi(reply, curve));
    EXPECT_FLOAT_EQ(curve[40], value(40));
    // Blank padding before the point, and digits past the third decimal.
    std::string padded = reply;
    padded.replace(0, 7, "  4.1239");
    ASSERT_TRUE(parseCi(padded, curve));
    EXPECT_FLOAT_EQ(curve[1], 4.123f);
    curve = marked();
    EXPECT_FALSE(parseCi(reply.substr(0, reply.size() - 10), curve)); // 39 points
    EXPECT_FALSE(parseCi("1.5" + reply, curve));                      // point too early
    EXPECT_FALSE(parseCi("abc.def," + reply, curve));                 // letters around a point
    EXPECT_EQ(curve[1], -1.0f);
}

TEST(InstrumentReplies, SpectrolinoGivesFractionsForTheMiddleOfTheCurve) {
    std::string reply(262, ' ');
    put(reply, 1, ": 185 9 0 ");
    for (int i = 1; i <= 36; ++i)
        put(reply, 7 * i + 4, number("%6.4f", value(i + 2) / 100.0));
    put(reply, 11, "0.4567");
    reply += "\r\n";
    Reflectance curve = marked();
    ASSERT_TRUE(parseSpectrolino(reply, curve));
    EXPECT_FLOAT_EQ(curve[3], 45.67f);
    EXPECT_NEAR(curve[38], value(38), 1e-4f);
    for (int i : {1, 2, 39, 40})
        EXPECT_EQ(curve[i], -1.0f);
    put(reply, 256, "ab.cde");
    curve = marked();
    EXPECT_FALSE(parseSpectrolino(reply, curve));
    EXPECT_EQ(curve[3], -1.0f);
}

TEST(ReflectanceFiles, ValuesOnOneLineOrManyAndShortFiles) {
    std::string oneLine = "Brick red\r\n", manyLines = "Brick red\n";
    for (int i = 1; i <= 40; ++i) {
        oneLine += (i > 1 ? ", " : "") + number("%.2f", value(i));
        manyLines += number("%.2f", value(i)) + "\n";
    }
    for (const std::string& text : {oneLine, manyLines}) {
        Reflectance curve = marked();
        const ReflectanceFile file = parseReflectanceFile(text, curve);
        ASSERT_TRUE(file.ok);
        EXPECT_EQ(file.tag, "Brick red");
        EXPECT_FLOAT_EQ(curve[40], value(40));
    }
    // 39 numbers: the file fails, the 39 are already in the curve.
    Reflectance curve = marked();
    const std::string short39 = oneLine.substr(0, oneLine.rfind(','));
    EXPECT_FALSE(parseReflectanceFile(short39, curve).ok);
    EXPECT_FLOAT_EQ(curve[39], value(39));
    EXPECT_EQ(curve[40], -1.0f);
    EXPECT_FALSE(parseReflectanceFile("tag\n1,2,three,4", curve).ok);
    EXPECT_FALSE(parseReflectanceFile("", curve).ok);
}

} // namespace
} // namespace huelinx
