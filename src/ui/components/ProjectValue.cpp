#include "ui/components/ProjectValue.h"

#include "model/ProjectModel.h"

namespace orva {

int milestoneCountIn(const QVariant& project)
{
    const auto p = projectIn(project);
    return p ? static_cast<int>(p->milestones.size()) : 0;
}

QVariant milestoneIn(const QVariant& project, int index)
{
    const auto p = projectIn(project);
    if (!p || index < 0 || index >= p->milestones.size())
        return {};
    return QVariant::fromValue(p->milestones.at(index));
}

} // namespace orva
