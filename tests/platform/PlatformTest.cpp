#include "platform/AppContext.h"
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
