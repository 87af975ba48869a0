#pragma once

#include <QDialog>
#include <QString>

// A dialog of the program: marked with its help topic, put where it was last
// (the options row `placementKey`) and given the language texts when
// created; FormShow runs once, when it is first shown; its placement is
// written and the options table saved when it is destroyed.
class TvdrDialog : public QDialog {
public:
    TvdrDialog(const char *placementKey, int helpTopic, QWidget *parent = nullptr);
    ~TvdrDialog() override;

    virtual void FormShow() {}

protected:
    // The derived constructor calls it once its controls exist.
    void FormCreate();
    void showEvent(QShowEvent *event) override;

private:
    QString m_placementKey;
    int m_helpTopic;
    bool m_shown = false;
};
