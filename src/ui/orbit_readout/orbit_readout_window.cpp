#include "ui/orbit_readout/orbit_readout_window.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>

#include "core/fp_error.h"
#include "core/number_text.h"
#include "core/orbit_fp_guard.h"
#include "core/track_csv.h"
#include "ui/common/distance_in_words.h"
#include "ui/orbit_readout/readout_text.h"

namespace {

struct Translatable {
    const char* source;
    const char* disambiguation;
};

struct RowCaption {
    OrbitReadoutWindow::Row row;
    Translatable caption;
};

// The rows' captions, translated where the window is made.
constexpr RowCaption RowCaptions[] = {
    //: The time the run has gone on, in days.
    {OrbitReadoutWindow::ElapsedRow, QT_TRANSLATE_NOOP3("OrbitReadoutWindow", "Elapsed", "readout row")},
    //: The kind of orbit: ellipse, hyperbola...
    {OrbitReadoutWindow::KindRow, QT_TRANSLATE_NOOP3("OrbitReadoutWindow", "Orbit", "readout row")},
    {OrbitReadoutWindow::EccentricityRow,
     QT_TRANSLATE_NOOP3("OrbitReadoutWindow", "Eccentricity", "readout row")},
    {OrbitReadoutWindow::SemiMajorAxisRow,
     QT_TRANSLATE_NOOP3("OrbitReadoutWindow", "Semi-major axis", "readout row")},
    //: The least distance of the bodies on the orbit (the periapsis).
    {OrbitReadoutWindow::PeriapsisRow,
     QT_TRANSLATE_NOOP3("OrbitReadoutWindow", "Closest approach", "readout row")},
    //: The greatest distance of the bodies on the orbit (the apoapsis).
    {OrbitReadoutWindow::ApoapsisRow,
     QT_TRANSLATE_NOOP3("OrbitReadoutWindow", "Farthest distance", "readout row")},
    //: The time of one revolution.
    {OrbitReadoutWindow::PeriodRow, QT_TRANSLATE_NOOP3("OrbitReadoutWindow", "Period", "readout row")},
    {OrbitReadoutWindow::TimeToPeriapsisRow,
     QT_TRANSLATE_NOOP3("OrbitReadoutWindow", "Time to closest approach", "readout row")},
    //: How many of the run's integration steps the passage of the closest approach takes.
    {OrbitReadoutWindow::StepsRow,
     QT_TRANSLATE_NOOP3("OrbitReadoutWindow", "Steps across closest approach", "readout row")},
    //: The distance between the bodies.
    {OrbitReadoutWindow::SeparationRow,
     QT_TRANSLATE_NOOP3("OrbitReadoutWindow", "Separation", "readout row")},
    {OrbitReadoutWindow::RelativeSpeedRow,
     QT_TRANSLATE_NOOP3("OrbitReadoutWindow", "Relative speed", "readout row")},
    {OrbitReadoutWindow::RelativeEnergyRow,
     QT_TRANSLATE_NOOP3("OrbitReadoutWindow", "Energy of the relative motion", "readout row")},
    {OrbitReadoutWindow::TotalEnergyRow,
     QT_TRANSLATE_NOOP3("OrbitReadoutWindow", "Total energy", "readout row")},
    {OrbitReadoutWindow::AngularMomentumRow,
     QT_TRANSLATE_NOOP3("OrbitReadoutWindow", "Angular momentum", "readout row")},
    {OrbitReadoutWindow::SpeedARow, QT_TRANSLATE_NOOP3("OrbitReadoutWindow", "Body A speed", "readout row")},
    //: The direction Body A moves in, in degrees: 0 is up, 90 right.
    {OrbitReadoutWindow::DirectionARow,
     QT_TRANSLATE_NOOP3("OrbitReadoutWindow", "Body A direction", "readout row")},
    {OrbitReadoutWindow::SpeedBRow, QT_TRANSLATE_NOOP3("OrbitReadoutWindow", "Body B speed", "readout row")},
    //: The direction Body B moves in, in degrees: 0 is up, 90 right.
    {OrbitReadoutWindow::DirectionBRow,
     QT_TRANSLATE_NOOP3("OrbitReadoutWindow", "Body B direction", "readout row")},
};
static_assert(std::size(RowCaptions) == OrbitReadoutWindow::RowCount);

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

std::string cellText(const OrbitReadout& o, OrbitReadoutWindow::Row row, std::string_view sep) {
    switch (row) {
        case OrbitReadoutWindow::KindRow:
            return kindText(o);
        case OrbitReadoutWindow::EccentricityRow:
            return eccentricityText(o.eccentricity, sep);
        case OrbitReadoutWindow::SemiMajorAxisRow:
            return distanceText(o.semiMajorAxis, sep);
        case OrbitReadoutWindow::PeriapsisRow:
            return distanceText(o.periapsis, sep);
        case OrbitReadoutWindow::ApoapsisRow:
            return distanceText(o.apoapsis, sep);
        case OrbitReadoutWindow::PeriodRow:
            return durationText(o.period, sep);
        case OrbitReadoutWindow::TimeToPeriapsisRow:
            return durationText(o.timeToPeriapsis, sep);
        case OrbitReadoutWindow::StepsRow:
            return stepsText(o.stepsAcrossPeriapsis);
        case OrbitReadoutWindow::SeparationRow:
            return distanceText(o.separation, sep);
        case OrbitReadoutWindow::RelativeSpeedRow:
            return speedText(o.relativeSpeed, sep);
        case OrbitReadoutWindow::RelativeEnergyRow:
            return energyText(o.relativeEnergy, sep);
        case OrbitReadoutWindow::TotalEnergyRow:
            return energyText(o.totalEnergy, sep);
        case OrbitReadoutWindow::AngularMomentumRow:
            return angularMomentumText(o.angularMomentum, o.sense, sep);
        case OrbitReadoutWindow::SpeedARow:
            return speedText(o.a.speed, sep);
        case OrbitReadoutWindow::DirectionARow:
            return directionText(o.a.direction, sep);
        case OrbitReadoutWindow::SpeedBRow:
            return speedText(o.b.speed, sep);
        case OrbitReadoutWindow::DirectionBRow:
            return directionText(o.b.direction, sep);
        case OrbitReadoutWindow::ElapsedRow:
        case OrbitReadoutWindow::RowCount:
            break;
    }
    return {};
}

// The longest texts a cell shows: the widest distance and angular momentum, and every kind of orbit.
QStringList longestCellTexts(std::string_view sep) {
    QStringList texts{qs(distanceText(-5.4578e11L, sep)),
                      qs(angularMomentumText(5.265e45L, RotationSense::Anticlockwise, sep))};
    OrbitReadout o;
    for (const OrbitKind kind :
         {OrbitKind::Circle, OrbitKind::Ellipse, OrbitKind::Parabola, OrbitKind::Hyperbola}) {
        o.kind = kind;
        texts << qs(kindText(o));
    }
    o.kind = OrbitKind::Radial;
    for (const Extended energy : {-1.0L, 1.0L}) {
        o.relativeEnergy = energy;
        texts << qs(kindText(o));
    }
    o.kind = OrbitKind::None;
    for (const NoOrbitReason why :
         {NoOrbitReason::BadMass, NoOrbitReason::Coincident, NoOrbitReason::NotFinite}) {
        o.whyNone = why;
        texts << qs(kindText(o));
    }
    return texts;
}

QColor levelColor(DriftLevel level) {
    switch (level) {
        case DriftLevel::Green:
            return QColor(0, 160, 0);
        case DriftLevel::Amber:
            return QColor(230, 150, 0);
        case DriftLevel::Red:
            return QColor(210, 0, 0);
        case DriftLevel::None:
            break;
    }
    return QColor(160, 160, 160);
}

// Told to a screen reader, which cannot see the chip's colour.
QString levelName(DriftLevel level) {
    switch (level) {
        case DriftLevel::Green:
            //: The drift gauge's colour: the run keeps close to the true orbit.
            return QCoreApplication::translate("OrbitReadoutWindow", "green", "drift level");
        case DriftLevel::Amber:
            //: The drift gauge's colour: the run begins to drift from the true orbit.
            return QCoreApplication::translate("OrbitReadoutWindow", "amber", "drift level");
        case DriftLevel::Red:
            //: The drift gauge's colour: the run has drifted far from the true orbit.
            return QCoreApplication::translate("OrbitReadoutWindow", "red", "drift level");
        case DriftLevel::None:
            break;
    }
    //: The drift gauge before a run: no drift to tell.
    return QCoreApplication::translate("OrbitReadoutWindow", "none", "drift level");
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text = QString()) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    // Plain text is drawn straight; rich or selectable text would build a text document at every change.
    l->setTextFormat(Qt::PlainText);
    return l;
}

