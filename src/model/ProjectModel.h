#pragma once

// Records of the task plan ("ZAVE/project/Task.json"), the interview state
// ("ZAVE/interview_state.json") and the interview transcript
// ("chat_history.json"), with their vocabularies, equality, progress
// arithmetic and JSON coding.
//
// Every record is a plain value. For QML each record is also a Q_GADGET with
// read-only properties named as its fields; vocabulary fields appear twice,
// as the case's integer value (e.g. `status`) and as its stored text
// (e.g. `statusText`). Lists of records appear in QML as QVariantLists of
// record values.

#include <QByteArray>
#include <QHashFunctions>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

namespace orva {

// ---------------------------------------------------------------------------
// Vocabularies. Case order is declaration order; stored texts are the case
// names, except for InterviewState::Status.

enum class TaskStatus { planned, inProgress, completed, onHold };
enum class TestStatus { ready, pending, checking, checked, excluded };
enum class MilestoneType { setupAndModeling, featureImplementation, uiImplementation };

QString toString(TaskStatus status);
QString toString(TestStatus status);
QString toString(MilestoneType type);

// Exact, case-sensitive match of the stored text; anything else gives nullopt.
std::optional<TaskStatus> taskStatusFromString(const QString& text);
std::optional<TestStatus> testStatusFromString(const QString& text);
std::optional<MilestoneType> milestoneTypeFromString(const QString& text);

// Vocabularies hash by case, for QSet and QHash keys.
inline size_t qHash(TaskStatus v, size_t seed = 0) noexcept { return ::qHash(static_cast<int>(v), seed); }
inline size_t qHash(TestStatus v, size_t seed = 0) noexcept { return ::qHash(static_cast<int>(v), seed); }
inline size_t qHash(MilestoneType v, size_t seed = 0) noexcept { return ::qHash(static_cast<int>(v), seed); }

QList<TaskStatus> allTaskStatuses();
QList<TestStatus> allTestStatuses();
// The three milestone types in declaration order.
QList<MilestoneType> allMilestoneTypes();

// ---------------------------------------------------------------------------
// Task-plan records. Text fields compare as Unicode text: canonically
// equivalent strings (e.g. precomposed and decomposed Hangul) are equal.

struct DescriptionUx {
    Q_GADGET
    Q_PROPERTY(QStringList general READ generalValue CONSTANT)
    Q_PROPERTY(QStringList view READ viewValue CONSTANT)
    Q_PROPERTY(QStringList feature READ featureValue CONSTANT)
public:
    QStringList general;
    QStringList view;
    QStringList feature;

    QStringList generalValue() const { return general; }
    QStringList viewValue() const { return view; }
    QStringList featureValue() const { return feature; }

    friend bool operator==(const DescriptionUx& a, const DescriptionUx& b);
    friend bool operator!=(const DescriptionUx& a, const DescriptionUx& b) { return !(a == b); }
};

struct TaskDetail {
    Q_GADGET
    Q_PROPERTY(orva::DescriptionUx descriptionUx READ descriptionUxValue CONSTANT)
    Q_PROPERTY(QStringList modifiedFiles READ modifiedFilesValue CONSTANT)
    Q_PROPERTY(QStringList checklistUx READ checklistUxValue CONSTANT)
public:
    DescriptionUx descriptionUx;
    QStringList modifiedFiles;
    QStringList checklistUx;

    DescriptionUx descriptionUxValue() const { return descriptionUx; }
    QStringList modifiedFilesValue() const { return modifiedFiles; }
    QStringList checklistUxValue() const { return checklistUx; }

