#pragma once
// The user settings screen: up to five users with their passwords.
#include <memory>

#include "common/ui/DataEntryDialog.h"
#include "users/UserList.h"

namespace Ui {
class CYhSetDlg;
}

namespace korvan {

class BytesTableModel;

class CYhSetDlg : public DataEntryDialog {
    Q_OBJECT
public:
    explicit CYhSetDlg(QWidget* parent = nullptr);
    ~CYhSetDlg() override;

    const UserList& list() const { return list_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void onListClicked();
    // The boxes show the chosen user, or nothing when no row is chosen.
    void showChosen();
    void onAdd();
    // True when the file now holds the list.
    bool onSave();
    void onDelete();

    std::unique_ptr<Ui::CYhSetDlg> ui_;
    Lang lang_;
    UserList list_;
    BytesTableModel* model_;
    bool openReported_ = false;
};

} // namespace korvan
