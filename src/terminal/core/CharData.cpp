#include "terminal/core/CharData.h"

#include "terminal/core/CharacterProperties.h"

#include <algorithm>

namespace orva {

const std::array<RgbColor, 16>& ansiPalette()
{
    static const std::array<RgbColor, 16> palette = {{
        {0, 0, 0, 1},
        {0.8, 0, 0, 1},
        {0, 0.8, 0, 1},
        {0.8, 0.8, 0, 1},
        {0.4, 0.4, 1.0, 1},
        {0.8, 0, 0.8, 1},
        {0, 0.8, 0.8, 1},
        {0.75, 0.75, 0.75, 1},
        {0.5, 0.5, 0.5, 1},
        {1.0, 0.3, 0.3, 1},
        {0.3, 1.0, 0.3, 1},
        {1.0, 1.0, 0.3, 1},
        {0.5, 0.5, 1.0, 1},
        {1.0, 0.3, 1.0, 1},
        {0.3, 1.0, 1.0, 1},
        {1.0, 1.0, 1.0, 1},
    }};
    return palette;
}

RgbColor colorForAnsi256(int n)
{
    n = std::clamp(n, 0, 255);
    if (n < 16)
        return ansiPalette()[static_cast<std::size_t>(n)];
    if (n < 232) {
        const int m = n - 16;
        const auto level = [](int l) { return l * 51 / 255.0; };
        return {level(m / 36), level((m / 6) % 6), level(m % 6), 1};
    }
    const double grey = (8 + 10 * (n - 232)) / 255.0;
    return {grey, grey, grey, 1};
}

RgbColor TerminalColor::rgbColor(const RgbColor& defaultForeground, const RgbColor& defaultBackground,
                                 bool isForeground) const
{
    switch (m_kind) {
    case Kind::ansi256:
        return colorForAnsi256(m_a);
    case Kind::trueColor:
        return {m_a / 255.0, m_b / 255.0, m_c / 255.0, 1};
    case Kind::defaultColor:
        return isForeground ? defaultForeground : defaultBackground;
    case Kind::defaultInvertedColor:
        return isForeground ? defaultBackground : defaultForeground;
    }
    return defaultForeground;
}

bool isWideCharacter(char32_t c)
{
    return characterColumns(c) == 2;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        if (c >= 0xD800 && c <= 0xDFFF)
            return;
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c <= 0x10FFFF) {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::string utf8Encode(char32_t c)
{
    std::string out;
    appendUtf8(out, c);
    return out;
}

} // namespace orva
static_assert(sizeof(orva::CharData) <= 16, "cells are stored inline in every line; keep them small");
