#include "language_catalog.h"

#include "kpstring.h"
#include "settings_tree.h"

#include <utility>

LanguageCatalog::LanguageCatalog(std::string directory) : directory_(std::move(directory)) {}

LanguageCatalog::~LanguageCatalog() = default;

bool LanguageCatalog::load(const char* language) {
    kpstring file_name(32);
    file_name += directory_.c_str();
    file_name += "/";
    file_name += language;
    file_name += ".ini";
    auto tree = std::make_unique<SettingsTree>(file_name.c_str());
    if (!tree->is_loaded()) return false;
    tree_ = std::move(tree);
    return true;
}

const char* LanguageCatalog::lookup(const char* key) const {
    if (!tree_) return "";
    return tree_->get_string(key);
}
