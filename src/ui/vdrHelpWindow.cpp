#include "vdrHelpWindow.h"

#include "kvxLangApply.h"
#include "vdrHelpTopic.h"
#include "vdrIcons.h"
#include "vdrProgramFolder.h"
#include "vdrWindowRoutines.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

// The icons live in a static library: nothing would pull them in otherwise.
static void LoadIcons() {
    Q_INIT_RESOURCE(icons);
}

namespace {

QPointer<TvdrHelpWindow> &TheWindow() {
    static QPointer<TvdrHelpWindow> window;
    return window;
}

QUrl PageUrl(const QString &page) {
    const qsizetype hash = page.indexOf(QLatin1Char('#'));
    QUrl url = QUrl::fromLocalFile(HelpFolder() + QLatin1Char('/') + page.left(hash));
    if (hash >= 0)
        url.setFragment(page.mid(hash + 1));
    return url;
}

// Never an empty window: a page that is not there is named instead.
bool PageExists(const QUrl &page) {
    if (QFileInfo(page.toLocalFile()).isFile())
        return true;
    ShowError(QStringLiteral("The help page \"%1\" cannot be found.")
                  .arg(QDir::toNativeSeparators(page.toLocalFile())));
    return false;
}

QAction *NewAction(QWidget *window, const QString &name, const QString &text, const QIcon &icon,
                   const QList<QKeySequence> &keys) {
    auto *action = new QAction(icon, text, window);
    action->setObjectName(name);
    action->setShortcuts(keys);
    action->setToolTip(
        QStringLiteral("%1 (%2)").arg(text, keys.constFirst().toString(QKeySequence::NativeText)));
    return action;
}

} // namespace

QString HelpFolder() {
    return ProgramFolder() + QStringLiteral("/help");
}

TvdrHelpWindow::TvdrHelpWindow() : QWidget(nullptr, Qt::Window) {
    LoadIcons();
    setObjectName(QStringLiteral("frmHelp"));
    // F1 in here shows the contents, not the topic of a dialog that hosts it.
    SetHelpTopic(this, vdrHelpTopics::Contents);
    // Closing the help must not keep the program running, nor end it.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Vandor Help"));
    setWindowIcon(SvgIcon(QStringLiteral(":/icons/vandor.svg")));

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("brwHelp"));
    m_browser->setOpenLinks(false);
    m_browser->setFrameShape(QFrame::NoFrame);
    m_browser->document()->setDocumentMargin(12);

    m_back = NewAction(this, QStringLiteral("actBack"), QStringLiteral("Back"),
                       style()->standardIcon(QStyle::SP_ArrowBack), {QKeySequence(Qt::ALT | Qt::Key_Left)});
    m_forward =
        NewAction(this, QStringLiteral("actForward"), QStringLiteral("Forward"),
                  style()->standardIcon(QStyle::SP_ArrowForward), {QKeySequence(Qt::ALT | Qt::Key_Right)});
    QAction *contents =
        NewAction(this, QStringLiteral("actContents"), QStringLiteral("Contents"),
                  SvgIcon(QStringLiteral(":/icons/btn-help.svg")), {QKeySequence(Qt::ALT | Qt::Key_Home)});
    QAction *close = NewAction(this, QStringLiteral("actClose"), QStringLiteral("Close"), QIcon(),
                               {QKeySequence(Qt::Key_Escape)});
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    addAction(close);

    auto *toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("tbHelp"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->addAction(m_back);
    toolBar->addAction(m_forward);
    toolBar->addSeparator();
    toolBar->addAction(contents);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(m_browser);

    ApplyToForm(this);

    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(contents, &QAction::triggered, this,
            [this] { Open(PageUrl(HelpPageOf(vdrHelpTopics::Contents))); });
    connect(close, &QAction::triggered, this, &QWidget::close);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &TvdrHelpWindow::FollowLink);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &TvdrHelpWindow::UpdateTitle);
    // Left open when the program ends, it is still freed before the application.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [] { delete TheWindow().data(); });

    resize(780, 600);
}

TvdrHelpWindow *TvdrHelpWindow::Instance() {
    return TheWindow();
}

bool TvdrHelpWindow::Open(const QUrl &page) {
    if (!PageExists(page))
        return false;
    m_browser->setSource(page);
    return true;
}

void TvdrHelpWindow::FollowLink(const QUrl &link) {
    const QUrl target = m_browser->source().resolved(link);
    if (target.isLocalFile())
        Open(target);
    else
        ShellOpen(target.toString());
}

void TvdrHelpWindow::UpdateTitle() {
    const QString title = m_browser->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Vandor Help") : title);
}

void TvdrHelpWindow::Host(QWidget *owner) {
    if (parentWidget() == owner)
        return;
    const bool shown = isVisible();
    const QRect place = geometry();
    if (parentWidget())
        parentWidget()->removeEventFilter(this);
    setParent(owner, Qt::Window);
    if (owner)
        owner->installEventFilter(this);
    if (shown) {
        setGeometry(place);
        show();
    }
}

bool TvdrHelpWindow::eventFilter(QObject *watched, QEvent *event) {
    // The hosting dialog closes (not a minimize): leave it before it hides
    // its child windows, or is destroyed with them.
    if (watched == parentWidget() && event->type() == QEvent::Hide && !event->spontaneous()) {
        QWidget *modal = QApplication::activeModalWidget();
        Host(modal == watched ? nullptr : modal);
    }
    return QWidget::eventFilter(watched, event);
}

void ShowHelp(int topic, QWidget *from) {
    if (!QFileInfo(HelpFolder()).isDir()) {
        ShowError(QStringLiteral("The help folder \"%1\" cannot be found.")
                      .arg(QDir::toNativeSeparators(HelpFolder())));
        return;
    }
    const QUrl page = PageUrl(HelpPageOf(topic));
    if (!PageExists(page))
        return;

    TvdrHelpWindow *window = TheWindow();
    if (!window) {
        window = new TvdrHelpWindow;
        TheWindow() = window;
        if (from) {
            const QRect area = from->screen()->availableGeometry();
            window->resize(window->size().boundedTo(area.size() * 9 / 10));
            window->move(area.center() - window->rect().center());
        }
    }
    // A modal dialog blocks every window but its own.
    window->Host(QApplication::activeModalWidget());
    window->Open(page);
    window->show();
    window->raise();
    window->activateWindow();
}
