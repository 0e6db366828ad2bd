#include "DataEntryDialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include "common/Language.h"
#include "common/Prompt.h"

namespace korvan {
namespace {
const Tr kSaveQuestion{"是否保存修改?", "Save the changes?"};
const Tr kSave{"保存", "Save"};
const Tr kDiscard{"不保存", "Discard"};
const Tr kCancel{"取消", "Cancel"};
enum Answer : std::size_t { SaveAnswer, DiscardAnswer, CancelAnswer };
} // namespace

DataEntryDialog::DataEntryDialog(QWidget* parent) : QDialog(parent) {}

DataEntryDialog::~DataEntryDialog() {
    // The focus moves while the controls are torn down, after this part of the screen is gone.
    QObject::disconnect(focusWatch_);
}

void DataEntryDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // A focused button has already handled Enter itself; whatever else has the focus let the
        // key through, so Enter moves on.
        focusNextChild();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void DataEntryDialog::settleButtons() {
    for (auto* button : findChildren<QPushButton*>()) {
        button->setDefault(false);
        button->setAutoDefault(true); // Enter presses a button only while it has the focus
    }
}

void DataEntryDialog::markFocusedButtonOnly() {
    if (focusedOnly_)
        return;
    focusedOnly_ = true;
    // Runs after the buttons' own focus handling, which puts the dialog's default back; while a
    // prompt or transfer is over the screen, the screen's focused control keeps the look.
    focusWatch_ =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* before, QWidget* now) {
            if ((before && before->window() == this) || (now && now->window() == this))
                markDefault(focusWidget());
        });
    markDefault(focusWidget());
}

void DataEntryDialog::setVisible(bool visible) {
    QDialog::setVisible(visible);
    if (visible && focusedOnly_)
        markDefault(focusWidget());
}

void DataEntryDialog::markDefault(QWidget* focused) {
    for (auto* button : findChildren<QPushButton*>())
        if (button->window() == this) // not the buttons of a prompt over the screen
            button->setDefault(button == focused);
}

void DataEntryDialog::reportWhenShown(const std::string& message) {
    pendingReports_.push_back(message);
}

void DataEntryDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (pendingReports_.empty())
        return;
    QMetaObject::invokeMethod(
        this,
        [messages = std::move(pendingReports_)] {
            for (const std::string& message : messages)
                Prompt::showMessage(message);
        },
        Qt::QueuedConnection);
    pendingReports_.clear();
}

void DataEntryDialog::guardUnsavedChanges(std::function<bool()> unsaved,
                                          std::function<bool()> save) {
    unsaved_ = std::move(unsaved);
    save_ = std::move(save);
}

void DataEntryDialog::done(int result) {
    if (unsaved_ && unsaved_()) {
        const Lang lang = Language::current();
        const std::size_t answer = Prompt::choose(
            kSaveQuestion.get(lang), {kSave.get(lang), kDiscard.get(lang), kCancel.get(lang)});
        if (answer == CancelAnswer || (answer == SaveAnswer && !save_()))
            return;
    }
    QDialog::done(result);
}

void DataEntryDialog::fixSize() {
    setFixedSize(size());
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) &
                   ~Qt::WindowContextHelpButtonHint);
}

} // namespace korvan
