// Every designed text of every window comes from the language file: a form
// with a caption, hint, memo text, list entries or column header that has no
// key fails here.
#include "fmDBSetup.h"
#include "fmMain.h"
#include "frPicture.h"
#include "kvxLangApply.h"
#include "vdrTestDatabase.h"

#include <gtest/gtest.h>

TEST(WindowTexts, EveryFormAndViewHasATextForEachDesignedCaption) {
    LoadBuiltLanguage();
    TfrmMain main;
    TfrmDBSetup setup{QString(), QString()};
    TfraPicture picture;
    const QList<QWidget *> forms{&main, &setup, &picture};
    for (QWidget *form : forms)
        EXPECT_EQ(MissingWindowTexts(form), QStringList()) << form->objectName().toStdString();
}
