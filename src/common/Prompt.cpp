#include "Prompt.h"

#include <algorithm>

namespace korvan::Prompt {
namespace {
Presenter& presenter() {
    static Presenter p = [](const std::string&) { return false; };
    return p;
}
ChoicePresenter& choicePresenter() {
    static ChoicePresenter p = [](const std::string&, const std::vector<std::string>& answers) {
        return answers.empty() ? 0 : answers.size() - 1;
    };
    return p;
}
} // namespace

std::string& text() {
    static std::string t;
    return t;
}

void setPresenter(Presenter p) {
    presenter() = std::move(p);
}

void run() {
    if (presenter()(text()))
        text() = kYes;
}

void showMessage(const std::string& message) {
    text() = message;
    run();
}

bool ask(const std::string& question) {
    text() = question;
    run();
    return text() == kYes;
}

void setChoicePresenter(ChoicePresenter p) {
    choicePresenter() = std::move(p);
}

std::size_t choose(const std::string& question, const std::vector<std::string>& answers) {
    text() = question;
    const std::size_t chosen = choicePresenter()(text(), answers);
    return answers.empty() ? 0 : std::min(chosen, answers.size() - 1);
}

Script::Script() : previous_(presenter()), previousChoice_(choicePresenter()) {
    setPresenter([this](const std::string& t) { return record(t, answers_, true); });
    setChoicePresenter([this](const std::string& t, const std::vector<std::string>& answers) {
        return record(t, choices_, answers.empty() ? std::size_t(0) : answers.size() - 1);
    });
}

template <class Answer>
Answer Script::record(const std::string& text, std::deque<Answer>& queued, Answer otherwise) {
    shown_.push_back(text);
    if (!queued.empty()) {
        otherwise = queued.front();
        queued.pop_front();
    }
    if (onShow)
        onShow(text);
    return otherwise;
}

Script::~Script() {
    setPresenter(previous_);
    setChoicePresenter(previousChoice_);
}

} // namespace korvan::Prompt
