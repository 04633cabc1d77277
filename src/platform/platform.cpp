#include "platform/platform.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace orvix {
namespace {
std::atomic<Platform*> g_current{nullptr};
std::atomic<std::uint64_t> g_generation{0};
}

void Platform::MissingService(const char* name) {
  std::fprintf(stderr, "orvix: this platform offers no %s service\n", name);
  std::abort();
}

Platform& CurrentPlatform() {
  Platform* platform = g_current.load();
  if (platform == nullptr) {
    std::fputs("orvix: no platform has been set\n", stderr);
    std::abort();
  }
  return *platform;
}

Platform* SetCurrentPlatform(Platform* platform) {
  ++g_generation;
  return g_current.exchange(platform);
}

std::uint64_t PlatformGeneration() { return g_generation.load(); }

}  // namespace orvix
