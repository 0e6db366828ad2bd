#pragma once
// How the program runs a dialog modally: every screen, editor, transfer and prompt goes through
// here, so a test can put in its own run (look at the dialog, answer it) instead of a modal loop.
#include <functional>

class QDialog;

namespace korvan {

class DialogRunner {
public:
    // Returns the dialog's result code, as QDialog::exec does.
    using Run = std::function<int(QDialog& dialog)>;

    // Runs the dialog by the run in place: modally unless a test has replaced it.
    static int run(QDialog& dialog);
    // The program's own run: QDialog::exec. A replacement may call it for dialogs it lets through.
    static int modal(QDialog& dialog);

    // Replaces the run for as long as it lives; the run before it comes back afterwards.
    class Scope {
    public:
        explicit Scope(Run run);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        Run previous_;
    };
};

} // namespace korvan
