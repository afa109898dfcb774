// inkline render: draws a layer into a PNG, SVG or PDF picture or a trace.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <unistd.h>

#include <inkline/constants.h>
#include <inkline/user_chars.h>

#include "annotation_writer.h"
#include "cli_place.h"
#include "banded_render.h"
#include "cli_values.h"
#include "commands.h"
#include "fonts.h"
#include "input_file.h"
#include "layer.h"
#include "output_file.h"
#include "render.h"
#include "target.h"

namespace {

// Says what went wrong with an output and gives the output exit code.
int OutputFailed(const std::string& problem) {
  std::fprintf(stderr, "inkline: %s\n", problem.c_str());
  return kExitOutput;
}

struct RenderArgs {
  std::string layer, out, format, kind, textAs, fonts, strokeFont, bbox, size, dpi = "96",
      background, threads, defaultFont = kUnnamedLabelsFont;
  bool trace = false, noTrueType = false, quiet = false, place = false;
  std::vector<std::string> fields, values;
  std::string textField, heightField, height;
  LayerOptions layerOptions;
  std::string dropped;  // place: where the dropped labels go
  PlaceArgs placing;
};

// Everything the command line settles, checked before any input is read.
struct RenderPlan {
  DeviceChoice device;
  PictureChoice picture;
  FontOptions fonts;
  double dpi = 96;
  int threads = 1;
  bool hasBbox = false, hasSize = false, longerSideOnly = false;
  double bbox[4] = {0, 0, 0, 0};
  int size[2] = {0, 0};
  placement::Options placement;
};

bool FormatOf(const RenderArgs& a, PictureFormat* format, std::string* problem) {
  if (!a.format.empty()) {
    if (a.format == "png") return *format = PictureFormat::Png, true;
    if (a.format == "svg") return *format = PictureFormat::Svg, true;
    if (a.format == "pdf") return *format = PictureFormat::Pdf, true;
    *problem = "--format takes png, svg or pdf, not \"" + a.format + "\"";
    return false;
  }
  if (PictureFormatFor(a.out, format)) return true;
  *problem = a.out == "-" ? "-o - (standard output) needs --format png, svg or pdf"
                          : a.out + ": the output must end in .png, .svg or .pdf";
  return false;
}

bool PlanInput(RenderArgs& a, RenderPlan* plan, std::string* problem);

long OnlineCpus() {
  const long cpus = sysconf(_SC_NPROCESSORS_ONLN);
  return cpus >= 1 ? std::min(cpus, 1024L) : 1;
}

// Native text where the picture has text and the kind is left to us.
bool Plan(RenderArgs& a, RenderPlan* plan, std::string* problem, bool* outputProblem) {
  *outputProblem = false;
  if (a.trace && !a.out.empty()) return *problem = "render needs either -o OUT or --trace, not both", false;
  if (!a.trace && a.out.empty()) return *problem = "render needs either -o OUT or --trace", false;
  if (!a.trace && !FormatOf(a, &plan->picture.format, problem)) {
    *outputProblem = a.format.empty() && a.out != "-";
    return false;
  }
  long kind = -1;
  if (!a.kind.empty() &&
      !ParseWhole("--kind", a.kind, 0, 9, "a device kind from 0 to 9", &kind, problem))
    return false;
  if (!a.textAs.empty() && a.textAs != "text" && a.textAs != "paths")
    return *problem = "--text-as takes text or paths, not \"" + a.textAs + "\"", false;
  const bool vectorPicture = !a.trace && plan->picture.format != PictureFormat::Png;
  if (kind < 0)
    kind = vectorPicture && a.textAs != "paths" ? inkline::kDeviceNativeText : inkline::kDeviceWindow;
  if (a.textAs == "paths" && kind >= inkline::kDeviceTextContext) kind = inkline::kDeviceWindow;
  plan->device.kind = static_cast<short>(kind);
  plan->device.trueType = !a.noTrueType;
  if (!a.background.empty() && !ParseBackground(a.background, &plan->picture.background, problem))
    return false;
  return PlanInput(a, plan, problem);
}

// What both render and place need: the map area, the picture size, the
// resolution, the fonts and the placement.
bool PlanInput(RenderArgs& a, RenderPlan* plan, std::string* problem) {
  if (!PlanPlacement(a.placing, &plan->placement, problem)) return false;
  if (!ParseReal("--dpi", a.dpi, 1, 10000, "a resolution from 1 to 10000", &plan->dpi, problem))
    return false;
  if (!a.bbox.empty() && !(plan->hasBbox = ParseBbox(a.bbox, plan->bbox, problem))) return false;
  if (!a.size.empty() && !(plan->hasSize = ParseSize(a.size, plan->size, &plan->longerSideOnly, problem)))
    return false;
  long threads = OnlineCpus();
  if (!a.threads.empty() &&
      !ParseWhole("--threads", a.threads, 1, 1024, "a number of threads from 1 to 1024", &threads, problem))
    return false;
  plan->threads = static_cast<int>(threads);
  plan->fonts.tablePath = a.fonts;
  plan->fonts.strokeFontPath = a.strokeFont;
  return true;
}

bool PlanLayerOptions(RenderArgs& a, std::string* problem) {
  LayerOptions& o = a.layerOptions;
  std::string key, value;
  for (const std::string& f : a.fields) {
    if (!ParseAssignment("--field", f, &key, &value, problem)) return false;
    o.fieldFor[key] = value;
  }
  for (const std::string& v : a.values) {
    if (!ParseAssignment("--set", v, &key, &value, problem)) return false;
    o.defaults[key] = value;
  }
  if (!a.textField.empty()) o.fieldFor["text"] = a.textField;
  if (!a.heightField.empty()) o.fieldFor["height"] = a.heightField;
  if (!a.height.empty()) o.defaults["height"] = a.height;
  return true;
}

void ApplyView(const RenderPlan& plan, Layer& layer) {
  if (plan.hasBbox) {
    layer.view.hasBbox = true;
    std::copy(plan.bbox, plan.bbox + 4, layer.view.bbox);
  }
  if (plan.hasSize && !plan.longerSideOnly) {
    layer.view.hasSize = true;
    std::copy(plan.size, plan.size + 2, layer.view.size);
  }
}

// The longer side alone: the other follows the map's shape.
void ScaleToLongerSide(const RenderPlan& plan, View& view) {
  if (!plan.hasSize || !plan.longerSideOnly) return;
  const double factor = static_cast<double>(plan.size[0]) / std::max(view.width, view.height);
  const double cx = view.minx + view.width / view.scale / 2, cy = view.miny + view.height / view.scale / 2;
  view.width = std::max(1, static_cast<int>(std::lround(view.width * factor)));
  view.height = std::max(1, static_cast<int>(std::lround(view.height * factor)));
  view.scale *= factor;
  view.minx = cx - view.width / view.scale / 2;
  view.miny = cy - view.height / view.scale / 2;
}

// render, or with placeOnly place: the same reading of the layer, then a
// picture, or the placed labels as a layer.
class Render : public Subcommand {
 public:
  Render(CLI::App& app, bool placeOnly) : placeOnly_(placeOnly) { Declare(app); }
  int Run() override;

