#include "png_writer.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>

#include <zlib.h>

namespace {

// PNG filter type 2: each byte minus the byte above it.
constexpr unsigned char kFilterUp = 2;
// Run-length matching at the lowest level: on filtered map pictures about
// as fast as the fastest deflate there is; twice as fast as plain level 1 on
// dense pages, for files a little larger on sparse ones.
constexpr int kLevel = 1;
constexpr int kStrategy = Z_RLE;
// A chunk holds about this many bytes of scanlines, at least kMinChunkRows rows.
constexpr size_t kChunkBytes = size_t{1} << 20;
constexpr int kMinChunkRows = 16;

void PutBigEndian(uint32_t value, unsigned char* out) {
  out[0] = static_cast<unsigned char>(value >> 24);
  out[1] = static_cast<unsigned char>(value >> 16);
  out[2] = static_cast<unsigned char>(value >> 8);
  out[3] = static_cast<unsigned char>(value);
}

bool WriteChunk(FILE* file, const char type[4], const unsigned char* data, size_t size) {
  unsigned char head[8];
  PutBigEndian(static_cast<uint32_t>(size), head);
  std::memcpy(head + 4, type, 4);
  uLong crc = crc32(0, head + 4, 4);
  if (size > 0) crc = crc32_z(crc, data, size);
  unsigned char tail[4];
  PutBigEndian(static_cast<uint32_t>(crc), tail);
  return std::fwrite(head, 1, 8, file) == 8 && (size == 0 || std::fwrite(data, 1, size, file) == size) &&
         std::fwrite(tail, 1, 4, file) == 4;
}

size_t ScanlineBytes(int width, bool alpha) {
  return 1 + static_cast<size_t>(width) * (alpha ? 4 : 3);
}

// Cairo keeps RGB24 pixels as native-endian 0x00RRGGBB words; a scanline is
// the filter byte, then R, G, B per pixel, each minus the byte above.
void FilterRgb(const uint32_t* row, const uint32_t* above, int width, unsigned char* out) {
  *out++ = kFilterUp;
  for (int x = 0; x < width; ++x) {
    const uint32_t p = row[x], q = above[x];
    out[0] = static_cast<unsigned char>((p >> 16) - (q >> 16));
    out[1] = static_cast<unsigned char>((p >> 8) - (q >> 8));
    out[2] = static_cast<unsigned char>(p - q);
    out += 3;
  }
}

// A premultiplied 0xAARRGGBB pixel as straight R, G, B, A in one word (R in
// the lowest byte), each colour rounded to the nearest, as PNG readers that
// premultiply again expect.
uint32_t Straight(uint32_t p) {
  const uint32_t a = p >> 24;
  if (a == 0) return 0;
  const auto channel = [&](int shift) { return ((((p >> shift) & 0xFF) * 255 + a / 2) / a) & 0xFF; };
  return channel(16) | channel(8) << 8 | channel(0) << 16 | a << 24;
}

// Cairo's ARGB32 pixels as R, G, B, A scanlines, filtered like RGB ones.
void FilterRgba(const uint32_t* row, const uint32_t* above, int width, unsigned char* out) {
  *out++ = kFilterUp;
  for (int x = 0; x < width; ++x) {
    const uint32_t p = Straight(row[x]), q = Straight(above[x]);
    for (int i = 0; i < 4; ++i) out[i] = static_cast<unsigned char>((p >> (8 * i)) - (q >> (8 * i)));
    out += 4;
  }
}

struct Deflater {
  z_stream z{};
  bool ok = false;
  Deflater() { ok = deflateInit2(&z, kLevel, Z_DEFLATED, -15, 8, kStrategy) == Z_OK; }
  ~Deflater() {
    if (ok) deflateEnd(&z);
  }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  // The scanlines as raw deflate, ended on a byte boundary (a sync flush),
  // or as the end of the whole stream.
  bool Pack(const std::vector<unsigned char>& in, bool last, std::string* out) {
    if (!ok || deflateReset(&z) != Z_OK) return false;
    out->resize(deflateBound(&z, in.size()) + 16);
    z.next_in = const_cast<unsigned char*>(in.data());
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = reinterpret_cast<unsigned char*>(&(*out)[0]);
    z.avail_out = static_cast<uInt>(out->size());
    const int status = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
    if (status != (last ? Z_STREAM_END : Z_OK) || z.avail_in != 0) return false;
    out->resize(out->size() - z.avail_out);
    return true;
  }
};

}  // namespace

