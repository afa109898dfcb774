#include "layer.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "input_file.h"
#include "layer_gdal.h"
#include "layer_json.h"

namespace {

bool EndsWith(const std::string& s, const std::string& suffix) {
  if (s.size() < suffix.size()) return false;
  for (size_t i = 0; i < suffix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(s[s.size() - suffix.size() + i])) != suffix[i])
      return false;
  return true;
}

// The command reads GeoJSON itself (keeping "view" and nested "style"
// objects) unless an option only GDAL serves is given.
bool OwnReader(const std::string& path, const LayerOptions& o) {
  if (o.forceGdal || !o.layerName.empty() || !o.where.empty() || !o.targetSrs.empty()) return false;
  return path == "-" || EndsWith(path, ".geojson") || EndsWith(path, ".json");
}

// A read-only mapping of a whole file: the parser reads the file's pages
// straight, with no copy of its text.
class MappedFile {
 public:
  explicit MappedFile(const std::string& path) {
    const std::string problem =
        input_file::CheckRegular(path, input_file::kLayerCap, "layer");
    if (!problem.empty()) throw LayerError(problem);
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      if (fd >= 0) close(fd);
      throw LayerError(path + ": cannot be read");
    }
    size_ = static_cast<size_t>(st.st_size);
    if (size_ > 0) data_ = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (data_ == MAP_FAILED) throw LayerError(path + ": cannot be read");
  }
  ~MappedFile() {
    if (data_ && data_ != MAP_FAILED) munmap(data_, size_);
  }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  const char* begin() const { return static_cast<const char*>(data_); }
  const char* end() const { return begin() + size_; }

  // Gives the pages before at back: read once, they need not stay in memory.
  void Release(const char* at) const {
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const size_t bytes = static_cast<size_t>(at - begin()) / page * page;
    if (bytes > 0) madvise(data_, bytes, MADV_DONTNEED);
  }

 private:
  void* data_ = nullptr;
  size_t size_ = 0;
};

double PixelsPer(Unit unit, double dpi) {
  switch (unit) {
    case Unit::Px: return 1;
    case Unit::Pt: return dpi / 72;
    case Unit::Mm: return dpi / 25.4;
    case Unit::Map: break;
  }
  return 0;
}

double InMapUnits(double value, Unit unit, double scale, double dpi) {
  return unit == Unit::Map ? value : value * PixelsPer(unit, dpi) / scale;
}


// GDAL may open a folder or a name it knows (a database connection), but a
// device or a FIFO would never end and a huge file is refused.
void CheckGdalInput(const std::string& path) {
  struct stat st {};
  if (path == "-" || stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return;
  const std::string problem = input_file::CheckRegular(path, input_file::kLayerCap, "layer");
  if (!problem.empty()) throw LayerError(problem);
}

}  // namespace

Layer ParseLayer(const std::string& json, const std::string& name, const LayerOptions& options) {
  return ParseGeoJson(json.data(), json.data() + json.size(), name, options);
}

Layer ReadLayer(const std::string& path, const LayerOptions& options) {
  if (!OwnReader(path, options)) {
    CheckGdalInput(path);
    return ReadGdalLayer(path, options);
  }
  if (path == "-") {
    std::string text, error;
    if (!input_file::ReadStdin(input_file::kStdinCap, &text, &error)) throw LayerError(error);
    return ParseLayer(text, "standard input", options);
  }
  try {
    const MappedFile file(path);
    return ParseGeoJson(file.begin(), file.end(), path, options);
  } catch (const SingleFeatureError&) {
    return ReadGdalLayer(path, options);
  }
}

bool CanReadEach(const std::string& path, const LayerOptions& options) {
  return path != "-" && OwnReader(path, options);
}

Layer ReadLayerEach(const std::string& path, const LayerOptions& options, const LabelSink& sink) {
  if (!CanReadEach(path, options)) throw LayerError(path + ": cannot be read label by label");
  try {
    const MappedFile file(path);
    return ParseGeoJsonEach(file.begin(), file.end(), path, options, sink,
                            [&file](const char* at) { file.Release(at); });
  } catch (const SingleFeatureError&) {
    Layer layer = ReadGdalLayer(path, options);
    for (Label& label : layer.labels) sink(std::move(label));
    layer.labels.clear();
    return layer;
  }
}

Layer SkimLayer(const std::string& path, const LayerOptions& options, size_t* features,
                const FeatureSample* sample) {
  if (!CanReadEach(path, options)) throw LayerError(path + ": cannot be skimmed");
  const MappedFile file(path);
  return SkimGeoJson(file.begin(), file.end(), path, options, features, sample);
}

void ResolveUnits(Label& label, double scale, double dpi) {
  if (!label.plain) return;
  PlainLabel& p = *label.plain;
  p.height = InMapUnits(p.height, p.heightUnit, scale, dpi);
  p.width = InMapUnits(p.width, p.widthUnit, scale, dpi);
  p.space = InMapUnits(p.space, p.spaceUnit, scale, dpi);
  p.heightUnit = p.widthUnit = p.spaceUnit = Unit::Map;
}

void ResolveUnits(Layer& layer, double scale, double dpi) {
  for (Label& label : layer.labels) ResolveUnits(label, scale, dpi);
}
