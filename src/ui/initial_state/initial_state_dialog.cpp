#include "ui/initial_state/initial_state_dialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <QPushButton>
#include <QSlider>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <utility>

#include "core/fp_error.h"
#include "core/number_text.h"
#include "core/parse_quantity.h"
#include "core/vector_math.h"
#include "ui/common/color_conversion.h"
#include "ui/common/contrast.h"
#include "ui/common/fit_to_text.h"
#include "ui/common/readable_tick_slider.h"
#include "ui/common/view_options.h"

namespace {

constexpr int MassMin = 20;
constexpr int MassMax = 320;
constexpr int SpeedMin = 0;
constexpr int SpeedMax = 499;
constexpr int DirectionMin = 0;
constexpr int DirectionMax = 359;

const QString TypedValuesKey = QStringLiteral("InitialState/typedValues");
// A refused typed text; light enough to read the text on it.
const QColor RefusedFieldColor(255, 170, 170);

// The quantity each typed field holds, and the unit the record stores it in.
const QuantityUnits* const FieldUnits[] = {&QuantityKinds::Mass, &QuantityKinds::Speed,
                                           &QuantityKinds::Direction, &QuantityKinds::Position,
                                           &QuantityKinds::Position};
const char* const StoredUnits[] = {"kg", "km/s", "deg", "m", "m"};

QFont dialogFont(int pixels, bool bold) {
    QFont f;
    // Tahoma where it is installed; DejaVu Sans Condensed has nearly its widths.
    f.setFamilies(
        {QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")});
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

bool isNaNLike(ExtendedClass c) {
    return c == ExtendedClass::NaN || c == ExtendedClass::NonCanonical;
}

// Clamped while still a long double, so a value far outside int's range is never converted.
int limitedPosition(Extended rounded, int lo, int hi) {
    if (rounded < lo) rounded = lo;
    if (rounded > hi) rounded = hi;
    return static_cast<int>(rounded);
}

// Zero, negative and NaN masses have no logarithm; they take the bottom of the scale as below-range values
// do, and are classified first so that no floating-point flag is raised for the next run to find.
int massPosition(Extended mass) {
    const ExtendedClass c = classifyExtended(mass);
    if (isNaNLike(c) || c == ExtendedClass::Zero || std::signbit(mass)) return MassMin;
    if (c == ExtendedClass::Infinity) return MassMax;
    return limitedPosition(std::nearbyint(10.0L * std::log10(mass)), MassMin, MassMax);
}

// Speed and direction: rounded half to even, then brought into the bar's range; NaN opens at the minimum.
int barPosition(Extended x, int lo, int hi) {
    if (isNaNLike(classifyExtended(x))) return lo;
    return limitedPosition(std::nearbyint(x), lo, hi);
}

// The mass scale uses 2.3026 where ln 10 would stand, so a position is slightly above 10^(p / 10).
Extended massFromPosition(int p) {
    return std::exp((static_cast<Extended>(p) / 10.0L) * 2.3026L);
}

// The stored value rounded, without the bar's limits: a damaged record may hold any magnitude, and every
// finite rounded value is written out in full.
std::string roundedIntegerText(Extended x) {
    const ExtendedClass c = classifyExtended(x);
    if (isNaNLike(c)) return "NAN";
    if (c == ExtendedClass::Infinity) return std::signbit(x) ? "-INF" : "INF";
    const Extended r = std::nearbyint(x);
    if (std::fabs(r) < 0x1p63L) return IntegerText(static_cast<std::int64_t>(r));
    // The largest finite long double has 4933 integer digits.
    std::array<char, 4940> digits{};
    std::snprintf(digits.data(), digits.size(), "%.0Lf", r);
    return digits.data();
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QSlider* makeBar(QWidget* parent, const char* name, QRect bounds, int lo, int hi, int position, int ticks) {
    auto* bar = new ReadableTickSlider(Qt::Vertical, parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setGeometry(bounds);
    bar->setRange(lo, hi);
    bar->setValue(position);
    bar->setSingleStep(1);
    bar->setPageStep(2);
    bar->setTickPosition(QSlider::TicksRight);
    bar->setTickInterval(ticks);
    // Qt puts a vertical slider's minimum at the bottom; both settings are needed to have it at the top
    // for the eye and for the Up and Down keys alike.
    bar->setInvertedAppearance(true);
    bar->setInvertedControls(true);
    bar->setFocusPolicy(Qt::StrongFocus);
    return bar;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, QRect bounds) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(bounds);
    // In a QDialog every button would otherwise be pressed by Enter.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

}  // namespace

InitialStateDialog::InitialStateDialog(SimRecords& records, DrawBodyFn drawBody, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      records_(records),
      drawBody_(std::move(drawBody)),
      sep_(QLocale().decimalPoint().toStdString()) {
    setObjectName(QStringLiteral("InitialStateDialog"));
    setWindowTitle(tr("Initial State"));
    setModal(false);
    setFixedSize(ClientWidth, ClientHeight);
    setSizeGripEnabled(false);

    background_ = palette().color(QPalette::Button);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, background_);
    setPalette(pal);
    setFont(dialogFont(11, true));

    const QFont captionFont = dialogFont(13, true);
    const QFont referenceFont = dialogFont(9, false);

    // Created in focus order, so the bars and buttons are chained MassBar, SpeedBar, DirectionBar,
    // CancelButton, SetButton from the start.
    MassBar = makeBar(this, "MassBar", QRect(16, 60, 31, 300), MassMin, MassMax, 250, 10);
    SpeedBar = makeBar(this, "SpeedBar", QRect(184, 60, 31, 300), SpeedMin, SpeedMax, 80, 50);
    DirectionBar =
        makeBar(this, "DirectionBar", QRect(286, 126, 31, 161), DirectionMin, DirectionMax, 110, 15);
    CancelButton = makeButton(this, "CancelButton", tr("Cancel"), QRect(344, 319, 75, 25));
    //: The button that makes the bars' values the body's start.
    SetButton = makeButton(this, "SetButton", tr("Set State"), QRect(248, 320, 75, 25));
    setTabOrder(MassBar, SpeedBar);
    setTabOrder(SpeedBar, DirectionBar);
    setTabOrder(DirectionBar, CancelButton);
    setTabOrder(CancelButton, SetButton);
    MassBar->setFocus();

    const QString positionHint = tr("Right click the main background to select a new position.");
    //: The body's start position on the plot, in metres.
    PosLabel = makeLabel(this, "PosLabel", tr("Position:"), 16, 12, captionFont);
    PosLabel->setGeometry(16, 12, 60, 16);
    PosLabel->setToolTip(positionHint);
    PosValLabel = makeLabel(this, "PosValLabel", QString(), 82, 12, captionFont);
    PosValLabel->setToolTip(positionHint);
    MassLabel = makeLabel(this, "MassLabel", tr("Mass:"), 16, 40, captionFont);
    MassValLabel = makeLabel(this, "MassValLabel", QString(), 68, 40, captionFont);
    SpeedLabel = makeLabel(this, "SpeedLabel", tr("Speed:"), 184, 40, captionFont);
    SpeedValLabel = makeLabel(this, "SpeedValLabel", QString(), 246, 40, captionFont);
    //: The direction of the body's start velocity, in degrees: 0 is up, 90 right.
    DirectionLabel = makeLabel(this, "DirectionLabel", tr("Direction:"), 286, 110, captionFont);
    DirectionValLabel = makeLabel(this, "DirectionValLabel", QString(), 364, 110, captionFont);
    //: Stands in the body's name's place until a body is chosen ("Body A"); hardly ever seen.
    BodyLabel = makeLabel(this, "BodyLabel", tr("Body X"), 334, 10, dialogFont(21, true));

    ColorPanel = new QFrame(this);
    ColorPanel->setObjectName(QStringLiteral("ColorPanel"));
    ColorPanel->setGeometry(420, 11, 22, 22);
    ColorPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    ColorPanel->setLineWidth(1);
    ColorPanel->setAutoFillBackground(true);

    struct Reference {
        const char* name;
        const char* text;
        int left;
        int top;
    };
    // Beside the mass and speed bars, bodies at their masses and speeds, for comparison; beside the direction
    // bar, degrees.
    static constexpr Reference references[] = {
        //: A body beside the mass and speed bars, at its mass or its speed, for comparison.
        {"SputnikLabel", QT_TRANSLATE_NOOP("InitialStateDialog", "Sputnik 1"), 47, 66},
        //: The International Space Station, beside the mass bar at its mass.
        {"ISSLabel", QT_TRANSLATE_NOOP("InitialStateDialog", "ISS"), 47, 96},
        //: A small moon of Jupiter, beside the mass bar at its mass.
        {"SinopeLabel", QT_TRANSLATE_NOOP("InitialStateDialog", "Sinope"), 47, 208},
        //: The Earth's moon, beside the mass bar at its mass.
        {"MoonLabel", QT_TRANSLATE_NOOP("InitialStateDialog", "Moon"), 47, 259},
        //: The planet, beside the mass and speed bars at its mass or its orbital speed.
        {"EarthLabel", QT_TRANSLATE_NOOP("InitialStateDialog", "Earth"), 47, 276},
        //: The planet, beside the mass bar at its mass.
        {"JupiterLabel", QT_TRANSLATE_NOOP("InitialStateDialog", "Jupiter"), 47, 303},
        //: The star, beside the mass and speed bars at its mass or its speed in the galaxy.
        {"SunLabel", QT_TRANSLATE_NOOP("InitialStateDialog", "Sun"), 47, 326},
        //: A giant star, beside the mass bar at its mass.
        {"RigelLabel", QT_TRANSLATE_NOOP("InitialStateDialog", "Rigel"), 47, 338},
        {"Sputnik2Label", QT_TRANSLATE_NOOP("InitialStateDialog", "Sputnik 1"), 215, 64},
        {"Earth2Label", QT_TRANSLATE_NOOP("InitialStateDialog", "Earth"), 215, 81},
        {"Sun2Label", QT_TRANSLATE_NOOP("InitialStateDialog", "Sun"), 215, 190},
        {"Num_0", "0", 319, 131},
        {"Num_90", "90", 319, 166},
        {"Num_180", "180", 319, 200},
        {"Num_270", "270", 319, 234},
        {"Num_359", "359", 319, 271},
    };
    // The numbers have no translation and come back as they are.
    for (const Reference& r : references) makeLabel(this, r.name, tr(r.text), r.left, r.top, referenceFont);

    for (QSlider* bar : {MassBar, SpeedBar, DirectionBar}) bar->installEventFilter(this);
    connect(MassBar, &QSlider::valueChanged, this, [this] { massBarChanged(); });
    connect(SpeedBar, &QSlider::valueChanged, this, [this] { speedBarChanged(); });
    connect(DirectionBar, &QSlider::valueChanged, this, [this] { directionBarChanged(); });
    connect(SetButton, &QPushButton::clicked, this, [this] { setState(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { cancel(); });

    fitToText(this, {&compassArea_});
    classicSize_ = size();
    surface_ = QImage(classicSize_, QImage::Format_RGB32);
    surface_.fill(background_);
    // The compass shows the direction bar from the first time the dialog appears.
    paintCompass(DirectionBar->value());

    typedValuesAction_ = new QAction(tr("Typed Start Values"), this);
    typedValuesAction_->setObjectName(QStringLiteral("typedStartValuesAction"));
    typedValuesAction_->setCheckable(true);
    typedValuesAction_->setChecked(ViewOptions::flag(TypedValuesKey));
    connect(typedValuesAction_, &QAction::toggled, this, [this](bool on) {
        ViewOptions::setFlag(TypedValuesKey, on);
        showTypedValues(on);
    });
    if (typedValuesAction_->isChecked()) showTypedValues(true);
}

void InitialStateDialog::showTypedValues(bool on) {
    if (on && !TypedPanel) buildTypedPanel();
    if (TypedPanel) {
        // The column opens on the pending values: a text refused before it was turned off is gone.
        if (on) showPendingValues();
        TypedPanel->setVisible(on);
    }
    const QSize typed = on ? TypedPanel->size() : QSize(0, 0);
    setFixedSize(classicSize_.width() + typed.width(), std::max(classicSize_.height(), typed.height()));
    updateButtons(previewState());
}

void InitialStateDialog::buildTypedPanel() {
    TypedPanel = new QWidget(this);
    TypedPanel->setObjectName(QStringLiteral("TypedPanel"));
    TypedPanel->setGeometry(classicSize_.width(), 0, TypedPanelWidth, classicSize_.height());
    TypedPanel->setAutoFillBackground(true);
    const QFont captionFont = dialogFont(13, true);
    const QFont referenceFont = dialogFont(9, false);
    makeLabel(TypedPanel, "TypedValuesLabel", tr("Typed values"), 8, 12, captionFont);

    struct Row {
        const char* name;
        const char* captionName;
        const char* unitsName;
        QString caption;
    };
    const Row rows[TypedFieldCount] = {
        {"MassEdit", "MassEditLabel", "MassUnitsLabel", tr("Mass:")},
        {"SpeedEdit", "SpeedEditLabel", "SpeedUnitsLabel", tr("Speed:")},
        {"DirectionEdit", "DirectionEditLabel", "DirectionUnitsLabel", tr("Direction:")},
        {"PosUEdit", "PosUEditLabel", "PosUUnitsLabel", tr("Start position u:")},
        {"PosVEdit", "PosVEditLabel", "PosVUnitsLabel", tr("Start position v:")},
    };
    for (int i = 0; i < TypedFieldCount; ++i) {
        const int top = 40 + 54 * i;
        QLabel* caption = makeLabel(TypedPanel, rows[i].captionName, rows[i].caption, 8, top, captionFont);
        auto* edit = new QLineEdit(TypedPanel);
        edit->setObjectName(QString::fromLatin1(rows[i].name));
        edit->setGeometry(8, top + 16, 180, 22);
        caption->setBuddy(edit);
        makeLabel(TypedPanel, rows[i].unitsName, qs(unitNames(*FieldUnits[i])), 8, top + 39, referenceFont);
        const auto field = static_cast<TypedField>(i);
        connect(edit, &QLineEdit::textEdited, this, [this, field] { typedTextEdited(field); });
        // Return or leaving the field ends the typing that a refused text would undo.
        connect(edit, &QLineEdit::editingFinished, this,
                [this, field] { editStarts_[static_cast<std::size_t>(field)].editing = false; });
        fields_[static_cast<std::size_t>(i)] = edit;
    }
    MassEdit = fields_[MassField];
    SpeedEdit = fields_[SpeedField];
    DirectionEdit = fields_[DirectionField];
    PosUEdit = fields_[PosUField];
    PosVEdit = fields_[PosVField];

    CircularButton = makeButton(TypedPanel, "CircularButton", tr("Circular speed"), QRect(8, 320, 88, 25));
    EscapeButton = makeButton(TypedPanel, "EscapeButton", tr("Escape speed"), QRect(100, 320, 88, 25));
    connect(CircularButton, &QPushButton::clicked, this, [this] { setStartOrbit(StartOrbit::Circle); });
    connect(EscapeButton, &QPushButton::clicked, this, [this] { setStartOrbit(StartOrbit::Escape); });

    // After the classic chain, down the column.
    QWidget* previous = SetButton;
    for (QWidget* w : {static_cast<QWidget*>(MassEdit), static_cast<QWidget*>(SpeedEdit),
                       static_cast<QWidget*>(DirectionEdit), static_cast<QWidget*>(PosUEdit),
                       static_cast<QWidget*>(PosVEdit), static_cast<QWidget*>(CircularButton),
                       static_cast<QWidget*>(EscapeButton)}) {
        setTabOrder(previous, w);
        previous = w;
    }
    namePanelControls();
    fitToText(TypedPanel);
}

void InitialStateDialog::namePanelControls() {
    const bool a = editedBody == BodyA;
    const QString names[TypedFieldCount] = {
        a ? tr("Body A mass") : tr("Body B mass"),
        a ? tr("Body A speed") : tr("Body B speed"),
        a ? tr("Body A direction") : tr("Body B direction"),
        a ? tr("Body A start position u") : tr("Body B start position u"),
        a ? tr("Body A start position v") : tr("Body B start position v"),
    };
    for (int i = 0; i < TypedFieldCount; ++i)
        fields_[static_cast<std::size_t>(i)]->setAccessibleName(names[i]);
    CircularButton->setAccessibleName(tr("Circular speed"));
    EscapeButton->setAccessibleName(tr("Escape speed"));
}

bool InitialStateDialog::typedValuesOn() const {
    return typedValuesAction_->isChecked();
}

bool InitialStateDialog::typedValuesRefused() const {
    if (!typedValuesOn()) return false;
    for (const QString& why : fieldErrors_)
        if (!why.isEmpty()) return true;
    return false;
}

void InitialStateDialog::showFieldValue(TypedField field, Extended x) {
    const auto i = static_cast<std::size_t>(field);
    editStarts_[i].editing = false;
    fields_[i]->setText(qs(GeneralText(x, sep_)) + QLatin1Char(' ') + QLatin1String(StoredUnits[i]));
    setFieldError(field, QString());
}

void InitialStateDialog::showPendingValues() {
    const TState s = previewState();
    const bool a = editedBody == BodyA;
    const TVector pos = a ? s.APos() : s.BPos();
    showFieldValue(MassField, a ? s.AMass() : s.BMass());
    showFieldValue(SpeedField, a ? s.ASpeed() : s.BSpeed());
    showFieldValue(DirectionField, a ? s.ADir() : s.BDir());
    showFieldValue(PosUField, pos.u);
    showFieldValue(PosVField, pos.v);
}

void InitialStateDialog::setFieldError(TypedField field, const QString& why) {
    const auto i = static_cast<std::size_t>(field);
    fieldErrors_[i] = why;
    QLineEdit* edit = fields_[i];
    QPalette pal = TypedPanel->palette();
    if (!why.isEmpty()) pal.setColor(QPalette::Base, RefusedFieldColor);
    edit->setPalette(pal);
    const QString hints[TypedFieldCount] = {
        tr("A mass above 0, in kg, Msun or Mearth"),
        tr("A speed of 0 or more, in km/s or m/s"),
        tr("A direction of travel from 0 up to 360 degrees: 0 is up, 90 right"),
        tr("How far right of the plot's left edge, in m, km or AU"),
        tr("How far down from the plot's top edge, in m, km or AU"),
    };
    edit->setToolTip(why.isEmpty() ? hints[i] : why);
}

void InitialStateDialog::typedTextEdited(TypedField field) {
    const auto i = static_cast<std::size_t>(field);
    EditStart& start = editStarts_[i];
    if (!start.editing) start = EditStart{true, pendingEdit(field)};
    QString refused;
    Extended x = 0;
    try {
        x = parseQuantity(fields_[i]->text().toStdString(), *FieldUnits[i], sep_);
    } catch (const QuantityTextError& e) {
        refused = qs(e.what()) + QLatin1Char('.');
    }
    if (refused.isEmpty()) {
        if (field == MassField && !(x > 0)) refused = tr("The mass must be more than 0 kg.");
        if (field == SpeedField && x < 0) refused = tr("The speed must not be negative.");
        if (field == DirectionField && !(x >= 0 && x < 360))
            refused = tr("The direction must be at least 0 and less than 360 degrees.");
    }
    setFieldError(field, refused);
    // Stored as typed. A refused text counts as not typed at all: a prefix accepted on the way ("1" of
    // "1 lb") is not left behind.
    setPending(field, refused.isEmpty() ? std::optional<Extended>(x) : start.edit);
    announcePreview();
}

std::optional<Extended> InitialStateDialog::pendingEdit(TypedField field) const {
    const TVector& pos = editedBody == BodyA ? ANewPos : BNewPos;
    switch (field) {
        case MassField:
            return edits_.mass;
        case SpeedField:
            return edits_.speed;
        case DirectionField:
            return edits_.direction;
        case PosUField:
            return edits_.u ? std::optional<Extended>(pos.u) : std::nullopt;
        case PosVField:
            return edits_.v ? std::optional<Extended>(pos.v) : std::nullopt;
        case TypedFieldCount:
            break;
    }
    return std::nullopt;
}

void InitialStateDialog::setPending(TypedField field, std::optional<Extended> edit) {
    const TState& s = records_.CurSettings;
    const bool a = editedBody == BodyA;
    TVector& pos = a ? ANewPos : BNewPos;
    const TVector stored = a ? s.APos() : s.BPos();
    // The bars only follow the value to their nearest position.
    switch (field) {
        case MassField:
            edits_.mass = edit;
            barsFollowMass(edit.value_or(a ? s.AMass() : s.BMass()));
            break;
        case SpeedField:
            edits_.speed = edit;
            barsFollowSpeed(edit.value_or(a ? s.ASpeed() : s.BSpeed()));
            break;
        case DirectionField:
            edits_.direction = edit;
            barsFollowDirection(edit.value_or(a ? s.ADir() : s.BDir()));
            break;
        case PosUField:
            edits_.u = edit.has_value();
            pos.u = edit.value_or(stored.u);
            setCaption(PosValLabel, positionText(pos));
            break;
        case PosVField:
            edits_.v = edit.has_value();
            pos.v = edit.value_or(stored.v);
            setCaption(PosValLabel, positionText(pos));
            break;
        case TypedFieldCount:
            break;
    }
}

void InitialStateDialog::barsFollowMass(Extended mass) {
    programMovesBars_ = true;
    MassBar->setValue(massPosition(mass));
    programMovesBars_ = false;
    setCaption(MassValLabel, massText(mass));
}

void InitialStateDialog::barsFollowSpeed(Extended speed) {
    programMovesBars_ = true;
    SpeedBar->setValue(barPosition(speed, SpeedMin, SpeedMax));
    programMovesBars_ = false;
    setCaption(SpeedValLabel, speedText(qs(roundedIntegerText(speed))));
}

void InitialStateDialog::barsFollowDirection(Extended direction) {
    const int position = barPosition(direction, DirectionMin, DirectionMax);
    programMovesBars_ = true;
    DirectionBar->setValue(position);
    programMovesBars_ = false;
    setCaption(DirectionValLabel, directionText(position));
}

void InitialStateDialog::setStartOrbit(StartOrbit orbit) {
    const StartVelocity v = startVelocity(previewState(), editedBody, orbit);
    if (!v.motion) return;
    edits_.speed = v.motion->speed;
    edits_.direction = v.motion->direction;
    if (TypedPanel) {
        showFieldValue(SpeedField, v.motion->speed);
        showFieldValue(DirectionField, v.motion->direction);
    }
    barsFollowSpeed(v.motion->speed);
    barsFollowDirection(v.motion->direction);
    announcePreview();
}

void InitialStateDialog::updateButtons(const TState& preview) {
    const bool refused = typedValuesRefused();
    SetButton->setEnabled(!refused);
    if (!CircularButton) return;
    QString why;
    if (refused) {
        why = tr("Mend the typed values first.");
    } else {
        switch (startVelocity(preview, editedBody, StartOrbit::Circle).whyNone) {
            case NoOrbitReason::None:
            case NoOrbitReason::Radial:
                break;
            case NoOrbitReason::BadMass:
                why = tr("Both masses must be more than 0 kg.");
                break;
            case NoOrbitReason::Coincident:
                why = tr("Both bodies start at the same place.");
                break;
            case NoOrbitReason::NotFinite:
                why = tr("A position, mass, speed or direction is not a finite number.");
                break;
        }
    }
    CircularButton->setEnabled(why.isEmpty());
    EscapeButton->setEnabled(why.isEmpty());
    CircularButton->setToolTip(
        why.isEmpty() ? tr("Speed and direction for a circular orbit about the other body") : why);
    EscapeButton->setToolTip(
        why.isEmpty() ? tr("Speed and direction to just escape from the other body, on a parabola") : why);
}

void InitialStateDialog::announcePreview() {
    const TState preview = previewState();
    updateButtons(preview);
    emit previewChanged(preview);
}

void InitialStateDialog::editBody(Body body) {
    if (body == BodyA || body == BodyB) loadBody(body);
    // A minimised dialog comes back as it was.
    showNormal();
    raise();
    activateWindow();
}

void InitialStateDialog::loadBody(Body body) {
    const TState& s = records_.CurSettings;
    const bool a = body == BodyA;
    editedBody = body;
    const TVector pos = a ? s.APos() : s.BPos();
    (a ? ANewPos : BNewPos) = pos;
    drawBody_(pos, body);
    setCaption(BodyLabel, a ? tr("Body A") : tr("Body B"));
    MassBar->setAccessibleName(a ? tr("Body A mass") : tr("Body B mass"));
    SpeedBar->setAccessibleName(a ? tr("Body A speed") : tr("Body B speed"));
    DirectionBar->setAccessibleName(a ? tr("Body A direction") : tr("Body B direction"));
    QPalette pal = ColorPanel->palette();
    pal.setColor(QPalette::Window, colorOf(a ? s.AColor() : s.BColor()));
    ColorPanel->setPalette(pal);
    setCaption(PosValLabel, positionText(pos));

    // A bar that moves runs its handler here; the labels are then overwritten with the stored values.
    edits_ = Edits{};
    barsFollowMass(a ? s.AMass() : s.BMass());
    barsFollowSpeed(a ? s.ASpeed() : s.BSpeed());
    barsFollowDirection(a ? s.ADir() : s.BDir());
    if (TypedPanel) {
        namePanelControls();
        showPendingValues();
    }
    announcePreview();
}

void InitialStateDialog::pickPosition(int X, int Y) {
    if (!isVisible()) return;
    const Extended sf = records_.CurSettings.sf();
    TVector& pos = editedBody == BodyA ? ANewPos : BNewPos;
    pos.u = static_cast<Extended>(X) * sf;
    pos.v = static_cast<Extended>(Y) * sf;
    edits_.u = edits_.v = true;
    // Only a damaged scale can overflow or be NaN here; the label shows it, and no flag waits for the run.
    clearFpFlags();
    setCaption(PosValLabel, positionText(pos));
    if (TypedPanel) {
        showFieldValue(PosUField, pos.u);
        showFieldValue(PosVField, pos.v);
    }
    announcePreview();
}

void InitialStateDialog::massBarChanged() {
    const Extended mass = massFromPosition(MassBar->value());
    setCaption(MassValLabel, massText(mass));
    if (programMovesBars_) return;
    edits_.mass = mass;
    if (TypedPanel) showFieldValue(MassField, mass);
    announcePreview();
}

void InitialStateDialog::speedBarChanged() {
    setCaption(SpeedValLabel, speedText(qs(IntegerText(SpeedBar->value()))));
    if (programMovesBars_) return;
    edits_.speed = static_cast<Extended>(SpeedBar->value());
    if (TypedPanel) showFieldValue(SpeedField, *edits_.speed);
    announcePreview();
}

void InitialStateDialog::directionBarChanged() {
    setCaption(DirectionValLabel, directionText(DirectionBar->value()));
    drawCompass(DirectionBar->value());
    if (programMovesBars_) return;
    edits_.direction = static_cast<Extended>(DirectionBar->value());
    if (TypedPanel) showFieldValue(DirectionField, *edits_.direction);
    announcePreview();
}

void InitialStateDialog::setState() {
    if (typedValuesRefused()) return;
    records_.setCurSettings(previewState());
    hide();
    emit previewEnded();
}

TState InitialStateDialog::previewState() const {
    using namespace TStateLayout;
    TState s = records_.CurSettings;
    const bool a = editedBody == BodyA;
    const TVector& pos = a ? ANewPos : BNewPos;
    // Written field by field, so that a value nobody changed keeps its bytes, whatever they are.
    const auto write = [&s](std::size_t offset, const std::optional<Extended>& x) {
        if (x) storeExtended(&s.bytes[offset], *x);
    };
    const std::size_t posField = a ? APos : BPos;
    if (edits_.u) storeExtended(&s.bytes[posField], pos.u);
    if (edits_.v) storeExtended(&s.bytes[posField + VectorV], pos.v);
    write(a ? ADir : BDir, edits_.direction);
    write(a ? ASpeed : BSpeed, edits_.speed);
    write(a ? AMass : BMass, edits_.mass);
    return s;
}

void InitialStateDialog::cancel() {
    hide();
    emit previewEnded();
}

void InitialStateDialog::drawCompass(int Azimuth) {
    paintCompass(Azimuth);
    update(compassArea_);
    emit compassDrawn(Azimuth);
}

void InitialStateDialog::paintCompass(int Azimuth) {
    const QRect clearRect = compassArea_;
    const int left = compassArea_.left() + 1;
    const int top = compassArea_.top();
    QPainter p(&surface_);
    // The wide pens reach half a pixel past their points; clipping keeps every trace inside the area that
    // the next compass clears.
    p.setClipRect(clearRect);
    p.fillRect(clearRect, background_);

    p.setPen(QPen(QColor(192, 192, 192), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(background_);
    p.drawEllipse(QRect(left, top, CompassSize, CompassSize));

    constexpr int Radius = CompassSize / 2;
    const Extended r = Radius;
    const int cx = left + static_cast<int>(std::nearbyint(r));
    const int cy = top + static_cast<int>(std::nearbyint(r));
    const auto pointAt = [&](int a) {
        Extended s = 0;
        Extended c = 0;
        x87SinCos(static_cast<Extended>(a) * DegreeFactor, s, c);
        return QPoint(cx + static_cast<int>(std::nearbyint(r * s)),
                      cy - static_cast<int>(std::nearbyint(r * c)));
    };
    const QPoint tip = pointAt(Azimuth);
    const QPoint p1 = pointAt((Azimuth + 180 + ArrowAngle) % 360);
    const QPoint p2 = pointAt((Azimuth + 180 - ArrowAngle) % 360);

    // Blue, lightened where a dark theme's background would swallow it.
    const QColor pointer = readableOn(QColor(0, 0, 255), background_, MarkContrast);
    p.setPen(QPen(pointer, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(p1, tip);
    p.drawLine(tip, p2);
    p.drawLine(p2, p1);
}

// Esc cancels, as Cancel does: keyboard users have no other way out. The classic dialog ignored it.
void InitialStateDialog::reject() {
    cancel();
}

// Window managers show a close box on any window the user may move; it cancels, as Cancel does. The
// program's own close (when it quits) goes through.
void InitialStateDialog::closeEvent(QCloseEvent* event) {
    if (event->spontaneous()) {
        event->ignore();
        cancel();
    } else {
        event->accept();
    }
}

void InitialStateDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred over the main window on the first opening only: later openings keep the place the user chose.
    setAttribute(Qt::WA_Moved, true);
}

void InitialStateDialog::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect r = event->rect() & surface_.rect();
    p.drawImage(r, surface_, r);
}

// A vertical track bar with its minimum at the top moves up for Left and down for Right, like Up and Down;
// Qt's inverted controls would turn Left and Right the other way.
bool InitialStateDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* bar = qobject_cast<QSlider*>(watched);
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (bar != nullptr && (key == Qt::Key_Left || key == Qt::Key_Right)) {
            bar->triggerAction(key == Qt::Key_Left ? QAbstractSlider::SliderSingleStepSub
                                                   : QAbstractSlider::SliderSingleStepAdd);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void InitialStateDialog::setCaption(QLabel* label, const QString& text) {
    label->setText(text);
    if (label != PosLabel) label->adjustSize();
    // A bar's own value is a position on it; a screen reader hears the value it stands for, with its unit.
    if (label == MassValLabel) MassBar->setAccessibleDescription(text);
    if (label == SpeedValLabel) SpeedBar->setAccessibleDescription(text);
    if (label == DirectionValLabel) DirectionBar->setAccessibleDescription(text);
}

QString InitialStateDialog::positionText(const TVector& pos) const {
    //: A start position: (u,v) in metres, rightwards and downwards from the plot's top left corner. Where
    //: the decimal separator is a comma, another separator between the two may read better.
    return tr("(%1,%2)", "position").arg(qs(GeneralText(pos.u, sep_)), qs(GeneralText(pos.v, sep_)));
}

QString InitialStateDialog::massText(Extended mass) const {
    //: The mass bar's value, in kilograms.
    return tr("%1 kg").arg(qs(ExponentText(mass, sep_)));
}

QString InitialStateDialog::speedText(const QString& number) const {
    //: The speed bar's value, in kilometres a second.
    return tr("%1 km/sec").arg(number);
}

QString InitialStateDialog::directionText(int degrees) const {
    //: The direction bar's value, in degrees.
    return tr("%1 deg").arg(qs(IntegerText(degrees)));
}
