#include "model/ProjectModel.h"

#include "model/StrictJson.h"

#include <QDateTime>
#include <QVariant>

namespace orva {

// ---------------------------------------------------------------------------
// Vocabularies

namespace {

const char* const kTaskStatusTexts[] = {"planned", "inProgress", "completed", "onHold"};
const char* const kTestStatusTexts[] = {"ready", "pending", "checking", "checked", "excluded"};
const char* const kMilestoneTypeTexts[] = {"setupAndModeling", "featureImplementation", "uiImplementation"};
const char* const kInterviewStatusTexts[] = {"in_progress", "completed"};

template <typename E, std::size_t N>
std::optional<E> fromTexts(const char* const (&texts)[N], const QString& text)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (text == QLatin1String(texts[i]))
            return static_cast<E>(i);
    }
    return std::nullopt;
}

template <typename E, std::size_t N>
QList<E> allOf(const char* const (&)[N])
{
    QList<E> all;
    for (std::size_t i = 0; i < N; ++i)
        all.append(static_cast<E>(i));
    return all;
}

} // namespace

QString toString(TaskStatus status) { return QLatin1String(kTaskStatusTexts[static_cast<int>(status)]); }
QString toString(TestStatus status) { return QLatin1String(kTestStatusTexts[static_cast<int>(status)]); }
QString toString(MilestoneType type) { return QLatin1String(kMilestoneTypeTexts[static_cast<int>(type)]); }

std::optional<TaskStatus> taskStatusFromString(const QString& text) { return fromTexts<TaskStatus>(kTaskStatusTexts, text); }
std::optional<TestStatus> testStatusFromString(const QString& text) { return fromTexts<TestStatus>(kTestStatusTexts, text); }
std::optional<MilestoneType> milestoneTypeFromString(const QString& text)
{
    return fromTexts<MilestoneType>(kMilestoneTypeTexts, text);
}

QList<TaskStatus> allTaskStatuses() { return allOf<TaskStatus>(kTaskStatusTexts); }
QList<TestStatus> allTestStatuses() { return allOf<TestStatus>(kTestStatusTexts); }
QList<MilestoneType> allMilestoneTypes() { return allOf<MilestoneType>(kMilestoneTypeTexts); }

QString InterviewState::toString(Status status)
{
    return QLatin1String(kInterviewStatusTexts[static_cast<int>(status)]);
}

std::optional<InterviewState::Status> InterviewState::statusFromString(const QString& text)
{
    return fromTexts<Status>(kInterviewStatusTexts, text);
}

InterviewState InterviewState::inProgressNow()
{
    InterviewState state;
    state.status = Status::inProgress;
    // Qt::ISODate on a UTC time gives whole seconds and a "Z" suffix.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    state.timestamp = now.addMSecs(-now.time().msec()).toString(Qt::ISODate);
    return state;
}

// ---------------------------------------------------------------------------
// Equality

namespace {

// Unicode text equality: canonically equivalent strings are equal.
bool sameText(const QString& a, const QString& b)
{
    if (a == b)
        return true;
    return a.normalized(QString::NormalizationForm_C) == b.normalized(QString::NormalizationForm_C);
}

bool sameTexts(const QStringList& a, const QStringList& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (!sameText(a[i], b[i]))
            return false;
    }
    return true;
}

template <typename T>
QVariantList toVariantList(const QList<T>& list)
{
    QVariantList out;
    out.reserve(list.size());
    for (const T& item : list)
        out.append(QVariant::fromValue(item));
    return out;
}

} // namespace

bool operator==(const DescriptionUx& a, const DescriptionUx& b)
{
    return sameTexts(a.general, b.general) && sameTexts(a.view, b.view) && sameTexts(a.feature, b.feature);
}

bool operator==(const TaskDetail& a, const TaskDetail& b)
{
    return a.descriptionUx == b.descriptionUx && sameTexts(a.modifiedFiles, b.modifiedFiles)
        && sameTexts(a.checklistUx, b.checklistUx);
}

