// The grammar of Arcanum dialogue files, described once: one "{number}{field}{field}..."
// record, "//" comment or empty line per line.
#pragma once

#include <cstddef>
#include <string_view>

#include "grammar.h"

struct DlgGrammar {
    static constexpr std::string_view family = "arcanum_dlg";

    enum DelimiterId { BraceOpen, BraceClose, Newline, Comment };
    // What a token is to the walk: a delimiter by its id, or a run; between fields one blank
    // byte is allowed and more are not, so blank runs come in two classes.
    static constexpr std::size_t delimiter_classes = Comment + 1;
    static constexpr std::size_t one_blank_class = delimiter_classes;
    static constexpr std::size_t blanks_class = one_blank_class + 1;
    static constexpr std::size_t text_class = blanks_class + 1;
    static constexpr std::size_t class_count = text_class + 1;

    // Both line-end forms are one and the same line end to the walk.
    // A run's class: text, one blank byte, or more.
    static constexpr std::size_t run_class(bool is_text, std::size_t length) {
        return is_text ? text_class : length == 1 ? one_blank_class : blanks_class;
    }

    static constexpr grammar::Delimiter delimiters[] = {
        {BraceOpen, "{"}, {BraceClose, "}"}, {Newline, "\n"}, {Newline, "\r\n"}, {Comment, "//"},
    };
    // By delimiter id; the comment marker is named as text.
    static constexpr const char* delimiter_keys[delimiter_classes] = {
        "arcanum_dlg.found_bracket_open", "arcanum_dlg.found_bracket_close", "arcanum_dlg.found_newline",
        "arcanum_dlg.found_text",
    };
    static constexpr const char* found_text = "arcanum_dlg.found_text";
    static constexpr const char* found_space = "arcanum_dlg.found_space";
    static constexpr const char* end_key = "arcanum_dlg.unexpected_end";

    // Inside a field only braces and line ends matter, inside a comment only line ends.
    enum FocusNumber { Every = 0, InFieldFocus = 1, InCommentFocus = 2 };
    static constexpr grammar::Focus foci[] = {
        {{BraceOpen, BraceClose, Newline}, 3},
        {{Newline}, 1},
    };

    enum State { LineStart, AfterNumber, AfterBraceClose, AfterFirstBrace, InField, InComment };

    static constexpr std::uint8_t one_blank = one_blank_class;
    static constexpr std::uint8_t blanks = blanks_class;
    static constexpr std::uint8_t text = text_class;

    static constexpr grammar::StateRules states[] = {
        {LineStart, Every, nullptr, nullptr, grammar::expected("arcanum_dlg.expected_bracket"),
         {{{BraceOpen, grammar::go(AfterFirstBrace)}, {Newline, grammar::go(LineStart)},
           {Comment, grammar::go(InComment)}, {one_blank, grammar::go(LineStart)}, {blanks, grammar::go(LineStart)}}}},
        {AfterNumber, Every, "arcanum_dlg.expected_bracket_close", "arcanum_dlg.note_record_opened",
         grammar::expected("arcanum_dlg.expected_bracket_close"), {{{BraceClose, grammar::go(AfterBraceClose)}}}},
        {AfterBraceClose, Every, nullptr, nullptr, grammar::expected("arcanum_dlg.expected_next"),
         {{{BraceOpen, grammar::go(InField)}, {Newline, grammar::go(LineStart)},
           {one_blank, grammar::go(AfterBraceClose)}}}},
        // Only a bad Text run goes unnamed: a blank or a delimiter is named.
        {AfterFirstBrace, Every, "arcanum_dlg.expected_number", "arcanum_dlg.note_record_opened",
         grammar::number_named("arcanum_dlg.expected_number"),
         {{{text, grammar::test_number(AfterNumber, "arcanum_dlg.expected_number")}}}},
        {InField, InFieldFocus, "arcanum_dlg.expected_bracket_close", "arcanum_dlg.note_field_opened",
         grammar::go(InField),
         {{{BraceClose, grammar::go(AfterBraceClose)},
           {BraceOpen, grammar::single("arcanum_dlg.unexpected_bracket_open")},
           {Newline, grammar::single("arcanum_dlg.unexpected_newline")}}}},
        {InComment, InCommentFocus, nullptr, nullptr, grammar::go(InComment), {{{Newline, grammar::go(LineStart)}}}},
    };

    // Where the walk starts again after a fault at `fault`: the start of the next line;
    // npos when there is none.
    static std::size_t resume_at(std::string_view text, std::size_t fault) {
        const std::size_t end = text.find('\n', fault);
        return end == std::string_view::npos ? end : end + 1;
    }

    // A record's number: one or more digits and nothing else.
    static constexpr bool is_number(std::string_view run) {
        if (run.empty()) return false;
        for (const char byte : run) {
            if (byte < '0' || byte > '9') return false;
        }
        return true;
    }
};

static_assert(grammar::well_formed<DlgGrammar>(), "the DLG grammar's description is inconsistent");
