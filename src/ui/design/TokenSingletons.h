#pragma once

// QML singletons of Orva.Design holding the token values of DesignTokens.h:
// each property is a constant member that holds the C++ value.

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
    Q_PROPERTY(QColor orange MEMBER orange CONSTANT)
    Q_PROPERTY(QColor blue MEMBER blue CONSTANT)
    Q_PROPERTY(QColor green MEMBER green CONSTANT)
    Q_PROPERTY(QColor yellow MEMBER yellow CONSTANT)
    Q_PROPERTY(QColor indigo MEMBER indigo CONSTANT)
    Q_PROPERTY(QColor purple MEMBER purple CONSTANT)
    Q_PROPERTY(QColor teal MEMBER teal CONSTANT)
    Q_PROPERTY(QColor gray MEMBER gray CONSTANT)
    Q_PROPERTY(QColor red MEMBER red CONSTANT)
    Q_PROPERTY(QColor textPrimary MEMBER textPrimary CONSTANT)
    Q_PROPERTY(QColor textSecondary MEMBER textSecondary CONSTANT)
    Q_PROPERTY(QColor white MEMBER white CONSTANT)
    Q_PROPERTY(QColor darkGray MEMBER darkGray CONSTANT)
    Q_PROPERTY(QColor background MEMBER background CONSTANT)
    Q_PROPERTY(QColor cardBackground MEMBER cardBackground CONSTANT)
    Q_PROPERTY(QColor white90 MEMBER white90 CONSTANT)
    Q_PROPERTY(QColor white60 MEMBER white60 CONSTANT)
    Q_PROPERTY(QColor white40 MEMBER white40 CONSTANT)
    Q_PROPERTY(QColor white20 MEMBER white20 CONSTANT)
    Q_PROPERTY(QColor white10 MEMBER white10 CONSTANT)
    Q_PROPERTY(QColor black MEMBER black CONSTANT)
public:
    using QObject::QObject;

private:
    const QColor orange = DesignTokens::Colors::orange();
    const QColor blue = DesignTokens::Colors::blue();
    const QColor green = DesignTokens::Colors::green();
    const QColor yellow = DesignTokens::Colors::yellow();
    const QColor indigo = DesignTokens::Colors::indigo();
    const QColor purple = DesignTokens::Colors::purple();
    const QColor teal = DesignTokens::Colors::teal();
    const QColor gray = DesignTokens::Colors::gray();
    const QColor red = DesignTokens::Colors::red();
    const QColor textPrimary = DesignTokens::Colors::textPrimary();
    const QColor textSecondary = DesignTokens::Colors::textSecondary();
    const QColor white = DesignTokens::Colors::white();
    const QColor darkGray = DesignTokens::Colors::darkGray();
    const QColor background = DesignTokens::Colors::background();
    const QColor cardBackground = DesignTokens::Colors::cardBackground();
    const QColor white90 = DesignTokens::Colors::white90();
    const QColor white60 = DesignTokens::Colors::white60();
    const QColor white40 = DesignTokens::Colors::white40();
    const QColor white20 = DesignTokens::Colors::white20();
    const QColor white10 = DesignTokens::Colors::white10();
    const QColor black = DesignTokens::Colors::black();
};

class FontTokens : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(Fonts)
    QML_SINGLETON
    Q_PROPERTY(QString textFamily MEMBER textFamily CONSTANT)
    Q_PROPERTY(QString emojiFamily MEMBER emojiFamily CONSTANT)
    Q_PROPERTY(QFont largeTitle36 MEMBER largeTitle36 CONSTANT)
    Q_PROPERTY(QFont largeTitle34 MEMBER largeTitle34 CONSTANT)
    Q_PROPERTY(QFont title MEMBER title CONSTANT)
    Q_PROPERTY(QFont title2 MEMBER title2 CONSTANT)
    Q_PROPERTY(QFont title3 MEMBER title3 CONSTANT)
    Q_PROPERTY(QFont headline MEMBER headline CONSTANT)
    Q_PROPERTY(QFont subheadline MEMBER subheadline CONSTANT)
    Q_PROPERTY(QFont body MEMBER body CONSTANT)
    Q_PROPERTY(QFont callout MEMBER callout CONSTANT)
    Q_PROPERTY(QFont caption MEMBER caption CONSTANT)
    Q_PROPERTY(QFont caption2 MEMBER caption2 CONSTANT)
    Q_PROPERTY(QFont icon10 MEMBER icon10 CONSTANT)
    Q_PROPERTY(QFont icon16 MEMBER icon16 CONSTANT)
    Q_PROPERTY(QFont icon20 MEMBER icon20 CONSTANT)
    Q_PROPERTY(QString monospacedFamily MEMBER monospacedFamily CONSTANT)
    Q_PROPERTY(QFont monospaced MEMBER monospaced CONSTANT)
