#include "vdrHelpWindow.h"
#include "vdrHelpKey.h"
#include "vdrHelpTopic.h"
#include "vdrProgramFolder.h"
#include "vdrScriptedPrompts.h"
#include "vdrTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFrame>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// A program folder with small help pages titled "Title of <file>", each
// holding the anchors the topics use; the help window is freed afterwards.
class HelpWindow : public testing::Test {
protected:
    HelpWindow() {
        QDir(m_folder.Path()).mkdir(QStringLiteral("help"));
        QByteArray body;
        for (int i = 0; i < 40; ++i)
            body += "<p>Paragraph " + QByteArray::number(i) + ".</p>\n";
        for (const char *page : {"index.html", "car-view.html", "maintenance-view.html", "picture-view.html",
                                 "repair-descriptions.html", "sort-orders.html", "user-defined-fields.html",
                                 "filter.html", "maintenance-event.html"})
            WriteWholeFile(Page(page), QByteArray("<html><head><title>Title of ") + page +
                                           "</title></head><body>" + body + "<a name=\"dialog\"></a>" + body +
                                           "<a name=\"editor\"></a>" + body + "</body></html>");
        SetProgramFolder(m_folder.Path());
        qApp->installEventFilter(&m_key);
    }
    ~HelpWindow() override {
        delete TvdrHelpWindow::Instance();
        SetProgramFolder(QString());
    }

    QString Page(const QString &name) const { return m_folder.File(QStringLiteral("help/") + name); }
    // "file.html" or "file.html#anchor" of the page shown.
    static QString Shown() {
        const QUrl source = TvdrHelpWindow::Instance()->Browser()->source();
        return source.fileName() + (source.hasFragment() ? QLatin1Char('#') + source.fragment() : QString());
    }
    static QAction *Action(const char *name) {
        return TvdrHelpWindow::Instance()->findChild<QAction *>(QString::fromLatin1(name));
    }
    static void Click(const QString &link) {
        Q_EMIT TvdrHelpWindow::Instance()->Browser()->anchorClicked(QUrl(link));
    }
    // A click as the window system delivers it, which a modal dialog blocks.
    static void ClickContents() {
        TvdrHelpWindow *window = TvdrHelpWindow::Instance();
        QWidget *button = window->findChild<QToolBar *>()->widgetForAction(Action("actContents"));
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                          button->mapTo(window, button->rect().center()));
    }

    TvdrTempFolder m_folder;
    TvdrHelpKey m_key;
};

// A window with a line edit in a frame marked with a topic, one outside it,
// and an F1 action as the main window's Help command has.
struct TWindow {
    explicit TWindow(int topic)
        : Frame(new QFrame(&Window)), Edit(new QLineEdit(Frame)), Outside(new QLineEdit(&Window)) {
        SetHelpTopic(Frame, topic);
        auto *layout = new QVBoxLayout(&Window);
        layout->addWidget(Frame);
        layout->addWidget(Outside);
        auto *help = new QAction(&Window);
        help->setShortcut(Qt::Key_F1);
        Window.addAction(help);
        QObject::connect(help, &QAction::triggered, [this] { ++HelpCommands; });
        Window.show();
        Window.activateWindow();
    }

    QWidget Window;
    QFrame *Frame;
    QLineEdit *Edit;
    QLineEdit *Outside;
    int HelpCommands = 0;
};

} // namespace

TEST_F(HelpWindow, EveryTopicOpensItsPageAndAnchorInTheOneWindow) {
    using namespace vdrHelpTopics;
    const QList<QPair<int, QString>> expected = {
        {CarView, "car-view.html"},
        {MaintView, "maintenance-view.html"},
        {PictureView, "picture-view.html"},
        {RepairsView, "repair-descriptions.html"},
        {SortOrderEditor, "sort-orders.html#editor"},
        {UdfDialog, "user-defined-fields.html"},
        {RepairDialog, "repair-descriptions.html#dialog"},
        {FilterDialog, "filter.html"},
        {MaintDialog, "maintenance-event.html"},
        {Contents, "index.html"},
        {12345, "index.html"},
    };
    ShowHelp(Contents, nullptr);
    TvdrHelpWindow *window = TvdrHelpWindow::Instance();
    ASSERT_NE(window, nullptr);
    for (const auto &[topic, page] : expected) {
        ShowHelp(topic, nullptr);
        EXPECT_EQ(TvdrHelpWindow::Instance(), window) << "one help window for every topic";
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(Shown(), page) << topic;
        EXPECT_EQ(window->windowTitle(), "Title of " + page.section(QLatin1Char('#'), 0, 0)) << topic;
    }
}

TEST_F(HelpWindow, AMissingFolderOrPageIsNamedAndOpensNoEmptyWindow) {
    TvdrPromptsScript prompts;
    QFile::remove(Page(QStringLiteral("picture-view.html")));
    ShowHelp(vdrHelpTopics::PictureView, nullptr);
    EXPECT_EQ(TvdrHelpWindow::Instance(), nullptr);

    ShowHelp(vdrHelpTopics::Contents, nullptr);
    Click(QStringLiteral("picture-view.html"));
    EXPECT_EQ(Shown(), QStringLiteral("index.html")) << "a link to a missing page keeps the page shown";

    delete TvdrHelpWindow::Instance();
    QDir(m_folder.File(QStringLiteral("help"))).removeRecursively();
    ShowHelp(vdrHelpTopics::CarView, nullptr);
    EXPECT_EQ(TvdrHelpWindow::Instance(), nullptr);

    const QString missingPage = QStringLiteral("error: The help page \"%1\" cannot be found.")
                                    .arg(QDir::toNativeSeparators(Page(QStringLiteral("picture-view.html"))));
    EXPECT_EQ(prompts->Transcript(),
              QStringList({missingPage, missingPage,
                           QStringLiteral("error: The help folder \"%1\" cannot be found.")
                               .arg(QDir::toNativeSeparators(m_folder.File("help")))}));
}

