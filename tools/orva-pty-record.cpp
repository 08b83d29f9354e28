// orva-pty-record: runs a program in a pseudo-terminal of its own, types keys
// at it by a small script, and writes down everything that happens, with the
// milliseconds since the start: what the program writes, each change of the
// terminal's modes it makes (raw or line mode, echo), the keys typed, marks
// the script sets and the program's end. The recordings of the `claude` CLI in
// tests/terminal/claude/ were made with it.
//
//   orva-pty-record [--size COLSxROWS] [--cwd DIR] [--timeout S] --script FILE --out FILE -- PROGRAM [ARGS...]
//
// The script has one step a line (blank lines and lines starting with # are
// skipped); every wait gives up, and the recording ends, after --timeout
// seconds (60):
//   wait-screen TEXT   until the screen, as the emulator core draws the output,
//                      holds TEXT on one of its rows
//   wait-gone TEXT     until no row holds TEXT
//   wait-quiet MS      until the program has written nothing for MS (counted
//                      from the step's start at the earliest)
//   wait-raw           until the terminal hands over keys as they come
//   wait-exit          until the program has ended
//   sleep MS           MS milliseconds
//   keys TEXT          types TEXT; \r \n \t \e \\ and \xHH stand for their bytes
//   mark NAME          writes a mark
//   stop SIGNAL        sends SIGSTOP or SIGTSTP ... by name to the foreground group
//   cont               sends SIGCONT to the program's group
//   screen             writes the screen's rows into the recording (as comments)
//
// The recording, one event a line ("MS WHAT [DATA]"):
//   0 start COLS ROWS
//   MS out BASE64        bytes the program wrote
//   MS modes raw|line echo|noecho
//   MS key BASE64        bytes typed
//   MS mark NAME
//   MS exit CODE         (or "signal N")
//   # ...                comments: the command, the screen when asked
// Standard C++ over POSIX and the emulator core; Linux.
#include "terminal/core/ScreenText.h"
#include "terminal/core/Terminal.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

std::string base64(const std::string& bytes)
{
    static const char* table = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                           (static_cast<unsigned char>(bytes[i + 1]) << 8) | static_cast<unsigned char>(bytes[i + 2]);
        out += table[(v >> 18) & 63];
        out += table[(v >> 12) & 63];
        out += table[(v >> 6) & 63];
        out += table[v & 63];
    }
    if (i + 1 == bytes.size()) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        out += table[(v >> 18) & 63];
        out += table[(v >> 12) & 63];
        out += "==";
    } else if (i + 2 == bytes.size()) {
        const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
        out += table[(v >> 18) & 63];
        out += table[(v >> 12) & 63];
        out += table[(v >> 6) & 63];
        out += '=';
    }
    return out;
}

std::string unescape(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        switch (c) {
        case 'r': out += '\r'; break;
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'e': out += '\x1b'; break;
        case '\\': out += '\\'; break;
        case 'x':
            if (i + 2 < text.size() + 1) {
                out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
                i += 2;
            }
            break;
        default: out += '\\'; out += c; break;
        }
    }
    return out;
}

int signalNamed(const std::string& name)
{
    if (name == "SIGSTOP") return SIGSTOP;
    if (name == "SIGTSTP") return SIGTSTP;
    if (name == "SIGCONT") return SIGCONT;
    if (name == "SIGINT") return SIGINT;
    if (name == "SIGTERM") return SIGTERM;
    if (name == "SIGHUP") return SIGHUP;
    return 0;
}

class Recorder {
public:
    Recorder(int cols, int rows, std::ostream& out) : m_terminal(cols, rows), m_out(out), m_cols(cols), m_rows(rows) {}

