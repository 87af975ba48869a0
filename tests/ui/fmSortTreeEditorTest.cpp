#include "fmSortTreeEditor.h"
#include "fmSortOrderFieldSelector.h"

#include "kvxControlGrid.h"
#include "kvxLangApply.h"
#include "ui_fmSortOrderFieldSelector.h"
#include "ui_fmSortTreeEditor.h"
#include "vdrHelpTopic.h"
#include "vdrModal.h"
#include "vdrOptions.h"
#include "vdrOrderedList.h"
#include "vdrScriptedPrompts.h"
#include "vdrSortOrder.h"
#include "vdrSortOrderList.h"
#include "vdrTestDatabase.h"
#include "vdrUDF.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class SortTreeEditor : public testing::Test {
protected:
    void TearDown() override {
        EXPECT_EQ(PendingDialogScripts(), 0);
        ClearDialogScripts();
    }

    static void Store(const QStringList &rows) {
        for (const QString &row : rows) {
            TvdrSortOrderRec rec;
            rec.Decode(row);
            SortOrder().AddSortOrder(rec);
        }
        SortOrder().Save();
    }
    // The sort orders as the next start lists them.
    QStringList Stored() {
        m_db.Reopen();
        QStringList rows;
        const std::unique_ptr<TvdrSortOrderList> list = SortOrder().SortOrderList();
        for (int i = 0; i < list->Count(); ++i)
            rows.append(list->Items(i)->Encode());
        return rows;
    }

    static QStringList Names(const TfrmSortTreeEditor &editor) {
        QStringList names;
        for (int i = 0; i < editor.Form().lbxItems->count(); ++i)
            names.append(editor.Form().lbxItems->item(i)->text());
        return names;
    }
    static int Selected(const TfrmSortTreeEditor &editor) {
        return vdrOrderedList::SelectedRow(editor.Form().lbxItems);
    }
    static void Select(TfrmSortTreeEditor &editor, int row) {
        vdrOrderedList::SelectRow(editor.Form().lbxItems, row);
    }

    // Each row of the field editor as "field text / direction text".
    static QStringList Rows(const TfrmSortOrderFieldEditor &fields) {
        QStringList rows;
        for (int i = 0; i < fields.Grid().RowCount(); ++i)
            rows.append(fields.Grid().Row(i)->FieldCombo()->currentText() + QStringLiteral(" / ") +
                        fields.Grid().Row(i)->DirectionCombo()->currentText());
        return rows;
    }
    static void Choose(const TfrmSortOrderFieldEditor &fields, int row, int field, int direction) {
        fields.Grid().Row(row)->FieldCombo()->setCurrentIndex(field);
        fields.Grid().Row(row)->DirectionCombo()->setCurrentIndex(direction);
    }

    TvdrTestDatabase m_db;
    TvdrPromptsScript m_prompts;
};

TfrmSortTreeEditor &EditorOf(QDialog &shown) {
    return static_cast<TfrmSortTreeEditor &>(shown);
}

TfrmSortOrderFieldEditor &FieldsOf(QDialog &shown) {
    return static_cast<TfrmSortOrderFieldEditor &>(shown);
}

} // namespace

TEST_F(SortTreeEditor, AnEmptyTableShowsTheDefaultSortOrderWithNothingSelected) {
    QueueDialogScript([](QDialog &shown) {
        TfrmSortTreeEditor &editor = EditorOf(shown);
        EXPECT_EQ(Names(editor), QStringList({"Ascending"}));
        EXPECT_EQ(editor.RecordAt(0)->Encode(), QStringLiteral("Ascending=0\t0|0|0\t1|0|0\t2|0|0"));
        EXPECT_EQ(Selected(editor), -1);
        editor.btnCancelClick();
    });
    EXPECT_FALSE(ExecuteSortTreeEditor());
}

