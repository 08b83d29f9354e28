#include "support/Waiting.h"
#include "support/TempContext.h"
#include "workspace/AppGroupStorageService.h"
#include "workspace/FileOps.h"
#include "workspace/TestFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTest>
#include <QThread>

#include <functional>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace orva {
namespace {

using fileops::FileBytes;
using fileops::kMaxReadSize;
using Status = FileBytes::Status;

constexpr qint64 kTerabyte = qint64(1) << 40;

class FileReadTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return temp.root() + QStringLiteral("/files/") + name; }

    // A file of `size` bytes whose contents are not read from disk: a sparse
    // file is as cheap at 1 TB as at 1 byte.
    static bool makeSparse(const QString& file, qint64 size)
    {
        return test::writeFile(file, {}) && ::truncate(QFile::encodeName(file).constData(), size) == 0;
    }

    // The read runs on a thread of its own: one that waits on what it opened
    // fails the test instead of hanging it.
    static std::optional<FileBytes> readWithin(const QString& file, int boundMs = 5000)
    {
        auto result = std::make_shared<FileBytes>();
        std::unique_ptr<QThread> reader(QThread::create([file, result] { *result = fileops::readFileBytes(file); }));
        reader->start();
        if (!test::waitUntil([&] { return reader->isFinished(); }, std::chrono::milliseconds(boundMs))) {
            // Stuck in the kernel: leave the thread behind rather than hang here.
            (void)reader.release();
            return std::nullopt;
        }
        return *result;
    }

    test::TempContext temp;
};

TEST_F(FileReadTest, OnlyARegularFileWithinTheBoundIsRead)
{
    struct Case {
        const char* name;
        std::function<bool(const QString& file)> make;
        Status status;
        qint64 size;                // bytes read, or the size reported
        const char* errorContains;  // in the reason, when not read
    };
    const QByteArray small = "{\"project\":1}";
    const QList<Case> cases = {
        {"a small file", [&](const QString& f) { return test::writeFile(f, small); }, Status::read, small.size(), ""},
        {"an empty file", [](const QString& f) { return test::writeFile(f, {}); }, Status::read, 0, ""},
        {"exactly the bound", [](const QString& f) { return test::writeFile(f, QByteArray(kMaxReadSize, 'x')); },
         Status::read, kMaxReadSize, ""},
        {"one byte past the bound", [](const QString& f) { return test::writeFile(f, QByteArray(kMaxReadSize + 1, 'x')); },
         Status::tooLarge, kMaxReadSize + 1, "too large (8,388,609 bytes; at most 8,388,608 are read)"},
        {"a sparse 1 TB file", [](const QString& f) { return makeSparse(f, kTerabyte); }, Status::tooLarge, kTerabyte,
         "too large (1,099,511,627,776 bytes"},
        {"a link to a regular file",
         [&](const QString& f) {
             return test::writeFile(f + QStringLiteral(".target"), small) && QFile::link(f + QStringLiteral(".target"), f);
         },
         Status::read, small.size(), ""},
        {"nothing", [](const QString&) { return true; }, Status::missing, 0, "there is no such file"},
        {"a link to nothing", [](const QString& f) { return QFile::link(f + QStringLiteral(".gone"), f); }, Status::missing,
         0, "there is no such file"},
        {"a folder", [](const QString& f) { return QDir().mkpath(f); }, Status::notRegularFile, 0,
         "isn\u2019t a regular file (it is a folder)"},
        {"a FIFO no one writes to", [](const QString& f) { return ::mkfifo(QFile::encodeName(f).constData(), 0600) == 0; },
         Status::notRegularFile, 0, "(it is a FIFO)"},
        {"a link to a FIFO",
         [](const QString& f) {
             return ::mkfifo(QFile::encodeName(f + QStringLiteral(".fifo")).constData(), 0600) == 0
                 && QFile::link(f + QStringLiteral(".fifo"), f);
         },
         Status::notRegularFile, 0, "(it is a FIFO)"},
        {"a link to /dev/zero", [](const QString& f) { return QFile::link(QStringLiteral("/dev/zero"), f); },
         Status::notRegularFile, 0, "(it is a device)"},
        {"a link to a terminal", [](const QString& f) { return QFile::link(QStringLiteral("/dev/tty"), f); },
         Status::notRegularFile, 0, "(it is a device)"},
    };
    QDir().mkpath(path({}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(QStringLiteral("case%1.json").arg(&c - cases.constData()));
        ASSERT_TRUE(c.make(file));
        const auto read = readWithin(file);
        ASSERT_TRUE(read.has_value()) << "the read waited on what it opened";
        EXPECT_EQ(read->status, c.status) << read->error.toStdString();
        if (c.status == Status::read) {
            EXPECT_EQ(read->bytes.size(), c.size);
            EXPECT_TRUE(read->error.isEmpty());
        } else {
            EXPECT_TRUE(read->bytes.isEmpty());
            EXPECT_TRUE(read->error.contains(QString::fromUtf8(c.errorContains))) << read->error.toStdString();
            if (c.status == Status::tooLarge) {
                EXPECT_EQ(read->size, c.size);
            }
        }
    }
}

TEST_F(FileReadTest, TextKeepsItsByteOrderMarkAndStopsAtTheBound)
{
    QString error;
    ASSERT_TRUE(test::writeFile(path(QStringLiteral("marked.json")), "\xEF\xBB\xBF{}"));
    EXPECT_EQ(fileops::readUtf8File(path(QStringLiteral("marked.json")), &error), QStringLiteral("\uFEFF{}"));

    ASSERT_TRUE(makeSparse(path(QStringLiteral("huge.json")), kTerabyte));
    EXPECT_FALSE(fileops::readUtf8File(path(QStringLiteral("huge.json")), &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("too large"))) << error.toStdString();
}

TEST_F(FileReadTest, TheInterviewStateIsReadWithinTheBound)
{
    AppGroupStorageService storage;
    const QString state = temp.context().containerPath + QStringLiteral("/ZAVE/interview_state.json");
    ASSERT_TRUE(makeSparse(state, kTerabyte));
    testing::internal::CaptureStdout();
    EXPECT_FALSE(storage.loadFile(QStringLiteral("interview_state.json"), QStringLiteral("ZAVE")).has_value());
    EXPECT_NE(testing::internal::GetCapturedStdout().find("[AppGroupStorageService] - 파일 불러오기 실패: The file \u201Cinterview_state.json\u201D couldn\u2019t be opened because it is too large"),
              std::string::npos);
}

} // namespace
} // namespace orva
