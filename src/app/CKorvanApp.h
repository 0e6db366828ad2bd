#pragma once
// The application object: command line, data directory, first start, login, main window.
#include <QApplication>
#include <functional>
#include <memory>
#include <optional>

namespace korvan {

class CMainFrame;

class CKorvanApp : public QApplication {
    Q_OBJECT
public:
    CKorvanApp(int& argc, char** argv);
    ~CKorvanApp() override;

    // Everything up to the visible main window. Returns the exit status when the program must end
    // now (login not confirmed: 0; bad command line: 2), nothing when the main window is up.
    std::optional<int> startUp() { return startUp(arguments()); }
    std::optional<int> startUp(const QStringList& arguments);
    CMainFrame* mainFrame() const { return frame_.get(); }

    // How the start-up dialogs are run; tests replace it to answer them without a modal loop.
    std::function<int(QDialog&)> runDialog;

private:
    std::unique_ptr<CMainFrame> frame_;
};

} // namespace korvan
