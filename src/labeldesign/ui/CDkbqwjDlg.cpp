#include "CDkbqwjDlg.h"
#include "ui_CDkbqwjDlg.h"

#include <QFile>

#include "CBqSetDlg.h"
#include "common/DataDir.h"
#include "common/Prompt.h"
#include "common/ui/BytesTableModel.h"
#include "common/ui/ListView.h"
#include "common/ui/QtText.h"
#include "labeldesign/LabelFile.h"
#include "labeldesign/LabelSizeCode.h"

namespace korvan {
namespace {
const Tr kTitle{"打开文件", "Open the file"};
const Tr kListCaption{"标签", "Label"};
const Tr kOpen{"打开", "Open"};
const Tr kOk{"确定", "OK"};
const Tr kCancel{"取消", "Cancel"};
// Shown in the operator's language too, though the dialog's own table leaves them as designed.
const Tr kSize{"尺寸", "Size"};
const Tr kWidth{"标签宽度", "Label width"};
const Tr kHeight{"标签高度", "Label hight"};
const Tr kChange{"修改", "Change"};
const char* const kSelectFirst = "Please select the file first";
} // namespace

CDkbqwjDlg::CDkbqwjDlg(CBqSetDlg& designer)
    : DataEntryDialog(&designer), ui_(std::make_unique<Ui::CDkbqwjDlg>()), designer_(designer),
      lang_(Language::current()), files_(LabelSizeCode::labelFiles(DataDir::current().label(""))) {
    ui_->setupUi(this);
    fixSize();
    setWindowTitle(qtr(kTitle, lang_));
    ui_->listCaption->setText(qtr(kListCaption, lang_));
    ui_->openButton->setText(qtr(kOpen, lang_));
    ui_->okButton->setText(qtr(kOk, lang_));
    ui_->cancelButton->setText(qtr(kCancel, lang_));
    ui_->sizeGroup->setTitle(qtr(kSize, lang_));
    ui_->widthCaption->setText(qtr(kWidth, lang_));
    ui_->heightCaption->setText(qtr(kHeight, lang_));
    ui_->changeButton->setText(qtr(kChange, lang_));
    ui_->okButton->hide();

    // The list shows code page 936 text; file names are in the file system's encoding.
    model_ = new BytesTableModel(
        {{QStringLiteral("number"), 80}, {QStringLiteral("file name"), 280}},
        [this] { return static_cast<int>(files_.size()); },
        [this](int row, int column) {
            const std::string& name = files_[static_cast<std::size_t>(row)];
            const std::string text = column == 0 ? LabelSizeCode::caption(name) : name;
            return toGbk(QFile::decodeName(QByteArray::fromStdString(text)));
        },
        this);
    ListView::setUp(ui_->fileList, model_);
    settleButtons();

    ListView::onEmptyAreaClick(ui_->fileList, [this] { onListClicked(); });
    connect(ui_->fileList, &QTableView::clicked, this, &CDkbqwjDlg::onListClicked);
    connect(ui_->openButton, &QPushButton::clicked, this, &CDkbqwjDlg::onOpen);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &CDkbqwjDlg::reject);
}

CDkbqwjDlg::~CDkbqwjDlg() {
    // The list asks its model for rows while it is torn down, when the rows are gone already.
    ui_->fileList->setModel(nullptr);
}

void CDkbqwjDlg::onListClicked() {
    const auto selected = ListView::selectedRows(ui_->fileList);
    if (selected.empty())
        chosen_.reset();
    else
        chosen_ = files_[*selected.rbegin()];
    // The Size group shows the chosen file's own header (empty when it cannot be read).
    Label header;
    header.width.clear();
    header.height.clear();
    if (chosen_) {
        if (auto loaded = LabelFile::load(DataDir::current().label(*chosen_)); loaded.ok())
            header = std::move(loaded.value);
    }
    ui_->widthEdit->setText(fromGbk(header.width));
    ui_->heightEdit->setText(fromGbk(header.height));
}

void CDkbqwjDlg::onOpen() {
    if (!chosen_) {
        Prompt::showMessage(kSelectFirst);
        return;
    }
    if (designer_.openLabelFile(DataDir::current().label(*chosen_)))
        reject();
}

} // namespace korvan
