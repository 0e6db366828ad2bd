#pragma once
// The label file chooser of the designer: the label files of the data folder with their size
// codes; Open makes the chosen one the designer's label.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/Language.h"
#include "common/ui/DataEntryDialog.h"

namespace Ui {
class CDkbqwjDlg;
}

namespace korvan {

class BytesTableModel;
class CBqSetDlg;

class CDkbqwjDlg : public DataEntryDialog {
    Q_OBJECT
public:
    explicit CDkbqwjDlg(CBqSetDlg& designer);
    ~CDkbqwjDlg() override;

    // The file Open would open: the last selected row's file.
    const std::optional<std::string>& chosen() const { return chosen_; }

private:
    void onListClicked();
    void onOpen();

    std::unique_ptr<Ui::CDkbqwjDlg> ui_;
    CBqSetDlg& designer_;
    Lang lang_;
    std::vector<std::string> files_;
    std::optional<std::string> chosen_;
    BytesTableModel* model_;
};

} // namespace korvan