 private:
  void Declare(CLI::App& app);
  void DeclarePicture(CLI::App& app);
  int RunPlace();
  std::function<void(size_t, size_t)> Progress() const;
  int PrepareOutput(OutputFile& out) const;
  bool ReadInput(const RenderPlan& plan, Layer* layer, View* view, Diagnostics& diagnostics) const;
  bool SkimView(const RenderPlan& plan, size_t* labels, View* view, Diagnostics& diagnostics,
                AnchorSample* anchors) const;
  bool ReadView(const RenderPlan& plan, size_t* labels, View* view, Diagnostics& diagnostics,
                AnchorSample* anchors = nullptr) const;
  bool Streams() const;
  bool DrawsPng(const RenderPlan& plan) const;
  int RunStreamed(const RenderPlan& plan, OutputFile& out, Diagnostics& diagnostics) const;
  int RunPngStreamed(const RenderPlan& plan, OutputFile& out, Diagnostics& diagnostics) const;
  RenderSetup Setup(FontSet& fonts, const View& view) const;
  PlaceFonts Placing(FontSet& fonts) const;
  static bool LoadFontsSaid(const RenderPlan& plan, std::unique_ptr<FontSet>* fonts,
                            Diagnostics& diagnostics);
  bool placeOnly_;
  int DrawInBands(const RenderPlan& plan, PngRun& run, const RenderSetup& setup, OutputFile& out,
                  Diagnostics& diagnostics) const;
  RenderArgs a_;
};

void Render::DeclarePicture(CLI::App& app) {
  app.add_option("-o,--output", a_.out, "the picture: .png, .svg or .pdf, or - for standard output (with --format)");
  app.add_option("--format", a_.format, "png, svg or pdf, whatever -o ends in");
  app.add_flag("--trace", a_.trace, "print the device calls, one a line, instead of drawing, and the library's decisions (renderer, font fallback, clipping) to stderr");
  app.add_flag("--place", a_.place, "place the labels first (the placement options apply)");
}

void Render::Declare(CLI::App& app) {
  app.add_option("layer", a_.layer, "the layer: a GeoJSON file, any vector file or folder GDAL reads, or - for standard input");
  if (placeOnly_) {
    app.add_option("-o,--output", a_.out, "the placed labels: an annotation layer (GeoJSON)");
    app.add_option("--dropped", a_.dropped, "where the dropped labels go (default OUT.dropped.geojson)");
  } else {
    DeclarePicture(app);
  }
  app.add_flag("-q,--quiet", a_.quiet, "print errors only: no warnings, no progress");
  app.add_option("--threads", a_.threads, "threads drawing a PNG (default: one per CPU; SVG, PDF and --trace use one)");
  auto* out = app.add_option_group("picture", "The picture");
  out->add_option("--bbox", a_.bbox, "the map area MINX,MINY,MAXX,MAXY (default: the labels' extent)");
  out->add_option("--size", a_.size, "picture size W,H or WxH in pixels, or the longer side N (default 1024)");
  out->add_option("--dpi", a_.dpi, "resolution for heights in pt and mm (default 96)");
  if (!placeOnly_) {
    out->add_option("--background", a_.background, "transparent, white, black or a colour number (default white)");
    out->add_option("--text-as", a_.textAs, "text (SVG and PDF: real, selectable text; the default) or paths");
    out->add_option("--kind", a_.kind, "device kind 0-9 (7, 8, 9 draw text natively); default 8 for SVG and PDF, else 0");
    out->add_flag("--no-truetype", a_.noTrueType, "the device refuses TrueType fonts (all text from outlines)");
  }
  DeclarePlacement(app, a_.placing);
  auto* fonts = app.add_option_group("fonts", "Fonts");
  fonts->add_option("--fonts", a_.fonts, "a font table replacing the default one");
  fonts->add_option("--stroke-font", a_.strokeFont, "the stroke-font file for \"fontlib\": \"stroke\" labels");
  fonts->add_option("--default-font", a_.defaultFont,
                    "the font of labels that name none, a number or face name of the table (default "
                    "\"Noto Sans\"); their Chinese, Japanese and Korean is drawn in font 0's face");
  auto* input = app.add_option_group("layer", "Reading the layer (GDAL)");
  input->add_option("-l,--layer", a_.layerOptions.layerName, "the layer of a multi-layer source (default: the first)");
  input->add_option("--where", a_.layerOptions.where, "an attribute filter, e.g. \"pop > 100000\"");
  input->add_option("--t-srs", a_.layerOptions.targetSrs, "reproject to this coordinate system (e.g. EPSG:3857)");
  input->add_flag("--gdal", a_.layerOptions.forceGdal, "read a GeoJSON file through GDAL too");
  input->add_option("--text-field", a_.textField, "the field holding the text (default \"text\")");
  input->add_option("--height-field", a_.heightField, "the field holding the height (default \"height\")");
  input->add_option("--height", a_.height, "height of labels without one: map units, or 12px, 9pt, 3mm");
  input->add_option("--field", a_.fields, "PROPERTY=FIELD: read a property from another field (repeatable)");
  input->add_option("--set", a_.values, "PROPERTY=VALUE: a value for features without the property (repeatable)");
}

std::function<void(size_t, size_t)> Render::Progress() const {
  if (a_.quiet || !isatty(STDERR_FILENO)) return nullptr;  // no carriage returns in logs
  const auto start = std::chrono::steady_clock::now();
  auto reported = std::make_shared<bool>(false);
  return [start, reported](size_t done, size_t total) {
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (seconds < 1.0 && !*reported) return;
    *reported = true;
    std::fprintf(stderr, "\rinkline: %zu of %zu labels drawn", done, total);
    if (done == total) std::fputc('\n', stderr);
  };
}

// The output first: a run that cannot write its picture fails before the
// layer is read, and never over its own input. 0 or the exit code.
int Render::PrepareOutput(OutputFile& out) const {
  if (a_.trace) return kExitOk;
  std::string problem;
  if (a_.out != "-" && a_.layer != "-" && input_file::SameFile(a_.layer, a_.out))
    problem = a_.out + ": the output is the input layer";
  RemoveTempFileOnSignals();
  if (problem.empty() && out.Prepare(a_.out, &problem)) return kExitOk;
  return OutputFailed(problem);
}

// The layer in map units at its view; false (said) when it cannot be read.
bool Render::ReadInput(const RenderPlan& plan, Layer* layer, View* view,
                       Diagnostics& diagnostics) const {
  try {
    *layer = ReadLayer(a_.layer, a_.layerOptions);
  } catch (const LayerError& e) {
    std::fprintf(stderr, "inkline: %s\n", e.what());
    return false;
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "inkline: %s: too large to read into memory\n", a_.layer.c_str());
    return false;
  }
  ApplyView(plan, *layer);
  *view = MakeView(*layer);
  ScaleToLongerSide(plan, *view);
  ResolveUnits(*layer, view->scale, plan.dpi);
  if (layer->labels.empty()) diagnostics.Warn(a_.layer + ": the layer has no labels; the picture is empty");
  return true;
}

