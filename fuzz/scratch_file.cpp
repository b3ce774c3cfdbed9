#include "scratch_file.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include <unistd.h>

#include "fail.h"

ScratchFile::ScratchFile(std::string_view suffix) {
    const char* folder = std::getenv("TMPDIR");
    std::string pattern = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") +
                          "/brindle-fuzz-XXXXXX" + std::string(suffix);
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int descriptor = mkstemps(name.data(), static_cast<int>(suffix.size()));
    require(descriptor >= 0, "cannot create a scratch file");
    close(descriptor);
    path_ = name.data();
}

ScratchFile::~ScratchFile() { std::remove(path_.c_str()); }

void ScratchFile::write(std::string_view bytes) const {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    require(static_cast<bool>(out), "cannot write the scratch file");
}

std::string ScratchFile::read() const {
    std::ifstream in(path_, std::ios::binary);
    require(static_cast<bool>(in), "cannot read the scratch file");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
