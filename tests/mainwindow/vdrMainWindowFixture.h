#pragma once

#include "fmMain.h"
#include "vdrScriptedPrompts.h"
#include "vdrTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class TfraCars;
class TvdrCarRec;

// A program folder of its own (with the built language file and, when a
// test asks for one, an .ini naming a database folder), scripted prompts and
// dialogs, and the main window under test.
class TvdrMainWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString ProgramDir() const { return m_program.Path(); }
    QString DataDir() const { return m_data.Path(); }
    QString DatabaseFile() const { return m_data.File(QStringLiteral("Vandor.dat")); }

    // Points the .ini at DataDir() for both the database and the log.
    void WriteIni();
    // Creates DataDir()/Vandor.dat and runs `fill` with every table bound
    // to it, then saves nothing more and closes it.
    void MakeDatabase(const std::function<void()> &fill);
    // A car row as the car view would write it; returns its number.
    static qint32 AddCar(int year, const QString &make, const QString &model);

    // Creates the window and runs its start-up; fails the test when start-up
    // ends the program.
    TfrmMain &Start();
    // Runs shut-down and destroys the window.
    void Stop();

    QStringList LogLines() const;
    // Starts with one car, 2004 Ford Taurus, and shows its car view.
    TfraCars &StartInTheCarView();
    QTreeWidgetItem *Node(const QString &label) const;

    TvdrPromptsScript m_prompts;
    std::unique_ptr<TfrmMain> m_window;

private:
    TvdrTempFolder m_program;
    TvdrTempFolder m_data;
};