struct PngRowWriter::Chunk {
  std::shared_ptr<const std::string> packed;
  uint32_t adler = 1;
  size_t length = 0;  // of the scanlines
};

PngRowWriter::PngRowWriter(FILE* file, std::string path, int width, int height, bool alpha)
    : file_(file), path_(std::move(path)), width_(width), height_(height), alpha_(alpha),
      above_(static_cast<size_t>(width), 0) {
  chunkRows_ = std::max(kMinChunkRows, static_cast<int>(kChunkBytes / ScanlineBytes(width, alpha)));
}

PngRowWriter::~PngRowWriter() {
  if (file_) std::fclose(file_);
}

std::unique_ptr<PngRowWriter> PngRowWriter::Open(const std::string& path, int width, int height,
                                                 bool alpha, std::string* error) {
  if (width < 1 || height < 1) {
    *error = "the picture needs a size of at least 1 x 1";
    return nullptr;
  }
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    *error = path + ": could not be written";
    return nullptr;
  }
  std::unique_ptr<PngRowWriter> png(new PngRowWriter(file, path, width, height, alpha));
  unsigned char header[13] = {};
  PutBigEndian(static_cast<uint32_t>(width), header);
  PutBigEndian(static_cast<uint32_t>(height), header + 4);
  header[8] = 8;  // bits per sample
  header[9] = alpha ? 6 : 2;  // colour type: RGBA or RGB
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  // The zlib stream's head: deflate, a 32 KB window, the fastest level.
  static const unsigned char kZlibHead[2] = {0x78, 0x01};
  if (std::fwrite(kSignature, 1, 8, file) != 8 || !WriteChunk(file, "IHDR", header, sizeof header) ||
      !WriteChunk(file, "IDAT", kZlibHead, 2)) {
    png->Failed(error);
    return nullptr;
  }
  return png;
}

bool PngRowWriter::Failed(std::string* error) {
  *error = path_ + ": could not be written";
  return false;
}

// Filters, packs and writes the chunks of rows [next_, to) on up to
// `threads` threads. Each chunk is written, and freed, as soon as those
// before it are. A chunk whose every row repeats the one above filters to
// zeros alone; all such chunks but the last pack alike, so one is reused.
bool PngRowWriter::WriteChunks(const RowAt& rowAt, int to, int threads) {
  const int first = next_;
  const int count = (to - first + chunkRows_ - 1) / chunkRows_;
  const size_t rowBytes = static_cast<size_t>(width_) * 4, line = ScanlineBytes(width_, alpha_);
  const auto filter = alpha_ ? FilterRgba : FilterRgb;
  auto row = [&](int y) {
    return y < first ? above_.data() : reinterpret_cast<const uint32_t*>(rowAt(y));
  };
  std::vector<Chunk> chunks(static_cast<size_t>(count));
  std::atomic<int> nextChunk{0};
  std::mutex writing;
  int written = 0;
  bool ok = true;
  auto work = [&] {
    Deflater deflater;
    std::vector<unsigned char> lines;
    for (int c; (c = nextChunk.fetch_add(1)) < count;) {
      const int from = first + c * chunkRows_, end = std::min(to, from + chunkRows_);
      const bool last = end == height_;
      bool repeats = !last && end - from == chunkRows_;
      for (int y = from; repeats && y < end; ++y)
        repeats = row(y) == row(y - 1) || std::memcmp(row(y), row(y - 1), rowBytes) == 0;
      Chunk chunk{flatChunk_, flatAdler_, line * static_cast<size_t>(end - from)};
      bool packed = true;
      if (!repeats) {
        lines.resize(chunk.length);
        for (int y = from; y < end; ++y)
          filter(row(y), row(y - 1), width_, lines.data() + line * static_cast<size_t>(y - from));
        auto bytes = std::make_shared<std::string>();
        packed = deflater.Pack(lines, last, bytes.get());
        chunk.packed = bytes;
        chunk.adler = static_cast<uint32_t>(adler32_z(1, lines.data(), lines.size()));
      }
      std::lock_guard<std::mutex> lock(writing);
      ok = ok && packed;
      chunks[static_cast<size_t>(c)] = std::move(chunk);
      for (; written < count && chunks[static_cast<size_t>(written)].packed; ++written) {
        ok = ok && Append(chunks[static_cast<size_t>(written)]);
        chunks[static_cast<size_t>(written)].packed.reset();
      }
    }
  };
  if (!PackFlatChunk()) return false;  // first, so every thread can take it
  std::vector<std::thread> helpers;
  for (int t = 1; t < std::min(threads, count); ++t) helpers.emplace_back(work);
  work();
  for (std::thread& t : helpers) t.join();
  return ok && written == count;
}

