#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

// Quits after the first paint has been drawn and handed to the screen: the
// queued quit runs only when that whole paint pass has returned. Installed
// on the window whose start-up is timed.
class QuitAfterFirstPaint final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool painted_ = false;
};
