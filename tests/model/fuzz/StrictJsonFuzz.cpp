// Fuzz target of the strict JSON reader and the model's decoders, which read
// what claude writes (Task.json, the interview state, the transcript).
//
// For any input:
// - the reader and Qt's own JSON parser agree on what is JSON, apart from the
//   differences each named below, checked on their own;
// - where both read a value, they read the same value;
// - a task plan, interview state or transcript the decoders accept encodes to
//   JSON both parsers read, which decodes again to an equal value;
// - nothing crashes, and nesting is bounded (the reader stops at 256 levels).
// A failed check aborts, which libFuzzer reports as a finding.
#include "model/ProjectModel.h"
#include "model/StrictJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QRegularExpression>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using orva::json::Node;

[[noreturn]] void fail(const char* what, const QByteArray& input)
{
    std::fprintf(stderr, "strict JSON fuzz: %s\ninput: %s\n", what, input.toPercentEncoding(" {}[]\":,").constData());
    std::abort();
}

void check(bool condition, const char* what, const QByteArray& input)
{
    if (!condition)
        fail(what, input);
}

int nodeDepth(const Node& node)
{
    int deepest = 0;
    for (const Node& item : node.items)
        deepest = std::max(deepest, nodeDepth(item));
    for (const Node& value : node.memberValues)
        deepest = std::max(deepest, nodeDepth(value));
    const bool container = node.kind == Node::Kind::array || node.kind == Node::Kind::object;
    return deepest + (container ? 1 : 0);
}

int qtDepth(const QJsonValue& value)
{
    int deepest = 0;
    if (value.isArray()) {
        for (const QJsonValue& item : value.toArray())
            deepest = std::max(deepest, qtDepth(item));
        return deepest + 1;
    }
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            deepest = std::max(deepest, qtDepth(it.value()));
        return deepest + 1;
    }
    return 0;
}

// A number literal the reader keeps whose value lies beyond the double range:
// too large, or so small that it only reads as zero.
bool outsideDoubleRange(const QString& literal)
{
    bool ok = false;
    const double value = literal.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return true;
    if (value != 0)
        return false;
    QString mantissa = literal;
    mantissa.truncate(std::min(literal.indexOf(u'e', 0, Qt::CaseInsensitive) & 0x7fffffff, literal.size()));
    for (const QChar c : mantissa) {
        if (c >= u'1' && c <= u'9')
            return true;
    }
    return false;
}

bool hasHugeNumber(const Node& node)
{
    if (node.kind == Node::Kind::number && outsideDoubleRange(node.text))
        return true;
    for (const Node& item : node.items) {
        if (hasHugeNumber(item))
            return true;
    }
    for (const Node& value : node.memberValues) {
        if (hasHugeNumber(value))
            return true;
    }
    return false;
}

// The U+FEFF characters in the value's keys and strings.
qsizetype feffCount(const Node& node)
{
    qsizetype count = node.kind == Node::Kind::string ? node.text.count(QChar(0xFEFF)) : 0;
    for (const Node& item : node.items)
        count += feffCount(item);
    for (std::size_t i = 0; i < node.memberValues.size(); ++i)
        count += node.memberKeys[i].count(QChar(0xFEFF)) + feffCount(node.memberValues[i]);
    return count;
}

// The same value: kinds, texts and numbers alike; objects by their keys, the
// last of equal keys counting for the reader as for Qt.
bool sameValue(const Node& node, const QJsonValue& value)
{
    switch (node.kind) {
    case Node::Kind::null:
        return value.isNull();
    case Node::Kind::boolean:
        return value.isBool() && value.toBool() == node.boolean;
    case Node::Kind::number:
        return value.isDouble() && value.toDouble() == node.text.toDouble();
    case Node::Kind::string:
        return value.isString() && value.toString() == node.text;
    case Node::Kind::array: {
        if (!value.isArray())
            return false;
        const QJsonArray array = value.toArray();
        if (array.size() != static_cast<qsizetype>(node.items.size()))
            return false;
        for (qsizetype i = 0; i < array.size(); ++i) {
            if (!sameValue(node.items[static_cast<std::size_t>(i)], array.at(i)))
                return false;
        }
        return true;
    }
    case Node::Kind::object: {
        if (!value.isObject())
            return false;
        const QJsonObject object = value.toObject();
        QStringList keys = QStringList(node.memberKeys.begin(), node.memberKeys.end());
        keys.removeDuplicates();
        if (object.size() != keys.size())
            return false;
        for (const QString& key : keys) {
            if (!object.contains(key) || !sameValue(*node.member(key), object.value(key)))
                return false;
        }
        return true;
    }
    }
    return false;
}

