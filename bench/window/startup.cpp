// Builds the real window, shows it and quits once it has been painted for
// the first time: the cost of starting the calculator, measured from outside
// as a whole process.

#include <QApplication>
#include <QEvent>

#include "kalvitra/ui/form1.h"

namespace {

// Quits after the first paint has been drawn and handed to the screen: the
// queued quit runs only when that whole paint pass has returned.
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

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    kalvitra::ui::Form1 window;
    QuitAfterFirstPaint watcher;
    window.installEventFilter(&watcher);
    window.show();
    return app.exec();
}
