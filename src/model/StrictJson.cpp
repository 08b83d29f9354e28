#include "model/StrictJson.h"

#include "platform/Utf8.h"

#include <cstdint>
#include <limits>

namespace orva::json {

const Node* Node::member(const QString& key) const
{
    for (std::size_t i = memberKeys.size(); i-- > 0;) {
        if (memberKeys[i] == key)
            return &memberValues[i];
    }
    return nullptr;
}

QString describe(Node::Kind kind)
{
    switch (kind) {
    case Node::Kind::null: return QStringLiteral("null");
    case Node::Kind::boolean: return QStringLiteral("a boolean");
    case Node::Kind::number: return QStringLiteral("a number");
    case Node::Kind::string: return QStringLiteral("a string");
    case Node::Kind::array: return QStringLiteral("an array");
    case Node::Kind::object: return QStringLiteral("an object");
    }
    return QString();
}

qsizetype firstInvalidUtf8(const QByteArray& bytes)
{
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            cp = c & 0x1F;
            minimum = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            cp = c & 0x0F;
            minimum = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            cp = c & 0x07;
            minimum = 0x10000;
        } else {
            return i; // continuation byte, C0/C1 or F5..FF
        }
        if (n - i < length)
            return i;
        for (int k = 1; k < length; ++k) {
            const unsigned char cc = s[i + k];
            if ((cc & 0xC0) != 0x80)
                return i;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return i;
        i += length;
    }
    return -1;
}

namespace {

// Deep enough for any task plan, shallow enough that hostile input cannot
// exhaust the stack.
constexpr int kMaxDepth = 256;

class Parser {
public:
    Parser(const QByteArray& bytes, qsizetype start)
        : m_data(bytes.constData()), m_size(bytes.size()), m_pos(start) {}

    std::optional<Node> run(QString* error)
    {
        Node root;
        skipWhitespace();
        if (!parseValue(root, 0) || !(skipWhitespace(), atEndOrFail())) {
            if (error)
                *error = QStringLiteral("Invalid JSON at byte offset %1: %2").arg(m_errorPos).arg(m_error);
            return std::nullopt;
        }
        return root;
    }

private:
    const char* m_data;
    qsizetype m_size;
    qsizetype m_pos;
    qsizetype m_errorPos = 0;
    QString m_error;

    bool fail(const QString& message)
    {
        m_errorPos = m_pos;
        m_error = message;
        return false;
    }

    bool atEndOrFail()
    {
        if (m_pos == m_size)
            return true;
        return fail(QStringLiteral("unexpected data after the value"));
    }

    bool atEnd() const { return m_pos >= m_size; }
    char peek() const { return m_data[m_pos]; }

    void skipWhitespace()
    {
        while (!atEnd()) {
            const char c = peek();
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
                break;
            ++m_pos;
        }
    }

    bool literal(const char* word)
    {
        qsizetype i = 0;
        for (; word[i] != '\0'; ++i) {
            if (m_pos + i >= m_size || m_data[m_pos + i] != word[i])
                return fail(QStringLiteral("invalid literal"));
        }
        m_pos += i;
        return true;
    }

    bool parseValue(Node& node, int depth)
    {
        if (atEnd())
            return fail(QStringLiteral("unexpected end of data"));
        switch (peek()) {
        case '{': return parseObject(node, depth + 1);
        case '[': return parseArray(node, depth + 1);
        case '"':
            node.kind = Node::Kind::string;
            return parseString(node.text);
        case 't':
            node.kind = Node::Kind::boolean;
            node.boolean = true;
            return literal("true");
        case 'f':
            node.kind = Node::Kind::boolean;
            node.boolean = false;
            return literal("false");
        case 'n':
            node.kind = Node::Kind::null;
            return literal("null");
        default:
            if (peek() == '-' || (peek() >= '0' && peek() <= '9'))
                return parseNumber(node);
            return fail(QStringLiteral("unexpected character"));
        }
    }

