// DesktopDocumentOpener with Qt on a real X server (Xvfb): Qt hands documents
// to xdg-open there, and a stand-in xdg-open early on PATH records the call.
#include "desktop_document_opener.h"
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

namespace {

// Guards against an opener that never writes; not a measure of speed.
constexpr int guardMilliseconds = 10000;

bool writeFile(const QString& path, const QByteArray& contents, QFile::Permissions permissions = {})
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        return false;
    file.close();
    return permissions == QFile::Permissions() || file.setPermissions(permissions);
}

class DesktopDocumentOpenerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid() && QDir(work.path()).mkpath("bin") && QDir(work.path()).mkpath("pictures"));
        oldDirectory = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(work.filePath("pictures")));
        const QByteArray fakeOpener = "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" + recordPath().toUtf8() + "'\n";
        ASSERT_TRUE(writeFile(work.filePath("bin/xdg-open"), fakeOpener,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    void TearDown() override { QDir::setCurrent(oldDirectory); }

    // Qt looks for the opener on PATH the first time it needs one.
    void startApplication(const QString& path)
    {
        paths.emplace("PATH", path.toStdString());
        display.emplace("DISPLAY", server.displayName());
        application.emplace(std::vector<std::string>{"-platform", "xcb"});
    }

    QString recordPath() const { return work.filePath("opened.txt"); }

    QStringList recordedArguments() const
    {
        QFile record(recordPath());
        if (!record.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(record.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    // The local file an opener argument names, whether a URL or a path.
    static QString fileNamed(const QString& argument)
    {
        const QUrl url(argument);
        return url.isLocalFile() ? url.toLocalFile() : argument;
    }

    // Throws, failing the test with the server's words, if it cannot start.
    XServer server{XServer::Kind::Xvfb};
    QTemporaryDir work;
    QString oldDirectory;
    std::optional<ScopedEnvironment> paths;
    std::optional<ScopedEnvironment> display;
    std::optional<ScopedApplication<QGuiApplication>> application;
    DesktopDocumentOpener opener;
};

TEST_F(DesktopDocumentOpenerTest, HandsAnExistingFileToTheDesktopsOpener)
{
    startApplication(work.filePath("bin") + ":" + qEnvironmentVariable("PATH"));
    ASSERT_TRUE(writeFile("Scribbo_Help.htm", "<html>help</html>"));

    EXPECT_TRUE(opener.open("Scribbo_Help.htm"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !recordedArguments().isEmpty(); }, guardMilliseconds))
        << "xdg-open was not started";
    const QStringList arguments = recordedArguments();
    ASSERT_EQ(arguments.size(), 1) << arguments.join(' ').toStdString();
    EXPECT_EQ(fileNamed(arguments.first()), QDir::current().absoluteFilePath("Scribbo_Help.htm"))
        << arguments.first().toStdString();
}

TEST_F(DesktopDocumentOpenerTest, AMissingFileIsNotHandedOn)
{
    startApplication(work.filePath("bin") + ":" + qEnvironmentVariable("PATH"));
    ASSERT_TRUE(QDir::current().mkdir("Folder.htm"));
    ASSERT_TRUE(writeFile("Present.htm", "<html></html>"));

    EXPECT_FALSE(opener.open("Scribbo_Help.htm"));
    EXPECT_FALSE(opener.open("Folder.htm"));
    EXPECT_FALSE(opener.open(""));
    // A file that is there goes through, and is the only one that did.
    EXPECT_TRUE(opener.open("Present.htm"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !recordedArguments().isEmpty(); }, guardMilliseconds));
    const QStringList arguments = recordedArguments();
    ASSERT_EQ(arguments.size(), 1) << arguments.join(' ').toStdString();
    EXPECT_EQ(fileNamed(arguments.first()), QDir::current().absoluteFilePath("Present.htm"));
}

TEST_F(DesktopDocumentOpenerTest, AnswersFalseWhenNoOpenerCanStart)
{
    // Only an empty folder on PATH: no xdg-open, and no browser either.
    ASSERT_TRUE(QDir(work.path()).mkpath("empty"));
    startApplication(work.filePath("empty"));
    ASSERT_TRUE(writeFile("Scribbo_Help.htm", "<html>help</html>"));
    EXPECT_FALSE(opener.open("Scribbo_Help.htm"));
}

} // namespace
