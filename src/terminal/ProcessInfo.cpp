#include "terminal/ProcessInfo.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#if defined(__APPLE__)
#include <libproc.h>
#include <sys/proc.h>
#include <sys/sysctl.h>
#endif

namespace orva {

#if defined(__APPLE__)

namespace {
ProcessInfo fromKinfo(const kinfo_proc& k)
{
    ProcessInfo info;
    info.pid = k.kp_proc.p_pid;
    info.parent = k.kp_eproc.e_ppid;
    info.group = k.kp_eproc.e_pgid;
    info.session = ::getsid(info.pid);
    info.stopped = k.kp_proc.p_stat == SSTOP;
    info.zombie = k.kp_proc.p_stat == SZOMB;
    info.startTime = static_cast<std::uint64_t>(k.kp_proc.p_starttime.tv_sec) * 1000000u +
                     static_cast<std::uint64_t>(k.kp_proc.p_starttime.tv_usec);
    info.name = k.kp_proc.p_comm;
    char path[PROC_PIDPATHINFO_MAXSIZE];
    if (::proc_pidpath(info.pid, path, sizeof path) > 0)
        info.executable = path;
    return info;
}
} // namespace

std::optional<ProcessInfo> processInfo(pid_t pid)
{
    if (pid <= 0)
        return std::nullopt;
    int mib[4] = {CTL_KERN, KERN_PROC, KERN_PROC_PID, pid};
    kinfo_proc k {};
    size_t size = sizeof k;
    if (::sysctl(mib, 4, &k, &size, nullptr, 0) != 0 || size == 0)
        return std::nullopt;
    return fromKinfo(k);
}

std::vector<ProcessInfo> processesOfSession(pid_t session)
{
    std::vector<ProcessInfo> result;
    int mib[3] = {CTL_KERN, KERN_PROC, KERN_PROC_ALL};
    size_t size = 0;
    if (::sysctl(mib, 3, nullptr, &size, nullptr, 0) != 0)
        return result;
    std::vector<kinfo_proc> all(size / sizeof(kinfo_proc) + 16);
    size = all.size() * sizeof(kinfo_proc);
    if (::sysctl(mib, 3, all.data(), &size, nullptr, 0) != 0)
        return result;
    all.resize(size / sizeof(kinfo_proc));
    for (const kinfo_proc& k : all) {
        if (::getsid(k.kp_proc.p_pid) == session)
            result.push_back(fromKinfo(k));
    }
    return result;
}

#else

namespace {

// The whole of a small file under /proc; none when it cannot be read (the
// process may end while it is read).
std::optional<std::string> readSmallFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string content;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            content.append(buffer, static_cast<std::size_t>(n));
            if (content.size() > 65536)
                break;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        break;
    }
    ::close(fd);
    return content;
}

// /proc/<pid>/stat: "pid (comm) state ppid pgrp session tty_nr tpgid flags
// minflt cminflt majflt cmajflt utime stime cutime cstime priority nice
// num_threads itrealvalue starttime ..."; the name may hold blanks and
// parentheses, so it ends at the last ')'.
std::optional<ProcessInfo> parseStat(pid_t pid, const std::string& stat)
{
    const auto open = stat.find('(');
    const auto close = stat.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open || close + 2 >= stat.size())
        return std::nullopt;
    ProcessInfo info;
    info.pid = pid;
    info.name = stat.substr(open + 1, close - open - 1);
    const char state = stat[close + 2];
    info.stopped = state == 'T' || state == 't';
    info.zombie = state == 'Z' || state == 'X';
    // Fields after the state, 1-based from ppid.
    std::vector<std::string> fields;
    std::size_t at = close + 4;
    while (at < stat.size() && fields.size() < 20) {
        const auto end = stat.find(' ', at);
        fields.push_back(stat.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos)
            break;
        at = end + 1;
    }
    if (fields.size() < 19)
        return std::nullopt;
    info.parent = static_cast<pid_t>(std::strtol(fields[0].c_str(), nullptr, 10));
    info.group = static_cast<pid_t>(std::strtol(fields[1].c_str(), nullptr, 10));
    info.session = static_cast<pid_t>(std::strtol(fields[2].c_str(), nullptr, 10));
    info.startTime = std::strtoull(fields[18].c_str(), nullptr, 10);
    return info;
}

} // namespace

std::optional<ProcessInfo> processInfo(pid_t pid)
{
    if (pid <= 0)
        return std::nullopt;
    const std::string folder = "/proc/" + std::to_string(pid);
    const auto stat = readSmallFile(folder + "/stat");
    if (!stat)
        return std::nullopt;
    auto info = parseStat(pid, *stat);
    if (!info)
        return std::nullopt;
    char path[PATH_MAX];
    const ssize_t n = ::readlink((folder + "/exe").c_str(), path, sizeof path - 1);
    if (n > 0)
        info->executable.assign(path, static_cast<std::size_t>(n));
    return info;
}

std::vector<ProcessInfo> processesOfSession(pid_t session)
{
    std::vector<ProcessInfo> result;
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return result;
    while (const dirent* entry = ::readdir(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || !end || *end != '\0')
            continue;
        const auto stat = readSmallFile(std::string("/proc/") + entry->d_name + "/stat");
        if (!stat)
            continue;
        auto info = parseStat(static_cast<pid_t>(pid), *stat);
        if (info && info->session == session)
            result.push_back(*info);
    }
    ::closedir(proc);
    return result;
}

#endif

} // namespace orva
