#pragma once

// The terminal emulator core: a byte stream from the host goes in through
// feed(), the screen (Buffer) comes out. Standard C++ only; single-threaded.

#include "terminal/core/Buffer.h"
#include "terminal/core/CharData.h"
#include "terminal/core/TerminalDelegate.h"

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace orva {

struct TerminalModes {
    bool applicationCursor = false;
    bool applicationKeypad = false;
    bool wraparound = true;
    bool originMode = false;
    bool insertMode = false;
    bool lineFeedMode = false;
    bool cursorVisible = true;
    // The program wants pasted text between ESC [ 200 ~ and ESC [ 201 ~ (2004).
    bool bracketedPaste = false;

    static const TerminalModes defaultModes;

    bool operator==(const TerminalModes&) const = default;
};

inline const TerminalModes TerminalModes::defaultModes{};

enum class ParserState {
    ground,
    escape,
    escapeIntermediate,
    csiEntry,
    csiParam,
    csiIntermediate,
    csiIgnore,
    oscString,
    // A device control string (ESC P), start of string (ESC X), privacy
    // message (ESC ^) or application program command (ESC _): read to its end
    // and dropped.
    controlString,
};

class Terminal {
public:
    static constexpr int defaultScrollback = 10000;
    // What the parser keeps of one sequence; anything beyond is dropped.
    static constexpr int maxCsiParams = 32;
    static constexpr int maxCsiIntermediates = 8;
    static constexpr int maxOscLength = 4096;
    // Numeric parameters saturate at this value.
    static constexpr std::int64_t maxParamValue = INT64_MAX;

    // Sizes below 1 are taken as 1.
    Terminal(int cols, int rows, int scrollback = defaultScrollback);
    ~Terminal();

    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    // ---- Outgoing callbacks (not owned; may be null) ----
    TerminalDelegate* delegate() const { return m_delegate; }
    void setDelegate(TerminalDelegate* delegate) { m_delegate = delegate; }

    // ---- Input ----
    // One byte, in stream order.
    void feed(std::uint8_t byte);
    // A chunk of bytes; the same result as feeding them one by one.
    void feed(std::span<const std::uint8_t> bytes);
    void feed(const std::uint8_t* data, std::size_t size) { feed(std::span<const std::uint8_t>(data, size)); }
    void feed(const char* data, std::size_t size)
    {
        feed(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(data), size));
    }
    // The text's UTF-8 bytes.
    void feedText(std::string_view text) { feed(text.data(), text.size()); }

    // ---- State ----
    Buffer& buffer() { return *m_buffer; }
    const Buffer& buffer() const { return *m_buffer; }
    // While the alternate screen is shown: the saved main-screen buffer.
    Buffer* alternateBuffer() const { return m_alternateBuffer.get(); }
    bool isAlternateBuffer() const { return m_isAlternateBuffer; }
    int cols() const { return m_cols; }
    int rows() const { return m_rows; }
    int cursorX() const { return m_buffer->x; }
    int cursorY() const { return m_buffer->y; }
    const CharAttribute& currentAttribute() const { return m_currentAttribute; }
    const TerminalModes& modes() const { return m_modes; }
    ParserState parserState() const { return m_parserState; }
    std::span<const std::int64_t> csiParams() const
    {
        return std::span<const std::int64_t>(m_csiParams.data(), static_cast<std::size_t>(m_csiParamCount));
    }
    const std::string& csiIntermediate() const { return m_csiIntermediate; }
    // Raw bytes of the OSC string being (or last) read.
    const std::string& oscString() const { return m_oscString; }
    // What is kept of the control string being (or last) read, introducer
    // letter first; at most maxOscLength bytes.
    const std::string& controlString() const { return m_controlString; }
    int scrollbackSize() const { return m_scrollbackSize; }

    // ---- Dirty range, in screen rows; empty when refreshEnd < refreshStart ----
    int refreshStart() const { return m_refreshStart; }
    int refreshEnd() const { return m_refreshEnd; }
    // Returns the range and marks nothing changed, or nothing when empty.
    std::optional<std::pair<int, int>> takeDirtyRange();
    void clearDirtyRange();

    // ---- Screen operations (the parser's actions, also callable directly) ----
    // One decoded scalar. A scalar of no column (a combining mark, a variation
    // selector, a zero-width joiner or space, a Hangul vowel or final jamo)
    // joins the cell left of the cursor, as does an emoji after a zero-width
    // joiner; a second regional indicator and a spacing mark join it and
    // widen it to two columns when the column after it is free. Since what it
    // joins is on the screen, a cluster split between two reads still joins.
    void printCharacter(char32_t character);
    void executeControl(std::uint8_t byte);
    void lineFeed();
    void reverseIndex();
    void eraseInDisplay(std::int64_t mode);
    void eraseInLine(std::int64_t mode);
    void cursorUp(std::int64_t n);
    void cursorDown(std::int64_t n);
    void cursorForward(std::int64_t n);
    void cursorBackward(std::int64_t n);
    // 1-based row and column; with origin mode on the row counts from the
    // scroll region's top and stays inside it.
    void cursorPosition(std::int64_t row, std::int64_t column);
    // Absolute 1-based column / row (CSI G and `, CSI d).
    void cursorColumn(std::int64_t column);
    void cursorRow(std::int64_t row);
    // CSI E / F: down / up n lines, then column 0.
    void cursorNextLine(std::int64_t n);
    void cursorPreviousLine(std::int64_t n);
    // CSI @, P, X: blanks inserted, characters deleted, characters erased at the cursor.
    void insertCharacters(std::int64_t n);
    void deleteCharacters(std::int64_t n);
    void eraseCharacters(std::int64_t n);
    // CSI L, M: lines inserted / deleted at the cursor row inside the scroll region.
    void insertLines(std::int64_t n);
    void deleteLines(std::int64_t n);
    // CSI S, T: the scroll region scrolled up / down.
    void scrollUp(std::int64_t n);
    void scrollDown(std::int64_t n);
    // CSI b: the last printed character printed n more times.
    void repeatPrecedingCharacter(std::int64_t n);
    // Top and bottom parameters, 0 standing for the default.
    void setScrollRegion(std::int64_t top, std::int64_t bottom);
    void saveCursor();
    void restoreCursor();
    void setMode(std::span<const std::int64_t> params, bool isPrivate, bool enabled);
    void selectGraphicRendition(std::span<const std::int64_t> params);
    void switchToMainBuffer();
    // Ignored unless both are at least 1 and differ from the current size.
    void resize(int cols, int rows);
    void reset();

private:
    void feedSlow(std::uint8_t byte);
    void dispatch(std::uint8_t byte, char32_t character);
    void escDispatch(std::uint8_t byte, char32_t character);
    void handleCsiEntry(std::uint8_t byte, char32_t character);
    void handleCsiParam(std::uint8_t byte, char32_t character);
    void handleCsiIntermediate(std::uint8_t byte, char32_t character);
    void handleOscString(std::uint8_t byte, char32_t character);
    void handleControlString(std::uint8_t byte);
    void csiDispatch(char32_t final);
    void oscDispatch();
    void beginCsi();
    void addCsiDigit(int digit);
    void addCsiParam();
    void appendCsiIntermediate(char c);

    // Prints a run of printable ASCII (0x20-0x7E) with the same effect as
    // printCharacter() for each byte.
    void printAscii(const std::uint8_t* data, std::size_t size);
    // Writes one cell of `width` columns (1 or 2) holding these scalars at the
    // cursor: the pending wrap, wide characters at the margin, insert mode.
    void writeCell(std::u32string_view scalars, int width);
    // Joins the scalar to the cell left of the cursor when its properties
    // (from characterProperties()) let it; false when it stands on its own.
    bool joinPreviousCell(char32_t character, std::uint8_t properties);
    // Remembers column c of the cursor's line as the last printed cell, for CSI b.
    void rememberPrinted(const BufferLine& line, int c);

    // Screen row of a 1-based row parameter of CUP, HVP or VPA.
    int addressedRow(std::int64_t row) const;
    void enterAlternateScreen();
    void saveCursorRecord();
    void restoreCursorRecord();
    void blankScreen();

    void markDirty(int row)
    {
        if (row < m_refreshStart)
            m_refreshStart = row;
        if (row > m_refreshEnd)
            m_refreshEnd = row;
    }
    void markAllDirty()
    {
        m_refreshStart = 0;
        m_refreshEnd = m_rows - 1;
    }

    TerminalDelegate* m_delegate = nullptr;
    std::unique_ptr<Buffer> m_buffer;
    std::unique_ptr<Buffer> m_alternateBuffer;
    bool m_isAlternateBuffer = false;
    int m_cols;
    int m_rows;
    CharAttribute m_currentAttribute;
    TerminalModes m_modes;
    ParserState m_parserState = ParserState::ground;
    std::array<std::int64_t, maxCsiParams> m_csiParams{};
    int m_csiParamCount = 0;
    // Set once a parameter past the limit was started: its digits are dropped.
    bool m_csiParamsOverflow = false;
    std::string m_csiIntermediate;
    // A "?" marker was read / a "<", "=" or ">" marker was read / an
    // intermediate byte (0x20-0x2F) was read.
    bool m_csiPrivate = false;
    bool m_csiUnsupportedMarker = false;
    bool m_csiHasIntermediate = false;
    std::string m_oscString;
    std::string m_controlString;
    std::array<std::uint8_t, 4> m_utf8Buffer{};
    int m_utf8Length = 0;
    int m_utf8Expected = 0;
    int m_refreshStart = INT_MAX;
    int m_refreshEnd = 0;
    int m_scrollbackSize;
    // The last cell printed, for CSI b: its scalars (none before the first)
    // and its columns.
    std::array<char32_t, BufferLine::maxClusterScalars> m_lastPrinted{};
    int m_lastPrintedCount = 0;
    int m_lastPrintedWidth = 1;
    // The last character printed was not written (a wide character with no
    // room for its second column): what would join it is dropped with it.
    bool m_lastPrintedDropped = false;
};

} // namespace orva
