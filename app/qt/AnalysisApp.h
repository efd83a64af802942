// The application object: start-up (profile, message boxes, main window, the
// acquisition listener, files named on the command line) and exit.
#pragma once

#include "app/qt/ClampexBroadcastListener.h"
#include "app/qt/MainSheet.h"
#include "platform/gui/QtMessageSink.h"

#include <QPointer>
#include <QStringList>

#include <memory>
#include <string>

class IniProfileStore;

class CAnalysisApp {
public:
    CAnalysisApp();
    ~CAnalysisApp(); // owns the profile: neither copied nor moved

    // Needs the QApplication. Opens the profile of the application name (the
    // executable's name without extension), installs the message boxes,
    // creates and shows the main window, starts listening for the acquisition
    // program and loads the first recording named in `files`, if any.
    // Returns false when the program cannot start.
    bool InitInstance(const QStringList& files = {});
    // Closes the main window if it is still open (its settings are written),
    // writes the profile file and returns `exitCode`.
    int ExitInstance(int exitCode);

    CMainSheet* MainWindow() const { return m_mainWindow; }
    ClampexBroadcastListener* Listener() const { return m_listener; }
    // The name the profile file is called after.
    static std::string ApplicationName();

private:
    std::unique_ptr<IniProfileStore> m_profile;
    QtMessageSink m_messageBoxes;
    IMessageSink* m_previousSink = nullptr;
    QPointer<CMainSheet> m_mainWindow;
    QPointer<ClampexBroadcastListener> m_listener;
};
