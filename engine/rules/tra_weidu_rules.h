// The rules of the WeiDU TRA checker: their ids, the keys their messages are worded from,
// and the family as the registry lists it.
#pragma once

#include <vector>

#include "rules/rule_registry.h"

namespace tra_weidu {

// Lexer faults.
inline constexpr const char* invalid_byte = "tra_weidu.invalid_byte";
inline constexpr const char* unterminated_string = "tra_weidu.unterminated_string";
inline constexpr const char* unterminated_sound = "tra_weidu.unterminated_sound";
inline constexpr const char* unterminated_comment = "tra_weidu.unterminated_comment";
inline constexpr const char* unterminated_wide_string = "tra_weidu.unterminated_wide_string";
inline constexpr const char* number_out_of_range = "tra_weidu.number_out_of_range";
// Parse faults: a keyword anywhere, the end of the text too early, or a token the place
// does not take (each place its own rule, named by what it expected).
inline constexpr const char* keyword = "tra_weidu.keyword";
inline constexpr const char* unexpected_end = "tra_weidu.unexpected_end";
inline constexpr const char* expected_entry = "tra_weidu.expected_entry";
inline constexpr const char* expected_equals = "tra_weidu.expected_equals";
inline constexpr const char* expected_value = "tra_weidu.expected_value";
inline constexpr const char* expected_after_text = "tra_weidu.expected_after_text";
inline constexpr const char* expected_after_sound = "tra_weidu.expected_after_sound";
inline constexpr const char* expected_after_text2 = "tra_weidu.expected_after_text2";
inline constexpr const char* expected_joined_text = "tra_weidu.expected_joined_text";
inline constexpr const char* expected_at_form = "tra_weidu.expected_at_form";

// The expected texts of the two end-of-text lexer faults.
inline constexpr const char* expected_comment_end = "tra_weidu.expected_comment_end";
inline constexpr const char* expected_wide_string_end = "tra_weidu.expected_wide_string_end";

inline constexpr const char* found_entry = "tra_weidu.found_entry";
inline constexpr const char* found_equals = "tra_weidu.found_equals";
inline constexpr const char* found_double_equals = "tra_weidu.found_double_equals";
inline constexpr const char* found_plus = "tra_weidu.found_plus";
inline constexpr const char* found_join = "tra_weidu.found_join";
inline constexpr const char* found_sound = "tra_weidu.found_sound";
inline constexpr const char* found_text = "tra_weidu.found_text";
inline constexpr const char* found_strref = "tra_weidu.found_strref";
inline constexpr const char* found_forced_strref = "tra_weidu.found_forced_strref";
inline constexpr const char* found_paren_open = "tra_weidu.found_paren_open";
inline constexpr const char* found_paren_close = "tra_weidu.found_paren_close";

inline constexpr const char* note_entry_opened = "tra_weidu.note_entry_opened";
inline constexpr const char* note_comment_opened = "tra_weidu.note_comment_opened";
inline constexpr const char* note_wide_string_opened = "tra_weidu.note_wide_string_opened";

}  // namespace tra_weidu

// Appends the WeiDU TRA rules, each an error, in the order a file meets them.
inline void add_tra_weidu_rules(std::vector<Rule>& rules) {
    using namespace tra_weidu;
    const auto add = [&rules](const char* id, const char* message_key) {
        rules.push_back(Rule{id, Severity::Error, message_key, true});
    };
    for (const char* id : {invalid_byte, unterminated_string, unterminated_sound, number_out_of_range, keyword,
                           expected_entry, expected_equals, expected_value, expected_after_text,
                           expected_after_sound, expected_after_text2, expected_joined_text, expected_at_form,
                           unterminated_comment, unterminated_wide_string, unexpected_end}) {
        add(id, id);
    }
}
