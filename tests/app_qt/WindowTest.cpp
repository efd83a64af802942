// The main window as a place to work: it grows and remembers its place, lists
// the recordings opened last, opens dropped files, answers the keyboard, and
// keeps what was typed on the visible page at exit.
#include "tests/app_qt/AppTestSupport.h"

#include "analysis/qt/PageAnalyseBase.h"
#include "app/DataFileNames.h"
#include "app/qt/BackgroundLoad.h"
#include "controls/qt/IntegerEdit.h"
#include "display/TraceDisplayModel.h"
#include "display/qt/CZoomScrollView.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace {

// Drops `path` on `window` with `modifiers` held, then lets the load run.
void Drop(QWidget* window, const std::string& path, Qt::KeyboardModifiers modifiers) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    const QPointF at(window->width() / 2.0, window->height() / 2.0);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(window, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(window, &drop);
    QCoreApplication::processEvents();
}

// The size and the recordings opened last come back in the next window.
TEST_F(MainSheetTest, TheWindowGrowsAndComesBackWhereItWasWithTheRecentFiles) {
    std::vector<std::string> paths;
    for (int i = 0; i < 3; ++i) {
        paths.push_back(data.file("cell " + std::to_string(i) + ".abf"));
        WriteShortRecording(paths.back(), 2 + i, 500);
    }
    CMainSheet* sheet = OpenSheet();
    CZoomScrollView* view = sheet->AnalysisPages()[0]->View();
    const QSize before = view->size();
    sheet->resize(1400, 900);
    QCoreApplication::processEvents();
    // The view takes the extra room, and the shared plot size follows it.
    EXPECT_GE(view->width(), before.width() + 250);
    EXPECT_GE(view->height(), before.height() + 150);
    EXPECT_EQ(int(sheet->DisplayModel()->viewWidth), view->viewport()->width() - 4);

    for (const std::string& path : paths)
        ASSERT_TRUE(sheet->OpenRecording(path));
    ASSERT_TRUE(sheet->OpenRecording(paths[0])); // moves up, not listed twice
    const std::vector<std::string> newestFirst = {Canonical(paths[0]), Canonical(paths[2]),
                                                  Canonical(paths[1])};
    EXPECT_EQ(sheet->Recent().Files(), newestFirst);
    // The next file dialog starts in the folder of the file opened last.
    EXPECT_EQ(g_dataDirectory, fs::path(Canonical(paths[0])).parent_path().string());
    ExitSheet(sheet);

    CMainSheet* second = NewSheet();
    EXPECT_EQ(second->size(), QSize(1400, 900));
    EXPECT_EQ(second->Recent().Files(), newestFirst);
    auto* menu = second->findChild<QMenu*>("recentFilesMenu");
    ASSERT_NE(menu, nullptr);
    emit second->findChild<QMenu*>("fileMenu")->aboutToShow();
    ASSERT_EQ(menu->actions().size(), 3);
    EXPECT_EQ(menu->actions()[1]->data().toString().toStdString(), Canonical(paths[2]));
    menu->actions()[1]->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(second->FileName(), Canonical(paths[2]));
    EXPECT_EQ(second->Store().traces.size(), 4u);
}

