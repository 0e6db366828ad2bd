#pragma once
// The prompt dialog: shows the prompt text; OK turns the text into "yes", Cancel leaves it.
#include <QDialog>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class CTsDlg;
}

namespace korvan {

class CTsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CTsDlg(QWidget* parent = nullptr);
    ~CTsDlg() override;

    // Makes the prompt of the whole program run this dialog (through DialogRunner) over the
    // screen that asked; when it closes, that screen has the keyboard again.
    static void install();

    // The screen a prompt shown now stands over: the one a Screen scope names, else the topmost
    // modal screen, else the active window (none when nothing is up).
    static QWidget* askingScreen();

    // While it lives, prompts stand over `screen` whichever window is active then: for a message
    // that follows a dialog which has just closed, before the window manager has moved the focus.
    class Screen {
    public:
        explicit Screen(QWidget* screen);
        ~Screen();
        Screen(const Screen&) = delete;
        Screen& operator=(const Screen&) = delete;

    private:
        QPointer<QWidget> previous_;
    };

    // Shows these answers instead of OK and Cancel; the dialog's result is then
    // kFirstAnswer + the index of the one pressed (rejected, as by Escape, when none was).
    static constexpr int kFirstAnswer = 100;
    void setAnswers(const std::vector<std::string>& answers);

private:
    void onOk();
    std::unique_ptr<Ui::CTsDlg> ui_;
};

} // namespace korvan
