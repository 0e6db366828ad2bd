#include "DataEntryDialog.h"

#include <QKeyEvent>
#include <QPushButton>

namespace korvan {

DataEntryDialog::DataEntryDialog(QWidget* parent) : QDialog(parent) {}

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

void DataEntryDialog::fixSize() {
    setFixedSize(size());
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) &
                   ~Qt::WindowContextHelpButtonHint);
}

} // namespace korvan