bool operator==(const TaskItem& a, const TaskItem& b)
{
    return a.id == b.id && sameText(a.title, b.title) && sameText(a.titleUx, b.titleUx)
        && sameText(a.summaryUx, b.summaryUx) && a.status == b.status && a.testStatus == b.testStatus
        && a.detail == b.detail;
}

bool operator==(const Milestone& a, const Milestone& b)
{
    return a.id == b.id && sameText(a.title, b.title) && a.type == b.type && a.tasks == b.tasks;
}

bool operator==(const Project& a, const Project& b)
{
    return a.id == b.id && sameText(a.name, b.name) && a.milestones == b.milestones
        && sameText(a.createdAt, b.createdAt);
}

// ---------------------------------------------------------------------------
// Progress

qint64 Milestone::completedTaskCount() const
{
    qint64 count = 0;
    for (const TaskItem& task : tasks) {
        if (task.status == TaskStatus::completed)
            ++count;
    }
    return count;
}

QVariantList Milestone::tasksValue() const { return toVariantList(tasks); }

qint64 Project::completedTaskCount() const
{
    qint64 count = 0;
    for (const Milestone& milestone : milestones)
        count += milestone.completedTaskCount();
    return count;
}

qint64 Project::totalTaskCount() const
{
    qint64 count = 0;
    for (const Milestone& milestone : milestones)
        count += milestone.tasks.size();
    return count;
}

double Project::progress() const
{
    if (milestones.isEmpty())
        return 0.0;
    const qint64 total = totalTaskCount();
    if (total < 1)
        return 0.0;
    return static_cast<double>(completedTaskCount()) / static_cast<double>(total);
}

int Project::progressPercentage() const
{
    if (milestones.isEmpty())
        return 0;
    const qint64 total = totalTaskCount();
    if (total < 1)
        return 0;
    // The quotient first, then the product: 29 / 50 * 100.0 is just below 58.
    const double quotient = static_cast<double>(completedTaskCount()) / static_cast<double>(total);
    return static_cast<int>(quotient * 100.0);
}

QVariantList Project::milestonesValue() const { return toVariantList(milestones); }

// ---------------------------------------------------------------------------
// Decoding

namespace {

using json::Node;

class Decoder {
public:
    QString error;

    bool fail(const QString& message)
    {
        if (error.isEmpty())
            error = message;
        return false;
    }

    static QString place(const QString& path) { return path.isEmpty() ? QStringLiteral("the top level") : path; }
    static QString join(const QString& path, const QString& key)
    {
        return path.isEmpty() ? key : path + QLatin1Char('.') + key;
    }

    bool expectKind(const Node& node, Node::Kind kind, const QString& path)
    {
        if (node.kind == kind)
            return true;
        if (node.kind == Node::Kind::null)
            return fail(QStringLiteral("Null found at %1 where %2 was expected").arg(place(path), json::describe(kind)));
        return fail(QStringLiteral("Expected %1 at %2 but found %3")
                        .arg(json::describe(kind), place(path), json::describe(node.kind)));
    }

    // The value under `key` of an object already checked to be an object.
    const Node* field(const Node& object, const char* key, const QString& path)
    {
        const QString name = QLatin1String(key);
        const Node* value = object.member(name);
        if (!value)
            fail(QStringLiteral("No value for key \"%1\" at %2").arg(name, place(path)));
        return value;
    }

    bool readString(const Node& object, const char* key, const QString& path, QString* out)
    {
        const Node* value = field(object, key, path);
        if (!value || !expectKind(*value, Node::Kind::string, join(path, QLatin1String(key))))
            return false;
        *out = value->text;
        return true;
    }

