#pragma once
// The program's own pictures, kept as resources: the application icon in the usual sizes and the
// tool bar pictures used where the desktop theme has none.
#include <QIcon>
#include <QString>

namespace korvan::AppIcons {

// The application icon (16 to 256 pixels), drawn for Korvan.
QIcon application();
// The desktop theme's icon of that name (edit-cut, edit-copy, edit-paste, document-print), or our
// own drawing of it when the theme has none.
QIcon themed(const QString& name);
// Our own drawing alone, for the names above (null for any other name).
QIcon builtIn(const QString& name);

} // namespace korvan::AppIcons
