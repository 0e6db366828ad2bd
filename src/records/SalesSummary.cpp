#include "SalesSummary.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <functional>
#include <unordered_map>

#include "SalesQuery.h"
#include "SalesTotal.h"
#include "common/TextCodec.h"

namespace korvan {
namespace {

// Times the scale sends: "YYYY-MM-DD HH:MM:SS".
constexpr std::size_t kHourAt = 11;
constexpr std::string_view kWeekdayKeys = "1234567";

struct KeyHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const {
        return std::hash<std::string_view>{}(key);
    }
};

int digits(std::string_view text) {
    int value = 0;
    for (char c : text)
        value = value * 10 + (c - '0');
    return value;
}

// "1" (Monday) to "7", or empty for a date that is not a day of the calendar.
std::string_view weekdayKey(std::string_view date) {
    using namespace std::chrono;
    const year_month_day day{year{digits(date.substr(0, 4))},
                             month{static_cast<unsigned>(digits(date.substr(5, 2)))},
                             std::chrono::day{static_cast<unsigned>(digits(date.substr(8, 2)))}};
    if (!day.ok())
        return {};
    return kWeekdayKeys.substr(weekday(sys_days(day)).iso_encoding() - 1, 1);
}

std::string_view hourKey(std::string_view time) {
    if (time.size() < kHourAt + 2 || !SalesQuery::isDate(SalesQuery::dateKey(time)) ||
        time[kHourAt - 1] != ' ')
        return {};
    const std::string_view hour = time.substr(kHourAt, 2);
    if (hour[0] < '0' || hour[0] > '2' || hour[1] < '0' || hour[1] > '9' || digits(hour) > 23)
        return {};
    return hour;
}

// Empty keys (times that say nothing of the group) go last.
bool keyBefore(const SalesSummary::Group& a, const SalesSummary::Group& b) {
    if (a.key.empty() != b.key.empty())
        return b.key.empty();
    return a.key < b.key;
}

bool amountBefore(const SalesSummary::Group& a, const SalesSummary::Group& b) {
    if (a.amount != b.amount)
        return a.amount > b.amount;
    return keyBefore(a, b);
}

void add(SalesSummary::Group& group, double quantity, double amount) {
    ++group.count;
    group.quantity += quantity;
    group.amount += amount;
}

} // namespace

SalesSummary SalesSummary::make(const SalesRows& rows, const Options& options) {
    SalesSummary summary;
    summary.by_ = options.by;
    std::vector<Group>& groups = summary.groups_;
    std::unordered_map<std::string, std::size_t, KeyHash, std::equal_to<>> index;
    const bool period = !options.from.empty() || !options.to.empty();
    std::size_t last = 0; // the group of the row before: rows of one day come together
    std::string_view lastDate, lastWeekday;

    const std::size_t size = rows.size();
    for (std::size_t row = 0; row < size; ++row) {
        const std::string_view time = rows.field(row, 0);
        const std::string_view date = SalesQuery::dateKey(time);
        const bool dated = SalesQuery::isDate(date);
        if (period && (!dated || (!options.from.empty() && date < options.from) ||
                       (!options.to.empty() && date > options.to)))
            continue;

        std::string_view key;
        switch (options.by) {
        case Grouping::Day:
            key = dated ? date : std::string_view();
            break;
        case Grouping::Hour:
            key = hourKey(time);
            break;
        case Grouping::Weekday:
            if (dated && date != lastDate) {
                lastDate = date;
                lastWeekday = weekdayKey(date);
            }
            key = dated ? lastWeekday : std::string_view();
            break;
        case Grouping::Commodity:
            key = rows.field(row, 1);
            break;
        }

        if (groups.empty() || groups[last].key != key) {
            auto found = index.find(key);
            if (found == index.end()) {
                found = index.emplace(std::string(key), groups.size()).first;
                groups.push_back(Group{std::string(key)});
            }
            last = found->second;
        }
        const double quantity = SalesTotal::value(rows.field(row, 2));
        const double amount = SalesTotal::value(rows.field(row, SalesRows::kFields - 1));
        add(groups[last], quantity, amount);
        add(summary.total_, quantity, amount);
    }

    if (options.top > 0 && groups.size() > options.top) {
        std::sort(groups.begin(), groups.end(), amountBefore);
        Group other;
        other.other = true;
        for (std::size_t i = options.top; i < groups.size(); ++i) {
            other.count += groups[i].count;
            other.quantity += groups[i].quantity;
            other.amount += groups[i].amount;
        }
        groups.resize(options.top);
        groups.push_back(std::move(other));
    }
    const auto sorted = groups.end() - (!groups.empty() && groups.back().other ? 1 : 0);
    std::sort(groups.begin(), sorted, options.order == Order::Amount ? amountBefore : keyBefore);

    const double whole = summary.total_.amount;
    for (Group& group : groups)
        group.share = whole != 0 ? group.amount / whole : 0;
    summary.total_.share = whole != 0 ? 1 : 0;
    return summary;
}

std::string SalesSummary::label(const Group& group, Lang lang) const {
    static constexpr std::array<Tr, 7> kWeekdays{{{"星期一", "Monday"},
                                                  {"星期二", "Tuesday"},
                                                  {"星期三", "Wednesday"},
                                                  {"星期四", "Thursday"},
                                                  {"星期五", "Friday"},
                                                  {"星期六", "Saturday"},
                                                  {"星期日", "Sunday"}}};
    if (group.other)
        return kOther.get(lang);
    if (by_ == Grouping::Commodity)
        return TextCodec::toUtf8Lossy(group.key);
    if (group.key.empty())
        return kUnknown.get(lang);
    switch (by_) {
    case Grouping::Hour:
        return group.key + ":00";
    case Grouping::Weekday:
        return kWeekdays[static_cast<std::size_t>(group.key[0] - '1')].get(lang);
    default:
        return group.key;
    }
}

bool SalesSummary::parseGrouping(std::string_view word, Grouping& by) {
    static constexpr std::array<std::pair<std::string_view, Grouping>, 4> kWords{{
        {"day", Grouping::Day},
        {"hour", Grouping::Hour},
        {"weekday", Grouping::Weekday},
        {"commodity", Grouping::Commodity},
    }};
    for (const auto& [name, grouping] : kWords)
        if (word == name) {
            by = grouping;
            return true;
        }
    return false;
}

const Tr& SalesSummary::groupingName(Grouping by) {
    static constexpr std::array<Tr, 4> kNames{{{"按日", "By day"},
                                               {"按小时", "By hour"},
                                               {"按星期", "By weekday"},
                                               {"按商品", "By commodity"}}};
    return kNames[static_cast<std::size_t>(by)];
}

const Tr& SalesSummary::keyCaption(Grouping by) {
    static constexpr std::array<Tr, 4> kCaptions{
        {{"日期", "Day"}, {"小时", "Hour"}, {"星期", "Weekday"}, {"商品名", "Commodity Name"}}};
    return kCaptions[static_cast<std::size_t>(by)];
}

std::string SalesSummary::quantityText(double quantity) {
    return SalesTotal::fixed(quantity, 3);
}

std::string SalesSummary::amountText(double amount) {
    return SalesTotal::fixed(amount, 2);
}

std::string SalesSummary::shareText(double share) {
    return SalesTotal::fixed(share * 100, 1) + "%";
}

} // namespace korvan