    friend bool operator==(const TaskDetail& a, const TaskDetail& b);
    friend bool operator!=(const TaskDetail& a, const TaskDetail& b) { return !(a == b); }
};

struct TaskItem {
    Q_GADGET
    Q_PROPERTY(qint64 id READ idValue CONSTANT)
    Q_PROPERTY(QString title READ titleValue CONSTANT)
    Q_PROPERTY(QString titleUx READ titleUxValue CONSTANT)
    Q_PROPERTY(QString summaryUx READ summaryUxValue CONSTANT)
    Q_PROPERTY(int status READ statusValue CONSTANT)
    Q_PROPERTY(QString statusText READ statusText CONSTANT)
    Q_PROPERTY(int testStatus READ testStatusValue CONSTANT)
    Q_PROPERTY(QString testStatusText READ testStatusText CONSTANT)
    Q_PROPERTY(orva::TaskDetail detail READ detailValue CONSTANT)
public:
    qint64 id = 0;
    QString title;
    QString titleUx;
    QString summaryUx;
    TaskStatus status = TaskStatus::planned;
    TestStatus testStatus = TestStatus::ready;
    TaskDetail detail;

    qint64 idValue() const { return id; }
    QString titleValue() const { return title; }
    QString titleUxValue() const { return titleUx; }
    QString summaryUxValue() const { return summaryUx; }
    int statusValue() const { return static_cast<int>(status); }
    QString statusText() const { return toString(status); }
    int testStatusValue() const { return static_cast<int>(testStatus); }
    QString testStatusText() const { return toString(testStatus); }
    TaskDetail detailValue() const { return detail; }

    friend bool operator==(const TaskItem& a, const TaskItem& b);
    friend bool operator!=(const TaskItem& a, const TaskItem& b) { return !(a == b); }
};

struct Milestone {
    Q_GADGET
    Q_PROPERTY(qint64 id READ idValue CONSTANT)
    Q_PROPERTY(QString title READ titleValue CONSTANT)
    Q_PROPERTY(int type READ typeValue CONSTANT)
    Q_PROPERTY(QString typeText READ typeText CONSTANT)
    Q_PROPERTY(QVariantList tasks READ tasksValue CONSTANT)
    Q_PROPERTY(qint64 completedTaskCount READ completedTaskCount CONSTANT)
    Q_PROPERTY(qint64 taskCount READ taskCount CONSTANT)
public:
    qint64 id = 0;
    QString title;
    MilestoneType type = MilestoneType::setupAndModeling;
    QList<TaskItem> tasks;

    // Tasks whose status is `completed`; the test status plays no part.
    qint64 completedTaskCount() const;
    qint64 taskCount() const { return tasks.size(); }

    qint64 idValue() const { return id; }
    QString titleValue() const { return title; }
    int typeValue() const { return static_cast<int>(type); }
    QString typeText() const { return toString(type); }
    QVariantList tasksValue() const;

    friend bool operator==(const Milestone& a, const Milestone& b);
    friend bool operator!=(const Milestone& a, const Milestone& b) { return !(a == b); }
};

struct Project {
    Q_GADGET
    Q_PROPERTY(qint64 id READ idValue CONSTANT)
    Q_PROPERTY(QString name READ nameValue CONSTANT)
    Q_PROPERTY(QVariantList milestones READ milestonesValue CONSTANT)
    Q_PROPERTY(QString createdAt READ createdAtValue CONSTANT)
    Q_PROPERTY(qint64 completedTaskCount READ completedTaskCount CONSTANT)
    Q_PROPERTY(qint64 totalTaskCount READ totalTaskCount CONSTANT)
    Q_PROPERTY(double progress READ progress CONSTANT)
    Q_PROPERTY(int progressPercentage READ progressPercentage CONSTANT)
public:
    qint64 id = 0;
    QString name;
    QList<Milestone> milestones;
    QString createdAt; // free text, never parsed as a date

    // Sum of the milestones' completed counts; 0 without milestones.
    qint64 completedTaskCount() const;
    // Sum of the milestones' task counts; 0 without milestones.
    qint64 totalTaskCount() const;
    // completed / total in double precision, 0.0 when there is no task.
    double progress() const;
    // completed / total * 100.0 in double precision, truncated toward zero
    // (29 of 50 gives 57); 0 when there is no task.
    int progressPercentage() const;

    qint64 idValue() const { return id; }
    QString nameValue() const { return name; }
    QVariantList milestonesValue() const;
    QString createdAtValue() const { return createdAt; }

