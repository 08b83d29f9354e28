#include "ui/design/DesignTokens.h"

#include "platform/Log.h"

#include <QFile>
#include <QFontDatabase>

namespace orva::DesignTokens {

namespace Colors {
QColor orange() { return QColor(255, 159, 10); }
QColor blue() { return QColor(10, 132, 255); }
QColor green() { return QColor(48, 209, 88); }
QColor yellow() { return QColor(255, 214, 10); }
QColor indigo() { return QColor(94, 92, 230); }
QColor purple() { return QColor(191, 90, 242); }
QColor teal() { return QColor(64, 200, 224); }
QColor gray() { return QColor(152, 152, 157); }
QColor red() { return QColor::fromString("#FF383C"); }
QColor textPrimary() { return QColor::fromRgbF(1, 1, 1, 0.9f); }
QColor textSecondary() { return QColor::fromRgbF(1, 1, 1, 0.4f); }
QColor white() { return QColor(255, 255, 255); }
QColor darkGray() { return QColor::fromString("#4C4C4C"); }
QColor background() { return QColor::fromString("#111111"); }
QColor cardBackground() { return QColor::fromString("#191919"); }
QColor white90() { return QColor::fromRgbF(1, 1, 1, 0.9f); }
QColor white60() { return QColor::fromRgbF(1, 1, 1, 0.6f); }
QColor white40() { return QColor::fromRgbF(1, 1, 1, 0.4f); }
QColor white20() { return QColor::fromRgbF(1, 1, 1, 0.2f); }
QColor white10() { return QColor::fromRgbF(1, 1, 1, 0.1f); }
QColor black() { return QColor(0, 0, 0); }
} // namespace Colors

namespace Fonts {
namespace {
QFont make(int pixelSize, QFont::Weight weight)
{
    QFont f(kTextFamily);
    f.setPixelSize(pixelSize);
    f.setWeight(weight);
    return f;
}
} // namespace
QFont largeTitle36() { return make(36, QFont::Bold); }
QFont largeTitle34() { return make(34, QFont::Bold); }
QFont title() { return make(kTitleSize, QFont::Normal); }
QFont title2() { return make(kTitle2Size, QFont::Normal); }
QFont title3() { return make(kTitle3Size, QFont::Normal); }
QFont headline() { return make(kHeadlineSize, QFont::Bold); }
QFont subheadline() { return make(kSubheadlineSize, QFont::Normal); }
QFont body() { return make(kBodySize, QFont::Normal); }
QFont callout() { return make(kCalloutSize, QFont::Normal); }
QFont caption() { return make(kCaptionSize, QFont::Normal); }
QFont caption2() { return make(kCaption2Size, QFont::Normal); }
QFont icon10() { return make(10, QFont::Bold); }
QFont icon16() { return make(16, QFont::Bold); }
QFont icon20() { return make(20, QFont::Bold); }
QFont monospaced()
{
    QFont f(kMonospacedFamily);
    f.setPixelSize(kBodySize);
    f.setStyleHint(QFont::Monospace);
    f.setFixedPitch(true);
    return f;
}
} // namespace Fonts

bool loadDesignFonts()
{
    static const bool loaded = [] {
        const char* files[] = {
            "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
            "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc",
            "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf",
            "/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf",
        };
        bool ok = true;
        for (const char* file : files) {
            const QString path = QString::fromUtf8(file);
            if (!QFile::exists(path) || QFontDatabase::addApplicationFont(path) < 0) {
                logLine(QStringLiteral("[DesignTokens] - Font not loaded: ") + path);
                ok = false;
            }
        }
        // Emoji the text faces lack come from the colour emoji font before
        // the system's fallbacks (DejaVu Sans would draw many of them as
        // outlines in one colour), whether a text sets the whole font token or
        // only its family.
        for (const QString& family : {Fonts::kTextFamily, Fonts::kMonospacedFamily})
            QFont::insertSubstitutions(family, {Fonts::kEmojiFamily});
        return ok;
    }();
    return loaded;
}

} // namespace orva::DesignTokens
