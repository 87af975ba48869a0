#include "vdrFrame.h"

#include "vdrHelpTopic.h"

TvdrFrame::TvdrFrame(QWidget *parent, int helpTopic) : QWidget(parent) {
    SetHelpTopic(this, helpTopic);
}
