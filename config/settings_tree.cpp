#include "settings_tree.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

// Longest name, value, comment text or base path the reader takes in one piece.
constexpr std::size_t max_text = 255;
// Indentation stops growing at this depth: the reader skips it anyway, and a file nested
// thousands of levels deep would otherwise grow with the square of its depth when saved.
constexpr int max_indent_depth = 32;

// C streams report failures by their results and never throw, so loading in the constructor
// and saving in the destructor stay quiet.
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The whole content of `file_name`; none when it cannot be opened or read.
std::optional<std::string> read_file(const std::string& file_name) {
    File file(std::fopen(file_name.c_str(), "rb"));
    if (!file) return std::nullopt;
    std::string data;
    std::array<char, 16384> chunk;
    std::size_t count = 0;
    while ((count = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0) {
        data.append(chunk.data(), count);
    }
    if (std::ferror(file.get()) != 0) return std::nullopt;
    return data;
}

// Writes all of `data` to the file `file_name`; false on any failure, the close included.
// A file that could not be written whole is removed again.
bool write_file(const std::string& file_name, const std::string& data) {
    File file(std::fopen(file_name.c_str(), "wb"));
    if (!file) return false;
    const bool written = std::fwrite(data.data(), 1, data.size(), file.get()) == data.size();
    const bool closed = std::fclose(file.release()) == 0;
    if (written && closed) return true;
    std::remove(file_name.c_str());
    return false;
}

// Whether saving may replace what lies at `file_name`: nothing, or a regular file with a write
// permission. The permissions are looked at rather than left to the write, because a process
// with administrator rights writes and renames over a read-only file, and a user who made the
// settings read-only wants them left alone. On Windows the read-only attribute shows as
// permissions without write bits.
bool may_replace(const std::string& file_name) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(file_name, error);
    if (status.type() == fs::file_type::not_found) return true;
    if (error || !fs::is_regular_file(status)) return false;
    constexpr fs::perms write_bits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (status.permissions() & write_bits) != fs::perms::none;
}

// Every lookup of every tree answers through this one area. It starts at 1,024 bytes and grows
// for the longer values that `set` can store, so no text is ever cut.
std::string& result_area() {
    static std::string area = [] {
        std::string text;
        text.reserve(1024);
        return text;
    }();
    return area;
}

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool is_line_end(char c) {
    return c == '\r' || c == '\n';
}

bool ends_name(char c) {
    return c == ' ' || c == '\r' || c == '\n' || c == '=' || c == '~';
}

enum class TokenKind { Name, Comment, Open, Close, Assign, Base };

struct Token {
    TokenKind kind;
    std::string name;
};

// Cuts the bytes of a settings file into tokens; the byte that ends a name or a run of
// blanks is left for the next token.
class Reader {
public:
    explicit Reader(std::string_view data) : data_(data) {}

    // None at the end of the file; a name that runs into the end of the file is dropped.
    std::optional<Token> read_token() {
        skip_blanks();
        if (pos_ == data_.size()) return std::nullopt;
        switch (data_[pos_]) {
            case ';': ++pos_; return Token{TokenKind::Comment, {}};
            case '{': ++pos_; return Token{TokenKind::Open, {}};
            case '}': ++pos_; return Token{TokenKind::Close, {}};
            case '=': ++pos_; return Token{TokenKind::Assign, {}};
            case '~': ++pos_; return Token{TokenKind::Base, {}};
            default: break;
        }
        const std::size_t start = pos_;
        while (pos_ < data_.size() && pos_ - start < max_text && !ends_name(data_[pos_])) ++pos_;
        // A piece that runs into the end of the file is never kept, even one cut at full length.
        if (pos_ == data_.size()) return std::nullopt;
        return Token{TokenKind::Name, std::string(data_.substr(start, pos_ - start))};
    }

    void skip_blanks() {
        while (pos_ < data_.size() && is_blank(data_[pos_])) ++pos_;
    }

    // At most 255 bytes up to the line end, which is consumed; what lies beyond the cut is
    // left for further tokens. With `stop_at_assign` an "=" also ends the text and is left.
    std::string read_rest_of_line(bool stop_at_assign) {
        const std::size_t start = pos_;
        while (pos_ < data_.size() && pos_ - start < max_text && !is_line_end(data_[pos_]) &&
               !(stop_at_assign && data_[pos_] == '=')) {
            ++pos_;
        }
        std::string text(data_.substr(start, pos_ - start));
        if (pos_ < data_.size() && is_line_end(data_[pos_])) ++pos_;
        return text;
    }

private:
    std::string_view data_;
    std::size_t pos_ = 0;
};

