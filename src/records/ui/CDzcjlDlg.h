#pragma once
// The sales record screen: the records read from the scale, kept in record/dzcjl.rec; a query
// by date and name, deletions, reading more records and clearing the scale's, the total of the
// amounts shown, printing and export of the rows shown.
#include <functional>
#include <memory>
#include <optional>

#include "common/Language.h"
#include "common/ui/DataEntryDialog.h"
#include "records/SalesQuery.h"
#include "records/SalesLog.h"

namespace Ui {
class CDzcjlDlg;
}

namespace korvan {

class BytesTableModel;

class CDzcjlDlg : public DataEntryDialog {
    Q_OBJECT
public:
    explicit CDzcjlDlg(QWidget* parent = nullptr);
    ~CDzcjlDlg() override;

    // The rows the list shows: every record, or a query's.
    const SalesRows& shown() const;
    bool queryView() const { return selection_.has_value(); }
    bool selectionMark() const { return mark_; }

private:
    void setCaptions();
    void showRows();
    void computeTotal();
    // What a deletion came to: the list follows the file, and a failure is said.
    void deleted(const TrackedFile::Saved& saved);

    void onListClicked();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void onQuery();
    void onDisplayAll();
    void onDeleteSelection();
    void onDeleteAll();
    void onReadRecords();
    void onClearRecords();
    void onPrint();
    void onExport();
    void onSummary();

    std::unique_ptr<Ui::CDzcjlDlg> ui_;
    Lang lang_;
    SalesLog log_;
    std::optional<SalesSelection> selection_;
    bool mark_ = false;
    bool totalling_ = false;
    // An export is being written or handed over: another press of Export does nothing.
    std::shared_ptr<bool> exporting_ = std::make_shared<bool>(false);
    BytesTableModel* model_;
};

} // namespace korvan
