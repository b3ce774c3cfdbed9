// kpstring driven by any sequence of operations on a few strings, each checked against a
// model (std::string for narrow text, std::u16string for wide): contents, length, wide mode,
// and capacity where the header promises it exactly. Texts that alias a string's own buffer
// are part of the sequence.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fail.h"
#include "kpstring.h"

namespace {

constexpr std::size_t slots = 3;
constexpr std::size_t max_text = 64;
constexpr std::size_t max_length = 64 * 1024;
// Capacities stay small: huge requests only test the allocator.
constexpr int min_capacity_request = -8;
constexpr int max_capacity_request = 4096;
constexpr const char* wide_marker = "<unicodestr-nyi>";

struct Model {
    bool wide = false;
    std::string narrow;
    std::u16string wide_text;
};

Model narrow(std::string text) { return Model{false, std::move(text), {}}; }
Model wide(std::u16string text) { return Model{true, {}, std::move(text)}; }

// What c_str() gives for the model.
std::string shown(const Model& model) { return model.wide ? wide_marker : model.narrow; }

void require_matches(const kpstring& s, const Model& model) {
    require(s.is_wide() == model.wide, "wide mode differs from the model");
    require(s.c_str() != nullptr, "c_str() is null");
    require(std::string(s.c_str()) == shown(model), "c_str() differs from the model");
    const std::size_t length = model.wide ? model.wide_text.size() : model.narrow.size();
    require(s.length() == static_cast<int>(length), "length() differs from the model");
    require(s.capacity() >= s.length() + 1, "capacity() leaves no room for the text and its end");
}

// The characters from `first` to `last`, both inclusive, clamped to the text.
std::string model_substring(const Model& model, int first, int last) {
    if (model.wide) return {};
    const auto size = static_cast<std::int64_t>(model.narrow.size());
    const std::int64_t from = std::max<std::int64_t>(first, 0);
    const std::int64_t to = std::min<std::int64_t>(last, size - 1);
    if (to < from) return {};
    return model.narrow.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from + 1));
}

std::u16string consume_wide(FuzzedDataProvider& in) {
    std::u16string text;
    const std::size_t length = in.ConsumeIntegralInRange<std::size_t>(0, max_text);
    for (std::size_t i = 0; i < length; ++i) {
        const auto unit = in.ConsumeIntegral<char16_t>();
        if (unit == 0) break;
        text.push_back(unit);
    }
    return text;
}

// A text as a C string holds it: up to its first zero byte.
std::string consume_text(FuzzedDataProvider& in) {
    return std::string(in.ConsumeRandomLengthString(max_text).c_str());
}

enum Operation {
    ConstructEmpty, ConstructFromText, ConstructFromNull, CopyConstruct, MoveConstruct,
    AssignText, AssignNull, AssignOwnTail, CopyAssign, MoveAssign, AssignWide, AssignWideNull,
    AppendText, AppendNull, AppendOwnTail, AppendOther, Reserve, Clear, Substring,
    LastOperation = Substring
};

class Session {
public:
    explicit Session(FuzzedDataProvider& in) : in_(in) {
        for (std::size_t i = 0; i < slots; ++i) strings_[i].emplace(1);
    }

