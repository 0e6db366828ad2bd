#pragma once
// Hands a file to the desktop's program for it (a workbook to the spreadsheet program).
#include <QString>
#include <functional>

namespace korvan::DesktopOpen {

// Calls `done` once, when it is known whether a program took the file (false: none did); that
// may be seconds later. Returns at once.
using Done = std::function<void(bool opened)>;
void open(const QString& file, Done done);

// Tests replace the hand-over; an empty one restores the desktop's.
using Opener = std::function<void(const QString& file, Done done)>;
void setOpener(Opener opener);

} // namespace korvan::DesktopOpen
