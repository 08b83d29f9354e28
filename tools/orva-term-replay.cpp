// Feeds standard input to a terminal emulator of the given size and prints the
// screen it ends with: one line per row, trailing blanks removed, then a last
// line "cursor X Y" (0-based column and row).
//
//   orva-term-replay --cols 80 --rows 24 [--resizes FILE] < recorded-output
//   orva-term-replay --script < fuzz-corpus-entry
//
// --resizes names a file of "OFFSET COLS ROWS" lines: the grid takes that size
// once OFFSET bytes are fed (the replay fixtures' NAME.resizes).
// With --script the input is a terminal fuzz target input (chunks and resizes,
// its first grid size in its first two bytes), so corpus entries and findings
// can be looked at.

#include "TerminalScript.h"
#include "terminal/core/ScreenText.h"
#include "terminal/core/Terminal.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Resize {
    std::size_t offset;
    int cols;
    int rows;
};

int usage()
{
    std::fprintf(stderr, "usage: orva-term-replay [--cols N] [--rows M] [--resizes FILE] < bytes\n"
                         "       orva-term-replay --script < fuzz-input\n");
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
    bool script = false;
    std::vector<Resize> resizes;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if ((std::strcmp(arg, "--cols") == 0 || std::strcmp(arg, "--rows") == 0) && i + 1 < argc) {
            int& target = arg[2] == 'c' ? cols : rows;
            if (!parseSize(argv[++i], target))
                return usage();
        } else if (std::strcmp(arg, "--script") == 0) {
            script = true;
        } else if (std::strcmp(arg, "--resizes") == 0 && i + 1 < argc) {
            std::ifstream in(argv[++i]);
            if (!in) {
                std::fprintf(stderr, "orva-term-replay: cannot read %s\n", argv[i]);
                return 1;
            }
            Resize r{};
            while (in >> r.offset >> r.cols >> r.rows)
                resizes.push_back(r);
        } else {
            return usage();
        }
    }

    std::vector<std::uint8_t> input;
    std::uint8_t chunk[16384];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n < 0) {
            std::perror("orva-term-replay: read");
            return 1;
        }
        if (n == 0)
            break;
        input.insert(input.end(), chunk, chunk + n);
    }

    std::unique_ptr<orva::Terminal> terminal;
    if (script) {
        const orva::test::ScriptSize size = orva::test::scriptInitialSize(input);
        if (size.cols == 0) {
            std::fprintf(stderr, "orva-term-replay: a script needs at least two bytes\n");
            return 1;
        }
        terminal = std::make_unique<orva::Terminal>(size.cols, size.rows, 40);
        orva::test::runScript(
            input, [&](std::span<const std::uint8_t> bytes) { terminal->feed(bytes); },
            [&](int c, int r) { terminal->resize(c, r); });
    } else {
        terminal = std::make_unique<orva::Terminal>(cols, rows);
        // Fed in reads of the size the view gets from the pseudo-terminal; a
        // read never crosses a resize.
        std::size_t at = 0;
        for (std::size_t step = 0; step <= resizes.size(); ++step) {
            const std::size_t end = step < resizes.size() ? std::min(resizes[step].offset, input.size()) : input.size();
            for (; at < end; at += std::min(sizeof chunk, end - at))
                terminal->feed(input.data() + at, std::min(sizeof chunk, end - at));
            if (step < resizes.size())
                terminal->resize(resizes[step].cols, resizes[step].rows);
        }
    }

    std::string out;
    for (const std::string& line : orva::visibleLines(*terminal)) {
        out += line;
        out += '\n';
    }
    out += "cursor " + std::to_string(terminal->cursorX()) + " " + std::to_string(terminal->cursorY()) + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
