#pragma once
// The scales screen: the shop's scales of record/scales.rec (name, link, serial port or USB
// device path, IP address), Add / Edit / Delete through the boxes under the list, and the link
// test of the chosen scale. The scale of record/tx.rec is not touched here.
#include <memory>
#include <optional>

#include "common/Language.h"
#include "common/RecordFile.h"
#include "common/TrackedFile.h"
#include "common/ui/DataEntryDialog.h"
#include "link/LinkTest.h"
#include "link/ScaleList.h"

namespace Ui {
class CClbSetDlg;
}

namespace korvan {

class CClbSetDlg : public DataEntryDialog {
    Q_OBJECT
public:
    explicit CClbSetDlg(QWidget* parent = nullptr);
    ~CClbSetDlg() override;

    // Where the link test reaches the scales (free ports in tests; the product's otherwise).
    static void setTestTargets(const LinkTestTargets& targets);

    const ScaleList& list() const { return list_; }

private:
    void setCaptions();
    void showList();
    void onRowChosen();
    void offerPorts();
    LinkMode chosenMode() const;
    // The scale the boxes describe.
    ScaleEntry fromBoxes() const;
    std::optional<std::size_t> chosenRow() const;
    // Puts `entry` at `index` (the end: a new scale) unless a rule refuses it.
    void place(const ScaleEntry& entry, std::size_t index);
    void onDelete();
    void onTest();
    bool onSave();
    bool differsFromFile() const;

    std::unique_ptr<Ui::CClbSetDlg> ui_;
    Lang lang_;
    TrackedFile file_;
    IoResult read_;
    ScaleList list_;
};

} // namespace korvan
