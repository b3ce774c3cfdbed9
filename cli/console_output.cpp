#include "console_output.h"

#include <iostream>
#include <utility>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#include "console_text.h"
#endif

namespace {

enum class StandardStream { Output, Error };

#if defined(_WIN32)
// A buffer writing to `console` as UTF-16; bytes that are not UTF-8, such as paths given in
// the ANSI code page, are read in that page.
std::unique_ptr<std::streambuf> console_buffer(HANDLE console) {
    const auto write = [console](std::u16string_view text) {
        const std::wstring wide(text.begin(), text.end());
        for (std::size_t done = 0; done < wide.size();) {
            DWORD written = 0;
            if (!WriteConsoleW(console, wide.data() + done, static_cast<DWORD>(wide.size() - done), &written,
                               nullptr) ||
                written == 0) {
                return false;
            }
            done += written;
        }
        return true;
    };
    return std::make_unique<Utf16Buffer>(write, static_cast<int>(GetACP()));
}

// A console buffer when `which` is a console window; null for a file, a pipe or none.
std::unique_ptr<std::streambuf> buffer_for(StandardStream which) {
    const HANDLE handle = GetStdHandle(which == StandardStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) return nullptr;
    return console_buffer(handle);
}
#else
// Terminals here take the UTF-8 bytes as they are.
std::unique_ptr<std::streambuf> buffer_for(StandardStream) { return nullptr; }
#endif

}  // namespace

ConsoleOutput::ConsoleOutput() {
    const std::pair<std::ostream*, StandardStream> streams[] = {{&std::cout, StandardStream::Output},
                                                                {&std::cerr, StandardStream::Error}};
    for (const auto& [stream, which] : streams) {
        std::unique_ptr<std::streambuf> buffer = buffer_for(which);
        if (!buffer) continue;
        stream->flush();
        std::streambuf* const own = stream->rdbuf(buffer.get());
        redirects_.push_back(Redirect{stream, own, std::move(buffer)});
    }
}

ConsoleOutput::~ConsoleOutput() {
    for (Redirect& redirect : redirects_) {
        redirect.stream->flush();
        redirect.stream->rdbuf(redirect.own_buffer);
    }
}
