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
#include "records/SalesRecords.h"

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

    // Export writes the workbook of the rows shown into a new temporary file and hands it to the
    // desktop's spreadsheet program, which calls `failed` when no program took it (the operator
    // is then told where the file is). Tests replace the hand-over.
    // Hands a workbook to the desktop's program for it; calls `done` once, when it knows whether
    // a program took the file (false: none did).
    using Opener = std::function<void(const QString& file, std::function<void(bool opened)> done)>;
    static void setOpener(Opener opener);

private:
    void setCaptions();
    // Reads record/dzcjl.rec into the list (the full view); false, after saying why, when the
    // file cannot be read.
    bool loadAll();
    void showRows();
    void computeTotal();
    // Writes the list to the file; says why when it cannot.
    bool save(SalesRecords& records);

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

    std::unique_ptr<Ui::CDzcjlDlg> ui_;
    Lang lang_;
    SalesRecords records_;
    TrackedFile file_;
    // The last read stopped at its limit: the scale may hold more (Clear records warns).
    bool mayHoldMore_ = false;
    std::optional<SalesSelection> selection_;
    // Why the file could not be read: until it can, nothing may write it.
    std::string loadProblem_;
    bool mark_ = false;
    bool totalling_ = false;
    // An export is being written or handed over: another press of Export does nothing.
    std::shared_ptr<bool> exporting_ = std::make_shared<bool>(false);
    BytesTableModel* model_;
};

} // namespace korvan