TEST_F(SortTreeEditor, OKNumbersTheSortOrdersInListOrder) {
    Store({QStringLiteral("A=0\t0|0|0"), QStringLiteral("B=1\t1|0|1"), QStringLiteral("C=2")});
    QueueDialogScript([](QDialog &shown) {
        TfrmSortTreeEditor &editor = EditorOf(shown);
        Select(editor, 2);
        editor.spbUpClick();
        editor.spbUpClick();
        editor.spbUpClick();
        EXPECT_EQ(Names(editor), QStringList({"C", "A", "B"}));
        EXPECT_EQ(Selected(editor), 0);
        Select(editor, 2);
        editor.spbDownClick();
        EXPECT_EQ(Selected(editor), 2);
        editor.btnOKClick();
    });
    ASSERT_TRUE(ExecuteSortTreeEditor());
    EXPECT_EQ(Stored(), QStringList({"C=0", "A=1\t0|0|0", "B=2\t1|0|1"}));
}

TEST_F(SortTreeEditor, DeletingEverySortOrderLeavesAnEmptyTableUntilTheDefaultComesBack) {
    Store({QStringLiteral("By make=0\t1|0|0"), QStringLiteral("Newest=1\t0|0|1")});
    m_prompts->YesNo = {false, true, true};
    QueueDialogScript([](QDialog &shown) {
        TfrmSortTreeEditor &editor = EditorOf(shown);
        editor.spbDeleteClick(); // nothing selected: not asked
        Select(editor, 1);
        editor.spbDeleteClick(); // No
        EXPECT_EQ(Names(editor), QStringList({"By make", "Newest"}));
        editor.spbDeleteClick();
        EXPECT_EQ(Selected(editor), 0) << "the first entry left is selected";
        editor.spbDeleteClick();
        EXPECT_EQ(editor.Form().lbxItems->count(), 0);
        editor.btnOKClick();
    });
    ASSERT_TRUE(ExecuteSortTreeEditor());
    EXPECT_EQ(m_prompts->Transcript(), QStringList({"question: Delete the sort order \"Newest\"?",
                                                    "question: Delete the sort order \"Newest\"?",
                                                    "question: Delete the sort order \"By make\"?"}));
    m_db.Reopen();
    EXPECT_EQ(SortOrder().Count(), 0);
    EXPECT_EQ(Stored(), QStringList({"Ascending=0\t0|0|0\t1|0|0\t2|0|0"}));
}

TEST_F(SortTreeEditor, AddingASortOrderThroughTheFieldEditor) {
    UDF().AddUdf(0, QStringLiteral("Plate"));
    UDF().AddUdf(1, QStringLiteral("Colour"));
    Store({QStringLiteral("By make=0\t1|0|0")});
    QueueDialogScript([](QDialog &shown) {
        TfrmSortTreeEditor &editor = EditorOf(shown);
        QueueDialogScript([](QDialog &shownFields) {
            TfrmSortOrderFieldEditor &fields = FieldsOf(shownFields);
            EXPECT_TRUE(fields.AddMode());
            EXPECT_EQ(fields.windowTitle(), QStringLiteral("Add a sort order"));
            EXPECT_EQ(fields.Form().edtName->text(), QString());
            EXPECT_EQ(Rows(fields), QStringList({"Year / Ascending"}));
            QComboBox *field = fields.Grid().Row(0)->FieldCombo();
            QStringList offered;
            for (int i = 0; i < field->count(); ++i)
                offered.append(field->itemText(i));
            EXPECT_EQ(offered, QStringList({"Year", "Make", "Model", "Plate", "Colour"}));

            QTest::keyClicks(fields.Form().edtName, QStringLiteral("Newest first"));
            Choose(fields, 0, 0, 1);
            fields.spbAddClick();
            Choose(fields, 1, 4, 0);
            fields.btnOKClick();
        });
        editor.spbAddClick();
        EXPECT_EQ(Names(editor), QStringList({"By make", "Newest first"}));
        EXPECT_EQ(Selected(editor), 1);
        editor.btnOKClick();
    });
    ASSERT_TRUE(ExecuteSortTreeEditor());
    EXPECT_EQ(Stored(), QStringList({"By make=0\t1|0|0", "Newest first=1\t0|0|1\t1|1|0"}));
}

