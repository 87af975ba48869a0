#include "vdrPlainNumber.h"

#include "vdrDateTime.h"
#include "vdrFormatSettings.h"
#include "vdrImportValue.h"

#include <gtest/gtest.h>

#include <limits>

#include <random>

namespace {

// What the general reading gives, or nullopt when it refuses.
template <class T>
std::optional<T> General(T (*convert)(const std::optional<QString> &), const QString &text) {
    try {
        return convert(text);
    } catch (const EvdrError &) {
        return std::nullopt;
    }
}

} // namespace

TEST(PlainNumber, TwoDecimalsAreWrittenAsTheFormatSettingsWriteThem) {
    TvdrFormatSettings formats = TvdrFormatSettings::CommaLocale();
    std::mt19937_64 rng(99);
    std::vector<double> values = {0,
                                  0.125,
                                  -0.125,
                                  0.375,
                                  2.675,
                                  -2.675,
                                  0.005,
                                  -0.004,
                                  1.005,
                                  0.995,
                                  99.995,
                                  1e14,
                                  -1e14,
                                  0.875,
                                  1234.5678,
                                  -0.625,
                                  12.5,
                                  7.0 / 8,
                                  1e-9,
                                  -1e-9,
                                  4.5e14,
                                  999.999,
                                  0.0049999999999999999};
    for (int i = 0; i < 20000; ++i) {
        const double magnitude = std::pow(10.0, double(rng() % 16));
        values.push_back(double(qint64(rng() % 2000000001) - 1000000000) / 1000 *
                         (i % 2 ? 1 : magnitude / 1e6));
        values.push_back(double(qint64(rng() % 100000)) / 8); // every tie at two decimals
    }
    for (const double value : values) {
        char text[32];
        const qsizetype length = vdrPlainNumber::Fixed2(value, ',', text);
        ASSERT_GT(length, 0) << value;
        EXPECT_EQ(QString::fromLatin1(text, length), formats.Fixed2(value)) << value;
    }
    char text[32];
    EXPECT_EQ(vdrPlainNumber::Fixed2(-0.0, '.', text), 0) << "left to the format settings";
    EXPECT_EQ(vdrPlainNumber::Fixed2(1e300, '.', text), 0);
}

TEST(PlainNumber, PlainFormsReadAsTheGeneralConversionsAndOthersAreLeftToThem) {
    const char *integers[] = {"0",  "7",  "-12", "0000012", "123456789", "1234567890", "+3",
                              " 4", "4 ", "1.5", "",        "-",         "0x1",        "\xD9\xA3"};
    QStringList plainIntegers;
    for (const char *text : integers) {
        SCOPED_TRACE(text);
        qint32 plain = 0;
        const QString unicode = QString::fromUtf8(text);
        if (vdrPlainNumber::Integer(QStringView(unicode), plain)) {
            plainIntegers << unicode;
            EXPECT_EQ(General(vdrImportValue::Integer, unicode), plain);
            qint32 fromBytes = 0;
            EXPECT_TRUE(vdrPlainNumber::Integer(QByteArrayView(text), fromBytes));
            EXPECT_EQ(fromBytes, plain);
        }
    }
    EXPECT_EQ(plainIntegers, QStringList({"0", "7", "-12", "0000012", "123456789"}));
    const char *costs[] = {"80.00",
                           "80,00",
                           "-5.5",
                           "0.125",
                           "12.34567",
                           "1e14",
                           "5.",
                           ".5",
                           "1.2.3",
                           "-",
                           "922337203685477.5807",
                           "2.675",
                           "0,0001",
                           "1,5,0"};
    int plainCosts = 0;
    for (const char *text : costs) {
        SCOPED_TRACE(text);
        double plain = 0;
        if (vdrImportValue::PlainCost(QByteArrayView(text), plain)) {
            ++plainCosts;
            EXPECT_EQ(General(vdrImportValue::Cost, QString::fromLatin1(text)), plain);
        }
    }
    EXPECT_EQ(plainCosts, 7) << "the one beyond the range is left to the general reading";
    const char *dates[] = {"2004-01-05", "2004-02-30", "0000-01-01",      "9999-12-31",
                           "2004-1-05",  "2004/01/05", "2004-01-05T10:00"};
    for (const char *text : dates) {
        SCOPED_TRACE(text);
        QDate plain;
        if (vdrImportValue::PlainDate(QByteArrayView(text), plain)) {
            EXPECT_EQ(General(vdrImportValue::Date, QString::fromLatin1(text)), plain);
        }
    }
    double cost = 0;
    EXPECT_FALSE(vdrPlainNumber::Decimal(QStringView(u"5."), cost));
    EXPECT_FALSE(vdrPlainNumber::Decimal(QStringView(u".5"), cost));
    EXPECT_FALSE(vdrPlainNumber::Decimal(QStringView(u"1e14"), cost));
    EXPECT_TRUE(vdrPlainNumber::Decimal(QStringView(u"-0,5"), cost));
    EXPECT_EQ(cost, -0.5);
}

TEST(PlainNumber, StoredCostsAndDayNumbersWriteAsTheirValuesDo) {
    const TvdrFormatSettings formats = TvdrFormatSettings::CommaLocale();
    std::mt19937_64 rng(7);
    QStringList texts = {QStringLiteral("80"), QStringLiteral("-5,5"), QStringLiteral("0,01"),
                         QStringLiteral("-0,5"), QStringLiteral("1234567890123,45"), QStringLiteral("0"),
                         QStringLiteral("-0"), QStringLiteral("007"), QStringLiteral("2,675"),
                         QStringLiteral("1e+14"), QStringLiteral("12,"), QStringLiteral("12345678901234"),
                         // Longer than the text it is written into: never
                         // written there, however long.
                         QStringLiteral("-123456789012345678901234567890123456789,5"),
                         QString(4000, QLatin1Char('9'))};
    for (int i = 0; i < 20000; ++i)
        texts.append(
            formats.StoredCost(double(qint64(rng() % 2000000001) - 1000000000) / (i % 3 == 0   ? 1
                                                                                  : i % 3 == 1 ? 10
                                                                                               : 100)));
    int written = 0;
    for (const QString &text : texts) {
        char plain[32];
        const qsizetype length = vdrPlainNumber::Fixed2(QStringView(text), ',', plain);
        if (length == 0)
            continue;
        ++written;
        EXPECT_EQ(QString::fromLatin1(plain, length), formats.Fixed2(TvdrFormatSettings::ParseCost(text)))
            << text.toStdString();
    }
    EXPECT_EQ(written, texts.size() - 8)
        << "-0, 007, 2,675, 1e+14, 12, and fourteen digits or more are left to the double";

    for (qint32 day = 1; day < 3700000; day += 1 + qint32(rng() % 97)) {
        int y = 0, m = 0, d = 0;
        ASSERT_TRUE(vdrPlainNumber::DayOfNumber(day, y, m, d));
        ASSERT_EQ(QDate(y, m, d), vdrDateTime::DateOfDayNumber(day)) << day;
    }
    // The last days a row can hold, far past any date the program shows.
    for (const qint32 day :
         {std::numeric_limits<qint32>::max() - 400000, std::numeric_limits<qint32>::max()}) {
        int y = 0, m = 0, d = 0;
        ASSERT_TRUE(vdrPlainNumber::DayOfNumber(day, y, m, d));
        EXPECT_EQ(QDate(y, m, d), QDate(1, 1, 1).addDays(day - 1)) << day;
    }
    int y = 0, m = 0, d = 0;
    EXPECT_FALSE(vdrPlainNumber::DayOfNumber(0, y, m, d));
}
