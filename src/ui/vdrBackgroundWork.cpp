#include "vdrBackgroundWork.h"

#include <QApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QProgressDialog>

#include <exception>
#include <thread>

void RunInBackground(QWidget *parent, const QString &label, const std::function<void()> &work) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QProgressDialog progress(label, QString(), 0, 0, parent);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(600);
    progress.setCancelButton(nullptr);
    progress.setAutoClose(false);
    QEventLoop loop;
    std::exception_ptr error;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            error = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    progress.reset();
    QApplication::restoreOverrideCursor();
    if (error)
        std::rethrow_exception(error);
}
