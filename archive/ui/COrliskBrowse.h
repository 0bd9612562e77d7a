#pragma once

#include <QDialog>
#include <QString>

class OrliskCombo;
class QComboBox;
class QListWidget;

// The archive browser: the user picks a root, an experiment, a shot and one of its traces, and may
// add roots for this session, new experiments and new shots. It starts from the ribbon's lists and
// their selections; the caller reads Root, Experiment, Shot and Trace after OK.
class COrliskBrowse : public QDialog {
    Q_OBJECT
public:
    // The ribbon's root, experiment and shot lists; they must outlive the dialog.
    COrliskBrowse(const OrliskCombo& ribbonRoots, const OrliskCombo& ribbonExperiments,
                  const OrliskCombo& ribbonShots, QWidget* parent = nullptr);

    QString Root;
    QString Experiment;
    QString Shot;
    QString Trace;

    // Runs once, when the dialog is first shown (or earlier when called directly): takes over the
    // ribbon's roots and selections, which replace whatever the caller set.
    void OnInitDialog();

    // The controls' handlers, as the user reaches them through the buttons and lists.
    void OnFindRoot();
    void OnNewExperiment();
    void OnNewShot();
    void OnSelchangeRoot();
    void OnSelchangeExperiment();
    void OnSelchangeShot();
    void OnSelchangeTraces();

    QComboBox* RootCombo() const { return m_roots; }
    QComboBox* ExperimentCombo() const { return m_experiments; }
    QComboBox* ShotCombo() const { return m_shots; }
    QListWidget* TraceList() const { return m_traces; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Fill the dialog's own lists (sorted), select item 0 and take its text.
    void FillExperiments();
    void FillShots();
    void FillTraces(const QString& folder);

    const OrliskCombo& m_ribbonRoots;
    const OrliskCombo& m_ribbonExperiments;
    const OrliskCombo& m_ribbonShots;
    QComboBox* m_roots;
    QComboBox* m_experiments;
    QComboBox* m_shots;
    QListWidget* m_traces;
    bool m_initialised = false;
};
