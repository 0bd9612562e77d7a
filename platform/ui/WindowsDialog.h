#pragma once

#include <QDialog>

class QListWidget;
class QMdiArea;
class QMdiSubWindow;

// The windows dialog: every open document window, to activate, save or close several at once.
class WindowsDialog : public QDialog {
    Q_OBJECT
public:
    WindowsDialog(QMdiArea* area, QWidget* parent = nullptr);

    QListWidget* List() const { return m_List; }
    void Activate();
    void SaveSelected();
    void CloseSelected();

private:
    void Fill();
    QList<QMdiSubWindow*> Selected() const;

    QMdiArea* m_Area;
    QListWidget* m_List;
    QList<QMdiSubWindow*> m_Windows;
};
