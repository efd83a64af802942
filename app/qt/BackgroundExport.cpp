#include "app/qt/BackgroundExport.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <exception>
#include <memory>
#include <thread>
#include <utility>

namespace {

int g_progressDelayMs = 400;

// What the worker and the waiting window share. The window waits until the
// worker has finished, so the worker may refer to the window's services.
struct ExportJob {
    TraceStore store; // a copy sharing the window's arrays
    ExportChoices choices;
    std::string recordingPath;
    ExportOptions options;
    ExportOutcome outcome;
    std::atomic<int> percent{0};
    std::atomic<bool> cancel{false};
    std::atomic<bool> done{false};
};

std::shared_ptr<ExportJob> g_running;

// Runs `call` on the thread of `context` and returns its result: directly when
// already there (a service may call another, as printing asks about the PDF),
// else queued to that thread, whose event loop runs it while this thread waits.
template <class Result, class Call> Result OnThreadOf(QObject* context, const Call& call) {
    if (QThread::currentThread() == context->thread())
        return call();
    Result result{};
    QMetaObject::invokeMethod(
        context, [&result, &call] { result = call(); }, Qt::BlockingQueuedConnection);
    return result;
}

class WindowThreadPrinter : public IChartPrinter {
public:
    WindowThreadPrinter(IChartPrinter& printer, QObject& context)
        : m_printer(printer), m_context(context) {}
    PrintOutcome PrintChartSheets(const Workbook& workbook, const std::string& pdfFallbackPath,
                                  const std::function<bool()>& mayReplacePdf) override {
        return OnThreadOf<PrintOutcome>(&m_context, [&] {
            return m_printer.PrintChartSheets(workbook, pdfFallbackPath, mayReplacePdf);
        });
    }

private:
    IChartPrinter& m_printer;
    QObject& m_context;
};

class WindowThreadOpener : public IWorkbookOpener {
public:
    WindowThreadOpener(IWorkbookOpener& opener, QObject& context)
        : m_opener(opener), m_context(context) {}
    std::optional<Notice> OpenWorkbook(const std::string& path) override {
        return OnThreadOf<std::optional<Notice>>(&m_context,
                                                 [&] { return m_opener.OpenWorkbook(path); });
    }

private:
    IWorkbookOpener& m_opener;
    QObject& m_context;
};

// The worker's part: the whole export, with the services brought to the
// thread of `context`.
void RunJob(ExportJob& job, IChartPrinter* printer, IWorkbookOpener* opener, QObject& context) {
    std::optional<WindowThreadPrinter> windowPrinter;
    std::optional<WindowThreadOpener> windowOpener;
    if (printer)
        windowPrinter.emplace(*printer, context);
    if (opener)
        windowOpener.emplace(*opener, context);
    if (auto ask = job.options.askReplace) {
        job.options.askReplace = [ask, &context](const Notice& question) {
            return OnThreadOf<bool>(&context, [&] { return ask(question); });
        };
    }
    job.options.progress = [&job](int percent) {
        job.percent = percent;
        return !job.cancel;
    };
    CExcelExport exporter(windowPrinter ? &*windowPrinter : nullptr,
                          windowOpener ? &*windowOpener : nullptr);
    job.outcome = exporter.ExportResults(job.store, job.choices, job.recordingPath, job.options);
}

std::unique_ptr<QProgressDialog> MakeProgressWindow(QWidget* parent, ExportJob& job) {
    auto progress = std::make_unique<QProgressDialog>(QObject::tr("Writing the workbook..."),
                                                      QObject::tr("Cancel"), 0, 100, parent);
    progress->setObjectName(QStringLiteral("exportProgress"));
    progress->setWindowTitle(QObject::tr("Tessaran"));
    progress->setWindowModality(Qt::WindowModal);
    progress->setAutoReset(false);
    progress->setAutoClose(false);
    progress->setMinimumDuration(g_progressDelayMs);
    QProgressDialog* dialog = progress.get();
    QObject::connect(dialog, &QProgressDialog::canceled, dialog, [dialog, &job] {
        job.cancel = true;
        dialog->setLabelText(QObject::tr("Cancelling the export..."));
    });
    return progress;
}

} // namespace

int CBackgroundExport::SetProgressDelay(int milliseconds) {
    return std::exchange(g_progressDelayMs, milliseconds);
}

bool CBackgroundExport::IsRunning() {
    return g_running != nullptr;
}

void CBackgroundExport::CancelRunning() {
    if (g_running)
        g_running->cancel = true;
}

ExportOutcome CBackgroundExport::Run(const TraceStore& store, const ExportChoices& choices,
                                     const std::string& recordingPath, ExportOptions options,
                                     IChartPrinter* printer, IWorkbookOpener* opener,
                                     QWidget* parent, bool* showedProgress) {
    auto job = std::make_shared<ExportJob>();
    job->store = store;
    job->choices = choices;
    job->recordingPath = recordingPath;
    job->options = std::move(options);

    QEventLoop loop;
    const std::unique_ptr<QProgressDialog> progress = MakeProgressWindow(parent, *job);
    bool shown = false;
    QTimer poll;
    poll.setInterval(15);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (job->done) {
            loop.quit();
            return;
        }
        if (progress->value() != job->percent)
            progress->setValue(job->percent);
        shown = shown || progress->isVisible();
    });
    g_running = job;
    progress->setValue(0);
    std::thread worker([job, printer, opener, &loop] {
        try {
            RunJob(*job, printer, opener, loop);
        } catch (const std::exception& error) {
            job->outcome.notices.push_back({std::string("The export failed: ") + error.what(),
                                            "Error", MessageIcon::Exclamation});
        }
        job->done = true;
    });
    poll.start();
    // The loop ends when the worker is done, or early when the application
    // quits; the worker may then still wait for a service of this thread.
    while (!job->done) {
        loop.exec();
        if (!job->done)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    worker.join();
    g_running = nullptr;
    progress->reset();
    if (showedProgress)
        *showedProgress = shown;
    return std::move(job->outcome);
}
