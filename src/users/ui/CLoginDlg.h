#pragma once
// The login: every start passes through it. It also loads the language of the whole program.
#include <QDialog>
#include <memory>
#include <string>

#include "common/Language.h"
#include "users/LoginCheck.h"

namespace Ui {
class CLoginDlg;
}

namespace korvan {

class CLoginDlg : public QDialog {
    Q_OBJECT
public:
    explicit CLoginDlg(QWidget* parent = nullptr);
    ~CLoginDlg() override;

    const LoginCheck& check() const { return check_; }
    // The user name and password as the OK command will compare them (code page 936 bytes).
    const std::string& userName() const { return userName_; }
    const std::string& password() const { return password_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onOk();
    void takeUserBoxText();
    std::string userBoxBytes() const;

    std::unique_ptr<Ui::CLoginDlg> ui_;
    LoginCheck check_;
    Lang lang_;
    std::string userName_;
    std::string password_;
};

} // namespace korvan
