#pragma once

#include <QObject>

// F1 anywhere in the program (main window, any dialog) opens help at the
// topic of the focused view or dialog (HelpTopicAt). The key is taken before
// any shortcut sees it, so an action with F1 as its shortcut (the main
// window's Help > Help..., which opens the contents) does not fire as well:
// F1 shows the topic, the Help menu the contents.
class TvdrHelpKey : public QObject {
public:
    using QObject::QObject;

    // Installs the one filter on the application; later calls do nothing.
    static void Install();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
