#include "common/Prompt.h"
#include "users/LoginCheck.h"

#include <gtest/gtest.h>

using namespace korvan;
using Outcome = LoginCheck::Outcome;

TEST(LoginCheck, ThreeWrongPasswordsShutDown) {
    Prompt::Script prompt;
    LoginCheck login(std::vector<User>{{"anna", "1"}});
    EXPECT_EQ(login.attempt("anna", "x", Lang::English), Outcome::Wrong);
    EXPECT_EQ(login.attempt("anna", "y", Lang::English), Outcome::Wrong);
    EXPECT_EQ(login.attempt("anna", "z", Lang::English), Outcome::Shutdown);
    EXPECT_EQ(prompt.shown(),
              (std::vector<std::string>{"Please enter the correct password",
                                        "Please enter the correct password",
                                        "Password error 3 times, software shutdown"}));
}

TEST(LoginCheck, ResetAndEmptyNameDoNotCount) {
    Prompt::Script prompt;
    LoginCheck login(std::vector<User>{{"anna", "1"}});
    login.attempt("anna", "x", Lang::Chinese);
    login.attempt("anna", "x", Lang::Chinese);
    login.resetCounter(); // the user box lost the focus
    EXPECT_EQ(login.attempt("anna", "x", Lang::Chinese), Outcome::Wrong);
    EXPECT_EQ(prompt.last(), "请输入正确密码");
    EXPECT_EQ(login.attempt("", "1", Lang::Chinese), Outcome::EmptyName);
    EXPECT_EQ(prompt.last(), "用户名不能为空");
    EXPECT_EQ(login.failedAttempts(), 1);
    EXPECT_EQ(login.attempt("stranger", "1", Lang::Chinese), Outcome::Wrong);
    EXPECT_EQ(login.attempt("anna", "1", Lang::Chinese), Outcome::Accepted);
}

TEST(LoginCheck, DuplicateNamesAcceptEitherPasswordAndSortIgnoringCase) {
    Prompt::Script prompt;
    LoginCheck login(std::vector<User>{{"zed", "a"}, {"bob", "1"}, {"bob", "2"}, {"Alice", ""}});
    EXPECT_EQ(login.attempt("bob", "2", Lang::English), Outcome::Accepted);
    EXPECT_EQ(login.attempt("bob", "1", Lang::English), Outcome::Accepted);
    EXPECT_EQ(login.attempt("Alice", "", Lang::English), Outcome::Accepted);
    EXPECT_EQ(login.attempt("BOB", "1", Lang::English), Outcome::Wrong); // exact bytes
    EXPECT_EQ(login.sortedNames(), (std::vector<std::string>{"Alice", "bob", "bob", "zed"}));
    LoginCheck mixed(std::vector<User>{{"Demo", ""}, {"bob", ""}, {"admin", ""}, {"Bob", ""}});
    EXPECT_EQ(mixed.sortedNames(), (std::vector<std::string>{"admin", "Bob", "bob", "Demo"}));
}

TEST(LoginCheck, NoUsersLetsNobodyIn) {
    Prompt::Script prompt;
    LoginCheck login(std::vector<User>{});
    EXPECT_EQ(login.attempt("", "", Lang::English), Outcome::EmptyName);
    EXPECT_EQ(prompt.last(), "User name can't be empty");
    EXPECT_EQ(login.attempt("anyone", "", Lang::English), Outcome::Wrong);
}

TEST(LoginCheck, UsersPastTheFifthLineCanLogIn) {
    Prompt::Script prompt;
    LoginCheck login(
        std::vector<User>{{"1", ""}, {"2", ""}, {"3", ""}, {"4", ""}, {"5", ""}, {"6", "six"}});
    EXPECT_EQ(login.attempt("6", "six", Lang::English), Outcome::Accepted);
}