QLabel* makeHeading(QWidget* parent, const QString& name, const QString& text) {
    QLabel* l = makeLabel(parent, name, text);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

QLabel* makeChip(QWidget* parent, const QString& name) {
    auto* chip = new QLabel(parent);
    chip->setObjectName(name);
    chip->setFixedSize(14, 14);
    chip->setAutoFillBackground(true);
    return chip;
}

// The rows keep their places when the warning or the hint comes and goes.
void keepPlaceWhenHidden(QWidget* w) {
    QSizePolicy p = w->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    w->setSizePolicy(p);
}

// A value's label has an accessible name of its own, its row and column, so that a screen reader finds it;
// the value is then heard as its description.
QString cellName(const QString& row, const QString& column) {
    return OrbitReadoutWindow::tr("%1, %2").arg(row, column);
}

void showValue(QLabel* cell, const QString& text) {
    cell->setText(text);
    cell->setAccessibleDescription(text);
}

void paintChip(QLabel* chip, DriftLevel level) {
    const QString name = levelName(level);
    if (chip->accessibleDescription() == name) return;
    QPalette p = chip->palette();
    p.setColor(QPalette::Window, levelColor(level));
    chip->setPalette(p);
    chip->setAccessibleDescription(name);
}

}  // namespace

OrbitReadoutWindow::OrbitReadoutWindow(const SimRecords& records, QWidget* parent)
    : QWidget(parent), records_(records), sep_(QLocale().decimalPoint().toStdString()) {
    setObjectName(QStringLiteral("OrbitReadoutWindow"));
    setWindowTitle(tr("Orbit Readout"));

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(14);
    //: The heading of the column of the orbit worked out exactly from the start.
    grid->addWidget(makeHeading(this, QStringLiteral("startHeader"), tr("Exact orbit of the start")), 0, 1);
    //: The heading of the column of the run's last plot point, or of the point the timeline shows.
    grid->addWidget(makeHeading(this, QStringLiteral("nowHeader"), tr("Now", "readout column")), 0, 2);
    // The cells have a fixed size, wide enough for the longest text: a new text then repaints its cell and
    // nothing else, with no new layout of the window, four times a second during a run.
    int column = 0;
    for (const QString& longest : longestCellTexts(sep_))
        column = std::max(column, fontMetrics().horizontalAdvance(longest) + 8);
    const QSize cell(column, fontMetrics().height() + 2);
    for (const RowCaption& rc : RowCaptions) {
        const QString key = QString::number(rc.row);
        Cells c{makeLabel(this, QStringLiteral("caption") + key,
                          tr(rc.caption.source, rc.caption.disambiguation)),
                makeLabel(this, QStringLiteral("start") + key), makeLabel(this, QStringLiteral("now") + key)};
        c.start->setFixedSize(cell);
        c.now->setFixedSize(cell);
        grid->addWidget(c.name, rc.row + 1, 0);
        grid->addWidget(c.start, rc.row + 1, 1);
        grid->addWidget(c.now, rc.row + 1, 2);
        rows_.push_back(c);
    }
    layout->addLayout(grid);

    summary_ = makeLabel(this, QStringLiteral("summary"));
    layout->addWidget(summary_);
    warning_ = makeLabel(this, QStringLiteral("warning"));
    warning_->setWordWrap(true);
    keepPlaceWhenHidden(warning_);
    QPalette wp = warning_->palette();
    wp.setColor(QPalette::WindowText, QColor(170, 90, 0));
    warning_->setPalette(wp);
    layout->addWidget(warning_);

    auto* gauge = new QGridLayout;
    //: The heading of the gauge of how far the run's energy and angular momentum have moved off their start
    //: values, which the true motion keeps.
    gauge->addWidget(makeHeading(this, QStringLiteral("gaugeHeader"), tr("Drift since the start")), 0, 0, 1,
                     3);
    energyChip_ = makeChip(this, QStringLiteral("energyChip"));
    energyFigure_ = makeLabel(this, QStringLiteral("energyDrift"));
    momentumChip_ = makeChip(this, QStringLiteral("momentumChip"));
    //: The coloured chip of the drift gauge, as a screen reader names it; its description is its colour.
    energyChip_->setAccessibleName(tr("Energy drift"));
    //: The coloured chip of the drift gauge, as a screen reader names it; its description is its colour.
    momentumChip_->setAccessibleName(tr("Angular momentum drift"));
    momentumFigure_ = makeLabel(this, QStringLiteral("momentumDrift"));
    energyFigure_->setFixedSize(cell);
    momentumFigure_->setFixedSize(cell);
    gauge->addWidget(makeLabel(this, QStringLiteral("energyCaption"), tr("Energy", "drift gauge row")), 1, 0);
    gauge->addWidget(energyChip_, 1, 1);
    gauge->addWidget(energyFigure_, 1, 2);
    gauge->addWidget(
        makeLabel(this, QStringLiteral("momentumCaption"), tr("Angular momentum", "drift gauge row")), 2, 0);
    gauge->addWidget(momentumChip_, 2, 1);
    gauge->addWidget(momentumFigure_, 2, 2);
    gauge->setColumnStretch(3, 1);
    layout->addLayout(gauge);
    //: Shown while the drift gauge is red.
    hint_ = makeLabel(this, QStringLiteral("hint"),
                      tr("Red: a shorter plot interval keeps the run closer to the true orbit."));
    QPalette hp = hint_->palette();
    hp.setColor(QPalette::WindowText, levelColor(DriftLevel::Red));
    hint_->setPalette(hp);
    keepPlaceWhenHidden(hint_);
    layout->addWidget(hint_);
    integrationError_ = makeLabel(this, QStringLiteral("integrationError"));
    layout->addWidget(integrationError_);

    //: The slider that goes back through a paused run's plot points.
    layout->addWidget(makeHeading(this, QStringLiteral("timelineHeader"), tr("Timeline")));
    timeline_ = new QSlider(Qt::Horizontal, this);
    timeline_->setObjectName(QStringLiteral("timeline"));
    timeline_->setAccessibleName(tr("Timeline"));
    timeline_->setSingleStep(1);
    timeline_->setPageStep(10);
    timeline_->setEnabled(false);
    // The window is shown without taking the keyboard; a click on the slider gives it the arrows.
    timeline_->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(timeline_);
    timelineLabel_ = makeLabel(this, QStringLiteral("timelineLabel"));
    timelineLabel_->setWordWrap(true);
    layout->addWidget(timelineLabel_);
    connect(timeline_, &QSlider::valueChanged, this, [this](int i) { showTimelinePoint(i); });
    layout->addStretch(1);

    nameValueCells();

    paintTimer_.setSingleShot(true);
    connect(&paintTimer_, &QTimer::timeout, this, [this] { paint(); });
    refreshFromSettings();
}

