// PNG pages written a few rows at a time: the chunked stream decodes to the
// page, and a page drawn a stretch of rows at a time, on any number of
// threads, is the file a device drawing the whole page writes.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <cairo.h>
#include <gtest/gtest.h>

#include "banded_render.h"
#include "fonts.h"
#include "layer.h"
#include "layer_json.h"
#include "png_writer.h"
#include "target.h"
#include "view.h"

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string TempPath(const std::string& name) {
  return ::testing::TempDir() + "inkline-png-stream-" + name + ".png";
}

// Rows of noise, then flat rows (so whole chunks repeat the row above),
// then a row that differs again.
std::vector<uint32_t> TestPage(int width, int height) {
  std::vector<uint32_t> page(static_cast<size_t>(width) * height);
  uint32_t seed = 12345;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      seed = seed * 1103515245u + 12345u;
      const bool flat = y > height / 4 && y < height - 3;
      page[static_cast<size_t>(y) * width + x] = flat ? 0x00336699u : (seed >> 8) & 0xFFFFFFu;
    }
  return page;
}

TEST(PngRowWriter, ChunkedStreamDecodesToThePageOnAnyThreads) {
  // Rows of about 64 KB: chunks of 16 rows, the last one short.
  const int width = 22000, height = 50;
  const std::vector<uint32_t> page = TestPage(width, height);
  const auto* pixels = reinterpret_cast<const unsigned char*>(page.data());
  std::string first;
  for (int threads : {1, 3}) {
    const std::string path = TempPath("rows" + std::to_string(threads));
    std::string error;
    std::unique_ptr<PngRowWriter> png = PngRowWriter::Open(path, width, height, false, &error);
    ASSERT_TRUE(png) << error;
    // In uneven calls: one chunk, then the rest but the last chunk, then that.
    const int chunk = png->ChunkRows(), stride = width * 4;
    const int cuts[] = {chunk, (height / chunk) * chunk, height};
    for (int to : cuts)
      ASSERT_TRUE(png->WriteRows(pixels + static_cast<size_t>(png->RowsWritten()) * stride, stride, to,
                                 threads, &error)) << error;
    ASSERT_TRUE(png->Close(&error)) << error;

    cairo_surface_t* read = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(read), CAIRO_STATUS_SUCCESS) << threads << " threads";
    ASSERT_EQ(cairo_image_surface_get_width(read), width);
    ASSERT_EQ(cairo_image_surface_get_height(read), height);
    int wrong = 0;
    for (int y = 0; y < height; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(read) +
                                                          y * cairo_image_surface_get_stride(read));
      for (int x = 0; x < width; ++x) wrong += (row[x] & 0xFFFFFFu) != page[static_cast<size_t>(y) * width + x];
    }
    cairo_surface_destroy(read);
    EXPECT_EQ(wrong, 0) << threads << " threads";
    const std::string bytes = Slurp(path);
    if (first.empty()) first = bytes;
    EXPECT_TRUE(bytes == first) << threads << " threads";
    std::remove(path.c_str());
  }
}

TEST(PngRowWriter, RefusesRowsOutOfTurn) {
  std::string error;
  const std::string path = TempPath("turn");
  std::unique_ptr<PngRowWriter> png = PngRowWriter::Open(path, 22000, 100, false, &error);
  ASSERT_TRUE(png);
  ASSERT_LT(png->ChunkRows(), 100);
  // Not a whole number of chunks, then past the bottom, then short of it.
  EXPECT_FALSE(png->WriteFlatRows(0, png->ChunkRows() - 1, 1, &error));
  EXPECT_FALSE(png->WriteFlatRows(0, 101, 1, &error));
  ASSERT_TRUE(png->WriteFlatRows(0, png->ChunkRows(), 1, &error)) << error;
  EXPECT_FALSE(png->Close(&error));
  std::remove(path.c_str());
}

