#pragma once
#include <QDialog>
#include <memory>

namespace Ui {
class CAboutDlg;
}

namespace korvan {

// The about box: only its OK button follows the language.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    ~CAboutDlg() override;

private:
    std::unique_ptr<Ui::CAboutDlg> ui_;
};

} // namespace korvan
