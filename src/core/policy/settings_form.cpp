#include "policy/settings_form.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>

#include "base/log.h"
#include "base/product.h"
#include "policy/frame_pacing.h"
#include "sim/creature_tables.h"

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

std::vector<FormField> SettingsFormLayout(const Settings& shown, const std::wstring& logPath) {
  using C = FormControl;
  using F = FormFont;
  using R = FormRole;
  // The labels are wide enough for a three-digit sum in bold and for
  // "Performance:" in the fonts that stand in where the designed one is missing.
  std::vector<FormField> fields = {
      {C::kLabel, L"Total Fish (5-60):", 20, 20, 180, 28, F::kNormal},
      {C::kNumberEdit, std::to_wstring(shown.totalFish), 205, 18, 80, 30, F::kNormal, R::kTotal},
      {C::kLabel, L"Allocated: 0 / 28", 305, 20, 305, 28, F::kBold, R::kAllocated},
      {C::kLabel, L"Performance:", 615, 20, 120, 28, F::kNormal},
      {C::kChoice, L"", 740, 18, 215, 120, F::kNormal, R::kFpsMode},
      // "&&": a button shows a single "&" as the underline of the next letter.
      {C::kGroupBox, L"Species && Count (number of each species)", 15, 52, 1065, 460, F::kNone, R::kGroup},
  };
  for (int i = 0; i < kSpeciesCount; ++i) {
    const int x = 30 + 265 * (i / 5), top = 88 * (i % 5), y = top + 76;
    fields.push_back({C::kSpeciesIcon, L"", x, y, 82, 54, F::kNone, R::kPlain, i});
    fields.push_back({C::kLabel, kSpeciesNames[i], x + 90, y, 170, 26, F::kNormal});
    fields.push_back({C::kLabel, L"Count:", x + 90, top + 104, 55, 24, F::kSmall});
    fields.push_back({C::kNumberEdit, std::to_wstring(shown.speciesCounts[i]), x + 148, top + 102, 55, 28,
                      F::kNormal, R::kSpeciesCount, i});
  }
  fields.push_back({C::kDefaultButton, L"OK", 830, 530, 100, 38, F::kBold, R::kOk});
  fields.push_back({C::kButton, L"Cancel", 945, 530, 100, 38, F::kNormal, R::kCancel});
  fields.push_back({C::kLabel, kSettingsFooter, 20, 580, 500, 24, F::kSmall});
  if (!logPath.empty())
    fields.push_back({C::kLabel, L"Log: " + logPath, 530, 580, 550, 24, F::kSmall, R::kLogPath});
  return fields;
}

FormOutcome ApplySettingsForm(const SettingsFormInput& input, int fpsMode, Settings& settings,
                              const std::function<SaveResult()>& applied, const std::wstring& settingsPath,
                              const std::function<std::wstring(unsigned long)>& describe) {
  FormOutcome outcome;
  const ApplyDecision decision = DecideApply(input);
  if (decision.outcome == ApplyOutcome::kNoSpecies) {
    outcome.caption = kNoSpeciesCaption;
    outcome.text = kNoSpeciesText;
    return outcome;
  }
  if (decision.outcome == ApplyOutcome::kCountExceeded) {
    outcome.caption = kCountExceededCaption;
    outcome.text = CountExceededText(decision.sum, decision.values.totalFish);
    return outcome;
  }
  settings.totalFish = decision.values.totalFish;
  if (fpsMode == kFpsSmooth || fpsMode == kFpsPowerSaver) settings.fpsMode = fpsMode;
  for (int i = 0; i < kSpeciesCount; ++i) settings.speciesCounts[i] = decision.values.speciesCounts[i];
  WriteLog(L"应用设置：总鱼数=%d，已分配=%d，20种生物数量", settings.totalFish, decision.sum);
  const SaveResult saved = applied ? applied() : SaveResult{};
  if (!saved.ok) {
    // Said once, here, where the user asked for it.
    outcome.caption = kSaveFailedCaption;
    outcome.text = SaveFailedText(settingsPath, describe ? describe(saved.error) : std::wstring());
  }
  outcome.close = true;
  return outcome;
}
