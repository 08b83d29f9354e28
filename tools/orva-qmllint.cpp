// orva-qmllint: Qt's qmllint, with one report of Qt 6.4's linter left out.
//
// The build's lint targets (all_qmllint, <module>_qmllint) call this program
// in place of qmllint with qmllint's own arguments. It runs qmllint with a
// JSON report, prints every warning as "file:line:column: message" with the
// source line, and fails when one is left.
//
// Left out: "Unqualified access" to an id declared in the same file. Qt
// 6.4's qmllint reports every use of the file's ids from inside a Component
// (a delegate, a Loader's sourceComponent, a Repeater's item) as
// unqualified, although the engine creates an inline Component in the
// context of its file, where those ids resolve. Qt 6.5 lets a file say so
// with "pragma ComponentBehavior: Bound"; 6.4 knows no such pragma. Every
// other unqualified access (modelData or a role without a required
// property, an unknown name, a property of an outer object without its id)
// still fails.

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

struct Source {
    QString text;
    QStringList lines;
};

const Source& sourceOf(const QString& path)
{
    static QHash<QString, Source> sources;
    auto it = sources.find(path);
    if (it == sources.end()) {
        Source source;
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            source.text = QString::fromUtf8(file.readAll());
        source.lines = source.text.split(QLatin1Char('\n'));
        it = sources.insert(path, source);
    }
    return *it;
}

// The name a warning points at (line and column count from 1, in UTF-16
// units as QString does).
QString pointedName(const Source& source, const QJsonObject& warning)
{
    const int line = warning.value(QStringLiteral("line")).toInt();
    const int column = warning.value(QStringLiteral("column")).toInt();
    const int length = warning.value(QStringLiteral("length")).toInt();
    if (line < 1 || line > source.lines.size() || column < 1 || length < 1)
        return {};
    return source.lines[line - 1].mid(column - 1, length);
}

bool declaresId(const Source& source, const QString& name)
{
    const QRegularExpression id(QStringLiteral("(^|[\\s{;])id\\s*:\\s*%1(?![\\w$])")
                                    .arg(QRegularExpression::escape(name)));
    return id.match(source.text).hasMatch();
}

bool isIdFromEnclosingFile(const QString& path, const QJsonObject& warning)
{
    if (warning.value(QStringLiteral("message")).toString() != QStringLiteral("Unqualified access"))
        return false;
    const Source& source = sourceOf(path);
    const QString name = pointedName(source, warning);
    return !name.isEmpty() && declaresId(source, name);
}

void print(const QString& path, const QJsonObject& warning)
{
    const QString message = warning.value(QStringLiteral("message")).toString();
    const int line = warning.value(QStringLiteral("line")).toInt();
    const int column = warning.value(QStringLiteral("column")).toInt();
    const QString type = warning.value(QStringLiteral("type")).toString();
    const QString kind = type == QStringLiteral("info") ? QStringLiteral("Info") : QStringLiteral("Warning");
    if (line < 1) {
        err() << kind << ": " << path << ": " << message << '\n';
        return;
    }
    err() << kind << ": " << path << ':' << line << ':' << column << ": " << message << '\n';
    const Source& source = sourceOf(path);
    if (line <= source.lines.size())
        err() << "    " << source.lines[line - 1] << '\n';
    for (const QJsonValue& value : warning.value(QStringLiteral("suggestions")).toArray())
        err() << "Info: " << value.toObject().value(QStringLiteral("message")).toString().trimmed() << '\n';
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);

    QTemporaryDir dir;
    if (!dir.isValid()) {
        err() << "orva-qmllint: no temporary folder\n";
        return 2;
    }
    const QString report = dir.filePath(QStringLiteral("report.json"));
    arguments << QStringLiteral("--json") << report;

    QProcess qmllint;
    qmllint.setProcessChannelMode(QProcess::ForwardedChannels);
    qmllint.start(QStringLiteral(ORVA_QT_QMLLINT), arguments);
    if (!qmllint.waitForFinished(-1) || qmllint.exitStatus() != QProcess::NormalExit) {
        err() << "orva-qmllint: " << ORVA_QT_QMLLINT << " did not run: " << qmllint.errorString() << '\n';
        return 2;
    }

    QFile file(report);
    if (!file.open(QIODevice::ReadOnly)) {
        err() << "orva-qmllint: qmllint wrote no report (exit code " << qmllint.exitCode() << ")\n";
        return 2;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        err() << "orva-qmllint: unreadable report: " << parseError.errorString() << '\n';
        return 2;
    }

    int failures = 0;
    int leftOut = 0;
    for (const QJsonValue& fileValue : document.object().value(QStringLiteral("files")).toArray()) {
        const QJsonObject entry = fileValue.toObject();
        const QString path = entry.value(QStringLiteral("filename")).toString();
        for (const QJsonValue& warningValue : entry.value(QStringLiteral("warnings")).toArray()) {
            const QJsonObject warning = warningValue.toObject();
            const bool counts = warning.value(QStringLiteral("type")).toString() != QStringLiteral("info");
            if (counts && isIdFromEnclosingFile(path, warning)) {
                ++leftOut;
                continue;
            }
            print(path, warning);
            if (counts)
                ++failures;
        }
    }
    // A clean run stays silent.
    if (failures > 0) {
        if (leftOut > 0)
            err() << "orva-qmllint: " << leftOut << " use(s) of a file's own ids inside its components not counted\n";
        err() << "orva-qmllint: " << failures << " warning(s)\n";
        return 1;
    }
    return 0;
}
