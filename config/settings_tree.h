// SettingsTree: named nodes with text values, addressed by dotted keys ("general.language"),
// read from a small hierarchical text file at construction and written back when changed.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <utility>

// SettingsNode: one entry of a settings tree: a comment, a named value or a block of entries.
class SettingsNode {
public:
    enum Kind : std::int32_t { Comment = 0, Value = 1, Block = 2 };
    // Every node of a tree lives in its tree's arena, so freeing never recurses along the links.
    using Arena = std::deque<SettingsNode>;

    SettingsNode(Arena& arena, Kind kind, std::string name, std::optional<std::string> value,
                 SettingsNode* parent);
    SettingsNode(const SettingsNode&) = delete;
    SettingsNode& operator=(const SettingsNode&) = delete;

    Kind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    // No value and an empty value differ only in how a block header is written.
    const std::optional<std::string>& value() const { return value_; }
    const SettingsNode* next() const { return next_; }
    const SettingsNode* first_child() const { return first_child_; }
    const SettingsNode* base() const { return base_; }
    const SettingsNode* parent() const { return parent_; }

    void set_kind(Kind kind) { kind_ = kind; }
    void set_name(std::string name) { name_ = std::move(name); }
    void set_value(std::optional<std::string> value) { value_ = std::move(value); }
    // Appends a new node after all existing children and returns it.
    SettingsNode* add_child(Kind kind, std::string name, std::optional<std::string> value);
    // The dotted names from below the top node down to this one, at most ten; "" for the top.
    std::string get_path() const;

private:
    friend class SettingsTree;

    Arena* arena_;
    Kind kind_;
    std::string name_;
    std::optional<std::string> value_;
    SettingsNode* next_ = nullptr;
    SettingsNode* first_child_ = nullptr;
    // Kept so appending does not walk a long child list.
    SettingsNode* last_child_ = nullptr;
    const SettingsNode* base_ = nullptr;
    SettingsNode* parent_;
};

class SettingsTree {
public:
    // Reads the file at once; a missing file gives an empty tree that is not loaded.
    explicit SettingsTree(const char* file_name);
    explicit SettingsTree(const std::string& file_name);
    // Saves a modified tree; a failure here goes unreported, so whoever must know calls save().
    ~SettingsTree();
    SettingsTree(const SettingsTree&) = delete;
    SettingsTree& operator=(const SettingsTree&) = delete;

    bool is_loaded() const { return loaded_; }
    bool is_modified() const { return modified_; }
    // The value at `key`, or "" when it names none. The text lies in the one result area
    // shared by every tree and stays valid until the next lookup in any tree.
    const char* get_string(const char* key) const;
    // Stores `value` at `key`, creating missing blocks; a key through a value changes nothing.
    void set(const char* key, const char* value);
    // Writes the whole tree when modified. True when saved or nothing was to be saved; false
    // when it failed, the file left as it was and the tree still modified. A target without
    // any write permission, or one that is no regular file, is never replaced.
    bool save();
    // The node a dotted path names, following bases; "" names the top node.
    const SettingsNode* find(const char* path) const;

private:
    void load();
    // Appends the text of `node` and its following siblings to `out`.
    void write(std::string& out, const SettingsNode* node, int depth) const;
    static void write_indent(std::string& out, int depth);

    std::string file_name_;
    SettingsNode::Arena arena_;
    SettingsNode* top_;
    bool modified_ = false;
    bool loaded_ = false;
};
