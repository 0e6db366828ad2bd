#pragma once
// The prompt dialog: shows the prompt text; OK turns the text into "yes", Cancel leaves it.
#include <QDialog>
#include <memory>

namespace Ui {
class CTsDlg;
}

namespace korvan {

class CTsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CTsDlg(QWidget* parent = nullptr);
    ~CTsDlg() override;

    // Makes the prompt of the whole program run this dialog modally over the active window.
    static void install();

private:
    void onOk();
    std::unique_ptr<Ui::CTsDlg> ui_;
};

} // namespace korvan