    bool parseObject(Node& node, int depth)
    {
        if (depth > kMaxDepth)
            return fail(QStringLiteral("nesting too deep"));
        node.kind = Node::Kind::object;
        ++m_pos; // '{'
        skipWhitespace();
        if (!atEnd() && peek() == '}') {
            ++m_pos;
            return true;
        }
        for (;;) {
            skipWhitespace();
            if (atEnd() || peek() != '"')
                return fail(QStringLiteral("expected a key string"));
            QString key;
            if (!parseString(key))
                return false;
            skipWhitespace();
            if (atEnd() || peek() != ':')
                return fail(QStringLiteral("expected ':'"));
            ++m_pos;
            skipWhitespace();
            Node value;
            if (!parseValue(value, depth))
                return false;
            node.memberKeys.push_back(std::move(key));
            node.memberValues.push_back(std::move(value));
            skipWhitespace();
            if (atEnd())
                return fail(QStringLiteral("unterminated object"));
            if (peek() == ',') {
                ++m_pos;
                continue;
            }
            if (peek() == '}') {
                ++m_pos;
                return true;
            }
            return fail(QStringLiteral("expected ',' or '}'"));
        }
    }

    bool parseArray(Node& node, int depth)
    {
        if (depth > kMaxDepth)
            return fail(QStringLiteral("nesting too deep"));
        node.kind = Node::Kind::array;
        ++m_pos; // '['
        skipWhitespace();
        if (!atEnd() && peek() == ']') {
            ++m_pos;
            return true;
        }
        for (;;) {
            skipWhitespace();
            Node value;
            if (!parseValue(value, depth))
                return false;
            node.items.push_back(std::move(value));
            skipWhitespace();
            if (atEnd())
                return fail(QStringLiteral("unterminated array"));
            if (peek() == ',') {
                ++m_pos;
                continue;
            }
            if (peek() == ']') {
                ++m_pos;
                return true;
            }
            return fail(QStringLiteral("expected ',' or ']'"));
        }
    }

    bool hex4(char16_t* unit)
    {
        if (m_size - m_pos < 4)
            return fail(QStringLiteral("incomplete \\u escape"));
        char16_t v = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_data[m_pos + i];
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                return fail(QStringLiteral("invalid \\u escape"));
            v = static_cast<char16_t>((v << 4) | d);
        }
        m_pos += 4;
        *unit = v;
        return true;
    }

    // The bytes were validated as UTF-8 before parsing starts.
    bool parseString(QString& out)
    {
        ++m_pos; // opening quote
        out.clear();
        qsizetype runStart = m_pos;
        auto flushRun = [&] {
            // Decoded keeping a U+FEFF at the run's start, which
            // QString::fromUtf8 would drop as a byte-order mark.
            if (m_pos > runStart)
                out += decodeUtf8Strict(QByteArray::fromRawData(m_data + runStart, m_pos - runStart), ByteOrderMark::keep)
                           .value_or(QString());
        };
        for (;;) {
            if (atEnd())
                return fail(QStringLiteral("unterminated string"));
            const auto c = static_cast<unsigned char>(peek());
            if (c == '"') {
                flushRun();
                ++m_pos;
                return true;
            }
            if (c < 0x20)
                return fail(QStringLiteral("unescaped control character in string"));
            if (c != '\\') {
                ++m_pos;
                continue;
            }
            flushRun();
            ++m_pos; // backslash
            if (atEnd())
                return fail(QStringLiteral("unterminated string"));
            const char e = peek();
            ++m_pos;
            switch (e) {
            case '"': out += QLatin1Char('"'); break;
            case '\\': out += QLatin1Char('\\'); break;
            case '/': out += QLatin1Char('/'); break;
            case 'b': out += QLatin1Char('\b'); break;
            case 'f': out += QLatin1Char('\f'); break;
            case 'n': out += QLatin1Char('\n'); break;
            case 'r': out += QLatin1Char('\r'); break;
            case 't': out += QLatin1Char('\t'); break;
            case 'u': {
                char16_t unit = 0;
                if (!hex4(&unit))
                    return false;
                if (QChar::isLowSurrogate(unit))
                    return fail(QStringLiteral("unpaired surrogate in \\u escape"));
                if (QChar::isHighSurrogate(unit)) {
                    char16_t low = 0;
                    if (m_size - m_pos < 2 || m_data[m_pos] != '\\' || m_data[m_pos + 1] != 'u')
                        return fail(QStringLiteral("unpaired surrogate in \\u escape"));
                    m_pos += 2;
                    if (!hex4(&low))
                        return false;
                    if (!QChar::isLowSurrogate(low))
                        return fail(QStringLiteral("unpaired surrogate in \\u escape"));
                    out += QChar(unit);
                    out += QChar(low);
                } else {
                    out += QChar(unit);
                }
                break;
            }
            default:
                --m_pos;
                return fail(QStringLiteral("invalid escape sequence"));
            }
            runStart = m_pos;
        }
    }

