#include "LoginCheck.h"

#include <algorithm>

#include "common/Prompt.h"

namespace korvan {
namespace {
const Tr kEmptyName{"用户名不能为空", "User name can't be empty"};
const Tr kWrong{"请输入正确密码", "Please enter the correct password"};
const Tr kShutdown{"登录密码3次错误 软件关闭", "Password error 3 times, software shutdown"};
constexpr int kAttempts = 3;
} // namespace

LoginCheck LoginCheck::fromFile(const std::filesystem::path& userFile) {
    // An unreadable file lets nobody in, as an empty one does; start-up tells why.
    return LoginCheck(UserFile::read(userFile).value);
}
LoginCheck::LoginCheck(std::vector<User> users) : users_(std::move(users)) {}

std::vector<std::string> LoginCheck::sortedNames() const {
    std::vector<std::string> names;
    for (const auto& user : users_)
        names.push_back(user.name);
    // As a list box sorts: letters ignoring case ("admin", "bob", "Demo"); names that differ
    // only in case keep a fixed order among themselves.
    const auto folded = [](const std::string& name) {
        std::string f = name;
        for (char& c : f)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return f;
    };
    std::stable_sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        const std::string fa = folded(a), fb = folded(b);
        return fa != fb ? fa < fb : a < b;
    });
    return names;
}

LoginCheck::Outcome LoginCheck::attempt(const std::string& name, const std::string& password,
                                        Lang lang) {
    if (name.empty()) {
        Prompt::showMessage(kEmptyName.get(lang));
        return Outcome::EmptyName;
    }
    const bool match = std::any_of(users_.begin(), users_.end(), [&](const User& user) {
        return user.name == name && user.password == password;
    });
    if (match)
        return Outcome::Accepted;
    if (failed_ == kAttempts - 1) {
        Prompt::showMessage(kShutdown.get(lang));
        return Outcome::Shutdown;
    }
    Prompt::showMessage(kWrong.get(lang));
    ++failed_;
    return Outcome::Wrong;
}

} // namespace korvan
