#include "Prompt.h"

namespace korvan::Prompt {
namespace {
Presenter& presenter() {
    static Presenter p = [](const std::string&) { return false; };
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

Script::Script() : previous_(presenter()) {
    setPresenter([this](const std::string& t) {
        shown_.push_back(t);
        bool ok = true;
        if (!answers_.empty()) {
            ok = answers_.front();
            answers_.pop_front();
        }
        if (onShow)
            onShow(t);
        return ok;
    });
}

Script::~Script() {
    setPresenter(previous_);
}

} // namespace korvan::Prompt
