#pragma once

// One character cell of the terminal grid: its character, colours, style flags
// and width, plus the colour tables that turn cell colours into drawable colours
// and the rule that decides which characters take two columns.

#include <array>
#include <cstdint>
#include <string>

namespace orva {

// A set of style flags in a 16-bit raw value; the empty set is 0.
struct CharacterStyle {
    std::uint16_t rawValue = 0;

    constexpr CharacterStyle() = default;
    constexpr explicit CharacterStyle(std::uint16_t raw) : rawValue(raw) {}

    static const CharacterStyle bold;
    static const CharacterStyle dim;
    static const CharacterStyle italic;
    static const CharacterStyle underline;
    static const CharacterStyle blink;
    static const CharacterStyle inverse;
    static const CharacterStyle invisible;
    static const CharacterStyle strikethrough;

    constexpr bool isEmpty() const { return rawValue == 0; }
    // True when every flag of `other` is set here.
    constexpr bool contains(CharacterStyle other) const
    {
        return (rawValue & other.rawValue) == other.rawValue;
    }
    constexpr void insert(CharacterStyle other) { rawValue = static_cast<std::uint16_t>(rawValue | other.rawValue); }
    constexpr void remove(CharacterStyle other)
    {
        rawValue = static_cast<std::uint16_t>(rawValue & ~other.rawValue);
    }
    constexpr CharacterStyle unionWith(CharacterStyle other) const
    {
        return CharacterStyle(static_cast<std::uint16_t>(rawValue | other.rawValue));
    }
    constexpr CharacterStyle intersection(CharacterStyle other) const
    {
        return CharacterStyle(static_cast<std::uint16_t>(rawValue & other.rawValue));
    }
    constexpr CharacterStyle operator|(CharacterStyle other) const { return unionWith(other); }
    constexpr CharacterStyle operator&(CharacterStyle other) const { return intersection(other); }
    constexpr bool operator==(const CharacterStyle&) const = default;
};

inline constexpr CharacterStyle CharacterStyle::bold{1};
inline constexpr CharacterStyle CharacterStyle::dim{2};
inline constexpr CharacterStyle CharacterStyle::italic{4};
inline constexpr CharacterStyle CharacterStyle::underline{8};
inline constexpr CharacterStyle CharacterStyle::blink{16};
inline constexpr CharacterStyle CharacterStyle::inverse{32};
inline constexpr CharacterStyle CharacterStyle::invisible{64};
inline constexpr CharacterStyle CharacterStyle::strikethrough{128};

// A colour with alpha, each component a fraction of full intensity (0...1).
struct RgbColor {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;
    bool operator==(const RgbColor&) const = default;
};

// The colour of a cell's foreground or background.
class TerminalColor {
public:
    enum class Kind : std::uint8_t { ansi256, trueColor, defaultColor, defaultInvertedColor };

    constexpr TerminalColor() = default;

    static constexpr TerminalColor ansi256(std::uint8_t index) { return TerminalColor(Kind::ansi256, index, 0, 0); }
    static constexpr TerminalColor trueColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
    {
        return TerminalColor(Kind::trueColor, red, green, blue);
    }
    static constexpr TerminalColor defaultColor() { return TerminalColor(Kind::defaultColor, 0, 0, 0); }
    static constexpr TerminalColor defaultInvertedColor() { return TerminalColor(Kind::defaultInvertedColor, 0, 0, 0); }

    constexpr Kind kind() const { return m_kind; }
    // Palette index of an ansi256 colour.
    constexpr std::uint8_t index() const { return m_a; }
    // Components of a trueColor colour.
    constexpr std::uint8_t red() const { return m_a; }
    constexpr std::uint8_t green() const { return m_b; }
    constexpr std::uint8_t blue() const { return m_c; }

    // The drawable colour: defaultColor takes the default of the role the colour
    // plays (foreground when isForeground), defaultInvertedColor the other one.
    RgbColor rgbColor(const RgbColor& defaultForeground, const RgbColor& defaultBackground, bool isForeground) const;

    constexpr bool operator==(const TerminalColor&) const = default;

private:
    constexpr TerminalColor(Kind kind, std::uint8_t a, std::uint8_t b, std::uint8_t c)
        : m_kind(kind), m_a(a), m_b(b), m_c(c)
    {
    }

    // Payload bytes are zero when unused, so the defaulted equality compares
    // case and payload only.
    Kind m_kind = Kind::defaultColor;
    std::uint8_t m_a = 0;
    std::uint8_t m_b = 0;
    std::uint8_t m_c = 0;
};

struct CharAttribute {
    TerminalColor foreground = TerminalColor::defaultColor();
    TerminalColor background = TerminalColor::defaultColor();
    CharacterStyle style;

    static const CharAttribute defaultAttribute;

    constexpr bool operator==(const CharAttribute&) const = default;
};

inline constexpr CharAttribute CharAttribute::defaultAttribute{};

// One cell. `character` is the cell's one Unicode scalar, or, for a grapheme
// cluster of several scalars (a letter with its combining marks, decomposed
// Hangul, an emoji sequence), `clusterFlag` with the place of its scalars in
// the line's cluster store (BufferLine::scalars() reads either). A blank cell
// holds U+0020. `width` is 1 for a normal cell, 2 for a wide character (this
// column and the next) and 0 for the placeholder that follows a wide
// character.
struct CharData {
    static constexpr char32_t clusterFlag = 0x80000000;

    char32_t character = U' ';
    CharAttribute attribute;
    std::int8_t width = 1;

    static const CharData blank;

    constexpr bool isCluster() const { return (character & clusterFlag) != 0; }

    constexpr bool operator==(const CharData&) const = default;
};

inline constexpr CharData CharData::blank{};

// The 16 base colours, created once.
const std::array<RgbColor, 16>& ansiPalette();

// The colour of palette entry n (0-255): the base colours, a 6x6x6 cube of evenly
// spaced levels, then a grey ramp. Values outside 0-255 are clamped.
RgbColor colorForAnsi256(int n);

// True when the character occupies two columns (East Asian Wide and
// Fullwidth characters, emoji shown as pictures).
bool isWideCharacter(char32_t character);

// The UTF-8 form of one scalar (empty for a value that is not a scalar).
std::string utf8Encode(char32_t character);
void appendUtf8(std::string& out, char32_t character);

} // namespace orva