// A transparent page reads back as the same page written by Cairo's own
// writer: colours are unpremultiplied alike.
TEST(PngRowWriter, TransparentPageReadsBackAsCairosWriterWrites) {
  const int width = 256, height = 64;
  cairo_surface_t* page = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_surface_flush(page);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(page) +
                                            y * cairo_image_surface_get_stride(page));
    for (int x = 0; x < width; ++x) {
      const uint32_t a = static_cast<uint32_t>(x), c = a * static_cast<uint32_t>(y * 4 + 3) / 255;
      row[x] = a << 24 | c << 16 | (a - c) << 8 | (a / 3);  // premultiplied: no channel over alpha
    }
  }
  cairo_surface_mark_dirty(page);
  const std::string ours = TempPath("alpha-ours"), theirs = TempPath("alpha-cairo");
  std::string error;
  ASSERT_TRUE(WritePng(page, ours, &error)) << error;
  ASSERT_EQ(cairo_surface_write_to_png(page, theirs.c_str()), CAIRO_STATUS_SUCCESS);
  cairo_surface_destroy(page);
  cairo_surface_t* a = cairo_image_surface_create_from_png(ours.c_str());
  cairo_surface_t* b = cairo_image_surface_create_from_png(theirs.c_str());
  ASSERT_EQ(cairo_surface_status(a), CAIRO_STATUS_SUCCESS);
  ASSERT_EQ(cairo_image_surface_get_format(a), CAIRO_FORMAT_ARGB32);
  int differ = 0;
  for (int y = 0; y < height; ++y)
    differ += std::memcmp(cairo_image_surface_get_data(a) + y * cairo_image_surface_get_stride(a),
                          cairo_image_surface_get_data(b) + y * cairo_image_surface_get_stride(b),
                          static_cast<size_t>(width) * 4) != 0;
  EXPECT_EQ(differ, 0);
  cairo_surface_destroy(a);
  cairo_surface_destroy(b);
  std::remove(ours.c_str());
  std::remove(theirs.c_str());
}

// Bands are balanced on an anchor sample. A skim reading only the features
// the sample takes must give it the anchors a reading of every label gives,
// through the thinning a long layer makes.
TEST(AnchorSampling, SkimmingGivesTheAnchorsOfAFullReading) {
  std::string text = R"({"type":"FeatureCollection","view":{"bbox":[0,0,100,100]},"features":[)";
  for (int i = 0; i < 20000; ++i) {
    text += i ? "," : "";
    text += R"({"type":"Feature","geometry":{"type":"Point","coordinates":[1,)" +
            std::to_string((i * 7919) % 10007 / 100.0) + R"(]},"properties":{"text":"t"}})";
  }
  text += "]}";
  LayerOptions options;
  options.defaults["height"] = "1";
  AnchorSample full;
  const Layer read = ParseGeoJson(text.data(), text.data() + text.size(), "l.geojson", options);
  for (const Label& label : read.labels) full.Add(label);
  AnchorSample skimmed;
  const FeatureSample sample{[&skimmed] { return skimmed.TakesNext(); },
                             [&skimmed](Label&& label) { skimmed.Add(label); }};
  size_t features = 0;
  const Layer layer =
      SkimGeoJson(text.data(), text.data() + text.size(), "l.geojson", options, &features, &sample);
  EXPECT_EQ(features, 20000u);
  const View view = MakeView(layer);
  const std::vector<double> want = full.Rows(view);
  EXPECT_GT(want.size(), 1000u);
  EXPECT_LT(want.size(), 10000u);  // thinned
  EXPECT_EQ(skimmed.Rows(view), want);
}

