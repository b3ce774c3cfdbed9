#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "kpstring.h"

namespace {

TEST(KpString, ConstructedEmptyOrFromText) {
    kpstring empty(32);
    EXPECT_STREQ(empty.c_str(), "");
    EXPECT_EQ(empty.length(), 0);
    EXPECT_EQ(empty.capacity(), 32);
    EXPECT_EQ(kpstring(0).capacity(), 1);

    kpstring abc("abc");
    EXPECT_STREQ(abc.c_str(), "abc");
    EXPECT_EQ(abc.capacity(), 3 + 32);
    EXPECT_STREQ(kpstring(static_cast<const char*>(nullptr)).c_str(), "");

    kpstring copy(abc);
    abc += "d";
    EXPECT_STREQ(copy.c_str(), "abc") << "a copy owns its buffer";
}

TEST(KpString, AssignmentAndClear) {
    kpstring s("abc");
    const int capacity = s.capacity();
    s = static_cast<const char*>(nullptr);
    EXPECT_STREQ(s.c_str(), "");
    EXPECT_EQ(s.capacity(), capacity);

    s = "a much longer text than before";
    EXPECT_STREQ(s.c_str(), "a much longer text than before");
    const int grown = s.capacity();
    s = "xy";
    EXPECT_EQ(s.capacity(), grown) << "a shorter text keeps the larger buffer";
    s = s;
    EXPECT_STREQ(s.c_str(), "xy");
    s.clear();
    EXPECT_EQ(s.length(), 0);
}

TEST(KpString, AppendsChainAndGrowExactly) {
    kpstring s(32);
    (s += "a") += "b";
    s += nullptr;
    s += "";
    s += "c";
    EXPECT_STREQ(s.c_str(), "abc");

    kpstring tight(4);
    tight += "abcdefgh";
    EXPECT_EQ(tight.capacity(), 9);
    EXPECT_STREQ(tight.c_str(), "abcdefgh");
}

TEST(KpString, OwnTextCanBeAppendedAndAssigned) {
    kpstring s(4);
    s += "abcdef";
    s += s.c_str();  // the buffer grows while its own text is the source
    EXPECT_STREQ(s.c_str(), "abcdefabcdef");
    s += s.c_str() + 9;
    EXPECT_STREQ(s.c_str(), "abcdefabcdefdef");
    s = s.c_str() + 3;
    EXPECT_STREQ(s.c_str(), "defabcdefdef");
}

TEST(KpString, Substring) {
    const kpstring name("english.ini");
    struct Row { int first, last; const char* expected; };
    const Row rows[] = {
        {0, name.length() - 5, "english"},
        {-3, 2, "eng"},
        {4, 100, "ish.ini"},
        {5, 4, ""},
        {11, 20, ""},
        // Bounds so far apart that their difference does not fit an int.
        {2000000000, -2000000000, ""},
        {INT_MAX, INT_MIN, ""},
    };
    for (const Row& row : rows) {
        EXPECT_STREQ(name.substring(row.first, row.last).c_str(), row.expected) << row.first << ".." << row.last;
    }
}

TEST(KpString, WideModeIsStorageOnly) {
    kpstring s("abc");
    s = u"wide";
    EXPECT_TRUE(s.is_wide());
    EXPECT_STREQ(s.c_str(), "<unicodestr-nyi>");
    EXPECT_EQ(s.length(), 4);
    s += "x";
    EXPECT_EQ(s.length(), 4);

    testing::internal::CaptureStdout();
    kpstring copy(s);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "kpstring:kpstring(const kpstring& x) NYI for UC");
    EXPECT_FALSE(copy.is_wide());
    EXPECT_STREQ(copy.c_str(), "");

    kpstring other(32);
    other = s;
    EXPECT_TRUE(other.is_wide());
    EXPECT_EQ(other.length(), 4);

    s = "narrow again";
    EXPECT_FALSE(s.is_wide());
    EXPECT_STREQ(s.c_str(), "narrow again");
}

}  // namespace
