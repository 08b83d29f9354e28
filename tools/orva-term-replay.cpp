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

#include <cerrno>
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

    std::uint8_t chunk[16384];
    // Reads standard input to its end, handing each read to `consume`.
    auto readInput = [&](auto&& consume) {
        for (;;) {
            const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                std::perror("orva-term-replay: read");
                return false;
            }
            if (n == 0)
                return true;
            consume(static_cast<std::size_t>(n));
        }
    };

    std::unique_ptr<orva::Terminal> terminal;
    if (script) {
        // A script is read whole: its first two bytes give the grid.
        std::vector<std::uint8_t> input;
        if (!readInput([&](std::size_t n) { input.insert(input.end(), chunk, chunk + n); }))
            return 1;
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
        // Fed as it is read, in reads of the size the view gets from the
        // pseudo-terminal. Holding the whole input first cost as much as the
        // emulator did on plain text: the growing copy's page faults and moves.
        terminal = std::make_unique<orva::Terminal>(cols, rows);
        // A read is cut at a resize's offset, so the grid takes its new size
        // exactly there; resizes past the input's end come after it.
        std::size_t fed = 0;
        std::size_t next = 0;
        auto resizeDue = [&](bool atEnd) {
            for (; next < resizes.size() && (atEnd || resizes[next].offset <= fed); ++next)
                terminal->resize(resizes[next].cols, resizes[next].rows);
        };
        resizeDue(false);
        if (!readInput([&](std::size_t n) {
                for (std::size_t at = 0; at < n;) {
                    std::size_t part = n - at;
                    if (next < resizes.size())
                        part = std::min(part, resizes[next].offset - fed);
                    terminal->feed(chunk + at, part);
                    at += part;
                    fed += part;
                    resizeDue(false);
                }
            }))
            return 1;
        resizeDue(true);
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
