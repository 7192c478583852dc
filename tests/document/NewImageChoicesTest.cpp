#include "document/NewImageChoices.h"

#include <gtest/gtest.h>

namespace px {
namespace {

struct MemoryCase {
    long long w, h;
    const char* text;
};

class MemoryEstimate : public ::testing::TestWithParam<MemoryCase> {};

TEST_P(MemoryEstimate, ThreeBytesAPixelInKoMoOrOctets)
{
    EXPECT_EQ(memoryEstimateText(GetParam().w, GetParam().h), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Examples, MemoryEstimate,
                         ::testing::Values(MemoryCase{0, 500, "0 octets"}, MemoryCase{10, 10, "300 octets"},
                                           MemoryCase{18, 19, "1 Ko"},         // 1026 bytes
                                           MemoryCase{400, 873, "1023 Ko"},    // 1047600, just under 1 Mo
                                           MemoryCase{1000, 1000, "2 Mo"},     // 3000000
                                           MemoryCase{9999, 9999, "286 Mo"})); // 299940003

TEST(NewImageChoices, ColourListsDependOnTheType)
{
    EXPECT_EQ(coloursOfferedFor("2 couleurs (1 bit)").value(), (std::vector<std::string>{"Blanc", "Noir"}));
    const auto four = coloursOfferedFor("16 couleurs (4 bit)").value();
    ASSERT_EQ(four.size(), 16u);
    EXPECT_EQ(four.front(), "Aqua");
    EXPECT_EQ(four.back(), "Violet");
    for (const char* type : {"256 couleurs (8 bit)", "16.7 millions de couleurs (24 bit)"}) {
        const auto full = coloursOfferedFor(type).value();
        ASSERT_EQ(full.size(), 18u) << type;
        EXPECT_EQ(full[16], "Principale");
        EXPECT_EQ(full[17], "Fond");
    }
    EXPECT_FALSE(coloursOfferedFor("24 bits"));
}

TEST(NewImageChoices, ColourNamesAndNumbers)
{
    const Colour main = makeColour(1, 2, 3), back = makeColour(4, 5, 6);
    EXPECT_EQ(backgroundColourFor("Bleu marrine", main, back), makeColour(0, 0, 128));
    EXPECT_EQ(backgroundColourFor("Vert tilleul", main, back), makeColour(0, 255, 0));
    EXPECT_FALSE(backgroundColourFor("blanc", main, back)); // names match exactly
    EXPECT_FALSE(bitsPerPixelFor(""));
    EXPECT_EQ(numberOrZero("12a"), 0);
    EXPECT_EQ(numberOrZero(""), 0);
    EXPECT_EQ(numberOrZero("-5"), -5);
}

} // namespace
} // namespace px
