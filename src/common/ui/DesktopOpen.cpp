#include "DesktopOpen.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace korvan::DesktopOpen {
namespace {

// Through xdg-open, without waiting: looking for a program can take a while. Only xdg-open's
// exit status says whether any program took the file (the desktop service only says the
// launcher started).
void openWithDesktop(const QString& file, Done done) {
    auto* process = new QProcess;
    QObject::connect(process, &QProcess::finished, process,
                     [process, done](int code, QProcess::ExitStatus status) {
                         done(status == QProcess::NormalExit && code == 0);
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, file, done](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return; // a crash also ends in finished
                         done(QDesktopServices::openUrl(QUrl::fromLocalFile(file)));
                         process->deleteLater();
                     });
    process->start(QStringLiteral("xdg-open"), {file});
}

Opener& current() {
    static Opener opener = openWithDesktop;
    return opener;
}

} // namespace

void open(const QString& file, Done done) {
    current()(file, std::move(done));
}

void setOpener(Opener opener) {
    current() = opener ? std::move(opener) : Opener(openWithDesktop);
}

} // namespace korvan::DesktopOpen
