#include "dlg_checker.h"

#include "grammars/dlg_grammar.h"

CheckResult ArcanumDlgChecker::check(const char* path) { return check_file<DlgGrammar>(path); }

std::optional<Diagnostic> ArcanumDlgChecker::first_fault(std::string_view bytes) const {
    return fault_in<DlgGrammar>(bytes);
}

std::vector<Diagnostic> ArcanumDlgChecker::all_faults(std::string_view bytes) const {
    return faults_in<DlgGrammar>(bytes);
}

CheckResult ArcanumDlgChecker::walk(const TokenSplitter& splitter, std::int32_t file_size) {
    return walk_kept<DlgGrammar>(splitter, file_size);
}

void ArcanumDlgChecker::add_delimiters(TokenSplitter& splitter) { register_grammar<DlgGrammar>(splitter); }

const char* ArcanumDlgChecker::describe_token(const Token& token) const {
    const bool known = token.kind == TokenKind::Delimiter && token.delimiter->id >= 0 &&
                       static_cast<std::size_t>(token.delimiter->id) < DlgGrammar::delimiter_classes;
    return text(known ? DlgGrammar::delimiter_keys[token.delimiter->id] : DlgGrammar::found_text);
}
