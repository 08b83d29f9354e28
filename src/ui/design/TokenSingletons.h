#pragma once

// QML singletons of Orva.Design holding the token values of DesignTokens.h.
// Generated from the token lists; each property reads the C++ constant.

#include "ui/design/DesignTokens.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace orva {

class ColorTokens : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(Colors)
    QML_SINGLETON
    Q_PROPERTY(QColor orange READ orange CONSTANT)
    Q_PROPERTY(QColor blue READ blue CONSTANT)
    Q_PROPERTY(QColor green READ green CONSTANT)
    Q_PROPERTY(QColor yellow READ yellow CONSTANT)
    Q_PROPERTY(QColor indigo READ indigo CONSTANT)
    Q_PROPERTY(QColor purple READ purple CONSTANT)
    Q_PROPERTY(QColor teal READ teal CONSTANT)
    Q_PROPERTY(QColor gray READ gray CONSTANT)
    Q_PROPERTY(QColor red READ red CONSTANT)
    Q_PROPERTY(QColor textPrimary READ textPrimary CONSTANT)
    Q_PROPERTY(QColor textSecondary READ textSecondary CONSTANT)
    Q_PROPERTY(QColor white READ white CONSTANT)
    Q_PROPERTY(QColor darkGray READ darkGray CONSTANT)
    Q_PROPERTY(QColor background READ background CONSTANT)
    Q_PROPERTY(QColor cardBackground READ cardBackground CONSTANT)
    Q_PROPERTY(QColor white90 READ white90 CONSTANT)
    Q_PROPERTY(QColor white60 READ white60 CONSTANT)
    Q_PROPERTY(QColor white40 READ white40 CONSTANT)
    Q_PROPERTY(QColor white20 READ white20 CONSTANT)
    Q_PROPERTY(QColor white10 READ white10 CONSTANT)
    Q_PROPERTY(QColor black READ black CONSTANT)
public:
    using QObject::QObject;
    QColor orange() const { return DesignTokens::Colors::orange(); }
    QColor blue() const { return DesignTokens::Colors::blue(); }
    QColor green() const { return DesignTokens::Colors::green(); }
    QColor yellow() const { return DesignTokens::Colors::yellow(); }
    QColor indigo() const { return DesignTokens::Colors::indigo(); }
    QColor purple() const { return DesignTokens::Colors::purple(); }
    QColor teal() const { return DesignTokens::Colors::teal(); }
    QColor gray() const { return DesignTokens::Colors::gray(); }
    QColor red() const { return DesignTokens::Colors::red(); }
    QColor textPrimary() const { return DesignTokens::Colors::textPrimary(); }
    QColor textSecondary() const { return DesignTokens::Colors::textSecondary(); }
    QColor white() const { return DesignTokens::Colors::white(); }
    QColor darkGray() const { return DesignTokens::Colors::darkGray(); }
    QColor background() const { return DesignTokens::Colors::background(); }
    QColor cardBackground() const { return DesignTokens::Colors::cardBackground(); }
    QColor white90() const { return DesignTokens::Colors::white90(); }
    QColor white60() const { return DesignTokens::Colors::white60(); }
    QColor white40() const { return DesignTokens::Colors::white40(); }
    QColor white20() const { return DesignTokens::Colors::white20(); }
    QColor white10() const { return DesignTokens::Colors::white10(); }
    QColor black() const { return DesignTokens::Colors::black(); }
};

class FontTokens : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(Fonts)
    QML_SINGLETON
    Q_PROPERTY(QString textFamily READ textFamily CONSTANT)
    Q_PROPERTY(QString emojiFamily READ emojiFamily CONSTANT)
    Q_PROPERTY(QFont largeTitle36 READ largeTitle36 CONSTANT)
    Q_PROPERTY(QFont largeTitle34 READ largeTitle34 CONSTANT)
    Q_PROPERTY(QFont title READ title CONSTANT)
    Q_PROPERTY(QFont title2 READ title2 CONSTANT)
    Q_PROPERTY(QFont title3 READ title3 CONSTANT)
    Q_PROPERTY(QFont headline READ headline CONSTANT)
    Q_PROPERTY(QFont subheadline READ subheadline CONSTANT)
    Q_PROPERTY(QFont body READ body CONSTANT)
    Q_PROPERTY(QFont callout READ callout CONSTANT)
    Q_PROPERTY(QFont caption READ caption CONSTANT)
    Q_PROPERTY(QFont caption2 READ caption2 CONSTANT)
    Q_PROPERTY(QFont icon10 READ icon10 CONSTANT)
    Q_PROPERTY(QFont icon16 READ icon16 CONSTANT)
    Q_PROPERTY(QFont icon20 READ icon20 CONSTANT)
    Q_PROPERTY(QString monospacedFamily READ monospacedFamily CONSTANT)
    Q_PROPERTY(QFont monospaced READ monospaced CONSTANT)
