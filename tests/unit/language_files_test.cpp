// The shipped translations: each holds exactly the keys of English.ini, is written in the
// Windows code page its users run and names it, and gives texts that join into reasons as
// English does.
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "code_page.h"
#include "language_catalog.h"
#include "sample_check.h"
#include "settings_tree.h"
#include "test_files.h"
#include "tra_checker.h"

namespace {

struct Language {
    const char* name;
    // Letters of the language as its code page writes them; each occurs in the file.
    const char* letters;
    // The reason for "@1 ~a~": text(tra.expected_equal), a blank, text(tra.found_tilde).
    const char* equal_then_tilde;
    int code_page;
    // The same reason in UTF-8.
    const char* equal_then_tilde_utf8;
};

// Named in listings (and so in the CTest names) rather than shown as raw bytes.
void PrintTo(const Language& language, std::ostream* out) { *out << language.name; }

const Language languages[] = {
    {"German", "\xe4\xf6\xfc\xdf",
     "Erwartet: ein Gleichheitszeichen (=) nach der Eintragsnummer \x96 gefunden: eine Tilde (~)", 1252,
     "Erwartet: ein Gleichheitszeichen (=) nach der Eintragsnummer – gefunden: eine Tilde (~)"},
    {"French", "\xe9\xe8\xe0\xe7\xea",
     "Attendu : un signe \xe9gal (=) apr\xe8s le num\xe9ro d'entr\xe9" "e \x96 trouv\xe9 : un tilde (~)", 1252,
     "Attendu : un signe égal (=) après le numéro d'entrée – trouvé : un tilde (~)"},
    {"Polish", "\xb9\xe6\xea\xb3\xf1\xf3\x9c\x9f\xbf",
     "Oczekiwano znaku r\xf3wno\x9c" "ci (=) po numerze wpisu \x96 znaleziono tyld\xea (~)", 1250,
     "Oczekiwano znaku równości (=) po numerze wpisu – znaleziono tyldę (~)"},
    {"Russian", "\xe0\xff\xb8",
     "\xce\xe6\xe8\xe4\xe0\xeb\xee\xf1\xfc: \xe7\xed\xe0\xea \xf0\xe0\xe2\xe5\xed\xf1\xf2\xe2\xe0 (=) "
     "\xef\xee\xf1\xeb\xe5 \xed\xee\xec\xe5\xf0\xe0 \xe7\xe0\xef\xe8\xf1\xe8 \x97 "
     "\xed\xe0\xe9\xe4\xe5\xed\xee: \xf2\xe8\xeb\xfc\xe4\xe0 (~)", 1251,
     "Ожидалось: знак равенства (=) после номера записи — найдено: тильда (~)"},
};

// The dotted keys of the values in the blocks of a language file, in file order.
std::vector<std::string> keys_of(const std::string& language) {
    const SettingsTree tree("languages/" + language + ".ini");
    std::vector<std::string> keys;
    for (const SettingsNode* block = tree.find("")->first_child(); block; block = block->next()) {
        if (block->kind() != SettingsNode::Block) continue;
        for (const SettingsNode* entry = block->first_child(); entry; entry = entry->next()) {
            if (entry->kind() != SettingsNode::Value) continue;
            keys.push_back(block->name() + "." + entry->name());
        }
    }
    return keys;
}

// Complete UTF-8 multi-byte sequences in `bytes`: none in a file written in a Windows code
// page, many in one saved as UTF-8 by mistake.
int utf8_sequences(const std::string& bytes) {
    int count = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
        const std::size_t tail =
            byte(i) >= 0xF5 ? 0 : byte(i) >= 0xF0 ? 3 : byte(i) >= 0xE0 ? 2 : byte(i) >= 0xC2 ? 1 : 0;
        std::size_t n = 0;
        while (n < tail && i + n + 1 < bytes.size() && (byte(i + n + 1) & 0xC0) == 0x80) ++n;
        if (tail > 0 && n == tail) ++count;
    }
    return count;
}

class LanguageFiles : public testing::TestWithParam<Language> {
protected:
    void SetUp() override {
        ASSERT_TRUE(catalog.load(GetParam().name)) << "run from a folder holding languages/";
    }
    LanguageCatalog catalog;
};

TEST_P(LanguageFiles, HoldExactlyTheEnglishKeys) {
    const std::vector<std::string> english = keys_of("English");
    ASSERT_FALSE(english.empty());
    EXPECT_EQ(keys_of(GetParam().name), english);
}

TEST_P(LanguageFiles, TextsFitAndJoinLikeTheEnglishOnes) {
    std::map<std::string, std::string> found_start;  // per prefix: how its found texts begin
    for (const std::string& key : keys_of("English")) {
        const std::string text = catalog.lookup(key.c_str());
        EXPECT_FALSE(text.empty()) << key;
        EXPECT_LE(text.size(), 255u) << key;
        EXPECT_EQ(text.find("  "), std::string::npos) << key;
        const std::size_t found = key.find(".found_");
        if (found != std::string::npos) {
            const std::string start = text.substr(0, text.find(' '));
            EXPECT_EQ(found_start.emplace(key.substr(0, found), start).first->second, start) << key;
        }
        if (key.find(".expected_number") != std::string::npos) {
            EXPECT_TRUE(!text.empty() && text.back() == ' ') << key << " is followed directly";
        }
    }
    TraChecker tra(&catalog);
    EXPECT_EQ(check_bytes(tra, "@1 ~a~").reason, GetParam().equal_then_tilde);
}

TEST_P(LanguageFiles, AreWrittenInTheirCodePage) {
    const std::string bytes =
        test_files::read_bytes(std::string("languages/") + GetParam().name + ".ini");
    EXPECT_EQ(utf8_sequences(bytes), 0);
    for (const char* letter = GetParam().letters; *letter != '\0'; ++letter) {
        EXPECT_NE(bytes.find(*letter), std::string::npos) << static_cast<unsigned char>(*letter) + 0;
    }
}

TEST_P(LanguageFiles, NameTheirCodePageAndConvertFromIt) {
    EXPECT_EQ(catalog.code_page(), GetParam().code_page);
    EXPECT_STREQ(catalog.lookup("language.codepage"), std::to_string(GetParam().code_page).c_str());
    TraChecker tra(&catalog);
    EXPECT_EQ(to_utf8(check_bytes(tra, "@1 ~a~").reason, catalog.code_page()), GetParam().equal_then_tilde_utf8);
}

// English is plain ASCII, so it reads alike in every page; it names 1252 as the others name theirs.
TEST(EnglishFile, NamesWindows1252) {
    LanguageCatalog english;
    ASSERT_TRUE(english.load("English")) << "run from a folder holding languages/";
    EXPECT_EQ(english.code_page(), 1252);
    EXPECT_EQ(english.lookup_utf8("tra.expected_tilde"), "Expected a tilde (~)");
}

TEST(LanguageFileBytes, Utf8SequencesAreCounted) {
    EXPECT_EQ(utf8_sequences("\xc5\x82 \xe2\x80\x93 \xf0\x9f\x98\x80"), 3);  // l-stroke, dash, emoji
    EXPECT_EQ(utf8_sequences("\xb3\xb9 \x96"), 0);  // the same kind of letters in Windows-1250
}

INSTANTIATE_TEST_SUITE_P(Shipped, LanguageFiles, testing::ValuesIn(languages),
                         [](const testing::TestParamInfo<Language>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