// The parts of a dotted key; empty parts from leading, trailing or doubled dots are skipped.
std::vector<std::string_view> split_key(std::string_view key) {
    std::vector<std::string_view> parts;
    while (!key.empty()) {
        const std::size_t dot = key.find('.');
        const std::string_view part = key.substr(0, dot);
        if (!part.empty()) parts.push_back(part);
        if (dot == std::string_view::npos) break;
        key.remove_prefix(dot + 1);
    }
    return parts;
}

const SettingsNode* first_child_named(const SettingsNode* block, std::string_view name) {
    for (const SettingsNode* child = block->first_child(); child != nullptr;
         child = child->next()) {
        if (child->name() == name) return child;
    }
    return nullptr;
}

// The node `parts` name below `top`, taking a missing part from the chain of bases.
const SettingsNode* walk(const SettingsNode* top, const std::vector<std::string_view>& parts) {
    const SettingsNode* current = top;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const SettingsNode* found = nullptr;
        for (const SettingsNode* scope = current; scope != nullptr && found == nullptr;
             scope = scope->base()) {
            found = first_child_named(scope, parts[i]);
        }
        if (found == nullptr) return nullptr;
        if (found->kind() != SettingsNode::Block) return i + 1 == parts.size() ? found : nullptr;
        current = found;
    }
    return current;
}

const SettingsNode* find_path(const SettingsNode* top, std::string_view path) {
    if (path.empty()) return top;
    const std::vector<std::string_view> parts = split_key(path);
    return parts.empty() ? nullptr : walk(top, parts);
}

}  // namespace

SettingsNode::SettingsNode(Arena& arena, Kind kind, std::string name,
                           std::optional<std::string> value, SettingsNode* parent)
    : arena_(&arena), kind_(kind), name_(std::move(name)), value_(std::move(value)),
      parent_(parent) {}

SettingsNode* SettingsNode::add_child(Kind kind, std::string name,
                                      std::optional<std::string> value) {
    SettingsNode& child =
        arena_->emplace_back(*arena_, kind, std::move(name), std::move(value), this);
    if (last_child_ != nullptr) {
        last_child_->next_ = &child;
    } else {
        first_child_ = &child;
    }
    last_child_ = &child;
    return &child;
}

std::string SettingsNode::get_path() const {
    std::vector<const std::string*> names;
    for (const SettingsNode* node = this; node->parent_ != nullptr; node = node->parent_) {
        names.push_back(&node->name_);
    }
    std::string path;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        if (name != names.rbegin()) path += '.';
        path += **name;
    }
    return path;
}

SettingsTree::SettingsTree(const char* file_name)
    : SettingsTree(std::string(file_name != nullptr ? file_name : "")) {}

SettingsTree::SettingsTree(const std::string& file_name)
    : file_name_(file_name),
      top_(&arena_.emplace_back(arena_, SettingsNode::Block, "root", std::nullopt, nullptr)) {
    load();
}

SettingsTree::~SettingsTree() {
    save();
}

const char* SettingsTree::get_string(const char* key) const {
    std::string& area = result_area();
    const SettingsNode* node = walk(top_, split_key(key != nullptr ? key : ""));
    if (node != nullptr && node->value()) {
        area.assign(*node->value());
    } else {
        area.clear();
    }
    return area.c_str();
}

void SettingsTree::set(const char* key, const char* value) {
    const std::vector<std::string_view> parts = split_key(key != nullptr ? key : "");
    if (parts.empty()) return;
    const std::string text(value != nullptr ? value : "");
    SettingsNode* current = top_;
    std::size_t i = 0;
    for (; i < parts.size(); ++i) {
        SettingsNode* child = current->first_child_;
        while (child != nullptr && child->name_ != parts[i]) child = child->next_;
        if (child == nullptr) break;
        const bool last_part = i + 1 == parts.size();
        if (child->kind_ != SettingsNode::Block) {
            if (!last_part) return;
            child->set_value(text);
            modified_ = true;
            return;
        }
        if (last_part) return;
        current = child;
    }
    for (; i < parts.size(); ++i) {
        const bool last_part = i + 1 == parts.size();
        current = current->add_child(last_part ? SettingsNode::Value : SettingsNode::Block,
                                     std::string(parts[i]),
                                     last_part ? std::optional<std::string>(text) : std::nullopt);
    }
    modified_ = true;
}

