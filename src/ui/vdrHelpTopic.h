#pragma once

#include <QString>

class QWidget;

// Help topic numbers of the views and dialogs, and the help page of each.
namespace vdrHelpTopics {
inline constexpr int Contents = 0;
inline constexpr int Locations = 10;
inline constexpr int CarView = 20;
inline constexpr int MaintView = 30;
inline constexpr int PictureView = 40;
inline constexpr int RepairsView = 50;
// Not 80: that is the user-defined fields dialog's, with a page of its own.
inline constexpr int SortOrderEditor = 70;
inline constexpr int UdfDialog = 80;
inline constexpr int RepairDialog = 90;
inline constexpr int FilterDialog = 100;
inline constexpr int MaintDialog = 110;
} // namespace vdrHelpTopics

// Marks `widget` (a view or dialog) with its topic number.
void SetHelpTopic(QWidget *widget, int topic);
// The topic of `widget` or of the nearest parent that has one; Contents.
int HelpTopicAt(const QWidget *widget);
// The page (and anchor) of a topic under help/: "picture-view.html",
// "repair-descriptions.html#dialog"; the contents page for an unknown topic.
QString HelpPageOf(int topic);
