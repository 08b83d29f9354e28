#pragma once

// The rules of the work sidebar, its progress card and its planning board.

#include "model/ProjectModel.h"
#include "workflow/WorkViewModel.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

#include <optional>

namespace orva {

// The sidebar's title: the project's name; else, with a folder, the name of
// the Xcode project found there (when one was); else "프로젝트".
QString sidebarTitle(const QString& projectName, const QString& folder, const QString& xcodeProjectName);

// The board's starting selection: the first milestone's id, 0 without one.
qint64 firstMilestoneId(const Project& project);
// The index of the first milestone with that id; none when no milestone has it.
std::optional<qsizetype> selectedMilestoneIndex(const Project& project, qint64 milestoneId);

// The progress card's fraction, limited to 0...1.
double clampedProgress(const Project& project);
// "<percentage>%".
QString progressPercentageText(const Project& project);
// "전체 <total>개 태스크 중 <completed>개를 완료했어요".
QString progressCountSentence(const Project& project);

// The board's row of milestone tabs: the tabs share the row's width, 16
// apart, down to a width at which a title still reads (two or three
// letters a line); past that every tab is that wide and the row scrolls
// sideways.
inline constexpr double kTabSpacing = 16;
inline constexpr double kMinimumTabWidth = 64;
// A tab's content is inset this much on every side.
inline constexpr double kTabPadding = 16;
double tabWidth(qsizetype count, double rowWidth);
bool tabRowScrolls(qsizetype count, double rowWidth);
// A tab's title takes one line when it fits one line of `font` in
// `textWidth` (and holds no line break), else two.
int tabTitleLines(const QString& title, double textWidth, const QFont& font);
// Whether any of the milestones' titles takes two lines: the row is as tall
// as such a tab.
bool anyTabTitleWraps(const QList<Milestone>& milestones, double textWidth, const QFont& font);
// Whether a tab shows its whole title: on one line at the size of `font`,
// or on two lines at no less than 0.8 of it (the tab shrinks a wrapping
// title that far before it cuts it); a title cut for display never does.
bool tabTitleReadsWhole(const QString& title, double textWidth, const QFont& font);
// The name a tab cannot show: its whole title (as laid out for display)
// when the tab cuts it, else "". The tab's hover tip shows it.
QString tabHiddenName(const QString& title, double textWidth, const QFont& font);
// The line under the tab row: the selected milestone's title when its tab
// cuts it; "" when the tab shows it whole or nothing is selected.
QString selectedMilestoneName(const Project& project, qint64 selectedId, double textWidth, const QFont& font);

// The board and progress rules for QML, over Project values.
class WorkBoardRules : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    using QObject::QObject;
    Q_INVOKABLE qint64 firstMilestoneId(const QVariant& project) const;
    // -1 when no milestone has the id.
    Q_INVOKABLE int selectedMilestoneIndex(const QVariant& project, qint64 milestoneId) const;
    // The tasks of the first milestone with the id (TaskItem values).
    Q_INVOKABLE QVariantList tasksOfSelection(const QVariant& project, qint64 milestoneId) const;
    // The same one at a time, so that a plan of any size is never copied
    // into a list for the board: their number, and the task (a TaskItem
    // value) at an index, undefined outside.
    Q_INVOKABLE int taskCountOfSelection(const QVariant& project, qint64 milestoneId) const;
    Q_INVOKABLE QVariant taskOfSelection(const QVariant& project, qint64 milestoneId, int index) const;
    Q_INVOKABLE int milestoneCount(const QVariant& project) const;
    // The milestone (a Milestone value) at an index; undefined outside.
    Q_INVOKABLE QVariant milestoneAt(const QVariant& project, int index) const;
    Q_INVOKABLE double progress(const QVariant& project) const;
    Q_INVOKABLE QString percentageText(const QVariant& project) const;
    Q_INVOKABLE QString countSentence(const QVariant& project) const;
    Q_INVOKABLE double tabWidth(int count, double rowWidth) const { return orva::tabWidth(count, rowWidth); }
    Q_INVOKABLE bool tabRowScrolls(int count, double rowWidth) const { return orva::tabRowScrolls(count, rowWidth); }
    // With the tabs' title font.
    Q_INVOKABLE int tabTitleLines(const QString& title, double textWidth) const;
    Q_INVOKABLE bool anyTabTitleWraps(const QVariant& project, double textWidth) const;
    Q_INVOKABLE bool tabTitleReadsWhole(const QString& title, double textWidth) const;
    Q_INVOKABLE QString tabHiddenName(const QString& title, double textWidth) const;
    Q_INVOKABLE QString selectedMilestoneName(const QVariant& project, qint64 selectedId, double textWidth) const;
};

// The sidebar's actions over the work model: the title, what its appearance
// does, and which task the task popup is opened for. The task is always given
// to the model before the sidebar asks its host for the popup, so the popup
// never opens on the previous selection.
class SidebarActions : public QObject {
    Q_OBJECT
    QML_ELEMENT
    // The work screen's WorkViewModel.
    Q_PROPERTY(QObject* viewModel READ viewModelObject WRITE setViewModelObject NOTIFY viewModelChanged)
    Q_PROPERTY(QString projectName READ projectName WRITE setProjectName NOTIFY titleChanged)
    Q_PROPERTY(QString title READ title NOTIFY titleChanged)

public:
    using QObject::QObject;

    QObject* viewModelObject() const;
    void setViewModelObject(QObject* object);
    QString projectName() const { return projectName_; }
    void setProjectName(const QString& name);
    QString title() const;

    // Refreshes the Xcode project name of the chosen folder (off the main
    // thread) and returns whether the dashboard opens by itself: work has
    // never been started in this workspace.
    Q_INVOKABLE bool appear();
    // The card's test action: selects the current task when work has been
    // started and one is current; returns whether the popup is to open.
    Q_INVOKABLE bool selectCurrentTaskForTest();
    // A tapped task: selected as it is.
    Q_INVOKABLE void selectTask(const QVariant& task);

signals:
    void viewModelChanged();
    void titleChanged();

private:
    QPointer<WorkViewModel> viewModel_;
    QString projectName_;
};

} // namespace orva
