#include "DataDir.h"

#include <cstdlib>

#ifndef KORVAN_INSTALLED_DEFAULTS
#define KORVAN_INSTALLED_DEFAULTS "/usr/share/korvan/defaults"
#endif

namespace fs = std::filesystem;

namespace korvan {

DataDir::DataDir(fs::path root) : root_(std::move(root)) {}

fs::path DataDir::resolve(const std::string& windowsPath) const {
    std::string p = windowsPath;
    for (char& c : p)
        if (c == '\\')
            c = '/';
    fs::path path(p);
    if (path.is_absolute())
        return path;
    return (root_ / path).lexically_normal();
}

bool DataDir::seedFrom(const fs::path& defaults) const {
    std::error_code ec;
    if (!fs::is_directory(defaults, ec))
        return false;
    bool ok = true;
    for (auto it = fs::recursive_directory_iterator(defaults, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const fs::path target = root_ / fs::relative(it->path(), defaults);
        if (it->is_directory()) {
            fs::create_directories(target, ec);
            ok = ok && !ec;
            ec.clear();
        } else if (!fs::exists(target)) {
            fs::create_directories(target.parent_path(), ec);
            ec.clear();
            fs::copy_file(it->path(), target, ec);
            ok = ok && !ec;
            ec.clear();
        }
    }
    return ok && !ec;
}

namespace {
DataDir& currentDir() {
    static DataDir dir;
    return dir;
}
} // namespace

const DataDir& DataDir::current() {
    return currentDir();
}
void DataDir::setCurrent(const DataDir& dir) {
    currentDir() = dir;
}

fs::path DataDir::defaultsDir() {
    if (const char* env = std::getenv("KORVAN_DEFAULTS_DIR"); env && *env)
        return env;
    std::error_code ec;
    // bin/korvan -> share/korvan/defaults: wherever the package's files were put.
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const fs::path beside = exe.parent_path().parent_path() / "share/korvan/defaults";
        if (fs::is_directory(beside, ec))
            return beside;
    }
    return KORVAN_INSTALLED_DEFAULTS;
}

fs::path DataDir::locate(const fs::path& given, const fs::path& workingDir, const char* xdgDataHome,
                         const char* home) {
    if (!given.empty())
        return fs::absolute(given).lexically_normal();
    std::error_code ec;
    if (fs::is_directory(workingDir / "record", ec))
        return workingDir;
    // A relative XDG path is ignored, as the XDG base directory rules require.
    if (xdgDataHome && *xdgDataHome && fs::path(xdgDataHome).is_absolute())
        return fs::path(xdgDataHome) / "korvan";
    return fs::path(home && *home ? home : "/") / ".local/share/korvan";
}

fs::path DataDir::locate(const fs::path& given) {
    std::error_code ec;
    fs::path cwd = fs::current_path(ec);
    return locate(given, cwd, std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

bool DataDir::prepare() const {
    std::error_code ec;
    fs::create_directories(root_, ec);
    if (!fs::is_directory(root_, ec))
        return false;
    seedFrom(defaultsDir());
    return true;
}

} // namespace korvan
