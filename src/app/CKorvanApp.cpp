#include "CKorvanApp.h"

#include <QCommandLineParser>
#include <QDir>
#include <QScreen>
#include <cstdio>

#include "AppIcons.h"
#include "CMainFrame.h"
#include "common/DataDir.h"
#include "common/ui/CTsDlg.h"
#include "common/ui/DialogRunner.h"
#include "common/ui/QtTranslations.h"
#include "users/ui/CFirstUserDlg.h"
#include "users/ui/CLoginDlg.h"

namespace korvan {

CKorvanApp::CKorvanApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Korvan"));
    setApplicationVersion(QStringLiteral("1.0"));
    setWindowIcon(AppIcons::application()); // every window of the program carries it
    CTsDlg::install();
}

CKorvanApp::~CKorvanApp() = default;

std::optional<int> CKorvanApp::startUp(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Korvan: master data and sales records of a label-printing price scale."));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption dataDir(QStringLiteral("data-dir"),
                               QStringLiteral("Work on DIR/record and DIR/label (default: the "
                                              "working directory when it holds record/, else "
                                              "$XDG_DATA_HOME/korvan, normally "
                                              "~/.local/share/korvan)."),
                               QStringLiteral("DIR"));
    parser.addOption(dataDir);
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "korvan: %s\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("korvan 1.0\n");
        return 0;
    }
    const DataDir folder(DataDir::locate(
        parser.isSet(dataDir) ? std::filesystem::path(parser.value(dataDir).toStdString())
                              : std::filesystem::path()));
    if (!folder.prepare()) {
        std::fprintf(stderr, "korvan: cannot create the data folder %s\n", folder.root().c_str());
        return 1;
    }
    DataDir::setCurrent(folder);
    // Qt's own dialogs speak the program's language from the first screen on.
    Language::load(Language::file(folder));
    QtTranslations::follow(Language::current());

    // A user file that exists but cannot be read is neither replaced by a first user nor taken
    // for an empty one: the operator is told why, and the program ends.
    if (!CFirstUserDlg::userFileReadable())
        return 1;
    if (CFirstUserDlg::needed()) {
        CFirstUserDlg first;
        if (DialogRunner::run(first) != QDialog::Accepted)
            return 0;
    }
    {
        CLoginDlg login;
        if (DialogRunner::run(login) != QDialog::Accepted)
            return 0;
    }
    frame_ = std::make_unique<CMainFrame>();
    frame_->setMenuCaptions();
    if (QScreen* screen = primaryScreen())
        frame_->move(screen->availableGeometry().center() - frame_->rect().center());
    frame_->show();
    return std::nullopt;
}

} // namespace korvan
