// Writes the emulator's table of character properties (columns, and how a
// character joins the cell before it) from Unicode's own data files, as the
// Debian package unicode-data installs them:
//
//   orva-generate-character-table /usr/share/unicode out/CharacterTable.inc
//
// Read: UnicodeData.txt (general categories), EastAsianWidth.txt,
// emoji/emoji-data.txt (Emoji_Presentation, Extended_Pictographic) and
// auxiliary/GraphemeBreakProperty.txt (Prepend, the Hangul vowel and final
// jamo, regional indicators). The rules that turn them into columns are the
// ones the programs in a terminal count by (the C library's wcwidth, which
// zsh, ls and tmux use); see characterProperties() below.

#include "terminal/core/CharacterProperties.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr char32_t kScalarCount = 0x110000;

[[noreturn]] void fail(const std::string& message)
{
    std::fprintf(stderr, "orva-generate-character-table: %s\n", message.c_str());
    std::exit(1);
}

std::string trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

char32_t parseHex(const std::string& text, const std::string& file)
{
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 16);
    if (text.empty() || *end != '\0' || value >= kScalarCount)
        fail(file + ": bad code point \"" + text + "\"");
    return static_cast<char32_t>(value);
}

std::ifstream open(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        fail("cannot read " + path);
    return in;
}

// Each data line of a property file ("XXXX..YYYY ; Value # comment"), as
// (first, last, value).
template <typename Each>
void readRanges(const std::string& path, Each each)
{
    std::ifstream in = open(path);
    std::string line;
    int count = 0;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        const auto semicolon = line.find(';');
        if (semicolon == std::string::npos)
            continue;
        const std::string range = trim(line.substr(0, semicolon));
        std::string value = trim(line.substr(semicolon + 1));
        value = trim(value.substr(0, value.find(';')));
        const auto dots = range.find("..");
        const char32_t first = parseHex(range.substr(0, dots), path);
        const char32_t last = dots == std::string::npos ? first : parseHex(range.substr(dots + 2), path);
        if (last < first)
            fail(path + ": reversed range " + range);
        each(first, last, value);
        ++count;
    }
    if (count == 0)
        fail(path + " holds no data");
}

struct Data {
    std::vector<std::string> category = std::vector<std::string>(kScalarCount);
    std::vector<std::string> eastAsianWidth = std::vector<std::string>(kScalarCount, "N");
    std::vector<bool> emojiPresentation = std::vector<bool>(kScalarCount);
    std::vector<bool> pictographic = std::vector<bool>(kScalarCount);
    std::vector<std::string> graphemeBreak = std::vector<std::string>(kScalarCount);
    std::string version;
};

void readUnicodeData(const std::string& path, Data& data)
{
    std::ifstream in = open(path);
    std::string line;
    char32_t rangeStart = 0;
    bool inRange = false;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream stream(line);
        std::string field;
        while (std::getline(stream, field, ';'))
            fields.push_back(field);
        if (fields.size() < 3)
            continue;
        const char32_t c = parseHex(fields[0], path);
        const std::string& name = fields[1];
        if (name.size() > 8 && name.compare(name.size() - 8, 8, ", First>") == 0) {
            rangeStart = c;
            inRange = true;
            continue;
        }
        const char32_t first = inRange && name.find(", Last>") != std::string::npos ? rangeStart : c;
        inRange = false;
        for (char32_t d = first; d <= c; ++d)
            data.category[d] = fields[2];
    }
}

void readVersion(const std::string& path, Data& data)
{
    std::ifstream in = open(path);
    std::string line;
    std::getline(in, line);
    // "# EastAsianWidth-15.0.0.txt"
    const auto dash = line.find('-');
    const auto dot = line.rfind(".txt");
    if (dash != std::string::npos && dot != std::string::npos && dot > dash)
        data.version = line.substr(dash + 1, dot - dash - 1);
}