// The view alone, from a first reading that keeps no label; false (said)
// when the layer cannot be read.
bool Render::ReadView(const RenderPlan& plan, size_t* labels, View* view,
                      Diagnostics& diagnostics, AnchorSample* anchors) const {
  if (SkimView(plan, labels, view, diagnostics, anchors)) return true;
  if (anchors) *anchors = AnchorSample{};  // what the skim sampled is read again
  LabelsExtent extent;
  *labels = 0;
  Layer layer;
  try {
    layer = ReadLayerEach(a_.layer, a_.layerOptions, [&](Label&& label) {
      extent.Add(label);
      if (anchors) anchors->Add(label);
      ++*labels;
    });
  } catch (const LayerError& e) {
    std::fprintf(stderr, "inkline: %s\n", e.what());
    return false;
  }
  ApplyView(plan, layer);
  *view = MakeView(layer.view, extent);
  ScaleToLongerSide(plan, *view);
  if (*labels == 0) diagnostics.Warn(a_.layer + ": the layer has no labels; the picture is empty");
  return true;
}

// The view from the layer's members alone, its features only counted, when
// they are not needed for it: the map area is given. Bands balanced on the
// labels' places need only the few labels an anchor sample keeps, which are
// read on the way. False when a reading is needed (a layer the skim cannot
// take is read, and its faults told, by that reading).
bool Render::SkimView(const RenderPlan& plan, size_t* labels, View* view,
                      Diagnostics& diagnostics, AnchorSample* anchors) const {
  Layer layer;
  const FeatureSample sample{[anchors] { return anchors->TakesNext(); },
                             [anchors](Label&& label) { anchors->Add(label); }};
  try {
    layer = SkimLayer(a_.layer, a_.layerOptions, labels,
                      anchors && plan.threads > 1 ? &sample : nullptr);
  } catch (const LayerError&) {
    return false;
  }
  ApplyView(plan, layer);
  if (!layer.view.hasBbox) return false;
  View skimmed = MakeView(layer.view, LabelsExtent{});
  ScaleToLongerSide(plan, skimmed);
  *view = skimmed;
  if (*labels == 0) diagnostics.Warn(a_.layer + ": the layer has no labels; the picture is empty");
  return true;
}

