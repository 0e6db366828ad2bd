#pragma once
// The column chart of a summary: one bar per group (the "other" row included) for its amount.
#include <QChart>

#include "common/Language.h"
#include "records/SalesSummary.h"

class QBarSet;

namespace korvan::SummaryChart {

// A new chart (the caller owns it), without animations so a year of days draws at once.
QChart* make(const SalesSummary& summary, Lang lang);
// The bars of a chart make() made, for hovering.
QBarSet* bars(QChart& chart);
// What a bar shows when hovered: the group's label and its figures.
QString figures(const SalesSummary& summary, std::size_t group, Lang lang);

} // namespace korvan::SummaryChart
