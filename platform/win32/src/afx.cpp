// The framework's map from device-context handles to device-context objects.
#include <inkline/afx.h>

#include <memory>
#include <mutex>
#include <unordered_map>

CDC* CDC::FromHandle(HDC dc) {
  if (!dc) return nullptr;
  static auto* mutex = new std::mutex();
  static auto* objects = new std::unordered_map<HDC, std::unique_ptr<CDC>>();
  std::lock_guard<std::mutex> hold(*mutex);
  std::unique_ptr<CDC>& object = (*objects)[dc];
  if (!object) {
    object = std::make_unique<CDC>(dc);
  }
  return object.get();
}
