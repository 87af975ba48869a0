#include "vdrIcons.h"
#include "vdrTestSupport.h"

#include <QAction>
#include <QImage>
#include <QPixmap>
#include <QToolButton>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

const QByteArray kSquare = "<svg xmlns='http://www.w3.org/2000/svg' width='16' height='8'>"
                           "<rect width='16' height='8' fill='#2080ff'/></svg>";

// The file is read when the icon is first drawn, not when it is made: an
// icon made before its file exists draws it once it is there; a file that
// is not an SVG draws nothing.
TEST(SvgIcons, AreReadWhenFirstDrawnKeepTheirShapeAndFollowTheMode) {
    TvdrTempFolder folder;
    const QString name = folder.File(QStringLiteral("late.svg"));
    const QIcon icon = SvgIcon(name);
    EXPECT_FALSE(icon.isNull());
    WriteWholeFile(name, kSquare);

    const QPixmap normal = icon.pixmap(QSize(32, 32));
    ASSERT_FALSE(normal.isNull());
    EXPECT_EQ(normal.size(), QSize(32, 16)) << "scaled to fit, its proportions kept";
    EXPECT_EQ(normal.toImage().pixelColor(5, 5), QColor(0x20, 0x80, 0xff));
    EXPECT_EQ(icon.actualSize(QSize(8, 8)), QSize(8, 4));

    const QImage disabled = icon.pixmap(QSize(32, 32), QIcon::Disabled).toImage();
    EXPECT_NE(disabled.pixelColor(5, 5), QColor(0x20, 0x80, 0xff))
        << "drawn as the style draws disabled icons";
    EXPECT_EQ(icon.pixmap(QSize(32, 32)).toImage(), normal.toImage()) << "the same again";

    const QString broken = folder.File(QStringLiteral("broken.svg"));
    WriteWholeFile(broken, "not an image");
    EXPECT_TRUE(SvgIcon(broken).pixmap(QSize(16, 16)).isNull());
}

TEST(SvgIcons, AFormsIconFilesBecomeTheIconsOfItsActionsButtonsAndWindow) {
    TvdrTempFolder folder;
    const QString name = folder.File(QStringLiteral("icon.svg"));
    WriteWholeFile(name, kSquare);
    QWidget form;
    form.setProperty("iconFile", name);
    auto *action = new QAction(&form);
    action->setProperty("iconFile", name);
    auto *button = new QToolButton(&form);
    button->setProperty("iconFile", name);
    auto *plain = new QToolButton(&form);
    ApplyIconFiles(&form);
    EXPECT_FALSE(form.windowIcon().pixmap(16).isNull());
    EXPECT_FALSE(action->icon().pixmap(16).isNull());
    EXPECT_FALSE(button->icon().pixmap(16).isNull());
    EXPECT_TRUE(plain->icon().isNull()) << "a button without a file keeps no icon";
}

} // namespace
