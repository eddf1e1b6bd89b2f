#include "policy/settings_form.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>

namespace {
int Clamp(int value, int lowest, int highest) {
  return std::min(std::max(value, lowest), highest);
}

int ClampedTotal(int typed) {
  return Clamp(typed, 5, 60);
}
}  // namespace

int ReadFormNumber(const wchar_t* text) {
  if (text == nullptr) return 0;
  wchar_t head[kFormNumberChars + 1] = {};
  std::wcsncpy(head, text, kFormNumberChars);
  // long is 32 bits on Windows and 64 natively: read wide, then saturate as
  // the Windows conversion does, so both builds read the same number.
  long long value = std::wcstoll(head, nullptr, 10);
  return int(std::min<long long>(std::max<long long>(value, INT32_MIN), INT32_MAX));
}

std::wstring AllocatedLabelText(const SettingsFormInput& input) {
  long long sum = 0;  // twenty typed counts can pass the range of an int
  for (int count : input.speciesCounts) sum += count;
  const int total = ClampedTotal(input.totalFish);
  return L"Allocated: " + std::to_wstring(sum) + L" / " + std::to_wstring(total) + L" (max " +
         std::to_wstring(total) + L")";
}

ApplyDecision DecideApply(const SettingsFormInput& input) {
  ApplyDecision decision;
  decision.values.totalFish = ClampedTotal(input.totalFish);
  for (int i = 0; i < kSpeciesCount; ++i) {
    decision.values.speciesCounts[i] = Clamp(input.speciesCounts[i], 0, 60);
    decision.sum += decision.values.speciesCounts[i];
  }
  if (decision.sum == 0) {
    decision.outcome = ApplyOutcome::kNoSpecies;
  } else if (decision.sum > decision.values.totalFish) {
    decision.outcome = ApplyOutcome::kCountExceeded;
  }
  return decision;
}

std::wstring CountExceededText(int sum, int total) {
  // Built whole: a fixed 128-character buffer cut it short for a four-digit sum.
  return L"Total count of all species (" + std::to_wstring(sum) + L") exceeds total fish count (" +
         std::to_wstring(total) + L")!\nPlease reduce some species counts or increase total fish count.";
}

std::wstring SaveFailedText(const std::wstring& path, const std::wstring& reason) {
  return L"Tidemere could not save the settings to\n" + path + L"\n\n" + reason +
         L"\n\nThe new settings are used until Tidemere ends; they are not kept for the next start.";
}
