// Loads the GDAL reader module on first use and hands it the layer to read.
#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "layer_gdal.h"

namespace {

using ReadFn = void (*)(const std::string*, const LayerOptions*, Layer*);

// The folder of the running program, with its trailing slash; empty when
// unknown.
std::string ProgramFolder() {
  char buf[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "";
  const std::string exe(buf, static_cast<size_t>(n));
  const size_t slash = exe.rfind('/');
  return slash == std::string::npos ? "" : exe.substr(0, slash + 1);
}

// Installed, the module sits in the library folder beside the program's;
// in a build tree, where the build put it.
struct Reader {
  ReadFn read = nullptr;
  std::string problem;

  Reader() {
    const std::string candidates[] = {ProgramFolder() + INKLINE_GDAL_READER_INSTALLED,
                                      INKLINE_GDAL_READER_BUILT};
    for (const std::string& file : candidates) {
      if (access(file.c_str(), R_OK) != 0) continue;
      // Never closed: GDAL keeps global state until the process ends.
      void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
      if (!module) {
        problem = dlerror();
        return;
      }
      read = reinterpret_cast<ReadFn>(dlsym(module, "InklineReadGdalLayer"));
      if (!read) problem = file + ": has no layer reader";
      return;
    }
    problem = std::string("not found (") + INKLINE_GDAL_READER_INSTALLED + " beside the program)";
  }
};

const Reader& TheReader() {
  static const Reader reader;
  return reader;
}

}  // namespace

Layer ReadGdalLayer(const std::string& path, const LayerOptions& options) {
  const Reader& reader = TheReader();
  if (!reader.read)
    throw LayerError(path + ": reading it needs the GDAL layer reader, which cannot be loaded: " +
                     reader.problem);
  Layer layer;
  reader.read(&path, &options, &layer);
  return layer;
}
