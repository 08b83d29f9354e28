#include "ui/design/MilestoneColors.h"

#include "ui/design/DesignTokens.h"

namespace orva {

QColor milestoneColor(MilestoneType type)
{
    switch (type) {
    case MilestoneType::setupAndModeling:
        return DesignTokens::Colors::indigo();
    case MilestoneType::featureImplementation:
        return DesignTokens::Colors::blue();
    case MilestoneType::uiImplementation:
        return DesignTokens::Colors::teal();
    }
    return DesignTokens::Colors::gray();
}

QColor MilestoneColors::color(int type) const
{
    for (MilestoneType known : allMilestoneTypes())
        if (static_cast<int>(known) == type)
            return milestoneColor(known);
    return DesignTokens::Colors::gray();
}

} // namespace orva
