#pragma once
// The user file record/yh.rec: one user per line, name, form feed, password.
#include <filesystem>
#include <string>
#include <vector>

#include "common/DataDir.h"
#include "common/RecordFile.h"
#include "common/TrackedFile.h"

namespace korvan {

struct User {
    std::string name;     // code page 936 bytes, at most kNameBytes through the screens
    std::string password; // plain text, at most kPasswordBytes
    bool operator==(const User&) const = default;
};

namespace UserFile {

// The file of the users in a data folder.
inline std::filesystem::path file(const DataDir& dir) {
    return dir.record("yh.rec");
}

inline constexpr std::size_t kNameBytes = 10;
inline constexpr std::size_t kPasswordBytes = 6;
inline constexpr std::size_t kMaxUsers = 5;

// The name is the text before the first form feed (empty when there is none); the password is
// everything after it (the whole line when there is none).
User parseLine(const std::string& line);
Loaded<std::vector<User>> read(const std::filesystem::path& file);
// The same, remembering what was read so a later save can tell another program's write.
Loaded<std::vector<User>> read(TrackedFile& file);
// Whether the login can let anyone in: it refuses an empty name, so only a user with a name counts.
bool anyoneCanLogIn(const std::vector<User>& users);

// What start-up does with the user file: a missing file, or one without a user who can log in
// (the last user deleted and saved, an empty file), asks for a first user; a file that exists
// but cannot be read is reported and left alone.
enum class StartState { Ready, NeedsFirstUser, Unreadable };
struct Start {
    StartState state;
    IoResult result; // why, for Unreadable
};
Start startState(const std::filesystem::path& file);
// Writes every user as name, form feed, password, CR LF. Only the owner may read the file:
// it holds the passwords in plain text.
IoResult write(const std::filesystem::path& file, const std::vector<User>& users);
std::vector<std::string> lines(const std::vector<User>& users);
// The mode of a new user file.
inline constexpr std::filesystem::perms kMode =
    std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;

} // namespace UserFile
} // namespace korvan