    bool digits()
    {
        const qsizetype start = m_pos;
        while (!atEnd() && peek() >= '0' && peek() <= '9')
            ++m_pos;
        return m_pos > start;
    }

    bool parseNumber(Node& node)
    {
        const qsizetype start = m_pos;
        if (peek() == '-')
            ++m_pos;
        if (atEnd())
            return fail(QStringLiteral("invalid number"));
        if (peek() == '0') {
            ++m_pos;
        } else if (!digits()) {
            return fail(QStringLiteral("invalid number"));
        }
        if (!atEnd() && peek() == '.') {
            ++m_pos;
            if (!digits())
                return fail(QStringLiteral("invalid number"));
        }
        if (!atEnd() && (peek() == 'e' || peek() == 'E')) {
            ++m_pos;
            if (!atEnd() && (peek() == '+' || peek() == '-'))
                ++m_pos;
            if (!digits())
                return fail(QStringLiteral("invalid number"));
        }
        node.kind = Node::Kind::number;
        node.text = QString::fromLatin1(m_data + start, m_pos - start);
        return true;
    }
};

} // namespace

std::optional<Node> parse(const QByteArray& bytes, QString* error)
{
    const qsizetype bad = firstInvalidUtf8(bytes);
    if (bad >= 0) {
        if (error)
            *error = QStringLiteral("The data is not valid UTF-8 (byte offset %1)").arg(bad);
        return std::nullopt;
    }
    qsizetype start = 0;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        start = 3;
    return Parser(bytes, start).run(error);
}

IntegerResult toInteger(const QString& literal, qint64* value)
{
    // literal matches -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
    qsizetype i = 0;
    const qsizetype n = literal.size();
    const bool negative = n > 0 && literal[0] == QLatin1Char('-');
    if (negative)
        ++i;
    QString significand;
    qint64 exponent = 0;
    for (; i < n && literal[i].isDigit(); ++i)
        significand += literal[i];
    if (i < n && literal[i] == QLatin1Char('.')) {
        for (++i; i < n && literal[i].isDigit(); ++i) {
            significand += literal[i];
            --exponent;
        }
    }
    if (i < n && (literal[i] == QLatin1Char('e') || literal[i] == QLatin1Char('E'))) {
        ++i;
        bool expNegative = false;
        if (i < n && (literal[i] == QLatin1Char('+') || literal[i] == QLatin1Char('-'))) {
            expNegative = literal[i] == QLatin1Char('-');
            ++i;
        }
        qint64 e = 0;
        for (; i < n && literal[i].isDigit(); ++i) {
            if (e < 1'000'000'000)
                e = e * 10 + literal[i].digitValue();
        }
        exponent += expNegative ? -e : e;
    }

    // Normalise to digits × 10^exponent without leading or trailing zeros.
    qsizetype first = 0;
    while (first < significand.size() && significand[first] == QLatin1Char('0'))
        ++first;
    significand = significand.mid(first);
    while (!significand.isEmpty() && significand.endsWith(QLatin1Char('0'))) {
        significand.chop(1);
        ++exponent;
    }
    if (significand.isEmpty()) {
        *value = 0;
        return IntegerResult::ok;
    }
    if (exponent < 0)
        return IntegerResult::notWhole;
    if (significand.size() + exponent > 19)
        return IntegerResult::outOfRange;

    std::uint64_t magnitude = 0; // at most 19 digits: fits in 64 unsigned bits
    for (QChar c : significand)
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(c.digitValue());
    for (qint64 k = 0; k < exponent; ++k)
        magnitude *= 10;

    constexpr std::uint64_t maxPositive = 9223372036854775807ULL;
    if (negative) {
        if (magnitude > maxPositive + 1)
            return IntegerResult::outOfRange;
        *value = magnitude == maxPositive + 1 ? std::numeric_limits<qint64>::min()
                                              : -static_cast<qint64>(magnitude);
    } else {
        if (magnitude > maxPositive)
            return IntegerResult::outOfRange;
        *value = static_cast<qint64>(magnitude);
    }
    return IntegerResult::ok;
}

void appendString(QByteArray& out, const QString& text)
{
    static const char hex[] = "0123456789abcdef";
    const QByteArray utf8 = text.toUtf8();
    out += '"';
    for (char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '/': out += "\\/"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                out += "\\u00";
                out += hex[c >> 4];
                out += hex[c & 0xF];
            } else {
                out += ch;
            }
        }
    }
    out += '"';
}

} // namespace orva::json
