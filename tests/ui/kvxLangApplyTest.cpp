#include "kvxLangApply.h"
#include "kvxLang.h"
#include "vdrTestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

// Replaces the language table by `rows` ("key=number TAB base TAB local").
void SetLanguage(const QStringList &rows) {
    QStringList lines;
    for (const QString &row : rows)
        lines.append(row);
    Lang().SetText(lines.join(QStringLiteral("\r\n")));
}

template <class T> T *Add(QWidget *parent, const char *name) {
    auto *widget = new T(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

class LangApply : public testing::Test {
protected:
    void TearDown() override { Lang().Clear(); }
};

TEST_F(LangApply, FormScopedKeysSharedButtonsAndMissingKeys) {
    SetLanguage({QStringLiteral("btnCancel.Caption=0\tCancel"),
                 QStringLiteral("frmTest.Caption=0\tTest window"),
                 QStringLiteral("frmTest.btnNext.Caption=0\tNext"),
                 QStringLiteral("frmTest.lblName.Caption=0\tName\tNom"),
                 QStringLiteral("frmTest.lblName.Hint=0\t\tLocal hint")});
    QDialog form;
    form.setObjectName(QStringLiteral("frmTest"));
    auto *cancel = Add<QPushButton>(&form, "BTNCANCEL");
    auto *next = Add<QPushButton>(&form, "btnNext");
    auto *name = Add<QLabel>(&form, "lblName");
    auto *designed = Add<QLabel>(&form, "lblDesigned");
    designed->setText(QStringLiteral("as designed"));
    auto *unnamed = new QLabel(QStringLiteral("no name"), &form);

    ApplyToForm(&form);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Test window"));
    EXPECT_EQ(cancel->text(), QStringLiteral("Cancel")) << "btnCancel shares one text, in any letter case";
    EXPECT_EQ(next->text(), QStringLiteral("Next"));
    EXPECT_EQ(name->text(), QStringLiteral("Nom")) << "the local text wins";
    EXPECT_EQ(name->toolTip(), QStringLiteral("Local hint")) << "an empty base field is skipped";
    EXPECT_EQ(designed->text(), QStringLiteral("as designed")) << "a missing key keeps the designed text";
    EXPECT_EQ(unnamed->text(), QStringLiteral("no name"));
    EXPECT_EQ(Lang().Scope(), QStringLiteral("frmTest"));
    EXPECT_EQ(MissingWindowTexts(&form), QStringList({"frmTest.lblDesigned.Caption"}));
}

TEST_F(LangApply, LinesItemsColumnsMenusAndActions) {
    SetLanguage({QStringLiteral("frmTest.mmoDesc.Lines.Strings=0\tfirst\\nsecond"),
                 QStringLiteral("frmTest.cboKind.Items.Strings=0\tOne\\nTwo\\nThree"),
                 QStringLiteral("frmTest.lvwList.Columns.Items=0\tDate\\nCost"),
                 QStringLiteral("frmTest.mmiFile.Caption=0\t&File"),
                 QStringLiteral("frmTest.mmiExit.Caption=0\tE&xit"),
                 QStringLiteral("frmTest.tbHelp.Hint=0\tHelp")});
    QDialog form;
    form.setObjectName(QStringLiteral("frmTest"));
    auto *memo = Add<QPlainTextEdit>(&form, "mmoDesc");
    auto *combo = Add<QComboBox>(&form, "cboKind");
    combo->addItems({QStringLiteral("a"), QStringLiteral("b")});
    combo->setCurrentIndex(1);
    auto *list = Add<QTreeWidget>(&form, "lvwList");
    list->setHeaderLabels({QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("Mileage")});
    auto *menu = Add<QMenu>(&form, "mmiFile");
    auto *exit = menu->addAction(QStringLiteral("Exit"));
    exit->setObjectName(QStringLiteral("mmiExit"));
    auto *help = new QAction(QStringLiteral("Help"), &form);
    help->setObjectName(QStringLiteral("tbHelp"));

    ApplyToForm(&form);
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("first\nsecond"))
        << "an escaped line break makes two lines";
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(2), QStringLiteral("Three"));
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(list->headerItem()->text(0), QStringLiteral("Date"));
    EXPECT_EQ(list->headerItem()->text(1), QStringLiteral("Cost"));
    EXPECT_EQ(list->headerItem()->text(2), QStringLiteral("Mileage"))
        << "columns past the lines keep their captions";
    EXPECT_EQ(menu->title(), QStringLiteral("&File"));
    EXPECT_EQ(exit->text(), QStringLiteral("E&xit"));
    EXPECT_EQ(help->toolTip(), QStringLiteral("Help"));
    EXPECT_EQ(help->statusTip(), QStringLiteral("Help"));
}

TEST_F(LangApply, AFrameInsideAFormKeepsTheFormsScopeUnlessItAppliesItself) {
    SetLanguage({QStringLiteral("frmTest.lblInner.Caption=0\tthrough the form"),
                 QStringLiteral("fraInner.lblInner.Caption=0\tthrough the frame")});
    QDialog form;
    form.setObjectName(QStringLiteral("frmTest"));
    auto *frame = Add<QWidget>(&form, "fraInner");
    auto *label = Add<QLabel>(frame, "lblInner");
    ApplyToForm(&form);
    EXPECT_EQ(label->text(), QStringLiteral("through the form"));
    ApplyToFrame(frame);
    EXPECT_EQ(label->text(), QStringLiteral("through the frame"));
}
