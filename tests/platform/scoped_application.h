// A Qt application object for one test, with its own command line.
#pragma once

#include <memory>
#include <string>
#include <vector>

template <typename Application>
class ScopedApplication {
public:
    explicit ScopedApplication(const std::vector<std::string>& arguments = {})
    {
        commandLine.emplace_back("platform_tests");
        commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
        for (std::string& argument : commandLine)
            argumentPointers.push_back(argument.data());
        argumentPointers.push_back(nullptr);
        argumentCount = int(commandLine.size());
        application = std::make_unique<Application>(argumentCount, argumentPointers.data());
    }

    Application* operator->() const { return application.get(); }

private:
    // Qt keeps pointers into the command line for the application's life.
    std::vector<std::string> commandLine;
    std::vector<char*> argumentPointers;
    int argumentCount = 0;
    std::unique_ptr<Application> application;
};
