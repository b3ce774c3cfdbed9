// Diagnostic: one finding of a check as data: which rule, where, and the keys its message
// is worded from. Words are put to it in one place (wording.h), in the user's language, so
// every front end shows the same finding the same way.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

enum class Severity : std::uint8_t { Error, Warning, Info };

// "error", "warning", "info": as compilers print them.
const char* severity_name(Severity severity);

// How a message is joined from its texts (the keys named in a Diagnostic).
enum class MessageForm : std::uint8_t {
    ExpectedFound,  // text(key), a blank, text(argument)
    Single,         // text(key)
    Number,         // text(key) directly followed by text(argument), or alone without one
    End,            // text(key), a blank, text(argument): what the end of the text left open
};

// A related place: where something left open at the end of the text was opened.
struct Note {
    // The key of the note's message ("tra.note_text_opened").
    const char* key = "";
    std::int32_t start = 0;
    std::int32_t length = 0;

    bool operator==(const Note& other) const;
};

struct Diagnostic {
    // The rule's id, "<grammar>.<name>"; for a syntax fault the key of its first text.
    std::string_view rule;
    Severity severity = Severity::Error;
    // Byte range in the checked text; a fault at the end of the text has the text's size as
    // `start` and length 0.
    std::int32_t start = 0;
    std::int32_t length = 0;
    MessageForm form = MessageForm::Single;
    const char* key = "";
    // The found key (ExpectedFound, a named Number) or the expected key (End); else null.
    const char* argument = nullptr;
    std::vector<Note> notes;

    bool operator==(const Diagnostic& other) const;
    bool operator!=(const Diagnostic& other) const { return !(*this == other); }
};
