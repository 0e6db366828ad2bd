#pragma once
// The main window: the menu that opens every screen, the tool bar, the status bar and the about
// box. The menu captions follow the language.
#include <QMainWindow>
#include <functional>
#include <map>

class QAction;
class QDialog;
class QLabel;
class QMenu;

namespace korvan {

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Makes one modal screen; the frame runs it and destroys it.
    using ScreenFactory = std::function<QDialog*(QWidget* parent)>;

    explicit CMainFrame(QWidget* parent = nullptr);

    // The screens the menu can open, by command number. Items without a screen stay disabled.
    static const std::map<int, ScreenFactory>& screens();

    // Sets the captions of the current language (left as they are for an unknown flag).
    void setMenuCaptions();
    QAction* action(int command) const;
    QMenu* menu(int position) const;
    // Runs the command as the menu would. Screens run through DialogRunner, so tests can look at
    // a screen without a modal loop.
    void runCommand(int command);

private:
    void buildMenu();
    void buildToolBar();
    void buildStatusBar();
    void switchLanguage(const char* flag);

    std::map<int, QAction*> actions_;
    std::vector<QMenu*> menus_;
    QToolBar* toolBar_ = nullptr;
};

} // namespace korvan
