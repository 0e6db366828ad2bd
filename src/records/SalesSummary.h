#pragma once
// Sales at a glance: the rows of a period grouped by day, by hour of the day, by weekday or by
// commodity name, each group with its number of sales, quantity, amount and share of the amount.
// Amounts are read and added as the record list's total adds them (SalesTotal), row by row in list
// order, so a day's amount here equals the list's total for that day to the last bit.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "SalesRows.h"
#include "common/Language.h"

namespace korvan {

class SalesSummary {
public:
    enum class Grouping { Day, Hour, Weekday, Commodity };
    enum class Order { Key, Amount };

    struct Options {
        Grouping by = Grouping::Day;
        // Dates as the Date box takes them (YYYY-MM-DD), both included; empty leaves that end
        // open. With either end set, a row whose time does not start with a date is left out.
        std::string from;
        std::string to;
        Order order = Order::Key;
        // The groups of the largest amounts, the rest added up in one "other" row; 0 keeps all.
        std::size_t top = 0;
    };

    struct Group {
        // Day: "YYYY-MM-DD"; hour: "00" to "23"; weekday: "1" (Monday) to "7"; commodity: the
        // name's bytes (GBK). Empty for rows whose time does not say (see kUnknown), and for the
        // "other" row.
        std::string key;
        bool other = false;
        std::size_t count = 0;
        double quantity = 0; // field 2, read as the total reads field 4
        double amount = 0;   // field 4
        double share = 0;    // of the amount of every row summed, 0 to 1
    };

    // Commodities are ranked by amount; times read best in their own order.
    static Order usualOrder(Grouping by) {
        return by == Grouping::Commodity ? Order::Amount : Order::Key;
    }

    static SalesSummary make(const SalesRows& rows, const Options& options);

    const std::vector<Group>& groups() const { return groups_; }
    // Every row of the period added up (its share is 1, or 0 when the amount is 0).
    const Group& total() const { return total_; }
    Grouping grouping() const { return by_; }

    // A group's key as the operator reads it (UTF-8): the weekday's name, the hour as "08:00",
    // the name decoded; the other row and an unknown key get their captions.
    std::string label(const Group& group, Lang lang) const;

    // Parses "day", "hour", "weekday" or "commodity"; false for anything else.
    static bool parseGrouping(std::string_view word, Grouping& by);
    static const Tr& groupingName(Grouping by);
    // The captions of the key column, the figures and the totals row.
    static const Tr& keyCaption(Grouping by);
    static constexpr Tr kCount{"笔数", "Sales"};
    static constexpr Tr kQuantity{"重量/数量", "N.W/Q'TY"};
    static constexpr Tr kAmount{"金额", "Amount"};
    static constexpr Tr kShare{"占比", "Share"};
    static constexpr Tr kTotal{"合计", "Total"};
    static constexpr Tr kOther{"其他", "Other"};
    static constexpr Tr kUnknown{"(未知)", "(unknown)"};

    // Figures as the tables print them, with a point whatever the locale: the quantity with three
    // decimals, the amount with two (as the list's total), the share as a percentage with one.
    static std::string quantityText(double quantity);
    static std::string amountText(double amount);
    static std::string shareText(double share);

private:
    Grouping by_ = Grouping::Day;
    std::vector<Group> groups_;
    Group total_;
};

} // namespace korvan
