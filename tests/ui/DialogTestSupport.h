#pragma once
// Helpers for driving dialogs in the dialog tests.

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace vocalore::dialogtest {

// Runs an action on the next modal dialog as soon as it is shown, so a
// function that calls exec() can be tested without blocking.
inline void OnNextModal(std::function<void(QDialog*)> action)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer->stop();
        timer->deleteLater();
        action(dialog);
    });
    timer->start();
}

template <typename T>
T* Child(QWidget* parent, const char* name)
{
    return parent->findChild<T*>(QString::fromLatin1(name));
}

} // namespace vocalore::dialogtest
