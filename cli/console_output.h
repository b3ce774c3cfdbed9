// Standard output and error as a console shows them. On Windows a console window reads the
// bytes written to it in its own code page, so text bound for one goes to it as UTF-16;
// files and pipes get the UTF-8 bytes. Elsewhere nothing changes.
#pragma once

#include <memory>
#include <ostream>
#include <streambuf>
#include <vector>

// Redirects std::cout and std::cerr while it lives; made once, first thing in main.
class ConsoleOutput {
public:
    ConsoleOutput();
    // Writes what is left and gives the streams back their own buffers.
    ~ConsoleOutput();
    ConsoleOutput(const ConsoleOutput&) = delete;
    ConsoleOutput& operator=(const ConsoleOutput&) = delete;

private:
    struct Redirect {
        std::ostream* stream;
        std::streambuf* own_buffer;
        std::unique_ptr<std::streambuf> console_buffer;
    };
    std::vector<Redirect> redirects_;
};