// Draws the layer on a page of several stretches, on one and on three
// threads, and expects the file one device drawing the whole page writes.
// Its files are named after the test, which may run beside the others.
void ExpectStretchesMatchTheWholePage(Layer layer, int width, int height, int stretchRows) {
  const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  Diagnostics diagnostics(true);
  std::string error;
  std::unique_ptr<FontSet> fonts = LoadFonts(FontOptions{}, diagnostics, &error);
  ASSERT_TRUE(fonts) << error;
  layer.view.hasSize = true;
  layer.view.size[0] = width;
  layer.view.size[1] = height;
  const View view = MakeView(layer);
  ResolveUnits(layer, view.scale, 96);
  RenderSetup setup;
  setup.vectorFonts = fonts->vector();
  setup.strokeFonts = fonts->stroke();
  setup.view = view;
  const CairoDevice::Options options = PictureOptions(view, DeviceChoice{}, PictureChoice{});

  const std::string whole = TempPath(test + "-whole");
  {
    std::unique_ptr<CairoDevice> device = CairoDevice::Create(whole, options, &error);
    ASSERT_TRUE(device) << error;
    setup.device = device.get();
    RenderLayer(layer, setup, diagnostics);
    ASSERT_TRUE(device->Finish(&error)) << error;
    setup.device = nullptr;
  }
  const std::string expected = Slurp(whole);
  std::remove(whole.c_str());
  ASSERT_FALSE(expected.empty());

  PngRun run;
  run.labels = [&layer](const LabelSink& sink) {
    for (const Label& label : layer.labels) sink(Label(label));
  };
  run.total = layer.labels.size();
  run.pixelBytes = static_cast<size_t>(width) * 4 * stretchRows;  // a chunk a stretch
  for (int threads : {1, 3}) {
    run.threads = threads;
    const std::string path = TempPath(test + "-stretches");
    ASSERT_TRUE(RenderPngInBands(run, setup, path, options, diagnostics, &error)) << error;
    EXPECT_TRUE(Slurp(path) == expected) << threads << " threads";
    std::remove(path.c_str());
  }
}

TEST(StretchedPng, OnAnyThreadsMatchesThePageDrawnWhole) {
  ExpectStretchesMatchTheWholePage(
      ReadLayer(std::string(INKLINE_SOURCE_DIR) + "/examples/showcase.geojson"), 700, 900, 100);
}

// Labels reaching far from their anchors, each alone on its page (a label
// reaching everywhere would have every row painted): tall letters above a
// level baseline, a box many times its text's length turned, a column, a
// long nearly level line, raised and stacked parts. With no anchors given,
// three threads cut bands at rows 166, 332, 499, 632 and 765.
TEST(StretchedPng, FarReachingLabelsMatchThePageDrawnWhole) {
  const char* const labels[] = {
      R"("text":"ÅÉÜ Ålb","height":100},"geometry":{"type":"Point","coordinates":[20,650]})",
      R"("text":"a boxed label that reaches far down the page","height":2,"angle":60,)"
      R"("color":3,"extra":40},"geometry":{"type":"Point","coordinates":[650,850]})",
      R"("text":"Column of text","height":20,"arrangement":"vertical"},)"
      R"("geometry":{"type":"Point","coordinates":[350,700]})",
      R"("text":"a long label turned half a degree across the whole page","height":24,)"
      R"("angle":-0.5},"geometry":{"type":"Point","coordinates":[5,736]})",
      R"("text":"/numerator/denominator/","height":40},)"
      R"("geometry":{"type":"Point","coordinates":[100,760]})",
      R"("text":"X#+raised#-lowered#=after","height":40,"style":{"slant":3,"shadow":true}},)"
      R"("geometry":{"type":"Point","coordinates":[300,740]})",
  };
  const std::string path = TempPath("far-reaching") + ".geojson";
  for (const char* label : labels) {
    SCOPED_TRACE(label);
    std::ofstream(path) << R"({"type":"FeatureCollection","view":{"bbox":[0,0,700,900]},)"
                        << R"("features":[{"type":"Feature","properties":{)" << label << "}]}";
    ExpectStretchesMatchTheWholePage(ReadLayer(path), 700, 900, 100);
  }
  std::remove(path.c_str());
}

}  // namespace
