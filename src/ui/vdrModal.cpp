#include "vdrModal.h"

#include <QDialog>

#include <deque>

namespace {

std::deque<TvdrDialogScript> &Scripts() {
    static std::deque<TvdrDialogScript> scripts;
    return scripts;
}

} // namespace

int RunModal(QDialog &dialog) {
    if (Scripts().empty())
        return dialog.exec();
    TvdrDialogScript script = std::move(Scripts().front());
    Scripts().pop_front();
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    script(dialog);
    // A script that leaves the dialog open has cancelled it.
    if (dialog.isVisible())
        dialog.reject();
    return dialog.result();
}

void QueueDialogScript(TvdrDialogScript script) {
    Scripts().push_back(std::move(script));
}

int PendingDialogScripts() {
    return int(Scripts().size());
}

void ClearDialogScripts() {
    Scripts().clear();
}
