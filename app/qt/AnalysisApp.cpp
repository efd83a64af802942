#include "app/qt/AnalysisApp.h"

#include "app/qt/AppImages.h"
#include "app/qt/ClampexBroadcastListener.h"
#include "app/qt/MainSheet.h"
#include "export/WorkbookFiles.h"
#include "platform/Messages.h"
#include "platform/qt/IniProfileStore.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>

CAnalysisApp::CAnalysisApp() = default;

CAnalysisApp::~CAnalysisApp() {
    ExitInstance(0);
}

std::string CAnalysisApp::ApplicationName() {
    return IniProfileStore::ApplicationNameFromExecutable(
        QCoreApplication::applicationFilePath().toStdString());
}

bool CAnalysisApp::InitInstance(const QStringList& files) {
    // Nothing to initialise for the spreadsheet: the workbook is written directly.
    InitAppResources();
    RemoveOldShownWorkbooks();
    m_profile = std::make_unique<IniProfileStore>(ApplicationName());
    m_previousSink = SetMessageSink(&m_messageBoxes);
    QApplication::setWindowIcon(TessaranWindowIcon());
    if (m_profile->IsUnusable())
        ShowMessage(m_profile->UnusableFileMessage(), "Settings", MessageIcon::Exclamation);

    m_mainWindow = new CMainSheet(*m_profile);
    m_mainWindow->show();

    m_listener = new ClampexBroadcastListener(m_mainWindow);
    QObject::connect(m_listener, &ClampexBroadcastListener::broadcast, m_mainWindow,
                     [window = m_mainWindow](int parameter) {
                         if (window)
                             window->OnClampexBroadcast(parameter);
                     });

    // The file named on the command line is opened once the window is on the
    // screen, so the user sees the window at once, not after the load.
    if (!files.isEmpty()) {
        QTimer::singleShot(0, m_mainWindow, [window = m_mainWindow, path = files.front()] {
            if (window)
                window->OpenRecording(path.toStdString());
        });
    }
    return true;
}

int CAnalysisApp::ExitInstance(int exitCode) {
    // The window normally deleted itself on closing; if it is still there
    // (the event loop ended first), its destructor writes the settings now.
    delete m_mainWindow.data();
    if (m_profile) {
        if (!m_profile->Sync())
            ShowMessage(m_profile->WriteFailureMessage(), "Error", MessageIcon::Exclamation);
        m_profile.reset();
        SetMessageSink(m_previousSink);
    }
    return exitCode;
}
