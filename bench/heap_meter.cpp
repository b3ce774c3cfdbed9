// Replaces the global operator new and delete of the program that links this file. Each
// block carries its size in a header, so that delete knows how much is given back. The
// array, sized and nothrow forms of the standard library forward to these two.
#include "heap_meter.h"

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

namespace {

// Keeps the block after the header aligned for any type new may be asked for.
constexpr std::size_t header_size = alignof(std::max_align_t) > sizeof(std::size_t)
                                        ? alignof(std::max_align_t)
                                        : sizeof(std::size_t);

std::atomic<std::size_t> live_bytes{0};
std::atomic<std::size_t> peak_bytes{0};

void note_allocation(std::size_t size) {
    const std::size_t now = live_bytes.fetch_add(size) + size;
    std::size_t seen = peak_bytes.load();
    while (now > seen && !peak_bytes.compare_exchange_weak(seen, now)) {}
}

}  // namespace

namespace heap_meter {

std::size_t live() { return live_bytes.load(); }
std::size_t peak() { return peak_bytes.load(); }
void restart_peak() { peak_bytes.store(live_bytes.load()); }

}  // namespace heap_meter

void* operator new(std::size_t size) {
    if (size > std::numeric_limits<std::size_t>::max() - header_size) throw std::bad_alloc();
    void* block = std::malloc(size + header_size);
    if (block == nullptr) throw std::bad_alloc();
    *static_cast<std::size_t*>(block) = size;
    note_allocation(size);
    return static_cast<char*>(block) + header_size;
}

void operator delete(void* pointer) noexcept {
    if (pointer == nullptr) return;
    void* block = static_cast<char*>(pointer) - header_size;
    live_bytes.fetch_sub(*static_cast<std::size_t*>(block));
    std::free(block);
}

void operator delete(void* pointer, std::size_t) noexcept { operator delete(pointer); }
