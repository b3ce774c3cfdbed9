#include "reference_splitter.h"

namespace {

bool is_blank(char byte) { return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n'; }

// Byte by byte rather than through memcmp, which libFuzzer's hooks make slow.
bool matches_at(std::string_view text, std::size_t at, const std::string& delimiter) {
    if (delimiter.empty() || delimiter.size() > text.size() - at) return false;
    for (std::size_t i = 0; i < delimiter.size(); ++i) {
        if (text[at + i] != delimiter[i]) return false;
    }
    return true;
}

}  // namespace

std::vector<ReferenceToken> reference_split(const std::vector<ReferenceDelimiter>& table,
                                            std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::vector<ReferenceToken> tokens;
    std::size_t at = 0;
    std::size_t run = 0;
    bool run_is_text = false;
    auto end_run = [&] {
        if (at == run) return;
        tokens.push_back(ReferenceToken{run_is_text ? TokenKind::Text : TokenKind::Blank,
                                        static_cast<std::int32_t>(run), static_cast<std::int32_t>(at - run),
                                        0, {}, text.substr(run, at - run)});
    };
    while (at < text.size()) {
        const ReferenceDelimiter* matched = nullptr;
        for (const ReferenceDelimiter& entry : table) {
            if (matches_at(text, at, entry.text)) {
                matched = &entry;
                break;
            }
        }
        if (matched == nullptr) {
            run_is_text = run_is_text || !is_blank(text[at]);
            ++at;
            continue;
        }
        end_run();
        tokens.push_back(ReferenceToken{TokenKind::Delimiter, static_cast<std::int32_t>(at),
                                        static_cast<std::int32_t>(matched->text.size()), matched->id,
                                        matched->text, {}});
        at += matched->text.size();
        run = at;
        run_is_text = false;
    }
    end_run();
    return tokens;
}
