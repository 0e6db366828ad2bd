// Summaries of the sales records: grouping, period, order, top N, and agreement with the list's
// total.
#include "records/SalesQuery.h"
#include "records/SalesRecords.h"
#include "records/SalesSummary.h"
#include "records/SalesTotal.h"

#include "VectorRows.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace korvan;
using namespace korvan::test;

namespace {

using By = SalesSummary::Grouping;
using Order = SalesSummary::Order;

// 2026-12-07 is a Monday. Field 4 is read as the total reads it ("2e1" is 20, "x" is 0); a time
// that starts with no date has no day, hour or weekday.
const VectorRows kSales({{"2026-12-07 08:10:00", "Apple", "1.5", "2", "3.00"},
                         {"2026-12-07 09:00:00", "Pear", "2", "5", "10.00"},
                         {"2026-12-08 08:59:59", "Apple", "0.5", "2", "1.00"},
                         {"2026-12-13 21:00:00", "Milk", "3", "2", "2e1"},
                         {"2026-12-13 21:30:00", "\xC6\xBB\xB9\xFB", "1", "1", "x"},
                         {"garbage", "Pear", "1", "6", "6.00"}});

SalesSummary::Options options(By by, std::string from = {}, std::string to = {},
                              Order order = Order::Key, std::size_t top = 0) {
    return {by, std::move(from), std::move(to), order, top};
}

std::string show(const SalesSummary& summary) {
    std::string text;
    for (const auto& group : summary.groups())
        text += summary.label(group, Lang::English) + " " + std::to_string(group.count) + " " +
                SalesSummary::quantityText(group.quantity) + " " +
                SalesSummary::amountText(group.amount) + " " +
                SalesSummary::shareText(group.share) + "|";
    const auto& total = summary.total();
    return text + "= " + std::to_string(total.count) + " " + SalesSummary::amountText(total.amount);
}

} // namespace

TEST(SalesSummary, GroupsPeriodsOrdersAndTopRows) {
    struct Case {
        SalesSummary::Options options;
        std::string expected;
    };
    const Case cases[] = {
        {options(By::Day), "2026-12-07 2 3.500 13.00 32.5%|2026-12-08 1 0.500 1.00 2.5%|"
                           "2026-12-13 2 4.000 20.00 50.0%|(unknown) 1 1.000 6.00 15.0%|= 6 40.00"},
        {options(By::Hour),
         "08:00 2 2.000 4.00 10.0%|09:00 1 2.000 10.00 25.0%|21:00 2 4.000 20.00 50.0%|"
         "(unknown) 1 1.000 6.00 15.0%|= 6 40.00"},
        {options(By::Weekday),
         "Monday 2 3.500 13.00 32.5%|Tuesday 1 0.500 1.00 2.5%|Sunday 2 4.000 20.00 50.0%|"
         "(unknown) 1 1.000 6.00 15.0%|= 6 40.00"},
        // A period leaves out the rows without a date; both ends are included.
        {options(By::Day, "2026-12-08", "2026-12-13"),
         "2026-12-08 1 0.500 1.00 4.8%|2026-12-13 2 4.000 20.00 95.2%|= 3 21.00"},
        {options(By::Day, "", "2026-12-07"), "2026-12-07 2 3.500 13.00 100.0%|= 2 13.00"},
        {options(By::Day, "2026-12-14"), "= 0 0.00"},
        {options(By::Commodity, "", "", Order::Amount),
         "Milk 1 3.000 20.00 50.0%|Pear 2 3.000 16.00 40.0%|Apple 2 2.000 4.00 10.0%|"
         "苹果 1 1.000 0.00 0.0%|= 6 40.00"},
        // Names are grouped by their bytes, in byte order.
        {options(By::Commodity),
         "Apple 2 2.000 4.00 10.0%|Milk 1 3.000 20.00 50.0%|Pear 2 3.000 16.00 40.0%|"
         "苹果 1 1.000 0.00 0.0%|= 6 40.00"},
        // The top rows are the largest amounts, shown in the order asked; the rest is one row.
        {options(By::Commodity, "", "", Order::Key, 2),
         "Milk 1 3.000 20.00 50.0%|Pear 2 3.000 16.00 40.0%|Other 3 3.000 4.00 10.0%|= 6 40.00"},
        {options(By::Day, "", "", Order::Key, 3),
         "2026-12-07 2 3.500 13.00 32.5%|2026-12-13 2 4.000 20.00 50.0%|"
         "(unknown) 1 1.000 6.00 15.0%|Other 1 0.500 1.00 2.5%|= 6 40.00"},
        {options(By::Commodity, "", "", Order::Amount, 4),
         "Milk 1 3.000 20.00 50.0%|Pear 2 3.000 16.00 40.0%|Apple 2 2.000 4.00 10.0%|"
         "苹果 1 1.000 0.00 0.0%|= 6 40.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(show(SalesSummary::make(kSales, c.options)), c.expected)
            << "by " << static_cast<int>(c.options.by) << " from '" << c.options.from << "' to '"
            << c.options.to << "' top " << c.options.top;
}

// A year of sales whose amounts are awkward sums in binary (0.1, 0.07, 1e-3 steps), some with
// signs and exponents: each day's amount is the list's total of that day, to the cent and bit.
TEST(SalesSummary, EachDayEqualsTheListTotalOfThatDay) {
    std::string bytes;
    char line[128];
    int day = 0;
    for (int month = 1; month <= 12; ++month)
        for (int mday = 1; mday <= 31; ++mday) {
            if ((month == 2 && mday > 28) ||
                (mday == 31 && (month == 4 || month == 6 || month == 9 || month == 11)))
                continue;
            ++day;
            for (int sale = 0; sale < 20 + day % 13; ++sale) {
                const int cents = (day * 7919 + sale * 104729) % 99991 - 500;
                const char* form = sale % 7 == 0 ? "%+d.%03de0" : "%d.%03d";
                char amount[32];
                std::snprintf(amount, sizeof amount, form, cents / 100, std::abs(cents % 100) * 10);
                std::snprintf(line, sizeof line,
                              "2026-%02d-%02d %02d:%02d:00\f%c\f0.1\f0.07\f%s\r\n", month, mday,
                              8 + sale % 12, sale % 60, 'A' + sale % 5, amount);
                bytes += line;
            }
        }
    const SalesRecords records = SalesRecords::fromBytes(std::move(bytes));
    const SalesSummary summary = SalesSummary::make(records, options(By::Day));
    ASSERT_EQ(summary.groups().size(), 365u);
    for (const auto& group : summary.groups()) {
        const SalesSelection shown = SalesQuery{group.key, ""}.run(records);
        EXPECT_EQ(group.count, shown.size()) << group.key;
        EXPECT_EQ(group.amount, SalesTotal::sum(shown)) << group.key;
        EXPECT_EQ(SalesSummary::amountText(group.amount), SalesTotal::text(shown)) << group.key;
    }
    EXPECT_EQ(summary.total().amount, SalesTotal::sum(records));
}
