#include "CFirstUserDlg.h"
#include "ui_CFirstUserDlg.h"

#include <QKeyEvent>

#include "common/DataDir.h"
#include "common/Prompt.h"
#include "common/ui/ByteLimitValidator.h"
#include "common/ui/QtText.h"
#include "users/UserFile.h"

namespace korvan {
namespace {
const Tr kNote{"首次使用：请创建第一个用户", "First start: create the first user"};
const Tr kUser{"用户名", "User"};
const Tr kPassword{"密码", "Password"};
const Tr kConfirm{"确认密码", "Confirm"};
const Tr kMismatch{"两次输入的密码不一致", "The two passwords do not match"};
const Tr kOk{"确定", "OK"};
const Tr kCancel{"取消", "Cancel"};
const Tr kEmptyName{"用户名不能为空", "User name cannot be empty"};
} // namespace

bool CFirstUserDlg::needed() {
    return UserFile::startState(UserFile::file(DataDir::current())).state ==
           UserFile::StartState::NeedsFirstUser;
}

bool CFirstUserDlg::userFileReadable() {
    const UserFile::Start start = UserFile::startState(UserFile::file(DataDir::current()));
    if (start.state != UserFile::StartState::Unreadable)
        return true;
    Language::load(Language::file(DataDir::current()));
    Prompt::showMessage(start.result.message());
    return false;
}

CFirstUserDlg::CFirstUserDlg(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::CFirstUserDlg>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    Language::load(Language::file(DataDir::current()));
    lang_ = Language::current();
    ui_->noteLabel->setText(qtr(kNote, lang_));
    ui_->userLabel->setText(qtr(kUser, lang_));
    ui_->passwordLabel->setText(qtr(kPassword, lang_));
    ui_->confirmLabel->setText(qtr(kConfirm, lang_));
    ui_->okButton->setText(qtr(kOk, lang_));
    ui_->cancelButton->setText(qtr(kCancel, lang_));
    ByteLimitValidator::apply(ui_->nameEdit, UserFile::kNameBytes);
    ByteLimitValidator::apply(ui_->passwordEdit, UserFile::kPasswordBytes);
    ByteLimitValidator::apply(ui_->confirmEdit, UserFile::kPasswordBytes);
    // Typed unseen, so typed twice: a mistyped first password would lock the shop out.
    ui_->passwordEdit->setEchoMode(QLineEdit::Password);
    ui_->confirmEdit->setEchoMode(QLineEdit::Password);
    ui_->okButton->setDefault(true);
    ui_->cancelButton->setAutoDefault(false);
    connect(ui_->okButton, &QPushButton::clicked, this, &CFirstUserDlg::onOk);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    ui_->nameEdit->setFocus();
}

CFirstUserDlg::~CFirstUserDlg() = default;

void CFirstUserDlg::keyPressEvent(QKeyEvent* event) {
    // Enter in the name box and in the first password box moves on; Enter in the confirmation
    // (or on OK) finishes.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        QWidget* next = focusWidget() == ui_->nameEdit       ? ui_->passwordEdit
                        : focusWidget() == ui_->passwordEdit ? ui_->confirmEdit
                                                             : nullptr;
        if (next) {
            event->accept();
            next->setFocus();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void CFirstUserDlg::onOk() {
    const std::string name = toGbk(ui_->nameEdit->text());
    if (name.empty()) {
        Prompt::showMessage(kEmptyName.get(lang_));
        ui_->nameEdit->setFocus();
        return;
    }
    if (ui_->passwordEdit->text() != ui_->confirmEdit->text()) {
        Prompt::showMessage(kMismatch.get(lang_));
        ui_->confirmEdit->clear();
        ui_->passwordEdit->selectAll();
        ui_->passwordEdit->setFocus();
        return;
    }
    IoResult result = UserFile::write(UserFile::file(DataDir::current()),
                                      {User{name, toGbk(ui_->passwordEdit->text())}});
    if (!result) {
        Prompt::showMessage(result.message());
        return;
    }
    accept();
}

} // namespace korvan
