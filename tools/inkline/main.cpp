// The inkline command: renders annotation layers and runs the markup
// conversions from the command line.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include <inkline/inkline.h>

#include "diagnostics.h"
#include "fonts.h"
#include "gbk.h"
#include "layer.h"
#include "render.h"
#include "target.h"
#include "view.h"

namespace {

// Exit codes.
constexpr int kUsageError = 2;
constexpr int kInputError = 3;
constexpr int kOutputError = 4;

const char* const kUsage =
    "usage:\n"
    "  inkline render LAYER.geojson -o OUT.png|OUT.svg|OUT.pdf [options]\n"
    "  inkline render LAYER.geojson --trace [options]\n"
    "      --kind N         device kind 0-9 (7, 8, 9 draw text natively); default 0\n"
    "      --no-truetype    the device refuses TrueType fonts (all text from outlines)\n"
    "      --fonts FILE     a font table replacing the default one\n"
    "      --stroke-font F  the stroke-font file for \"fontlib\": \"stroke\" labels\n"
    "  inkline to-html TEXT [--face N] [--style N] [--size X] [--color N] [--space X]\n"
    "                       [--hvpl N] [--bgcolor N] [--angle X]\n"
    "  inkline to-text MARKUP|-\n";

int Usage(const std::string& problem) {
  if (!problem.empty()) std::fprintf(stderr, "inkline: %s\n", problem.c_str());
  std::fputs(kUsage, stderr);
  return kUsageError;
}

// Reads a number option's value; false when it is not a number.
bool ParseNumber(const char* text, double* out) {
  char* end = nullptr;
  *out = std::strtod(text, &end);
  return end != text && *end == '\0';
}

struct Args {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> options;  // name, value ("" for switches)
};

// Splits arguments; options in `withValue` take the next argument.
bool SplitArgs(int argc, char** argv, int first, const std::vector<std::string>& withValue,
               const std::vector<std::string>& switches, Args* args, std::string* problem) {
  for (int i = first; i < argc; ++i) {
    const std::string a = argv[i];
    if (a.size() > 1 && a[0] == '-' && !(a.size() > 1 && (std::isdigit(static_cast<unsigned char>(a[1])) || a[1] == '.'))) {
      bool known = false;
      for (const auto& o : withValue) {
        if (a != o) continue;
        if (i + 1 >= argc) {
          *problem = "option " + a + " needs a value";
          return false;
        }
        args->options.emplace_back(a, argv[++i]);
        known = true;
      }
      for (const auto& s : switches) {
        if (a != s) continue;
        args->options.emplace_back(a, "");
        known = true;
      }
      if (!known) {
        *problem = "unknown option " + a;
        return false;
      }
    } else {
      args->positional.push_back(a);
    }
  }
  return true;
}

int Render(int argc, char** argv) {
  Args args;
  std::string problem;
  if (!SplitArgs(argc, argv, 2, {"-o", "--kind", "--fonts", "--stroke-font"},
                 {"--trace", "--no-truetype"}, &args, &problem))
    return Usage(problem);
  if (args.positional.size() != 1) return Usage("render takes one layer file");

  std::string outPath;
  bool trace = false;
  DeviceChoice choice;
  FontOptions fontOptions;
  for (const auto& [name, value] : args.options) {
    if (name == "-o") outPath = value;
    if (name == "--trace") trace = true;
    if (name == "--no-truetype") choice.trueType = false;
    if (name == "--fonts") fontOptions.tablePath = value;
    if (name == "--stroke-font") fontOptions.strokeFontPath = value;
    if (name == "--kind") {
      double kind = 0;
      if (!ParseNumber(value.c_str(), &kind) || kind < 0 || kind > 9 || kind != static_cast<int>(kind))
        return Usage("--kind takes a device kind from 0 to 9");
      choice.kind = static_cast<short>(kind);
    }
  }
  if (trace == !outPath.empty()) return Usage("render needs either -o OUT or --trace");

  Diagnostics diagnostics;
  Layer layer;
  try {
    layer = ReadLayer(args.positional[0]);
  } catch (const LayerError& e) {
    std::fprintf(stderr, "inkline: %s\n", e.what());
    return kInputError;
  }

  std::string error;
  std::unique_ptr<FontSet> fonts = LoadFonts(fontOptions, diagnostics, &error);
  if (!fonts) {
    std::fprintf(stderr, "inkline: %s\n", error.c_str());
    return kInputError;
  }

  const View view = MakeView(layer);
  std::unique_ptr<RenderTarget> target =
      trace ? MakeTraceTarget(view, choice, stdout) : MakePictureTarget(outPath, view, choice, &error);
  if (!target) {
    std::fprintf(stderr, "inkline: %s\n", error.c_str());
    return kOutputError;
  }

  RenderSetup setup;
  setup.device = &target->Device();
  setup.vectorFonts = fonts->vector();
  setup.strokeFonts = fonts->stroke();
  setup.view = view;
  const auto start = std::chrono::steady_clock::now();
  bool reported = false;
  setup.progress = [&](size_t done, size_t total) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (seconds < 1.0 && !reported) return;
    reported = true;
    std::fprintf(stderr, "\rinkline: %zu of %zu labels drawn", done, total);
    if (done == total) std::fputc('\n', stderr);
  };
  RenderLayer(layer, setup, diagnostics);
  fonts->ReportNotes(diagnostics);

