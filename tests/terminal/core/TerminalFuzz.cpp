// libFuzzer target for the terminal emulator core. The input is a script of
// chunks and resizes (see TerminalScript.h). After every step the terminal's
// invariants must hold, and a second terminal fed the same bytes one at a time
// (no fast paths) must show the same cursor; at the end both screens must match.
// Every invariant is checked after every step: cursor inside the grid or at the
// pending-wrap column, a valid scroll region, the ring's count within capacity
// and ending with the screen, every line cols wide with whole wide characters
// (a wide cell always followed by its placeholder on the same line), widths of
// 0, 1 or 2 that fit the cells' scalars, clusters of valid scalars within
// their cap and each line's cluster store within its limit, yDisp within
// range, and the parser's buffers within their caps.

#include "TerminalInvariants.h"
#include "TerminalScript.h"
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

void check(const orva::Terminal& t, const char* which, bool cells, bool contents = false)
{
    const std::string error = orva::test::checkInvariants(t, cells, contents);
    if (!error.empty())
        failWith(which, error);
}

// Cell for cell: width, attribute and scalars (a cluster's place in its
// line's store may differ).
bool sameCells(const orva::Terminal& a, const orva::Terminal& b)
{
    const orva::Buffer& x = a.buffer();
    const orva::Buffer& y = b.buffer();
    if (x.lines.count() != y.lines.count() || x.yBase != y.yBase)
        return false;
    for (int r = 0; r < a.rows(); ++r) {
        const orva::BufferLine* lx = x.line(r);
        const orva::BufferLine* ly = y.line(r);
        if (!lx || !ly || lx->size() != ly->size() || lx->isWrapped != ly->isWrapped)
            return false;
        for (int c = 0; c < lx->size(); ++c) {
            const orva::CharData& cx = lx->cells[static_cast<std::size_t>(c)];
            const orva::CharData& cy = ly->cells[static_cast<std::size_t>(c)];
            if (cx.width != cy.width || cx.attribute != cy.attribute || lx->scalars(c) != ly->scalars(c))
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> input(data, size);
    const orva::test::ScriptSize initial = orva::test::scriptInitialSize(input);
    if (initial.cols == 0)
        return 0;
    // A small scroll-back so that the ring fills and evicts.
    orva::Terminal fast(initial.cols, initial.rows, 40);
    orva::Terminal slow(initial.cols, initial.rows, 40);

    const auto afterStep = [&] {
        // The wide-character pairing of every cell is checked on the chunked
        // terminal only (the byte-by-byte one must match it cell for cell);
        // the scalars the cells hold at the end.
        check(fast, "chunked", true);
        check(slow, "byte by byte", false);
        if (fast.cursorX() != slow.cursorX() || fast.cursorY() != slow.cursorY()
            || fast.parserState() != slow.parserState() || fast.isAlternateBuffer() != slow.isAlternateBuffer())
            failWith("chunked and byte-by-byte feeding differ", "cursor or parser state");
    };
    orva::test::runScript(
        input,
        [&](std::span<const std::uint8_t> chunk) {
            fast.feed(chunk);
            for (const std::uint8_t b : chunk)
                slow.feed(b);
            afterStep();
        },
        [&](int cols, int rows) {
            fast.resize(cols, rows);
            slow.resize(cols, rows);
            afterStep();
        });
    // What the cells hold (valid scalars, widths that fit them) once, at the end.
    check(fast, "chunked", true, true);
    check(slow, "byte by byte", true, true);
    if (!sameCells(fast, slow))
        failWith("chunked and byte-by-byte feeding differ", "screen contents");
    return 0;
}
