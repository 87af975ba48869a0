#include "fmMain.h"

#include "fmDBSetup.h"
#include "fmMaint.h"
#include "fmRepairs.h"
#include "fmSortTreeEditor.h"
#include "fmUDF.h"
#include "frAbout.h"
#include "frCars.h"
#include "frMaint.h"
#include "frPicture.h"
#include "frRepairs.h"
#include "kvxLang.h"
#include "kvxLangApply.h"
#include "kvxStreamFile.h"
#include "kvxTrimWorkingSet.h"
#include "kvxVersInfo.h"
#include "qrCar.h"
#include "qrMaint.h"
#include "qrPicture.h"
#include "qrRepair.h"
#include "ui_fmMain.h"
#include "vdrApplication.h"
#include "vdrCarComparer.h"
#include "vdrCarPicture.h"
#include "vdrCarRec.h"
#include "vdrCarRemoval.h"
#include "vdrCars.h"
#include "vdrCmRtn.h"
#include "vdrDatabaseTables.h"
#include "vdrError.h"
#include "vdrExchangeCommands.h"
#include "vdrExtFiles.h"
#include "vdrFrame.h"
#include "vdrHelpKey.h"
#include "vdrHelpTopic.h"
#include "vdrHelpWindow.h"
#include "vdrIcons.h"
#include "vdrInet.h"
#include "vdrLog.h"
#include "vdrMaintFilter.h"
#include "vdrMoveFile.h"
#include "vdrOptions.h"
#include "vdrProgramFolder.h"
#include "vdrReportCommands.h"
#include "vdrSortOrder.h"
#include "vdrSortOrderList.h"
#include "vdrStreamDamage.h"
#include "vdrToolbarLayout.h"
#include "vdrWindowRoutines.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QStatusBar>
#include <QToolButton>

#include <future>
#include <system_error>