TEST_F(SortTreeEditor, TheFieldEditorShowsEachStoredFieldAndWritesItBackUnchanged) {
    // Two fields share a name: the row shows the one the sort order names.
    UDF().AddUdf(0, QStringLiteral("Plate"));
    UDF().AddUdf(1, QStringLiteral("plate"));
    UDF().AddUdf(2, QStringLiteral("Colour"));
    TvdrSortOrderRec rec;
    rec.Decode(QStringLiteral("Mixed=3\t1|0|0\t1|1|1\t2|1|0\t0|0|1\t7|0|0"));
    const QString stored = rec.Encode();
    QueueDialogScript([](QDialog &shown) {
        TfrmSortOrderFieldEditor &fields = FieldsOf(shown);
        EXPECT_FALSE(fields.AddMode());
        EXPECT_EQ(fields.windowTitle(), QStringLiteral("Change a sort order"));
        EXPECT_EQ(fields.Form().edtName->text(), QStringLiteral("Mixed"));
        EXPECT_EQ(Rows(fields), QStringList({"Make / Ascending", "plate / Descending", "Colour / Ascending",
                                             "Year / Descending", "Model / Ascending"}));
        EXPECT_EQ(fields.Grid().Row(1)->FieldCombo()->currentIndex(), 4);
        fields.btnOKClick();
    });
    ASSERT_TRUE(TfrmSortOrderFieldEditor::ExecuteModify(rec));
    EXPECT_EQ(rec.Encode(), stored.left(stored.size() - 5) + QStringLiteral("2|0|0"))
        << "only a Model stored under another number comes back as 2";
}

TEST_F(SortTreeEditor, AFieldThatNoLongerExistsShowsNoEntryAndIsNotStoredAgain) {
    UDF().AddUdf(0, QStringLiteral("Plate"));
    TvdrSortOrderRec rec;
    rec.Decode(QStringLiteral("Odd=0\t9|1|0\t0|5|5"));
    QueueDialogScript([](QDialog &shown) {
        TfrmSortOrderFieldEditor &fields = FieldsOf(shown);
        EXPECT_EQ(fields.Grid().Row(0)->FieldCombo()->currentIndex(), -1);
        EXPECT_EQ(Rows(fields).at(1), QStringLiteral("Plate / Descending"))
            << "any kind but 0 is a user-defined field, any direction but 0 descending";
        fields.btnOKClick();
    });
    ASSERT_TRUE(TfrmSortOrderFieldEditor::ExecuteModify(rec));
    EXPECT_EQ(rec.Encode(), QStringLiteral("Odd=0\t0|1|1"));
}

TEST_F(SortTreeEditor, FieldRowsAreAddedAndRemovedButTheLastOneStays) {
    TvdrSortOrderRec rec;
    rec.Decode(QStringLiteral("Three=0\t0|0|0\t1|0|1\t2|0|0"));
    QueueDialogScript([](QDialog &shown) {
        TfrmSortOrderFieldEditor &fields = FieldsOf(shown);
        fields.spbDeleteClick(); // the focus is in the name
        EXPECT_EQ(fields.Grid().RowCount(), 3);
        fields.Grid().Row(1)->DirectionCombo()->setFocus();
        fields.spbDeleteClick();
        EXPECT_EQ(Rows(fields), QStringList({"Year / Ascending", "Model / Ascending"}));
        EXPECT_EQ(fields.focusWidget(), fields.Grid().Row(1)->FieldCombo())
            << "the focus goes to the row that took the removed one's place";
        fields.spbAddClick();
        EXPECT_EQ(Rows(fields).at(2), QStringLiteral("Year / Ascending"));
        EXPECT_EQ(fields.focusWidget(), fields.Grid().Row(2)->FieldCombo());
        fields.spbDeleteClick();
        fields.spbDeleteClick();
        fields.spbDeleteClick();
        EXPECT_EQ(Rows(fields), QStringList({"Year / Ascending"})) << "a sort order keeps one row";
        fields.btnOKClick();
    });
    ASSERT_TRUE(TfrmSortOrderFieldEditor::ExecuteModify(rec));
    EXPECT_EQ(rec.Encode(), QStringLiteral("Three=0\t0|0|0"));
}

