// The calibration file beside a picture: what is written is read back as it
// was, and a file that is not one is refused at its line.
#include "photo/calibration.h"

#include <gtest/gtest.h>

namespace huelinx::photo {
namespace {

Calibration sample(FitKind kind) {
    Calibration c;
    c.kind = kind;
    c.encoding = kind == FitKind::Matrix3x3 ? Encoding::Linear : Encoding::Srgb;
    c.corners = {{60.25, 50}, {260.1, 49.75}, {259.5, 170}, {61, 170.3333333333}};
    for (int k = 0; k < (kind == FitKind::Matrix3x3 ? 3 : 6); ++k)
        c.terms.push_back({1.0 / (k + 3), -0.1 * k, 1e-17 * (k + 1)});
    for (int i = 0; i < chartPatches; ++i) {
        c.residual[i] = 0.01 * i + 1.0 / 3;
        c.leftOut[i] = 0.02 * i + 2.0 / 7;
    }
    c.expectedMedian = 0.5293;
    c.expectedMax = 1.75;
    if (kind == FitKind::RootPolynomial2)
        c.warnings = {"The light over the chart is uneven: 23 %", "second, with = and ,"};
    return c;
}

void expectSame(const Calibration& a, const Calibration& b) {
    EXPECT_EQ(a.kind, b.kind);
    EXPECT_EQ(a.encoding, b.encoding);
    const ChartCorners &p = a.corners, &q = b.corners;
    for (const auto& [u, v] : {std::pair{p.topLeft, q.topLeft},
                               {p.topRight, q.topRight},
                               {p.bottomRight, q.bottomRight},
                               {p.bottomLeft, q.bottomLeft}}) {
        EXPECT_EQ(u.x, v.x);
        EXPECT_EQ(u.y, v.y);
    }
    EXPECT_EQ(a.terms, b.terms);
    EXPECT_EQ(a.residual, b.residual);
    EXPECT_EQ(a.leftOut, b.leftOut);
    EXPECT_EQ(a.expectedMedian, b.expectedMedian);
    EXPECT_EQ(a.expectedMax, b.expectedMax);
    EXPECT_EQ(a.warnings, b.warnings);
}

TEST(CalibrationText, EveryNumberComesBackExactly) {
    for (FitKind kind : {FitKind::Matrix3x3, FitKind::RootPolynomial2}) {
        const Calibration c = sample(kind);
        const std::string text = calibrationText(c);
        const auto back = readCalibrationText(text, "shot.calibration");
        ASSERT_TRUE(back.value) << back.message;
        expectSame(c, *back.value);
        // CR LF line ends, as an editor may leave them, read the same.
        std::string crlf;
        for (char ch : text)
            crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
        const auto windows = readCalibrationText(crlf, "shot.calibration");
        ASSERT_TRUE(windows.value) << windows.message;
        expectSame(c, *windows.value);
    }
    // A warning with a line end in it stays on its line.
    Calibration c = sample(FitKind::Matrix3x3);
    c.warnings = {"two\nlines"};
    const auto back = readCalibrationText(calibrationText(c), "x");
    ASSERT_TRUE(back.value) << back.message;
    EXPECT_EQ(back.value->warnings, std::vector<std::string>{"two lines"});
}

// The text of a sample file with line `line` (1-based) replaced.
std::string withLine(int line, const std::string& replacement) {
    std::string text = calibrationText(sample(FitKind::Matrix3x3));
    std::size_t start = 0;
    for (int n = 1; n < line; ++n)
        start = text.find('\n', start) + 1;
    const std::size_t end = text.find('\n', start);
    return text.replace(start, end - start, replacement);
}

TEST(CalibrationText, AFileThatIsNotOneIsRefusedAtItsLine) {
    const std::string full = calibrationText(sample(FitKind::Matrix3x3));
    struct Bad {
        std::string text;
        std::string message;
    };
    const Bad bad[] = {
        {"", "f, line 1: this is no chart calibration"},
        {withLine(1, "huelinx chart calibration 2"), "f, line 1: this is no chart calibration"},
        {withLine(2, "fit=4x4"), "f, line 2: the fit should be 3x3 or rootpoly2."},
        {withLine(2, "kind=3x3"), "f, line 2: expected \"fit=\"."},
        {withLine(3, "encoding=gamma"), "f, line 3: the encoding should be srgb or linear."},
        {withLine(4, "corners=1,2,3,4,5,6,7"), "f, line 4: corners needs 8 numbers."},
        {withLine(4, "corners=1,2,3,4,5,6,7,8,9"), "f, line 4: corners needs 8 numbers."},
        {withLine(4, "corners=1,2,3,x,5,6,7,8"), "f, line 4: corners: number 4 is not a number."},
        {withLine(5, "term=1,2,1e999"), "f, line 5: term: number 3 is not a number."},
        // A 3x3 fit has three terms, then the residuals.
        {withLine(8, "term=1,2,3"), "f, line 8: expected \"residual=\"."},
        {withLine(9, "left_out=" + std::string(24 * 2 - 1, ',')),
         "f, line 9: left_out: number 1 is not a number."},
        {withLine(10, "expected=0.5,-1"), "f, line 10: expected: number 2 is below 0."},
        {full + "\n", "f, line 11: expected \"warning=\"."},
        {full + "note=x\n", "f, line 11: expected \"warning=\"."},
        {full.substr(0, full.find("left_out=")), "f, line 9: the file ends before its "
                                                 "\"left_out=\" line."},
    };
    for (const Bad& b : bad) {
        const auto read = readCalibrationText(b.text, "f");
        EXPECT_FALSE(read.value) << b.message;
        EXPECT_EQ(read.message.substr(0, b.message.size()), b.message) << read.message;
    }
}

} // namespace
} // namespace huelinx::photo
