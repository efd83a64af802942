// Stands in for the desktop's URL handling in tests: records every URL that
// would have been opened, so no test ever starts another program.
#pragma once

#include <QDesktopServices>
#include <QObject>
#include <QUrl>

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    UrlRecorder() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    QList<QUrl> urls;

public slots:
    void Open(const QUrl& url) { urls.append(url); }
};
