#pragma once

#include "ui/settings_viewer/settings_viewer.h"

// The settings viewer as the tests drive it: its record steps, its widgets and what it shows, which the
// program itself keeps out of its public interface.
class TestSettingsViewer : public SettingsViewer {
public:
    using SettingsViewer::SettingsViewer;

    using SettingsViewer::finish;
    using SettingsViewer::makeRecordCurrent;
    using SettingsViewer::markForDeletion;
    using SettingsViewer::showFirstRecord;
    using SettingsViewer::showLastRecord;
    using SettingsViewer::showNextRecord;
    using SettingsViewer::showPreviousRecord;
    using SettingsViewer::showRecord;
    using SettingsViewer::unmarkForDeletion;
    using SettingsViewer::whileShown;

    using SettingsViewer::ALabel;
    using SettingsViewer::AList;
    using SettingsViewer::BLabel;
    using SettingsViewer::BList;
    using SettingsViewer::BodyLabels;
    using SettingsViewer::ColorAPanel;
    using SettingsViewer::ColorBPanel;
    using SettingsViewer::ComLabels;
    using SettingsViewer::ComList;
    using SettingsViewer::CountLabel;
    using SettingsViewer::CurrentButton;
    using SettingsViewer::DeleteButton;
    using SettingsViewer::FilenameLabel;
    using SettingsViewer::finishedButton;
    using SettingsViewer::FirstButton;
    using SettingsViewer::LastButton;
    using SettingsViewer::NextButton;
    using SettingsViewer::PreviousButton;
    using SettingsViewer::RecordPanel;
    using SettingsViewer::UndeleteButton;

    using SettingsViewer::viewFileOpen;
    using SettingsViewer::viewModified;
    using SettingsViewer::viewRec;
};
