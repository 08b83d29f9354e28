#include "ui/screens/work/SidebarRules.h"

#include "ui/components/DisplayCut.h"
#include "ui/components/ProjectValue.h"
#include "ui/design/DesignTokens.h"
#include "workflow/WorkViewModel.h"
#include "workspace/DirectoryAccessService.h"
#include "workspace/XcodeService.h"

#include <QFontMetricsF>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace orva {

QString sidebarTitle(const QString& projectName, const QString& folder, const QString& xcodeProjectName)
{
    if (!projectName.isEmpty())
        return projectName;
    if (!folder.isEmpty() && !xcodeProjectName.isEmpty())
        return xcodeProjectName;
    return QStringLiteral("프로젝트");
}

qint64 firstMilestoneId(const Project& project)
{
    return project.milestones.isEmpty() ? 0 : project.milestones.first().id;
}

std::optional<qsizetype> selectedMilestoneIndex(const Project& project, qint64 milestoneId)
{
    for (qsizetype i = 0; i < project.milestones.size(); ++i) {
        if (project.milestones[i].id == milestoneId)
            return i;
    }
    return std::nullopt;
}

double clampedProgress(const Project& project)
{
    return std::clamp(project.progress(), 0.0, 1.0);
}

QString progressPercentageText(const Project& project)
{
    return QString::number(project.progressPercentage()) + QLatin1Char('%');
}

QString progressCountSentence(const Project& project)
{
    return QStringLiteral("전체 ") + QString::number(project.totalTaskCount()) + QStringLiteral("개 태스크 중 ")
           + QString::number(project.completedTaskCount()) + QStringLiteral("개를 완료했어요");
}

double tabWidth(qsizetype count, double rowWidth)
{
    if (count < 1)
        return 0.0;
    const double shared = (rowWidth - static_cast<double>(count - 1) * kTabSpacing) / static_cast<double>(count);
    return std::max(kMinimumTabWidth, shared);
}

bool tabRowScrolls(qsizetype count, double rowWidth)
{
    if (count < 1)
        return false;
    return static_cast<double>(count) * kMinimumTabWidth + static_cast<double>(count - 1) * kTabSpacing > rowWidth;
}

int tabTitleLines(const QString& title, double textWidth, const QFont& font)
{
    const DisplayCut shown = cutForDisplay(title, kTitleChars, 0);
    if (shown.cut || shown.text.contains(QLatin1Char('\n')))
        return 2;
    return QFontMetricsF(font).horizontalAdvance(shown.text) <= textWidth ? 1 : 2;
}

bool anyTabTitleWraps(const QList<Milestone>& milestones, double textWidth, const QFont& font)
{
    const QFontMetricsF metrics(font);
    for (const Milestone& milestone : milestones) {
        const DisplayCut shown = cutForDisplay(milestone.title, kTitleChars, 0);
        if (shown.cut || shown.text.contains(QLatin1Char('\n')) || metrics.horizontalAdvance(shown.text) > textWidth)
            return true;
    }
    return false;
}

bool tabTitleReadsWhole(const QString& title, double textWidth, const QFont& font)
{
    const DisplayCut shown = cutForDisplay(title, kTitleChars, kTitleLines);
    if (shown.cut)
        return false;
    if (tabTitleLines(title, textWidth, font) == 1)
        return true;
    // Two lines at the smallest size the tab shrinks to: Math.round(0.8 × size).
    QFont smallest = font;
    smallest.setPixelSize(static_cast<int>(std::lround(font.pixelSize() * 0.8)));
    QString text = shown.text;
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(text, smallest);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    int lines = 0;
    layout.beginLayout();
    while (lines <= 2) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(std::max(0.0, textWidth));
        ++lines;
    }
    layout.endLayout();
    return lines <= 2;
}

QString tabHiddenName(const QString& title, double textWidth, const QFont& font)
{
    return tabTitleReadsWhole(title, textWidth, font) ? QString() : displayText(title, kTitleChars, kTitleLines);
}

QString selectedMilestoneName(const Project& project, qint64 selectedId, double textWidth, const QFont& font)
{
    const auto index = selectedMilestoneIndex(project, selectedId);
    return index ? tabHiddenName(project.milestones.at(*index).title, textWidth, font) : QString();
}

int WorkBoardRules::tabTitleLines(const QString& title, double textWidth) const
{
    return orva::tabTitleLines(title, textWidth, DesignTokens::Fonts::body());
}

bool WorkBoardRules::anyTabTitleWraps(const QVariant& project, double textWidth) const
{
    const auto p = projectIn(project);
    return p && orva::anyTabTitleWraps(p->milestones, textWidth, DesignTokens::Fonts::body());
}

bool WorkBoardRules::tabTitleReadsWhole(const QString& title, double textWidth) const
{
    return orva::tabTitleReadsWhole(title, textWidth, DesignTokens::Fonts::body());
}