TEST_F(HelpWindow, LinksHistoryContentsAndKeys) {
    ShowHelp(vdrHelpTopics::CarView, nullptr);
    TvdrHelpWindow *window = TvdrHelpWindow::Instance();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    Click(QStringLiteral("maintenance-view.html"));
    Click(QStringLiteral("#dialog"));
    EXPECT_EQ(Shown(), QStringLiteral("maintenance-view.html#dialog"));

    QTest::keyClick(window->Browser(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(Shown(), QStringLiteral("maintenance-view.html")) << "Alt+Left goes back one page";
    Action("actBack")->trigger();
    EXPECT_EQ(Shown(), QStringLiteral("car-view.html"));
    EXPECT_FALSE(Action("actBack")->isEnabled());
    QTest::keyClick(window->Browser(), Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(Shown(), QStringLiteral("maintenance-view.html"));
    Action("actContents")->trigger();
    EXPECT_EQ(Shown(), QStringLiteral("index.html"));
    {
        TvdrPromptsScript prompts;
        Click(QStringLiteral("https://example.org/tyres"));
        EXPECT_EQ(prompts->Transcript(), QStringList({"open: https://example.org/tyres"}));
        EXPECT_EQ(Shown(), QStringLiteral("index.html")) << "a web address goes to the desktop";
    }
    QTest::keyClick(window->Browser(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(HelpWindow, F1OpensTheFocusedViewsTopicAndNoShortcutFiresAsWell) {
    TWindow window(vdrHelpTopics::PictureView);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window.Window));
    qApp->removeEventFilter(&m_key);
    QTest::keyClick(window.Edit, Qt::Key_F1);
    ASSERT_EQ(window.HelpCommands, 1) << "without the filter the F1 shortcut fires";
    qApp->installEventFilter(&m_key);

    QTest::keyClick(window.Edit, Qt::Key_F1);
    ASSERT_NE(TvdrHelpWindow::Instance(), nullptr);
    EXPECT_EQ(Shown(), QStringLiteral("picture-view.html"));
    EXPECT_EQ(window.HelpCommands, 1);
    QTest::keyClick(window.Outside, Qt::Key_F1);
    EXPECT_EQ(Shown(), QStringLiteral("index.html")) << "no topic: the contents";
    QTest::keyClick(window.Edit, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(Shown(), QStringLiteral("index.html")) << "Shift+F1 is not the help key";
}

TEST_F(HelpWindow, F1InAModalDialogOpensItsTopicAndTheDialogDoesNotBlockTheHelp) {
    for (const Qt::WindowModality modality : {Qt::WindowModal, Qt::ApplicationModal}) {
        SCOPED_TRACE(modality == Qt::WindowModal ? "window-modal" : "application-modal");
        TWindow main(vdrHelpTopics::CarView);
        QTest::keyClick(main.Edit, Qt::Key_F1);
        TvdrHelpWindow *help = TvdrHelpWindow::Instance();
        ASSERT_NE(help, nullptr);

        QDialog dialog(&main.Window);
        SetHelpTopic(&dialog, vdrHelpTopics::MaintDialog);
        auto *edit = new QLineEdit(&dialog);
        if (modality == Qt::WindowModal) {
            dialog.open();
        } else {
            dialog.setWindowModality(Qt::ApplicationModal);
            dialog.show();
        }
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        ASSERT_EQ(QApplication::activeModalWidget(), &dialog);

        QTest::keyClick(edit, Qt::Key_F1);
        EXPECT_EQ(TvdrHelpWindow::Instance(), help) << "the open help window is reused";
        EXPECT_EQ(Shown(), QStringLiteral("maintenance-event.html"));
        EXPECT_EQ(help->parentWidget(), &dialog);
        EXPECT_TRUE(help->isWindow() && help->isVisible());
        ClickContents();
        EXPECT_EQ(Shown(), QStringLiteral("index.html")) << "the help window takes clicks";

        dialog.reject();
        EXPECT_EQ(help->parentWidget(), nullptr) << "a window of its own again";
        EXPECT_TRUE(help->isVisible()) << "the help stays open after the dialog";
    }
}

// Every topic's page, and its anchor, must be in the help the program ships.
TEST(HelpPagesShipped, EveryTopicHasItsPageAndAnchor) {
    const QString folder = QStringLiteral(VANDOR_SOURCE_DIR "/help");
    if (!QDir(folder).exists())
        GTEST_SKIP() << "no help folder in this tree";
    for (int topic = 0; topic <= 200; ++topic) {
        const QString page = HelpPageOf(topic);
        const QString file = folder + QLatin1Char('/') + page.section(QLatin1Char('#'), 0, 0);
        ASSERT_TRUE(QFile::exists(file)) << file.toStdString();
        const QString anchor = page.section(QLatin1Char('#'), 1);
        EXPECT_TRUE(anchor.isEmpty() ||
                    QString::fromUtf8(ReadWholeFile(file))
                        .contains(QRegularExpression(QStringLiteral("(name|id)=\"%1\"").arg(anchor))))
            << page.toStdString();
    }
}
