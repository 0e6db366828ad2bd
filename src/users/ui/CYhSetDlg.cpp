#include "CYhSetDlg.h"
#include "ui_CYhSetDlg.h"

#include "common/DataDir.h"
#include "common/Prompt.h"
#include "common/ui/ByteLimitValidator.h"
#include "common/ui/ListView.h"
#include "common/ui/QtText.h"

namespace korvan {
namespace {
const Tr kTitle{"用户设置", "User Settings"};
const Tr kListCaption{"用户", "User"};
const Tr kNameColumn{"用户名", "User Name"};
const Tr kPasswordColumn{"密码", "Password"};
const Tr kAdd{"新增", "New"};
const Tr kDelete{"删除", "Delete"};
const Tr kSave{"保存", "Save"};
const Tr kOk{"确定", "OK"};
const Tr kCancel{"取消", "Cancel"};
} // namespace

CYhSetDlg::CYhSetDlg(QWidget* parent)
    : DataEntryDialog(parent), ui_(std::make_unique<Ui::CYhSetDlg>()), lang_(Language::current()),
      list_(UserFile::file(DataDir::current()), lang_) {
    ui_->setupUi(this);
    fixSize();

    setWindowTitle(qtr(kTitle, lang_));
    ui_->listCaption->setText(qtr(kListCaption, lang_));
    ui_->nameLabel->setText(qtr(kNameColumn, lang_));
    ui_->passwordLabel->setText(qtr(kPasswordColumn, lang_));
    ui_->addButton->setText(qtr(kAdd, lang_));
    ui_->deleteButton->setText(qtr(kDelete, lang_));
    ui_->saveButton->setText(qtr(kSave, lang_));
    ui_->okButton->setText(qtr(kOk, lang_));
    ui_->cancelButton->setText(qtr(kCancel, lang_));

    model_ = new BytesTableModel(
        {{qtr(kNameColumn, lang_), 120}, {qtr(kPasswordColumn, lang_), 120}},
        [this] { return static_cast<int>(list_.rows().size()); },
        [this](int row, int column) {
            const User& user = list_.rows()[static_cast<std::size_t>(row)];
            return column == 0 ? user.name : user.password;
        },
        this);
    ListView::setUp(ui_->userList, model_);

    ByteLimitValidator::apply(ui_->nameEdit, UserFile::kNameBytes);
    ByteLimitValidator::apply(ui_->passwordEdit, UserFile::kPasswordBytes);
    settleButtons();

    connect(ui_->userList, &QTableView::clicked, this, &CYhSetDlg::onListClicked);
    ListView::onEmptyAreaClick(ui_->userList, [this] { onListClicked(); });
    // textEdited: only the operator's typing changes the chosen row, never the program's filling.
    connect(ui_->nameEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        list_.editName(toGbk(text));
        if (list_.chosen())
            model_->refreshRow(static_cast<int>(list_.chosenIndex()));
    });
    connect(ui_->passwordEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        list_.editPassword(toGbk(text));
        if (list_.chosen())
            model_->refreshRow(static_cast<int>(list_.chosenIndex()));
    });
    connect(ui_->addButton, &QPushButton::clicked, this, &CYhSetDlg::onAdd);
    connect(ui_->deleteButton, &QPushButton::clicked, this, &CYhSetDlg::onDelete);
    connect(ui_->saveButton, &QPushButton::clicked, this, &CYhSetDlg::onSave);
    connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    guardUnsavedChanges([this] { return list_.isModified(); }, [this] { return onSave(); });
}

bool CYhSetDlg::onSave() {
    if (const std::string question = list_.saveQuestion();
        !question.empty() && !Prompt::ask(question))
        return false;
    const TrackedFile::Saved saved = list_.save();
    if (!saved.result)
        Prompt::showMessage(saved.result.message());
    else if (!saved.note.empty())
        Prompt::showMessage(saved.note);
    if (!list_.chosen()) { // also after the operator chose to reload the file
        model_->refresh();
        showChosen();
    }
    return saved.written;
}

CYhSetDlg::~CYhSetDlg() = default;

void CYhSetDlg::onListClicked() {
    list_.click(ListView::selectedRows(ui_->userList));
    showChosen();
}

void CYhSetDlg::showChosen() {
    // Filled by the program: textEdited does not fire, so nothing is written back.
    const User* user = list_.chosen();
    ByteLimitValidator::fill(ui_->nameEdit, user ? fromGbk(user->name) : QString());
    ByteLimitValidator::fill(ui_->passwordEdit, user ? fromGbk(user->password) : QString());
}

void CYhSetDlg::showEvent(QShowEvent* event) {
    DataEntryDialog::showEvent(event);
    if (!list_.openResult() && !openReported_) {
        openReported_ = true;
        // Told once the screen is up, so the message stands over the (empty) list.
        QMetaObject::invokeMethod(
            this, [this] { Prompt::showMessage(list_.openResult().message()); },
            Qt::QueuedConnection);
    }
}

void CYhSetDlg::onAdd() {
    if (const IoResult added =
            list_.add(toGbk(ui_->nameEdit->text()), toGbk(ui_->passwordEdit->text()));
        !added) {
        Prompt::showMessage(added.message());
        return;
    }
    model_->refresh();
    ui_->nameEdit->clear();
    ui_->passwordEdit->clear();
}

void CYhSetDlg::onDelete() {
    list_.remove(ListView::selectedRows(ui_->userList));
    model_->refresh();
    ui_->userList->clearSelection();
    showChosen();
}

} // namespace korvan
