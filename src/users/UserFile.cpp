#include "UserFile.h"

#include <algorithm>

namespace korvan::UserFile {

User parseLine(const std::string& line) {
    const auto sep = line.find(kFieldSeparator);
    if (sep == std::string::npos)
        return User{"", line};
    return User{line.substr(0, sep), line.substr(sep + 1)};
}

Loaded<std::vector<User>> read(const std::filesystem::path& file) {
    return RecordFile::readRecords(file, parseLine);
}

Loaded<std::vector<User>> read(TrackedFile& file) {
    return file.readRecords(parseLine);
}

bool anyoneCanLogIn(const std::vector<User>& users) {
    return std::any_of(users.begin(), users.end(), [](const User& u) { return !u.name.empty(); });
}

Start startState(const std::filesystem::path& file) {
    const auto users = read(file);
    if (!users)
        return {StartState::Unreadable, users.result};
    return {anyoneCanLogIn(users.value) ? StartState::Ready : StartState::NeedsFirstUser, {}};
}

std::vector<std::string> lines(const std::vector<User>& users) {
    std::vector<std::string> lines;
    lines.reserve(users.size());
    for (const auto& user : users)
        lines.push_back(user.name + kFieldSeparator + user.password);
    return lines;
}

IoResult write(const std::filesystem::path& file, const std::vector<User>& users) {
    return RecordFile::writeLines(file, lines(users), kMode);
}

} // namespace korvan::UserFile
