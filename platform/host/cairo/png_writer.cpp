#include "png_writer.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <libdeflate.h>

namespace {

// PNG filter type 2: each byte minus the byte above it.
constexpr unsigned char kFilterUp = 2;
constexpr int kBytesPerPixel = 3;
constexpr int kLevel = 1;

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
struct CompressorFree {
  void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

void PutBigEndian(uint32_t value, unsigned char* out) {
  out[0] = static_cast<unsigned char>(value >> 24);
  out[1] = static_cast<unsigned char>(value >> 16);
  out[2] = static_cast<unsigned char>(value >> 8);
  out[3] = static_cast<unsigned char>(value);
}

bool WriteChunk(FILE* file, const char type[4], const unsigned char* data, size_t size) {
  unsigned char head[8];
  PutBigEndian(static_cast<uint32_t>(size), head);
  for (int i = 0; i < 4; ++i) head[4 + i] = static_cast<unsigned char>(type[i]);
  uint32_t crc = libdeflate_crc32(0, head + 4, 4);
  if (size > 0) crc = libdeflate_crc32(crc, data, size);  // a null buffer would reset it
  unsigned char tail[4];
  PutBigEndian(crc, tail);
  return std::fwrite(head, 1, 8, file) == 8 && (size == 0 || std::fwrite(data, 1, size, file) == size) &&
         std::fwrite(tail, 1, 4, file) == 4;
}

// A chunk holds at most 2^31 - 1 bytes; the compressed stream may take several.
bool WriteImageData(FILE* file, const unsigned char* data, size_t size) {
  constexpr size_t kMaxChunk = size_t{1} << 30;
  for (size_t at = 0; at < size; at += kMaxChunk)
    if (!WriteChunk(file, "IDAT", data + at, std::min(kMaxChunk, size - at))) return false;
  return true;
}

// Turns the surface's pixels, in place, into PNG scanlines: a filter byte,
// then R, G, B per pixel, each minus the same byte of the row above. Cairo
// keeps RGB24 pixels as native-endian 0x00RRGGBB words; a scanline (1 + 3w
// bytes) is shorter than a surface row (4w bytes or more), so row y lands at
// or before its own pixels and only rows already read are overwritten.
// Returns the length of the scanlines.
size_t FilterInPlace(unsigned char* data, int width, int height, int stride) {
  const size_t line = 1 + static_cast<size_t>(width) * kBytesPerPixel;
  std::vector<uint32_t> above(static_cast<size_t>(width), 0), current(static_cast<size_t>(width));
  for (int y = 0; y < height; ++y) {
    std::memcpy(current.data(), data + static_cast<size_t>(y) * stride, current.size() * 4);
    unsigned char* out = data + line * static_cast<size_t>(y);
    *out++ = kFilterUp;
    for (int x = 0; x < width; ++x) {
      const uint32_t p = current[x], q = above[x];
      out[0] = static_cast<unsigned char>((p >> 16) - (q >> 16));
      out[1] = static_cast<unsigned char>((p >> 8) - (q >> 8));
      out[2] = static_cast<unsigned char>(p - q);
      out += kBytesPerPixel;
    }
    current.swap(above);
  }
  return line * static_cast<size_t>(height);
}

}  // namespace

bool WritePng(cairo_surface_t* image, const std::string& path, std::string* error) {
  if (cairo_image_surface_get_format(image) != CAIRO_FORMAT_RGB24) {
    const cairo_status_t status = cairo_surface_write_to_png(image, path.c_str());
    if (status == CAIRO_STATUS_SUCCESS) return true;
    *error = path + ": " + cairo_status_to_string(status);
    return false;
  }
  cairo_surface_flush(image);
  const int width = cairo_image_surface_get_width(image);
  const int height = cairo_image_surface_get_height(image);
  // The picture is done with: its pixels become the scanlines, saving a copy.
  unsigned char* rows = cairo_image_surface_get_data(image);
  const size_t rowBytes = FilterInPlace(rows, width, height, cairo_image_surface_get_stride(image));

  std::unique_ptr<libdeflate_compressor, CompressorFree> compressor(
      libdeflate_alloc_compressor(kLevel));
  if (!compressor) {
    *error = path + ": out of memory";
    return false;
  }
  // Untouched pages of the bound cost no memory.
  const size_t bound = libdeflate_zlib_compress_bound(compressor.get(), rowBytes);
  std::unique_ptr<unsigned char[]> packed(new unsigned char[bound]);
  const size_t packedSize =
      libdeflate_zlib_compress(compressor.get(), rows, rowBytes, packed.get(), bound);

  unsigned char header[13] = {};
  PutBigEndian(static_cast<uint32_t>(width), header);
  PutBigEndian(static_cast<uint32_t>(height), header + 4);
  header[8] = 8;  // bits per sample
  header[9] = 2;  // colour type: RGB
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

  std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  bool ok = file && packedSize > 0 && std::fwrite(kSignature, 1, 8, file.get()) == 8 &&
            WriteChunk(file.get(), "IHDR", header, sizeof header) &&
            WriteImageData(file.get(), packed.get(), packedSize) &&
            WriteChunk(file.get(), "IEND", nullptr, 0);
  if (file) ok = std::fclose(file.release()) == 0 && ok;
  if (!ok) *error = path + ": could not be written";
  return ok;
}
