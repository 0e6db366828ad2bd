#pragma once
// The application object: command line, data directory, first start, login, main window.
#include <QApplication>
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

private:
    std::unique_ptr<CMainFrame> frame_;
};

} // namespace korvan
