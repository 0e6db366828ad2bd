#include "records/SalesQuery.h"
#include "records/SalesTotal.h"

#include <gtest/gtest.h>

using namespace korvan;

namespace {

std::string line(const std::string& time, const std::string& name, const std::string& amount) {
    return time + "\f" + name + "\f1.000\f5.00\f" + amount + "\r\n";
}

SalesRecords amounts(const std::vector<std::string>& texts) {
    std::string bytes;
    for (const std::string& text : texts)
        bytes += line("2026-12-07 10:00:00", "apple", text);
    return SalesRecords::fromBytes(bytes);
}

} // namespace

TEST(SalesQuery, DateKeyMatchesExactlyNameIgnoresAsciiCaseEmptyBoxesMatchAll) {
    const SalesRecords records = SalesRecords::fromBytes(
        line("2026-12-07 10:00:00", "apple", "1") +  // 0
        line("2026-12-07 11:30:00", "apples", "2") + // 1
        line("2026-12-7 10:00:00", "apple", "3") +   // 2: the same day, one-digit day
        line("2026-12-08 09:00:00", "Apple", "4") +  // 3
        line("2026-12-07", "pear", "5") +            // 4: exactly the key
        line("2026-12", "apple", "6") +              // 5: shorter than a key
        line("2026-12-07\xC6\xBB", "apple", "7") +   // 6: a character right after the key
        line("2026-12-09", "\x81\x41", "8"));        // 7: a trail byte that looks like "A"
    const struct {
        std::string date;
        std::string name;
        std::vector<std::size_t> rows;
    } cases[] = {
        {"", "", {0, 1, 2, 3, 4, 5, 6, 7}},
        {"2026-12-07", "", {0, 1, 4, 6}},
        {"", "apple", {0, 2, 3, 5, 6}}, // not "apples"; "Apple" too
        {"", "APPLE", {0, 2, 3, 5, 6}},
        {"", "\x81\x61", {}}, // a double-byte character is never folded
        {"", "\x81\x41", {7}},
        {"2026-12-07", "apple", {0, 6}},
        {"2026-12", "", {5}}, // a short time is its own key
        {"2026-12-7 1", "", {}},
        {"2026-12-09", "apple", {}},
        {"", "appl", {}},
    };
    for (const auto& c : cases) {
        const SalesQuery query{c.date, c.name};
        const SalesSelection selection = query.run(records);
        std::vector<std::size_t> rows;
        for (std::size_t i = 0; i < selection.size(); ++i) {
            rows.push_back(selection.storeRow(i));
            // The selection shows the store's fields of that row.
            EXPECT_EQ(selection.field(i, 4), records.field(selection.storeRow(i), 4));
            EXPECT_TRUE(query.matches(records, selection.storeRow(i)));
        }
        EXPECT_EQ(rows, c.rows) << "date " << c.date << " name " << c.name;
    }
}

TEST(SalesQuery, TheDateBoxTakesYearMonthDay) {
    for (const char* date : {"2026-12-07", "0000-00-00"})
        EXPECT_TRUE(SalesQuery::isDate(date)) << date;
    for (const char* date :
         {"2026-12-7", "2026/12/07", "2026-12-07 ", "20261207xx", "", "2026-1a-07"})
        EXPECT_FALSE(SalesQuery::isDate(date)) << date;
}

TEST(SalesTotal, AmountsReadAsLeadingNumbersWithTwoDecimals) {
    const struct {
        std::vector<std::string> amounts;
        std::string total;
    } cases[] = {
        {{"1.50", "2.25", "abc"}, "3.75"},
        {{}, ""}, // an empty list shows an empty box, not 0.00
        {{"abc"}, "0.00"},
        {{"", " "}, "0.00"},
        {{"-1.5", "0.25"}, "-1.25"},
        {{"1e2", "3.5kg", "+.5", "1.5\f2"}, "105.50"}, // exponent, unit after, plus, form feed
        {{"2.675"}, "2.67"},                           // rounded as the double is, like printf
        {{"0.005"}, "0.01"},
        {{"1e400"}, "0.00"}, // past the range of a double: counts 0
        {{"12345678.9"}, "12345678.90"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SalesTotal::text(amounts(c.amounts)), c.total)
            << testing::PrintToString(c.amounts);
}

TEST(SalesTotal, OfAQueryAddsOnlyTheRowsShown) {
    const SalesRecords records = SalesRecords::fromBytes(
        line("2026-12-07 10:00:00", "apple", "1.50") + line("2026-12-07 10:00:00", "pear", "2.25") +
        line("2026-12-08 10:00:00", "apple", "4.00"));
    EXPECT_EQ(SalesTotal::text(records), "7.75");
    EXPECT_EQ(SalesTotal::text(SalesQuery{"", "apple"}.run(records)), "5.50");
    EXPECT_EQ(SalesTotal::text(SalesQuery{"2026-12-09", ""}.run(records)), "");
}
