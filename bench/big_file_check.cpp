// Writes a realistic TRA file of the given size in MB (256 unless told) and checks it once,
// printing the result, the time, and the heap's high-water mark during the check. It shows
// that a large file fits in the address space of the 32-bit Windows program.
//   big_file_check [size_mb] [path]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "heap_meter.h"
#include "inputs.h"
#include "tra_checker.h"

namespace {

constexpr std::size_t mb = 1u << 20;

// Written in pieces of about a megabyte, so that making the file needs no memory of its size.
bool write_tra(const char* path, std::size_t size) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    bench_inputs::TraWriter writer;
    std::string piece;
    std::string entry;
    std::size_t written = 0;
    bool ok = true;
    for (;;) {
        entry.clear();
        writer.append_entry(entry);
        const bool full = written + piece.size() + entry.size() > size;
        if (full || piece.size() >= mb) {
            ok = ok && std::fwrite(piece.data(), 1, piece.size(), file) == piece.size();
            written += piece.size();
            piece.clear();
        }
        if (full) break;
        piece += entry;
    }
    return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    const long size_mb = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 256;
    const std::string path = argc > 2 ? argv[2] : "big_file_check.tra";
    if (size_mb <= 0 || size_mb > 2047) {
        std::fprintf(stderr, "usage: big_file_check [size_mb 1..2047] [path]\n");
        return 2;
    }
    if (!write_tra(path.c_str(), static_cast<std::size_t>(size_mb) * mb)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }

    TraChecker checker(nullptr);
    const std::size_t before = heap_meter::live();
    heap_meter::restart_peak();
    const auto started = std::chrono::steady_clock::now();
    const CheckResult result = checker.check(path.c_str());
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    const double peak_mb = static_cast<double>(heap_meter::peak() - before) / mb;
    std::remove(path.c_str());

    const char* verdict = result.is_unreadable() ? "unreadable" : result.is_clean() ? "clean" : "conflict";
    std::printf("%s: %ld MB checked in %.2f s (%.0f MB/s), result %s, heap peak %.0f MB (%.2f x size)\n",
                sizeof(void*) == 4 ? "32-bit" : "64-bit", size_mb, took.count(),
                static_cast<double>(size_mb) / took.count(), verdict, peak_mb,
                peak_mb / static_cast<double>(size_mb));
    return result.is_clean() ? 0 : 1;
}
