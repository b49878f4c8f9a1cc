#include "bench/MemoryProbe.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <sstream>

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || \
    __has_feature(thread_sanitizer)
#define LINTARO_BENCH_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define LINTARO_BENCH_SANITIZED 1
#endif

#if defined(__GLIBC__) && !defined(LINTARO_BENCH_SANITIZED)
#define LINTARO_BENCH_COUNT_MALLOC 1
#include <malloc.h>
#endif

namespace {

// Constant-initialised: usable by allocations made before main().
std::atomic<long long> gLive{0};
std::atomic<long long> gPeak{0};

[[maybe_unused]] void counted(std::size_t bytes) {
  const auto n = static_cast<long long>(bytes);
  const long long live = gLive.fetch_add(n, std::memory_order_relaxed) + n;
  long long peak = gPeak.load(std::memory_order_relaxed);
  while (live > peak && !gPeak.compare_exchange_weak(peak, live, std::memory_order_relaxed)) {
  }
}

[[maybe_unused]] void released(std::size_t bytes) {
  gLive.fetch_sub(static_cast<long long>(bytes), std::memory_order_relaxed);
}

}  // namespace

#ifdef LINTARO_BENCH_COUNT_MALLOC

// The C library's allocator is replaced, as glibc allows, by one that counts
// the usable size of every block and hands the work to glibc's own functions.
// Every allocation of the process goes through it: operator new and its
// array, nothrow and aligned forms (libstdc++ calls malloc and aligned_alloc),
// and the C library's own buffers (stdio). Blocks keep glibc's layout, so
// malloc_usable_size (not replaced) stays valid.
extern "C" {

void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);

void* malloc(std::size_t size) noexcept {
  void* block = __libc_malloc(size);
  if (block != nullptr) counted(malloc_usable_size(block));
  return block;
}

void* calloc(std::size_t count, std::size_t size) noexcept {
  void* block = __libc_calloc(count, size);
  if (block != nullptr) counted(malloc_usable_size(block));
  return block;
}

void* realloc(void* block, std::size_t size) noexcept {
  const std::size_t before = block != nullptr ? malloc_usable_size(block) : 0;
  void* moved = __libc_realloc(block, size);
  if (moved != nullptr) {
    counted(malloc_usable_size(moved));  // both blocks exist while the bytes move
    released(before);
  } else if (block != nullptr && size == 0) {
    released(before);  // realloc(p, 0) frees p
  }
  return moved;
}

void free(void* block) noexcept {
  if (block == nullptr) return;
  released(malloc_usable_size(block));
  __libc_free(block);
}

void* memalign(std::size_t alignment, std::size_t size) noexcept {
  void* block = __libc_memalign(alignment, size);
  if (block != nullptr) counted(malloc_usable_size(block));
  return block;
}

void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
  return memalign(alignment, size);
}

int posix_memalign(void** out, std::size_t alignment, std::size_t size) noexcept {
  if (alignment == 0 || alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0)
    return EINVAL;
  void* block = memalign(alignment, size);
  if (block == nullptr) return ENOMEM;
  *out = block;
  return 0;
}

void* valloc(std::size_t size) noexcept {
  return memalign(static_cast<std::size_t>(sysconf(_SC_PAGESIZE)), size);
}

void* pvalloc(std::size_t size) noexcept {
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  return memalign(page, (size + page - 1) / page * page);
}

}  // extern "C"

#endif  // LINTARO_BENCH_COUNT_MALLOC

namespace lintaro::bench {

namespace {

// Keeps the compiler from removing an allocation that is freed unused.
void* volatile gSink = nullptr;

// The status line "<key>:   <n> kB" of /proc/self/status.
long statusKiB(const char* key) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::size_t length = std::strlen(key);
  while (std::getline(in, line)) {
    if (line.compare(0, length, key) == 0 && line.size() > length && line[length] == ':') {
      return std::strtol(line.c_str() + length + 1, nullptr, 10);
    }
  }
  return -1;
}

}  // namespace