// A file is read for the view, then label by label as it is drawn (a PNG's
// labels once for each stretch of rows), so no layer is ever held whole.
bool Render::Streams() const {
  return !a_.place && CanReadEach(a_.layer, a_.layerOptions);
}

bool Render::DrawsPng(const RenderPlan& plan) const {
  return !a_.trace && plan.picture.format == PictureFormat::Png;
}

RenderSetup Render::Setup(FontSet& fonts, const View& view) const {
  RenderSetup setup;
  setup.vectorFonts = fonts.vector();
  setup.strokeFonts = fonts.stroke();
  setup.hasFont = [&fonts](short n) { return fonts.HasFont(n); };
  setup.view = view;
  setup.progress = Progress();
  setup.shaper = &fonts.Shaper();
  setup.unnamedFont = fonts.NumberOf(a_.defaultFont);
  if (a_.trace)
    setup.explain = [](const std::string& note) {
      std::fprintf(stderr, "inkline: decision: %s\n", note.c_str());
    };
  return setup;
}

PlaceFonts Render::Placing(FontSet& fonts) const {
  return PlaceFonts{fonts.vector(), fonts.stroke(), &fonts.Shaper(), fonts.NumberOf(a_.defaultFont)};
}

int Render::RunStreamed(const RenderPlan& plan, OutputFile& out, Diagnostics& diagnostics) const {
  size_t labels = 0;
  View view;
  std::unique_ptr<FontSet> fonts;
  if (!ReadView(plan, &labels, &view, diagnostics) || !LoadFontsSaid(plan, &fonts, diagnostics))
    return kExitInput;
  std::string problem;
  std::unique_ptr<RenderTarget> target =
      a_.trace ? MakeTraceTarget(view, plan.device, stdout)
               : MakePictureTarget(out, view, plan.device, plan.picture, &problem);
  if (!target) return OutputFailed(problem);
  RenderSetup setup = Setup(*fonts, view);
  setup.device = &target->Device();
  LayerDrawing drawing(setup, diagnostics, labels);
  try {
    ReadLayerEach(a_.layer, a_.layerOptions, [&](Label&& label) {
      ResolveUnits(label, view.scale, plan.dpi);
      drawing.Draw(label);
    });
  } catch (const LayerError& e) {  // the file changed since the first reading
    std::fprintf(stderr, "inkline: %s\n", e.what());
    return kExitInput;
  }
  drawing.Finish();
  fonts->ReportNotes(diagnostics);
  if (!target->Finish(&problem)) return OutputFailed(problem);
  return kExitOk;
}

