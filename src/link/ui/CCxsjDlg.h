#pragma once
// The program update screen: choose the scale's new program (a .bin file) and send it. The
// update always goes over USB, whatever the link settings say.
#include <filesystem>
#include <memory>

#include "common/Language.h"
#include "common/ui/DataEntryDialog.h"

namespace Ui {
class CCxsjDlg;
}

namespace korvan {

class CCxsjDlg : public DataEntryDialog {
    Q_OBJECT
public:
    explicit CCxsjDlg(QWidget* parent = nullptr);
    ~CCxsjDlg() override;

    // The file chosen last, kept for the program's run (the next visit starts from its folder).
    static const std::filesystem::path& updateFile();

private:
    // Asks for the file; false, after telling the operator, when none was chosen.
    bool chooseFile();
    // The chosen file as the operator knows it: its name and its size now.
    QString describeFile() const;
    void onUpdate();

    std::unique_ptr<Ui::CCxsjDlg> ui_;
    Lang lang_;
};

} // namespace korvan