TEST_F(SortTreeEditor, ANameThatIsEmptyUnstorableOrTakenIsRefused) {
    Store({QStringLiteral("By make=0\t1|0|0"), QStringLiteral("Newest=1\t0|0|1")});
    QueueDialogScript([this](QDialog &shown) {
        TfrmSortTreeEditor &editor = EditorOf(shown);
        QueueDialogScript([this](QDialog &shownFields) {
            TfrmSortOrderFieldEditor &fields = FieldsOf(shownFields);
            QLineEdit *name = fields.Form().edtName;
            for (const QString &refused :
                 {QStringLiteral("   "), QStringLiteral("Year=1"), QStringLiteral("a\tb"),
                  QStringLiteral("Two\nlines"), QStringLiteral(" NEWEST ")}) {
                name->setText(refused);
                fields.btnOKClick();
                EXPECT_TRUE(fields.isVisible()) << refused.toStdString();
            }
            EXPECT_EQ(fields.Record().SortOrderName, QStringLiteral("By make")) << "nothing written yet";
            // Typed text the code page cannot hold never reaches the edit.
            name->clear();
            QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("\u0141"));
            QCoreApplication::sendEvent(name, &key);
            QTest::keyClicks(name, QStringLiteral("By maker"));
            EXPECT_EQ(name->text(), QStringLiteral("By maker"));
            fields.btnOKClick();
            EXPECT_FALSE(fields.isVisible());
            EXPECT_EQ(
                m_prompts->Transcript(),
                QStringList({"warning: Please enter a name for the sort order.",
                             "warning: A sort order name cannot hold \"=\", a tab or a line break. Please "
                             "enter another name.",
                             "warning: A sort order name cannot hold \"=\", a tab or a line break. Please "
                             "enter another name.",
                             "warning: A sort order name cannot hold \"=\", a tab or a line break. Please "
                             "enter another name.",
                             "warning: Another sort order has this name. Please enter another name."}));
        });
        Select(editor, 0);
        editor.spbChangeClick();
        EXPECT_EQ(Names(editor), QStringList({"By maker", "Newest"}));
        editor.btnOKClick();
    });
    ASSERT_TRUE(ExecuteSortTreeEditor());
    EXPECT_EQ(Stored(), QStringList({"By maker=0\t1|0|0", "Newest=1\t0|0|1"}));
}

TEST_F(SortTreeEditor, CancelAnywhereLeavesTheStoredSortOrdersAsTheyWere) {
    Store({QStringLiteral("By make=0\t1|0|0"), QStringLiteral("Newest=1\t0|0|1")});
    const QStringList before = Stored();
    // Cancel in the field editor leaves the entry's copy unchanged.
    QueueDialogScript([](QDialog &shown) {
        TfrmSortTreeEditor &editor = EditorOf(shown);
        QueueDialogScript([](QDialog &shownFields) {
            TfrmSortOrderFieldEditor &fields = FieldsOf(shownFields);
            fields.Form().edtName->setText(QStringLiteral("Oldest"));
            Choose(fields, 0, 0, 0);
            fields.btnCancelClick();
        });
        Select(editor, 1);
        editor.spbChangeClick();
        EXPECT_EQ(editor.RecordAt(1)->Encode(), QStringLiteral("Newest=1\t0|0|1"));
        QueueDialogScript([](QDialog &shownFields) { QTest::keyClick(&shownFields, Qt::Key_Escape); });
        editor.spbAddClick();
        EXPECT_EQ(Names(editor), QStringList({"By make", "Newest"}));
        editor.btnOKClick();
    });
    ASSERT_TRUE(ExecuteSortTreeEditor());
    EXPECT_EQ(Stored(), before);

    // Changes confirmed in the field editor go when the sort order editor is
    // cancelled, by button, Escape or closing the window.
    const std::function<void(TfrmSortTreeEditor &)> endings[] = {
        [](TfrmSortTreeEditor &editor) { editor.btnCancelClick(); },
        [](TfrmSortTreeEditor &editor) { QTest::keyClick(editor.Form().lbxItems, Qt::Key_Escape); },
        [](TfrmSortTreeEditor &editor) { editor.close(); },
    };
    for (const auto &end : endings) {
        m_prompts->YesNo = {true};
        QueueDialogScript([&end](QDialog &shown) {
            TfrmSortTreeEditor &editor = EditorOf(shown);
            QueueDialogScript([](QDialog &shownFields) {
                FieldsOf(shownFields).Form().edtName->setText(QStringLiteral("Oldest"));
                Choose(FieldsOf(shownFields), 0, 0, 0);
                FieldsOf(shownFields).btnOKClick();
            });
            Select(editor, 1);
            editor.spbChangeClick();
            EXPECT_EQ(editor.RecordAt(1)->Encode(), QStringLiteral("Oldest=1\t0|0|0"));
            Select(editor, 0);
            editor.spbDeleteClick();
            end(editor);
        });
        EXPECT_FALSE(ExecuteSortTreeEditor());
        EXPECT_EQ(Stored(), before);
    }
}

