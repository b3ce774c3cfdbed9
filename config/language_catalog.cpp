#include "language_catalog.h"

#include "code_page.h"
#include "kpstring.h"
#include "settings_tree.h"
#include "utf8.h"

#include <charconv>
#include <string_view>
#include <utility>

namespace {

// The node after `node` in a walk of all nodes below `top`, children first; null at the end.
// A loop rather than recursion, since files may nest blocks deeply.
const SettingsNode* following(const SettingsNode* node, const SettingsNode* top) {
    if (node->first_child() != nullptr) return node->first_child();
    while (node != top && node->next() == nullptr) node = node->parent();
    return node != top ? node->next() : nullptr;
}

bool texts_are_utf8(const SettingsTree& tree) {
    const SettingsNode* top = tree.find("");
    for (const SettingsNode* node = following(top, top); node != nullptr; node = following(node, top)) {
        if (node->kind() == SettingsNode::Value && node->value() && !is_valid_utf8(*node->value())) {
            return false;
        }
    }
    return true;
}

// The number `text` holds, blanks around it allowed; 0 when it holds none.
int code_page_number(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return 0;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size() ? number : 0;
}

// Files older than the "language" block were written either in UTF-8 or in Windows-1252.
int code_page_of(const SettingsTree& tree) {
    const int named = code_page_number(tree.get_string("language.codepage"));
    if (is_known_code_page(named)) return named;
    return texts_are_utf8(tree) ? utf8_code_page : western_code_page;
}

}  // namespace

LanguageCatalog::LanguageCatalog(std::string directory)
    : directory_(std::move(directory)), code_page_(utf8_code_page) {}

LanguageCatalog::~LanguageCatalog() = default;

bool LanguageCatalog::load(const char* language) {
    kpstring file_name(32);
    file_name += directory_.c_str();
    file_name += "/";
    file_name += language;
    file_name += ".ini";
    auto tree = std::make_unique<SettingsTree>(file_name.c_str());
    if (!tree->is_loaded()) return false;
    code_page_ = code_page_of(*tree);
    tree_ = std::move(tree);
    return true;
}

const char* LanguageCatalog::lookup(const char* key) const {
    if (!tree_) return "";
    return tree_->get_string(key);
}

std::string LanguageCatalog::lookup_utf8(const char* key) const {
    return to_utf8(lookup(key), code_page_);
}
