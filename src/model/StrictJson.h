#pragma once

// A small, strict JSON reader and the string writer used by the model's
// coding functions. Unlike QJsonDocument it rejects bytes that are not valid
// UTF-8, keeps numbers as their literal text (so that integers outside the
// double's exact range are checked exactly), and reports where it failed.

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace orva::json {

struct Node {
    enum class Kind { null, boolean, number, string, array, object };

    Kind kind = Kind::null;
    bool boolean = false;
    QString text; // the string's value, or the number's literal
    std::vector<Node> items;
    // An object's members in file order: keys[i] names values[i].
    std::vector<QString> memberKeys;
    std::vector<Node> memberValues;

    // The value of the last member named `key`, or nullptr.
    const Node* member(const QString& key) const;
};

// Name of a kind for error messages ("a string", "an array", ...).
QString describe(Node::Kind kind);

// Parses one JSON text (RFC 8259; a leading UTF-8 byte-order mark is
// skipped). On failure returns nullopt and sets *error.
std::optional<Node> parse(const QByteArray& bytes, QString* error);

// The byte offset of the first invalid UTF-8 sequence (overlong forms,
// surrogates and code points past U+10FFFF are invalid), or -1.
qsizetype firstInvalidUtf8(const QByteArray& bytes);

enum class IntegerResult { ok, notWhole, outOfRange };
// Converts a JSON number literal to a signed 64-bit integer exactly. A literal
// with a fraction or exponent is accepted when it denotes a whole number
// (3.0, 3e2); 3.5 is not whole; 9223372036854775808 is out of range.
IntegerResult toInteger(const QString& literal, qint64* value);

// Appends `text` as a JSON string: UTF-8, non-ASCII as is, '"', '\\' and '/'
// escaped with a backslash, control characters escaped.
void appendString(QByteArray& out, const QString& text);

} // namespace orva::json
