// The TRA grammar, described once: numbered entries "@12 = ~text~ [SOUND] ~text~ [SOUND]"
// with tags in texts and "//" and "/* */" comments between the parts of an entry.
#pragma once

#include <cstddef>
#include <string_view>

#include "grammar.h"

struct TraGrammar {
    static constexpr std::string_view family = "tra";

    enum DelimiterId {
        At, Equal, Tilde, Quote, TagOpen, TagClose, BracketOpen, BracketClose,
        CommentLine, CommentOpen, CommentClose
    };
    // What a token is to the walk: a delimiter by its id, or a run.
    static constexpr std::size_t delimiter_classes = CommentClose + 1;
    static constexpr std::size_t blank_class = delimiter_classes;
    static constexpr std::size_t text_class = blank_class + 1;
    static constexpr std::size_t class_count = text_class + 1;

    // A run's class: blank or text.
    static constexpr std::size_t run_class(bool is_text, std::size_t) { return is_text ? text_class : blank_class; }

    static constexpr grammar::Delimiter delimiters[] = {
        {At, "@"}, {Equal, "="}, {Tilde, "~"}, {Quote, "\""}, {TagOpen, "<"}, {TagClose, ">"},
        {BracketOpen, "["}, {BracketClose, "]"}, {CommentLine, "//"}, {CommentOpen, "/*"},
        {CommentClose, "*/"},
    };
    // By delimiter id: how a reason names it when found where something else was expected.
    static constexpr const char* delimiter_keys[delimiter_classes] = {
        "tra.found_at", "tra.found_equal", "tra.found_tilde", "tra.found_quote", "tra.found_tag_open",
        "tra.found_tag_closed", "tra.found_bracket_open", "tra.found_bracket_closed",
        "tra.found_comment_line", "tra.found_comment_open", "tra.found_comment_closed",
    };
    static constexpr const char* found_text = "tra.found_text";
    static constexpr const char* found_space = "tra.found_space";
    static constexpr const char* end_key = "tra.unexpected_end";

    // Inside a text only tildes and tags matter, inside a block comment only its end.
    enum FocusNumber { Every = 0, InText = 1, InComment = 2 };
    static constexpr grammar::Focus foci[] = {
        {{Tilde, TagOpen, TagClose}, 3},
        {{CommentClose}, 1},
    };

    enum State {
        BetweenEntries, AfterAt, AfterNumber, AfterEqual, InFirstText, AfterFirstText, AfterTagOpen,
        AfterTagName, InSecondText, AfterSecondText, AfterSound1Open, AfterSound1Name, AfterSound1,
        AfterSound2Open, AfterSound2Name, InBlockComment, InLineComment
    };

    static constexpr std::uint8_t blank = blank_class;
    static constexpr std::uint8_t text = text_class;
    // Comments may stand between the parts of an entry after its number; they come back to
    // where they opened.
    static constexpr grammar::On line_comment{CommentLine, grammar::enter(InLineComment)};
    static constexpr grammar::On block_comment{CommentOpen, grammar::enter(InBlockComment)};

