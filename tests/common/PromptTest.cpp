#include "common/Prompt.h"

#include <gtest/gtest.h>

using namespace korvan;

TEST(Prompt, OkTurnsTheTextIntoYes) {
    Prompt::Script script;
    script.answer(true);
    EXPECT_TRUE(Prompt::ask("Delete all?"));
    EXPECT_EQ(Prompt::text(), "yes");
    EXPECT_EQ(script.last(), "Delete all?");
}

TEST(Prompt, CancelLeavesTheQuestionInPlace) {
    Prompt::Script script;
    Prompt::text() = "yes"; // an earlier answer must not count for the next question
    script.answer(false);
    EXPECT_FALSE(Prompt::ask("Really?"));
    EXPECT_EQ(Prompt::text(), "Really?");
}

TEST(Prompt, MessagesAreRecordedInOrderAndScriptsNest) {
    Prompt::Script outer;
    Prompt::showMessage("one");
    {
        Prompt::Script inner;
        Prompt::showMessage("two");
        EXPECT_EQ(inner.shown(), std::vector<std::string>{"two"});
    }
    Prompt::showMessage("");
    EXPECT_EQ(outer.shown(), (std::vector<std::string>{"one", ""}));
}
