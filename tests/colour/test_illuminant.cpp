#include "colour/illuminant.h"

#include <gtest/gtest.h>

#include <string>

namespace huelinx {
namespace {

const Illuminant all[] = {Illuminant::C, Illuminant::D5000, Illuminant::D65};

TEST(IlluminantNames, EachIlluminantIsWrittenByTheNameItIsReadBack) {
    // The texts files and the command line carry: D5000 is written as D50.
    EXPECT_EQ(illuminantName(Illuminant::C), "C");
    EXPECT_EQ(illuminantName(Illuminant::D5000), "D50");
    EXPECT_EQ(illuminantName(Illuminant::D65), "D65");
    for (Illuminant ill : all) {
        EXPECT_EQ(illuminantNamed(illuminantName(ill)), ill);
        EXPECT_EQ(illuminantNamed(illuminantName(ill), NameCase::Either), ill);
    }
    EXPECT_EQ(observerDegrees(Illuminant::C), 2);
    EXPECT_EQ(observerDegrees(Illuminant::D5000), 2);
    EXPECT_EQ(observerDegrees(Illuminant::D65), 10);
}

TEST(IlluminantNames, D5000IsTakenUnderBothItsNamesAndLetterCaseOnlyWhenAsked) {
    EXPECT_EQ(illuminantNamed("D5000"), Illuminant::D5000);
    EXPECT_EQ(illuminantNamed("d5000", NameCase::Either), Illuminant::D5000);
    EXPECT_EQ(illuminantNamed("d50", NameCase::Either), Illuminant::D5000);
    EXPECT_EQ(illuminantNamed("c", NameCase::Either), Illuminant::C);
    EXPECT_EQ(illuminantNamed("d65"), std::nullopt);
    EXPECT_EQ(illuminantNamed("c"), std::nullopt);
}

TEST(IlluminantNames, NamesThatAreNotInTheTableGiveNone) {
    for (const char* name : {"", "A", "F2", "D5", "D500", "D50000", "D6", "D65 ", " C", "CC",
                             "\xC4\x8E"
                             "65"}) {
        EXPECT_EQ(illuminantNamed(name, NameCase::Either), std::nullopt) << name;
    }
    EXPECT_EQ(illuminantNamed(std::string("D65\0", 4), NameCase::Either), std::nullopt);
}

} // namespace
} // namespace huelinx
