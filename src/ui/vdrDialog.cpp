#include "vdrDialog.h"

#include "kvxLangApply.h"
#include "vdrHelpTopic.h"
#include "vdrOptions.h"
#include "vdrWindowRoutines.h"

TvdrDialog::TvdrDialog(QWidget *parent, int helpTopic, const char *placementKey)
    : QDialog(parent), m_placementKey(placementKey) {
    SetHelpTopic(this, helpTopic);
}

TvdrDialog::~TvdrDialog() {
    try {
        Options().SetValue(QLatin1String(m_placementKey), GetPlacement(this));
        Options().Save();
    } catch (...) {
        // A dialog that closes cannot report: its placement is a nicety.
    }
}

void TvdrDialog::KeepPlacement() {
    Options().SetDefault(QString());
    SetPlacement(this, Options().GetValue(QLatin1String(m_placementKey)));
    ApplyToForm(this);
}

void TvdrDialog::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}
