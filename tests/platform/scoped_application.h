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
        m_arguments.emplace_back("platform_tests");
        m_arguments.insert(m_arguments.end(), arguments.begin(), arguments.end());
        for (std::string& argument : m_arguments)
            m_argv.push_back(argument.data());
        m_argv.push_back(nullptr);
        m_argc = int(m_arguments.size());
        m_application = std::make_unique<Application>(m_argc, m_argv.data());
    }

    Application* operator->() const { return m_application.get(); }

private:
    // Qt keeps pointers into the command line for the application's life.
    std::vector<std::string> m_arguments;
    std::vector<char*> m_argv;
    int m_argc = 0;
    std::unique_ptr<Application> m_application;
};
