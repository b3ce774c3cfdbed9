// The settings-tree reader on any file: it reads without fault, and what it read survives
// a save: reading the saved text back gives the same tree, and saving that tree again
// gives the same text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fail.h"
#include "scratch_file.h"
#include "settings_tree.h"
#include "tree_compare.h"

namespace {

// A tree is saved only when modified: setting this value marks it.
constexpr const char* marker_key = "fuzz_saved_marker";

// Sets the marker and saves; false when the input made the marker name a block, which no
// set can change.
bool mark_and_save(SettingsTree& tree) {
    tree.set(marker_key, "1");
    if (!tree.is_modified()) return false;
    require(tree.save() && !tree.is_modified(), "save() failed");
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile file(".ini");
    file.write(std::string_view(reinterpret_cast<const char*>(data), size));

    SettingsTree read(file.path());
    require(read.is_loaded(), "an existing file was not loaded");
    if (!mark_and_save(read)) return 0;
    const std::string saved = file.read();

    SettingsTree read_back(file.path());
    require(read_back.is_loaded(), "the saved file was not loaded");
    require_same_tree(*read.find(""), *read_back.find(""));
    require(mark_and_save(read_back), "the marker became a block after a save");
    require(file.read() == saved, "saving the tree read back gives another text");
    return 0;
}