    bool readInteger(const Node& object, const char* key, const QString& path, qint64* out)
    {
        const Node* value = field(object, key, path);
        const QString at = join(path, QLatin1String(key));
        if (!value || !expectKind(*value, Node::Kind::number, at))
            return false;
        switch (json::toInteger(value->text, out)) {
        case json::IntegerResult::ok: return true;
        case json::IntegerResult::notWhole:
            return fail(QStringLiteral("Number %1 at %2 is not a whole number").arg(value->text, at));
        case json::IntegerResult::outOfRange:
            return fail(QStringLiteral("Number %1 at %2 does not fit a signed 64-bit integer").arg(value->text, at));
        }
        return false;
    }

    bool readStringList(const Node& object, const char* key, const QString& path, QStringList* out)
    {
        const Node* value = field(object, key, path);
        const QString at = join(path, QLatin1String(key));
        if (!value || !expectKind(*value, Node::Kind::array, at))
            return false;
        out->clear();
        out->reserve(static_cast<qsizetype>(value->items.size()));
        for (std::size_t i = 0; i < value->items.size(); ++i) {
            const Node& item = value->items[i];
            if (!expectKind(item, Node::Kind::string, QStringLiteral("%1[%2]").arg(at).arg(i)))
                return false;
            out->append(item.text);
        }
        return true;
    }

    template <typename E>
    bool readVocabulary(const Node& object, const char* key, const QString& path, const char* typeName,
                        std::optional<E> (*convert)(const QString&), E* out)
    {
        QString text;
        if (!readString(object, key, path, &text))
            return false;
        const std::optional<E> value = convert(text);
        if (!value) {
            return fail(QStringLiteral("\"%1\" at %2 is not a valid %3")
                            .arg(text, join(path, QLatin1String(key)), QLatin1String(typeName)));
        }
        *out = *value;
        return true;
    }

    // Runs `each` on every element of the array under `key`.
    template <typename F>
    bool forEachObject(const Node& object, const char* key, const QString& path, F each)
    {
        const Node* value = field(object, key, path);
        const QString at = join(path, QLatin1String(key));
        if (!value || !expectKind(*value, Node::Kind::array, at))
            return false;
        for (std::size_t i = 0; i < value->items.size(); ++i) {
            const QString itemPath = QStringLiteral("%1[%2]").arg(at).arg(i);
            const Node& item = value->items[i];
            if (!expectKind(item, Node::Kind::object, itemPath) || !each(item, itemPath))
                return false;
        }
        return true;
    }

    const Node* objectField(const Node& object, const char* key, const QString& path)
    {
        const Node* value = field(object, key, path);
        if (!value || !expectKind(*value, Node::Kind::object, join(path, QLatin1String(key))))
            return nullptr;
        return value;
    }

    bool descriptionUx(const Node& node, const QString& path, DescriptionUx* out)
    {
        return readStringList(node, "general", path, &out->general) && readStringList(node, "view", path, &out->view)
            && readStringList(node, "feature", path, &out->feature);
    }

    bool taskDetail(const Node& node, const QString& path, TaskDetail* out)
    {
        const Node* description = objectField(node, "description_ux", path);
        return description && descriptionUx(*description, join(path, QStringLiteral("description_ux")), &out->descriptionUx)
            && readStringList(node, "modifiedFiles", path, &out->modifiedFiles)
            && readStringList(node, "checklist_ux", path, &out->checklistUx);
    }

    bool taskItem(const Node& node, const QString& path, TaskItem* out)
    {
        if (!readInteger(node, "id", path, &out->id) || !readString(node, "title", path, &out->title)
            || !readString(node, "title_ux", path, &out->titleUx)
            || !readString(node, "summary_ux", path, &out->summaryUx)
            || !readVocabulary<TaskStatus>(node, "status", path, "TaskStatus", &taskStatusFromString, &out->status)
            || !readVocabulary<TestStatus>(node, "testStatus", path, "TestStatus", &testStatusFromString,
                                           &out->testStatus))
            return false;
        const Node* detail = objectField(node, "detail", path);
        return detail && taskDetail(*detail, join(path, QStringLiteral("detail")), &out->detail);
    }

