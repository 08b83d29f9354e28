// Feeds standard input to a terminal emulator of the given size and prints the
// screen it ends with: one line per row, trailing blanks removed, then a last
// line "cursor X Y" (0-based column and row).
//
//   orva-term-replay --cols 80 --rows 24 < recorded-output

#include "terminal/core/ScreenText.h"
#include "terminal/core/Terminal.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: orva-term-replay --cols N --rows M < bytes\n");
    return 2;
}

bool parseSize(const char* text, int& out)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 1 || value > 10000)
        return false;
    out = static_cast<int>(value);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    int cols = 80;
    int rows = 24;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if ((std::strcmp(arg, "--cols") == 0 || std::strcmp(arg, "--rows") == 0) && i + 1 < argc) {
            int& target = arg[2] == 'c' ? cols : rows;
            if (!parseSize(argv[++i], target))
                return usage();
        } else {
            return usage();
        }
    }

    orva::Terminal terminal(cols, rows);
    char chunk[16384];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n < 0) {
            std::perror("orva-term-replay: read");
            return 1;
        }
        if (n == 0)
            break;
        terminal.feed(chunk, static_cast<std::size_t>(n));
    }

    std::string out;
    for (const std::string& line : orva::visibleLines(terminal)) {
        out += line;
        out += '\n';
    }
    out += "cursor " + std::to_string(terminal.cursorX()) + " " + std::to_string(terminal.cursorY()) + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
