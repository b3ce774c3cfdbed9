#include "token_splitter.h"

#include <cstring>
#include <utility>

#include "scan/token_encoder.h"

namespace {

// From this size on a text is scanned two bytes per lookup; the table that takes costs
// about as much to build as the scan of this many bytes saves.
constexpr std::size_t pair_scan_size = 512 * 1024;

}  // namespace

void TokenSplitter::add_delimiter(std::int32_t id, const char* text) {
    const std::string bytes = text == nullptr ? std::string() : std::string(text);
    table_.push_back(DelimiterEntry{id, bytes, static_cast<std::int32_t>(bytes.size())});
    tables_ready_ = false;
}

int TokenSplitter::add_focus(std::vector<std::int32_t> ids) {
    tables_ready_ = false;
    return tables_.add_focus(std::move(ids));
}

void TokenSplitter::split(const char* text) {
    const char* source = text == nullptr ? "" : text;
    const std::size_t size = std::strlen(source);
    std::unique_ptr<char[]> block(new char[size + 1]);
    std::memcpy(block.get(), source, size);
    split(std::move(block), size);
}

void TokenSplitter::split(std::string text) {
    owned_block_.reset();
    owned_string_ = std::move(text);
    packed_.text = owned_string_.c_str();
    text_size_ = owned_string_.size();
    build_tokens();
}

void TokenSplitter::split(std::unique_ptr<char[]> block, std::size_t size) {
    take_block(std::move(block), size);
    build_tokens();
}

void TokenSplitter::take_block(std::unique_ptr<char[]> block, std::size_t size) {
    block[size] = '\0';
    std::string().swap(owned_string_);
    owned_block_ = std::move(block);
    packed_.text = owned_block_.get();
    text_size_ = size;
}

void TokenSplitter::view_text(std::string_view text) {
    std::string().swap(owned_string_);
    owned_block_.reset();
    // A view of no bytes may hold no pointer; the scan still copies from it.
    packed_.text = text.data() != nullptr ? text.data() : "";
    text_size_ = text.size();
}

void TokenSplitter::prepare_tables() {
    tables_.compile(table_);
    token_scan::fill_codes(table_, packed_.codes);
    packed_.table = table_.data();
    tables_ready_ = true;
}

bool TokenSplitter::prepare_scan() {
    if (!tables_ready_) prepare_tables();
    packed_.chunks.clear();
    count_ = 0;
    walking_ = false;
    stop_walk();
    const bool pair_scan = text_size_ >= pair_scan_size;
    tables_.prepare_scan(pair_scan);
    return pair_scan;
}

void TokenSplitter::build_tokens() {
    const bool pair_scan = prepare_scan();
    token_scan::Encoder encoder(packed_.chunks, text_size_);
    token_scan::scan_text(tables_, packed_.text, text_size_, pair_scan, encoder);
    count_ = static_cast<std::int32_t>(encoder.finish());
}

const Token* TokenSplitter::first() {
    if (!tables_ready_) prepare_tables();
    walking_ = true;
    reader_ = Reader(*this);
    return refill();
}

void TokenSplitter::stop_walk() {
    cursor_ = batch_.data();
    batch_end_ = cursor_ + 1;
}

const Token* TokenSplitter::refill() {
    if (!walking_) return first();
    Token* out = batch_.data();
    Token* const out_end = out + batch_size;
    // A local copy keeps the decoding state in registers.
    Reader reader = reader_;
    while (out != out_end && reader.next()) *out++ = reader.token();
    reader_ = reader;
    if (out == batch_.data()) {
        stop_walk();
        return nullptr;
    }
    cursor_ = batch_.data();
    batch_end_ = out;
    return cursor_;
}
