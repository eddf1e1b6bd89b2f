// The product's own texts shown by the About window and the settings window's
// footer: one place for the website and the rights notice.
#pragma once

#include "base/version.h"

// The website's host name, shown in the About window and the settings footer.
#define TIDEMERE_WEBSITE_HOST L"tidemere.app"

constexpr const wchar_t* kWebsiteHost = TIDEMERE_WEBSITE_HOST;
constexpr const wchar_t* kWebsiteUrl = L"https://" TIDEMERE_WEBSITE_HOST L"/";
constexpr const wchar_t* kSettingsFooter =
    L"Tidemere v" TIDEMERE_VERSION_SHORT L"  |  " TIDEMERE_WEBSITE_HOST;
constexpr const wchar_t* kVersionLine = L"Version " TIDEMERE_VERSION_SHORT;
constexpr const wchar_t* kRightsLabel = L"Rights:";
constexpr const wchar_t* kRightsNotice = L"\u00A9 2026 Tidemere. All rights reserved.";
