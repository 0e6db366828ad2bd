#include "CTsDlg.h"
#include "ui_CTsDlg.h"

#include <QApplication>

#include "QtText.h"
#include "common/Prompt.h"

namespace korvan {
namespace {
const Tr kOk{"确定", "OK"};
const Tr kCancel{"取消", "Cancel"};
} // namespace

CTsDlg::CTsDlg(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::CTsDlg>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    const Lang lang = Language::current();
    ui_->okButton->setText(qtr(kOk, lang));
    ui_->cancelButton->setText(qtr(kCancel, lang));
    ui_->noteLabel->setText(qtr(Prompt::text()));
    ui_->okButton->setDefault(true);
    connect(ui_->okButton, &QPushButton::clicked, this, &CTsDlg::onOk);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

CTsDlg::~CTsDlg() = default;

void CTsDlg::onOk() {
    Prompt::text() = Prompt::kYes;
    accept();
}

void CTsDlg::install() {
    Prompt::setPresenter([](const std::string&) {
        QWidget* parent = QApplication::activeModalWidget();
        if (!parent)
            parent = QApplication::activeWindow();
        CTsDlg dialog(parent);
        return dialog.exec() == QDialog::Accepted;
    });
}

} // namespace korvan
