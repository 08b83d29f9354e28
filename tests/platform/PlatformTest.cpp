#include "platform/AppContext.h"
#include "platform/Log.h"
#include "platform/UserDefaults.h"
#include "platform/Utf8.h"
#include "support/TempContext.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace orva;

TEST(AppContext, PlatformDefaultsNameTheGroupContainer)
{
    const AppContext defaults = AppContext::platformDefaults();
    EXPECT_TRUE(defaults.containerPath.endsWith(QStringLiteral("/X4TR7PLQ2N.group.com.kem.orva")))
        << defaults.containerPath.toStdString();
    EXPECT_FALSE(defaults.documentsPath.isEmpty());
    EXPECT_TRUE(defaults.resourcesPath.endsWith(QStringLiteral("/resources")));
    EXPECT_TRUE(defaults.settingsPath.isEmpty());
}

TEST(AppContext, TemporaryContextIsCurrentAndRestored)
{
    const QString before = AppContext::current().containerPath;
    {
        test::TempContext temp;
        EXPECT_EQ(AppContext::current().containerPath, temp.context().containerPath);
        EXPECT_TRUE(QDir(temp.context().containerPath).exists());
    }
    EXPECT_EQ(AppContext::current().containerPath, before);
}

TEST(UserDefaults, ValuesPersistInTheContextsStore)
{
    test::TempContext temp;
    EXPECT_FALSE(UserDefaults::boolValue(UserDefaults::kHasSeenOnboarding));
    EXPECT_TRUE(UserDefaults::boolValue(UserDefaults::kHasSeenOnboarding, true));
    UserDefaults::setBool(UserDefaults::kHasSeenOnboarding, true);
    EXPECT_TRUE(UserDefaults::boolValue(UserDefaults::kHasSeenOnboarding));

    const QByteArray blob("\x00\x01bookmark\xff", 11);
    UserDefaults::setData(UserDefaults::kTerminalDirectoryBookmark, blob);
    EXPECT_EQ(UserDefaults::data(UserDefaults::kTerminalDirectoryBookmark), blob);
    UserDefaults::remove(UserDefaults::kTerminalDirectoryBookmark);
    EXPECT_FALSE(UserDefaults::contains(UserDefaults::kTerminalDirectoryBookmark));
    EXPECT_TRUE(UserDefaults::data(UserDefaults::kTerminalDirectoryBookmark).isEmpty());
}

TEST(Utf8, StrictDecodingRefusesMalformedBytes)
{
    for (const ByteOrderMark bom : {ByteOrderMark::strip, ByteOrderMark::keep}) {
        EXPECT_EQ(decodeUtf8Strict(QByteArray("\xec\x95\x88\xeb\x85\x95"), bom).value_or(QString()), QStringLiteral("안녕"));
        EXPECT_FALSE(decodeUtf8Strict(QByteArray("ok \xff"), bom).has_value());
        EXPECT_FALSE(decodeUtf8Strict(QByteArray("\xec\x95"), bom).has_value()); // cut in the middle of a character
        EXPECT_FALSE(decodeUtf8Strict(QByteArray("\xc0\xaf"), bom).has_value()); // overlong form
    }
}

TEST(Utf8, ByteOrderMarkIsStrippedOrKept)
{
    const QByteArray withMark("\xef\xbb\xbf{}");
    EXPECT_EQ(decodeUtf8Strict(withMark, ByteOrderMark::strip), QStringLiteral("{}"));
    EXPECT_EQ(decodeUtf8Strict(withMark, ByteOrderMark::keep), QStringLiteral("\uFEFF{}"));
}

TEST(Log, ExcerptsKeepBothEndsOfALongText)
{
    struct Case {
        QString text;
        qsizetype limit;
        QString excerpt;
    } cases[] = {
        {QStringLiteral("short"), 10, QStringLiteral("short")},
        {QStringLiteral("0123456789"), 10, QStringLiteral("0123456789")},
        {QStringLiteral("0123456789abcdef"), 10, QStringLiteral("01234 \u2026 [6 characters left out] \u2026 bcdef")},
        // A character outside the basic plane is never split.
        {QStringLiteral("ab\U0001F600cdefgh\U0001F600ij"), 6,
         QStringLiteral("ab \u2026 [10 characters left out] \u2026 ij")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(orva::logExcerpt(c.text, c.limit), c.excerpt) << c.text.toStdString();
}

TEST(Log, ExcerptsOfBytesDecodeOnlyTheEnds)
{
    struct Case {
        QByteArray bytes;
        qsizetype limit;
        QString excerpt;
    } cases[] = {
        {"short", 10, QStringLiteral("short")},
        {QByteArray(100, 'h'), 10, QStringLiteral("hhhhh \u2026 [90 bytes left out] \u2026 hhhhh")},
        // Cut between characters: "가" is three bytes.
        {"\xea\xb0\x80\xea\xb0\x80\xea\xb0\x80\xea\xb0\x80", 8,
         QStringLiteral("\uac00 \u2026 [6 bytes left out] \u2026 \uac00")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(orva::logExcerpt(c.bytes, c.limit), c.excerpt) << c.bytes.toStdString();
}

TEST(Log, SeveralLinesBecomeOne)
{
    EXPECT_EQ(orva::oneLogLine(QStringLiteral("one")), QStringLiteral("one"));
    EXPECT_EQ(orva::oneLogLine(QStringLiteral("a\nb\r\nc\rd")), QStringLiteral("a \u2014 b \u2014 c \u2014 d"));
}
