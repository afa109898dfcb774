// The inkline command: renders annotation layers and runs the markup
// conversions from the command line.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include <inkline/inkline.h>

#include "diagnostics.h"
#include "fonts.h"
#include "gbk.h"
#include "annotation_writer.h"
#include "layer.h"
#include "place_layer.h"
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
    "      --place          place the labels first (the options of place apply)\n"
    "  inkline place LAYER.geojson -o PLACED.geojson [options]\n"
    "      --dropped FILE   where the dropped labels go; default PLACED.dropped.geojson\n"
    "      --offset PX      gap between a point (or its marker) and its label; default 3\n"
    "      --marker PX      a square marker of this size at every point, kept clear\n"
    "      --min-distance PX  between labels of the same text\n"
    "      --obstacles FILE polygons and lines (GeoJSON) no label may cover\n"
    "      --axis-box       test axis-aligned boxes instead of the measured extents\n"
    "      --fonts FILE, --stroke-font F  as for render\n"
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

const std::vector<std::string> kPlaceOptions = {"--offset", "--marker", "--min-distance",
                                                "--obstacles"};

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The engine's options from the command line; false, with *problem, on a bad
// value. Obstacles are read here (LayerError when they cannot be).
bool ReadPlaceOptions(const Args& args, placement::Options* options, std::string* problem) {
  for (const auto& [name, value] : args.options) {
    if (name == "--axis-box") options->axisBoxes = true;
    if (name == "--obstacles") ReadObstacles(value, options);
    double* number = name == "--offset"         ? &options->offset
                     : name == "--marker"       ? &options->markerSize
                     : name == "--min-distance" ? &options->sameTextDistance
                                                : nullptr;
    if (number && (!ParseNumber(value.c_str(), number) || *number < 0)) {
      *problem = name + " takes a number of pixels, 0 or more";
      return false;
    }
  }
  return true;
}

// Reads the placement options, the layer and the fonts: 0, or the exit code
// once it has said what went wrong.
int ReadInputs(const Args& args, const FontOptions& fontOptions, Diagnostics& diagnostics,
               Layer* layer, placement::Options* options, std::unique_ptr<FontSet>* fonts) {
  std::string problem;
  try {
    if (!ReadPlaceOptions(args, options, &problem)) return Usage(problem);
    *layer = ReadLayer(args.positional[0]);
  } catch (const LayerError& e) {
    std::fprintf(stderr, "inkline: %s\n", e.what());
    return kInputError;
  }
  std::string error;
  *fonts = LoadFonts(fontOptions, diagnostics, &error);
  if (!*fonts) {
    std::fprintf(stderr, "inkline: %s\n", error.c_str());
    return kInputError;
  }
  return 0;
}

// Writes content to path through a temporary file renamed into place.
bool WriteWhole(const std::string& path, const std::string& content, std::string* error) {
  const std::string temporary = path + ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out.flush()) {
      *error = path + ": cannot be written";
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    *error = path + ": cannot be written";
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

std::string DroppedPathFor(const std::string& placedPath) {
  const std::string suffix = ".geojson";
  const bool geojson =
      placedPath.size() > suffix.size() &&
      placedPath.compare(placedPath.size() - suffix.size(), suffix.size(), suffix) == 0;
  return (geojson ? placedPath.substr(0, placedPath.size() - suffix.size()) : placedPath) +
         ".dropped.geojson";
}

int Place(int argc, char** argv) {
  Args args;
  std::string problem;
  if (!SplitArgs(argc, argv, 2,
                 Joined({"-o", "--dropped", "--fonts", "--stroke-font"}, kPlaceOptions),
                 {"--axis-box"}, &args, &problem))
    return Usage(problem);
  if (args.positional.size() != 1) return Usage("place takes one layer file");
  std::string outPath, droppedPath;
  FontOptions fontOptions;
  for (const auto& [name, value] : args.options) {
    if (name == "-o") outPath = value;
    if (name == "--dropped") droppedPath = value;
    if (name == "--fonts") fontOptions.tablePath = value;
    if (name == "--stroke-font") fontOptions.strokeFontPath = value;
  }
  if (outPath.empty()) return Usage("place needs -o PLACED.geojson");
  if (droppedPath.empty()) droppedPath = DroppedPathFor(outPath);

  Diagnostics diagnostics;
  Layer layer;
  placement::Options options;
  std::unique_ptr<FontSet> fonts;
  if (const int failed = ReadInputs(args, fontOptions, diagnostics, &layer, &options, &fonts))
    return failed;
  std::string error;
  const View view = MakeView(layer);
  const placement::Result result =
      PlaceLayer(layer, view, options, PlaceFonts{fonts->vector(), fonts->stroke()});
  if (!WriteWhole(outPath, PlacedGeoJson(layer, view, result), &error) ||
      !WriteWhole(droppedPath, DroppedGeoJson(layer, result), &error)) {
    std::fprintf(stderr, "inkline: %s\n", error.c_str());
    return kOutputError;
  }
  std::fprintf(stderr, "inkline: %s\n", PlacementReport(result, layer.labels.size()).c_str());
  return 0;
}

int Render(int argc, char** argv) {
  Args args;
  std::string problem;
  if (!SplitArgs(argc, argv, 2, Joined({"-o", "--kind", "--fonts", "--stroke-font"}, kPlaceOptions),
                 {"--trace", "--no-truetype", "--place", "--axis-box"}, &args, &problem))
    return Usage(problem);
  if (args.positional.size() != 1) return Usage("render takes one layer file");

  std::string outPath;
  bool trace = false, place = false;
  DeviceChoice choice;
  FontOptions fontOptions;
  for (const auto& [name, value] : args.options) {
    if (name == "-o") outPath = value;
    if (name == "--trace") trace = true;
    if (name == "--place") place = true;
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
  placement::Options placeOptions;
  std::unique_ptr<FontSet> fonts;
  if (const int failed = ReadInputs(args, fontOptions, diagnostics, &layer, &placeOptions, &fonts))
    return failed;
  std::string error;

  const View view = MakeView(layer);
  placement::Result placed;
  if (place) {
    placed = PlaceLayer(layer, view, placeOptions, PlaceFonts{fonts->vector(), fonts->stroke()});
    std::fprintf(stderr, "inkline: %s\n", PlacementReport(placed, layer.labels.size()).c_str());
    layer = PlacedLayer(layer, placed);
  }
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
  DrawMarkers(target->Device(), placed.markers);
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
  if (command == "place") return Place(argc, argv);
  if (command == "to-html") return ToHtml(argc, argv);
  if (command == "to-text") return ToText(argc, argv);
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  return Usage("unknown command " + command);
}
