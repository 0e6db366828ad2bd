#pragma once
// The commodity description screen: the numbered description texts, rewritten one at a time in
// the text box, saved and sent to the scale.
#include <memory>

#include "commodity/DescriptionList.h"
#include "common/ui/DataEntryDialog.h"

namespace Ui {
class CSpsmSetDlg;
}

namespace korvan {

class BytesTableModel;

class CSpsmSetDlg : public DataEntryDialog {
    Q_OBJECT
public:
    explicit CSpsmSetDlg(QWidget* parent = nullptr);
    ~CSpsmSetDlg() override;

    const DescriptionList& list() const { return list_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setCaptions();
    void onListClicked();
    // True when the file now holds the list.
    bool onSave();
    void onDownload();

    std::unique_ptr<Ui::CSpsmSetDlg> ui_;
    Lang lang_;
    DescriptionList list_;
    IoResult openResult_;
    bool openReported_ = false;
    BytesTableModel* model_;
};

} // namespace korvan
