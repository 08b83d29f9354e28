#include "ResourceFiles.h"

#include "support/TempContext.h"

#include <QDir>
#include <QFile>

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

} // namespace orva::test
