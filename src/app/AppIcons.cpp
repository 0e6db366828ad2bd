#include "AppIcons.h"

#include <initializer_list>

// The resources live in a static library: a linker keeps them only when something asks. At file
// scope, as the resource's initialiser is declared there.
static void loadResources() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(korvan);
        return true;
    }();
    (void)loaded;
}

namespace {
QIcon fromSizes(const QString& name, std::initializer_list<int> sizes) {
    loadResources();
    QIcon icon;
    for (int size : sizes)
        icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(name).arg(size), QSize(size, size));
    return icon;
}
} // namespace

namespace korvan::AppIcons {

QIcon application() {
    return fromSizes(QStringLiteral("korvan"), {16, 22, 24, 32, 48, 64, 128, 256});
}

QIcon builtIn(const QString& name) {
    for (const char* known : {"edit-cut", "edit-copy", "edit-paste", "document-print"})
        if (name == QLatin1String(known))
            return fromSizes(name, {16, 24, 32});
    return {};
}

QIcon themed(const QString& name) {
    return QIcon::fromTheme(name, builtIn(name));
}

} // namespace korvan::AppIcons