    void step() {
        const auto operation = in_.ConsumeIntegralInRange<int>(0, LastOperation);
        const std::size_t i = in_.ConsumeIntegralInRange<std::size_t>(0, slots - 1);
        const std::size_t j = in_.ConsumeIntegralInRange<std::size_t>(0, slots - 1);
        apply(static_cast<Operation>(operation), i, j);
        for (std::size_t k = 0; k < slots; ++k) require_matches(*strings_[k], models_[k]);
    }

private:
    void apply(Operation operation, std::size_t i, std::size_t j) {
        kpstring& s = *strings_[i];
        Model& model = models_[i];
        switch (operation) {
            case ConstructEmpty: {
                const int capacity = in_.ConsumeIntegralInRange(min_capacity_request, max_capacity_request);
                strings_[i].emplace(capacity);
                model = narrow({});
                require(strings_[i]->capacity() == std::max(capacity, 1), "kpstring(int) gives another capacity");
                break;
            }
            case ConstructFromText: {
                const std::string text = consume_text(in_);
                strings_[i].emplace(text.c_str());
                model = narrow(text);
                break;
            }
            case ConstructFromNull:
                strings_[i].emplace(static_cast<const char*>(nullptr));
                model = narrow({});
                break;
            case CopyConstruct:
                // Copying a wide string is not supported (and says so on stdout).
                if (models_[j].wide || i == j) break;
                strings_[i].emplace(*strings_[j]);
                model = models_[j];
                break;
            case MoveConstruct:
                if (i == j) break;
                strings_[i].emplace(std::move(*strings_[j]));
                model = models_[j];
                models_[j] = narrow({});
                break;
            case AssignText: {
                const std::string text = consume_text(in_);
                s = text.c_str();
                model = narrow(text);
                break;
            }
            case AssignNull:
                s = static_cast<const char*>(nullptr);
                clear(model);
                break;
            case AssignOwnTail: {
                const std::string before = shown(model);
                const std::size_t offset = in_.ConsumeIntegralInRange<std::size_t>(0, before.size());
                s = s.c_str() + offset;
                model = narrow(before.substr(offset));
                break;
            }
            case CopyAssign:
                s = *strings_[j];
                model = models_[j];
                break;
            case MoveAssign:
                s = std::move(*strings_[j]);
                if (i == j) break;
                model = models_[j];
                models_[j] = narrow({});
                break;
            case AssignWide: {
                const std::u16string text = consume_wide(in_);
                s = text.c_str();
                model = wide(text);
                break;
            }
            case AssignWideNull:
                s = static_cast<const char16_t*>(nullptr);
                clear(model);
                break;
            case AppendText: {
                const std::string text = consume_text(in_);
                append(s, model, text.c_str());
                break;
            }
            case AppendNull:
                append(s, model, nullptr);
                break;
            case AppendOwnTail: {
                if (model.wide) break;
                const std::size_t offset = in_.ConsumeIntegralInRange<std::size_t>(0, model.narrow.size());
                append(s, model, s.c_str() + offset);
                break;
            }
            case AppendOther:
                if (model.wide) break;
                append(s, model, strings_[j]->c_str());
                break;
            case Reserve: {
                const int before = s.capacity();
                const int n = in_.ConsumeIntegralInRange(min_capacity_request, max_capacity_request);
                s.reserve(n);
                require(s.capacity() == std::max(before, n), "reserve() gives another capacity");
                break;
            }
            case Clear:
                s.clear();
                clear(model);
                break;
            case Substring: {
                const auto first = in_.ConsumeIntegral<int>();
                const auto last = in_.ConsumeIntegral<int>();
                const kpstring part = s.substring(first, last);
                require_matches(part, narrow(model_substring(model, first, last)));
                break;
            }
        }
    }

    static void clear(Model& model) {
        model.narrow.clear();
        model.wide_text.clear();
    }

    // Appends `source`, which may lie in the string itself: the model copies it first.
    // Appending a string to itself doubles it: past max_length the step is left out.
    static void append(kpstring& s, Model& model, const char* source) {
        const std::string text = source != nullptr ? source : "";
        if (model.narrow.size() + text.size() > max_length) return;
        const int before = s.capacity();
        s += source;
        if (model.wide || text.empty()) {
            require(s.capacity() == before, "appending nothing changed the capacity");
            return;
        }
        const int needed = static_cast<int>(model.narrow.size() + text.size() + 1);
        model.narrow += text;
        require(s.capacity() == std::max(before, needed), "+= grows to another capacity");
    }

    FuzzedDataProvider& in_;
    std::array<std::optional<kpstring>, slots> strings_;
    std::array<Model, slots> models_{};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    Session session(in);
    while (in.remaining_bytes() > 0) session.step();
    return 0;
}
