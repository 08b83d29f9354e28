// libFuzzer target for the terminal emulator core. The input is a script:
// two bytes choose the first grid size, then each step either resizes (a step
// byte of 0xF8 or more, followed by two size bytes) or feeds the next
// (step & 0x3F) + 1 bytes as one chunk. After every step the terminal's
// invariants must hold, and a second terminal fed the same bytes one at a time
// (no fast paths) must show the same cursor; at the end both screens must match.
// Every invariant is checked after every step: cursor inside the grid or at the
// pending-wrap column, a valid scroll region, the ring's count within capacity
// and covering the screen, every line cols wide with whole wide characters,
// yDisp within range, and the parser's buffers within their caps.

#include "TerminalInvariants.h"
#include "terminal/core/ScreenText.h"
#include "terminal/core/Terminal.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

[[noreturn]] void failWith(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "terminal fuzz: %s: %s\n", what, detail.c_str());
    std::fflush(stderr);
    std::abort();
}

void check(const orva::Terminal& t, const char* which, bool cells)
{
    const std::string error = orva::test::checkInvariants(t, cells);
    if (!error.empty())
        failWith(which, error);
}

bool sameCells(const orva::Terminal& a, const orva::Terminal& b)
{
    const orva::Buffer& x = a.buffer();
    const orva::Buffer& y = b.buffer();
    if (x.lines.count() != y.lines.count() || x.yBase != y.yBase)
        return false;
    for (int r = 0; r < a.rows(); ++r) {
        const orva::BufferLine* lx = x.line(r);
        const orva::BufferLine* ly = y.line(r);
        if (!lx || !ly || lx->cells != ly->cells || lx->isWrapped != ly->isWrapped)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const int cols = 1 + data[0] % 132;
    const int rows = 1 + data[1] % 50;
    // A small scroll-back so that the ring fills and evicts.
    orva::Terminal fast(cols, rows, 40);
    orva::Terminal slow(cols, rows, 40);

    std::size_t i = 2;
    while (i < size) {
        const std::uint8_t step = data[i++];
        if (step >= 0xF8) {
            if (i + 2 > size)
                break;
            const int newCols = 1 + data[i] % 160;
            const int newRows = 1 + data[i + 1] % 60;
            i += 2;
            fast.resize(newCols, newRows);
            slow.resize(newCols, newRows);
        } else {
            const std::size_t length = std::min<std::size_t>((step & 0x3F) + 1, size - i);
            fast.feed(data + i, length);
            for (std::size_t k = 0; k < length; ++k)
                slow.feed(data[i + k]);
            i += length;
        }
        // The wide-character pairing of every cell is checked on the chunked
        // terminal only (the byte-by-byte one must match it cell for cell).
        check(fast, "chunked", true);
        check(slow, "byte by byte", false);
        if (fast.cursorX() != slow.cursorX() || fast.cursorY() != slow.cursorY()
            || fast.parserState() != slow.parserState() || fast.isAlternateBuffer() != slow.isAlternateBuffer())
            failWith("chunked and byte-by-byte feeding differ", "cursor or parser state");
    }
    if (!sameCells(fast, slow))
        failWith("chunked and byte-by-byte feeding differ", "screen contents");
    return 0;
}
