#pragma once

#include <QDialog>
#include <QIcon>

// The About box: the program's icon, two lines about the program, and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // The program's icon, drawn so that it needs no image files.
    static QIcon ProgramIcon();
};
