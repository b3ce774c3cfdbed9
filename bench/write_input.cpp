// Writes a realistic TRA or DLG file of the given size from the benchmark's generators: the
// same bytes engine_bench checks, for timing whole programs on them.
//   write_input tra|dlg SIZE_MB FILE
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "inputs.h"

int main(int argc, char** argv) {
    const long size_mb = argc == 4 ? std::strtol(argv[2], nullptr, 10) : 0;
    const bool tra = argc == 4 && std::strcmp(argv[1], "tra") == 0;
    const bool dlg = argc == 4 && std::strcmp(argv[1], "dlg") == 0;
    if (!(tra || dlg) || size_mb <= 0 || size_mb > 2047) {
        std::fprintf(stderr, "usage: write_input tra|dlg SIZE_MB(1..2047) FILE\n");
        return 2;
    }
    const std::size_t size = static_cast<std::size_t>(size_mb) << 20;
    const std::string text = tra ? bench_inputs::realistic_tra(size) : bench_inputs::realistic_dlg(size);
    std::FILE* file = std::fopen(argv[3], "wb");
    const bool written = file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (file == nullptr || std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
