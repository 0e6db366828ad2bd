#pragma once
// The commodity settings screen: the list of all commodities with Find, New, Delete, Save and
// Download, and the editor opened on one of them.
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "commodity/CommodityList.h"
#include "common/ui/DataEntryDialog.h"

namespace Ui {
class CSpSetDlg;
}

namespace korvan {

class BytesTableModel;

class CSpSetDlg : public DataEntryDialog {
    Q_OBJECT
public:
    explicit CSpSetDlg(QWidget* parent = nullptr);
    ~CSpSetDlg() override;

    const CommodityList& list() const { return list_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setCaptions();
    void onListClicked();
    void onListDoubleClicked();
    void onFind();
    void onNew();
    void onDelete();
    void onDeleteAll();
    // True when the file now holds the list.
    bool onSave();
    void onDownload();
    void onImport();
    void onExport();
    void openEditor();
    // The list rows and the Name box after the core changed them.
    void showList();
    // The rows again, and the title's mark of a list its file lacks.
    void refreshRows();
    std::string cell(int row, int column) const;

    std::unique_ptr<Ui::CSpSetDlg> ui_;
    Lang lang_;
    CommodityList list_;
    IoResult openResult_;
    bool openReported_ = false;
    BytesTableModel* model_;
};

} // namespace korvan
