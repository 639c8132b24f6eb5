// huelinx-convert --photo: regions of a synthetic chart shot written as a
// real picture file, read through the chart, one row a region line.
#include "converter_run.h"
#include "tools/converter.h"

#include "../photo/synthetic_shot.h"
#include "photo/picture.h"
#include "tools/converter_input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace huelinx {
namespace {

using photo::Region;
using testing::Args;
using testing::convert;
using testing::Outcome;

// The fields of each output line.
std::vector<std::vector<std::string>> rows(const std::string& text) {
    std::vector<std::vector<std::string>> result;
    std::istringstream in(text);
    std::string scratch;
    for (std::string line; std::getline(in, line);) {
        result.emplace_back();
        splitFields(line, scratch, result.back());
    }
    return result;
}

// Columns of a row: name, 18 boxes, message, expected median and max, notes.
constexpr int xColumn = 4, messageColumn = 19, medianColumn = 20, notesColumn = 22;

// A shot of the chart with held-out samples below it, lit by `sampleLight`
// of the chart's light, and an 18 % grey card beside them.
struct Shot {
    std::string path;
    photo::ChartCorners corners;
    std::vector<Tristimulus> truth;
    std::vector<Region> regions;
    Region card{20, 280, 31, 31};
    std::string input; // a region line a sample
};

Shot shot(const std::string& file, bool jpeg, double sampleLight = 1, double chartGradient = 0,
          double chartExposure = 1) {
    const auto camera = testing::cameraUnder("nikon_d7000", "D50");
    const auto p = testing::projection();
    testing::Canvas canvas(320, 330, {0.01, 0.01, 0.01});
    canvas.chart(p, testing::chartRgb(camera, chartExposure), chartGradient);
    Shot s;
    s.path = (std::filesystem::temp_directory_path() /
              (file + "-" + std::to_string(getpid()) + (jpeg ? ".jpg" : ".png")))
                 .string();
    s.corners = testing::cornersOf(p);
    const auto& training = testing::photoData().training;
    for (std::size_t i = 5; i < training.size() && s.regions.size() < 8; i += 23) {
        const int k = static_cast<int>(s.regions.size());
        s.regions.push_back({20 + 30 * k, 210, 20, 20});
        s.truth.push_back(testing::trueXyz(training[i].values));
        const auto c = testing::cameraRgb(camera, training[i].values);
        canvas.square(s.regions.back(), {c.r * sampleLight, c.g * sampleLight, c.b * sampleLight});
        const Region& r = s.regions.back();
        s.input += "sample " + std::to_string(k) + "," + std::to_string(r.x) + "," +
                   std::to_string(r.y) + "," + std::to_string(r.width) + "," +
                   std::to_string(r.height) + "\n";
    }
    canvas.square({280, 280, 20, 20}, {1, 1, 1}); // at the top of the range
    const auto grey = testing::cameraRgb(camera, testing::flat(0.18));
    canvas.square(s.card, {grey.r * sampleLight, grey.g * sampleLight, grey.b * sampleLight});
    const Result written = jpeg ? photo::writeJpeg(s.path, canvas.srgb8(camera.whiteBalance), 95)
                                : photo::writePng16(s.path, canvas.linear16());
    EXPECT_TRUE(written.ok) << written.message;
    return s;
}

std::string chartArg(const photo::ChartCorners& c) {
    std::string text;
    for (const photo::Point& p : {c.topLeft, c.topRight, c.bottomRight, c.bottomLeft})
        text += (text.empty() ? "" : ",") + std::to_string(p.x) + "," + std::to_string(p.y);
    return text;
}

Args photoArgs(const Shot& s, bool linear) {
    Args args{"--photo", s.path, "--chart", chartArg(s.corners), "--csv"};
    if (linear) args.push_back("--linear");
    return args;
}

Tristimulus xyzOf(const std::vector<std::string>& row) {
    return {std::stof(row[xColumn]), std::stof(row[xColumn + 1]), std::stof(row[xColumn + 2])};
}

// The median CIEDE2000 of the samples' rows from their true colours.
double medianError(const Shot& s, const std::vector<std::vector<std::string>>& out) {
    std::vector<double> d;
    for (std::size_t k = 0; k < s.regions.size(); ++k)
        d.push_back(testing::de00(s.truth[k], xyzOf(out[k + 1])));
    std::sort(d.begin(), d.end());
    return d[d.size() / 2];
}

TEST(ConverterPhoto, RegionsOfLinearAndJpegShotsReadAsMeasurements) {
    for (const bool jpeg : {false, true}) {
        const Shot s = shot("photo-read", jpeg);
        const Outcome run = convert(photoArgs(s, !jpeg), s.input);
        std::filesystem::remove(s.path);
        ASSERT_EQ(run.status, 0) << run.err;
        const auto out = rows(run.out);
        ASSERT_EQ(out.size(), s.regions.size() + 1);
        EXPECT_EQ(run.out.substr(0, run.out.find('\n')),
                  "region,hue,value,chroma,X,Y,Z,x,y,L,a,b,R,G,B,C,M,Yc,K,message,"
                  "expected_dE00_median,expected_dE00_max,notes");
        EXPECT_NE(run.err.find("chart fitted (3x3)"), std::string::npos) << run.err;
        for (std::size_t k = 0; k < s.regions.size(); ++k) {
            const auto& row = out[k + 1];
            ASSERT_EQ(row.size(), 23u) << run.out;
            EXPECT_EQ(row[0], "sample " + std::to_string(k));
            EXPECT_FALSE(row[1].empty()); // a hue: every sample has a notation
            const double median = std::stod(row[medianColumn]);
            EXPECT_GT(median, 0);
            EXPECT_LE(median, std::stod(row[medianColumn + 1]));
            EXPECT_EQ(row[notesColumn], "lighting of the sample not checked");
        }
        EXPECT_LT(medianError(s, out), jpeg ? 2.5 : 2.0) << (jpeg ? "jpeg" : "png");
    }
}

TEST(ConverterPhoto, ARootPolynomialFitIsUsedWhenAsked) {
    const Shot s = shot("photo-fit", false);
    Args args = photoArgs(s, true);
    args.insert(args.end(), {"--fit", "rootpoly2"});
    const Outcome run = convert(args, s.input);
    std::filesystem::remove(s.path);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("chart fitted (rootpoly2)"), std::string::npos) << run.err;
    const auto out = rows(run.out);
    ASSERT_EQ(out.size(), s.regions.size() + 1);
    EXPECT_LT(medianError(s, out), 2.5);
}

