#include "vdrIcons.h"

#include "vdrSvgIconEngine.h"

#include <QAbstractButton>
#include <QAction>
#include <QWidget>

static void InitIconResource() {
    Q_INIT_RESOURCE(icons);
}

void InitIcons() {
    static const bool done = (InitIconResource(), true);
    Q_UNUSED(done);
}

QIcon SvgIcon(const QString &fileName) {
    return QIcon(new TvdrSvgIconEngine(fileName));
}

namespace {

const char *const kIconFile = "iconFile";

template <class T> void ApplyTo(const QList<T *> &objects) {
    for (T *object : objects)
        if (const QVariant file = object->property(kIconFile); file.isValid())
            object->setIcon(SvgIcon(file.toString()));
}

} // namespace

void ApplyIconFiles(QWidget *form) {
    if (const QVariant file = form->property(kIconFile); file.isValid())
        form->setWindowIcon(SvgIcon(file.toString()));
    ApplyTo(form->findChildren<QAction *>());
    ApplyTo(form->findChildren<QAbstractButton *>());
}
