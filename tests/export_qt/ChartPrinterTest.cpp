// Printing the chart sheets with Qt Charts (the same series, axes, colours,
// fonts and titles as the workbook), one landscape page each, into a PDF where
// no printer is installed; and the hand-over to the desktop.
#include "export/qt/ChartPrinter.h"
#include "export/WorkbookFiles.h"
#include "export/qt/DesktopExport.h"
#include "export/qt/QtChartBuilder.h"
#include "tests/export/ExportFixtures.h"
#include "tests/export_qt/UrlRecorder.h"
#include "tests/support/TempDir.h"

#include "platform/Messages.h"
#include "tests/support/RecordingMessageSink.h"

#include <QFile>
#include <QRegularExpression>
#include <QtCharts/QSplineSeries>
#include <QtCharts/QValueAxis>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// The workbook the driver would print for `store` (every category).
Workbook MakeWorkbook(const TraceStore& store) {
    fixtures::FakeDesktop desktop;
    ExportOptions options;
    options.autoSave = false;
    CExcelExport(&desktop, nullptr)
        .ExportResults(store, fixtures::AllCategories(store), "/data/cell.abf", options);
    return desktop.lastPrinted;
}

const ChartSheet& Chart(const Workbook& workbook, const std::string& name) {
    for (const ChartSheet* chart : workbook.ChartSheets())
        if (chart->name == name)
            return *chart;
    throw std::runtime_error("no chart " + name);
}

QValueAxis* Axis(QChart& chart, Qt::Orientation orientation) {
    const auto axes = chart.axes(orientation);
    return axes.isEmpty() ? nullptr : qobject_cast<QValueAxis*>(axes.first());
}

// "family pixel-size bold" of `font`.
QString Describe(const QFont& font) {
    return QStringLiteral("%1 %2 %3")
        .arg(font.family())
        .arg(font.pixelSize())
        .arg(int(font.bold()));
}

class PrintedCharts : public ::testing::Test {
protected:
    TraceStore store = fixtures::ModelStore(4);
    Workbook workbook = MakeWorkbook(store);
};

TEST_F(PrintedCharts, CurrentVoltageChartCarriesTheWorkbooksSeriesScaleAndColours) {
    auto chart = BuildQtChart(Chart(workbook, "IV Graph"), workbook);
    const auto series = chart->series();
    ASSERT_EQ(series.size(), 4);
    const QList<QColor> colours = {Qt::green, Qt::blue, QColor(0, 128, 0), Qt::red};
    const Worksheet* data = workbook.FindWorksheet("IV Data");
    ASSERT_NE(data, nullptr);
    for (int s = 0; s < 4; ++s) {
        auto* spline = qobject_cast<QSplineSeries*>(series[s]);
        ASSERT_NE(spline, nullptr) << "smoothed lines";
        EXPECT_EQ(spline->name(), QString::number(s + 1));
        EXPECT_EQ(spline->pen().color(), colours[s]);
        ASSERT_EQ(spline->count(), static_cast<int>(data->dataRows));
        EXPECT_EQ(spline->at(0), QPointF(data->dataColumns[0][0], data->dataColumns[s + 1][0]));
    }
    QValueAxis* x = Axis(*chart, Qt::Horizontal);
    ASSERT_TRUE(x && Axis(*chart, Qt::Vertical));
    EXPECT_EQ(QPointF(x->min(), x->max()), QPointF(-80, 50));
    EXPECT_EQ(x->tickInterval(), 10.0);
    EXPECT_EQ(x->minorTickCount(), 1); // minor unit 5
    EXPECT_EQ(Describe(Axis(*chart, Qt::Vertical)->labelsFont()), "Arial 12 0");
    EXPECT_EQ(chart->title(), "cell&nbsp;&nbsp;IV"); // rich text, both blanks kept
    EXPECT_EQ(Describe(chart->titleFont()), "Arial 16 0");
}

TEST_F(PrintedCharts, WithoutAPrinterOneLandscapePagePerChartGoesToThePdf) {
    TempDir dir;
    QtChartPrinter printer([] { return QPrinterInfo(); });
    const PrintOutcome unwritable =
        printer.PrintChartSheets(workbook, dir.file("missing/cell.abf.charts.pdf"), {});
    EXPECT_FALSE(unwritable.printed);
    EXPECT_NE(unwritable.error.find("No such file or directory"), std::string::npos);

    const std::string pdf = dir.file("cell.abf.charts.pdf");
    const PrintOutcome outcome = printer.PrintChartSheets(workbook, pdf, {});
    EXPECT_TRUE(outcome.printed) << outcome.error;
    EXPECT_EQ(outcome.pdfPath, pdf);
    QFile file(QString::fromStdString(pdf));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // Landscape: every media box is wider than high.
    const QRegularExpression box("/MediaBox\\s*\\[\\s*0\\s+0\\s+([\\d.]+)\\s+([\\d.]+)");
    int pages = 0;
    for (auto boxes = box.globalMatch(QString::fromLatin1(file.readAll())); boxes.hasNext();
         ++pages) {
        const auto match = boxes.next();
        EXPECT_GT(match.captured(1).toDouble(), match.captured(2).toDouble());
    }
    EXPECT_EQ(pages, 5);
    // Only the PDF is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

// An existing PDF is replaced only when the caller allows it (the files' rule,
// with the permission bits it keeps, is the workbook's).
TEST_F(PrintedCharts, AnExistingPdfIsReplacedOnlyWhenAllowed) {
    TempDir dir;
    QtChartPrinter printer([] { return QPrinterInfo(); });
    const std::string pdf = dir.file("cell.abf.charts.pdf");
    std::ofstream(pdf) << "keep me";
    for (const std::function<bool()>& mayReplace :
         std::vector<std::function<bool()>>{{}, [] { return false; }})
        EXPECT_TRUE(printer.PrintChartSheets(workbook, pdf, mayReplace).keptExisting);
    EXPECT_EQ(fixtures::ReadFile(pdf), "keep me");
    EXPECT_TRUE(printer.PrintChartSheets(workbook, pdf, [] { return true; }).printed);
    EXPECT_EQ(fixtures::ReadFile(pdf).substr(0, 5), "%PDF-");
}

TEST(DesktopHandOver, TheWorkbookIsOpenedThroughTheDesktopsUrlHandling) {
    TempDir dir;
    TempDir temp;
    fixtures::ScopedEnv tmpdir("TMPDIR", temp.path().string());
    RecordingMessageSink messages;
    UrlRecorder urls;
    TraceStore store = fixtures::ModelStore(2);
    // Saved: the saved file is opened; not saved: the copy in the user's temporary folder.
    for (bool save : {true, false})
        ExportResultsOnDesktop(store, fixtures::AllCategories(store), dir.file("cell.abf"), save,
                               false, save ? 1 : 0);
    ASSERT_EQ(urls.urls.size(), 2);
    EXPECT_EQ(urls.urls[0], QUrl::fromLocalFile(QString::fromStdString(dir.file("cell.abf.xlsx"))));
    EXPECT_TRUE(
        urls.urls[1].toLocalFile().startsWith(QString::fromStdString(temp.path().string())));
    EXPECT_TRUE(std::filesystem::exists(urls.urls[1].toLocalFile().toStdString()));
    EXPECT_TRUE(messages.messages.empty());
}

} // namespace
