#pragma once
// The commodity editor: one record typed into ten controls. Its Save validates the record, puts
// it into the list (replacing the chosen row or adding one) and writes the list to the file.
#include <memory>

#include "commodity/CommodityForm.h"
#include "common/ui/DataEntryDialog.h"

namespace Ui {
class CSpEditDlg;
}

namespace korvan {

class CommodityList;

class CSpEditDlg : public DataEntryDialog {
    Q_OBJECT
public:
    // Opens on the list's working record; the list outlives the editor.
    CSpEditDlg(CommodityList& list, QWidget* parent = nullptr);
    ~CSpEditDlg() override;

    // What the controls hold now.
    const CommodityForm& form() const { return form_; }

private:
    void setCaptions();
    void showForm();
    void onSave();

    std::unique_ptr<Ui::CSpEditDlg> ui_;
    Lang lang_;
    CommodityList& list_;
    CommodityForm form_;
};

} // namespace korvan