void OrbitReadoutWindow::nameValueCells() {
    const auto text = [this](const char* name) { return findChild<QLabel*>(QLatin1String(name))->text(); };
    for (const Cells& c : rows_) {
        c.start->setAccessibleName(cellName(c.name->text(), text("startHeader")));
        c.now->setAccessibleName(cellName(c.name->text(), text("nowHeader")));
    }
    energyFigure_->setAccessibleName(cellName(text("energyCaption"), text("gaugeHeader")));
    momentumFigure_->setAccessibleName(cellName(text("momentumCaption"), text("gaugeHeader")));
}

QString OrbitReadoutWindow::zeroDays() const {
    return qs(ElapsedDaysText(0, sep_));
}

QString OrbitReadoutWindow::daysText(const QString& days) {
    if (days == qs(std::string(NoValueText))) return days;
    //: The time the run has gone on; %1 is a decimal number: "120.0 days".
    return tr("%1 days", "elapsed time").arg(days);
}

OrbitReadout OrbitReadoutWindow::readout(const TState& s) {
    ++computeCount;
    return readOrbit(s);
}

void OrbitReadoutWindow::showPreview(const TState& s) {
    start_ = readout(s);
    startDays_ = zeroDays();
    now_.reset();
    nowDays_.clear();
    gauge_ = DriftGauge{};
    paint();
}