bool PngRowWriter::PackFlatChunk() {
  if (flatChunk_) return true;
  const size_t line = ScanlineBytes(width_, alpha_);
  std::vector<unsigned char> zeros(line * static_cast<size_t>(chunkRows_), 0);
  for (size_t at = 0; at < zeros.size(); at += line) zeros[at] = kFilterUp;
  auto packed = std::make_shared<std::string>();
  Deflater deflater;
  if (!deflater.Pack(zeros, false, packed.get())) return false;
  flatChunk_ = packed;
  flatAdler_ = static_cast<uint32_t>(adler32_z(1, zeros.data(), zeros.size()));
  return true;
}

bool PngRowWriter::Append(const Chunk& chunk) {
  const std::string& bytes = *chunk.packed;
  adler_ = static_cast<uint32_t>(adler32_combine(adler_, chunk.adler, static_cast<z_off_t>(chunk.length)));
  return WriteChunk(file_, "IDAT", reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

bool PngRowWriter::WriteRows(const unsigned char* pixels, size_t stride, int to, int threads,
                             std::string* error) {
  const int first = next_;
  return WriteRows(
      [&](int y) { return pixels + stride * static_cast<size_t>(y - first); }, to, threads, error);
}

bool PngRowWriter::WriteRows(const RowAt& rowAt, int to, int threads, std::string* error) {
  if (to <= next_ || to > height_ || (to != height_ && to % chunkRows_ != 0)) {
    *error = path_ + ": rows written out of turn";
    return false;
  }
  if (!WriteChunks(rowAt, to, threads)) return Failed(error);
  next_ = to;
  std::memcpy(above_.data(), rowAt(to - 1), above_.size() * 4);
  return true;
}

bool PngRowWriter::WriteFlatRows(uint32_t pixel, int to, int threads, std::string* error) {
  const std::vector<uint32_t> row(static_cast<size_t>(width_), pixel);
  return WriteRows(reinterpret_cast<const unsigned char*>(row.data()), 0, to, threads, error);
}

bool PngRowWriter::Close(std::string* error) {
  if (next_ != height_) {
    *error = path_ + ": the picture is missing rows";
    return false;
  }
  unsigned char adler[4];
  PutBigEndian(adler_, adler);
  const bool ok = WriteChunk(file_, "IDAT", adler, 4) && WriteChunk(file_, "IEND", nullptr, 0);
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return ok && closed ? true : Failed(error);
}

bool WritePng(cairo_surface_t* image, const std::string& path, std::string* error) {
  const cairo_format_t format = cairo_image_surface_get_format(image);
  if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32) {
    const cairo_status_t status = cairo_surface_write_to_png(image, path.c_str());
    if (status == CAIRO_STATUS_SUCCESS) return true;
    *error = path + ": " + cairo_status_to_string(status);
    return false;
  }
  cairo_surface_flush(image);
  const int height = cairo_image_surface_get_height(image);
  std::unique_ptr<PngRowWriter> png = PngRowWriter::Open(
      path, cairo_image_surface_get_width(image), height, format == CAIRO_FORMAT_ARGB32, error);
  return png &&
         png->WriteRows(cairo_image_surface_get_data(image),
                        static_cast<size_t>(cairo_image_surface_get_stride(image)), height, 1, error) &&
         png->Close(error);
}