const char* heapCounterKind() {
#ifdef LINTARO_BENCH_COUNT_MALLOC
  return "malloc";
#else
  return "none";
#endif
}

bool heapCounted() {
#ifdef LINTARO_BENCH_COUNT_MALLOC
  return true;
#else
  return false;
#endif
}

long long heapInUse() {
  return gLive.load(std::memory_order_relaxed);
}

void resetHeapPeak() {
  gPeak.store(gLive.load(std::memory_order_relaxed), std::memory_order_relaxed);
}

long long heapPeak() {
  return gPeak.load(std::memory_order_relaxed);
}

std::string heapCounterSelfTest() {
  if (!heapCounted()) return "heap not counted";
  std::ostringstream missed;
  // Runs `allocate`, which returns the bytes it asked for, then `release`;
  // the peak must have grown by at least that and the use come back.
  const auto probe = [&](const char* what, auto allocate, auto release) {
    const long long before = heapInUse();
    resetHeapPeak();
    const long long asked = allocate();
    const long long grown = heapPeak() - before;
    release();
    if (grown < asked) missed << what << " not counted (" << grown << " < " << asked << "); ";
    if (heapInUse() != before) missed << what << " not released; ";
  };
  struct alignas(64) Wide {
    char bytes[64];
  };

  probe(
      "new",
      [] {
        gSink = new char(1);
        return 1LL;
      },
      [] { delete static_cast<char*>(gSink); });
  probe(
      "new[]",
      [] {
        gSink = new char[5000];
        return 5000LL;
      },
      [] { delete[] static_cast<char*>(gSink); });
  probe(
      "nothrow new[]",
      [] {
        gSink = new (std::nothrow) char[3000];
        return 3000LL;
      },
      [] { delete[] static_cast<char*>(gSink); });
  probe(
      "aligned new",
      [] {
        gSink = new Wide;
        return static_cast<long long>(sizeof(Wide));
      },
      [] { delete static_cast<Wide*>(gSink); });
  probe(
      "aligned new[]",
      [] {
        gSink = new Wide[100];
        return static_cast<long long>(100 * sizeof(Wide));
      },
      [] { delete[] static_cast<Wide*>(gSink); });
  probe(
      "malloc",
      [] {
        gSink = std::malloc(7000);
        return 7000LL;
      },
      [] { std::free(gSink); });
  probe(
      "calloc",
      [] {
        gSink = std::calloc(100, 30);
        return 3000LL;
      },
      [] { std::free(gSink); });
  probe(
      "realloc",
      [] {
        gSink = std::malloc(16);
        gSink = std::realloc(gSink, 200000);
        return 200000LL;
      },
      [] { std::free(gSink); });
  probe(
      "aligned_alloc",
      [] {
        gSink = std::aligned_alloc(256, 4096);
        return 4096LL;
      },
      [] { std::free(gSink); });
  probe(
      "posix_memalign",
      [] {
        void* block = nullptr;
        if (posix_memalign(&block, 128, 1000) != 0) return -1LL;
        gSink = block;
        return 1000LL;
      },
      [] { std::free(gSink); });
  // A stdio buffer (glibc gives a stream a buffer of the file system's block
  // size on its first write).
  probe(
      "stdio buffer",
      [] {
        std::FILE* file = std::tmpfile();
        gSink = file;
        if (file == nullptr) return -1LL;
        std::fputc('x', file);
        return 1024LL;
      },
      [] {
        if (gSink != nullptr) std::fclose(static_cast<std::FILE*>(gSink));
      });
  return missed.str();
}

bool resetPeakRss() {
  std::FILE* refs = std::fopen("/proc/self/clear_refs", "w");
  if (refs == nullptr) return false;
  const bool written = std::fputs("5", refs) >= 0;
  return std::fclose(refs) == 0 && written;
}

long peakRssKiB() {
  return statusKiB("VmHWM");
}

long currentRssKiB() {
  return statusKiB("VmRSS");
}

}  // namespace lintaro::bench
