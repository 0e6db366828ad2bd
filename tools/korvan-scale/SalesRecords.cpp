#include "SalesRecords.h"

#include <chrono>
#include <cstdio>

#include "Wire.h"
#include "common/TextCodec.h"

namespace korvan::sim::SalesRecords {
namespace {

struct Article {
    const char* name; // UTF-8
    bool byWeight;
    long priceCents; // per kg when weighed, per piece otherwise
};

constexpr Article kArticles[] = {
    {"苹果", true, 580},  {"香蕉", true, 399},  {"猪肉", true, 2680},   {"西红柿", true, 460},
    {"鸡蛋", true, 1190}, {"大米", true, 520},  {"Apple", true, 650},   {"Pork chop", true, 3250},
    {"牛奶", false, 350}, {"面包", false, 880}, {"Yogurt", false, 490}, {"豆腐 Tofu", false, 300},
};

// A small fixed generator: the records must not depend on the library's distributions.
class XorShift {
public:
    explicit XorShift(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    std::uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    long between(long low, long high) { return low + static_cast<long>(next() % (high - low + 1)); }

private:
    std::uint32_t state_;
};

std::string money(long cents) {
    char text[32];
    std::snprintf(text, sizeof text, "%ld.%02ld", cents / 100, cents % 100);
    return text;
}

std::string timeText(std::chrono::sys_seconds at) {
    using namespace std::chrono;
    const auto day = floor<days>(at);
    const year_month_day date{day};
    const hh_mm_ss clock{at - day};
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02ld:%02ld:%02lld", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), long(clock.hours().count()),
                  long(clock.minutes().count()), static_cast<long long>(clock.seconds().count()));
    return text;
}

} // namespace

Loaded<std::vector<SalesRecord>> fromRecordFile(const std::filesystem::path& file) {
    const auto lines = RecordFile::readLines(file);
    Loaded<std::vector<SalesRecord>> loaded{{}, lines.result};
    auto& records = loaded.value;
    for (const auto& line : lines.value) {
        if (line.empty())
            continue;
        const auto fields = RecordFile::splitFields(line, 5);
        records.push_back({fields[0], fields[1], fields[2], fields[3], fields[4]});
    }
    return loaded;
}

std::vector<SalesRecord> generate(std::size_t count, std::uint32_t seed) {
    using namespace std::chrono;
    XorShift random(seed);
    std::vector<SalesRecord> records;
    records.reserve(count);
    sys_seconds at = sys_days{year{2026} / March / 1} + hours{8};
    constexpr std::size_t articleCount = sizeof kArticles / sizeof kArticles[0];
    for (std::size_t i = 0; i < count; ++i) {
        at += seconds{random.between(20, 900)};
        const Article& article = kArticles[random.next() % articleCount];
        std::string amount;
        long totalCents = 0;
        if (article.byWeight) {
            const long grams = random.between(50, 3000);
            char text[32];
            std::snprintf(text, sizeof text, "%ld.%03ld", grams / 1000, grams % 1000);
            amount = text;
            totalCents = (grams * article.priceCents + 500) / 1000; // rounded half up
        } else {
            const long pieces = random.between(1, 6);
            amount = std::to_string(pieces);
            totalCents = pieces * article.priceCents;
        }
        records.push_back({timeText(at), TextCodec::toGbk(article.name).value_or("?"), amount,
                           money(article.priceCents), money(totalCents)});
    }
    return records;
}

std::string wireLine(const SalesRecord& record) {
    std::string line;
    for (std::size_t i = 0; i < record.size(); ++i) {
        if (i > 0)
            line += wire::kSeparator;
        line += record[i];
    }
    return line += wire::kRecordEnd;
}

} // namespace korvan::sim::SalesRecords
