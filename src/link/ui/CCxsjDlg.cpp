#include "CCxsjDlg.h"
#include "ui_CCxsjDlg.h"

#include <QFileDialog>

#include "CSendDataDlg.h"
#include "common/Prompt.h"
#include "common/ui/DialogRunner.h"
#include "common/ui/QtText.h"

namespace korvan {
namespace {
const Tr kTitle{"程序更新", "Program update"};
const Tr kInstruction{"请先打开文件 并确认秤已经开机归零 且连接计算机",
                      "Please open the file first. make sure the scale is on. and connected to "
                      "the computer"};
const Tr kOpen{"打开文件", "Open"};
const Tr kUpdate{"程序更新", "Update"};
const Tr kCancel{"取消", "Cancel"};
const Tr kNoFile{"打开文件错误", "Error opening file"};
const Tr kFileAndSize{"%1 (%2 字节)", "%1 (%2 bytes)"};
const Tr kSureToUpdate{"确定用 %1 更新电子秤吗?", "Update the scale with %1?"};

std::filesystem::path& chosenFile() {
    static std::filesystem::path file;
    return file;
}
} // namespace

CCxsjDlg::CCxsjDlg(QWidget* parent)
    : DataEntryDialog(parent), ui_(std::make_unique<Ui::CCxsjDlg>()), lang_(Language::current()) {
    ui_->setupUi(this);
    fixSize();
    setWindowTitle(qtr(kTitle, lang_));
    ui_->instructionLabel->setText(qtr(kInstruction, lang_));
    ui_->openButton->setText(qtr(kOpen, lang_));
    ui_->updateButton->setText(qtr(kUpdate, lang_));
    ui_->cancelButton->setText(qtr(kCancel, lang_));
    // Only a file chosen on this visit is sent: the operator sees which one it is.
    ui_->updateButton->setEnabled(false);
    settleButtons();
    connect(ui_->openButton, &QPushButton::clicked, this, [this] {
        if (!chooseFile())
            return;
        ui_->updateButton->setEnabled(true);
        ui_->fileLabel->setText(describeFile());
        ui_->fileLabel->setToolTip(QString::fromStdString(chosenFile().string()));
    });
    connect(ui_->updateButton, &QPushButton::clicked, this, &CCxsjDlg::onUpdate);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &CCxsjDlg::reject);
    markFocusedButtonOnly();
}

CCxsjDlg::~CCxsjDlg() = default;

const std::filesystem::path& CCxsjDlg::updateFile() {
    return chosenFile();
}

bool CCxsjDlg::chooseFile() {
    QFileDialog dialog(this, qtr(kOpen, lang_));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("binFile (*.bin)"));
    if (!chosenFile().empty())
        dialog.setDirectory(QString::fromStdString(chosenFile().parent_path().string()));
    if (DialogRunner::run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        Prompt::showMessage(kNoFile.get(lang_));
        return false;
    }
    chosenFile() = dialog.selectedFiles().front().toStdString();
    return true;
}

QString CCxsjDlg::describeFile() const {
    const QString name = QString::fromStdString(chosenFile().filename().string());
    std::error_code failed;
    const std::uintmax_t size = std::filesystem::file_size(chosenFile(), failed);
    // A file gone since Open is named alone; the transfer says why it cannot be read.
    return failed ? name : qtr(kFileAndSize, lang_).arg(name).arg(size);
}

void CCxsjDlg::onUpdate() {
    if (chosenFile().empty() && !chooseFile())
        return;
    // The scale's program is replaced: the operator confirms the file, as it is now, first.
    const QString file = describeFile();
    ui_->fileLabel->setText(file);
    if (!Prompt::ask(qtr(kSureToUpdate, lang_).arg(file).toStdString()))
        return;
    // The transfer takes the job's link (USB for an update) whatever record/tx.rec names, and
    // reports a file that cannot be read or sized itself.
    CSendDataDlg::run({UpdatePayload{chosenFile()}}, this);
}

} // namespace korvan
