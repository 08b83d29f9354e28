#pragma once

// The input format of the terminal fuzz target, shared with the replay tool so
// that a corpus entry or a finding can be replayed and its screen looked at.
// Two bytes choose the first grid size (1 + b % 132 columns, 1 + b % 50 rows);
// then each step byte either resizes (0xF8 or more, followed by two bytes:
// 1 + b % 160 columns, 1 + b % 60 rows) or feeds the next (step & 0x3F) + 1
// bytes as one chunk.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

namespace orva::test {

struct ScriptSize {
    int cols;
    int rows;
};

// The first grid size, or {0, 0} when the input is too short to hold one.
inline ScriptSize scriptInitialSize(std::span<const std::uint8_t> input)
{
    if (input.size() < 2)
        return {0, 0};
    return {1 + input[0] % 132, 1 + input[1] % 50};
}

// Calls onChunk(span) and onResize(cols, rows) for each step, in order.
template <typename OnChunk, typename OnResize>
void runScript(std::span<const std::uint8_t> input, OnChunk onChunk, OnResize onResize)
{
    std::size_t i = 2;
    const std::size_t size = input.size();
    while (i < size) {
        const std::uint8_t step = input[i++];
        if (step >= 0xF8) {
            if (i + 2 > size)
                return;
            onResize(1 + input[i] % 160, 1 + input[i + 1] % 60);
            i += 2;
        } else {
            const std::size_t length = std::min<std::size_t>((step & 0x3F) + 1, size - i);
            onChunk(input.subspan(i, length));
            i += length;
        }
    }
}

} // namespace orva::test
