#pragma once
// The prompt: one process-wide text that the prompt dialog shows. A caller sets the text and runs
// the dialog; OK turns the text into "yes", so a question is answered yes when the text reads
// "yes" afterwards. How the dialog is shown is a seam: the desktop program installs its modal
// dialog, the command-line tool prints, and tests answer in advance.
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace korvan::Prompt {

inline constexpr const char* kYes = "yes";

// The prompt text (UTF-8).
std::string& text();

// Runs the prompt dialog on the current text. The presenter returns true for OK (the text then
// becomes "yes") and false for Cancel (the text stays).
using Presenter = std::function<bool(const std::string& text)>;
void setPresenter(Presenter presenter);
void run();

// Show a message: set the text and run the dialog; the answer is ignored.
void showMessage(const std::string& message);
// Ask a question: set the text and run the dialog; true when the text is "yes" afterwards.
bool ask(const std::string& question);

// A question with answers of its own (button captions, UTF-8; the last one changes nothing, as
// Cancel does). Returns the index of the answer chosen; closing the dialog chooses the last.
using ChoicePresenter =
    std::function<std::size_t(const std::string& text, const std::vector<std::string>& answers)>;
void setChoicePresenter(ChoicePresenter presenter);
std::size_t choose(const std::string& question, const std::vector<std::string>& answers);

// A presenter for tests and headless runs: records every text shown and answers from a queue
// (OK when the queue is empty).
class Script {
public:
    Script();  // installs itself as the presenter
    ~Script(); // restores the presenter there was before

    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;

    void answer(bool ok) { answers_.push_back(ok); }
    // The answer to the next choice (the last answer when none is queued).
    void choose(std::size_t index) { choices_.push_back(index); }
    const std::vector<std::string>& shown() const { return shown_; }
    std::string last() const { return shown_.empty() ? std::string() : shown_.back(); }
    void clear() { shown_.clear(); }
    // Called after each prompt has been recorded (for example to check state at that moment).
    std::function<void(const std::string&)> onShow;

private:
    // Records a prompt shown and gives the next queued answer, or `otherwise`.
    template <class Answer>
    Answer record(const std::string& text, std::deque<Answer>& queued, Answer otherwise);

    std::deque<bool> answers_;
    std::deque<std::size_t> choices_;
    std::vector<std::string> shown_;
    Presenter previous_;
    ChoicePresenter previousChoice_;
};

} // namespace korvan::Prompt
