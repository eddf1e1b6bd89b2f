// The settings window "Aquarium Settings" as both desktops show it: its
// controls laid out at 96 DPI, what it makes of its edit texts (the numbers
// typed, the "Allocated" label, whether OK may store them) and what OK does.
// Portable, so the rules are tested natively.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "settings/settings.h"

// ---- the layout ----

enum class FormControl {
  kLabel,
  kNumberEdit,  // digits only
  kChoice,      // a drop-down list: the frame-rate modes
  kGroupBox,
  kButton,
  kDefaultButton,  // Enter presses it
  kSpeciesIcon,    // the species' picture, 82 x 54
};
enum class FormFont { kNone, kNormal, kBold, kSmall };
constexpr int kFormFontKinds = 4;
// Pixel heights at 96 DPI, by FormFont.
constexpr int kFormFontPixels[kFormFontKinds] = {0, 18, 18, 16};
// What a control is to the window that makes it.
enum class FormRole {
  kPlain,
  kTotal,         // the total's edit
  kAllocated,     // the running "Allocated" label
  kFpsMode,       // the frame-rate choice
  kSpeciesCount,  // a species' count edit
  kGroup,
  kOk,
  kCancel,
  kLogPath,  // where the /debug log goes: a path, shortened in its middle when long
};

struct FormField {
  FormControl control = FormControl::kLabel;
  std::wstring text;
  int x = 0, y = 0, width = 0, height = 0;  // client pixels at 96 DPI
  FormFont font = FormFont::kNone;
  FormRole role = FormRole::kPlain;
  int species = -1;  // a count edit's or an icon's species
};

// The frame-rate choice's items, by fpsMode.
constexpr const wchar_t* kFpsModeNames[2] = {L"Smooth (60 FPS)", L"Power Saver (15 FPS)"};

// Every control in creation order, showing `shown`'s values; with a log
// path (the program runs with its log on), the footer says where it goes.
std::vector<FormField> SettingsFormLayout(const Settings& shown, const std::wstring& logPath = {});

// ---- the numbers ----

// Edit texts are read up to this many characters.
constexpr int kFormNumberChars = 15;

// The number in an edit text as the C library's wide string-to-long
// conversion reads it (leading blanks and a sign, digits up to the first other
// character, none give 0) over its first 15 characters, within the 32-bit
// range of a Windows long.
int ReadFormNumber(const wchar_t* text);

// The numbers as typed: the total and each species' count, unclamped.
struct SettingsFormInput {
  int totalFish = 0;
  int speciesCounts[kSpeciesCount] = {};
};

// "Allocated: <sum of the typed counts> / <total> (max <total>)", the total
// clamped to 5..60 and the sum not clamped.
std::wstring AllocatedLabelText(const SettingsFormInput& input);

enum class ApplyOutcome { kAccepted, kNoSpecies, kCountExceeded };

// OK's decision: the total clamped to 5..60, each count to 0..60, and the
// outcome for their sum. `values` holds what is stored when accepted.
struct ApplyDecision {
  ApplyOutcome outcome = ApplyOutcome::kAccepted;
  int sum = 0;
  Settings values;  // totalFish and speciesCounts; theme and fpsMode untouched
};
ApplyDecision DecideApply(const SettingsFormInput& input);

// The warning boxes' texts and captions.
constexpr const wchar_t* kNoSpeciesText = L"Please set at least one species with count > 0!";
constexpr const wchar_t* kNoSpeciesCaption = L"Warning";
constexpr const wchar_t* kCountExceededCaption = L"Count Exceeded";
// The whole "Count Exceeded" message for a sum and a total, however many digits.
std::wstring CountExceededText(int sum, int total);

// The settings could not be written: the file and the system's reason.
constexpr const wchar_t* kSaveFailedCaption = L"Settings Not Saved";
std::wstring SaveFailedText(const std::wstring& path, const std::wstring& reason);

// ---- OK ----

// What OK leads to: a warning box first (when `caption` is set), and whether
// the window then closes.
struct FormOutcome {
  bool close = false;
  const wchar_t* caption = nullptr;
  std::wstring text;
};

// OK pressed with these numbers and this frame-rate choice: counts that do
// not hold keep the window open with a warning; accepted ones are stored in
// `settings`, then `applied` saves them and rebuilds the aquarium. A save that
// failed is said (the file and the system's reason, `describe` giving the
// reason's text); the new values stay in use for this session.
FormOutcome ApplySettingsForm(const SettingsFormInput& input, int fpsMode, Settings& settings,
                              const std::function<SaveResult()>& applied, const std::wstring& settingsPath,
                              const std::function<std::wstring(unsigned long)>& describe);