// The fonts; false (said) when they cannot be used.
bool Render::LoadFontsSaid(const RenderPlan& plan, std::unique_ptr<FontSet>* fonts,
                           Diagnostics& diagnostics) {
  std::string problem;
  *fonts = LoadFonts(plan.fonts, diagnostics, &problem);
  if (!*fonts) std::fprintf(stderr, "inkline: %s\n", problem.c_str());
  return *fonts != nullptr;
}

std::string DroppedPathFor(const std::string& placedPath) {
  const std::string suffix = ".geojson";
  const bool geojson =
      placedPath.size() > suffix.size() &&
      placedPath.compare(placedPath.size() - suffix.size(), suffix.size(), suffix) == 0;
  return (geojson ? placedPath.substr(0, placedPath.size() - suffix.size()) : placedPath) +
         ".dropped.geojson";
}

bool WriteAndCommit(OutputFile& out, const std::string& content, std::string* problem) {
  {
    std::ofstream file(out.temp(), std::ios::binary | std::ios::trunc);
    file << content;
    if (!file.flush()) return *problem = out.path() + ": cannot be written", false;
  }
  return out.Commit(problem);
}

int Render::RunPlace() {
  std::string problem;
  RenderPlan plan;
  if (a_.layer.empty()) return UsageError("place takes one layer", "place");
  if (a_.out.empty()) return UsageError("place needs -o PLACED.geojson", "place");
  if (!PlanInput(a_, &plan, &problem) || !PlanLayerOptions(a_, &problem))
    return UsageError(problem, "place");
  Diagnostics diagnostics(a_.quiet);
  RemoveTempFileOnSignals();
  OutputFile placedOut, droppedOut;
  if (!placedOut.Prepare(a_.out, &problem) ||
      !droppedOut.Prepare(a_.dropped.empty() ? DroppedPathFor(a_.out) : a_.dropped, &problem))
    return OutputFailed(problem);
  Layer layer;
  View view;
  std::unique_ptr<FontSet> fonts;
  if (!ReadInput(plan, &layer, &view, diagnostics) || !LoadFontsSaid(plan, &fonts, diagnostics))
    return kExitInput;
  placement::Result result;
  if (!PlaceLabels(layer, view, a_.placing, plan.placement,
                   Placing(*fonts), a_.quiet, &result))
    return kExitInput;
  if (!WriteAndCommit(placedOut, PlacedGeoJson(layer, view, result), &problem) ||
      !WriteAndCommit(droppedOut, DroppedGeoJson(layer, result), &problem))
    return OutputFailed(problem);
  return kExitOk;
}

