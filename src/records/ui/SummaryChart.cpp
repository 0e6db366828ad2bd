#include "SummaryChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QPen>
#include <QValueAxis>

#include "common/ui/QtText.h"

namespace korvan::SummaryChart {
namespace {

// More categories than this and their labels would overlap: the bars' tooltips name them.
constexpr int kMaxLabelled = 62;
constexpr int kUpright = 31;

} // namespace

QChart* make(const SalesSummary& summary, Lang lang) {
    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->hide();
    // The amount is named in the title: an upright axis title draws Chinese sideways.
    QString title = qtr(SalesSummary::kAmount, lang) + QStringLiteral(" · ") +
                    qtr(SalesSummary::groupingName(summary.grouping()), lang);
    const auto& groups = summary.groups();
    // Days are too many to label each: the title gives the first and the last.
    if (summary.grouping() == SalesSummary::Grouping::Day && groups.size() > kMaxLabelled &&
        !groups.front().key.empty())
        title += QStringLiteral("  ") + qtr(summary.label(groups.front(), lang)) +
                 QStringLiteral(" – ") + qtr(summary.label(groups.back(), lang));
    chart->setTitle(title);

    auto* set = new QBarSet(qtr(SalesSummary::kAmount, lang));
    QStringList categories;
    QList<qreal> amounts;
    for (const auto& group : groups) {
        amounts.append(group.amount);
        categories.append(qtr(summary.label(group, lang)));
    }
    set->append(amounts);
    // Solid bars without an outline, so a year of thin bars still shows.
    set->setPen(Qt::NoPen);
    set->setBrush(QColor(0x3a, 0x6e, 0xa5));
    auto* series = new QBarSeries;
    series->append(set);
    series->setBarWidth(0.8);
    chart->addSeries(series);

    auto* keys = new QBarCategoryAxis;
    keys->append(categories);
    keys->setLabelsVisible(categories.size() <= kMaxLabelled);
    if (categories.size() > kUpright)
        keys->setLabelsAngle(-90);
    chart->addAxis(keys, Qt::AlignBottom);
    series->attachAxis(keys);
    auto* values = new QValueAxis;
    values->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(values, Qt::AlignLeft);
    series->attachAxis(values);
    // An empty period has no range to round.
    if (groups.empty())
        values->setRange(0, 1);
    else
        values->applyNiceNumbers();
    return chart;
}

QBarSet* bars(QChart& chart) {
    const auto series = chart.series();
    if (series.isEmpty())
        return nullptr;
    const auto sets = static_cast<QBarSeries*>(series.front())->barSets();
    return sets.isEmpty() ? nullptr : sets.front();
}

QString figures(const SalesSummary& summary, std::size_t group, Lang lang) {
    if (group >= summary.groups().size())
        return {};
    const auto& g = summary.groups()[group];
    return qtr(summary.label(g, lang)) + QStringLiteral(": ") + qtr(SalesSummary::kAmount, lang) +
           QLatin1Char(' ') + qtr(SalesSummary::amountText(g.amount)) + QStringLiteral(", ") +
           qtr(SalesSummary::kCount, lang) + QLatin1Char(' ') + QString::number(g.count) +
           QStringLiteral(", ") + qtr(SalesSummary::kQuantity, lang) + QLatin1Char(' ') +
           qtr(SalesSummary::quantityText(g.quantity)) + QStringLiteral(", ") +
           qtr(SalesSummary::kShare, lang) + QLatin1Char(' ') +
           qtr(SalesSummary::shareText(g.share));
}

} // namespace korvan::SummaryChart
