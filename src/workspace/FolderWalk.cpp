#include "workspace/FolderWalk.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>

namespace orva {

namespace {
using Identity = std::pair<dev_t, ino_t>;

// Lists one folder; false when it cannot be opened.
bool listFolder(const std::string& path, std::vector<std::string>* names)
{
    DIR* dir = ::opendir(path.c_str());
    if (!dir)
        return false;
    while (dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names->push_back(name);
    }
    ::closedir(dir);
    std::sort(names->begin(), names->end());
    return true;
}

// Returns false when the visitor stopped the walk.
bool walk(const std::string& folder, std::set<Identity>& seen,
          const std::function<bool(const QString&)>& visit)
{
    std::vector<std::string> names;
    if (!listFolder(folder, &names))
        return true;
    for (const std::string& name : names) {
        const std::string path = (folder == "/" ? std::string() : folder) + "/" + name;
        if (!visit(QFile::decodeName(QByteArray::fromStdString(path))))
            return false;
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
            continue; // links, files, vanished entries
        if (!seen.insert({info.st_dev, info.st_ino}).second)
            continue;
        if (!walk(path, seen, visit))
            return false;
    }
    return true;
}
} // namespace

bool walkFolder(const QString& root, const std::function<bool(const QString& path)>& visit)
{
    std::string top = QFile::encodeName(root).toStdString();
    while (top.size() > 1 && top.back() == '/')
        top.pop_back();
    // The chosen folder itself may be reached through a link; open it as given.
    struct stat info {};
    if (::stat(top.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    std::vector<std::string> probe;
    if (!listFolder(top, &probe))
        return false;
    std::set<Identity> seen{{info.st_dev, info.st_ino}};
    walk(top, seen, visit);
    return true;
}

} // namespace orva