void OrbitReadoutWindow::refreshFromSettings() {
    shownSettings_ = records_.CurSettings;
    showPreview(shownSettings_);
}

void OrbitReadoutWindow::runStarted(const TState& start) {
    previewing_ = false;
    start_ = readout(start);
    startDays_ = zeroDays();
    now_ = start_;
    nowDays_ = zeroDays();
    gauge_ = driftGauge(start_, *now_);
    paint();
}

void OrbitReadoutWindow::plotPointDrawn(const QString& elapsedDays) {
    now_ = readout(records_.CurState);
    nowDays_ = elapsedDays;
    gauge_ = driftGauge(start_, *now_);
    requestPaint();
}

void OrbitReadoutWindow::replayFinished() {
    // A re-centred start is the same orbit shifted; the replay ends on the last plot point.
    start_ = readout(records_.CurSettings);
    now_ = readout(records_.CurState);
    gauge_ = driftGauge(start_, *now_);
    // The timeline first, so what is painted shows its new range.
    resetTimeline();
    paint();
}

void OrbitReadoutWindow::settingsChanged() {
    // While Ready the start column shows CurSettings; a closed window catches up when it opens.
    if (isVisible() && records_.SimState == Ready && !previewing_ &&
        records_.CurSettings.bytes != shownSettings_.bytes)
        refreshFromSettings();
}

