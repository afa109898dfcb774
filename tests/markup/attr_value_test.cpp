// Attribute values read from a tag's text in each of the five result types.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "markup/attr_number.h"
#include "markup/attr_value.h"

namespace {

struct AttrCase {
  const char* tag;
  const char* name;
  short kind;
  int asInt;
  short asShort;
  char asChar;
  float asFloat;
  double asDouble;
};

class AttrValue : public testing::TestWithParam<AttrCase> {};

TEST_P(AttrValue, ReadsEveryResultType) {
  const AttrCase& c = GetParam();
  const std::string tag = c.tag;
  EXPECT_EQ(GetAttrValue<int>(tag, c.name, c.kind), c.asInt);
  EXPECT_EQ(GetAttrValue<short>(tag, c.name, c.kind), c.asShort);
  EXPECT_EQ(GetAttrValue<char>(tag, c.name, c.kind), c.asChar);
  EXPECT_EQ(GetAttrValue<float>(tag, c.name, c.kind), c.asFloat);
  EXPECT_EQ(GetAttrValue<double>(tag, c.name, c.kind), c.asDouble);
}

constexpr float kInfF = HUGE_VALF;

INSTANTIATE_TEST_SUITE_P(
    Values, AttrValue,
    testing::Values(
        AttrCase{"<body size=10.75", "size", kAttrReal, 10, 10, 10, 10.75f, 10.75},
        AttrCase{"<body size=10.75", "size", kAttrInteger, 10, 10, 10, 10.0f, 10.0},
        AttrCase{"<body size=-7.9", "size", kAttrReal, -7, -7, -7, -7.9f, -7.9},
        AttrCase{"<body size=10.75", "size", 3, 0, 0, 0, 0.0f, 0.0},
        AttrCase{"<body size=10.75", nullptr, kAttrReal, 0, 0, 0, 0.0f, 0.0},
        AttrCase{"<body size=10.75", "hvpl", kAttrInteger, 0, 0, 0, 0.0f, 0.0},
        AttrCase{"<body a=  -0012abc", "a", kAttrInteger, -12, -12, -12, -12.0f, -12.0},
        AttrCase{"<body a=+5", "a", kAttrInteger, 5, 5, 5, 5.0f, 5.0},
        // Integers keep their low bits in the narrower types.
        AttrCase{"<font face=70000", "face", kAttrInteger, 70000, 4464, 112, 70000.0f, 70000.0},
        AttrCase{"<body hvpl=-129", "hvpl", kAttrInteger, -129, -129, 127, -129.0f, -129.0},
        // Beyond 32 bits: saturated, then narrowed by the same rule.
        AttrCase{"<body a=99999999999", "a", kAttrInteger, INT_MAX, -1, -1, 2147483648.0f,
                 2147483647.0},
        AttrCase{"<body a=-99999999999", "a", kAttrInteger, INT_MIN, 0, 0, -2147483648.0f,
                 -2147483648.0},
        AttrCase{"<body a=1e300", "a", kAttrReal, INT_MAX, -1, -1, kInfF, 1e300},
        AttrCase{"<body a=-1e300", "a", kAttrReal, INT_MIN, 0, 0, -kInfF, -1e300},
        AttrCase{"<body a=3.4028235e38", "a", kAttrReal, INT_MAX, -1, -1, FLT_MAX, 3.4028235e38},
        AttrCase{"<body a=1e999", "a", kAttrReal, INT_MAX, -1, -1, kInfF, HUGE_VAL}));

TEST(AttrValueNaN, NotANumberIsZeroAsAnInteger) {
  const std::string tag = "<body a=nan";
  EXPECT_EQ(GetAttrValue<int>(tag, "a", kAttrReal), 0);
  EXPECT_EQ(GetAttrValue<short>(tag, "a", kAttrReal), 0);
  EXPECT_TRUE(std::isnan(GetAttrValue<float>(tag, "a", kAttrReal)));
}

TEST(AttrNumber, IntegerReaderAgreesWithAtoiWhereverTheValueFits) {
  std::mt19937 random(20240607);
  std::uniform_int_distribution<int> anyInt(INT_MIN, INT_MAX);
  const char* prefixes[] = {"", " ", "\t\n", "+", "  -", "0", "-00"};
  const char* suffixes[] = {"", "x", ".5", " 7", "e3", "-1"};
  for (int i = 0; i < 5000; ++i) {
    const int value = anyInt(random);
    if (value == INT_MIN) continue;  // its magnitude alone would not fit
    const std::string prefix = prefixes[i % 7];
    // A sign in the prefix takes the place of the number's own.
    std::string digits = std::to_string(value);
    if (!prefix.empty() && (prefix.back() == '+' || prefix.back() == '-') && digits[0] == '-') {
      digits.erase(0, 1);
    }
    const std::string text = prefix + digits + suffixes[i % 6];
    EXPECT_EQ(ReadMarkupInteger(text.c_str()), std::atoi(text.c_str())) << text;
  }
  for (const char* edge : {"2147483647", "-2147483648", "", "-", "+", " x1", "000"}) {
    EXPECT_EQ(ReadMarkupInteger(edge), std::atoi(edge)) << edge;
  }
}

// Plain decimals are read without strtod; they must read as it reads them,
// to the last bit, and whatever else it reads must still be read by it.
TEST(AttrNumber, RealReaderAgreesWithStrtodBitForBit) {
  std::mt19937 random(20261208);
  const char* prefixes[] = {"", " ", "\t\n", "+", "-", "  -", "0", "-00", "."};
  const char* suffixes[] = {"", "x", ".", ".5", " 7", "e3", "E-2", "-1", "\"", "0000000000000000"};
  std::vector<std::string> texts = {"", "-", "+", ".", "-.", "0x1p3", "0X10", "inf", "-nan",
                                    "1e400", "9007199254740993", "0.1", "0.3", "5.000000",
                                    "45.158004", "999999999999999", "9999999999999999",
                                    "123456789.012345", "0.000000000000001", "-0", "-0.0",
                                    "\"45.1\"", "1.7976931348623157e308", "4.9e-324", "x",
                                    "-x", "+\"1\"", " '0.5'", "i", "nanx", "-inf", "INFINITY"};
  for (int i = 0; i < 20000; ++i) {
    // Up to 9 digits, or 14 to 18 where doubles stop being exact.
    const uint64_t number = i % 2 ? random() % 1000000000ULL
                                  : (uint64_t{random()} << 32 | random()) % 1000000000000000000ULL;
    std::string digits = std::to_string(number);
    const std::size_t at = random() % (digits.size() + 1);
    if (random() % 3 != 0) digits.insert(at, ".");
    texts.push_back(prefixes[random() % 9] + digits + suffixes[random() % 10]);
  }
  for (const std::string& text : texts) {
    const double mine = ReadMarkupReal(text.c_str());
    const double theirs = std::strtod(text.c_str(), nullptr);
    if (std::isnan(theirs)) {
      EXPECT_TRUE(std::isnan(mine)) << text;
    } else {
      EXPECT_EQ(std::memcmp(&mine, &theirs, sizeof mine), 0) << text << ": " << mine << " " << theirs;
    }
  }
}

TEST(AttrNumber, IntegerReaderSaturatesBeyondThirtyTwoBits) {
  EXPECT_EQ(ReadMarkupInteger("2147483648"), INT_MAX);
  EXPECT_EQ(ReadMarkupInteger("-2147483649"), INT_MIN);
  EXPECT_EQ(ReadMarkupInteger("184467440737095516160000"), INT_MAX);
  EXPECT_EQ(ReadMarkupInteger("-00000000000000000000099999999999999"), INT_MIN);
}

}  // namespace
