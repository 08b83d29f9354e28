#include "ui/design/WidgetPalette.h"

#include "ui/design/DesignTokens.h"

namespace orva::DesignTokens {

QColor laidOver(const QColor& foreground, const QColor& background)
{
    const float a = foreground.alphaF();
    auto mix = [a](float f, float b) { return f * a + b * (1.0f - a); };
    return QColor::fromRgbF(mix(foreground.redF(), background.redF()), mix(foreground.greenF(), background.greenF()),
                            mix(foreground.blueF(), background.blueF()));
}

QPalette widgetPalette()
{
    const QColor window = Colors::cardBackground();
    const QColor base = Colors::background();
    const QColor button = laidOver(Colors::white20(), window);
    const QColor tip = Colors::darkGray();

    QPalette palette;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        const QColor text = disabled ? Colors::textSecondary() : Colors::textPrimary();
        const QColor note = disabled ? Colors::textSecondary() : Colors::white60();
        palette.setColor(group, QPalette::Window, window);
        palette.setColor(group, QPalette::WindowText, laidOver(text, window));
        palette.setColor(group, QPalette::Base, base);
        palette.setColor(group, QPalette::AlternateBase, window);
        palette.setColor(group, QPalette::Text, laidOver(text, base));
        palette.setColor(group, QPalette::PlaceholderText, laidOver(note, base));
        palette.setColor(group, QPalette::Button, button);
        palette.setColor(group, QPalette::ButtonText, laidOver(text, button));
        palette.setColor(group, QPalette::BrightText, Colors::white());
        palette.setColor(group, QPalette::ToolTipBase, tip);
        palette.setColor(group, QPalette::ToolTipText, laidOver(Colors::textPrimary(), tip));
        palette.setColor(group, QPalette::Highlight, disabled ? laidOver(Colors::white10(), base) : Colors::indigo());
        palette.setColor(group, QPalette::HighlightedText, disabled ? laidOver(text, base) : Colors::white());
        palette.setColor(group, QPalette::Link, Colors::blue());
        palette.setColor(group, QPalette::LinkVisited, Colors::purple());
        // The bevels the style draws frames and separators with.
        palette.setColor(group, QPalette::Light, Colors::darkGray());
        palette.setColor(group, QPalette::Midlight, laidOver(Colors::white10(), button));
        palette.setColor(group, QPalette::Mid, laidOver(Colors::white10(), window));
        palette.setColor(group, QPalette::Dark, base);
        palette.setColor(group, QPalette::Shadow, Colors::black());
    }
    return palette;
}

} // namespace orva::DesignTokens
