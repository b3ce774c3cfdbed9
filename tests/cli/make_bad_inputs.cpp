// Writes the bad inputs of the brindle-check runs into a fresh folder: binary files, zero
// bytes, an empty file, a folder with a checked extension, awkward names, a long path and a
// FIFO. Made at test time so that no binary file is kept in the repository.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

namespace {

void put(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

// The same bytes on every run and every platform: mt19937's sequence is fixed by the standard.
std::string random_bytes(std::size_t count) {
    std::mt19937 generator(20261207);
    std::string bytes;
    for (std::size_t i = 0; i < count; ++i) bytes += static_cast<char>(generator() & 0xFF);
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_bad_inputs FOLDER\n";
        return 2;
    }
    try {
        const fs::path root(argv[1]);
        fs::remove_all(root);
        fs::create_directories(root / "names");
        fs::create_directories(root / "folder.tra");

        using namespace std::string_literals;
        put(root / "random.tra", random_bytes(4096));
        put(root / "png.dlg", "\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x10"s);
        put(root / "zeros.tra", std::string(1000, '\0'));
        put(root / "zero-after-clean-text.tra", "@1 = ~a~\n\0@2 = \"b\"\n"s);
        put(root / "zero-in-open-text.dlg", "{1}{a\0}\n"s);
        put(root / "conflict-before-zero.tra", "@1 = \"a\"\0\n"s);
        put(root / "empty.tra", "");

        const std::string fault = "@1 = \"a\"\n";
        put(root / "names" / "with space.tra", fault);
        put(root / "names" / "caf\xC3\xA9.tra", fault);  // UTF-8
        put(root / "names" / "lat\xE9.tra", fault);      // a Latin-1 byte, not UTF-8

        // 259 characters: 200 for the folder, 1 for the separator, 58 for the name.
        fs::create_directories(root / std::string(200, 'd'));
        put(root / std::string(200, 'd') / (std::string(54, 'n') + ".tra"), fault);

        if (mkfifo((root / "pipe.tra").c_str(), 0600) != 0) throw std::runtime_error("cannot make pipe.tra");
    } catch (const std::exception& e) {
        std::cerr << "make_bad_inputs: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
