#include "json_text.h"

#include "byte_text.h"

void put_bytes(nlohmann::ordered_json& object, const std::string& name, std::string_view bytes) {
    object[name] = std::string(bytes);
    if (!is_valid_utf8(bytes)) object[name + "_base64"] = base64(bytes);
}

std::string dump_json(const nlohmann::ordered_json& document) {
    return document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}
