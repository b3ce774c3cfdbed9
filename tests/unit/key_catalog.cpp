#include "key_catalog.h"

#include <map>

namespace key_catalog {

const std::vector<std::string>& all_message_keys() {
    static const std::vector<std::string> keys = {
        "general.initialized", "general.usage", "menu.file", "menu.check_files",
        "menu.file_settings", "menu.file_exit", "controls.program_log", "general.checktra",
        "general.checkarcanumdlg", "general.unknown_file_type", "general.filenotfound",
        "general.canceled", "general.noconflicts", "conflicteditor.caption",
        "conflicteditor.description", "conflicteditor.save", "conflicteditor.cancel",
        "settings.caption", "settings.general", "settings.language",
        "tra.expected_at", "tra.expected_number", "tra.expected_equal", "tra.expected_tilde",
        "tra.expected_after_line1", "tra.expected_after_line2", "tra.expected_after_sound1",
        "tra.expected_tag_text", "tra.expected_tag_close", "tra.expected_sound_text",
        "tra.expected_sound_close", "tra.expected_comment_close", "tra.unexpected_tag_closed",
        "tra.unexpected_end", "tra.tag_spaces", "tra.sound_spaces", "tra.found_space",
        "tra.found_text", "tra.found_at", "tra.found_equal", "tra.found_tilde", "tra.found_quote",
        "tra.found_tag_open", "tra.found_tag_closed", "tra.found_bracket_open",
        "tra.found_bracket_closed", "tra.found_comment_line", "tra.found_comment_open",
        "tra.found_comment_closed", "tra.note_text_opened", "tra.note_tag_opened", "tra.note_sound_opened",
        "tra.note_comment_opened",
        "tra_weidu.invalid_byte", "tra_weidu.unterminated_string", "tra_weidu.unterminated_sound",
        "tra_weidu.number_out_of_range", "tra_weidu.keyword", "tra_weidu.expected_entry",
        "tra_weidu.expected_equals", "tra_weidu.expected_value", "tra_weidu.expected_after_text",
        "tra_weidu.expected_after_sound", "tra_weidu.expected_after_text2", "tra_weidu.expected_joined_text",
        "tra_weidu.expected_at_form", "tra_weidu.expected_comment_end", "tra_weidu.expected_wide_string_end",
        "tra_weidu.unexpected_end", "tra_weidu.unterminated_comment", "tra_weidu.unterminated_wide_string",
        "tra_weidu.found_entry", "tra_weidu.found_equals", "tra_weidu.found_double_equals",
        "tra_weidu.found_plus", "tra_weidu.found_join", "tra_weidu.found_sound", "tra_weidu.found_text",
        "tra_weidu.found_strref", "tra_weidu.found_forced_strref", "tra_weidu.found_paren_open",
        "tra_weidu.found_paren_close", "tra_weidu.note_entry_opened", "tra_weidu.note_comment_opened",
        "tra_weidu.note_wide_string_opened",
        "arcanum_dlg.expected_number", "arcanum_dlg.expected_next", "arcanum_dlg.expected_bracket",
        "arcanum_dlg.expected_bracket_close", "arcanum_dlg.unexpected_bracket_open",
        "arcanum_dlg.unexpected_end", "arcanum_dlg.unexpected_newline", "arcanum_dlg.found_space",
        "arcanum_dlg.found_text", "arcanum_dlg.found_bracket_open",
        "arcanum_dlg.found_bracket_close", "arcanum_dlg.found_newline", "arcanum_dlg.note_record_opened",
        "arcanum_dlg.note_field_opened",
    };
    return keys;
}

namespace {

// The language file text: one block per key prefix, each "name=prefix.name".
std::string key_language_file() {
    std::map<std::string, std::string> blocks;
    for (const std::string& key : all_message_keys()) {
        const auto dot = key.find('.');
        blocks[key.substr(0, dot)] += "  " + key.substr(dot + 1) + "=" + key + "\n";
    }
    std::string file;
    for (const auto& [prefix, lines] : blocks) file += prefix + "\n{\n" + lines + "}\n";
    return file;
}

}  // namespace

KeyCatalog::KeyCatalog() : catalog_(dir_.path().string()) {
    test_files::write_bytes(dir_.file("Keys.ini"), key_language_file());
    catalog_.load("Keys");
}

}  // namespace key_catalog
