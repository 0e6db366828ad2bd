#pragma once
// The data directory: record files under record/, label layouts under label/.
#include <filesystem>
#include <string>

namespace korvan {

class DataDir {
public:
    explicit DataDir(std::filesystem::path root = std::filesystem::current_path());

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path record(const std::string& name) const { return root_ / "record" / name; }
    std::filesystem::path label(const std::string& name) const { return root_ / "label" / name; }
    // A path as written in a record file on Windows (".\label\2.bel"), under this directory.
    std::filesystem::path resolve(const std::string& windowsPath) const;

    // Copies every file of `defaults` (record/ and label/ below it) that this directory lacks.
    // Existing files are never touched. Returns false when a copy failed.
    bool seedFrom(const std::filesystem::path& defaults) const;

    // The process-wide data directory the screens work on (set once at start-up).
    static const DataDir& current();
    static void setCurrent(const DataDir& dir);

    // Where the defaults of a new data directory are: KORVAN_DEFAULTS_DIR when set, else
    // share/korvan/defaults beside the program's own folder (an installed or unpacked package,
    // or the build tree, which links it to the sources' data/defaults), else the installed share
    // folder.
    static std::filesystem::path defaultsDir();

    // The one rule every program uses to find its data folder: `given` (--data-dir) when not
    // empty; else the working directory when it holds a record/ folder (a data folder copied
    // from an older installation works where it is); else $XDG_DATA_HOME/korvan, by default
    // ~/.local/share/korvan. Nothing is created here.
    static std::filesystem::path locate(const std::filesystem::path& given,
                                        const std::filesystem::path& workingDir,
                                        const char* xdgDataHome, const char* home);
    // The same from this process's working directory and environment.
    static std::filesystem::path locate(const std::filesystem::path& given = {});

    // Creates the folder (and its parents) when missing and copies in the defaults it lacks.
    // False when the folder could not be made; missing defaults are no failure.
    bool prepare() const;

private:
    std::filesystem::path root_;
};

} // namespace korvan
