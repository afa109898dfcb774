// Reads any bytes as a GeoJSON layer through the command's own reader. It
// either returns labels or throws LayerError with a message that starts with
// the file's name (any other exception escapes and is a finding). Every label
// is one plain or one rich annotation; a plain label's numbers are finite and
// its sizes above 0, a rich label's box is ordered, the view's numbers are
// usable, and every part of a label's shape holds points. A layer that reads
// also skims (features stepped over), to the same view and feature count.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "layer_json.h"

namespace {

const char kName[] = "fuzzed.geojson";

bool Finite(double v) { return std::isfinite(v); }

void CheckPlain(const PlainLabel& p) {
  FuzzCheck(Finite(p.x) && Finite(p.y) && Finite(p.angle) && Finite(p.space) && Finite(p.extra));
  FuzzCheck(Finite(p.height) && p.height > 0 && Finite(p.width) && p.width > 0);
  FuzzCheck(p.arrangement == 0 || p.arrangement == 1);
}

void CheckLabel(const Label& label) {
  FuzzCheck(label.plain.has_value() != label.rich.has_value());
  if (label.plain) CheckPlain(*label.plain);
  if (label.rich) {
    const RichLabel& r = *label.rich;
    FuzzCheck(Finite(r.xmin) && Finite(r.xmax) && Finite(r.ymin) && Finite(r.ymax));
    FuzzCheck(r.xmin < r.xmax && r.ymin < r.ymax);
  }
  for (const auto& part : label.shape.parts) {
    FuzzCheck(!part.empty());
    for (const auto& point : part) FuzzCheck(Finite(point[0]) && Finite(point[1]));
  }
}

void CheckView(const ViewRequest& v) {
  if (v.hasBbox) FuzzCheck(v.bbox[0] < v.bbox[2] && v.bbox[1] < v.bbox[3]);
  if (v.hasSize) FuzzCheck(v.size[0] >= 1 && v.size[0] <= 20000 && v.size[1] >= 1 && v.size[1] <= 20000);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The fuzzer's buffer is exactly the input's size, NULs and all.
  const char* begin = reinterpret_cast<const char*>(data);
  Layer layer;
  try {
    layer = ParseGeoJson(begin, begin + size, kName, LayerOptions{});
    CheckView(layer.view);
    for (const Label& label : layer.labels) CheckLabel(label);
  } catch (const LayerError& e) {
    FuzzCheck(std::string(e.what()).rfind(kName, 0) == 0);
    return 0;
  }
  // A layer that reads also skims, to the same view and as many features.
  size_t features = 0;
  const Layer skimmed = SkimGeoJson(begin, begin + size, kName, LayerOptions{}, &features);
  FuzzCheck(features == layer.labels.size() && skimmed.labels.empty());
  FuzzCheck(skimmed.view.hasBbox == layer.view.hasBbox && skimmed.view.hasSize == layer.view.hasSize);
  for (int i = 0; i < 4; ++i) FuzzCheck(skimmed.view.bbox[i] == layer.view.bbox[i]);
  FuzzCheck(skimmed.view.size[0] == layer.view.size[0] && skimmed.view.size[1] == layer.view.size[1]);
  // Reading every third feature on the way gives the labels a reading gives.
  size_t offered = 0, taken = 0;
  const FeatureSample everyThird{[&offered] { return offered++ % 3 == 0; }, [&](Label&& label) {
    FuzzCheck(3 * taken < layer.labels.size());
    const Label& want = layer.labels[3 * taken++];
    FuzzCheck(label.plain.has_value() == want.plain.has_value());
    if (label.plain) FuzzCheck(label.plain->text == want.plain->text);
  }};
  size_t counted = 0;
  SkimGeoJson(begin, begin + size, kName, LayerOptions{}, &counted, &everyThird);
  FuzzCheck(counted == layer.labels.size() && taken == (counted + 2) / 3);
  return 0;
}
