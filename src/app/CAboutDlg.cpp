#include "CAboutDlg.h"
#include "ui_CAboutDlg.h"

#include "AppIcons.h"
#include "common/Language.h"

namespace korvan {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::CAboutDlg>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    ui_->iconLabel->setPixmap(AppIcons::application().pixmap(32, 32));
    ui_->okButton->setText(Language::current() == Lang::Chinese ? QString::fromUtf8("确定")
                                                                : QStringLiteral("OK"));
    ui_->okButton->setDefault(true);
    connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
}

CAboutDlg::~CAboutDlg() = default;

} // namespace korvan