public:
    using QObject::QObject;

private:
    const QString textFamily = DesignTokens::Fonts::kTextFamily;
    const QString emojiFamily = DesignTokens::Fonts::kEmojiFamily;
    const QFont largeTitle36 = DesignTokens::Fonts::largeTitle36();
    const QFont largeTitle34 = DesignTokens::Fonts::largeTitle34();
    const QFont title = DesignTokens::Fonts::title();
    const QFont title2 = DesignTokens::Fonts::title2();
    const QFont title3 = DesignTokens::Fonts::title3();
    const QFont headline = DesignTokens::Fonts::headline();
    const QFont subheadline = DesignTokens::Fonts::subheadline();
    const QFont body = DesignTokens::Fonts::body();
    const QFont callout = DesignTokens::Fonts::callout();
    const QFont caption = DesignTokens::Fonts::caption();
    const QFont caption2 = DesignTokens::Fonts::caption2();
    const QFont icon10 = DesignTokens::Fonts::icon10();
    const QFont icon16 = DesignTokens::Fonts::icon16();
    const QFont icon20 = DesignTokens::Fonts::icon20();
    const QString monospacedFamily = DesignTokens::Fonts::kMonospacedFamily;
    const QFont monospaced = DesignTokens::Fonts::monospaced();
};

class SpacingTokens : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(Spacing)
    QML_SINGLETON
    Q_PROPERTY(double s4 MEMBER s4 CONSTANT)
    Q_PROPERTY(double s6 MEMBER s6 CONSTANT)
    Q_PROPERTY(double s8 MEMBER s8 CONSTANT)
    Q_PROPERTY(double s10 MEMBER s10 CONSTANT)
    Q_PROPERTY(double s12 MEMBER s12 CONSTANT)
    Q_PROPERTY(double s16 MEMBER s16 CONSTANT)
    Q_PROPERTY(double s20 MEMBER s20 CONSTANT)
    Q_PROPERTY(double s24 MEMBER s24 CONSTANT)
    Q_PROPERTY(double s32 MEMBER s32 CONSTANT)
    Q_PROPERTY(double s40 MEMBER s40 CONSTANT)
    Q_PROPERTY(double s48 MEMBER s48 CONSTANT)
    Q_PROPERTY(double standard MEMBER standard CONSTANT)
public:
    using QObject::QObject;

private:
    const double s4 = DesignTokens::Spacing::s4;
    const double s6 = DesignTokens::Spacing::s6;
    const double s8 = DesignTokens::Spacing::s8;
    const double s10 = DesignTokens::Spacing::s10;
    const double s12 = DesignTokens::Spacing::s12;
    const double s16 = DesignTokens::Spacing::s16;
    const double s20 = DesignTokens::Spacing::s20;
    const double s24 = DesignTokens::Spacing::s24;
    const double s32 = DesignTokens::Spacing::s32;
    const double s40 = DesignTokens::Spacing::s40;
    const double s48 = DesignTokens::Spacing::s48;
    const double standard = DesignTokens::Spacing::standard;
};

