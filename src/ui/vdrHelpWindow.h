#pragma once

#include <QWidget>

class QAction;
class QTextBrowser;
class QUrl;

// The folder of the help pages: "help" beside the program.
QString HelpFolder();

// Opens the one help window at the page of `topic` (HelpPageOf, with its
// anchor), or brings it there and raises it. `from` (the asking view or
// dialog, may be null) places a new window on its screen. A missing help
// folder or page is reported through ShowError, naming it, and no window
// opens.
//
// Which topic: F1 (TvdrHelpKey) opens the topic of the focused view or
// dialog; the main window's Help > Help... opens the contents.
void ShowHelp(int topic, QWidget *from);

// A browser over the help pages with Back, Forward and Contents. While a
// modal dialog is open the window is that dialog's child window, so the
// dialog does not block it; when the dialog closes it goes back to being a
// window of its own (or the child of the modal dialog below).
class TvdrHelpWindow : public QWidget {
public:
    // The help window, or null when none was opened yet (or its dialog was
    // destroyed with it).
    static TvdrHelpWindow *Instance();

    QTextBrowser *Browser() const { return m_browser; }
    // Shows a page under the help folder; false, after ShowError, when the
    // page's file does not exist.
    bool Open(const QUrl &page);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TvdrHelpWindow();
    friend void ShowHelp(int topic, QWidget *from);

    // Makes the window a child window of `owner` (null: a window of its own),
    // keeping its place and visibility.
    void Host(QWidget *owner);
    void FollowLink(const QUrl &link);
    void UpdateTitle();

    QTextBrowser *m_browser;
    QAction *m_back;
    QAction *m_forward;
};
