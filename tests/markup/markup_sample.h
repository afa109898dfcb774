// Random annotations for the round-trip and thread tests: a text and the
// eight parameters, drawn from a seeded generator.
#ifndef INKLINE_TESTS_MARKUP_MARKUP_SAMPLE_H
#define INKLINE_TESTS_MARKUP_MARKUP_SAMPLE_H

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

struct MarkupSample {
  std::string text;
  short face = 0, style = 0;
  double size = 0;
  int color = 0, bgcolor = 0;
  float space = 0, angle = 0;
  char hvpl = 0;
};

// Text pieces that the reverse conversion must hand back unchanged. No piece
// and no pair of pieces forms a tag it would remove: "<" only comes with a
// blank after it.
inline std::string RandomMarkupText(std::mt19937& random, int maxPieces) {
  static const char* const kPieces[] = {"a", "Zq", "7", " ",  "\r\n", "\r", "\n", "< ",
                                        ">", "&",  "=", "\"", "p",    "/",  "\t", "size=3"};
  std::uniform_int_distribution<int> pieceCount(0, maxPieces);
  std::uniform_int_distribution<int> which(0, 16);
  std::uniform_int_distribution<int> lead(0x81, 0xFE);
  std::uniform_int_distribution<int> trail(0x40, 0xFE);
  std::string text;
  for (int n = pieceCount(random); n > 0; --n) {
    const int w = which(random);
    if (w < 16) {
      text += kPieces[w];
    } else {  // a two-byte character; its second byte may be a letter
      int second = trail(random);
      if (second == 0x7F) second = 0x80;
      text += static_cast<char>(lead(random));
      text += static_cast<char>(second);
    }
  }
  return text;
}

inline MarkupSample RandomMarkupSample(std::mt19937& random, int maxPieces) {
  MarkupSample s;
  s.text = RandomMarkupText(random, maxPieces);
  std::uniform_int_distribution<int> anyInt(std::numeric_limits<int>::min(),
                                            std::numeric_limits<int>::max());
  std::uniform_real_distribution<double> real(-1e4, 1e4);
  std::uniform_int_distribution<int> styleNo(-1, 6);
  s.face = static_cast<short>(static_cast<std::uint16_t>(anyInt(random)));
  s.style = static_cast<short>(styleNo(random));
  s.size = real(random) * 100;
  s.color = anyInt(random);
  s.space = static_cast<float>(real(random));
  s.hvpl = static_cast<char>(static_cast<signed char>(anyInt(random) % 128));
  s.bgcolor = anyInt(random);
  s.angle = static_cast<float>(real(random) / 10);
  return s;
}

// The text the reverse conversion gives for a sample: the underline tags each
// bring one blank into the document.
inline std::string ExpectedMarkupText(const MarkupSample& s) {
  return s.style == 3 ? " " + s.text + " " : s.text;
}

// How far a value written with six decimals and read back may lie from the
// original: half of the last decimal, plus one step of the type's own
// precision at that size.
template <typename T>
double MarkupTolerance(T value) {
  return 0.5e-6 + std::fabs(static_cast<double>(value)) * std::numeric_limits<T>::epsilon();
}

#endif  // INKLINE_TESTS_MARKUP_MARKUP_SAMPLE_H
