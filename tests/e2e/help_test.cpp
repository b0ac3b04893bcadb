// The "?" button hands the help page to the desktop's opener. When the
// opener starts but cannot open it, the child gets the error box, and the
// program writes nothing anywhere: no warning of Qt's reaches a terminal.
#include "scribbo_test.h"

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

namespace {

// An xdg-open that runs and reports what xdg-open does when the desktop has
// no way to show the page.
class FailingOpenerScribboTest : public ScribboTest {
protected:
    FailingOpenerScribboTest()
    {
        std::ofstream(openerFolder.file("xdg-open")) << "#!/bin/sh\nexit 4\n";
        chmod(openerFolder.file("xdg-open").c_str(), 0755);
    }

    std::vector<std::pair<std::string, std::string>> scribboEnvironment() const override
    {
        return {{"PATH", openerFolder.path() + ":" + std::getenv("PATH")}};
    }
    bool scribboLogsWarnings() const override { return false; }

    TemporaryDirectory openerFolder{"scribbo-opener"};
};

} // namespace

TEST_F(FailingOpenerScribboTest, HelpShowsTheErrorBoxAndNothingIsLogged)
{
    std::ofstream(workingDirectory() + "/Scribbo_Help.htm") << "<html><body>Help</body></html>\n";
    clickAt(scribbo::buttons::help);
    // Waits for the box ("Error" is its caption) and gives it the keyboard,
    // as a window manager would; Enter then answers it.
    ASSERT_TRUE(xdotool({"search", "--sync", "--onlyvisible", "--name", "^Error$", "windowfocus"}))
        << "no error box appeared; screenshot: " << keepScreenshot(screenshot(), "help") << "\n"
        << scribboReport();
    ASSERT_TRUE(xdotool({"key", "Return"}));
    ASSERT_NO_FATAL_FAILURE(waitUntilInputHandled()); // the main window answers again
    EXPECT_FALSE(xdotool({"search", "--onlyvisible", "--name", "^Error$"})) << "the error box is still there";
    EXPECT_EQ(scribboOutput(), "");
}
