#pragma once
// Types text into a widget the way an input method commits it: one key event per character, so
// Chinese text and validators are exercised as with a real keyboard.
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace korvan::test {

inline void typeText(QWidget* widget, const QString& text) {
    for (const QChar& c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace korvan::test