    bool milestone(const Node& node, const QString& path, Milestone* out)
    {
        if (!readInteger(node, "id", path, &out->id) || !readString(node, "title", path, &out->title)
            || !readVocabulary<MilestoneType>(node, "type", path, "MilestoneType", &milestoneTypeFromString,
                                              &out->type))
            return false;
        return forEachObject(node, "tasks", path, [&](const Node& item, const QString& itemPath) {
            TaskItem task;
            if (!taskItem(item, itemPath, &task))
                return false;
            out->tasks.append(std::move(task));
            return true;
        });
    }

    bool project(const Node& node, const QString& path, Project* out)
    {
        if (!readInteger(node, "id", path, &out->id) || !readString(node, "name", path, &out->name))
            return false;
        const bool milestonesRead = forEachObject(node, "milestones", path, [&](const Node& item, const QString& itemPath) {
            Milestone m;
            if (!milestone(item, itemPath, &m))
                return false;
            out->milestones.append(std::move(m));
            return true;
        });
        return milestonesRead && readString(node, "createdAt", path, &out->createdAt);
    }

    bool interviewState(const Node& node, InterviewState* out)
    {
        return readVocabulary<InterviewState::Status>(node, "status", QString(), "InterviewState.Status",
                                                      &InterviewState::statusFromString, &out->status)
            && readString(node, "last_updated", QString(), &out->timestamp);
    }

    bool chatHistory(const Node& node, const QString& path, ChatHistory* out)
    {
        return readInteger(node, "id", path, &out->id) && readString(node, "question", path, &out->question)
            && readString(node, "answer", path, &out->answer);
    }
};

template <typename T>
std::optional<T> finish(Decoder& decoder, bool ok, T&& value, QString* error)
{
    if (ok)
        return std::move(value);
    if (error)
        *error = decoder.error;
    return std::nullopt;
}

} // namespace

std::optional<ProjectWrapper> decodeProjectWrapper(const QByteArray& bytes, QString* error)
{
    const std::optional<Node> root = json::parse(bytes, error);
    if (!root)
        return std::nullopt;
    Decoder decoder;
    ProjectWrapper wrapper;
    bool ok = decoder.expectKind(*root, Node::Kind::object, QString());
    if (ok) {
        const Node* project = decoder.objectField(*root, "project", QString());
        ok = project && decoder.project(*project, QStringLiteral("project"), &wrapper.project);
    }
    return finish(decoder, ok, std::move(wrapper), error);
}

std::optional<InterviewState> decodeInterviewState(const QByteArray& bytes, QString* error)
{
    const std::optional<Node> root = json::parse(bytes, error);
    if (!root)
        return std::nullopt;
    Decoder decoder;
    InterviewState state;
    const bool ok = decoder.expectKind(*root, Node::Kind::object, QString()) && decoder.interviewState(*root, &state);
    return finish(decoder, ok, std::move(state), error);
}

std::optional<QList<ChatHistory>> decodeChatHistoryList(const QByteArray& bytes, QString* error)
{
    const std::optional<Node> root = json::parse(bytes, error);
    if (!root)
        return std::nullopt;
    Decoder decoder;
    QList<ChatHistory> list;
    bool ok = decoder.expectKind(*root, Node::Kind::array, QString());
    for (std::size_t i = 0; ok && i < root->items.size(); ++i) {
        const QString path = QStringLiteral("[%1]").arg(i);
        ChatHistory turn;
        ok = decoder.expectKind(root->items[i], Node::Kind::object, path)
            && decoder.chatHistory(root->items[i], path, &turn);
        if (ok)
            list.append(std::move(turn));
    }
    return finish(decoder, ok, std::move(list), error);
}

// ---------------------------------------------------------------------------
// Encoding

namespace {

class Writer {
public:
    QByteArray out;

    void begin(char c) { out += c; m_first = true; }
    void end(char c) { out += c; m_first = false; }

    void key(const char* name)
    {
        separator();
        json::appendString(out, QLatin1String(name));
        out += ':';
        m_first = true; // the value follows without a comma
    }