    bool start(const std::vector<std::string>& command, const std::string& cwd)
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
            return false;
        const char* name = ::ptsname(m_master);
        if (!name)
            return false;
        m_slavePath = name;
        winsize ws {};
        ws.ws_col = static_cast<unsigned short>(m_cols);
        ws.ws_row = static_cast<unsigned short>(m_rows);
        ::ioctl(m_master, TIOCSWINSZ, &ws);
        m_started = Clock::now();
        m_pid = ::fork();
        if (m_pid < 0)
            return false;
        if (m_pid == 0) {
            ::setsid();
            const int slave = ::open(m_slavePath.c_str(), O_RDWR);
            ::ioctl(slave, TIOCSCTTY, 0);
            ::dup2(slave, 0);
            ::dup2(slave, 1);
            ::dup2(slave, 2);
            if (slave > 2)
                ::close(slave);
            ::close(m_master);
            if (!cwd.empty() && ::chdir(cwd.c_str()) != 0)
                ::_exit(126);
            std::vector<char*> argv;
            for (const std::string& arg : command)
                argv.push_back(const_cast<char*>(arg.c_str()));
            argv.push_back(nullptr);
            ::execvp(argv[0], argv.data());
            ::_exit(127);
        }
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
        m_out << "0 start " << m_cols << ' ' << m_rows << '\n';
        return true;
    }

    long now() const
    {
        return static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_started).count());
    }

    // One turn: output read, modes looked at, the child's end reaped; waits up
    // to `ms` for output.
    void turn(int ms)
    {
        pollfd fd {m_master, POLLIN, 0};
        if (::poll(&fd, 1, ms) > 0 && (fd.revents & (POLLIN | POLLHUP | POLLERR))) {
            char buffer[65536];
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n > 0) {
                m_terminal.feed(buffer, static_cast<std::size_t>(n));
                m_out << now() << " out " << base64(std::string(buffer, static_cast<std::size_t>(n))) << '\n';
                m_lastOutput = now();
            } else if (n == 0 || (n < 0 && errno == EIO)) {
                m_hungUp = true;
            }
        }
        lookAtModes();
        if (!m_exited) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_exited = true;
                if (WIFEXITED(status))
                    m_out << now() << " exit " << WEXITSTATUS(status) << '\n';
                else if (WIFSIGNALED(status))
                    m_out << now() << " exit signal " << WTERMSIG(status) << '\n';
            }
        }
    }

    void lookAtModes()
    {
        termios modes {};
        if (::tcgetattr(m_master, &modes) != 0)
            return;
        const bool raw = (modes.c_lflag & ICANON) == 0;
        const bool echo = (modes.c_lflag & ECHO) != 0;
        if (m_modesKnown && raw == m_raw && echo == m_echo)
            return;
        m_modesKnown = true;
        m_raw = raw;
        m_echo = echo;
        m_out << now() << " modes " << (raw ? "raw" : "line") << ' ' << (echo ? "echo" : "noecho") << '\n';
    }

    bool screenHolds(const std::string& text) const
    {
        for (const std::string& line : orva::visibleLines(m_terminal)) {
            if (line.find(text) != std::string::npos)
                return true;
        }
        return false;
    }

    void writeScreen()
    {
        m_out << "# screen at " << now() << " ms, cursor " << m_terminal.cursorX() << ',' << m_terminal.cursorY() << '\n';
        for (const std::string& line : orva::visibleLines(m_terminal))
            m_out << "# |" << line << '\n';
    }

    void type(const std::string& bytes)
    {
        m_out << now() << " key " << base64(bytes) << '\n';
        std::size_t offset = 0;
        while (offset < bytes.size()) {
            const ssize_t n = ::write(m_master, bytes.data() + offset, bytes.size() - offset);
            if (n > 0)
                offset += static_cast<std::size_t>(n);
            else if (n < 0 && errno != EAGAIN && errno != EINTR)
                break;
            else
                turn(5);
        }
    }

    void signalForeground(int signal)
    {
        const pid_t group = ::tcgetpgrp(m_master);
        ::kill(-(group > 0 ? group : m_pid), signal);
    }
    void signalProgram(int signal) { ::kill(-m_pid, signal); }

    bool exited() const { return m_exited; }
    bool raw() const { return m_raw; }
    long lastOutput() const { return m_lastOutput; }
    void mark(const std::string& name) { m_out << now() << " mark " << name << '\n'; }
    void comment(const std::string& text) { m_out << "# " << text << '\n'; }

    void end()
    {
        if (!m_exited) {
            ::kill(-m_pid, SIGHUP);
            ::kill(m_pid, SIGKILL);
            int status = 0;
            ::waitpid(m_pid, &status, 0);
        }
        ::close(m_master);
    }