bool SettingsTree::save() {
    if (!modified_) return true;
    if (!may_replace(file_name_)) return false;
    std::string text;
    write(text, top_, -1);
    // The text goes to a file beside the target first, so a failed write never leaves the
    // target cut short; only a complete file replaces it.
    const std::string temp_name = file_name_ + ".tmp";
    if (!write_file(temp_name, text)) return false;
    std::error_code error;
    std::filesystem::rename(temp_name, file_name_, error);
    if (error) {
        std::remove(temp_name.c_str());
        return false;
    }
    modified_ = false;
    return true;
}

const SettingsNode* SettingsTree::find(const char* path) const {
    return find_path(top_, path != nullptr ? path : "");
}

void SettingsTree::load() {
    const std::optional<std::string> data = read_file(file_name_);
    if (!data) return;
    loaded_ = true;
    Reader reader(*data);

    SettingsNode* last = nullptr;
    // Every "{" opens a level and its "}" closes that one, however deep: a fixed number of
    // levels would put what follows a deeper block into another block, and a save would then
    // write the file back with its nodes moved.
    std::vector<SettingsNode*> open{top_};
    while (std::optional<Token> token = reader.read_token()) {
        // A comment is a whole line of its own: it takes neither a block, a value nor a base.
        const bool after_comment = last != nullptr && last->kind() == SettingsNode::Comment;
        switch (token->kind) {
            case TokenKind::Name:
                last = open.back()->add_child(SettingsNode::Value, std::move(token->name),
                                              std::nullopt);
                break;
            case TokenKind::Comment:
                last = open.back()->add_child(SettingsNode::Comment, ";",
                                              reader.read_rest_of_line(false));
                break;
            case TokenKind::Open:
                if (last == nullptr || after_comment) break;
                open.push_back(last);
                last->set_kind(SettingsNode::Block);
                break;
            case TokenKind::Close:
                if (open.size() > 1) open.pop_back();
                break;
            case TokenKind::Assign:
                if (last == nullptr || after_comment) break;
                last->set_value(reader.read_rest_of_line(false));
                break;
            case TokenKind::Base: {
                if (last == nullptr || after_comment) break;
                // The path stops before an "=", which then gives the block's own value, so a
                // 'name~path=value' header reads back as it was written.
                const SettingsNode* base = find_path(top_, reader.read_rest_of_line(true));
                if (base != nullptr && base->first_child() != nullptr) {
                    last->base_ = base;
                    last->set_kind(SettingsNode::Block);
                }
                break;
            }
        }
    }
}

void SettingsTree::write(std::string& out, const SettingsNode* node, int depth) const {
    // Walks the links instead of recursing, so neither long sibling lists nor deep nesting
    // built by `set` can exhaust the stack.
    const SettingsNode* const end = node != nullptr ? node->parent() : nullptr;
    while (node != nullptr) {
        switch (node->kind()) {
            case SettingsNode::Comment:
                write_indent(out, depth);
                out += ';';
                out += node->value().value_or(std::string());
                out += '\n';
                break;
            case SettingsNode::Value:
                write_indent(out, depth);
                out += node->name();
                out += '=';
                out += node->value().value_or(std::string());
                out += '\n';
                break;
            case SettingsNode::Block:
                // The top node is known by identity, so a block named "root" elsewhere keeps
                // its header and braces.
                if (node == top_) break;
                write_indent(out, depth);
                out += node->name();
                if (node->base() != nullptr) {
                    out += '~';
                    out += node->base()->get_path();
                }
                if (node->value()) {
                    out += '=';
                    out += *node->value();
                }
                out += '\n';
                write_indent(out, depth);
                out += "{\n";
                break;
        }
        if (node->kind() == SettingsNode::Block && node->first_child() != nullptr) {
            node = node->first_child();
            ++depth;
            continue;
        }
        for (;;) {
            if (node->kind() == SettingsNode::Block && node != top_) {
                write_indent(out, depth);
                out += "}\n";
            }
            if (node->next() != nullptr) {
                node = node->next();
                break;
            }
            node = node->parent();
            --depth;
            if (node == end) {
                node = nullptr;
                break;
            }
        }
    }
}

void SettingsTree::write_indent(std::string& out, int depth) {
    if (depth > 0) out.append(static_cast<std::size_t>(2 * std::min(depth, max_indent_depth)), ' ');
}
