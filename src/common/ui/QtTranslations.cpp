#include "QtTranslations.h"

#include <QCoreApplication>
#include <QDebug>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace korvan::QtTranslations {

bool follow(Lang lang) {
    // One translator for the program's life; it leaves the application when it goes.
    static std::unique_ptr<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    if (lang != Lang::Chinese)
        return true;
    auto translator = std::make_unique<QTranslator>();
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"), folder)) {
        qWarning("korvan: Qt's Chinese texts (qtbase_zh_CN.qm) are not in %s", qPrintable(folder));
        return false;
    }
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
    return true;
}

} // namespace korvan::QtTranslations