QString WorkBoardRules::tabHiddenName(const QString& title, double textWidth) const
{
    return orva::tabHiddenName(title, textWidth, DesignTokens::Fonts::body());
}

QString WorkBoardRules::selectedMilestoneName(const QVariant& project, qint64 selectedId, double textWidth) const
{
    const auto p = projectIn(project);
    return p ? orva::selectedMilestoneName(*p, selectedId, textWidth, DesignTokens::Fonts::body()) : QString();
}

qint64 WorkBoardRules::firstMilestoneId(const QVariant& project) const
{
    const auto value = projectIn(project);
    return value ? orva::firstMilestoneId(*value) : 0;
}

int WorkBoardRules::selectedMilestoneIndex(const QVariant& project, qint64 milestoneId) const
{
    const auto value = projectIn(project);
    const auto index = value ? orva::selectedMilestoneIndex(*value, milestoneId) : std::nullopt;
    return index ? static_cast<int>(*index) : -1;
}

QVariantList WorkBoardRules::tasksOfSelection(const QVariant& project, qint64 milestoneId) const
{
    const auto value = projectIn(project);
    const auto index = value ? orva::selectedMilestoneIndex(*value, milestoneId) : std::nullopt;
    QVariantList tasks;
    if (index) {
        for (const TaskItem& task : value->milestones[*index].tasks)
            tasks.append(QVariant::fromValue(task));
    }
    return tasks;
}

int WorkBoardRules::taskCountOfSelection(const QVariant& project, qint64 milestoneId) const
{
    const auto p = projectIn(project);
    if (!p)
        return 0;
    const auto index = orva::selectedMilestoneIndex(*p, milestoneId);
    return index ? static_cast<int>(p->milestones.at(*index).tasks.size()) : 0;
}

QVariant WorkBoardRules::taskOfSelection(const QVariant& project, qint64 milestoneId, int index) const
{
    const auto p = projectIn(project);
    if (!p)
        return {};
    const auto milestone = orva::selectedMilestoneIndex(*p, milestoneId);
    if (!milestone)
        return {};
    const QList<TaskItem>& tasks = p->milestones.at(*milestone).tasks;
    if (index < 0 || index >= tasks.size())
        return {};
    return QVariant::fromValue(tasks.at(index));
}

int WorkBoardRules::milestoneCount(const QVariant& project) const
{
    return milestoneCountIn(project);
}

QVariant WorkBoardRules::milestoneAt(const QVariant& project, int index) const
{
    return milestoneIn(project, index);
}

double WorkBoardRules::progress(const QVariant& project) const
{
    const auto value = projectIn(project);
    return value ? clampedProgress(*value) : 0.0;
}

QString WorkBoardRules::percentageText(const QVariant& project) const
{
    return progressPercentageText(projectIn(project).value_or(Project{}));
}

QString WorkBoardRules::countSentence(const QVariant& project) const
{
    return progressCountSentence(projectIn(project).value_or(Project{}));
}

QObject* SidebarActions::viewModelObject() const
{
    return viewModel_;
}

void SidebarActions::setViewModelObject(QObject* object)
{
    auto* model = qobject_cast<WorkViewModel*>(object);
    if (viewModel_ == model)
        return;
    if (viewModel_) {
        disconnect(&viewModel_->directoryAccessService(), nullptr, this, nullptr);
        disconnect(&viewModel_->xcodeService(), nullptr, this, nullptr);
    }
    viewModel_ = model;
    if (viewModel_) {
        connect(&viewModel_->directoryAccessService(), &DirectoryAccessService::selectedDirectoryChanged, this,
                &SidebarActions::titleChanged);
        connect(&viewModel_->xcodeService(), &XcodeService::selectedProjectNameChanged, this,
                &SidebarActions::titleChanged);
    }
    emit viewModelChanged();
    emit titleChanged();
}

void SidebarActions::setProjectName(const QString& name)
{
    if (projectName_ == name)
        return;
    projectName_ = name;
    emit titleChanged();
}

QString SidebarActions::title() const
{
    if (!viewModel_)
        return sidebarTitle(projectName_, {}, {});
    return sidebarTitle(projectName_, viewModel_->directoryAccessService().selectedDirectory(),
                        viewModel_->xcodeService().selectedProjectName());
}

bool SidebarActions::appear()
{
    if (!viewModel_)
        return false;
    if (projectName_.isEmpty() && viewModel_->directoryAccessService().hasSelectedDirectory())
        viewModel_->xcodeService().refreshSelectedProject();
    return !viewModel_->hasLaunchedBefore();
}

bool SidebarActions::selectCurrentTaskForTest()
{
    if (!viewModel_ || !viewModel_->hasLaunchedBefore())
        return false;
    const auto task = viewModel_->currentTask();
    if (!task)
        return false;
    viewModel_->setSelectedTask(*task);
    return true;
}

void SidebarActions::selectTask(const QVariant& task)
{
    if (viewModel_)
        viewModel_->setSelectedTaskValue(task);
}

} // namespace orva