TEST(ConverterPhoto, BadLinesKeepTheRowsAlignedAndSayWhy) {
    const Shot s = shot("photo-bad", false);
    const std::string good = s.input.substr(0, s.input.find('\n') + 1);
    const std::string input = good + "short,1,2\n" + "word,x,210,20,20\n" + "half,3.5,210,20,20\n" +
                              "outside,310,210,20,20\n" + "empty,20,210,0,20\n" + "\n" + good;
    const Outcome run = convert(photoArgs(s, true), input);
    std::filesystem::remove(s.path);
    EXPECT_EQ(run.status, 1);
    const auto out = rows(run.out);
    ASSERT_EQ(out.size(), 9u) << run.out;
    EXPECT_EQ(out[1], out[8]);
    const char* const names[] = {"short", "word", "half", "outside", "empty"};
    for (int i = 0; i < 5; ++i) {
        const auto& row = out[static_cast<std::size_t>(i) + 2];
        ASSERT_EQ(row.size(), 23u) << run.out;
        EXPECT_EQ(row[0], names[i]);
        EXPECT_TRUE(row[xColumn].empty());
        EXPECT_FALSE(row[messageColumn].empty());
        EXPECT_TRUE(row[medianColumn].empty());
        EXPECT_NE(run.err.find("line " + std::to_string(i + 2) + ": "), std::string::npos);
    }
    EXPECT_NE(out[2][messageColumn].find("found 3 fields"), std::string::npos);
    EXPECT_NE(out[3][messageColumn].find("x should be a whole number"), std::string::npos);
    EXPECT_NE(out[5][messageColumn].find("wholly in the picture"), std::string::npos);
    EXPECT_EQ(out[7], std::vector<std::string>(23, ""));
    EXPECT_EQ(run.err.find("line 7"), std::string::npos);
}