class PaddingTokens : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(Padding)
    QML_SINGLETON
    Q_PROPERTY(double p4 MEMBER p4 CONSTANT)
    Q_PROPERTY(double p6 MEMBER p6 CONSTANT)
    Q_PROPERTY(double p8 MEMBER p8 CONSTANT)
    Q_PROPERTY(double p10 MEMBER p10 CONSTANT)
    Q_PROPERTY(double p12 MEMBER p12 CONSTANT)
    Q_PROPERTY(double p16 MEMBER p16 CONSTANT)
    Q_PROPERTY(double p20 MEMBER p20 CONSTANT)
    Q_PROPERTY(double p24 MEMBER p24 CONSTANT)
    Q_PROPERTY(double p32 MEMBER p32 CONSTANT)
    Q_PROPERTY(double p40 MEMBER p40 CONSTANT)
    Q_PROPERTY(double p48 MEMBER p48 CONSTANT)
    Q_PROPERTY(double standard MEMBER standard CONSTANT)
public:
    using QObject::QObject;

private:
    const double p4 = DesignTokens::Padding::p4;
    const double p6 = DesignTokens::Padding::p6;
    const double p8 = DesignTokens::Padding::p8;
    const double p10 = DesignTokens::Padding::p10;
    const double p12 = DesignTokens::Padding::p12;
    const double p16 = DesignTokens::Padding::p16;
    const double p20 = DesignTokens::Padding::p20;
    const double p24 = DesignTokens::Padding::p24;
    const double p32 = DesignTokens::Padding::p32;
    const double p40 = DesignTokens::Padding::p40;
    const double p48 = DesignTokens::Padding::p48;
    const double standard = DesignTokens::Padding::standard;
};

class CornerRadiusTokens : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(CornerRadius)
    QML_SINGLETON
    Q_PROPERTY(double r2 MEMBER r2 CONSTANT)
    Q_PROPERTY(double r4 MEMBER r4 CONSTANT)
    Q_PROPERTY(double r6 MEMBER r6 CONSTANT)
    Q_PROPERTY(double r8 MEMBER r8 CONSTANT)
    Q_PROPERTY(double r12 MEMBER r12 CONSTANT)
    Q_PROPERTY(double r16 MEMBER r16 CONSTANT)
public:
    using QObject::QObject;

private:
    const double r2 = DesignTokens::CornerRadius::r2;
    const double r4 = DesignTokens::CornerRadius::r4;
    const double r6 = DesignTokens::CornerRadius::r6;
    const double r8 = DesignTokens::CornerRadius::r8;
    const double r12 = DesignTokens::CornerRadius::r12;
    const double r16 = DesignTokens::CornerRadius::r16;
};

class LayoutMetricsTokens : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(LayoutMetrics)
    QML_SINGLETON
    Q_PROPERTY(double taskColumnWidth MEMBER taskColumnWidth CONSTANT)
    Q_PROPERTY(double dashboardWidth MEMBER dashboardWidth CONSTANT)
    Q_PROPERTY(double boardWidthNarrow MEMBER boardWidthNarrow CONSTANT)
    Q_PROPERTY(double sidebarWidth MEMBER sidebarWidth CONSTANT)
    Q_PROPERTY(double terminalWidth MEMBER terminalWidth CONSTANT)
    Q_PROPERTY(double workWindowWidth MEMBER workWindowWidth CONSTANT)
    Q_PROPERTY(double workWindowHeight MEMBER workWindowHeight CONSTANT)
    Q_PROPERTY(double inputMinWidth MEMBER inputMinWidth CONSTANT)
    Q_PROPERTY(double inputMaxWidth MEMBER inputMaxWidth CONSTANT)
    Q_PROPERTY(double inputHeight MEMBER inputHeight CONSTANT)
public:
    using QObject::QObject;

private:
    const double taskColumnWidth = DesignTokens::Layout::taskColumnWidth;
    const double dashboardWidth = DesignTokens::Layout::dashboardWidth;
    const double boardWidthNarrow = DesignTokens::Layout::boardWidthNarrow;
    const double sidebarWidth = DesignTokens::Layout::sidebarWidth;
    const double terminalWidth = DesignTokens::Layout::terminalWidth;
    const double workWindowWidth = DesignTokens::Layout::workWindowWidth;
    const double workWindowHeight = DesignTokens::Layout::workWindowHeight;
    const double inputMinWidth = DesignTokens::Layout::inputMinWidth;
    const double inputMaxWidth = DesignTokens::Layout::inputMaxWidth;
    const double inputHeight = DesignTokens::Layout::inputHeight;
};

} // namespace orva
