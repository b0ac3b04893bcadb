// DesktopDocumentOpener with Qt on a real X server (Xvfb): a stand-in xdg-open
// early on PATH records the call and ends the way each test needs.
#include "desktop_document_opener.h"
#include "read_file.h"
#include "scoped_application.h"
#include "scoped_environment.h"
#include "x_server.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Guards against an opener that never writes or never ends; not a measure of
// speed.
constexpr int guardMilliseconds = 10000;

bool writeFile(const QString& path, const QByteArray& contents, QFile::Permissions permissions = {})
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        return false;
    file.close();
    return permissions == QFile::Permissions() || file.setPermissions(permissions);
}

// What Qt warned about while recordWarning was its message handler.
QStringList warnings;

void recordWarning(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        warnings.append(message);
}

class DesktopDocumentOpenerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid() && QDir(work.path()).mkpath("bin") && QDir(work.path()).mkpath("pictures"));
        oldDirectory = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(work.filePath("pictures")));
        ASSERT_TRUE(installOpener("exit 0"));
        ASSERT_TRUE(writeFile("Scribbo_Help.htm", "<html>help</html>"));
        paths.emplace("PATH", (work.filePath("bin") + ":" + qEnvironmentVariable("PATH")).toStdString());
        display.emplace(server.environment());
        application.emplace(std::vector<std::string>{"-platform", "xcb"});
    }

    void TearDown() override { QDir::setCurrent(oldDirectory); }

    // A stand-in xdg-open that records its arguments, then runs `ending`.
    bool installOpener(const QByteArray& ending, const QByteArray& interpreter = "/bin/sh")
    {
        const QByteArray script =
            "#!" + interpreter + "\nprintf '%s\\n' \"$@\" >> '" + recordPath().toUtf8() + "'\n" + ending + "\n";
        return writeFile(work.filePath("bin/xdg-open"), script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString recordPath() const { return work.filePath("opened.txt"); }

    QStringList recordedArguments() const
    {
        return QString::fromStdString(readFile(recordPath().toStdString())).split('\n', Qt::SkipEmptyParts);
    }

    // The local file an opener argument names, whether a URL or a path.
    static QString fileNamed(const QString& argument)
    {
        const QUrl url(argument);
        return url.isLocalFile() ? url.toLocalFile() : argument;
    }

    std::function<void()> countFailures()
    {
        return [this] { ++failures; };
    }

    // A stand-in that blocks until released through the named pipe, then
    // reports failure; the pipe's path, or empty if it could not be made.
    QString installBlockedOpener(const QString& pipeName)
    {
        const QString fifo = work.filePath(pipeName);
        if (mkfifo(qPrintable(fifo), 0600) != 0 || !installOpener("read line < '" + fifo.toUtf8() + "'\nexit 4"))
            return {};
        return fifo;
    }

    // Lets a stand-in blocked in "read line < fifo" go on.
    bool release(const QString& fifo)
    {
        int writeEnd = -1;
        // Opening without a reader fails at once rather than blocking.
        if (!QTest::qWaitFor([&] { return (writeEnd = ::open(qPrintable(fifo), O_WRONLY | O_NONBLOCK)) >= 0; },
                             guardMilliseconds))
            return false;
        const bool written = ::write(writeEnd, "go\n", 3) == 3;
        ::close(writeEnd);
        return written;
    }

    bool waitUntilOpenersEnd()
    {
        return QTest::qWaitFor([&] { return opener.runningOpeners() == 0; }, guardMilliseconds);
    }

    // Throws, failing the test with the server's words, if it cannot start.
    XServer server{XServer::Kind::Xvfb};
    QTemporaryDir work;
    QString oldDirectory;
    std::optional<ScopedEnvironment> paths;
    std::optional<ScopedEnvironment> display;
    std::optional<ScopedApplication<QGuiApplication>> application;
    int failures = 0;
    DesktopDocumentOpener opener;
};

TEST_F(DesktopDocumentOpenerTest, HandsOnlyAnExistingFileToXdgOpenAndStaysQuietWhenItSucceeds)
{
    ASSERT_TRUE(QDir::current().mkdir("Folder.htm"));
    EXPECT_FALSE(opener.open("Missing.htm", countFailures()));
    EXPECT_FALSE(opener.open("Folder.htm", countFailures()));
    EXPECT_FALSE(opener.open("", countFailures()));
    EXPECT_EQ(opener.runningOpeners(), 0);
    // A file that is there goes through, and is the only one that did.
    EXPECT_TRUE(opener.open("Scribbo_Help.htm", countFailures()));
    ASSERT_TRUE(waitUntilOpenersEnd()) << "xdg-open did not end";
    const QStringList arguments = recordedArguments();
    ASSERT_EQ(arguments.size(), 1) << arguments.join(' ').toStdString();
    EXPECT_EQ(fileNamed(arguments.first()), QDir::current().absoluteFilePath("Scribbo_Help.htm"))
        << arguments.first().toStdString();
    QCoreApplication::processEvents();
    EXPECT_EQ(failures, 0);
}

TEST_F(DesktopDocumentOpenerTest, ReportsOnceWhenXdgOpenFailsOrCrashes)
{
    // 3: a tool xdg-open needs is missing; 4: the action failed.
    for (const char* ending : {"exit 3", "exit 4", "kill -KILL $$"}) {
        SCOPED_TRACE(ending);
        ASSERT_TRUE(installOpener(ending));
        failures = 0;
        ASSERT_TRUE(opener.open("Scribbo_Help.htm", countFailures()));
        EXPECT_EQ(failures, 0) << "reported before open returned";
        ASSERT_TRUE(waitUntilOpenersEnd());
        QCoreApplication::processEvents(); // whatever else it had to say
        EXPECT_EQ(failures, 1);
    }
}

TEST_F(DesktopDocumentOpenerTest, ReturnsAtOnceAndHearsTheAnswerOfAnOpenerThatTakesLong)
{
    const QString fifo = installBlockedOpener("release");
    ASSERT_FALSE(fifo.isEmpty());

    // The stand-in is blocked until released: open cannot have waited for it.
    ASSERT_TRUE(opener.open("Scribbo_Help.htm", countFailures()));
    EXPECT_EQ(opener.runningOpeners(), 1);
    ASSERT_TRUE(release(fifo)) << "xdg-open never waited for its release";
    EXPECT_EQ(failures, 0);
    ASSERT_TRUE(waitUntilOpenersEnd());
    EXPECT_EQ(failures, 1);
}

TEST_F(DesktopDocumentOpenerTest, DestroyedWhileXdgOpenRunsItReportsNothingAndDoesNotWait)
{
    ASSERT_FALSE(installBlockedOpener("never-released").isEmpty());
    std::optional<DesktopDocumentOpener> shortLived{std::in_place};
    ASSERT_TRUE(shortLived->open("Scribbo_Help.htm", countFailures()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !recordedArguments().isEmpty(); }, guardMilliseconds));
    EXPECT_EQ(shortLived->runningOpeners(), 1);
    warnings.clear();
    const QtMessageHandler previousHandler = qInstallMessageHandler(recordWarning);
    // A destructor that waited for the stand-in would hang here for good.
    shortLived.reset();
    qInstallMessageHandler(previousHandler);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
    QCoreApplication::processEvents();
    EXPECT_EQ(failures, 0);
}

TEST_F(DesktopDocumentOpenerTest, AnswersFalseWhenNoOpenerCanStart)
{
    // Only an empty folder on PATH: no xdg-open, and no browser either.
    ASSERT_TRUE(QDir(work.path()).mkpath("empty"));
    paths.emplace("PATH", work.filePath("empty").toStdString());
    EXPECT_FALSE(opener.open("Scribbo_Help.htm", countFailures()));

    // An xdg-open that cannot run is no opener either.
    paths.emplace("PATH", work.filePath("bin").toStdString());
    ASSERT_TRUE(installOpener("exit 0", "/nonexistent/sh"));
    EXPECT_FALSE(opener.open("Scribbo_Help.htm", countFailures()));
    EXPECT_EQ(opener.runningOpeners(), 0);
    EXPECT_EQ(failures, 0);
}

} // namespace
