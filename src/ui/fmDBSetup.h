#pragma once

#include "vdrDialog.h"

#include <memory>

namespace Ui {
class TfrmDBSetup;
}

// The locations wizard: page 0 asks for the database folder, page 1 for the
// log folder. Neither is checked beyond being filled in: start-up finds out
// whether they work.
class TfrmDBSetup : public TvdrDialog {
public:
    TfrmDBSetup(const QString &dbFolder, const QString &logFolder, QWidget *parent = nullptr);
    ~TfrmDBSetup() override;

    QString DBFolder() const;
    QString LogFolder() const;
    int PageIndex() const;

    void FormShow() override;
    void btnBackClick();
    void btnNextClick();
    void btnCancelClick();
    void spbDBFolderClick();
    void spbLogLocationClick();

    Ui::TfrmDBSetup &Form() const { return *m_ui; }

private:
    std::unique_ptr<Ui::TfrmDBSetup> m_ui;
    QString m_dbFolder;
    QString m_logFolder;
};

// Shows the wizard with the two folders; true and the edited folders on
// Finish, false and the folders unchanged on Cancel.
bool RunLocations(QString &dbFolder, QString &logFolder, QWidget *parent = nullptr);
