#include "vdrMainWindowFixture.h"

#include "frCars.h"
#include "kvxLang.h"
#include "kvxStreamFile.h"
#include "ui_fmMain.h"
#include "vdrCarRec.h"
#include "vdrCars.h"
#include "vdrDatabaseTables.h"
#include "vdrExtFiles.h"
#include "vdrFormatSettings.h"
#include "vdrLog.h"
#include "vdrModal.h"
#include "vdrProgramFolder.h"
#include "vdrTestDatabase.h"

#include <QFile>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

void TvdrMainWindowTest::SetUp() {
    SetProgramFolder(m_program.Path());
    SetUserConfigFolder(m_program.File(QStringLiteral("config")));
    SetUserDataFolder(m_program.File(QStringLiteral("data")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VANDOR_BIN_DIR "/vdrLang.dat"),
                            m_program.File(QStringLiteral("vdrLang.dat"))));
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale());
    ClearDialogScripts();
}

void TvdrMainWindowTest::TearDown() {
    Stop();
    EXPECT_EQ(PendingDialogScripts(), 0) << "a planned dialog never showed";
    ClearDialogScripts();
    Log().SetEnabled(false);
    SetProgramFolder(QString());
    SetUserConfigFolder(QString());
    SetUserDataFolder(QString());
}

void TvdrMainWindowTest::WriteIni() {
    ExtFiles().SetDBFolder(DataDir());
    ExtFiles().SetLogFolder(DataDir());
}

void TvdrMainWindowTest::MakeDatabase(const std::function<void()> &fill) {
    TkvxStreamFile db;
    db.Open(DatabaseFile(), false);
    BindTables(&db);
    fill();
    UnbindTables();
    db.Close();
}

qint32 TvdrMainWindowTest::AddCar(int year, const QString &make, const QString &model) {
    return StoreCar(year, make, model);
}

TfrmMain &TvdrMainWindowTest::Start() {
    m_window = std::make_unique<TfrmMain>();
    const bool started = m_window->FormCreate();
    EXPECT_TRUE(started) << m_prompts->Transcript().join(QLatin1Char('\n')).toStdString();
    return *m_window;
}

void TvdrMainWindowTest::Stop() {
    if (!m_window)
        return;
    m_window->FormDestroy();
    m_window.reset();
}

QStringList TvdrMainWindowTest::LogLines() const {
    return LogMessages();
}

TfraCars &TvdrMainWindowTest::StartInTheCarView() {
    WriteIni();
    MakeDatabase([] { AddCar(2004, QStringLiteral("Ford"), QStringLiteral("Taurus")); });
    TfrmMain &window = Start();
    window.SelectNode(Node(QStringLiteral("2004 Ford Taurus")));
    auto *view = dynamic_cast<TfraCars *>(window.CurrentView());
    if (!view)
        throw std::runtime_error("no car view");
    return *view;
}

QTreeWidgetItem *TvdrMainWindowTest::Node(const QString &label) const {
    for (QTreeWidgetItemIterator it(m_window->Form().tvwMain); *it; ++it)
        if ((*it)->text(0) == label)
            return *it;
    return nullptr;
}
