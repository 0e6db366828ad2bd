#pragma once
// The preview of a commodity import: what the file's rows would do to the list (added, updated,
// rejected with the reason), the choice between merging by code and replacing the whole list,
// and whether to take only the valid rows. Accepted, the screen that opened it takes `merged`.
#include <memory>
#include <vector>

#include "commodity/CommodityImport.h"
#include "common/ui/DataEntryDialog.h"

namespace Ui {
class CSpImportDlg;
}

namespace korvan {

class BytesTableModel;

class CSpImportDlg : public DataEntryDialog {
    Q_OBJECT
public:
    // Plans the merge of the file's rows into `current` (the list, which stays as it is while
    // the preview is open). A file refused as a whole leaves `plan().problem` set: the caller
    // tells the operator instead of showing the preview.
    CSpImportDlg(SheetRead sheet, const std::vector<CommodityRecord>& current,
                 QWidget* parent = nullptr);
    ~CSpImportDlg() override;

    const CommodityImport& plan() const { return plan_; }
    CommodityImport::Mode mode() const { return mode_; }
    bool validRowsOnly() const;
    // The list the import comes to, once accepted.
    const std::vector<CommodityRecord>& merged() const { return plan_.merged; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setCaptions();
    void replan(CommodityImport::Mode mode);
    // The summary, the table and the buttons after the plan changed.
    void showPlan();
    void settleOk();
    std::string cell(int row, int column) const;

    std::unique_ptr<Ui::CSpImportDlg> ui_;
    Lang lang_;
    SheetRead sheet_;
    const std::vector<CommodityRecord>& current_;
    CommodityImport::Mode mode_ = CommodityImport::Mode::Merge; // before plan_: it plans in it
    CommodityImport plan_;
    BytesTableModel* model_;
    bool focusPlaced_ = false;
};

} // namespace korvan
