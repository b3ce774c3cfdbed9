#include "tra_checker.h"

#include "grammars/tra_grammar.h"

CheckResult TraChecker::check(const char* path) { return check_file<TraGrammar>(path); }

std::optional<Diagnostic> TraChecker::first_fault(std::string_view bytes) const {
    return fault_in<TraGrammar>(bytes);
}

std::vector<Diagnostic> TraChecker::all_faults(std::string_view bytes) const {
    return faults_in<TraGrammar>(bytes);
}

CheckResult TraChecker::walk(const TokenSplitter& splitter, std::int32_t file_size) {
    return walk_kept<TraGrammar>(splitter, file_size);
}

void TraChecker::add_delimiters(TokenSplitter& splitter) { register_grammar<TraGrammar>(splitter); }

const char* TraChecker::describe_token(const Token& token) const {
    const bool known = token.kind == TokenKind::Delimiter && token.delimiter->id >= 0 &&
                       static_cast<std::size_t>(token.delimiter->id) < TraGrammar::delimiter_classes;
    return text(known ? TraGrammar::delimiter_keys[token.delimiter->id] : TraGrammar::found_text);
}
