#include "CLoginDlg.h"
#include "ui_CLoginDlg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QAbstractItemView>
#include <QLineEdit>

#include "common/DataDir.h"
#include "common/ui/ByteLimitValidator.h"
#include "common/ui/QtText.h"
#include "users/UserFile.h"

namespace korvan {
namespace {
const Tr kUser{"用户名", "User"};
const Tr kPassword{"密码", "Password"};
const Tr kOk{"确定", "OK"};
const Tr kCancel{"取消", "Cancel"};
} // namespace

CLoginDlg::CLoginDlg(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::CLoginDlg>()),
      check_(LoginCheck::fromFile(UserFile::file(DataDir::current()))) {
    ui_->setupUi(this);
    setFixedSize(size());
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    ui_->userBox->setInsertPolicy(QComboBox::NoInsert);
    ByteLimitValidator::apply(ui_->userBox->lineEdit(), UserFile::kNameBytes);
    ByteLimitValidator::apply(ui_->passwordEdit, UserFile::kPasswordBytes);
    // The box keeps each name's own bytes, so a name that is not valid GBK still matches.
    for (const auto& name : check_.sortedNames())
        ui_->userBox->addItem(fromGbk(name), QByteArray::fromStdString(name));
    if (ui_->userBox->count() > 0) {
        ui_->userBox->setCurrentIndex(0);
        userName_ = userBoxBytes();
    } else {
        ui_->userBox->setCurrentIndex(-1);
        ui_->userBox->setEditText({});
    }
    ui_->passwordEdit->clear();

    Language::load(Language::file(DataDir::current()));
    lang_ = Language::current();
    ui_->userLabel->setText(qtr(kUser, lang_));
    ui_->passwordLabel->setText(qtr(kPassword, lang_));
    ui_->okButton->setText(qtr(kOk, lang_));
    ui_->cancelButton->setText(qtr(kCancel, lang_));

    ui_->okButton->setDefault(true);
    ui_->cancelButton->setAutoDefault(false);
    connect(ui_->okButton, &QPushButton::clicked, this, &CLoginDlg::onOk);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui_->userBox, &QComboBox::activated, this, [this](int) {
        userName_ = userBoxBytes();
        check_.resetCounter();
    });
    connect(ui_->passwordEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        password_ = toGbk(text);
        userName_ = userBoxBytes();
    });
    ui_->userBox->installEventFilter(this);
    ui_->userBox->lineEdit()->installEventFilter(this);
    ui_->userBox->setFocus();
}

CLoginDlg::~CLoginDlg() = default;

std::string CLoginDlg::userBoxBytes() const {
    const int index = ui_->userBox->currentIndex();
    const QString text = ui_->userBox->currentText();
    if (index >= 0 && ui_->userBox->itemText(index) == text)
        return ui_->userBox->itemData(index).toByteArray().toStdString();
    return toGbk(text);
}

void CLoginDlg::takeUserBoxText() {
    userName_ = userBoxBytes();
    check_.resetCounter();
}

bool CLoginDlg::eventFilter(QObject* watched, QEvent* event) {
    // The editable user box keeps Enter for itself; the login wants it.
    if (event->type() == QEvent::KeyPress &&
        (watched == ui_->userBox || watched == ui_->userBox->lineEdit())) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !ui_->userBox->view()->isVisible()) {
            onOk();
            return true;
        }
    }
    if (event->type() == QEvent::FocusOut &&
        (watched == ui_->userBox || watched == ui_->userBox->lineEdit())) {
        // Moving between the box and its own line edit is not leaving the box.
        auto* focus = QApplication::focusWidget();
        if (focus != ui_->userBox && focus != ui_->userBox->lineEdit())
            takeUserBoxText();
    }
    return QDialog::eventFilter(watched, event);
}

void CLoginDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        onOk();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CLoginDlg::onOk() {
    QWidget* focus = focusWidget();
    if (focus != ui_->okButton && focus != ui_->passwordEdit) {
        // The user box is a combination of two widgets: step past both.
        if (focus == ui_->userBox || focus == ui_->userBox->lineEdit())
            ui_->passwordEdit->setFocus(Qt::TabFocusReason);
        else
            focusNextChild();
        return;
    }
    switch (check_.attempt(userName_, password_, lang_)) {
    case LoginCheck::Outcome::Accepted:
        accept();
        break;
    case LoginCheck::Outcome::Shutdown:
        reject();
        break;
    case LoginCheck::Outcome::EmptyName:
    case LoginCheck::Outcome::Wrong:
        break;
    }
}

} // namespace korvan
