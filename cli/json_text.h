// Byte strings in JSON output: the output stays valid UTF-8 and no byte is lost.
#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

// Sets object[name] to `bytes`. When they are not valid UTF-8, the text shows each bad
// byte as U+FFFD (see dump_json) and object[name + "_base64"] holds the exact bytes.
void put_bytes(nlohmann::ordered_json& object, const std::string& name, std::string_view bytes);

// Pretty-printed with two spaces, invalid UTF-8 replaced by U+FFFD rather than refused.
std::string dump_json(const nlohmann::ordered_json& document);