void OrbitReadoutWindow::runStateChanged(int state) {
    resetTimeline();
    if (state == Ready) {
        previewing_ = false;
        paintTimer_.stop();
        refreshFromSettings();
    } else if (state == Paused) {
        // The timeline has just become usable: show it now, not at the next plot point's paint.
        paintTimer_.stop();
        paint();
    }
}

namespace {

// 2nd, 4th, 21st, 112th. English has four forms, by the last digits; another language gives each of them the
// form it takes there.
QString ordinal(std::int64_t n) {
    const std::int64_t lastTwo = n % 100;
    const QString number = QString::number(n);
    if (lastTwo < 11 || lastTwo > 13) {
        if (n % 10 == 1)
            //: An ordinal number that ends in 1 (but not 11): 21st. Used in "every 21st point".
            return QCoreApplication::translate("OrbitReadoutWindow", "%1st", "ordinal").arg(number);
        if (n % 10 == 2)
            //: An ordinal number that ends in 2 (but not 12): 2nd, 32nd. Used in "every 2nd point".
            return QCoreApplication::translate("OrbitReadoutWindow", "%1nd", "ordinal").arg(number);
        if (n % 10 == 3)
            //: An ordinal number that ends in 3 (but not 13): 3rd, 23rd. Used in "every 3rd point".
            return QCoreApplication::translate("OrbitReadoutWindow", "%1rd", "ordinal").arg(number);
    }
    //: Any other ordinal number: 4th, 12th, 128th. Used in "every 4th point".
    return QCoreApplication::translate("OrbitReadoutWindow", "%1th", "ordinal").arg(number);
}

}  // namespace

QString OrbitReadoutWindow::timelineText() const {
    return timelineLabel_->text();
}

void OrbitReadoutWindow::showTimelineText(const QString& text) {
    timelineLabel_->setText(text);
    // The slider's value is a plot point's index; a screen reader hears the point and its day.
    timeline_->setAccessibleDescription(text);
}

