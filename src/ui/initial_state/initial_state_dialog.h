#pragma once

#include <QColor>
#include <QDialog>
#include <QImage>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/sim_records.h"
#include "core/start_velocity.h"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
struct QuantityUnits;

// The modeless "Initial State" dialog. It edits one body's starting position, mass, speed and direction
// and writes them into CurSettings only on Set State. The bars hold mass, speed and direction as integer
// positions; the picked position waits in ANewPos or BNewPos. Set State stores only what was changed: a
// bar the user moved, a picked position. Values nobody touched keep their stored bytes.
class InitialStateDialog : public QDialog {
    Q_OBJECT

public:
    // Draws body's cross at NewPos (metres) on the main window's plot.
    using DrawBodyFn = std::function<void(const TVector& NewPos, Body body)>;

    static constexpr int ClientWidth = 458;
    static constexpr int ClientHeight = 376;
    static constexpr int CompassLeft = 352;
    static constexpr int CompassTop = 164;
    static constexpr int CompassSize = 82;
    static constexpr int ArrowAngle = 10;
    // The typed values' column, to the right of the classic area.
    static constexpr int TypedPanelWidth = 196;

    InitialStateDialog(SimRecords& records, DrawBodyFn drawBody, QWidget* mainWindow);

    // Loads the body from CurSettings, draws its cross at the stored start, then shows the
    // dialog modeless and in front. An open dialog switches to the chosen body. drawBody's errors pass.
    void editBody(Body body);
    // The right-button press on the main window's plot at client pixel (X, Y); ignored while hidden.
    void pickPosition(int X, int Y);

    // View > Typed Start Values, an extra kept in the view options: fields for typed values beside the
    // bars, and the circular and escape speed buttons. Off, the dialog is the classic one.
    QAction* typedValuesAction() const { return typedValuesAction_; }

public slots:
    // Neither button is a cancel button, so Esc leaves the dialog open.
    void reject() override;

signals:
    void compassDrawn(int Azimuth);
    // The unsaved values changed (a bar moved, a position was picked, a body was loaded).
    void previewChanged(const TState& preview);
    // Set State or Cancel: CurSettings holds what counts again.
    void previewEnded();

protected:
    // The bars' handlers, the buttons' steps, the pending values and the widgets: the dialog's own
    // controls use them, and tests drive them through a subclass.
    void massBarChanged();
    void speedBarChanged();
    void directionBarChanged();
    void setState();
    void cancel();
    void drawCompass(int Azimuth);
    // CurSettings as Set State would leave it: the edited body with the values the user changed.
    TState previewState() const;

    // The dialog's own drawing surface in client pixels; the compass is drawn here and painted from here.
    const QImage& surface() const { return surface_; }

    // The Circular speed and Escape speed buttons: this body's speed and direction for that orbit about
    // the other body, from this body's pending position and mass and the other's stored values.
    void setStartOrbit(StartOrbit orbit);

    Body editedBody = BodyA;
    TVector ANewPos{};
    TVector BNewPos{};

    QLabel* PosLabel;
    QLabel* PosValLabel;
    QLabel* MassLabel;
    QLabel* MassValLabel;
    QLabel* SpeedLabel;
    QLabel* SpeedValLabel;
    QLabel* DirectionLabel;
    QLabel* DirectionValLabel;
    QLabel* BodyLabel;
    QFrame* ColorPanel;
    QSlider* MassBar;
    QSlider* SpeedBar;
    QSlider* DirectionBar;
    QPushButton* SetButton;
    QPushButton* CancelButton;

    // The typed values' column; all null until the extra is first turned on, so that the classic dialog
    // has no hidden controls in its focus chain or its accessible tree.
    QWidget* TypedPanel = nullptr;
    QLineEdit* MassEdit = nullptr;
    QLineEdit* SpeedEdit = nullptr;
    QLineEdit* DirectionEdit = nullptr;
    QLineEdit* PosUEdit = nullptr;
    QLineEdit* PosVEdit = nullptr;
    QPushButton* CircularButton = nullptr;
    QPushButton* EscapeButton = nullptr;

    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The values changed since the opening, in the record's units; an empty one keeps the stored value.
    struct Edits {
        std::optional<Extended> mass, speed, direction;
        bool u = false, v = false;  // from ANewPos or BNewPos
    };

    // The typed fields, in the order of TypedField.
    enum TypedField { MassField, SpeedField, DirectionField, PosUField, PosVField, TypedFieldCount };

    void loadBody(Body body);
    void showTypedValues(bool on);
    void buildTypedPanel();
    void typedTextEdited(TypedField field);
    // The field's value in edits_ (for a coordinate, the pending one if it was changed).
    std::optional<Extended> pendingEdit(TypedField field) const;
    // Makes edit the field's pending value, or the stored one when empty.
    void setPending(TypedField field, std::optional<Extended> edit);
    void setFieldError(TypedField field, const QString& why);
    // The field shows x in the quantity's stored unit, in the user's locale; any error it had is gone.
    void showFieldValue(TypedField field, Extended x);
    void showPendingValues();
    // Bars and labels follow a value that did not come from the bar itself.
    void barsFollowMass(Extended mass);
    void barsFollowSpeed(Extended speed);
    void barsFollowDirection(Extended direction);
    void namePanelControls();
    // Set State waits while a typed text is refused; so do the circular and escape speeds, which also
    // need a pair of bodies they can be computed for.
    void updateButtons(const TState& preview);
    void announcePreview();
    bool typedValuesOn() const;
    bool typedValuesRefused() const;
    void paintCompass(int Azimuth);
    void setCaption(QLabel* label, const QString& text);
    QString positionText(const TVector& pos) const;
    // The bars' values with their units, as their labels show them.
    QString massText(Extended mass) const;
    QString speedText(const QString& number) const;
    QString directionText(int degrees) const;

    SimRecords& records_;
    DrawBodyFn drawBody_;
    // The classic area and the compass in it; larger than the classic pixels where a translation's texts
    // need more room.
    QSize classicSize_{ClientWidth, ClientHeight};
    QRect compassArea_{CompassLeft - 1, CompassTop, CompassSize + 2, CompassSize + 1};
    std::string sep_;
    QColor background_;
    QImage surface_;
    Edits edits_;
    // Set while the program itself moves the bars: their handlers then record no change.
    bool programMovesBars_ = false;
    QAction* typedValuesAction_ = nullptr;
    std::array<QLineEdit*, TypedFieldCount> fields_{};
    // Why each field's text is refused; empty when it is accepted.
    std::array<QString, TypedFieldCount> fieldErrors_{};
    // The pending value a field had when the user began typing into it, which a refused text restores.
    // Return, leaving the field, or the program's own writing of it ends the typing.
    struct EditStart {
        bool editing = false;
        std::optional<Extended> edit;
    };
    std::array<EditStart, TypedFieldCount> editStarts_{};
};
