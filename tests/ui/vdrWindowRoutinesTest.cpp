#include "vdrWindowRoutines.h"
#include "vdrScriptedPrompts.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

QRect WorkArea() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

} // namespace

TEST(Prompts, NoAndClosingTheBoxBothCountAsNo) {
    TvdrPromptsScript prompts;
    prompts->YesNo = {true, false};
    EXPECT_FALSE(AnsweredNo(QStringLiteral("Go on?")));
    EXPECT_TRUE(AnsweredNo(QStringLiteral("Go on?")));
    EXPECT_EQ(prompts->Transcript(), QStringList({"question: Go on?", "question: Go on?"}));
}

TEST(Prompts, InputBoxGivesTheOldTextWhenCancelled) {
    TvdrPromptsScript prompts;
    prompts->Inputs = {QStringLiteral("typed")};
    prompts->InputAccepted = false;
    bool accepted = true;
    EXPECT_EQ(InputBox(QStringLiteral("Field"), QStringLiteral("Name:"), QStringLiteral("old"), &accepted),
              QStringLiteral("old"));
    EXPECT_FALSE(accepted);
}

TEST(Prompts, FileFiltersComeInDescriptionPatternPairs) {
    EXPECT_EQ(QtFileFilter(QStringLiteral("XML files (*.xml)|*.xml")), QStringLiteral("XML files (*.xml)"));
    EXPECT_EQ(QtFileFilter(QStringLiteral("Pictures|*.bmp;*.jpg;*.jpeg|All files|*")),
              QStringLiteral("Pictures (*.bmp *.jpg *.jpeg);;All files (*)"));
    EXPECT_EQ(QtFileFilter(QString()), QString());

    TvdrPromptsScript prompts;
    prompts->Files = {QString()};
    EXPECT_TRUE(OpenFile(QStringLiteral("Import"), QStringLiteral("TSV files|*.tsv"), QStringLiteral("/data"))
                    .isEmpty());
    EXPECT_EQ(prompts->Asked.constFirst().Detail, QStringLiteral("TSV files (*.tsv) in /data"));
    ShellOpen(QString());
    EXPECT_EQ(prompts->Asked.size(), 1) << "empty text is not handed to the desktop";
}

TEST(Placement, ANormalWindowRoundTripsItsPositionAndSize) {
    QWidget window;
    const QRect area = WorkArea();
    SetPlacement(&window, QStringLiteral("0 %1 %2 200 300").arg(area.top() + 40).arg(area.left() + 30));
    EXPECT_EQ(window.pos(), QPoint(area.left() + 30, area.top() + 40));
    EXPECT_EQ(window.size(), QSize(300, 200));
    EXPECT_EQ(GetPlacement(&window),
              QStringLiteral("0 %1 %2 200 300").arg(area.top() + 40).arg(area.left() + 30));
}

TEST(Placement, AMaximizedWindowIsSavedAsItsStateAloneAndKeepsItsNormalSize) {
    QWidget window;
    window.resize(320, 240);
    SetPlacement(&window, QStringLiteral("2"));
    EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(GetPlacement(&window), QStringLiteral("2"));
    window.setWindowState(Qt::WindowNoState);
    EXPECT_EQ(window.size(), QSize(320, 240)) << "the designed normal size stays";
}

TEST(Placement, AMinimizedWindowComesBackMinimizedAtItsPlace) {
    QWidget window;
    const QRect area = WorkArea();
    SetPlacement(&window, QStringLiteral("1 %1 %2 100 150").arg(area.top() + 5).arg(area.left() + 6));
    EXPECT_TRUE(window.windowState() & Qt::WindowMinimized);
    EXPECT_EQ(window.pos(), QPoint(area.left() + 6, area.top() + 5));
}

TEST(Placement, EmptyOrNonsenseTextLeavesTheDesignedPlacement) {
    QWidget window;
    const QRect area = WorkArea();
    window.move(area.left() + 10, area.top() + 20);
    window.resize(200, 100);
    for (const char *text : {"", "x y z", "   "}) {
        SetPlacement(&window, QString::fromLatin1(text));
        EXPECT_EQ(window.pos(), QPoint(area.left() + 10, area.top() + 20)) << text;
        EXPECT_EQ(window.size(), QSize(200, 100)) << text;
        EXPECT_EQ(window.windowState(), Qt::WindowNoState) << text;
    }
}

TEST(Placement, AFixedBorderWindowOnlyMoves) {
    QWidget window;
    window.setFixedSize(250, 150);
    const QRect area = WorkArea();
    SetPlacement(&window, QStringLiteral("0 %1 %2 400 600").arg(area.top() + 100).arg(area.left() + 50));
    EXPECT_EQ(window.pos(), QPoint(area.left() + 50, area.top() + 100));
    EXPECT_EQ(window.size(), QSize(250, 150));
}

TEST(Placement, AWindowFromAMonitorThatIsGoneComesBackOntoTheWorkArea) {
    QWidget window;
    const QRect area = WorkArea();
    // Far to the right and below: where a second monitor used to be.
    SetPlacement(&window, QStringLiteral("0 %1 %2 100 200").arg(area.bottom() + 500).arg(area.right() + 900));
    EXPECT_EQ(window.pos(), QPoint(area.left() + area.width() - 200, area.top() + area.height() - 100));
    // Up and to the left of the area.
    SetPlacement(&window, QStringLiteral("0 %1 %2 100 200").arg(area.top() - 300).arg(area.left() - 400));
    EXPECT_EQ(window.pos(), area.topLeft());
}

TEST(Placement, AWindowLargerThanTheWorkAreaKeepsItsTitleBarOnIt) {
    QWidget window;
    const QRect area = WorkArea();
    window.resize(area.width() + 300, area.height() + 200);
    window.move(area.left() + 20, area.top() + 10);
    KeepOnScreen(&window);
    EXPECT_EQ(window.pos(), area.topLeft());
}