private:
    orva::Terminal m_terminal;
    std::ostream& m_out;
    int m_cols;
    int m_rows;
    int m_master = -1;
    std::string m_slavePath;
    pid_t m_pid = -1;
    Clock::time_point m_started;
    bool m_exited = false;
    bool m_hungUp = false;
    bool m_modesKnown = false;
    bool m_raw = false;
    bool m_echo = true;
    long m_lastOutput = 0;
};

int usage()
{
    std::cerr << "usage: orva-pty-record [--size COLSxROWS] [--cwd DIR] [--timeout S] --script FILE --out FILE -- PROGRAM "
                 "[ARGS...]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    int cols = 80, rows = 24, timeoutSeconds = 60;
    std::string scriptPath, outPath, cwd;
    std::vector<std::string> command;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") {
            for (++i; i < argc; ++i)
                command.emplace_back(argv[i]);
            break;
        }
        if (i + 1 >= argc)
            return usage();
        const std::string value = argv[++i];
        if (arg == "--size") {
            if (std::sscanf(value.c_str(), "%dx%d", &cols, &rows) != 2)
                return usage();
        } else if (arg == "--cwd") {
            cwd = value;
        } else if (arg == "--timeout") {
            timeoutSeconds = std::atoi(value.c_str());
        } else if (arg == "--script") {
            scriptPath = value;
        } else if (arg == "--out") {
            outPath = value;
        } else {
            return usage();
        }
    }
    if (command.empty() || scriptPath.empty() || outPath.empty())
        return usage();
    std::ifstream script(scriptPath);
    if (!script)
        return usage();
    std::ofstream out(outPath);
    if (!out)
        return usage();
    std::signal(SIGPIPE, SIG_IGN);

    Recorder recorder(cols, rows, out);
    {
        std::string joined;
        for (const std::string& part : command)
            joined += (joined.empty() ? "" : " ") + part;
        recorder.comment("orva-pty-record: " + joined);
    }
    if (!recorder.start(command, cwd)) {
        std::cerr << "orva-pty-record: cannot start " << command.front() << '\n';
        return 1;
    }
    const long timeoutMs = static_cast<long>(timeoutSeconds) * 1000;
    auto waitFor = [&](auto condition, const std::string& what) {
        const long began = recorder.now();
        while (!condition()) {
            if (recorder.now() - began > timeoutMs) {
                recorder.comment("timed out: " + what);
                std::cerr << "orva-pty-record: timed out: " << what << '\n';
                return false;
            }
            recorder.turn(2);
        }
        return true;
    };

    bool ok = true;
    std::string line;
    while (ok && std::getline(script, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        const auto space = line.find(' ');
        const std::string step = line.substr(0, space);
        const std::string argument = space == std::string::npos ? std::string() : line.substr(space + 1);
        if (step == "wait-screen") {
            ok = waitFor([&] { return recorder.screenHolds(argument); }, line);
        } else if (step == "wait-gone") {
            ok = waitFor([&] { return !recorder.screenHolds(argument); }, line);
        } else if (step == "wait-quiet") {
            const long ms = std::atol(argument.c_str());
            const long began = recorder.now();
            ok = waitFor([&] { return recorder.now() - std::max(began, recorder.lastOutput()) >= ms; }, line);
        } else if (step == "wait-raw") {
            ok = waitFor([&] { return recorder.raw(); }, line);
        } else if (step == "wait-exit") {
            ok = waitFor([&] { return recorder.exited(); }, line);
        } else if (step == "sleep") {
            const long until = recorder.now() + std::atol(argument.c_str());
            while (recorder.now() < until)
                recorder.turn(2);
        } else if (step == "keys") {
            recorder.type(unescape(argument));
        } else if (step == "mark") {
            recorder.mark(argument);
        } else if (step == "stop") {
            recorder.signalForeground(signalNamed(argument));
        } else if (step == "cont") {
            recorder.signalProgram(SIGCONT);
        } else if (step == "screen") {
            recorder.writeScreen();
        } else {
            std::cerr << "orva-pty-record: unknown step: " << line << '\n';
            ok = false;
        }
    }
    // What is still on its way within a moment.
    for (int i = 0; i < 50 && !recorder.exited(); ++i)
        recorder.turn(2);
    recorder.writeScreen();
    recorder.end();
    return ok ? 0 : 1;
}
