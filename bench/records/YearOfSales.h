#pragma once
// A year of sales from a busy scale: record/dzcjl.rec of 1,000,000 lines in a scratch folder,
// written once per benchmark program and removed when it ends.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace korvan::bench {

inline constexpr int kLines = 1'000'000;

// The generated file, in a scratch folder removed when the benchmarks end.
class YearOfSales {
public:
    YearOfSales() {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "korvan-sales-bench-XXXXXX").string();
        folder_ = ::mkdtemp(tmpl.data());
        file_ = folder_ / "record" / "dzcjl.rec";
        std::filesystem::create_directories(file_.parent_path());
        write();
    }
    ~YearOfSales() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    const std::filesystem::path& file() const { return file_; }
    // The data folder that holds record/dzcjl.rec.
    const std::filesystem::path& folder() const { return folder_; }

    // Names of the commodities sold, GBK and ASCII; the query looks for one of them on one day.
    static constexpr const char* kNames[] = {"\xC6\xBB\xB9\xFB", // apple
                                             "\xCF\xE3\xBD\xB6", // banana
                                             "\xBC\xA6\xB5\xB0", // eggs
                                             "Pork belly",       "Beef", "Tomato",
                                             "Rice 5kg",         "Milk"};

private:
    void write() {
        std::ofstream out(file_, std::ios::binary);
        std::string chunk;
        char line[160];
        for (int i = 0; i < kLines; ++i) {
            const int day = i / 2740; // about 2740 sales a day over 365 days
            const int month = day / 31 + 1, mday = day % 31 + 1;
            const int second = (i % 2740) * 20 + 28800; // from 08:00 on
            // Prices and weights spread by primes; 64-bit, as i times a prime passes INT_MAX.
            const int cents = 100 + static_cast<int>(i * 7919LL % 9900);
            const int grams = 100 + static_cast<int>(i * 104729LL % 4900);
            std::snprintf(line, sizeof line,
                          "2026-%02d-%02d %02d:%02d:%02d\f%s\f%d.%03d\f%d.%02d\f%d.%02d\r\n", month,
                          mday, second / 3600, second / 60 % 60, second % 60,
                          kNames[i % std::size(kNames)], grams / 1000, grams % 1000, cents / 100,
                          cents % 100, cents * grams / 100000, cents * grams / 1000 % 100);
            chunk += line;
            if (chunk.size() > (1 << 20)) {
                out << chunk;
                chunk.clear();
            }
        }
        out << chunk;
    }

    std::filesystem::path folder_;
    std::filesystem::path file_;
};

inline const YearOfSales& yearOfSales() {
    static const YearOfSales sales;
    return sales;
}

// Resident and peak resident memory of the process, in MB.
inline double statusMb(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == key) {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
    }
    return 0;
}

} // namespace korvan::bench
