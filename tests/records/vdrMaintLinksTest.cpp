#include "kvxStreamFile.h"
#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrCmRtn.h"
#include "vdrMaint.h"
#include "vdrMaintEvents.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrRepairs.h"
#include "vdrTestDatabase.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

QList<qint32> Numbers(const TvdrListItems &items) {
    QList<qint32> numbers;
    for (const TvdrListItem &item : items)
        numbers.append(item.Data);
    return numbers;
}

} // namespace

TEST(MaintRepairs, LinksOfOneEventNeverTouchThoseOfLookAlikeKeys) {
    TvdrTestDatabase db;
    MaintRepairs().AddLink(2, 5, 1);
    MaintRepairs().AddLink(2, 5, 1);
    EXPECT_EQ(MaintRepairs().Count(), 1) << "a link stands once";
    EXPECT_EQ(MaintRepairs().Get(0), QStringLiteral("0000002\t0000005\t0000001"));
    MaintRepairs().AddLink(2, 5, 0);
    MaintRepairs().AddLink(3, 5, 1);
    MaintRepairs().AddLink(2, 50, 1);
    MaintRepairs().AddLink(20, 5, 1);
    MaintRepairs().AddLink(12345678, 0, 1);
    MaintRepairs().AddLink(1234567, 0, 2);

    EXPECT_TRUE(MaintRepairs().HasRepair(2, 5, 0));
    EXPECT_FALSE(MaintRepairs().HasRepair(2, 50, 0));
    EXPECT_FALSE(MaintRepairs().HasRepair(3, 5, 0)) << "same event number, other car";
    MaintRepairs().RemoveEventLinks(2, 5);
    EXPECT_FALSE(MaintRepairs().HasRepair(2, 5, 1));
    EXPECT_TRUE(MaintRepairs().HasRepair(3, 5, 1));
    EXPECT_TRUE(MaintRepairs().HasRepair(2, 50, 1));
    MaintRepairs().RemoveCarLinks(2);
    EXPECT_TRUE(MaintRepairs().HasRepair(20, 5, 1)) << "car 20 is not car 2";
    MaintRepairs().RemoveCarLinks(1234567);
    EXPECT_TRUE(MaintRepairs().HasRepair(12345678, 0, 1)) << "nor when numbers outgrow seven digits";
    EXPECT_EQ(MaintRepairs().Count(), 3);
    const TvdrMaintRepairs::TLink link = MaintRepairs().LinkAt(0);
    EXPECT_EQ(link.CarNbr, 3);
    EXPECT_EQ(link.MaintNbr, 5);
    EXPECT_EQ(link.RepairNbr, 1);
}

TEST(MaintRepairs, EventRepairsWithDescriptionsAndTheCarsUsingThem) {
    TvdrTestDatabase db;
    const qint32 brakes = Repairs().AddRepair(QStringLiteral("Brakes"));
    const qint32 wipers = Repairs().AddRepair(QStringLiteral("Wipers"));
    const qint32 air = Repairs().AddRepair(QStringLiteral("air filter"));
    for (qint32 repair : {wipers, brakes, air})
        MaintRepairs().AddLink(0, 1, repair);
    MaintRepairs().AddLink(0, 2, 99);

    TvdrListItems items{{QStringLiteral("stale"), 7}};
    MaintRepairs().ListEventRepairs(0, 1, items);
    EXPECT_EQ(Numbers(items), QList<qint32>({brakes, wipers, air})) << "row order";
    EXPECT_EQ(items[0].Caption, QStringLiteral("Brakes"));
    MaintRepairs().GetEventRepairs(0, 1, 0, items);
    EXPECT_EQ(Numbers(items), QList<qint32>({air, brakes, wipers}));
    MaintRepairs().GetEventRepairs(0, 1, 1, items);
    EXPECT_EQ(Numbers(items), QList<qint32>({wipers, brakes, air}));
    MaintRepairs().ListEventRepairs(0, 2, items);
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0].Caption, QString()) << "a number without description";
    MaintRepairs().ListEventRepairs(0, 3, items);
    EXPECT_TRUE(items.isEmpty());

    Cars().NewCar();
    Cars().NewCar();
    for (qint32 maint : {4, 5, 6})
        MaintRepairs().AddLink(1, maint, wipers);
    QStringList cars;
    EXPECT_FALSE(MaintRepairs().CarsUsingRepair(wipers, cars));
    EXPECT_EQ(cars, QStringList({QStringLiteral("0  ")})) << "two cars of one description, listed once";
    EXPECT_TRUE(MaintRepairs().CarsUsingRepair(Repairs().AddRepair(QStringLiteral("Clutch")), cars));
    EXPECT_TRUE(cars.isEmpty());
    EXPECT_TRUE(MaintRepairs().IsRepairUnlinked(3));
    EXPECT_FALSE(MaintRepairs().IsRepairUnlinked(air));
}

