// The reason a failed `claude` call gives: which stream and which line it is
// taken from, what is cleaned out of it and how a long one is cut; and how a
// reason joins the text of the error.
#include "workflow/ClaudeFailureReason.h"
#include "workflow/ClaudeProcessError.h"

#include <gtest/gtest.h>

#include <QTextBoundaryFinder>

#include <cstddef>

using namespace orva;

namespace {

// Bytes of a literal, NUL bytes inside included.
template <std::size_t N>
QByteArray bytes(const char (&literal)[N])
{
    return QByteArray(literal, static_cast<qsizetype>(N - 1));
}

QByteArray repeated(const char* unit, int times)
{
    QByteArray out;
    for (int i = 0; i < times; ++i)
        out += unit;
    return out;
}

QString repeatedText(const char* unit, int times)
{
    return QString::fromUtf8(repeated(unit, times));
}

qsizetype graphemes(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() != -1)
        ++count;
    return count;
}

struct ReasonCase {
    const char* name;
    QByteArray standardOutput;
    QByteArray standardError;
    QString reason;
};

void PrintTo(const ReasonCase& c, std::ostream* os)
{
    *os << c.name;
}

class FailureReasonTable : public ::testing::TestWithParam<ReasonCase> {};

TEST_P(FailureReasonTable, LastLineThatSaysSomething)
{
    const ReasonCase& c = GetParam();
    const QString reason = claudeFailureReason(c.standardOutput, c.standardError);
    EXPECT_EQ(reason, c.reason) << "got: " << reason.toStdString();
    EXPECT_LE(graphemes(reason), kClaudeReasonLimit);
    for (const QChar ch : reason)
        EXPECT_FALSE(ch.category() == QChar::Other_Control) << "control character " << int(ch.unicode());
}

const QString kRoot = QStringLiteral(
    "--dangerously-skip-permissions cannot be used with root/sudo privileges for security reasons");
const QString kLoggedOut = QStringLiteral("Not logged in · Please run /login");
const QString kA299 = QString(299, u'a') + QChar(0x2026);

const ReasonCase kReasonCases[] = {
    // Which stream.
    {"StandardErrorOnly", {}, kRoot.toUtf8() + '\n', kRoot},
    {"StandardOutputOnly", kLoggedOut.toUtf8() + '\n', {}, kLoggedOut},
    {"BothStreamsStandardErrorWins", bytes("partial reply\n"), bytes("fake failure\n"), QStringLiteral("fake failure")},
    {"BlankStandardErrorFallsBackToOutput", bytes("out words\n"), bytes("\n  \n\t\n"), QStringLiteral("out words")},
    {"NothingAtAll", {}, {}, QString()},
    {"OnlyEscapesAndBlanks", bytes("\x1b[0m\n\n"), bytes(" \r\n\x1b[?25h"), QString()},
    // Which line.
    {"BlankTrailingLines", bytes("first\nlast words\n\n\n   \n"), {}, QStringLiteral("last words")},
    {"NoLineFeedAtTheEnd", bytes("one\ntwo"), {}, QStringLiteral("two")},
    {"CrLfLines", bytes("line one\r\nline two\r\n"), {}, QStringLiteral("line two")},
    {"CarriageReturnProgress",
     bytes("Connecting 10%\rConnecting 50%\rAPI Error: Unable to connect to API (ConnectionRefused)\r\n"), {},
     QStringLiteral("API Error: Unable to connect to API (ConnectionRefused)")},
    {"ProgressRedrawnWithErase", {}, bytes("\x1b[2K\rRetrying (attempt 2)\x1b[2K\rRetrying (attempt 3)\r"),
     QStringLiteral("Retrying (attempt 3)")},
    {"LineOfEscapesOnlyIsBlank", bytes("real reason\n\x1b[0m\x1b[?25h\n"), {}, QStringLiteral("real reason")},
    {"UnicodeLineSeparator", bytes("first\xe2\x80\xa8reason\xe2\x80\xa8"), {}, QStringLiteral("reason")},
    {"NextLineCharacter", bytes("first\xc2\x85second"), {}, QStringLiteral("second")},
    {"FormFeedAndVerticalTab", bytes("a\fb\vlast"), {}, QStringLiteral("last")},
    // What is cleaned out.
    {"ColourEscapes", bytes("\x1b[31mError:\x1b[0m \x1b[1;4mAPI Error: Unable to connect\x1b[m\n"), {},
     QStringLiteral("Error: API Error: Unable to connect")},
    {"PrivateAndIntermediateCsi", bytes("\x1b[?25l\x1b[>1u\x1b[1 qcursor\n"), {}, QStringLiteral("cursor")},
    {"TitleBelOsc", bytes("\x1b]0;claude\x07Working\n"), {}, QStringLiteral("Working")},
    {"HyperlinkOscWithStringTerminator", bytes("see \x1b]8;;https://example.test/\x1b\\the docs\x1b]8;;\x1b\\\n"), {},
     QStringLiteral("see the docs")},
    {"DeviceControlString", bytes("\x1bPq#0;2;0;0;0\x1b\\after\n"), {}, QStringLiteral("after")},
    {"CharsetAndTwoCharacterEscapes", bytes("\x1b(B\x1b" "7plain\x1b" "8 text\x1bM\n"), {}, QStringLiteral("plain text")},
    {"EightBitCsiAndOsc", bytes("\xc2\x9b" "31mred\xc2\x9d" "0;t\x07 end\n"), {}, QStringLiteral("red end")},
    {"EscapeCutOffAtTheEnd", bytes("reason\x1b[3"), {}, QStringLiteral("reason")},
    {"ControlCharacters", bytes("bell\x07 and\x08 tab\there\x00null\x7f!\n"), {}, QStringLiteral("bell and tab herenull!")},
    {"RunsOfBlanksBecomeOne", bytes("  API   Error:\t\tUnable  \n"), {}, QStringLiteral("API Error: Unable")},
    {"InvalidUtf8Dropped", bytes("bad \xff\xfe bytes\n"), {}, QStringLiteral("bad bytes")},
    {"TruncatedUtf8AtTheEnd", bytes("reason \xea\xb0"), {}, QStringLiteral("reason")},
    {"InvalidUtf8OnErrorFallsBack", bytes("out\n"), bytes("\xff\xfe\n"), QStringLiteral("out")},
    {"MarkupKeptAsText", bytes("<b>Not</b> logged in & <i>out</i>\n"), {}, QStringLiteral("<b>Not</b> logged in & <i>out</i>")},
    // How a long line is cut.
    {"ExactlyTheLimit", QByteArray(300, 'a'), {}, QString(300, u'a')},
    {"OneOverTheLimit", QByteArray(301, 'a'), {}, kA299},
    {"VeryLongLine", QByteArray(1000000, 'a') + '\n', {}, kA299},
    {"LongKoreanLine", repeated("가", 400), {}, repeatedText("가", 299) + QChar(0x2026)},
    {"LongLineOfClusters", repeated("\xf0\x9f\x91\xa8\xe2\x80\x8d\xf0\x9f\x91\xa9\xe2\x80\x8d\xf0\x9f\x91\xa7", 400), {},
     repeatedText("\xf0\x9f\x91\xa8\xe2\x80\x8d\xf0\x9f\x91\xa9\xe2\x80\x8d\xf0\x9f\x91\xa7", 299) + QChar(0x2026)},
    {"BlankBeforeTheCutIsDropped", QByteArray(298, 'a') + ' ' + QByteArray(10, 'b'), {}, QString(298, u'a') + QChar(0x2026)},
    {"EscapesDoNotCountTowardsTheLimit", repeated("\x1b[1ma\x1b[0m", 300), {}, QString(300, u'a')},
};