    static constexpr grammar::StateRules states[] = {
        {BetweenEntries, Every, nullptr, nullptr, grammar::expected("tra.expected_at"),
         {{{At, grammar::go(AfterAt)}, line_comment, block_comment, {blank, grammar::go(BetweenEntries)}}}},
        {AfterAt, Every, "tra.expected_number", nullptr, grammar::number_named("tra.expected_number"),
         {{{text, grammar::test_number(AfterNumber, "tra.expected_number")},
           {blank, grammar::number_unnamed("tra.expected_number")}}}},
        {AfterNumber, Every, "tra.expected_equal", nullptr, grammar::expected("tra.expected_equal"),
         {{{Equal, grammar::go(AfterEqual)}, line_comment, block_comment, {blank, grammar::go(AfterNumber)}}}},
        {AfterEqual, Every, "tra.expected_tilde", nullptr, grammar::expected("tra.expected_tilde"),
         {{{Tilde, grammar::go(InFirstText)}, line_comment, block_comment, {blank, grammar::go(AfterEqual)}}}},
        {InFirstText, InText, "tra.expected_tilde", "tra.note_text_opened", grammar::go(InFirstText),
         {{{Tilde, grammar::go(AfterFirstText)}, {TagOpen, grammar::enter(AfterTagOpen)},
           {TagClose, grammar::single("tra.unexpected_tag_closed")}}}},
        {AfterFirstText, Every, nullptr, nullptr, grammar::expected("tra.expected_after_line1"),
         {{{Tilde, grammar::go(InSecondText)}, {BracketOpen, grammar::go(AfterSound1Open)},
           {At, grammar::go(AfterAt)}, line_comment, block_comment, {blank, grammar::go(AfterFirstText)}}}},
        {AfterTagOpen, Every, "tra.expected_tag_text", "tra.note_tag_opened",
         grammar::expected("tra.expected_tag_text"),
         {{{text, grammar::test_name(AfterTagName, "tra.tag_spaces")}}}},
        {AfterTagName, Every, "tra.expected_tag_close", "tra.note_tag_opened",
         grammar::expected("tra.expected_tag_close"),
         {{{TagClose, grammar::back()}}}},
        {InSecondText, InText, "tra.expected_tilde", "tra.note_text_opened", grammar::go(InSecondText),
         {{{Tilde, grammar::go(AfterSecondText)}, {TagOpen, grammar::enter(AfterTagOpen)},
           {TagClose, grammar::single("tra.unexpected_tag_closed")}}}},
        {AfterSecondText, Every, nullptr, nullptr, grammar::expected("tra.expected_after_line2"),
         {{{BracketOpen, grammar::go(AfterSound2Open)}, {At, grammar::go(AfterAt)}, line_comment,
           block_comment, {blank, grammar::go(AfterSecondText)}}}},
        {AfterSound1Open, Every, "tra.expected_sound_text", "tra.note_sound_opened",
         grammar::expected("tra.expected_sound_text"),
         {{{text, grammar::test_name(AfterSound1Name, "tra.sound_spaces")}}}},
        {AfterSound1Name, Every, "tra.expected_sound_close", "tra.note_sound_opened",
         grammar::expected("tra.expected_sound_close"),
         {{{BracketClose, grammar::go(AfterSound1)}}}},
        {AfterSound1, Every, nullptr, nullptr, grammar::expected("tra.expected_after_sound1"),
         {{{Tilde, grammar::go(InSecondText)}, {At, grammar::go(AfterAt)}, line_comment, block_comment,
           {blank, grammar::go(AfterSound1)}}}},
        {AfterSound2Open, Every, "tra.expected_sound_text", "tra.note_sound_opened",
         grammar::expected("tra.expected_sound_text"),
         {{{text, grammar::test_name(AfterSound2Name, "tra.sound_spaces")}}}},
        {AfterSound2Name, Every, "tra.expected_sound_close", "tra.note_sound_opened",
         grammar::expected("tra.expected_sound_close"),
         {{{BracketClose, grammar::go(BetweenEntries)}}}},
        {InBlockComment, InComment, "tra.expected_comment_close", "tra.note_comment_opened",
         grammar::go(InBlockComment),
         {{{CommentClose, grammar::back()}}}},
        // A line comment ends with the run that holds its LF, whatever else that run holds.
        {InLineComment, Every, nullptr, nullptr, grammar::go(InLineComment),
         {{{blank, grammar::test_line_end()}, {text, grammar::test_line_end()}}}},
    };

    // Where the walk starts again after a fault at `fault`: the first following line whose
    // first bytes but blanks are "@" and a digit; npos when there is none.
    static std::size_t resume_at(std::string_view text, std::size_t fault) {
        for (std::size_t end = text.find('\n', fault); end != std::string_view::npos; end = text.find('\n', end + 1)) {
            std::size_t at = end + 1;
            while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\r')) ++at;
            if (at + 1 < text.size() && text[at] == '@' && text[at + 1] >= '0' && text[at + 1] <= '9') return at;
        }
        return std::string_view::npos;
    }

    // An entry's number: one or more digits, then nothing but blanks (line ends included).
    static constexpr bool is_number(std::string_view run) {
        std::size_t i = 0;
        while (i < run.size() && run[i] >= '0' && run[i] <= '9') ++i;
        if (i == 0) return false;
        for (; i < run.size(); ++i) {
            const char byte = run[i];
            if (byte != ' ' && byte != '\t' && byte != '\r' && byte != '\n') return false;
        }
        return true;
    }
};

static_assert(grammar::well_formed<TraGrammar>(), "the TRA grammar's description is inconsistent");
