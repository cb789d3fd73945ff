#pragma once
// The language choice kept with the user's own settings (organisation "ORVELLE AUDIO",
// value "Lang"). A machine-wide key cannot be written by a normal user, so the choice was
// silently lost there; the per-user store always takes it. Chinese when nothing is stored.
#include "core/text/Lang.h"

namespace tavelo {

inline constexpr const char* kSettingsOrganisation = "ORVELLE AUDIO";
inline constexpr const char* kSettingsApplication = "Tavelo";
inline constexpr const char* kSettingsLangKey = "Lang";

Lang LoadLanguage();
bool HasStoredLanguage();
void StoreLanguage(Lang lang);

}  // namespace tavelo