TEST_F(SortTreeEditor, TheKeyboardAloneEditsASortOrder) {
    Store({QStringLiteral("By make=0\t1|0|0")});
    QueueDialogScript([](QDialog &shown) {
        TfrmSortTreeEditor &editor = EditorOf(shown);
        QueueDialogScript([](QDialog &shownFields) {
            TfrmSortOrderFieldEditor &fields = FieldsOf(shownFields);
            fields.spbAddClick();
            fields.Form().edtName->setFocus();
            QTest::keyClick(fields.Form().edtName, Qt::Key_End);
            QTest::keyClicks(fields.Form().edtName, QStringLiteral(", then newest"));
            // Name, then the rows in order, then the buttons.
            const QList<QWidget *> order{fields.Grid().Row(0)->FieldCombo(),
                                         fields.Grid().Row(0)->DirectionCombo(),
                                         fields.Grid().Row(1)->FieldCombo(),
                                         fields.Grid().Row(1)->DirectionCombo(),
                                         fields.Form().spbAdd,
                                         fields.Form().spbDelete};
            for (int i = 0; i < order.size(); ++i) {
                QTest::keyClick(fields.focusWidget(), Qt::Key_Tab);
                ASSERT_EQ(fields.focusWidget(), order[i]) << i;
            }
            QComboBox *direction = fields.Grid().Row(1)->DirectionCombo();
            direction->setFocus();
            QTest::keyClick(direction, Qt::Key_Down);
            QTest::keyClick(direction, Qt::Key_Return); // the default button
        });
        QListWidget *list = editor.Form().lbxItems;
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Space);
        ASSERT_EQ(Selected(editor), 0);
        QTest::keyClick(list, Qt::Key_Tab);
        QTest::keyClick(editor.focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(editor.focusWidget(), editor.Form().spbChange);
        QTest::keyClick(editor.Form().spbChange, Qt::Key_Space);
        EXPECT_EQ(Names(editor), QStringList({"By make, then newest"}));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
    });
    ASSERT_TRUE(ExecuteSortTreeEditor());
    EXPECT_EQ(Stored(), QStringList({"By make, then newest=0\t1|0|0\t0|0|1"}));
}

TEST_F(SortTreeEditor, TextsHelpTopicsAndPlacementOfBothDialogs) {
    TvdrSortOrderRec rec;
    QSize fieldsSize;
    {
        TfrmSortTreeEditor editor;
        TfrmSortOrderFieldEditor fields(&rec, {});
        for (QDialog *dialog : {static_cast<QDialog *>(&editor), static_cast<QDialog *>(&fields)}) {
            EXPECT_EQ(MissingWindowTexts(dialog), QStringList()) << dialog->objectName().toStdString();
            dialog->show();
            EXPECT_EQ(HelpTopicAt(dialog), vdrHelpTopics::SortOrderEditor);
        }
        EXPECT_EQ(editor.windowTitle(), QStringLiteral("Sort order editor"));
        EXPECT_EQ(editor.Form().spbDown->toolTip(), QStringLiteral("Move sort order down"));
        EXPECT_EQ(fields.Form().spbAdd->toolTip(), QStringLiteral("Add new field"));
        EXPECT_EQ(fields.Grid().HeaderTexts(), QStringList({"Field name", "Sort direction"}));
        fields.resize(fields.size() + QSize(40, 60));
        fieldsSize = fields.size();
    }
    Options().SetDefault(QString());
    EXPECT_FALSE(Options().GetValue(QStringLiteral("TfrmSortTreeEditor")).isEmpty());
    m_db.Reopen();
    TfrmSortOrderFieldEditor again(&rec, {});
    EXPECT_EQ(again.size(), fieldsSize);
}
