// What the settings window makes of typed numbers: reading, the "Allocated"
// label and OK's decision.
#include "policy/settings_form.h"

#include <gtest/gtest.h>

#include "base/product.h"

namespace {

SettingsFormInput Defaults() {
  SettingsFormInput input;
  const Settings defaults;
  input.totalFish = defaults.totalFish;
  for (int i = 0; i < kSpeciesCount; ++i) input.speciesCounts[i] = defaults.speciesCounts[i];
  return input;
}

}  // namespace

TEST(SettingsForm, NumbersAreReadLikeTheCLibraryOverFifteenCharacters) {
  EXPECT_EQ(ReadFormNumber(L"28"), 28);
  EXPECT_EQ(ReadFormNumber(L""), 0);
  EXPECT_EQ(ReadFormNumber(nullptr), 0);
  EXPECT_EQ(ReadFormNumber(L"abc"), 0);
  EXPECT_EQ(ReadFormNumber(L"  \t+7"), 7);
  EXPECT_EQ(ReadFormNumber(L"-12"), -12);
  EXPECT_EQ(ReadFormNumber(L"12x5"), 12);
  EXPECT_EQ(ReadFormNumber(L"0x10"), 0) << "decimal only";
  // Beyond the 32-bit range a Windows long saturates, on both builds alike.
  EXPECT_EQ(ReadFormNumber(L"99999999999"), 2147483647);
  EXPECT_EQ(ReadFormNumber(L"-99999999999"), -2147483647 - 1);
  // Only the first fifteen characters count: the 16th digit is never seen.
  EXPECT_EQ(ReadFormNumber(L"000000000000001"), 1);
  EXPECT_EQ(ReadFormNumber(L"0000000000000012"), 1);
  EXPECT_EQ(ReadFormNumber(L"              5"), 5);
  EXPECT_EQ(ReadFormNumber(L"               5"), 0);
}

TEST(SettingsForm, AllocatedLabelCountsTypedValuesAndClampsTheTotal) {
  SettingsFormInput input = Defaults();
  EXPECT_EQ(AllocatedLabelText(input), L"Allocated: 28 / 28 (max 28)");
  input.speciesCounts[3] = 70;  // typed, not clamped in the label
  EXPECT_EQ(AllocatedLabelText(input), L"Allocated: 96 / 28 (max 28)");
  input.totalFish = 0;  // an emptied total edit
  EXPECT_EQ(AllocatedLabelText(input), L"Allocated: 96 / 5 (max 5)");
  input.totalFish = 99;
  EXPECT_EQ(AllocatedLabelText(input), L"Allocated: 96 / 60 (max 60)");
  // Twenty saturated counts pass the range of an int and are still shown whole.
  for (int& count : input.speciesCounts) count = 2147483647;
  EXPECT_EQ(AllocatedLabelText(input), L"Allocated: 42949672940 / 60 (max 60)");
}

TEST(SettingsForm, ApplyClampsAndAcceptsASumUpToTheTotal) {
  SettingsFormInput input = Defaults();
  ApplyDecision decision = DecideApply(input);
  EXPECT_EQ(decision.outcome, ApplyOutcome::kAccepted) << "sum equal to the total";
  EXPECT_EQ(decision.sum, 28);
  EXPECT_EQ(decision.values.totalFish, 28);

  input.totalFish = 60;
  input.speciesCounts[0] = 70;
  input.speciesCounts[1] = -4;
  decision = DecideApply(input);
  EXPECT_EQ(decision.values.speciesCounts[0], 60);
  EXPECT_EQ(decision.values.speciesCounts[1], 0);
  EXPECT_EQ(decision.sum, 28 - 2 - 2 + 60) << "the sum is checked with the clamped counts";
  EXPECT_EQ(decision.outcome, ApplyOutcome::kCountExceeded);

  input = Defaults();
  input.totalFish = 3;  // clamped to 5, which the sum then exceeds
  decision = DecideApply(input);
  EXPECT_EQ(decision.values.totalFish, 5);
  EXPECT_EQ(decision.outcome, ApplyOutcome::kCountExceeded);
  input.totalFish = 61;
  EXPECT_EQ(DecideApply(input).values.totalFish, 60);
  EXPECT_EQ(DecideApply(input).outcome, ApplyOutcome::kAccepted);
}

TEST(SettingsForm, NoSpeciesIsRefusedBeforeTheTotal) {
  SettingsFormInput input;
  input.totalFish = 0;
  input.speciesCounts[5] = -3;  // clamped to 0
  EXPECT_EQ(DecideApply(input).outcome, ApplyOutcome::kNoSpecies);
  input.speciesCounts[5] = 1;
  EXPECT_EQ(DecideApply(input).outcome, ApplyOutcome::kAccepted);
}

TEST(SettingsForm, CountExceededTextIsWholeForAFourDigitSum) {
  SettingsFormInput input;
  input.totalFish = 60;
  for (int& count : input.speciesCounts) count = 60;
  ApplyDecision decision = DecideApply(input);
  ASSERT_EQ(decision.sum, 1200);
  const std::wstring text = CountExceededText(decision.sum, decision.values.totalFish);
  EXPECT_EQ(text,
            L"Total count of all species (1200) exceeds total fish count (60)!\n"
            L"Please reduce some species counts or increase total fish count.");
  EXPECT_GE(text.size(), 128u) << "longer than the old 128-character buffer could hold";
}

TEST(SettingsForm, TheFooterSaysWhereTheLogGoesOnlyWhenThereIsOne) {
  auto LogLabels = [](const std::vector<FormField>& fields) {
    std::vector<FormField> found;
    for (const FormField& f : fields)
      if (f.role == FormRole::kLogPath) found.push_back(f);
    return found;
  };
  EXPECT_TRUE(LogLabels(SettingsFormLayout(Settings{})).empty());
  const std::wstring path = L"C:\\Users\\a\\AppData\\Local\\Tidemere\\Tidemere.log";
  const std::vector<FormField> fields = SettingsFormLayout(Settings{}, path);
  const std::vector<FormField> log = LogLabels(fields);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].text, L"Log: " + path);
  EXPECT_LE(log[0].x + log[0].width, 1100) << "inside the window";
  // Beside the footer and below the buttons, overlapping nothing.
  for (const FormField& f : fields) {
    if (f.role == FormRole::kLogPath || f.control == FormControl::kGroupBox) continue;
    const bool apart = f.x + f.width <= log[0].x || log[0].x + log[0].width <= f.x ||
                       f.y + f.height <= log[0].y || log[0].y + log[0].height <= f.y;
    EXPECT_TRUE(apart) << std::string(f.text.begin(), f.text.end());
  }
}
