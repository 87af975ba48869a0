#pragma once

#include <QDialog>

// A dialog of the program: marked with its help topic; its placement kept in
// the options table under its class name, restored by KeepPlacement once the
// designed layout is set up and stored (the options table saved) when the
// dialog is destroyed; FormShow run when it is first shown.
class TvdrDialog : public QDialog {
public:
    // `placementKey` must outlive the dialog (a string literal).
    TvdrDialog(QWidget *parent, int helpTopic, const char *placementKey);
    // Stores the placement after the derived dialog's destructor has written
    // its own options, then saves them all; errors are dropped, a closing
    // dialog cannot report them.
    ~TvdrDialog() override;

    virtual void FormShow() {}

protected:
    // Call at the end of creation: the stored placement over the designed
    // one, then the language texts.
    void KeepPlacement();
    void showEvent(QShowEvent *event) override;

private:
    const char *m_placementKey;
    bool m_shown = false;
};
