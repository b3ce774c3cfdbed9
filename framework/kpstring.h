// kpstring: the framework's owning, growable 8-bit string (ANSI code page bytes, never converted).
// It also stores 16-bit text in a "wide" mode that is kept but not otherwise supported.
#pragma once

#include <cstdint>

class kpstring {
public:
    // An empty string with a buffer of exactly `capacity` characters (at least 1).
    explicit kpstring(int capacity);
    // A copy of `text` with 32 characters of slack; null gives an empty string.
    kpstring(const char* text);
    kpstring(const kpstring& other);
    kpstring(kpstring&& other) noexcept;
    ~kpstring();

    // Text that lies inside this string's own buffer is copied safely.
    kpstring& operator=(const char* text);
    kpstring& operator=(const kpstring& other);
    kpstring& operator=(kpstring&& other) noexcept;
    // Enters wide mode: storage only; c_str() then answers "<unicodestr-nyi>".
    kpstring& operator=(const char16_t* wide_text);
    // Appends, growing to exactly the needed size; null or "" does nothing.
    // On a wide string it does nothing.
    kpstring& operator+=(const char* text);

    // Grows the active buffer to exactly n characters when it is smaller; keeps the contents.
    void reserve(int n);
    const char* c_str() const;
    int length() const;
    void clear();
    // The characters from `first` to `last`, both inclusive, clamped to the text;
    // an empty string when nothing is left (and for a wide string).
    kpstring substring(int first, int last) const;
    bool is_wide() const { return (flags_ & wide_flag) != 0; }
    int capacity() const { return capacity_; }

private:
    static constexpr std::uint16_t wide_flag = 1;

    void assign_narrow(const char* text);
    void release_buffers();

    std::uint16_t flags_ = 0;
    char* text_ = nullptr;
    char16_t* wide_text_ = nullptr;
    std::int32_t capacity_ = 0;
};
