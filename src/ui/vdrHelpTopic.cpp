#include "vdrHelpTopic.h"

#include <QVariant>
#include <QWidget>

namespace {
const char *const kProperty = "vdrHelpTopic";
} // namespace

void SetHelpTopic(QWidget *widget, int topic) {
    widget->setProperty(kProperty, topic);
}

int HelpTopicAt(const QWidget *widget) {
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        const QVariant topic = w->property(kProperty);
        if (topic.isValid())
            return topic.toInt();
    }
    return vdrHelpTopics::Contents;
}

QString HelpPageOf(int topic) {
    switch (topic) {
    case vdrHelpTopics::Locations:
        return QStringLiteral("getting-started.html#wizard");
    case vdrHelpTopics::CarView:
        return QStringLiteral("car-view.html");
    case vdrHelpTopics::MaintView:
        return QStringLiteral("maintenance-view.html");
    case vdrHelpTopics::PictureView:
        return QStringLiteral("picture-view.html");
    case vdrHelpTopics::RepairsView:
        return QStringLiteral("repair-descriptions.html");
    case vdrHelpTopics::SortOrderEditor:
        return QStringLiteral("sort-orders.html#editor");
    case vdrHelpTopics::UdfDialog:
        return QStringLiteral("user-defined-fields.html");
    case vdrHelpTopics::RepairDialog:
        return QStringLiteral("repair-descriptions.html#dialog");
    case vdrHelpTopics::FilterDialog:
        return QStringLiteral("filter.html");
    case vdrHelpTopics::MaintDialog:
        return QStringLiteral("maintenance-event.html");
    default:
        return QStringLiteral("index.html");
    }
}
