#pragma once
// A new installation has no user file: instead of a built-in account, the first start asks for the
// first user's name and password and writes the user file.
#include <QDialog>
#include <memory>

#include "common/Language.h"

namespace Ui {
class CFirstUserDlg;
}

namespace korvan {

class CFirstUserDlg : public QDialog {
    Q_OBJECT
public:
    explicit CFirstUserDlg(QWidget* parent = nullptr);
    ~CFirstUserDlg() override;

    // True when the data directory has no user file yet.
    static bool needed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onOk();
    std::unique_ptr<Ui::CFirstUserDlg> ui_;
    Lang lang_;
};

} // namespace korvan
