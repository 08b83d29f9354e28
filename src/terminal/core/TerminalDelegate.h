#pragma once

#include <cstdint>
#include <span>

namespace orva {

// The emulator's outgoing callbacks. The terminal holds its delegate without
// owning it; every operation has an empty default so a delegate implements only
// what it needs. The terminal itself only ever calls bell() and sizeChanged().
class TerminalDelegate {
public:
    virtual ~TerminalDelegate() = default;

    // Bytes to be written to the host (the child process): the view's keys and
    // typed commands go through here.
    virtual void send(std::span<const std::uint8_t> data) { (void)data; }
    // The grid now has this size (after a real change).
    virtual void sizeChanged(int cols, int rows)
    {
        (void)cols;
        (void)rows;
    }
    // The host rang the bell (BEL).
    virtual void bell() {}
};

} // namespace orva