// A PNG drawn a stretch of rows at a time, a band of it a thread; 0 or the
// exit code.
int Render::DrawInBands(const RenderPlan& plan, PngRun& run, const RenderSetup& setup,
                        OutputFile& out, Diagnostics& diagnostics) const {
  std::string problem;
  const CairoDevice::Options options = PictureOptions(setup.view, plan.device, plan.picture);
  run.threads = plan.threads;
  try {
    if (RenderPngInBands(run, setup, out.temp(), options, diagnostics, &problem) &&
        out.Commit(&problem))
      return kExitOk;
  } catch (const LayerError& e) {  // the file changed since the first reading
    std::fprintf(stderr, "inkline: %s\n", e.what());
    return kExitInput;
  }
  return OutputFailed(problem);
}

// A PNG from a layer read label by label: once for the view, then once for
// each stretch of rows drawn.
int Render::RunPngStreamed(const RenderPlan& plan, OutputFile& out, Diagnostics& diagnostics) const {
  PngRun run;
  View view;
  AnchorSample anchors;
  std::unique_ptr<FontSet> fonts;
  if (!ReadView(plan, &run.total, &view, diagnostics, &anchors) ||
      !LoadFontsSaid(plan, &fonts, diagnostics))
    return kExitInput;
  run.anchorRows = anchors.Rows(view);
  run.labels = [&](const LabelSink& sink) {
    ReadLayerEach(a_.layer, a_.layerOptions, [&](Label&& label) {
      ResolveUnits(label, view.scale, plan.dpi);
      sink(std::move(label));
    });
  };
  const int code = DrawInBands(plan, run, Setup(*fonts, view), out, diagnostics);
  fonts->ReportNotes(diagnostics);
  return code;
}

int Render::Run() {
  if (placeOnly_) return RunPlace();
  std::string problem;
  RenderPlan plan;
  bool outputProblem = false;
  if (a_.layer.empty()) return UsageError("render takes one layer", "render");
  if (!Plan(a_, &plan, &problem, &outputProblem) || !PlanLayerOptions(a_, &problem)) {
    if (!outputProblem) return UsageError(problem, "render");
    return OutputFailed(problem);
  }
  Diagnostics diagnostics(a_.quiet);
  OutputFile out;
  if (const int failed = PrepareOutput(out)) return failed;
  if (Streams())
    return DrawsPng(plan) ? RunPngStreamed(plan, out, diagnostics) : RunStreamed(plan, out, diagnostics);
  Layer layer;
  View view;
  std::unique_ptr<FontSet> fonts;
  if (!ReadInput(plan, &layer, &view, diagnostics) || !LoadFontsSaid(plan, &fonts, diagnostics))
    return kExitInput;
  placement::Result placed;
  if (a_.place) {
    if (!PlaceLabels(layer, view, a_.placing, plan.placement,
                     Placing(*fonts), a_.quiet, &placed))
      return kExitInput;
    layer = PlacedLayer(layer, placed);
  }
  RenderSetup setup = Setup(*fonts, view);
  // Markers of placed labels are drawn by the one-device path only.
  if (DrawsPng(plan) && placed.markers.empty()) {
    PngRun run;
    AnchorSample anchors;
    for (const Label& label : layer.labels) anchors.Add(label);
    run.total = layer.labels.size();
    run.anchorRows = anchors.Rows(view);
    run.labels = [&layer](const LabelSink& sink) {
      for (const Label& label : layer.labels) sink(Label(label));
    };
    const int code = DrawInBands(plan, run, setup, out, diagnostics);
    fonts->ReportNotes(diagnostics);
    return code;
  }
  std::unique_ptr<RenderTarget> target =
      a_.trace ? MakeTraceTarget(view, plan.device, stdout)
               : MakePictureTarget(out, view, plan.device, plan.picture, &problem);
  if (!target) return OutputFailed(problem);
  setup.device = &target->Device();
  DrawMarkers(target->Device(), placed.markers);
  RenderLayer(layer, setup, diagnostics);
  fonts->ReportNotes(diagnostics);
  if (!target->Finish(&problem))
    return OutputFailed(problem);
  return kExitOk;
}

}  // namespace

std::unique_ptr<Subcommand> AddRender(CLI::App& app) { return std::make_unique<Render>(app, false); }
std::unique_ptr<Subcommand> AddPlace(CLI::App& app) { return std::make_unique<Render>(app, true); }
