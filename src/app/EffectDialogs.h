#pragma once
// The dialog of an effect row that has one: an adjustment dialog built from
// the row's track-bar setup, or the row's own dialog class, found by its
// form name in the table of EffectDialogs.cpp.
class QWidget;

namespace px {

struct EffectCommand;
class EffectDialog;
class Prompter;

// Null for a row without a dialog, or whose dialog class is not listed.
EffectDialog* createEffectDialog(const EffectCommand& row, Prompter& prompter, QWidget* parent);

} // namespace px