void OrbitReadoutWindow::resetTimeline() {
    timelineError_.reset();
    if (timelineMarked_) {
        timelineMarked_ = false;
        emit timelineCleared();
    }
    const PlotTrack* points = keptPointsSource ? keptPointsSource() : nullptr;
    const bool usable = records_.SimState == Paused && points && !points->empty();
    const QSignalBlocker quiet(timeline_);
    timeline_->setEnabled(usable);
    if (!usable) {
        timeline_->setRange(0, 0);
        //: Beside the timeline while it cannot be used: before a run, and while one runs.
        showTimelineText(tr("Pause the run to go back through its plot points."));
        return;
    }
    const int last = static_cast<int>(points->size() - 1);
    timeline_->setRange(0, last);
    // The track ends at the run's last plot point, thinned or not: the timeline starts there.
    const std::int64_t at = last;
    timeline_->setValue(static_cast<int>(at));
    const QString point = QString::number(points->plotIndexAt(static_cast<std::size_t>(at)));
    const QString of = QString::number(points->plotIndexAt(static_cast<std::size_t>(last)));
    if (points->thinned())
        //: Beside the timeline of a run so long that only every so many plot points are kept; %3 is an
        //: ordinal number ("every 4th point").
        showTimelineText(tr("Plot point %1 of %2 (thinned: every %3 point of this long run is kept)")
                             .arg(point, of, ordinal(points->stride())));
    else
        //: Beside the timeline: the plot point it shows, and the last.
        showTimelineText(tr("Plot point %1 of %2").arg(point, of));
}

void OrbitReadoutWindow::showTimelinePoint(int index) {
    const PlotTrack* points = keptPointsSource ? keptPointsSource() : nullptr;
    if (records_.SimState != Paused || !points || index < 0 ||
        static_cast<std::size_t>(index) >= points->size())
        return;
    OrbitFpGuard guard;
    const TState start = keptPointsStartSource ? keptPointsStartSource() : records_.CurSettings;
    TState state = start;
    points->restoreInto(static_cast<std::size_t>(index), state);
    const std::int64_t point = points->plotIndexAt(static_cast<std::size_t>(index));
    now_ = readout(state);
    try {
        nowDays_ = qs(ElapsedDaysText(plotPointDays(point, state.dT()), sep_));
    } catch (const std::exception&) {
        // A damaged interval has no day to show; the run itself failed on it the same way.
        nowDays_ = qs(std::string(NoValueText));
    }
    gauge_ = driftGauge(start_, *now_);
    // Off the exact path at the chosen point, at the run's own time there: the steps to it times dT / cpT.
    const KeplerPropagation exact(start);
    const Extended t = static_cast<Extended>(point * start.cpT()) * (start.dT() / start.cpT());
    timelineError_ = integrationError(exact, __builtin_isfinite(t) ? t : 0, state.APos(), state.BPos());
    const QString shown = QString::number(point);
    const QString of = QString::number(points->plotIndexAt(points->size() - 1));
    if (points->thinned())
        //: Beside the timeline of a run so long that only every so many plot points are kept: the plot point
        //: it shows, the last, the day of the one shown (a decimal number) and an ordinal number ("every 4th
        //: point").
        showTimelineText(tr("Plot point %1 of %2, day %3 (thinned: every %4 point of this long run is kept)")
                             .arg(shown, of, nowDays_, ordinal(points->stride())));
    else
        //: Beside the timeline: the plot point it shows, the last, and the day of the one shown, a decimal
        //: number.
        showTimelineText(tr("Plot point %1 of %2, day %3").arg(shown, of, nowDays_));
    paint();
    timelineMarked_ = true;
    emit timelineMarked(state.APos(), state.BPos());
}

void OrbitReadoutWindow::previewStart(const TState& preview) {
    if (records_.SimState != Ready) return;
    previewing_ = true;
    showPreview(preview);
}

void OrbitReadoutWindow::previewEnded() {
    previewing_ = false;
    if (records_.SimState == Ready) refreshFromSettings();
}

void OrbitReadoutWindow::requestPaint() {
    if (!isVisible() || paintTimer_.isActive()) return;
    const qint64 since = sincePaint_.isValid() ? sincePaint_.elapsed() : RepaintIntervalMs;
    if (since >= RepaintIntervalMs)
        paint();
    else
        paintTimer_.start(static_cast<int>(RepaintIntervalMs - since));
}

