#pragma once
// A new installation has no user file: instead of a built-in account, the first start asks for the
// first user's name and password (twice) and writes the user file. The same happens when the file
// holds nobody who can log in.
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

    // True when the data directory has no user file yet, or one in which nobody can log in.
    static bool needed();
    // False, after telling the operator why, when the user file exists but cannot be read: it
    // is neither replaced by a first user nor taken for an empty one.
    static bool userFileReadable();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onOk();
    std::unique_ptr<Ui::CFirstUserDlg> ui_;
    Lang lang_;
};

} // namespace korvan
