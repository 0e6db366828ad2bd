#pragma once
// The login's rules without the window: the user table, the failed-attempt counter and the
// outcome of each OK.
#include <filesystem>
#include <string>
#include <vector>

#include "UserFile.h"
#include "common/Language.h"

namespace korvan {

class LoginCheck {
public:
    enum class Outcome {
        EmptyName, // message, counter unchanged
        Wrong,     // message, counter + 1, the dialog stays
        Shutdown,  // third wrong pair in a row: message, the program ends
        Accepted,
    };

    // Reads the user file. Every line counts as a user, also past the fifth (a hand-edited file):
    // a name the box lists can always log in.
    static LoginCheck fromFile(const std::filesystem::path& userFile);
    explicit LoginCheck(std::vector<User> users);

    const std::vector<User>& users() const { return users_; }
    // The names as the user box lists them: sorted ignoring the case of letters, duplicates kept.
    std::vector<std::string> sortedNames() const;
    int failedAttempts() const { return failed_; }

    // The user box chose an entry or lost the focus.
    void resetCounter() { failed_ = 0; }
    // OK with this name and password. Shows the outcome's message through the prompt (in `lang`).
    Outcome attempt(const std::string& name, const std::string& password, Lang lang);

private:
    std::vector<User> users_;
    int failed_ = 0;
};

} // namespace korvan
