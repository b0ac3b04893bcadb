// A real X server of our own for one test, on a free display number, ended
// when the object goes (and by the kernel if the test process dies first).
#pragma once

#include <string>
#include <sys/types.h>

class TestXServer {
public:
    enum class Kind { Xvnc, Xvfb };

    explicit TestXServer(Kind kind = Kind::Xvnc, int depth = 24);
    ~TestXServer();

    TestXServer(const TestXServer&) = delete;
    TestXServer& operator=(const TestXServer&) = delete;

    bool isRunning() const { return m_pid > 0; }
    // ":47"; empty when the server did not start.
    std::string displayName() const;
    // Why the server did not start.
    const std::string& failure() const { return m_failure; }

private:
    bool startOn(int number, Kind kind, int depth);
    bool waitUntilReady(int number);
    void stop();

    pid_t m_pid = -1;
    int m_number = -1;
    std::string m_failure;
};
