#include "CAboutDlg.h"
#include "ui_CAboutDlg.h"

#include "AppIcons.h"
#include "common/DataDir.h"
#include "common/Language.h"

namespace korvan {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::CAboutDlg>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    ui_->iconLabel->setPixmap(AppIcons::application().pixmap(32, 32));
    ui_->okButton->setText(Language::current() == Lang::Chinese ? QString::fromUtf8("确定")
                                                                : QStringLiteral("OK"));
    // Where this run keeps its files, so a user can find, back up or copy them.
    const bool chinese = Language::current() == Lang::Chinese;
    ui_->dataDirLabel->setText(
        (chinese ? QString::fromUtf8("数据文件夹: ") : QStringLiteral("Data folder: ")) +
        QString::fromStdString(DataDir::current().root().string()));
    ui_->okButton->setDefault(true);
    connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
}

CAboutDlg::~CAboutDlg() = default;

} // namespace korvan
