#pragma once
// Mouse events sent straight to a widget, so no window has to be shown or hold the mouse: a
// press, moves with the button held, a release.
#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

namespace korvan::test {

inline void mouse(QWidget* widget, QEvent::Type type, QPoint at) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button,
                      type == QEvent::MouseMove ? held : Qt::MouseButtons(button), Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace korvan::test
