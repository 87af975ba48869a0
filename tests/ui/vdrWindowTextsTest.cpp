// Every designed text of every window comes from the language file: a form
// with a caption, hint, memo text, list entries or column header that has no
// key fails here.
#include "fmDBSetup.h"
#include "fmMain.h"
#include "frAbout.h"
#include "frCars.h"
#include "frPicture.h"
#include "kvxLangApply.h"
#include "vdrHelpTopic.h"
#include "vdrHelpWindow.h"
#include "vdrScriptedPrompts.h"
#include "vdrTestDatabase.h"

#include <gtest/gtest.h>

TEST(WindowTexts, EveryFormAndViewHasATextForEachDesignedCaption) {
    LoadBuiltLanguage();
    TfrmMain main;
    TfrmDBSetup setup{QString(), QString()};
    TfraPicture picture;
    TfraAbout about;
    TfraCars cars;
    TvdrPromptsScript prompts;
    ShowHelp(vdrHelpTopics::Contents, nullptr);
    ASSERT_NE(TvdrHelpWindow::Instance(), nullptr)
        << prompts->Transcript().join(QLatin1Char('\n')).toStdString();
    const QList<QWidget *> forms{&main, &setup, &picture, &about, &cars, TvdrHelpWindow::Instance()};
    for (QWidget *form : forms)
        EXPECT_EQ(MissingWindowTexts(form), QStringList()) << form->objectName().toStdString();
}
