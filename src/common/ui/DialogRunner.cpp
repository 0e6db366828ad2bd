#include "DialogRunner.h"

#include <QDialog>

namespace korvan {
namespace {
DialogRunner::Run& current() {
    static DialogRunner::Run run = &DialogRunner::modal;
    return run;
}
} // namespace

int DialogRunner::run(QDialog& dialog) {
    // A copy: the run may install or drop a scope of its own while the dialog is up.
    const Run run = current();
    return run(dialog);
}

int DialogRunner::modal(QDialog& dialog) {
    return dialog.exec();
}

DialogRunner::Scope::Scope(Run run) : previous_(std::move(current())) {
    current() = std::move(run);
}

DialogRunner::Scope::~Scope() {
    current() = std::move(previous_);
}

} // namespace korvan
