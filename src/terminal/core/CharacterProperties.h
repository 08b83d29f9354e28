#pragma once

// What the emulator knows of each Unicode scalar: the columns it takes and how
// it joins the cell before it into one grapheme cluster. The table is
// generated at build time from Unicode's data files
// (generate/GenerateCharacterTable.cpp).

#include <cstdint>

namespace orva {

// The low two bits: the columns the scalar takes (0, 1 or 2). A scalar of no
// column joins the cell before it (a combining mark, a variation selector,
// the zero-width joiner and space, a Hangul vowel or final jamo).
inline constexpr std::uint8_t characterColumnsMask = 3;
// A spacing mark (general category Mc): it joins the cell before it and adds
// its columns, as long as the cell stays within two columns.
inline constexpr std::uint8_t characterSpacingMark = 4;
// Extended_Pictographic: it joins a cell that ends in a zero-width joiner
// (the parts of an emoji sequence such as a family or a running woman).
inline constexpr std::uint8_t characterPictographic = 8;
// A regional indicator: one column alone; a second one joins the first into
// one flag of two columns.
inline constexpr std::uint8_t characterRegionalIndicator = 16;
// Emoji_Presentation: shown as a picture (from a colour emoji font) by default.
inline constexpr std::uint8_t characterEmojiPresentation = 32;

inline constexpr int characterBlockShift = 7;

// The generated two-stage table: block numbers per 128 scalars, then the
// blocks of properties.
extern const std::uint16_t characterBlockIndex[];
extern const std::uint8_t characterBlocks[];
// The Unicode version of the data the table was generated from.
extern const char characterDataVersion[];

// The properties of a scalar; values past U+10FFFF have none (0 columns).
inline std::uint8_t characterProperties(char32_t c)
{
    if (c >= 0x110000)
        return 0;
    const unsigned block = characterBlockIndex[c >> characterBlockShift];
    return characterBlocks[(block << characterBlockShift) | (c & ((1u << characterBlockShift) - 1))];
}

// The columns a scalar takes on its own: 0, 1 or 2.
inline int characterColumns(char32_t c)
{
    return characterProperties(c) & characterColumnsMask;
}

} // namespace orva
