#pragma once

#include "ui/initial_state/initial_state_dialog.h"

// The Initial State dialog as the tests drive it: its handlers, its pending values and its widgets, which the
// program itself keeps out of its public interface.
class TestInitialStateDialog : public InitialStateDialog {
public:
    using InitialStateDialog::InitialStateDialog;

    using InitialStateDialog::cancel;
    using InitialStateDialog::directionBarChanged;
    using InitialStateDialog::drawCompass;
    using InitialStateDialog::massBarChanged;
    using InitialStateDialog::previewState;
    using InitialStateDialog::setStartOrbit;
    using InitialStateDialog::setState;
    using InitialStateDialog::speedBarChanged;
    using InitialStateDialog::surface;

    using InitialStateDialog::ANewPos;
    using InitialStateDialog::BNewPos;
    using InitialStateDialog::editedBody;

    using InitialStateDialog::BodyLabel;
    using InitialStateDialog::CancelButton;
    using InitialStateDialog::CircularButton;
    using InitialStateDialog::ColorPanel;
    using InitialStateDialog::DirectionBar;
    using InitialStateDialog::DirectionEdit;
    using InitialStateDialog::DirectionLabel;
    using InitialStateDialog::DirectionValLabel;
    using InitialStateDialog::EscapeButton;
    using InitialStateDialog::MassBar;
    using InitialStateDialog::MassEdit;
    using InitialStateDialog::MassLabel;
    using InitialStateDialog::MassValLabel;
    using InitialStateDialog::PosLabel;
    using InitialStateDialog::PosUEdit;
    using InitialStateDialog::PosValLabel;
    using InitialStateDialog::PosVEdit;
    using InitialStateDialog::SetButton;
    using InitialStateDialog::SpeedBar;
    using InitialStateDialog::SpeedEdit;
    using InitialStateDialog::SpeedLabel;
    using InitialStateDialog::SpeedValLabel;
    using InitialStateDialog::TypedPanel;
};