TEST(MaintNotes, NotesSurviveEscapingAndStoredFormIsTakenAsIs) {
    TvdrTestDatabase db;
    MaintNotes().AddNote(2, 5, QStringLiteral("\tx\r\ny"));
    EXPECT_EQ(MaintNotes().Get(0), QStringLiteral("0000002\t0000005\t\\tx\\ny"));
    EXPECT_EQ(MaintNotes().GetNote(2, 5), QStringLiteral("\tx\r\ny"));
    MaintNotes().AddNote(2, 5, QStringLiteral("a\\nb"));
    EXPECT_EQ(MaintNotes().Count(), 1) << "an event has one note";
    EXPECT_EQ(MaintNotes().GetNote(2, 5), QStringLiteral("a\r\nb")) << "a typed \\n is a line break";
    MaintNotes().AddNote(2, 6, QStringLiteral("C:\\\\temp\\tdone"));
    EXPECT_EQ(MaintNotes().StoredNote(2, 6), QStringLiteral("C:\\\\temp\\tdone")) << "stored form unchanged";
    EXPECT_EQ(MaintNotes().GetNote(2, 6), QStringLiteral("C:\\temp\tdone"));
    EXPECT_EQ(TvdrMaintNotes::StoredForm(QStringLiteral("\r\r")), QString());
    EXPECT_EQ(TvdrMaintNotes::StoredForm(QStringLiteral("\r\n")), QStringLiteral("\\n"));
    // Any text of escapes, stray backslashes and breaks: what is in stored
    // form already stays, the rest is unescaped and escaped again.
    const QChar pieces[] = {u'a', u'\\', u'n', u't', u'x', u'\r', u'\n', u'\t', QChar(0)};
    QRandomGenerator rng(5);
    for (int i = 0; i < 5000; ++i) {
        QString text;
        for (int n = int(rng.bounded(8)); n > 0; --n)
            text += pieces[rng.bounded(int(std::size(pieces)))];
        QString expected = TvdrCmRtn::EscapeText(TvdrCmRtn::UnescapeText(text));
        expected.replace(QChar(0), QLatin1Char(' '));
        ASSERT_EQ(TvdrMaintNotes::StoredForm(text), expected) << text.toStdString();
    }

    MaintNotes().AddNote(20, 5, QStringLiteral("car 20"));
    // A NUL (an imported file can hold one) would end the table when it is
    // read back, and every later note with it.
    MaintNotes().AddNote(1, 0, QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
    MaintNotes().Save();
    db.Reopen();
    EXPECT_EQ(MaintNotes().GetNote(1, 0), QStringLiteral("a b"));
    MaintNotes().RemoveNote(1, 0);
    EXPECT_EQ(MaintNotes().GetNote(2, 6), QStringLiteral("C:\\temp\tdone"));
    const TvdrMaintNotes::TNote note = MaintNotes().NoteAt(0);
    EXPECT_EQ(note.CarNbr, 2);
    EXPECT_EQ(note.MaintNbr, 5);
    EXPECT_EQ(note.StoredNote, QStringLiteral("a\\nb"));
    MaintNotes().RemoveNote(2, 5);
    EXPECT_EQ(MaintNotes().GetNote(2, 5), QString());
    MaintNotes().RemoveCarNotes(2);
    EXPECT_EQ(MaintNotes().Count(), 1);
    EXPECT_EQ(MaintNotes().GetNote(20, 5), QStringLiteral("car 20"));
}

TEST(MaintEvents, AddingChangingAndDeletingAnEventKeepsItsLinksAndNoteInStep) {
    TvdrTestDatabase db;
    TvdrMaintEntry entry;
    entry.CarNbr = 3;
    entry.Date = QDate(2004, 3, 15);
    entry.Mileage = 120;
    entry.Cost = 45.5;
    entry.RepairNbrs = {2, 0};
    entry.Note = QStringLiteral("first\r\nsecond");
    EXPECT_EQ(SaveMaintEvent(entry), 0);
    EXPECT_EQ(SaveMaintEvent(entry), 1);
    db.Reopen();
    EXPECT_EQ(Maint().GetValue(QStringLiteral("0000003\t0000001")), QStringLiteral("731655\t120\t45.5"));
    EXPECT_TRUE(MaintRepairs().HasRepair(3, 1, 2));
    EXPECT_EQ(MaintNotes().GetNote(3, 1), QStringLiteral("first\r\nsecond"));

    entry.MaintNbr = 1;
    entry.RepairNbrs = {1};
    entry.Note = QStringLiteral("\r");
    EXPECT_EQ(SaveMaintEvent(entry), 1);
    db.Reopen();
    EXPECT_FALSE(MaintRepairs().HasRepair(3, 1, 2)) << "the links were replaced";
    EXPECT_TRUE(MaintRepairs().HasRepair(3, 1, 1));
    EXPECT_EQ(MaintNotes().StoredNote(3, 1), QString()) << "a note of only CRs is not stored";
    EXPECT_EQ(MaintNotes().Count(), 1);

    DeleteMaintEvent(3, 0);
    db.Reopen();
    EXPECT_EQ(Maint().FindEvent(3, 0), nullptr);
    EXPECT_FALSE(MaintRepairs().HasRepair(3, 0, 2));
    EXPECT_EQ(MaintNotes().Count(), 0);
    EXPECT_NE(Maint().FindEvent(3, 1), nullptr) << "other events keep their numbers";
}

// A command that stores an event's repairs or note as they were writes
// nothing for them; one that changes them, or a table with a change not yet
// saved, still saves, and a reopen shows every change either way.
TEST(MaintEvents, RepairsAndNotesStoredAsTheyWereAreNotWrittenAgain) {
    TvdrTestDatabase db;
    TvdrMaintEntry entry;
    entry.CarNbr = 4;
    entry.RepairNbrs = {3, 1};
    entry.Note = QStringLiteral("brake pads");
    for (int i = 0; i < 3; ++i)
        SaveMaintEvent(entry);
    entry.MaintNbr = 1;
    entry.RepairNbrs = {};
    entry.Note.clear();
    SaveMaintEvent(entry);
    db.Reopen();
    const QString links = QStringLiteral("TvdrMaintRepairs");
    const QString notes = QStringLiteral("TvdrMaintNotes");
    const auto blocksNow = [&] { return std::pair(db.Db().RawBlock(links), db.Db().RawBlock(notes)); };

    // Event 1 has neither: changing its cost, or deleting it, leaves both.
    auto before = blocksNow();
    entry.Mileage = 5000;
    SaveMaintEvent(entry);
    EXPECT_EQ(blocksNow(), before);
    entry.MaintNbr = 0;
    entry.RepairNbrs = {1, 3};
    entry.Note = QStringLiteral("brake pads");
    SaveMaintEvent(entry); // the same repairs in another order, the same note
    EXPECT_EQ(blocksNow(), before);
    DeleteMaintEvent(4, 1);
    EXPECT_EQ(blocksNow(), before);
    db.Reopen();
    EXPECT_EQ(Maint().FindEvent(4, 1), nullptr);
    EXPECT_EQ(Maint().FindEvent(4, 0)->Mileage, 5000);

    // A changed note is saved; the repairs, the same, are not.
    entry.Note = QStringLiteral("brake discs");
    SaveMaintEvent(entry);
    EXPECT_EQ(db.Db().RawBlock(links), before.first);
    EXPECT_NE(db.Db().RawBlock(notes), before.second);

    // A link added and not saved yet goes with the next save of its table,
    // though the command leaves its own rows as they were.
    MaintRepairs().AddLink(9, 9, 2);
    SaveMaintEvent(entry);
    db.Reopen();
    EXPECT_TRUE(MaintRepairs().HasRepair(9, 9, 2));
    EXPECT_TRUE(MaintRepairs().HasRepair(4, 0, 3));
    EXPECT_EQ(MaintNotes().GetNote(4, 0), QStringLiteral("brake discs"));
    EXPECT_EQ(MaintNotes().GetNote(4, 2), QStringLiteral("brake pads"));
}

TEST(MaintLinks, ManyAtOnceAgreeWithOneByOne) {
    // Values, links and notes in random order, repeated ones among them,
    // and rows already there that a value or note replaces: the batch
    // operations must leave what the single ones leave.
    TvdrTestDatabase db;
    QRandomGenerator rng(5);
    QList<TvdrCarsUDF::TValue> valueBatch = {{3, 1, QStringLiteral("new")}};
    QList<TvdrMaintRepairs::TLink> linkBatch;
    QList<TvdrMaintNotes::TNote> noteBatch = {{3, 1, QStringLiteral("new")}};
    for (int i = 0; i < 300; ++i) {
        const qint32 car = qint32(rng.bounded(12));
        const qint32 other = qint32(rng.bounded(5));
        valueBatch.append({car, other, QStringLiteral(" value %1 ").arg(i)});
        linkBatch.append({car, other, qint32(rng.bounded(4))});
        noteBatch.append({car, other, QStringLiteral("note\\n%1\n").arg(i)});
    }
    const auto start = [] {
        CarsUDF().Clear();
        MaintRepairs().Clear();
        MaintNotes().Clear();
        CarsUDF().Add(QStringLiteral("0000003\t0000001\told"));
        CarsUDF().Add(QStringLiteral("0000003\t0000001\tolder"));
        MaintNotes().Add(QStringLiteral("0000003\t0000001\told"));
        MaintRepairs().Add(QStringLiteral("0000003\t0000001\t0000002"));
    };
    start();
    for (const auto &v : valueBatch)
        CarsUDF().SetCarValue(v.CarNbr, v.UdfNbr, v.Value);
    for (const auto &l : linkBatch)
        MaintRepairs().AddLink(l.CarNbr, l.MaintNbr, l.RepairNbr);
    for (const auto &n : noteBatch)
        MaintNotes().AddNote(n.CarNbr, n.MaintNbr, n.StoredNote);
    const QString one = CarsUDF().Text() + MaintRepairs().Text() + MaintNotes().Text();
    start();
    CarsUDF().SetCarValues(valueBatch);
    MaintRepairs().AddLinks(linkBatch);
    MaintNotes().AddNotes(noteBatch);
    EXPECT_EQ(CarsUDF().Text() + MaintRepairs().Text() + MaintNotes().Text(), one);
}
