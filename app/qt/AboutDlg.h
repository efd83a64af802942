// The About box: "About Tessaran", the program's icon, its version and a line
// on what it is for, and an OK button.
#pragma once

#include "tessaran/Version.h"

#include <QDialog>

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr char kVersionLine[] = "Tessaran Version " TESSARAN_VERSION;
    static constexpr char kSecondLine[] =
        "Analysis of whole-cell patch-clamp recordings of chloride currents";

    explicit CAboutDlg(QWidget* parent = nullptr);
};