std::string reasonName(const ::testing::TestParamInfo<ReasonCase>& info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Outputs, FailureReasonTable, ::testing::ValuesIn(kReasonCases), reasonName);

TEST(FailureReason, ShorterLimitsCutTheSameWay)
{
    struct Case {
        const char* line;
        qsizetype limit;
        const char* cleaned;
    } cases[] = {
        {"abcdef", 3, "ab\xe2\x80\xa6"},
        {"abc", 3, "abc"},
        {"abcd", 1, "\xe2\x80\xa6"},
        {"abcd", 0, ""},
        {"\xea\xb0\x80\xeb\x82\x98\xeb\x8b\xa4\xeb\x9d\xbc", 3, "\xea\xb0\x80\xeb\x82\x98\xe2\x80\xa6"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cleanOutputLine(QString::fromUtf8(c.line), c.limit), QString::fromUtf8(c.cleaned)) << c.line << " " << c.limit;
}

TEST(FailureReason, JoinsTheDescriptionOnALineOfItsOwn)
{
    struct Case {
        ClaudeProcessError error;
        QString description;
    } cases[] = {
        {ClaudeProcessError::processTerminated(1).withReason(QStringLiteral("Not logged in · Please run /login")),
         QStringLiteral("Claude process terminated with exit code 1\nNot logged in · Please run /login")},
        {ClaudeProcessError::processTerminated(9), QStringLiteral("Claude process terminated with exit code 9")},
        {ClaudeProcessError::invalidResponse().withReason(QStringLiteral("Credit balance is too low")),
         QStringLiteral("Received invalid response from Claude\nCredit balance is too low")},
        {ClaudeProcessError::outputTooLarge(ClaudeProcessError::Stream::standardOutput, 16 * 1024 * 1024),
         QStringLiteral("Claude process wrote more than 16 MiB to standard output and was stopped")},
        {ClaudeProcessError::outputTooLarge(ClaudeProcessError::Stream::standardError, 1000),
         QStringLiteral("Claude process wrote more than 1000 bytes to standard error and was stopped")},
        {ClaudeProcessError::processNotRunning().withReason(QString()), QStringLiteral("Claude process is not running")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.error.description(), c.description);
        EXPECT_EQ(c.error.localizedDescription(), c.description);
        EXPECT_EQ(c.error.summary(), c.description.section(u'\n', 0, 0));
    }
    // The reason is part of the error's value.
    EXPECT_NE(ClaudeProcessError::processTerminated(1).withReason(QStringLiteral("x")),
              ClaudeProcessError::processTerminated(1));
}

} // namespace
