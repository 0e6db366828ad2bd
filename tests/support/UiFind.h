#pragma once
// Finds a screen's control by its objectName; a missing control ends the test run at once.
#include <QString>
#include <QWidget>

namespace korvan::test {

template <class T> T* child(QWidget* parent, const char* name) {
    T* widget = parent->findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

} // namespace korvan::test