TEST_F(MainSheetTest, ADroppedRecordingOpensAndWithCtrlIsAdded) {
    const std::string first = WriteShortRecording(data.file("first.abf"), 3, 400);
    const std::string second = WriteShortRecording(data.file("second.abf"), 2, 400);
    CMainSheet* sheet = OpenSheet();
    Drop(sheet, first, Qt::NoModifier);
    EXPECT_EQ(sheet->FileName(), Canonical(first));
    EXPECT_EQ(sheet->AnalysisPages()[0]->TraceCount(), 3u);
    Drop(sheet, second, Qt::ControlModifier);
    EXPECT_EQ(sheet->FileName(), Canonical(first));
    EXPECT_EQ(sheet->Store().traces.size(), 5u);
    EXPECT_EQ(sheet->AnalysisPages()[4]->TraceCount(), 5u);
    Drop(sheet, second, Qt::NoModifier);
    EXPECT_EQ(sheet->FileName(), Canonical(second));
    EXPECT_EQ(sheet->Store().traces.size(), 2u);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(MainSheetTest, KeysZoomAndFitTheVisibleView) {
    const std::string path = data.file("cell.abf");
    WriteCellRecording(path, 2);
    CMainSheet* sheet = OpenSheet();
    ASSERT_TRUE(sheet->OpenRecording(path));
    QWidget* list = sheet->AnalysisPages()[0]->findChild<QWidget*>("traceList");
    list->setFocus();
    TraceDisplayModel& model = *sheet->DisplayModel();
    QTest::keyClick(list, Qt::Key_Plus);
    EXPECT_EQ(model.zoomX, 1u);
    EXPECT_EQ(model.zoomY, 1u);
    QTest::keyClick(list, Qt::Key_Minus);
    EXPECT_EQ(model.zoomX, 0u);
    QTest::keyClick(list, Qt::Key_Plus);
    QTest::keyClick(list, Qt::Key_Home);
    EXPECT_EQ(model.zoomX, 0u);
    EXPECT_EQ(model.zoomY, 0u);
    // A new recording starts fitted, whatever the zoom was.
    model.zoomX = 3;
    ASSERT_TRUE(sheet->OpenRecording(path));
    EXPECT_EQ(model.zoomX, 0u);
    // Ctrl+W closes the recording.
    QTest::keyClick(list, Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(sheet->FileName().empty());
}

TEST_F(MainSheetTest, ExitKeepsTheVisiblePagesValidEntries) {
    CMainSheet* sheet = OpenSheet();
    ASSERT_TRUE(sheet->SetActivePage(3)); // capacitance: both ramps
    CPageAnalyseBase* page = sheet->AnalysisPages()[3];
    page->findChild<CIntegerEdit*>("ramp1StartEdit")->setText("1400");
    page->findChild<CIntegerEdit*>("ramp2StartEdit")->setText(""); // no number
    page->findChild<CIntegerEdit*>("ramp2EndEdit")->setText("1250");
    ExitSheet(sheet);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_NE(messages.messages[0].text.find("\"Start of the second Ramp\""), std::string::npos);
    EXPECT_EQ(profile->ReadInt("Capacitance", "Ramp1 Start", 0), 1400);
    EXPECT_EQ(profile->ReadInt("Capacitance", "Ramp2 Start", 0), 700); // kept
    EXPECT_EQ(profile->ReadInt("Capacitance", "Ramp2 End", 0), 1250);
}

TEST_F(MainSheetTest, LoadingAndAddingRunBesideTheEventLoopAndCanBeCancelled) {
    const std::string first = WriteShortRecording(data.file("first.abf"), 3, 20000);
    const std::string big = WriteShortRecording(data.file("big.abf"), 400, 20000);
    CMainSheet* sheet = OpenSheet();
    ASSERT_TRUE(sheet->OpenRecording(first));

    // Events are handled while the file loads: here, a Cancel. The previous
    // recording stays, and nothing is said.
    const auto cancelledWhileLoading = [](const std::function<bool()>& load) {
        bool handledDuringLoad = false;
        QTimer::singleShot(0, [&] {
            handledDuringLoad = CBackgroundLoad::IsRunning();
            CBackgroundLoad::CancelRunning();
        });
        EXPECT_FALSE(load());
        return handledDuringLoad;
    };
    EXPECT_TRUE(cancelledWhileLoading([&] { return sheet->OpenRecording(big); }));
    EXPECT_TRUE(cancelledWhileLoading([&] { return sheet->AddRecording(big); }));
    EXPECT_EQ(sheet->FileName(), Canonical(first));
    EXPECT_EQ(sheet->Store().traces.size(), 3u);
    EXPECT_TRUE(messages.messages.empty());

    // Without a Cancel it adds and loads (after the cancelled ones have let go
    // of the reader); a load error is shown once it has finished.
    EXPECT_TRUE(sheet->AddRecording(big));
    EXPECT_EQ(sheet->Store().traces.size(), 403u);
    EXPECT_EQ(sheet->AnalysisPages()[0]->TraceCount(), 403u);
    EXPECT_TRUE(sheet->OpenRecording(big));
    EXPECT_EQ(sheet->Store().traces.size(), 400u);
    EXPECT_FALSE(sheet->OpenRecording(data.file("missing.abf")));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Error Reading Axon Data");
    EXPECT_EQ(sheet->Store().traces.size(), 400u);
}

} // namespace
