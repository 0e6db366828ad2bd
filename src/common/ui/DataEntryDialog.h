#pragma once
// Base of the data-entry screens: Enter never closes the screen by accident. Enter on a button
// presses that button (OK closes only when it has the focus); Enter anywhere else moves the focus
// to the next control. Escape and the close box cancel, as in any dialog.
#include <QDialog>

namespace korvan {

class DataEntryDialog : public QDialog {
    Q_OBJECT
public:
    explicit DataEntryDialog(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Call once the controls exist: no button takes Enter unless it has the focus.
    void settleButtons();
    // Fixed size, title bar with close box, no resizing.
    void fixSize();
};

} // namespace korvan