TEST(ConverterPhoto, AGreyCardCorrectsASampleLitLessThanTheChart) {
    const Shot s = shot("photo-card", false, 0.7);
    const Outcome without = convert(photoArgs(s, true), s.input);
    Args args = photoArgs(s, true);
    const std::string card = std::to_string(s.card.x + 15) + "," + std::to_string(s.card.y + 15);
    args.insert(args.end(), {"--reference", card + ",12,18"});
    const Outcome with = convert(args, s.input);
    std::filesystem::remove(s.path);
    ASSERT_EQ(without.status, 0) << without.err;
    ASSERT_EQ(with.status, 0) << with.err;
    const auto a = rows(without.out), b = rows(with.out);
    ASSERT_EQ(a.size(), s.regions.size() + 1);
    ASSERT_EQ(b.size(), s.regions.size() + 1);
    for (std::size_t k = 0; k < s.regions.size(); ++k) {
        EXPECT_EQ(a[k + 1][notesColumn], "lighting of the sample not checked");
        EXPECT_EQ(b[k + 1][notesColumn], "");
    }
    EXPECT_GT(medianError(s, a), 3);
    EXPECT_LT(medianError(s, b), std::min(2.0, medianError(s, a) / 3));
}

TEST(ConverterPhoto, UnevenLightAndClippedRegionsAreNotedOnTheirRows) {
    const Shot s = shot("photo-uneven", false, 1, 0.4);
    const Outcome run = convert(photoArgs(s, true), s.input + "bright,280,280,20,20\n");
    std::filesystem::remove(s.path);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("warning: The light over the chart is uneven"), std::string::npos)
        << run.err;
    const auto out = rows(run.out);
    ASSERT_EQ(out.size(), s.regions.size() + 2);
    for (std::size_t k = 1; k < out.size(); ++k) {
        const std::string& notes = out[k][notesColumn];
        EXPECT_NE(notes.find("The light over the chart is uneven"), std::string::npos) << notes;
        EXPECT_EQ(notes.find("clipped") != std::string::npos, k == out.size() - 1) << notes;
    }
}

// A run that can't read its picture or fit its chart prints no row: one
// message, status 1.
TEST(ConverterPhoto, PicturesAndChartsThatCannotBeUsedEndTheRunWithOneMessage) {
    const Shot s = shot("photo-refused", false);
    const std::string damaged = s.path + ".damaged.png";
    std::ofstream(damaged, std::ios::binary) << "\x89PNG\r\n\x1a\nnot a picture";
    const Shot clipped = shot("photo-clipped", false, 1, 0, 1.6);
    Args elsewhere = photoArgs(s, true);
    elsewhere[3] = "5,5,60,5,60,40,5,40"; // corners on the background
    const std::vector<std::pair<Outcome, std::string>> runs = {
        {convert({"--photo", "/nonexistent/photo.png", "--chart", chartArg(s.corners)}, s.input),
         "photo.png"},
        {convert({"--photo", damaged, "--chart", chartArg(s.corners)}, s.input), "damaged"},
        {convert(elsewhere, s.input), ""},
        {convert(photoArgs(clipped, true), clipped.input), "clipped"},
    };
    std::filesystem::remove(s.path);
    std::filesystem::remove(damaged);
    std::filesystem::remove(clipped.path);
    for (const auto& [run, said] : runs) {
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_NE(run.err.find(said), std::string::npos) << run.err;
    }
}

TEST(ConverterPhoto, OptionValuesThatCannotBeUsedGiveTheUsage) {
    const std::string chart = "60,50,260,50,260,170,60,170";
    const std::vector<Args> bad = {
        {"--photo", "p.png"},
        {"--photo", "p.png", "--chart", "60,50,260,50,260,170,60"},
        {"--photo", "p.png", "--chart", "60,50,260,50,260,170,60,x"},
        {"--photo", "p.png", "--chart", chart, "--fit", "4x4"},
        {"--photo", "p.png", "--chart", chart, "--reference", "30,30,5,0"},
        {"--photo", "p.png", "--chart", chart, "--reference", "30,30,-1,18"},
        {"--photo", "p.png", "--chart", chart, "--reference", "30,30,5"},
        {"--photo", "p.png", "--chart", chart, "xyz", "1", "2", "3"},
        {"--photo", "p.png", "--chart", chart, "--cgats", "m.txt"},
        {"--chart", chart, "--csv"},
        {"--linear", "xyz", "1", "2", "3"},
        {"--photo"},
    };
    for (const Args& args : bad) {
        const Outcome run = convert(args);
        EXPECT_EQ(run.status, 2) << args.back();
        EXPECT_NE(run.err.find("usage: huelinx-convert"), std::string::npos) << args.back();
        EXPECT_EQ(run.out, "");
    }
}

} // namespace
} // namespace huelinx
