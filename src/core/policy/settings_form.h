// What the settings window makes of its edit texts: the numbers typed, the
// "Allocated" label, and whether OK may store them. Portable, so the rules
// are tested natively.
#pragma once

#include <string>

#include "settings/settings.h"

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