void OrbitReadoutWindow::paint() {
    if (!isVisible()) return;
    ++paintCount;
    sincePaint_.restart();
    showValue(rows_[ElapsedRow].start, daysText(startDays_));
    showValue(rows_[ElapsedRow].now, now_ ? daysText(nowDays_) : qs(std::string(NoValueText)));
    for (int r = KindRow; r < RowCount; ++r) {
        const Row row = static_cast<Row>(r);
        showValue(rows_[r].start, qs(cellText(start_, row, sep_)));
        showValue(rows_[r].now, now_ ? qs(cellText(*now_, row, sep_)) : qs(std::string(NoValueText)));
    }
    summary_->setText(qs(::summaryText(start_, sep_)));
    const std::string warning = closeApproachWarning(start_);
    warning_->setText(qs(warning));
    warning_->setVisible(!warning.empty());
    showValue(energyFigure_, qs(driftText(gauge_.energy.value, sep_)));
    showValue(momentumFigure_, qs(driftText(gauge_.angularMomentum.value, sep_)));
    paintChip(energyChip_, gauge_.energy.level);
    paintChip(momentumChip_, gauge_.angularMomentum.level);
    hint_->setVisible(gauge_.energy.level == DriftLevel::Red ||
                      gauge_.angularMomentum.level == DriftLevel::Red);
    integrationError_->setText(integrationErrorLine());
}

QString OrbitReadoutWindow::integrationErrorLine() const {
    // Run from the run loop's plot point: its flags are not the run's to read.
    OrbitFpGuard guard;
    const std::optional<IntegrationError> e = shownIntegrationError();
    const QString none = qs(std::string(NoValueText));
    const QChar point = sep_.empty() ? QLatin1Char('.') : QChar::fromLatin1(sep_.front());
    const auto body = [&](Extended metres) {
        const Extended sf = records_.CurSettings.sf();
        const Extended pixels = metres / sf;
        QString distance = distanceInWords(metres, point);
        // NOLINTNEXTLINE(performance-no-automatic-move): none is the enclosing function's; nothing to move.
        if (distance.isEmpty()) return none;
        if (!__builtin_isfinite(pixels)) return distance;
        //: How far a body is from its exact place: the distance in words, and in pixels of the plot at its
        //: scale, a decimal number: "12 thousand km (3.4 px)".
        return tr("%1 (%2 px)").arg(distance, qs(OneDecimalText(pixels, sep_)));
    };
    //: How far each body of the run is from where the exact motion puts it: A and B are the bodies' names.
    return tr("Off the exact path: A %1, B %2").arg(e ? body(e->bodyA) : none, e ? body(e->bodyB) : none);
}

std::optional<IntegrationError> OrbitReadoutWindow::shownIntegrationError() const {
    if (timelineMarked_) return timelineError_;
    return integrationErrorSource ? integrationErrorSource() : std::nullopt;
}

QString OrbitReadoutWindow::integrationErrorText() const {
    return integrationError_->text();
}

QString OrbitReadoutWindow::startText(Row row) const {
    return rows_[row].start->text();
}

QString OrbitReadoutWindow::nowText(Row row) const {
    return rows_[row].now->text();
}

QString OrbitReadoutWindow::summaryText() const {
    return summary_->text();
}

QString OrbitReadoutWindow::warningText() const {
    return warning_->isHidden() ? QString() : warning_->text();
}

QString OrbitReadoutWindow::energyDriftText() const {
    return energyFigure_->text();
}

QString OrbitReadoutWindow::angularMomentumDriftText() const {
    return momentumFigure_->text();
}

bool OrbitReadoutWindow::hintShown() const {
    return !hint_->isHidden();
}

void OrbitReadoutWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Whatever came while the window was closed shows now.
    if (records_.SimState == Ready && !previewing_)
        refreshFromSettings();
    else
        paint();
}

void OrbitReadoutWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    paintTimer_.stop();
}
