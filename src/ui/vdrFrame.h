#pragma once

#include <QWidget>

// A view of the main window's view area: one per selected tree node, created
// when the node is selected and destroyed at the next selection change.
class TvdrFrame : public QWidget {
public:
    TvdrFrame(QWidget *parent, int helpTopic);

    // Writes what the view holds unsaved. Called before the view is
    // destroyed; errors reach the caller.
    virtual void CloseView() {}
    // Forgets what the view holds unsaved: its records are about to be
    // removed, and must not be written back.
    virtual void DiscardView() {}
};
