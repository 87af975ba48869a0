#include "vdrDialog.h"

#include "kvxLangApply.h"
#include "vdrHelpTopic.h"
#include "vdrOptions.h"
#include "vdrWindowRoutines.h"

TvdrDialog::TvdrDialog(const char *placementKey, int helpTopic, QWidget *parent)
    : QDialog(parent), m_placementKey(QLatin1String(placementKey)), m_helpTopic(helpTopic) {}

TvdrDialog::~TvdrDialog() {
    try {
        Options().SetValue(m_placementKey, GetPlacement(this));
        Options().Save();
    } catch (...) {
        // A dialog that closes cannot report: its placement is a nicety.
    }
}

void TvdrDialog::FormCreate() {
    SetHelpTopic(this, m_helpTopic);
    Options().SetDefault(QString());
    SetPlacement(this, Options().GetValue(m_placementKey));
    ApplyToForm(this);
}

void TvdrDialog::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}
