#pragma once
// The preview of a commodity import: what the file's rows would do to the list (added, updated,
// rejected with the reason), the choice between merging by code and replacing the whole list,
// and whether to take only the valid rows. Accepted, the screen that opened it takes `merged`.
#include <filesystem>
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
    // `plan` is the merge of `file` into `current`, already read; the dialog reads the file again
    // only when the operator switches between merging and replacing.
    CSpImportDlg(std::filesystem::path file, const std::vector<CommodityRecord>& current,
                 CommodityImport plan, QWidget* parent = nullptr);
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
    std::filesystem::path file_;
    const std::vector<CommodityRecord>& current_;
    CommodityImport plan_;
    CommodityImport::Mode mode_ = CommodityImport::Mode::Merge;
    BytesTableModel* model_;
    bool focusPlaced_ = false;
};

} // namespace korvan
