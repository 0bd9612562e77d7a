#include "QtUiServices.h"

#include "IdleHook.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

QtUiServices::QtUiServices(QString title) : m_Title(std::move(title)), m_Previous(&ui())
{
    setUi(this);
}

QtUiServices::~QtUiServices()
{
    if (&ui() == this) setUi(m_Previous);
}

void QtUiServices::message(const QString& text)
{
    QMessageBox::warning(QApplication::activeWindow(), m_Title, text);
}

UiServices::Answer QtUiServices::question(const QString& text, Buttons buttons)
{
    QMessageBox::StandardButtons shown;
    QMessageBox::StandardButton preset;
    switch (buttons) {
    case Buttons::Ok:
        shown = QMessageBox::Ok;
        preset = QMessageBox::Ok;
        break;
    case Buttons::OkCancel:
        shown = QMessageBox::Ok | QMessageBox::Cancel;
        preset = QMessageBox::Ok;
        break;
    case Buttons::YesNo:
        shown = QMessageBox::Yes | QMessageBox::No;
        preset = QMessageBox::Yes;
        break;
    case Buttons::YesNoCancel:
    default:
        shown = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        preset = QMessageBox::Yes;
        break;
    }
    QMessageBox box(QMessageBox::Question, m_Title, text, shown, QApplication::activeWindow());
    box.setDefaultButton(preset);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        // Escape closes a yes/no box too; it means the safer answer.
        return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
}

// Like a message pump inside long work: waiting events, then the idle processing that brings the
// command states (Stop Simulation) up to date.
void QtUiServices::pump()
{
    QCoreApplication::processEvents();
    IdleHook::RunAll();
}

QString QtUiServices::saveFileName(const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dialog(QApplication::activeWindow(), QStringLiteral("Save As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

QString QtUiServices::openFileName(const QString& filter)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), QStringLiteral("Open"), QString(),
                                        filter);
}
