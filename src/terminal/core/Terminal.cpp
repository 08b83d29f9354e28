// The input side of the terminal: UTF-8 assembly and the control-function
// parser. The actions it dispatches to live in TerminalScreen.cpp.

#include "terminal/core/Terminal.h"

#include <algorithm>

namespace orva {

namespace {

bool isDigit(std::uint8_t b)
{
    return b >= '0' && b <= '9';
}

bool isPrivateMarker(std::uint8_t b)
{
    return b == '<' || b == '=' || b == '>' || b == '?';
}

bool isIntermediate(std::uint8_t b)
{
    return b >= 0x20 && b <= 0x2F;
}

bool isFinal(std::uint8_t b)
{
    return b >= 0x40 && b <= 0x7E;
}

bool isPrintableAscii(std::uint8_t b)
{
    return b >= 0x20 && b < 0x7F;
}

// Decodes one complete UTF-8 sequence; false for overlong forms, surrogates and
// values past U+10FFFF.
bool decodeUtf8(const std::uint8_t* bytes, int length, char32_t& out)
{
    char32_t cp = 0;
    char32_t minimum = 0;
    switch (length) {
    case 2:
        cp = bytes[0] & 0x1Fu;
        minimum = 0x80;
        break;
    case 3:
        cp = bytes[0] & 0x0Fu;
        minimum = 0x800;
        break;
    case 4:
        cp = bytes[0] & 0x07u;
        minimum = 0x10000;
        break;
    default:
        return false;
    }
    for (int i = 1; i < length; ++i)
        cp = (cp << 6) | (bytes[i] & 0x3Fu);
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return false;
    out = cp;
    return true;
}

} // namespace

Terminal::Terminal(int cols, int rows, int scrollback)
    : m_buffer(std::make_unique<Buffer>(std::max(cols, 1), std::max(rows, 1), std::max(scrollback, 0)))
    , m_cols(std::max(cols, 1))
    , m_rows(std::max(rows, 1))
    , m_scrollbackSize(std::max(scrollback, 0))
{
    m_csiIntermediate.reserve(maxCsiIntermediates);
}

Terminal::~Terminal() = default;

void Terminal::feed(std::uint8_t byte)
{
    feedSlow(byte);
}

void Terminal::feed(std::span<const std::uint8_t> bytes)
{
    const std::uint8_t* p = bytes.data();
    const std::uint8_t* const end = p + bytes.size();
    while (p < end) {
        if (m_parserState == ParserState::ground && m_utf8Expected == 0 && isPrintableAscii(*p)) {
            const std::uint8_t* q = p + 1;
            while (q < end && isPrintableAscii(*q))
                ++q;
            printAscii(p, static_cast<std::size_t>(q - p));
            p = q;
            continue;
        }
        if (m_parserState == ParserState::ground && m_utf8Expected == 0 && *p >= 0xC0 && *p < 0xF8) {
            // A whole multi-byte character inside the chunk is decoded in one go,
            // with the result the byte-by-byte path would give.
            const int length = *p < 0xE0 ? 2 : (*p < 0xF0 ? 3 : 4);
            if (end - p >= length) {
                bool complete = true;
                for (int k = 1; k < length; ++k)
                    complete = complete && (p[k] & 0xC0) == 0x80;
                if (complete) {
                    char32_t cp = 0;
                    if (decodeUtf8(p, length, cp))
                        printCharacter(cp);
                    p += length;
                    continue;
                }
            }
        }
        feedSlow(*p++);
    }
}

void Terminal::feedSlow(std::uint8_t b)
{
    if (m_utf8Expected >= 1) {
        if ((b & 0xC0) == 0x80) {
            m_utf8Buffer[static_cast<std::size_t>(m_utf8Length++)] = b;
            if (--m_utf8Expected > 0)
                return;
            char32_t cp = 0;
            const bool ok = decodeUtf8(m_utf8Buffer.data(), m_utf8Length, cp);
            m_utf8Length = 0;
            if (ok)
                printCharacter(cp);
            return;
        }
        // The unfinished character is dropped; b starts afresh.
        m_utf8Length = 0;
        m_utf8Expected = 0;
    }
    if (m_parserState == ParserState::ground && b >= 0x80) {
        int expected = 0;
        if ((b & 0xE0) == 0xC0)
            expected = 1;
        else if ((b & 0xF0) == 0xE0)
            expected = 2;
        else if ((b & 0xF8) == 0xF0)
            expected = 3;
        if (expected > 0) {
            m_utf8Buffer[0] = b;
            m_utf8Length = 1;
            m_utf8Expected = expected;
            return;
        }
    }
    // Any other byte stands for the character of the same value (U+0000-U+00FF).
    dispatch(b, static_cast<char32_t>(b));
}

void Terminal::dispatch(std::uint8_t b, char32_t ch)
{
    switch (m_parserState) {
    case ParserState::ground:
        if (b == 0x1B)
            m_parserState = ParserState::escape;
        else if (b < 0x20)
            executeControl(b);
        else
            printCharacter(ch);
        return;
    case ParserState::escape:
        escDispatch(b, ch);
        return;
    case ParserState::escapeIntermediate:
        if (!isIntermediate(b))
            m_parserState = ParserState::ground;
        return;
    case ParserState::csiEntry:
        handleCsiEntry(b, ch);
        return;
    case ParserState::csiParam:
        handleCsiParam(b, ch);
        return;
    case ParserState::csiIntermediate:
        handleCsiIntermediate(b, ch);
        return;
    case ParserState::csiIgnore:
        if (isFinal(b))
            m_parserState = ParserState::ground;
        return;
    case ParserState::oscString:
        handleOscString(b, ch);
        return;
    case ParserState::controlString:
        handleControlString(b);
        return;
    }
}

void Terminal::escDispatch(std::uint8_t b, char32_t)
{
    m_parserState = ParserState::ground;
    switch (b) {
    case 0x1B:
        m_parserState = ParserState::escape;
        break;
    case '[':
        beginCsi();
        m_parserState = ParserState::csiEntry;
        break;
    case ']':
        m_oscString.clear();
        m_parserState = ParserState::oscString;
        break;
    case 'P':
    case 'X':
    case '^':
    case '_':
        m_controlString.assign(1, static_cast<char>(b));
        m_parserState = ParserState::controlString;
        break;
    case '7':
        saveCursor();
        break;
    case '8':
        restoreCursor();
        break;
    case 'D':
        lineFeed();
        break;
    case 'E':
        m_buffer->x = 0;
        lineFeed();
        break;
    case 'M':
        reverseIndex();
        break;
    case 'c':
        reset();
        break;
    case '=':
        m_modes.applicationKeypad = true;
        break;
    case '>':
        m_modes.applicationKeypad = false;
        break;
    case '(':
    case ')':
    case '*':
    case '+':
    case ' ':
    case '#':
    case '%':
        // Character-set designations and the like: their final byte is dropped.
        m_parserState = ParserState::escapeIntermediate;
        break;
    default:
        break;
    }
}

void Terminal::beginCsi()
{
    m_csiParamCount = 0;
    m_csiParamsOverflow = false;
    m_csiIntermediate.clear();
    m_csiPrivate = false;
    m_csiUnsupportedMarker = false;
    m_csiHasIntermediate = false;
}

void Terminal::addCsiParam()
{
    if (m_csiParamCount < maxCsiParams)
        m_csiParams[static_cast<std::size_t>(m_csiParamCount++)] = 0;
    else
        m_csiParamsOverflow = true;
}

void Terminal::addCsiDigit(int digit)
{
    if (m_csiParamsOverflow)
        return;
    if (m_csiParamCount == 0)
        addCsiParam();
    std::int64_t& value = m_csiParams[static_cast<std::size_t>(m_csiParamCount - 1)];
    if (value > (maxParamValue - digit) / 10)
        value = maxParamValue;
    else
        value = value * 10 + digit;
}

void Terminal::appendCsiIntermediate(char c)
{
    // The markers are remembered even past the cap, so they decide the
    // sequence's meaning whatever came before them.
    if (c == '?')
        m_csiPrivate = true;
    else if (c == '<' || c == '=' || c == '>')
        m_csiUnsupportedMarker = true;
    else if (isIntermediate(static_cast<std::uint8_t>(c)))
        m_csiHasIntermediate = true;
    if (static_cast<int>(m_csiIntermediate.size()) < maxCsiIntermediates)
        m_csiIntermediate.push_back(c);
}

void Terminal::handleCsiEntry(std::uint8_t b, char32_t ch)
{
    if (isDigit(b)) {
        addCsiDigit(b - '0');
        m_parserState = ParserState::csiParam;
    } else if (b == ':') {
        m_parserState = ParserState::csiIgnore;
    } else if (b == ';') {
        addCsiParam();
        addCsiParam();
        m_parserState = ParserState::csiParam;
    } else if (isPrivateMarker(b)) {
        appendCsiIntermediate(static_cast<char>(b));
        m_parserState = ParserState::csiParam;
    } else if (isIntermediate(b)) {
        appendCsiIntermediate(static_cast<char>(b));
        m_parserState = ParserState::csiIntermediate;
    } else if (isFinal(b)) {
        m_parserState = ParserState::ground;
        csiDispatch(ch);
    } else {
        m_parserState = ParserState::ground;
    }
}

void Terminal::handleCsiParam(std::uint8_t b, char32_t ch)
{
    if (isDigit(b)) {
        addCsiDigit(b - '0');
    } else if (b == ';') {
        if (m_csiParamCount == 0)
            addCsiParam();
        addCsiParam();
    } else if (b == ':') {
        m_parserState = ParserState::csiIgnore;
    } else if (isPrivateMarker(b)) {
        appendCsiIntermediate(static_cast<char>(b));
    } else if (isIntermediate(b)) {
        appendCsiIntermediate(static_cast<char>(b));
        m_parserState = ParserState::csiIntermediate;
    } else if (isFinal(b)) {
        m_parserState = ParserState::ground;
        csiDispatch(ch);
    } else {
        m_parserState = ParserState::ground;
    }
}

void Terminal::handleCsiIntermediate(std::uint8_t b, char32_t ch)
{
    if (isIntermediate(b)) {
        appendCsiIntermediate(static_cast<char>(b));
    } else if (isFinal(b)) {
        m_parserState = ParserState::ground;
        csiDispatch(ch);
    } else {
        m_parserState = ParserState::csiIgnore;
    }
}

void Terminal::handleOscString(std::uint8_t b, char32_t)
{
    if (b == 0x07) {
        oscDispatch();
        m_parserState = ParserState::ground;
    } else if (b == 0x1B) {
        // ESC \ ends the string; the backslash is then dropped as an unknown ESC.
        oscDispatch();
        m_parserState = ParserState::escape;
    } else if (b < 0x20) {
        // Other controls inside the string are skipped.
    } else if (static_cast<int>(m_oscString.size()) < maxOscLength) {
        m_oscString.push_back(static_cast<char>(b));
    }
}

void Terminal::handleControlString(std::uint8_t b)
{
    // Nothing of the string is printed or answered. ESC ends it: ESC \ is the
    // string terminator, whose backslash the escape state then drops, and an
    // ESC that starts anything else begins that sequence. CAN and SUB cancel
    // it; BEL and other controls are part of it, as in xterm.
    if (b == 0x1B) {
        m_parserState = ParserState::escape;
    } else if (b == 0x18 || b == 0x1A) {
        m_parserState = ParserState::ground;
    } else if (static_cast<int>(m_controlString.size()) < maxOscLength) {
        m_controlString.push_back(static_cast<char>(b));
    }
}

void Terminal::oscDispatch()
{
    // Operating-system commands (window titles, colours, clipboard, ...) have no
    // effect here, and the terminal never answers queries.
}

void Terminal::csiDispatch(char32_t final)
{
    // A marker other than "?" introduces a request this terminal does not
    // support (keyboard modes, secondary attributes, ...), and an intermediate
    // byte makes another function of the same final (SP A scrolls right, SP @
    // scrolls left, SP q sets the cursor style, ! p is a soft reset, ...),
    // none of which is supported here: the whole sequence is ignored rather
    // than read as its final byte's ordinary meaning.
    if (m_csiUnsupportedMarker || m_csiHasIntermediate)
        return;
    const std::span<const std::int64_t> params = csiParams();
    const std::int64_t p0 = params.empty() ? 0 : params[0];
    const std::int64_t p1 = params.size() < 2 ? 0 : params[1];
    const bool isPrivate = m_csiPrivate;
    const std::int64_t count = std::max<std::int64_t>(p0, 1);
    // Finals that have no private form are only read without the "?" marker.
    const bool plain = !isPrivate;

    switch (final) {
    case 'A':
        cursorUp(count);
        break;
    case 'B':
        cursorDown(count);
        break;
    case 'C':
        cursorForward(count);
        break;
    case 'D':
        cursorBackward(count);
        break;
    case 'H':
    case 'f':
        cursorPosition(std::max<std::int64_t>(p0, 1), std::max<std::int64_t>(p1, 1));
        break;
    case 'J':
        eraseInDisplay(p0);
        break;
    case 'K':
        eraseInLine(p0);
        break;
    case 'h':
        setMode(params, isPrivate, true);
        break;
    case 'l':
        setMode(params, isPrivate, false);
        break;
    case 'm':
        // CSI ? ... m queries the key-modifier options; it is not a rendition.
        if (isPrivate)
            break;
        if (params.empty())
            m_currentAttribute = CharAttribute::defaultAttribute;
        else
            selectGraphicRendition(params);
        break;
    case 'r':
        // CSI ? ... r restores saved private modes; it is not a scroll region.
        if (!isPrivate)
            setScrollRegion(p0, p1);
        break;
    case 'G':
    case '`':
        if (plain)
            cursorColumn(count);
        break;
    case 'd':
        if (plain)
            cursorRow(count);
        break;
    case 'E':
        if (plain)
            cursorNextLine(count);
        break;
    case 'F':
        if (plain)
            cursorPreviousLine(count);
        break;
    case '@':
        if (plain)
            insertCharacters(count);
        break;
    case 'P':
        if (plain)
            deleteCharacters(count);
        break;
    case 'X':
        if (plain)
            eraseCharacters(count);
        break;
    case 'L':
        if (plain)
            insertLines(count);
        break;
    case 'M':
        if (plain)
            deleteLines(count);
        break;
    case 'S':
        if (plain)
            scrollUp(count);
        break;
    case 'T':
        // With several parameters this is a mouse-tracking request, not a scroll.
        if (plain && params.size() <= 1)
            scrollDown(count);
        break;
    case 'b':
        if (plain)
            repeatPrecedingCharacter(count);
        break;
    default:
        break;
    }
}

} // namespace orva
