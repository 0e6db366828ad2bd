#include "CSalesSummaryDlg.h"
#include "ui_CSalesSummaryDlg.h"

#include <QApplication>
#include <QBarSet>
#include <QChartView>
#include <QGraphicsScene>
#include <QHeaderView>
#include <QToolTip>

#include "SummaryChart.h"
#include "common/Prompt.h"
#include "common/ui/ByteLimitValidator.h"
#include "common/ui/QtText.h"
#include "records/PrintLayout.h"
#include "records/SalesCaptions.h"
#include "records/SalesQuery.h"
#include "records/SalesSummaryOutput.h"
#include "records/SalesSummaryRows.h"
#include "records/ui/PrintPages.h"
#include "sheets/Workbook.h"

namespace korvan {
namespace {

const Tr kTitle{"销售汇总", "Sales Summary"};
const Tr kFrom{"从", "From"};
const Tr kTo{"到", "To"};
const Tr kBy{"分组", "Group"};
const Tr kTop{"前", "Top"};
const Tr kAll{"全部", "All"};
const Tr kExport{"导出", "Export"};
const Tr kPrint{"打印", "Print"};
const Tr kClose{"关闭", "Close"};

constexpr SalesSummary::Grouping kGroupings[] = {
    SalesSummary::Grouping::Day, SalesSummary::Grouping::Hour, SalesSummary::Grouping::Weekday,
    SalesSummary::Grouping::Commodity};
// The chart is laid out at this width before it is scaled onto the page.
constexpr double kPrintedChartWidth = 1000;

} // namespace

CSalesSummaryDlg::CSalesSummaryDlg(const SalesRows& rows, Opener opener, QWidget* parent)
    : DataEntryDialog(parent), ui_(std::make_unique<Ui::CSalesSummaryDlg>()), rows_(rows),
      opener_(std::move(opener)), lang_(Language::current()), chartView_(new QChartView) {
    ui_->setupUi(this);
    chartView_->setObjectName(QStringLiteral("chartView"));
    chartView_->setRenderHint(QPainter::Antialiasing);
    ui_->chartLayout->addWidget(chartView_);
    ui_->summaryTable->setColumnCount(static_cast<int>(SalesRows::kFields));
    ui_->summaryTable->verticalHeader()->hide();
    ui_->summaryTable->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    ui_->summaryTable->horizontalHeader()->setStretchLastSection(true);
    ByteLimitValidator::apply(ui_->fromEdit, SalesQuery::kDateKeyBytes);
    ByteLimitValidator::apply(ui_->toEdit, SalesQuery::kDateKeyBytes);
    for (SalesSummary::Grouping by : kGroupings)
        ui_->byCombo->addItem(qtr(SalesSummary::groupingName(by), lang_));
    setCaptions();
    settleButtons();

    connect(ui_->fromEdit, &QLineEdit::textChanged, this, [this] { refresh(); });
    connect(ui_->toEdit, &QLineEdit::textChanged, this, [this] { refresh(); });
    connect(ui_->byCombo, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    connect(ui_->topSpin, &QSpinBox::valueChanged, this, [this] { refresh(); });
    connect(ui_->exportButton, &QPushButton::clicked, this, &CSalesSummaryDlg::onExport);
    connect(ui_->printButton, &QPushButton::clicked, this, &CSalesSummaryDlg::onPrint);
    connect(ui_->closeButton, &QPushButton::clicked, this, &CSalesSummaryDlg::reject);
    refresh();
}

CSalesSummaryDlg::~CSalesSummaryDlg() = default;

void CSalesSummaryDlg::setCaptions() {
    setWindowTitle(qtr(kTitle, lang_));
    ui_->fromCaption->setText(qtr(kFrom, lang_));
    ui_->toCaption->setText(qtr(kTo, lang_));
    ui_->byCaption->setText(qtr(kBy, lang_));
    ui_->topCaption->setText(qtr(kTop, lang_));
    ui_->topSpin->setSpecialValueText(qtr(kAll, lang_));
    ui_->exportButton->setText(qtr(kExport, lang_));
    ui_->printButton->setText(qtr(kPrint, lang_));
    ui_->closeButton->setText(qtr(kClose, lang_));
}

void CSalesSummaryDlg::refresh() {
    SalesSummary::Options options;
    options.from = ui_->fromEdit->text().toStdString();
    options.to = ui_->toEdit->text().toStdString();
    for (const std::string* date : {&options.from, &options.to})
        if (!date->empty() && !SalesQuery::isDate(*date)) {
            ui_->dateProblem->setText(qtr(SalesQuery::dateFormatMessage(), lang_));
            return;
        }
    ui_->dateProblem->clear();
    options.by = kGroupings[std::max(0, ui_->byCombo->currentIndex())];
    options.order = SalesSummary::usualOrder(options.by);
    options.top = static_cast<std::size_t>(ui_->topSpin->value());
    summary_ = SalesSummary::make(rows_, options);
    showTable();
    showChart();
}

void CSalesSummaryDlg::showTable() {
    QTableWidget* table = ui_->summaryTable;
    const auto captions = SalesSummaryRows::captions(summary_, lang_);
    QStringList headers;
    for (const std::string& caption : captions)
        headers << qtr(caption);
    table->setHorizontalHeaderLabels(headers);
    const auto cells = SalesSummaryOutput::table(summary_, lang_); // caption row first
    table->setRowCount(static_cast<int>(cells.size() - 1));
    QFont bold = table->font();
    bold.setBold(true);
    for (std::size_t r = 1; r < cells.size(); ++r)
        for (std::size_t c = 0; c < SalesRows::kFields; ++c) {
            auto* item = new QTableWidgetItem(qtr(cells[r][c]));
            if (c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (r + 1 == cells.size())
                item->setFont(bold); // the totals
            table->setItem(static_cast<int>(r - 1), static_cast<int>(c), item);
        }
    table->resizeColumnsToContents();
}

void CSalesSummaryDlg::showChart() {
    QChart* old = chartView_->chart();
    QChart* chart = SummaryChart::make(summary_, lang_);
    if (QBarSet* bars = SummaryChart::bars(*chart))
        connect(bars, &QBarSet::hovered, this, [this](bool over, int index) {
            const QString text =
                over ? SummaryChart::figures(summary_, static_cast<std::size_t>(index), lang_)
                     : QString();
            ui_->hoverLabel->setText(text);
            if (text.isEmpty())
                QToolTip::hideText();
            else
                QToolTip::showText(QCursor::pos(), text, chartView_);
        });
    ui_->hoverLabel->clear(); // the bar it named is gone
    chartView_->setChart(chart);
    delete old; // the view leaves a chart it no longer shows to its owner
}

void CSalesSummaryDlg::paintChart(QPainter& painter, const QRectF& target) const {
    QGraphicsScene scene;
    QChart* chart = SummaryChart::make(summary_, lang_);
    scene.addItem(chart); // the scene owns it now
    const QSizeF size(kPrintedChartWidth, kPrintedChartWidth * target.height() / target.width());
    chart->resize(size);
    scene.setSceneRect(QRectF(QPointF(), size));
    scene.render(&painter, target, scene.sceneRect());
}

void CSalesSummaryDlg::onExport() {
    if (summary_.groups().empty()) {
        Prompt::showMessage(SalesCaptions::kNoRecord.get(lang_));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Loaded<std::filesystem::path> file = Workbook::newTemporaryFile("korvan-summary-");
    const IoResult written =
        file ? SalesSummaryOutput::write(file.value, summary_, lang_) : file.result;
    QApplication::restoreOverrideCursor();
    if (!written) {
        Prompt::showMessage(written.message());
        return;
    }
    opener_(QString::fromStdString(file.value.string()),
            [message = SalesCaptions::kNoProgram.get(lang_) + file.value.string()](bool opened) {
                if (!opened)
                    Prompt::showMessage(message);
            });
}

void CSalesSummaryDlg::onPrint() {
    if (summary_.groups().empty()) {
        Prompt::showMessage(SalesCaptions::kNoRecord.get(lang_));
        return;
    }
    const SalesSummaryRows rows(summary_, lang_);
    const PrintLayout layout(rows,
                             {kTitle.get(lang_) + std::string(" - ") +
                                  SalesSummary::groupingName(summary_.grouping()).get(lang_),
                              SalesSummaryRows::captions(summary_, lang_)},
                             SalesSummary::amountText(summary_.total().amount));
    PrintPages::print(this, layout, lang_, [this](QPainter& painter, const QRectF& page) {
        // The chart across the top half of its page, inside the list's margins.
        const double margin = PrintLayout::kSeparatorX;
        paintChart(painter, QRectF(page.left() + margin, page.top() + margin,
                                   page.width() - 2 * margin, page.height() / 2));
    });
}

} // namespace korvan
