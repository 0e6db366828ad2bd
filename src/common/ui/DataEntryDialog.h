#pragma once
// Base of the data-entry screens: Enter never closes the screen by accident. Enter on a button
// presses that button (OK closes only when it has the focus); Enter anywhere else moves the focus
// to the next control. Escape and the close box cancel, as in any dialog. A screen that edits a
// file never closes over unsaved changes without asking whether to save them.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

namespace korvan {

class DataEntryDialog : public QDialog {
    Q_OBJECT
public:
    explicit DataEntryDialog(QWidget* parent = nullptr);
    ~DataEntryDialog() override;

    void setVisible(bool visible) override;
    // Every way out (OK, Cancel, Escape, the close box) ends here: with unsaved changes the
    // operator is asked first, and may keep the screen open.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Call once the controls exist: no button takes Enter unless it has the focus.
    void settleButtons();
    // From now on only a focused button looks like the default one (a dialog otherwise draws its
    // first button so, although Enter only presses a focused button here).
    void markFocusedButtonOnly();
    // Tells the operator once the screen is up, so the message stands over it (a file the
    // screen could not read, for instance). Messages wait in order until the first show.
    void reportWhenShown(const std::string& message);
    void showEvent(QShowEvent* event) override;
    // Fixed size, title bar with close box, no resizing.
    void fixSize();
    // How the screen knows it holds changes its file lacks, and how it saves them (true when the
    // file now holds them). From then on, leaving the screen with changes asks "Save the
    // changes?": Save closes only once the save wrote the file, Discard closes, Cancel stays.
    void guardUnsavedChanges(std::function<bool()> unsaved, std::function<bool()> save);

private:
    void markDefault(QWidget* focused);
    bool focusedOnly_ = false;
    QMetaObject::Connection focusWatch_;
    std::vector<std::string> pendingReports_;
    std::function<bool()> unsaved_;
    std::function<bool()> save_;
};

} // namespace korvan