    void string(const QString& text) { separator(); json::appendString(out, text); m_first = false; }
    void integer(qint64 v) { separator(); out += QByteArray::number(v); m_first = false; }

    void stringList(const QStringList& list)
    {
        separator();
        begin('[');
        for (const QString& s : list)
            string(s);
        end(']');
    }

    void separator()
    {
        if (!m_first)
            out += ',';
        m_first = false;
    }

private:
    bool m_first = true;
};

void write(Writer& w, const DescriptionUx& d)
{
    w.separator();
    w.begin('{');
    w.key("general"); w.stringList(d.general);
    w.key("view"); w.stringList(d.view);
    w.key("feature"); w.stringList(d.feature);
    w.end('}');
}

void write(Writer& w, const TaskItem& t)
{
    w.separator();
    w.begin('{');
    w.key("id"); w.integer(t.id);
    w.key("title"); w.string(t.title);
    w.key("title_ux"); w.string(t.titleUx);
    w.key("summary_ux"); w.string(t.summaryUx);
    w.key("status"); w.string(toString(t.status));
    w.key("testStatus"); w.string(toString(t.testStatus));
    w.key("detail");
    w.separator();
    w.begin('{');
    w.key("description_ux"); write(w, t.detail.descriptionUx);
    w.key("modifiedFiles"); w.stringList(t.detail.modifiedFiles);
    w.key("checklist_ux"); w.stringList(t.detail.checklistUx);
    w.end('}');
    w.end('}');
}

void write(Writer& w, const Milestone& m)
{
    w.separator();
    w.begin('{');
    w.key("id"); w.integer(m.id);
    w.key("title"); w.string(m.title);
    w.key("type"); w.string(toString(m.type));
    w.key("tasks");
    w.separator();
    w.begin('[');
    for (const TaskItem& t : m.tasks)
        write(w, t);
    w.end(']');
    w.end('}');
}

} // namespace

QByteArray encodeProjectWrapper(const ProjectWrapper& wrapper)
{
    const Project& p = wrapper.project;
    Writer w;
    w.begin('{');
    w.key("project");
    w.separator();
    w.begin('{');
    w.key("id"); w.integer(p.id);
    w.key("name"); w.string(p.name);
    w.key("milestones");
    w.separator();
    w.begin('[');
    for (const Milestone& m : p.milestones)
        write(w, m);
    w.end(']');
    w.key("createdAt"); w.string(p.createdAt);
    w.end('}');
    w.end('}');
    return w.out;
}

QByteArray encodeInterviewState(const InterviewState& state)
{
    Writer w;
    w.begin('{');
    w.key("status"); w.string(InterviewState::toString(state.status));
    w.key("last_updated"); w.string(state.timestamp);
    w.end('}');
    return w.out;
}

QByteArray encodeChatHistoryList(const QList<ChatHistory>& history)
{
    Writer w;
    w.begin('[');
    for (const ChatHistory& turn : history) {
        w.separator();
        w.begin('{');
        w.key("id"); w.integer(turn.id);
        w.key("question"); w.string(turn.question);
        w.key("answer"); w.string(turn.answer);
        w.end('}');
    }
    w.end(']');
    return w.out;
}

std::optional<Project> projectIn(const QVariant& value)
{
    if (value.metaType() == QMetaType::fromType<Project>())
        return value.value<Project>();
    return std::nullopt;
}

void registerModelMetaTypes()
{
    qRegisterMetaType<DescriptionUx>("orva::DescriptionUx");
    qRegisterMetaType<TaskDetail>("orva::TaskDetail");
    qRegisterMetaType<TaskItem>("orva::TaskItem");
    qRegisterMetaType<Milestone>("orva::Milestone");
    qRegisterMetaType<Project>("orva::Project");
    qRegisterMetaType<ProjectWrapper>("orva::ProjectWrapper");
    qRegisterMetaType<InterviewState>("orva::InterviewState");
    qRegisterMetaType<ChatHistory>("orva::ChatHistory");
}

} // namespace orva