// The columns a scalar takes and how it joins the cell before it.
std::uint8_t characterProperties(const Data& data, char32_t c)
{
    using namespace orva;
    const std::string& category = data.category[c];
    const std::string& graphemeBreak = data.graphemeBreak[c];
    const bool regional = graphemeBreak == "Regional_Indicator";
    int columns = 1;
    // No column: marks that do not space (variation selectors among them),
    // enclosing marks, the format characters (zero-width space and joiner,
    // direction marks, tags), the line and paragraph separators, and the
    // Hangul vowel and final jamo, which build a syllable with the initial
    // before them (decomposed Hangul, as macOS keeps file names).
    // Two exceptions among the format characters keep their column, as the
    // programs count them: the soft hyphen, drawn as a hyphen, and the
    // prepended marks (Arabic number signs and the like), which stand before
    // the digits they belong to.
    if (category == "Mn" || category == "Me" || category == "Zl" || category == "Zp"
        || (category == "Cf" && graphemeBreak != "Prepend" && c != 0x00AD) || graphemeBreak == "V"
        || graphemeBreak == "T") {
        columns = 0;
    } else if (data.eastAsianWidth[c] == "W" || data.eastAsianWidth[c] == "F"
               || (data.emojiPresentation[c] && !regional)) {
        columns = 2;
    } else if ((c >= 0x4DC0 && c <= 0x4DFF) || (c >= 0x3248 && c <= 0x324F)) {
        // The hexagram symbols and the circled numbers on black squares stand
        // in a Chinese block of their own and are two columns wide for the
        // programs, though East Asian Width counts them narrow or ambiguous.
        columns = 2;
    }
    std::uint8_t properties = static_cast<std::uint8_t>(columns);
    if (category == "Mc")
        properties |= characterSpacingMark;
    if (data.pictographic[c])
        properties |= characterPictographic;
    // A regional indicator counts one column, as the programs count it; two
    // in a row join into one flag of two columns.
    if (regional)
        properties |= characterRegionalIndicator;
    if (data.emojiPresentation[c])
        properties |= characterEmojiPresentation;
    return properties;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        fail("usage: orva-generate-character-table UNICODE-DATA-FOLDER OUTPUT");
    const std::string folder = argv[1];
    Data data;
    readUnicodeData(folder + "/UnicodeData.txt", data);
    readVersion(folder + "/EastAsianWidth.txt", data);
    // Unassigned code points of these blocks and planes are wide.
    for (const auto& [first, last] : std::array<std::pair<char32_t, char32_t>, 5>{
             {{0x3400, 0x4DBF}, {0x4E00, 0x9FFF}, {0xF900, 0xFAFF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD}}}) {
        for (char32_t c = first; c <= last; ++c)
            data.eastAsianWidth[c] = "W";
    }
    readRanges(folder + "/EastAsianWidth.txt", [&](char32_t first, char32_t last, const std::string& value) {
        for (char32_t c = first; c <= last; ++c)
            data.eastAsianWidth[c] = value;
    });
    readRanges(folder + "/emoji/emoji-data.txt", [&](char32_t first, char32_t last, const std::string& value) {
        for (char32_t c = first; c <= last; ++c) {
            if (value == "Emoji_Presentation")
                data.emojiPresentation[c] = true;
            else if (value == "Extended_Pictographic")
                data.pictographic[c] = true;
        }
    });
    readRanges(folder + "/auxiliary/GraphemeBreakProperty.txt",
               [&](char32_t first, char32_t last, const std::string& value) {
                   for (char32_t c = first; c <= last; ++c)
                       data.graphemeBreak[c] = value;
               });

    // Two stages: blocks of 2^shift scalars, equal blocks stored once.
    constexpr int shift = orva::characterBlockShift;
    constexpr char32_t blockSize = char32_t{1} << shift;
    using Block = std::array<std::uint8_t, blockSize>;
    std::vector<std::uint16_t> index;
    std::vector<Block> known;
    for (char32_t start = 0; start < kScalarCount; start += blockSize) {
        Block block{};
        for (char32_t i = 0; i < blockSize; ++i)
            block[i] = characterProperties(data, start + i);
        const std::size_t place =
            static_cast<std::size_t>(std::find(known.begin(), known.end(), block) - known.begin());
        if (place == known.size())
            known.push_back(block);
        index.push_back(static_cast<std::uint16_t>(place));
    }
    if (known.size() > 0xFFFF)
        fail("too many distinct blocks");
    std::vector<std::uint8_t> blocks;
    for (const Block& block : known)
        blocks.insert(blocks.end(), block.begin(), block.end());

    std::ofstream out(argv[2]);
    if (!out)
        fail(std::string("cannot write ") + argv[2]);
    out << "// Generated by orva-generate-character-table from the Unicode " << data.version
        << " data files; do not edit.\n";
    out << "static_assert(orva::characterBlockShift == " << shift << ");\n";
    out << "const char orva::characterDataVersion[] = \"" << data.version << "\";\n";
    const auto writeArray = [&out](const char* declaration, const auto& values) {
        out << declaration << "[" << values.size() << "] = {";
        for (std::size_t i = 0; i < values.size(); ++i)
            out << (i % 24 == 0 ? "\n" : "") << static_cast<unsigned>(values[i]) << ",";
        out << "\n};\n";
    };
    writeArray("const std::uint16_t orva::characterBlockIndex", index);
    writeArray("const std::uint8_t orva::characterBlocks", blocks);
    if (!out)
        fail(std::string("failed writing ") + argv[2]);
    return 0;
}