    friend bool operator==(const Project& a, const Project& b);
    friend bool operator!=(const Project& a, const Project& b) { return !(a == b); }
};

// The top-level object of the task plan. No equality.
struct ProjectWrapper {
    Q_GADGET
    Q_PROPERTY(orva::Project project READ projectValue CONSTANT)
public:
    Project project;
    Project projectValue() const { return project; }
};

// The interview state file. No equality.
struct InterviewState {
    Q_GADGET
    Q_PROPERTY(int status READ statusValue CONSTANT)
    Q_PROPERTY(QString statusText READ statusText CONSTANT)
    Q_PROPERTY(QString timestamp READ timestampValue CONSTANT)
public:
    // Stored as "in_progress" and "completed".
    enum class Status { inProgress, completed };

    Status status = Status::inProgress;
    QString timestamp; // "last_updated": ISO 8601 text, never interpreted

    // Status in_progress, stamped with the current time in UTC with whole
    // seconds and a "Z" suffix, e.g. 2025-03-01T09:30:00Z.
    static InterviewState inProgressNow();

    int statusValue() const { return static_cast<int>(status); }
    QString statusText() const { return toString(status); }
    QString timestampValue() const { return timestamp; }

    static QString toString(Status status);
    static std::optional<Status> statusFromString(const QString& text);
};

// The same conversions as free functions, beside those of the other vocabularies.
inline QString toString(InterviewState::Status status) { return InterviewState::toString(status); }
inline std::optional<InterviewState::Status> interviewStatusFromString(const QString& text)
{
    return InterviewState::statusFromString(text);
}
inline size_t qHash(InterviewState::Status v, size_t seed = 0) noexcept { return ::qHash(static_cast<int>(v), seed); }

// One turn of the interview: `id` is its 1-based position, `question` the
// speaker ("User" or "Claude"), `answer` the text. No equality.
struct ChatHistory {
    Q_GADGET
    Q_PROPERTY(qint64 id READ idValue CONSTANT)
    Q_PROPERTY(QString question READ questionValue CONSTANT)
    Q_PROPERTY(QString answer READ answerValue CONSTANT)
public:
    qint64 id = 0;
    QString question;
    QString answer;

    qint64 idValue() const { return id; }
    QString questionValue() const { return question; }
    QString answerValue() const { return answer; }
};

// ---------------------------------------------------------------------------
// JSON coding.
//
// Decoding is strict: the input must be valid UTF-8 JSON; every listed key is
// required; a null, a value of the wrong JSON type, a number that is not a
// whole number within the signed 64-bit range, or a vocabulary text outside
// its set fails the whole read. Unlisted keys are ignored at every level.
// On failure the result is nullopt and *error (when given) holds a reason in
// English naming the offending place, e.g.
//   No value for key "testStatus" at project.milestones[0].tasks[2]
//
// Encoding writes compact UTF-8 JSON: no added whitespace, non-ASCII text as
// is, "/" written as "\/".

std::optional<ProjectWrapper> decodeProjectWrapper(const QByteArray& json, QString* error = nullptr);
std::optional<InterviewState> decodeInterviewState(const QByteArray& json, QString* error = nullptr);
std::optional<QList<ChatHistory>> decodeChatHistoryList(const QByteArray& json, QString* error = nullptr);

QByteArray encodeProjectWrapper(const ProjectWrapper& wrapper);
QByteArray encodeInterviewState(const InterviewState& state);
QByteArray encodeChatHistoryList(const QList<ChatHistory>& history);

// Registers the record types with Qt's meta-type system so that QML can read
// their properties when they are handed over in a QVariant. Safe to call more
// than once.
void registerModelMetaTypes();

// The project a QVariant holds (as screens are handed one), if it holds one.
std::optional<Project> projectIn(const QVariant& value);

} // namespace orva

Q_DECLARE_METATYPE(orva::DescriptionUx)
Q_DECLARE_METATYPE(orva::TaskDetail)
Q_DECLARE_METATYPE(orva::TaskItem)
Q_DECLARE_METATYPE(orva::Milestone)
Q_DECLARE_METATYPE(orva::Project)
Q_DECLARE_METATYPE(orva::ProjectWrapper)
Q_DECLARE_METATYPE(orva::InterviewState)
Q_DECLARE_METATYPE(orva::ChatHistory)