// Qt is more lenient than RFC 8259 in a few places the reader is not; each is
// named here, and a rejection is let pass only when the reader's reason is one
// of them and the input shows it at the place the reader names.
bool namedLeniencyOfQt(const QByteArray& input, const QString& error, int qtNesting)
{
    static const QRegularExpression pattern(QStringLiteral("byte offset (\\d+): (.*)$"));
    const QRegularExpressionMatch match = pattern.match(error);
    if (!match.hasMatch())
        return false;
    const qsizetype offset = match.captured(1).toLongLong();
    const QString reason = match.captured(2);
    auto controlNear = [&](qsizetype at) {
        for (qsizetype i = std::max<qsizetype>(at - 1, 0); i <= at + 1 && i < input.size(); ++i) {
            if (static_cast<unsigned char>(input[i]) < 0x20)
                return true;
        }
        return false;
    };
    // Deeper nesting than the reader's 256 levels.
    if (reason == QStringLiteral("nesting too deep"))
        return qtNesting > 256;
    // A control character standing unescaped in a string.
    if (reason == QStringLiteral("unescaped control character in string"))
        return controlNear(offset);
    // A backslash before a character that starts no escape (a letter other
    // than b f n r t u, a control character, ...): Qt takes the character.
    if (reason == QStringLiteral("invalid escape sequence")) {
        for (qsizetype i = std::max<qsizetype>(offset - 2, 0); i <= offset && i + 1 < input.size(); ++i) {
            if (input[i] == '\\' && !QByteArrayView("\"\\/bfnrtu").contains(input[i + 1]))
                return true;
        }
        return false;
    }
    // A number JSON does not allow (a leading point or plus sign, leading
    // zeros, a point with no digits after it, ...), which Qt reads.
    if (reason == QStringLiteral("invalid number") || reason == QStringLiteral("unexpected character")) {
        for (qsizetype i = std::max<qsizetype>(offset - 1, 0); i <= offset && i < input.size(); ++i) {
            if (QByteArrayView("+-.0123456789eE").contains(input[i]))
                return true;
        }
        return false;
    }
    // A \u escape of half a surrogate pair with no other half.
    if (reason == QStringLiteral("unpaired surrogate in \\u escape")) {
        static const QRegularExpression surrogate(QStringLiteral("\\\\u[dD][89a-fA-F]"));
        return QString::fromLatin1(input.mid(std::max<qsizetype>(offset - 12, 0), 24)).contains(surrogate);
    }
    return false;
}

// What Qt's parser reads of the input, or nothing when it rejects it. Its
// document holds only arrays and objects, so the input is read as the one
// element of an array.
std::optional<QJsonValue> qtRead(const QByteArray& input)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson("[" + input + "]", &error);
    if (error.error != QJsonParseError::NoError || !document.isArray() || document.array().size() != 1)
        return std::nullopt;
    return document.array().at(0);
}

template <typename Value, typename Decode, typename Encode, typename Equal>
void roundTrip(const QByteArray& input, Decode decode, Encode encode, Equal equal, const char* what)
{
    QString error;
    const std::optional<Value> value = decode(input, &error);
    if (!value)
        return;
    const QByteArray encoded = encode(*value);
    check(orva::json::parse(encoded, nullptr).has_value(), what, input);
    check(qtRead(encoded).has_value(), what, input);
    const std::optional<Value> again = decode(encoded, &error);
    check(again.has_value() && equal(*value, *again), what, input);
    check(encode(*again) == encoded, what, input);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    const std::optional<Node> node = orva::json::parse(input, &error);
    check(node.has_value() || !error.isEmpty(), "a rejection without a reason", input);

    // Difference: the reader skips a leading byte-order mark; Qt does not.
    QByteArray body = input;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    // Difference: the reader rejects bytes that are not UTF-8, which Qt
    // replaces; checked here on their own.
    if (orva::json::firstInvalidUtf8(body) >= 0) {
        check(!node, "invalid UTF-8 accepted", input);
    } else {
        const std::optional<QJsonValue> qt = qtRead(body);
        if (node) {
            check(nodeDepth(*node) <= 256, "nesting past 256 levels accepted", input);
            if (!qt) {
                // Difference: Qt rejects numbers beyond the double range
                // (either way), which the reader keeps as their literal text.
                check(hasHugeNumber(*node), "the reader accepts what Qt rejects", input);
            } else if (body.contains("\xEF\xBB\xBF")) {
                // Difference: Qt drops a U+FEFF standing in a string, and
                // garbles what follows it; the reader keeps every one.
                check(feffCount(*node) >= body.count("\xEF\xBB\xBF"), "a U+FEFF in a string lost", input);
            } else if (!hasHugeNumber(*node)) {
                check(sameValue(*node, *qt), "the reader and Qt read different values", input);
            }
        } else if (qt) {
            check(namedLeniencyOfQt(input, error, qtDepth(*qt)), "the reader rejects what Qt accepts", input);
        }
    }

    roundTrip<orva::ProjectWrapper>(
        input, [](const QByteArray& b, QString* e) { return orva::decodeProjectWrapper(b, e); },
        [](const orva::ProjectWrapper& w) { return orva::encodeProjectWrapper(w); },
        [](const orva::ProjectWrapper& a, const orva::ProjectWrapper& b) { return a.project == b.project; },
        "a task plan does not survive encoding");
    roundTrip<orva::InterviewState>(
        input, [](const QByteArray& b, QString* e) { return orva::decodeInterviewState(b, e); },
        [](const orva::InterviewState& s) { return orva::encodeInterviewState(s); },
        [](const orva::InterviewState& a, const orva::InterviewState& b) {
            return a.status == b.status && a.timestamp == b.timestamp;
        },
        "an interview state does not survive encoding");
    roundTrip<QList<orva::ChatHistory>>(
        input, [](const QByteArray& b, QString* e) { return orva::decodeChatHistoryList(b, e); },
        [](const QList<orva::ChatHistory>& h) { return orva::encodeChatHistoryList(h); },
        [](const QList<orva::ChatHistory>& a, const QList<orva::ChatHistory>& b) {
            if (a.size() != b.size())
                return false;
            for (qsizetype i = 0; i < a.size(); ++i) {
                if (a[i].id != b[i].id || a[i].question != b[i].question || a[i].answer != b[i].answer)
                    return false;
            }
            return true;
        },
        "a transcript does not survive encoding");
    return 0;
}