namespace {

QString Text(const char *key) {
    return Lang().GetText(QLatin1String(key));
}

// A menu caption as a tool tip: without its "&" markers.
QString Plain(QString caption) {
    caption.replace(QLatin1String("&&"), QLatin1String("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return caption;
}

QString ReadOption(const char *key, const QString &fallback) {
    Options().SetDefault(fallback);
    return Options().GetValue(QLatin1String(key));
}

bool SameFolder(const QString &a, const QString &b) {
    return QDir::cleanPath(a).compare(QDir::cleanPath(b), Qt::CaseInsensitive) == 0;
}

} // namespace

TfrmMain::TfrmMain(QWidget *parent) : QMainWindow(parent), m_ui(std::make_unique<Ui::TfrmMain>()) {
    m_ui->setupUi(this);
    ApplyIconFiles(this);
    m_sortTreeEditor = [this] { return ExecuteSortTreeEditor(this); };
    SetUpToolbars();
    SetUpTree();
    ConnectCommands();
    m_ui->tvwMain->viewport()->installEventFilter(this);
}

TfrmMain::~TfrmMain() {
    FormDestroy();
    m_view = nullptr;
}

// --- Start-up and shut-down ------------------------------------------------

bool TfrmMain::FormCreate() {
    // The help pages lie beside the program; F1 opens the focused view's.
    TvdrHelpKey::Install();
    m_scratch1 = std::make_unique<TvdrCarRec>();
    m_scratch2 = std::make_unique<TvdrCarRec>();
    if (!OpenLanguage())
        return false;
    CreateSortGlyphs();
    if (!OpenDatabase())
        return false;
    CheckSortItem(ReadOption(vdrOptionKeys::CheckedSortItem, QStringLiteral("0")).toInt());
    try {
        VersInfo().SetFileName(TkvxVersInfo::ProgramFile());
    } catch (const EvdrError &) {
        // The banner then shows what is known; the program runs on.
    }
    WriteBanner();
    RestoreToolbars();
    SetPlacement(this, ReadOption(vdrOptionKeys::MainWindow, QString()));
    // Qt chooses fonts by the characters they must show; there is no
    // character set to switch.
    const int treeWidth =
        ReadOption(vdrOptionKeys::TreeWidth, QString::number(vdrOptionKeys::TreeWidthDefault)).toInt();
    m_ui->splMain->setSizes({treeWidth, qMax(width() - treeWidth, 1)});
    ApplyToForm(this);
    ShowSortOrderHint();
    BuildTree();
    m_trimmer = std::make_unique<TkvxTrimWorkingSet>(60);
    m_trimmer->start(QThread::LowestPriority);
    m_created = true;
    return true;
}

bool TfrmMain::OpenLanguage() {
    const QString fileName = ProgramFolder() + QStringLiteral("/vdrLang.dat");
    QString problem;
    try {
        Lang().LoadFromFile(fileName);
        // A file without texts would leave every question and message box
        // empty: it is as unusable as a missing one.
        if (Lang().Count() == 0)
            problem =
                Lang().LoadProblem().isEmpty() ? QStringLiteral("it holds no texts") : Lang().LoadProblem();
    } catch (const std::exception &error) {
        problem = QString::fromUtf8(error.what());
    }
    if (problem.isEmpty())
        return true;
    // No texts exist yet, so this one message is built in.
    ShowError(QStringLiteral("The language file %1 cannot be opened: %2\n\nVandor cannot start without it.")
                  .arg(QDir::toNativeSeparators(fileName), problem));
    return false;
}

bool TfrmMain::OpenDatabase() {
    m_database = std::make_unique<TkvxStreamFile>();
    if (!LocateDatabase())
        return false;
    // The tables of events and field values are made on another thread
    // while the window builds, and taken in when they are done; the user
    // then hears of every table that could not be read, in one warning.
    BindTables(m_database.get(), TvdrTableLoad::Background, [this] {
        // From the thread that made the last rows; shut-down awaits the
        // tables before the window goes, so `this` is still there.
        QMetaObject::invokeMethod(this, &TfrmMain::FinishTableLoads, Qt::QueuedConnection);
    });
    m_tablesLoading = true;
    BuildSortMenu();
    return true;
}

// A table that could not be read starts empty; the user must know which, and
// that its bytes are not lost.
void TfrmMain::WarnOfUnreadTables() {
    QStringList tables;
    for (const TvdrDamagedStream &damage : DamagedTables())
        tables.append(damage.KeptAs.isEmpty()
                          ? damage.StreamId
                          : QStringLiteral("%1 (kept as %2)").arg(damage.StreamId, damage.KeptAs));
    if (!tables.isEmpty())
        ShowWarning(
            Lang().FormatText(QStringLiteral("WM-TablesNotRead"), {tables.join(QStringLiteral("\r\n"))}));
}

void TfrmMain::FinishTableLoads() {
    if (!m_tablesLoading)
        return;
    m_tablesLoading = false;
    AwaitTables();
    WarnOfUnreadTables();
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event) {
    // Once the window is on the screen, its thread is free to help.
    if (event->type() == QEvent::Paint && m_tablesLoading && watched == m_ui->tvwMain->viewport())
        HelpLoadTables();
    return QMainWindow::eventFilter(watched, event);
}

bool TfrmMain::LocateDatabase() {
    // The user stays in this loop until a database and a log open, or until
    // he cancels the wizard.
    for (;;) {
        if (ExtFiles().NoDBPath()) {
            QString dbFolder = QDir::toNativeSeparators(DefaultDataFolder());
            QString logFolder = dbFolder;
            if (!RunLocations(dbFolder, logFolder, this))
                return false;
            ExtFiles().SetDBFolder(dbFolder);
            ExtFiles().SetLogFolder(logFolder);
        }
        const QString fileName = ExtFiles().DBFileName();
        if (!QFileInfo::exists(fileName) &&
            AnsweredNo(Lang().FormatText(QStringLiteral("QM-VandorDatNotFound"),
                                         {QDir::toNativeSeparators(fileName)}))) {
            ExtFiles().ClearDBPath();
            continue;
        }
        try {
            m_database->Open(fileName, false);
        } catch (const std::exception &error) {
            // The reason tells a locked or damaged file from a folder that
            // cannot be written.
            ShowError(Lang().FormatText(QStringLiteral("EM-FileNotOpen"), {QStringLiteral("Vandor.dat")}) +
                      QStringLiteral("\n\n") + QString::fromUtf8(error.what()));
            ExtFiles().ClearDBPath();
            continue;
        }
        try {
            Log().SetPath(ExtFiles().LogFolder());
            Log().SetEnabled(true);
        } catch (const std::exception &error) {
            ShowError(Lang().FormatText(QStringLiteral("EM-FileNotOpen"),
                                        {QDir::toNativeSeparators(ExtFiles().LogFileName())}) +
                      QStringLiteral("\n\n") + QString::fromUtf8(error.what()));
            m_database->Close();
            ExtFiles().ClearDBPath();
            continue;
        }
        return true;
    }
}

void TfrmMain::WriteBanner() {
    const QString stars(40, QLatin1Char('*'));
    QStringList lines{stars};
    try {
        lines.append(VersInfo().StringValue(QStringLiteral("ProductName")) + QLatin1Char(' ') +
                     VersInfo().StringValue(QStringLiteral("FileVersion")));
    } catch (const EvdrError &) {
        lines.append(QStringLiteral(" "));
    }
    lines.append(CmRtn().OsName() + QLatin1Char(' ') + CmRtn().GetServicePack());
    lines.append(BrowserBannerLine());
    lines.append(InetBannerLine());
    lines.append(QStringLiteral("DB path - ") + m_database->FileName());
    lines.append(QStringLiteral("Log path - ") + Log().GetFileName());
    lines.append(stars);
    for (const QString &line : lines)
        Log().Write(line);
}

void TfrmMain::closeEvent(QCloseEvent *event) {
    FormDestroy();
    event->accept();
    if (m_onClosed)
        m_onClosed();
}

void TfrmMain::FormDestroy() {
    if (m_destroyed)
        return;
    m_destroyed = true;
    // Shut-down reports nothing: the first error ends it quietly.
    try {
        Log().Write(QStringLiteral("Vandor is shutting down"));
        CloseDatabase();
    } catch (...) {
    }
    m_scratch1.reset();
    m_scratch2.reset();
    // A database left open by a failed step is still closed, so the next
    // start (or another program) can open it.
    try {
        if (m_database && m_database->IsOpen())
            m_database->Close();
    } catch (...) {
    }
    DetachTables();
}

void TfrmMain::CloseDatabase() {
    m_tablesLoading = false;
    AwaitTables();
    // The view goes first, so a car view's pending edits are in the file
    // before it is compacted.
    tvwMainChanging();
    // The layout reaches the file with the compaction: one new file, instead
    // of a journaled change and then a new file.
    const bool open = m_database && m_database->IsOpen();
    if (open)
        m_database->BeginTransaction();
    try {
        SaveLayout();
    } catch (...) {
        if (open)
            m_database->RollbackTransaction();
        FreeTreeNodes();
        throw;
    }
    // The compaction mostly waits for the disk; the tree's nodes are freed
    // meanwhile. Nothing else touches the database until it is closed.
    const auto compactAndClose = [database = m_database.get()] {
        database->CommitCompacted();
        database->Close();
    };
    std::future<void> compaction;
    try {
        if (open)
            compaction = std::async(std::launch::async, compactAndClose);
    } catch (const std::system_error &) {
        // No thread to be had: the compaction runs here, after the tree.
    }
    FreeTreeNodes();
    Log().Write(QStringLiteral("  Positions saved"));
    if (compaction.valid())
        compaction.get();
    else if (open)
        compactAndClose();
    Log().Write(QStringLiteral("  DB closed"));
}

void TfrmMain::FreeTreeNodes() {
    ClearTree();
    Log().Write(QStringLiteral("  Tree nodes freed"));
}

void TfrmMain::SaveLayout() {
    const int checked = CheckedSortItem();
    if (checked >= 0)
        Options().SetValue(QLatin1String(vdrOptionKeys::CheckedSortItem), QString::number(checked));
    SaveToolbars();
    Options().SetValue(QLatin1String(vdrOptionKeys::TreeWidth), QString::number(m_ui->tvwMain->width()));
    Options().SetValue(QLatin1String(vdrOptionKeys::MainWindow), GetPlacement(this));
    Options().SetValue(QLatin1String(vdrOptionKeys::LogPath), QString());
    ExtFiles().DeleteOldSettings();
    Options().Save();
}

void TfrmMain::SaveToolbars() {
    vdrToolbarLayout::Save(this);
}

void TfrmMain::RestoreToolbars() {
    vdrToolbarLayout::Restore(this);
}

void TfrmMain::mmiExitClick() {
    close();
}

void TfrmMain::mmiHelpHelpClick() {
    ShowHelp(vdrHelpTopics::Contents, this);
}

// --- File > Locations ------------------------------------------------------

void TfrmMain::mmiFileLocationsClick() {
    Log().Write(QStringLiteral("show locations dialog"));
    QString dbFolder = QDir::toNativeSeparators(ExtFiles().DBFolder());
    QString logFolder = QDir::toNativeSeparators(ExtFiles().LogFolder());
    if (!RunLocations(dbFolder, logFolder, this))
        return;
    Log().Write(QStringLiteral("locations dialog (finish button)"));
    if (!SameFolder(logFolder, ExtFiles().LogFolder())) {
        Log().Write(QStringLiteral("log path changed; new path is ") + logFolder);
        ExtFiles().SetLogFolder(logFolder);
    }
    if (SameFolder(dbFolder, ExtFiles().DBFolder()))
        return;
    Log().Write(QStringLiteral("DB path changed; new path is ") + dbFolder);
    const QString from = ExtFiles().DBFileName();
    try {
        Log().Write(QStringLiteral("Vandor is shutting down"));
        CloseDatabase();
    } catch (...) {
    }
    if (m_database && m_database->IsOpen())
        m_database->Close();
    UnbindTables();
    m_database.reset();
    const QString error = MoveFileNoReplace(from, QDir(dbFolder).filePath(QStringLiteral("Vandor.dat")));
    if (error.isEmpty()) {
        ExtFiles().SetDBFolder(dbFolder);
    } else {
        Log().Write(error);
        ShowError(error);
    }
    if (!OpenDatabase()) {
        // The wizard was cancelled while no database could be opened: the
        // program ends as it does at start-up.
        close();
        return;
    }
    CheckSortItem(ReadOption(vdrOptionKeys::CheckedSortItem, QStringLiteral("0")).toInt());
    BuildTree();
    FinishTableLoads();
}

// --- Reports ---------------------------------------------------------------

std::unique_ptr<TvdrReport> TfrmMain::SelectedReport(QString &logName) {
    const TvdrTreeNodeData *data = SelectedNodeData();
    if (!data)
        return nullptr;
    switch (data->Kind) {
    case nkCar:
        logName = QStringLiteral("Car");
        return CreateCarReport(data->CarNbr);
    case nkMaint: {
        auto *view = dynamic_cast<TfraMaint *>(m_view);
        if (!view)
            return nullptr;
        logName = QStringLiteral("Maintenance");
        const TfraMaint::TPrintSource source = view->PrintSource();
        static const TvdrNullFilter everything;
        return CreateMaintReport(source.CarNbr, *source.SortedList, source.RepairsDirection,
                                 source.Filter ? *source.Filter : everything);
    }
    case nkRepairs:
        logName = QStringLiteral("Repairs");
        return CreateRepairReport();
    case nkPicture:
        logName = QStringLiteral("Picture");
        return CreatePictureReport(data->CarNbr, m_database.get());
    default:
        return nullptr;
    }
}

void TfrmMain::RunReport(const QString &logLine, void (*run)(TvdrReport &, QWidget *)) {
    QString name;
    // A report that cannot be made ends the command quietly; the log says why.
    try {
        std::unique_ptr<TvdrReport> report = SelectedReport(name);
        if (!report)
            return;
        Log().Write(logLine + name);
        run(*report, this);
    } catch (const EvdrError &error) {
        Log().Write(QStringLiteral("report not run: ") + error.Message());
    }
}

void TfrmMain::mmiPrintPreviewClick() {
    RunReport(QStringLiteral("Print preview - "), vdrReportCommands::Preview);
}

void TfrmMain::mmiPrintClick() {
    RunReport(QStringLiteral("Printing - "), vdrReportCommands::Print);
}

void TfrmMain::mmiSaveReportPdfClick() {
    QString name;
    std::unique_ptr<TvdrReport> report = SelectedReport(name);
    QString written;
    if (report && vdrReportCommands::SaveAsPdf(*report, this, written))
        statusBar()->showMessage(
            Lang().FormatText(QStringLiteral("IM-ReportWritten"), {QDir::toNativeSeparators(written)}));
}

// --- Export and import -----------------------------------------------------

void TfrmMain::RunExchange(bool (*command)(QWidget *, QString &), bool import) {
    // What the open view holds unsaved goes to the tables before an import
    // adds to them; the rebuilt tree closes the view anyway.
    if (import)
        tvwMainChanging();
    QString done;
    bool ran = false;
    try {
        ran = command(this, done);
    } catch (...) {
        if (import)
            ShowViewAgain();
        throw;
    }
    if (!ran) {
        if (import)
            ShowViewAgain();
        return;
    }
    if (import)
        RebuildAfterImport();
    statusBar()->showMessage(done);
}

// An import cancelled or undone leaves the tree as it was: its node's view,
// closed for the import, comes back. The import's own error is the one the
// user must see, so a view that fails to fill stays empty without a word.
void TfrmMain::ShowViewAgain() {
    try {
        tvwMainChange(m_ui->tvwMain->currentItem());
    } catch (...) {
    }
}

void TfrmMain::mmiExportXMLClick() {
    RunExchange(vdrExchangeCommands::ExportXML, false);
}

void TfrmMain::mmiExportTSVClick() {
    RunExchange(vdrExchangeCommands::ExportTSV, false);
}

void TfrmMain::mmiImportXMLClick() {
    RunExchange(vdrExchangeCommands::ImportXML, true);
}

void TfrmMain::mmiImportTSVClick() {
    RunExchange(vdrExchangeCommands::ImportTSV, true);
}

// --- The tree --------------------------------------------------------------

void TfrmMain::SetUpTree() {
    QTreeWidget *tree = m_ui->tvwMain;
    // The selection stays visible while the tree does not have the focus.
    QPalette palette = tree->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    tree->setPalette(palette);
    tree->setIconSize(QSize(16, 16));
    // Every node has one line of text and one icon: the view need not measure
    // each of them to lay out hundreds of cars.
    tree->setUniformRowHeights(true);
    m_ui->splMain->setStretchFactor(0, 0);
    m_ui->splMain->setStretchFactor(1, 1);
    connect(tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current) {
        if (current != m_shownNode)
            RunGuarded([this, current] { SelectNode(current); });
    });
}

QTreeWidgetItem *TfrmMain::CarsNode() const {
    return m_ui->tvwMain->topLevelItem(0);
}

const TvdrTreeNodeData *TfrmMain::SelectedNodeData() const {
    return NodeData(m_ui->tvwMain->currentItem());
}

void TfrmMain::BuildTree() {
    Log().Write(QStringLiteral("Building UI tree"));
    QTreeWidget *tree = m_ui->tvwMain;
    auto *cars = new TvdrTreeItem({nkCarsRoot, 0});
    cars->setText(0, Text("TreeNodeCars"));
    // Every car has the same two child nodes, which take their captions
    // from their kind.
    TvdrTreeItem::SetKindText(nkMaint, Text("TreeNodeMaint"));
    TvdrTreeItem::SetKindText(nkPicture, Text("TreeNodePicture"));
    // Each car is decoded once, for its node's text and for the sort the
    // nodes are made in, so they need no sorting once in the view.
    QList<qint32> carNbrs;
    m_sortRecs.clear();
    for (int i = 0; i < Cars().Count(); ++i) {
        // A row without a number names no car; of two rows of one number,
        // the first is the car a look-up finds.
        TvdrCarRec rec = Cars().CarRecAt(i);
        if (rec.CarNbr >= 0) {
            carNbrs.append(rec.CarNbr);
            if (!m_sortRecs.contains(rec.CarNbr))
                m_sortRecs.insert(rec.CarNbr, std::move(rec));
        }
    }
    const int checked = CheckedSortItem();
    if (checked >= 0 && ChooseSortOrder(m_sortMenu->actions().at(checked)))
        std::stable_sort(carNbrs.begin(), carNbrs.end(), [this](qint32 a, qint32 b) {
            return CompareCars(m_sortOrder, m_sortRecs[a], m_sortRecs[b]) < 0;
        });
    {
        const QSignalBlocker quiet(tree);
        // Built before it joins the tree, the car nodes reach the view in
        // one insert instead of one each.
        for (const qint32 carNbr : std::as_const(carNbrs))
            AddCarNode(carNbr, cars, m_sortRecs[carNbr].Description());
        m_sortRecs.clear();
        tree->addTopLevelItem(cars);
        auto *repairs = new TvdrTreeItem({nkRepairs, 0});
        repairs->setText(0, Text("TreeNodeRepairs"));
        tree->addTopLevelItem(repairs);
        if (ExtFiles().ExpandCarsOnly())
            cars->setExpanded(true);
        else
            tree->expandAll();
    }
    SelectNode(cars);
}

void TfrmMain::ClearTree() {
    tvwMainChanging();
    const QSignalBlocker quiet(m_ui->tvwMain);
    m_ui->tvwMain->clear();
    m_shownNode = nullptr;
}

QTreeWidgetItem *TfrmMain::AddCarNode(qint32 carNbr, QTreeWidgetItem *parent, const QString &text) {
    auto *car = new TvdrTreeItem({nkCar, carNbr});
    car->setText(0, text);
    parent->addChild(car);
    car->addChild(new TvdrTreeItem({nkMaint, carNbr}));
    car->addChild(new TvdrTreeItem({nkPicture, carNbr}));
    return car;
}

void TfrmMain::SelectNode(QTreeWidgetItem *node) {
    {
        const QSignalBlocker quiet(m_ui->tvwMain);
        m_ui->tvwMain->setCurrentItem(node);
    }
    tvwMainChanging();
    m_shownNode = node;
    if (node)
        tvwMainChange(node);
}

void TfrmMain::tvwMainChanging() {
    if (!m_view)
        return;
    // Forgotten first, so a failing close does not leave a half-closed view
    // behind to be closed again.
    TvdrFrame *view = m_view;
    m_view = nullptr;
    const std::unique_ptr<TvdrFrame> owned(view);
    view->CloseView();
}

void TfrmMain::tvwMainChange(QTreeWidgetItem *node) {
    const TvdrTreeNodeData *data = NodeData(node);
    if (!data)
        return;
    Ui::TfrmMain &ui = *m_ui;
    for (QAction *hidden : {m_editSeparator, ui.mmiFilter, ui.mmiCancelFilter, ui.mmiDeleteUnused, ui.mmiUDF})
        hidden->setVisible(false);
    ui.mmiCancelFilter->setEnabled(false);
    for (QAction *print :
         {ui.mmiPrint, ui.mmiPrintPreview, ui.mmiSaveReportPdf, ui.tbPrint, ui.tbPrintPreview})
        print->setEnabled(true);
    setWindowTitle(Text("frmMain.Caption"));

    // The commands are set even when the view fails to fill; its error is
    // reported afterwards.
    std::exception_ptr viewError;
    try {
        CreateView(*data);
    } catch (...) {
        viewError = std::current_exception();
    }
    const auto setEdit = [&ui](const char *insertKey, bool insert, const char *deleteKey, bool remove) {
        ui.mmiInsert->setText(Text(insertKey));
        ui.mmiInsert->setEnabled(insert);
        ui.mmiDelete->setText(Text(deleteKey));
        ui.mmiDelete->setEnabled(remove);
    };
    switch (data->Kind) {
    case nkCarsRoot:
        setEdit("INS-Car", true, "DEL-Only", false);
        for (QAction *print :
             {ui.mmiPrint, ui.mmiPrintPreview, ui.mmiSaveReportPdf, ui.tbPrint, ui.tbPrintPreview})
            print->setEnabled(false);
        break;
    case nkCar:
        setEdit("INS-Only", false, "DEL-Car", true);
        m_editSeparator->setVisible(true);
        ui.mmiUDF->setVisible(true);
        AppendCarToCaption(data->CarNbr);
        break;
    case nkMaint:
        setEdit("INS-Maint", true, "DEL-Maint", true);
        m_editSeparator->setVisible(true);
        ui.mmiFilter->setVisible(true);
        ui.mmiCancelFilter->setVisible(true);
        AppendCarToCaption(data->CarNbr);
        break;
    case nkRepairs:
        setEdit("INS-Repair", true, "DEL-Repair", true);
        m_editSeparator->setVisible(true);
        ui.mmiDeleteUnused->setVisible(true);
        break;
    case nkPicture:
        ui.mmiInsert->setText(Text("INS-Picture"));
        ui.mmiDelete->setText(Text("DEL-Picture"));
        UpdatePictureCommands(data->CarNbr);
        AppendCarToCaption(data->CarNbr);
        break;
    }
    CopyEditCommandsToToolbar();
    if (viewError)
        std::rethrow_exception(viewError);
}

void TfrmMain::CreateView(const TvdrTreeNodeData &data) {
    switch (data.Kind) {
    case nkCarsRoot: {
        auto *view = new TfraAbout(m_ui->pnlClient);
        m_ui->lytClient->addWidget(view);
        m_view = view;
        view->Setup();
        break;
    }
    case nkCar: {
        auto *view = new TfraCars(m_ui->pnlClient);
        m_ui->lytClient->addWidget(view);
        m_view = view;
        view->SetOnLabelChange([this](const QString &text) { SetCarNodeText(text); });
        view->SetOnCarSaved([this] { ResortTree(); });
        view->SetOnLastCellTab([this](QWidget *) { FocusTree(); });
        view->LoadCar(data.CarNbr);
        break;
    }
    case nkMaint: {
        auto *view = new TfraMaint(m_ui->pnlClient);
        m_ui->lytClient->addWidget(view);
        m_view = view;
        view->SetSortImages(m_sortGlyphs);
        view->SetModifyEvent([this](qint32 carNbr, qint32 maintNbr) {
            return TfrmMaint::ExecuteModify(carNbr, maintNbr, m_sortGlyphs, this);
        });
        view->LoadMaint(data.CarNbr);
        break;
    }
    case nkRepairs: {
        auto *view = new TfraRepairs(m_ui->pnlClient);
        m_ui->lytClient->addWidget(view);
        m_view = view;
        view->SetSortImages(m_sortGlyphs);
        view->LoadRepairs();
        break;
    }
    case nkPicture: {
        auto *view = new TfraPicture(m_ui->pnlClient);
        m_ui->lytClient->addWidget(view);
        m_view = view;
        view->LoadPicture(data.CarNbr, m_database.get());
        break;
    }
    default:
        break;
    }
}

int TfrmMain::tvwMainCompare(const TvdrTreeItem &node1, const TvdrTreeItem &node2) {
    const auto a = m_sortRecs.constFind(node1.Data.CarNbr);
    const auto b = m_sortRecs.constFind(node2.Data.CarNbr);
    if (a != m_sortRecs.cend() && b != m_sortRecs.cend())
        return CompareCars(m_sortOrder, *a, *b);
    *m_scratch1 = Cars().CarRec(node1.Data.CarNbr);
    *m_scratch2 = Cars().CarRec(node2.Data.CarNbr);
    return CompareCars(m_sortOrder, *m_scratch1, *m_scratch2);
}

void TfrmMain::SetCarNodeText(const QString &text) {
    if (QTreeWidgetItem *node = m_ui->tvwMain->currentItem())
        node->setText(0, text);
}

void TfrmMain::ResortTree() {
    const int checked = CheckedSortItem();
    if (checked >= 0)
        m_sortMenu->actions().at(checked)->trigger();
}

void TfrmMain::FocusTree() {
    m_ui->tvwMain->setFocus();
}

void TfrmMain::AppendCarToCaption(qint32 carNbr) {
    setWindowTitle(windowTitle() + QStringLiteral(" - [ ") + Cars().CarDescription(carNbr) +
                   QStringLiteral(" ]"));
}

void TfrmMain::UpdatePictureCommands(qint32 carNbr) {
    const bool hasPicture = Cars().HasPicture(carNbr);
    m_ui->mmiInsert->setEnabled(!hasPicture);
    m_ui->mmiDelete->setEnabled(hasPicture);
}

// --- Commands --------------------------------------------------------------

void TfrmMain::ConnectCommands() {
    Ui::TfrmMain &ui = *m_ui;
    const auto bind = [this](QAction *action, void (TfrmMain::*handler)()) {
        connect(action, &QAction::triggered, this,
                [this, handler] { RunGuarded([this, handler] { (this->*handler)(); }); });
    };
    bind(ui.mmiInsert, &TfrmMain::mmiInsertClick);
    bind(ui.tbInsert, &TfrmMain::mmiInsertClick);
    bind(ui.mmiDelete, &TfrmMain::mmiDeleteClick);
    bind(ui.tbDelete, &TfrmMain::mmiDeleteClick);
    bind(ui.mmiFilter, &TfrmMain::mmiFilterClick);
    bind(ui.tbFilter, &TfrmMain::mmiFilterClick);
    bind(ui.mmiCancelFilter, &TfrmMain::mmiCancelFilterClick);
    bind(ui.tbCancelFilter, &TfrmMain::mmiCancelFilterClick);
    bind(ui.mmiDeleteUnused, &TfrmMain::mmiDeleteUnusedClick);
    bind(ui.mmiUDF, &TfrmMain::mmiUDFClick);
    bind(ui.mmiFileLocations, &TfrmMain::mmiFileLocationsClick);
    bind(ui.mmiPrintPreview, &TfrmMain::mmiPrintPreviewClick);
    bind(ui.tbPrintPreview, &TfrmMain::mmiPrintPreviewClick);
    bind(ui.mmiPrint, &TfrmMain::mmiPrintClick);
    bind(ui.tbPrint, &TfrmMain::mmiPrintClick);
    bind(ui.mmiSaveReportPdf, &TfrmMain::mmiSaveReportPdfClick);
    bind(ui.mmiExportXML, &TfrmMain::mmiExportXMLClick);
    bind(ui.mmiExportTSV, &TfrmMain::mmiExportTSVClick);
    bind(ui.mmiImportXML, &TfrmMain::mmiImportXMLClick);
    bind(ui.mmiImportTSV, &TfrmMain::mmiImportTSVClick);
    bind(ui.mmiExit, &TfrmMain::mmiExitClick);
    bind(ui.mmiHelpHelp, &TfrmMain::mmiHelpHelpClick);
    bind(ui.tbHelp, &TfrmMain::mmiHelpHelpClick);
    bind(ui.tbSortTree, &TfrmMain::tbSortTreeClick);
    connect(ui.mmiPrintPreview, &QAction::changed, ui.tbPrintPreview,
            [&ui] { ui.tbPrintPreview->setEnabled(ui.mmiPrintPreview->isEnabled()); });
    for (QAction *edit : {ui.mmiInsert, ui.mmiDelete, ui.mmiFilter, ui.mmiCancelFilter})
        connect(edit, &QAction::changed, this, &TfrmMain::CopyEditCommandsToToolbar);
    // The shortcuts work while the menu bar's toolbar floats in a window of
    // its own.
    addActions({ui.mmiInsert, ui.mmiDelete, ui.mmiFilter, ui.mmiCancelFilter, ui.mmiExit, ui.mmiHelpHelp,
                ui.tbSortTree});
}

void TfrmMain::CopyEditCommandsToToolbar() {
    Ui::TfrmMain &ui = *m_ui;
    ui.tbInsert->setToolTip(Plain(ui.mmiInsert->text()));
    ui.tbInsert->setEnabled(ui.mmiInsert->isEnabled());
    ui.tbDelete->setToolTip(Plain(ui.mmiDelete->text()));
    ui.tbDelete->setEnabled(ui.mmiDelete->isEnabled());
    ui.tbFilter->setEnabled(ui.mmiFilter->isVisible());
    ui.tbCancelFilter->setEnabled(ui.mmiCancelFilter->isEnabled());
}

void TfrmMain::mmiInsertClick() {
    const TvdrTreeNodeData *data = SelectedNodeData();
    if (!data)
        return;
    switch (data->Kind) {
    case nkCarsRoot:
        InsertCar();
        break;
    case nkMaint:
        InsertMaint(data->CarNbr);
        break;
    case nkRepairs:
        InsertRepair();
        break;
    case nkPicture:
        InsertPicture();
        break;
    default:
        break;
    }
}

void TfrmMain::mmiDeleteClick() {
    QTreeWidgetItem *node = m_ui->tvwMain->currentItem();
    const TvdrTreeNodeData *data = NodeData(node);
    if (!data)
        return;
    switch (data->Kind) {
    case nkCar:
        DeleteCar(node);
        break;
    case nkMaint:
        if (auto *view = dynamic_cast<TfraMaint *>(m_view))
            view->DeleteSelectedMaint(data->CarNbr);
        break;
    case nkRepairs:
        if (auto *view = dynamic_cast<TfraRepairs *>(m_view))
            view->DeleteSelectedRepair();
        break;
    case nkPicture:
        ClearPicture();
        break;
    default:
        break;
    }
}

void TfrmMain::InsertCar() {
    const qint32 carNbr = Cars().NewCar();
    QTreeWidgetItem *car = AddCarNode(carNbr, CarsNode(), Text("TreeNodeNewCar"));
    car->setExpanded(true);
    SelectNode(car);
    // On to the first input of the car view, as Tab from the tree would go.
    if (m_view) {
        m_view->setFocus();
        for (QWidget *child : m_view->findChildren<QWidget *>()) {
            if (child->isEnabled() && (child->focusPolicy() & Qt::TabFocus)) {
                QWidget::setTabOrder(m_ui->tvwMain, child);
                child->setFocus(Qt::TabFocusReason); // as Tab would: the text selected
                break;
            }
        }
    }
}

void TfrmMain::InsertMaint(qint32 carNbr) {
    qint32 maintNbr = -1;
    if (!TfrmMaint::ExecuteAdd(carNbr, maintNbr, m_sortGlyphs, this))
        return;
    if (auto *view = dynamic_cast<TfraMaint *>(m_view))
        view->ShowAddedMaint(carNbr, maintNbr);
}

void TfrmMain::InsertRepair() {
    qint32 repairNbr = -1;
    if (!TfrmRepairs::ExecuteAdd(repairNbr, this))
        return;
    if (auto *view = dynamic_cast<TfraRepairs *>(m_view))
        view->ShowAddedRepair(repairNbr);
}

void TfrmMain::InsertPicture() {
    const TvdrTreeNodeData *data = SelectedNodeData();
    const QString fileName =
        OpenFile(Plain(m_ui->mmiInsert->text()).remove(QStringLiteral("...")), Text("PictureFilter"));
    if (fileName.isEmpty())
        return;
    InsertCarPicture(data->CarNbr, fileName);
    if (auto *view = dynamic_cast<TfraPicture *>(m_view))
        view->LoadPicture(data->CarNbr, m_database.get());
    UpdatePictureCommands(data->CarNbr);
}

void TfrmMain::DeleteCar(QTreeWidgetItem *node) {
    const TvdrTreeNodeData *data = NodeData(node);
    if (!data)
        return;
    const qint32 carNbr = data->CarNbr;
    const TvdrCarRec car = Cars().CarRec(carNbr);
    if (AnsweredNo(Lang().FormatText(QStringLiteral("QM-DeleteCar"), {car.Year, car.Make, car.Model})))
        return;
    // The open view of this car must not write it back once it is gone.
    if (m_view) {
        m_view->DiscardView();
        tvwMainChanging();
    }
    RemoveCarAndHistory(carNbr);
    {
        const QSignalBlocker quiet(m_ui->tvwMain);
        m_shownNode = nullptr;
        delete node;
    }
    SelectNode(CarsNode());
}

void TfrmMain::ClearPicture() {
    const TvdrTreeNodeData *data = SelectedNodeData();
    if (AnsweredNo(
            Lang().FormatText(QStringLiteral("QM-ClearPicture"), {Cars().CarDescription(data->CarNbr)})))
        return;
    ClearCarPicture(data->CarNbr);
    if (auto *view = dynamic_cast<TfraPicture *>(m_view))
        view->LoadPicture(data->CarNbr, m_database.get());
    UpdatePictureCommands(data->CarNbr);
}

void TfrmMain::mmiFilterClick() {
    Log().Write(QStringLiteral("Show filter dialog"));
    auto *view = dynamic_cast<TfraMaint *>(m_view);
    if (!view || !view->ExecuteFilter())
        return;
    Log().Write(QStringLiteral("Filter applied"));
    m_ui->mmiCancelFilter->setEnabled(true);
}

void TfrmMain::mmiCancelFilterClick() {
    Log().Write(QStringLiteral("Filter canceled"));
    if (auto *view = dynamic_cast<TfraMaint *>(m_view))
        view->CancelFilter();
    m_ui->mmiCancelFilter->setEnabled(false);
}

void TfrmMain::mmiDeleteUnusedClick() {
    if (auto *view = dynamic_cast<TfraRepairs *>(m_view))
        view->DeleteUnusedRepairs();
}

void TfrmMain::mmiUDFClick() {
    Log().Write(QStringLiteral("Show UDF dialog"));
    if (!ExecuteUDF(this))
        return;
    Log().Write(QStringLiteral("UDF applied"));
    if (auto *view = dynamic_cast<TfraCars *>(m_view))
        view->RefreshUDFGrid();
}

// --- The sort drop-down ----------------------------------------------------

void TfrmMain::SetUpToolbars() {
    Ui::TfrmMain &ui = *m_ui;
    // The menu bar lives in a toolbar of its own, which can dock and float
    // like the button bar. Taken from the window's layout without deleting
    // it, which the window's own setters would do.
    layout()->setMenuBar(nullptr);
    ui.mnuMain->setNativeMenuBar(false);
    ui.tbtMenu->addWidget(ui.mnuMain);
    ui.tbtMenu->toggleViewAction()->setVisible(false);
    m_editSeparator = new QAction(this);
    m_editSeparator->setObjectName(QStringLiteral("mmiEditSep01"));
    m_editSeparator->setSeparator(true);
    ui.mmiEdit->insertAction(ui.mmiFilter, m_editSeparator);

    m_sortMenu = new QMenu(this);
    m_sortGroup = new QActionGroup(this);
    m_sortGroup->setExclusive(true);
    ui.tbSortTree->setMenu(m_sortMenu);
    // The toolbar takes no keyboard focus: the sort button gets keys of its
    // own, Ctrl+T for its button part and Ctrl+Shift+T for its menu.
    ui.tbSortTree->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    auto *openSortMenu = new QAction(this);
    openSortMenu->setObjectName(QStringLiteral("actSortMenu"));
    openSortMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
    addAction(openSortMenu);
    connect(openSortMenu, &QAction::triggered, this, [this] {
        QWidget *button = m_ui->tbtButtons->widgetForAction(m_ui->tbSortTree);
        m_sortMenu->popup(button && button->isVisible() ? button->mapToGlobal(QPoint(0, button->height()))
                                                        : mapToGlobal(QPoint(0, 0)));
    });
    if (auto *button = qobject_cast<QToolButton *>(ui.tbtButtons->widgetForAction(ui.tbSortTree)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
}

void TfrmMain::BuildSortMenu() {
    for (QAction *item : m_sortMenu->actions()) {
        m_sortMenu->removeAction(item);
        delete item;
    }
    const std::unique_ptr<TvdrSortOrderList> list = SortOrder().SortOrderList();
    for (int i = 0; i < list->Count(); ++i) {
        const QString name = list->Items(i)->SortOrderName;
        QAction *item = m_sortMenu->addAction(QString(name).replace(QLatin1Char('&'), QLatin1String("&&")));
        item->setData(name);
        item->setCheckable(true);
        m_sortGroup->addAction(item);
        connect(item, &QAction::triggered, this,
                [this, item] { RunGuarded([this, item] { ApplySortOrder(item); }); });
    }
    m_sortMenu->addSeparator();
    QAction *editor = m_sortMenu->addAction(Text("frmMain.tbSortTree.EditorCaption"));
    connect(editor, &QAction::triggered, this, [this] { RunGuarded([this] { EditSortOrders(); }); });
}

int TfrmMain::CheckedSortItem() const {
    const QList<QAction *> items = m_sortMenu->actions();
    for (int i = 0; i < items.size(); ++i)
        if (items[i]->actionGroup() == m_sortGroup && items[i]->isChecked())
            return i;
    return -1;
}

void TfrmMain::CheckSortItem(int index) {
    const QList<QAction *> items = m_sortMenu->actions();
    const int sortOrders = int(items.size()) - 2;
    if (sortOrders <= 0)
        return;
    // A stored index past the last sort order, or below the first, checks
    // the first.
    if (index < 0 || index > sortOrders - 1)
        index = 0;
    items[index]->setChecked(true);
}

// The status bar shows the hover text as well: both name the sort order.
void TfrmMain::ShowSortOrderHint() {
    const QString hint =
        Lang().FormatText(QStringLiteral("frmMain.tbSortTree.Hint"), {m_sortOrder.SortOrderName});
    m_ui->tbSortTree->setToolTip(hint);
    m_ui->tbSortTree->setStatusTip(hint);
}

bool TfrmMain::ChooseSortOrder(QAction *item) {
    const TvdrSortOrderRec *found = SortOrder().FindSortOrder(item->data().toString());
    if (!found)
        return false;
    m_sortOrder = found->Clone();
    item->setChecked(true);
    ShowSortOrderHint();
    return true;
}

void TfrmMain::ApplySortOrder(QAction *item) {
    if (!ChooseSortOrder(item))
        return;
    QTreeWidgetItem *cars = CarsNode();
    // Filled anew for each sort, so records of an earlier one never count.
    m_sortRecs.clear();
    for (int i = 0; cars && i < cars->childCount(); ++i)
        if (const TvdrTreeNodeData *data = NodeData(cars->child(i)))
            m_sortRecs.insert(data->CarNbr, Cars().CarRec(data->CarNbr));
    TvdrTreeItem::SortChildren(
        cars, [this](const TvdrTreeItem &a, const TvdrTreeItem &b) { return tvwMainCompare(a, b); });
    m_sortRecs.clear();
}

void TfrmMain::tbSortTreeClick() {
    const QList<QAction *> items = m_sortMenu->actions();
    if (items.size() < 3)
        return;
    const int checked = CheckedSortItem();
    if (checked < 0 || checked > items.size() - 3)
        return;
    items[checked == items.size() - 3 ? 0 : checked + 1]->trigger();
}

void TfrmMain::EditSortOrders() {
    const int checked = CheckedSortItem();
    const QString remembered =
        checked >= 0 ? m_sortMenu->actions().at(checked)->data().toString() : QString();
    if (!m_sortTreeEditor || !m_sortTreeEditor())
        return;
    BuildSortMenu();
    const QList<QAction *> items = m_sortMenu->actions();
    QAction *found = nullptr;
    for (QAction *item : items) {
        const QString name = item->data().toString();
        if (!name.isEmpty() && name.compare(remembered, Qt::CaseInsensitive) == 0) {
            found = item;
            break;
        }
    }
    if (!found && items.size() > 2)
        found = items.first();
    if (found)
        found->trigger();
}

void TfrmMain::RebuildAfterImport() {
    ClearTree();
    BuildTree();
    BuildSortMenu();
    CheckSortItem(ReadOption(vdrOptionKeys::CheckedSortItem, QStringLiteral("0")).toInt());
}

void TfrmMain::CreateSortGlyphs() {
    m_sortGlyphs.clear();
    const QColor face = palette().color(QPalette::Button);
    const QColor text = palette().color(QPalette::WindowText);
    for (const auto &[a, b] : {std::pair<int, int>{9, 3}, std::pair<int, int>{3, 9}}) {
        QPixmap glyph(12, 12);
        glyph.fill(face);
        QPainter painter(&glyph);
        painter.setPen(text);
        painter.setBrush(text);
        painter.drawPolygon(QPolygon({QPoint(3, a), QPoint(6, b), QPoint(9, a)}));
        painter.end();
        m_sortGlyphs.append(QIcon(glyph));
    }
}