  if (!target->Finish(&error)) {
    std::fprintf(stderr, "inkline: %s\n", error.c_str());
    return kOutputError;
  }
  return 0;
}

int ToHtml(int argc, char** argv) {
  Args args;
  std::string problem;
  if (!SplitArgs(argc, argv, 2,
                 {"--face", "--style", "--size", "--color", "--space", "--hvpl", "--bgcolor", "--angle"},
                 {}, &args, &problem))
    return Usage(problem);
  if (args.positional.size() != 1) return Usage("to-html takes one text");
  double face = 0, style = 0, size = 10, color = 1, space = 0, hvpl = 0, bgcolor = 0, angle = 0;
  const struct {
    const char* name;
    double* value;
  } numbers[] = {{"--face", &face},   {"--style", &style},   {"--size", &size},
                 {"--color", &color}, {"--space", &space},   {"--hvpl", &hvpl},
                 {"--bgcolor", &bgcolor}, {"--angle", &angle}};
  for (const auto& [name, value] : args.options)
    for (const auto& n : numbers)
      if (name == n.name && !ParseNumber(value.c_str(), n.value))
        return Usage(std::string(n.name) + " takes a number, not \"" + value + "\"");

  int lost = 0;
  std::string text = Utf8ToGbk(args.positional[0], &lost);
  if (lost) std::fprintf(stderr, "inkline: warning: %d character(s) have no GBK form\n", lost);
  const char* html = CvtStrToHTML(text.data(), static_cast<short>(face), static_cast<short>(style), size,
                                  static_cast<int>(color), static_cast<float>(space),
                                  static_cast<char>(hvpl), static_cast<int>(bgcolor),
                                  static_cast<float>(angle));
  if (!html) {
    std::fprintf(stderr, "inkline: the conversion gave no result\n");
    return kInputError;
  }
  std::printf("%s\n", GbkToUtf8(html).c_str());
  return 0;
}

int ToText(int argc, char** argv) {
  if (argc != 3) return Usage("to-text takes one markup text, or - to read it from stdin");
  std::string markup = argv[2];
  if (markup == "-")
    markup.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  std::string bytes = Utf8ToGbk(markup);
  short face = 0, style = 0;
  double size = 0;
  int color = 0, bgcolor = 0;
  float space = 0, angle = 0;
  char hvpl = 0;
  const char* text =
      CvtHTMLToStr(bytes.data(), &face, &style, &size, &color, &space, &hvpl, &bgcolor, &angle);
  if (!text) {
    std::fprintf(stderr, "inkline: the markup has no <body ...> tag\n");
    return kInputError;
  }
  nlohmann::json out = {{"text", GbkToUtf8(text)}, {"face", face},     {"style", style},
                        {"size", size},            {"color", color},   {"space", space},
                        {"hvpl", static_cast<int>(hvpl)}, {"bgcolor", bgcolor}, {"angle", angle}};
  std::printf("%s\n", out.dump(2).c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage("");
  const std::string command = argv[1];
  if (command == "render") return Render(argc, argv);
  if (command == "to-html") return ToHtml(argc, argv);
  if (command == "to-text") return ToText(argc, argv);
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  return Usage("unknown command " + command);
}