public:
    using QObject::QObject;
    QString textFamily() const { return DesignTokens::Fonts::kTextFamily; }
    QString emojiFamily() const { return DesignTokens::Fonts::kEmojiFamily; }
    QFont largeTitle36() const { return DesignTokens::Fonts::largeTitle36(); }
    QFont largeTitle34() const { return DesignTokens::Fonts::largeTitle34(); }
    QFont title() const { return DesignTokens::Fonts::title(); }
    QFont title2() const { return DesignTokens::Fonts::title2(); }
    QFont title3() const { return DesignTokens::Fonts::title3(); }
    QFont headline() const { return DesignTokens::Fonts::headline(); }
    QFont subheadline() const { return DesignTokens::Fonts::subheadline(); }
    QFont body() const { return DesignTokens::Fonts::body(); }
    QFont callout() const { return DesignTokens::Fonts::callout(); }
    QFont caption() const { return DesignTokens::Fonts::caption(); }
    QFont caption2() const { return DesignTokens::Fonts::caption2(); }
    QFont icon10() const { return DesignTokens::Fonts::icon10(); }
    QFont icon16() const { return DesignTokens::Fonts::icon16(); }
    QFont icon20() const { return DesignTokens::Fonts::icon20(); }
    QString monospacedFamily() const { return DesignTokens::Fonts::kMonospacedFamily; }
    QFont monospaced() const { return DesignTokens::Fonts::monospaced(); }
};

class SpacingTokens : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(Spacing)
    QML_SINGLETON
    Q_PROPERTY(double s4 READ s4 CONSTANT)
    Q_PROPERTY(double s6 READ s6 CONSTANT)
    Q_PROPERTY(double s8 READ s8 CONSTANT)
    Q_PROPERTY(double s10 READ s10 CONSTANT)
    Q_PROPERTY(double s12 READ s12 CONSTANT)
    Q_PROPERTY(double s16 READ s16 CONSTANT)
    Q_PROPERTY(double s20 READ s20 CONSTANT)
    Q_PROPERTY(double s24 READ s24 CONSTANT)
    Q_PROPERTY(double s32 READ s32 CONSTANT)
    Q_PROPERTY(double s40 READ s40 CONSTANT)
    Q_PROPERTY(double s48 READ s48 CONSTANT)
    Q_PROPERTY(double standard READ standard CONSTANT)
public:
    using QObject::QObject;
    double s4() const { return DesignTokens::Spacing::s4; }
    double s6() const { return DesignTokens::Spacing::s6; }
    double s8() const { return DesignTokens::Spacing::s8; }
    double s10() const { return DesignTokens::Spacing::s10; }
    double s12() const { return DesignTokens::Spacing::s12; }
    double s16() const { return DesignTokens::Spacing::s16; }
    double s20() const { return DesignTokens::Spacing::s20; }
    double s24() const { return DesignTokens::Spacing::s24; }
    double s32() const { return DesignTokens::Spacing::s32; }
    double s40() const { return DesignTokens::Spacing::s40; }
    double s48() const { return DesignTokens::Spacing::s48; }
    double standard() const { return DesignTokens::Spacing::standard; }
};

