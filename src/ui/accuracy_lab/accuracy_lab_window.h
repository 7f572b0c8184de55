#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "core/convergence_sweep.h"
#include "core/sim_records.h"

class PlatformDialogs;
class QChart;
class QDoubleSpinBox;
class QLabel;
class QLineSeries;
class QProgressBar;
class QPushButton;
class QScatterSeries;
class QTableWidget;

// The Accuracy Lab: the current start run at every plot interval of the Settings menu, in the background,
// each run's error against the exact orbit on a log-log chart and in a table, with the order the error falls
// at as the step shrinks. A tool window; it reads the records and is told of their changes by the main
// window, which it never includes. A change of the start marks the results stale; only Run computes them
// again.
class AccuracyLabWindow : public QWidget {
    Q_OBJECT

public:
    enum Column {
        IntervalColumn,
        StepColumn,
        PointsColumn,
        DayColumn,
        ErrorAColumn,
        ErrorBColumn,
        EnergyDriftColumn,
        MomentumDriftColumn,
        StepsAcrossColumn,
        OrderColumn,
        FitColumn,
        ColumnCount
    };

    // How often a running sweep's progress and new rows are looked at.
    static constexpr int PollMs = 100;

    AccuracyLabWindow(const SimRecords& records, PlatformDialogs& dialogs, QWidget* mainWindow);
    ~AccuracyLabWindow() override;

    // The main window's moments.
    void settingsChanged();
    void runStateChanged(int state);

    // The buttons' handlers.
    void startSweep();
    void cancelSweep();
    void useSelectedInterval();
    void exportCsv();

    // Worker threads of the next sweep (the computer's cores unless set).
    void setWorkers(unsigned workers) { workers_ = workers; }

    bool sweepRunning() const { return running_; }
    bool stale() const { return stale_; }
    // The rows as last shown, and the start and end time they belong to.
    const ConvergenceResult& result() const { return result_; }
    const TState& sweepStart() const { return sweepStart_; }
    Extended sweepUntil() const { return sweepUntil_; }

    QPushButton* runButton() const { return runButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QPushButton* useButton() const { return useButton_; }
    QPushButton* exportButton() const { return exportButton_; }
    QDoubleSpinBox* untilBox() const { return untilBox_; }
    QProgressBar* progressBar() const { return progress_; }
    QLabel* statusLabel() const { return status_; }
    QLabel* staleLabel() const { return staleLabel_; }
    QTableWidget* table() const { return table_; }
    QChart* chart() const { return chart_; }
    // The chart's series: each body's error in the fit, the energy drift, the rows outside the fit, the floor
    // line and the mark of the current plot interval.
    QLineSeries* errorASeries() const { return errorA_; }
    QLineSeries* errorBSeries() const { return errorB_; }
    QLineSeries* energySeries() const { return energy_; }
    QScatterSeries* outsideFitSeries() const { return outsideFit_; }
    QLineSeries* floorSeries() const { return floor_; }
    QLineSeries* currentIntervalSeries() const { return current_; }
    // The index into the table's rows of result().rows, row by row.
    std::size_t resultRowOfTableRow(int tableRow) const;

signals:
    // "Use this interval": the Settings menu's item at this index, to be chosen as a click would.
    void plotIntervalChosen(int menuIndex);
    // The user closed the window.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildChart();
    void poll();
    void finishSweep();
    void showResult();
    void fillTable();
    void fillChart();
    void markCurrentInterval();
    void updateButtons();
    void showDefaultUntil();
    QString number(const Quantity& q) const;
    // What a row that was not done says in its error columns, and what it says in the In fit column.
    static QString failureText(const ConvergenceRow& row);
    static QString fitText(const ConvergenceRow& row);

    const SimRecords& records_;
    PlatformDialogs& dialogs_;
    std::string sep_;
    unsigned workers_ = 0;

    std::unique_ptr<ConvergenceSweep> sweep_;
    std::size_t shownFinished_ = 0;
    ConvergenceResult result_;
    TState sweepStart_{};
    Extended sweepUntil_ = 0;
    bool running_ = false;
    bool cancelled_ = false;
    bool stale_ = false;
    bool untilEdited_ = false;
    bool settingUntil_ = false;
    int runState_ = Ready;
    std::vector<std::size_t> tableRows_;  // result row of each table row
    QTimer pollTimer_;

    QPushButton* runButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* useButton_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QDoubleSpinBox* untilBox_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* staleLabel_ = nullptr;
    QTableWidget* table_ = nullptr;
    QChart* chart_ = nullptr;
    QLineSeries* errorA_ = nullptr;
    QLineSeries* errorB_ = nullptr;
    QLineSeries* energy_ = nullptr;
    QScatterSeries* outsideFit_ = nullptr;
    QLineSeries* floor_ = nullptr;
    QLineSeries* current_ = nullptr;
};
