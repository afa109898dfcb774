// The recording device's device context on Windows: an enhanced-metafile DC.
// The library draws into it with real GDI (fonts, text, paths, PolyDraw),
// and the metafile's records are read back as the same trace lines the
// portable layer's sink writes: "GdiText" for text that drew (not text
// recorded into a path) and "GdiPolyDraw" for strokes.
#ifndef INKLINE_HOST_WIN32_EMF_RECORDER_H
#define INKLINE_HOST_WIN32_EMF_RECORDER_H

#include <cstddef>
#include <utility>
#include <vector>

#include <inkline/afx.h>
#include <inkline/host/recording_device.h>

class EmfRecorder {
 public:
  // One GDI call read from the metafile, and where it goes among the
  // device's calls: before the call of that index.
  using Placed = std::pair<size_t, RecordingDevice::Call>;

  // firstCall: the index the device's next call will have.
  explicit EmfRecorder(size_t firstCall);
  ~EmfRecorder();
  EmfRecorder(const EmfRecorder&) = delete;
  EmfRecorder& operator=(const EmfRecorder&) = delete;

  HDC dc() const { return dc_; }
  // The framework's object for dc(), which follows it when a new metafile
  // starts, so a host's pointer to it stays good.
  CDC* frameworkDC() { return &frameworkDC_; }

  // Notes in the metafile that the device makes its call number index now.
  void Mark(size_t index);
  // Ends the metafile, returns its GDI calls in order and starts a new one
  // (dc() changes; frameworkDC() stays and holds the new handle).
  // firstCall: the index the device's next call will have.
  std::vector<Placed> Take(size_t firstCall);

 private:
  void Start(size_t firstCall);

  HDC dc_ = nullptr;
  size_t firstCall_ = 0;
  CDC frameworkDC_;
};

#endif  // INKLINE_HOST_WIN32_EMF_RECORDER_H
