#include "ResourceFiles.h"

#include "support/TempContext.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace orva::test {

QByteArray readResource(const QString& name)
{
    QFile file(QDir(builtResourcesPath()).filePath(name));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read the prompt document " << name.toStdString() << " in "
                      << builtResourcesPath().toStdString();
        return {};
    }
    return file.readAll();
}

QList<QByteArray> fencedBlocks(const QByteArray& markdown, const QString& language)
{
    QList<QByteArray> blocks;
    const QList<QByteArray> lines = markdown.split('\n');
    bool inside = false;
    bool wanted = false;
    QByteArray body;
    for (const QByteArray& raw : lines) {
        const QByteArray line = raw.trimmed();
        if (!inside) {
            if (line.startsWith("```")) {
                inside = true;
                wanted = line.mid(3).trimmed() == language.toUtf8();
                body.clear();
            }
            continue;
        }
        if (line == "```") {
            if (wanted)
                blocks.append(body);
            inside = false;
            continue;
        }
        body.append(raw).append('\n');
    }
    return blocks;
}

QList<std::pair<QString, QString>> guideStatusRows()
{
    QList<std::pair<QString, QString>> rows;
    const QRegularExpression row(QStringLiteral("^\\|[^|]*\\| \"(\\w+)\" \\| \"(\\w+)\" \\|"));
    for (const QByteArray& line : readResource(QStringLiteral("CLAUDE_DEV.md")).split('\n')) {
        const auto match = row.match(QString::fromUtf8(line));
        if (match.hasMatch() && match.captured(1) != QLatin1String("status")) // not the header row
            rows.append({match.captured(1), match.captured(2)});
    }
    return rows;
}

QByteArray templatePlanExample()
{
    const QList<QByteArray> blocks = fencedBlocks(readResource(QStringLiteral("Task_json.md")), QStringLiteral("json"));
    return blocks.isEmpty() ? QByteArray() : blocks.first();
}

QString python3()
{
    return QStandardPaths::findExecutable(QStringLiteral("python3"));
}

ScriptRun runResourceScript(const QString& name, const QStringList& arguments)
{
    return runPythonScript(QDir(builtResourcesPath()).filePath(name), arguments);
}

ScriptRun runPythonScript(const QString& path, const QStringList& arguments)
{
    QProcess process;
    process.start(python3(), QStringList{path} + arguments);
    ScriptRun run;
    if (!process.waitForFinished(30000)) {
        ADD_FAILURE() << path.toStdString() << " did not finish";
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.finished = process.exitStatus() == QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.output = process.readAllStandardOutput();
    return run;
}

} // namespace orva::test