class PaddingTokens : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(Padding)
    QML_SINGLETON
    Q_PROPERTY(double p4 READ p4 CONSTANT)
    Q_PROPERTY(double p6 READ p6 CONSTANT)
    Q_PROPERTY(double p8 READ p8 CONSTANT)
    Q_PROPERTY(double p10 READ p10 CONSTANT)
    Q_PROPERTY(double p12 READ p12 CONSTANT)
    Q_PROPERTY(double p16 READ p16 CONSTANT)
    Q_PROPERTY(double p20 READ p20 CONSTANT)
    Q_PROPERTY(double p24 READ p24 CONSTANT)
    Q_PROPERTY(double p32 READ p32 CONSTANT)
    Q_PROPERTY(double p40 READ p40 CONSTANT)
    Q_PROPERTY(double p48 READ p48 CONSTANT)
    Q_PROPERTY(double standard READ standard CONSTANT)
public:
    using QObject::QObject;
    double p4() const { return DesignTokens::Padding::p4; }
    double p6() const { return DesignTokens::Padding::p6; }
    double p8() const { return DesignTokens::Padding::p8; }
    double p10() const { return DesignTokens::Padding::p10; }
    double p12() const { return DesignTokens::Padding::p12; }
    double p16() const { return DesignTokens::Padding::p16; }
    double p20() const { return DesignTokens::Padding::p20; }
    double p24() const { return DesignTokens::Padding::p24; }
    double p32() const { return DesignTokens::Padding::p32; }
    double p40() const { return DesignTokens::Padding::p40; }
    double p48() const { return DesignTokens::Padding::p48; }
    double standard() const { return DesignTokens::Padding::standard; }
};

class CornerRadiusTokens : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(CornerRadius)
    QML_SINGLETON
    Q_PROPERTY(double r2 READ r2 CONSTANT)
    Q_PROPERTY(double r4 READ r4 CONSTANT)
    Q_PROPERTY(double r6 READ r6 CONSTANT)
    Q_PROPERTY(double r8 READ r8 CONSTANT)
    Q_PROPERTY(double r12 READ r12 CONSTANT)
    Q_PROPERTY(double r16 READ r16 CONSTANT)
public:
    using QObject::QObject;
    double r2() const { return DesignTokens::CornerRadius::r2; }
    double r4() const { return DesignTokens::CornerRadius::r4; }
    double r6() const { return DesignTokens::CornerRadius::r6; }
    double r8() const { return DesignTokens::CornerRadius::r8; }
    double r12() const { return DesignTokens::CornerRadius::r12; }
    double r16() const { return DesignTokens::CornerRadius::r16; }
};

class LayoutMetricsTokens : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(LayoutMetrics)
    QML_SINGLETON
    Q_PROPERTY(double taskColumnWidth READ taskColumnWidth CONSTANT)
    Q_PROPERTY(double dashboardWidth READ dashboardWidth CONSTANT)
    Q_PROPERTY(double boardWidthNarrow READ boardWidthNarrow CONSTANT)
    Q_PROPERTY(double sidebarWidth READ sidebarWidth CONSTANT)
    Q_PROPERTY(double terminalWidth READ terminalWidth CONSTANT)
    Q_PROPERTY(double workWindowWidth READ workWindowWidth CONSTANT)
    Q_PROPERTY(double workWindowHeight READ workWindowHeight CONSTANT)
    Q_PROPERTY(double inputMinWidth READ inputMinWidth CONSTANT)
    Q_PROPERTY(double inputMaxWidth READ inputMaxWidth CONSTANT)
    Q_PROPERTY(double inputHeight READ inputHeight CONSTANT)
public:
    using QObject::QObject;
    double taskColumnWidth() const { return DesignTokens::Layout::taskColumnWidth; }
    double dashboardWidth() const { return DesignTokens::Layout::dashboardWidth; }
    double boardWidthNarrow() const { return DesignTokens::Layout::boardWidthNarrow; }
    double sidebarWidth() const { return DesignTokens::Layout::sidebarWidth; }
    double terminalWidth() const { return DesignTokens::Layout::terminalWidth; }
    double workWindowWidth() const { return DesignTokens::Layout::workWindowWidth; }
    double workWindowHeight() const { return DesignTokens::Layout::workWindowHeight; }
    double inputMinWidth() const { return DesignTokens::Layout::inputMinWidth; }
    double inputMaxWidth() const { return DesignTokens::Layout::inputMaxWidth; }
    double inputHeight() const { return DesignTokens::Layout::inputHeight; }
};

} // namespace orva
