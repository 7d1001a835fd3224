#pragma once
// Every text the player can see, in English and in simplified Chinese (UTF-8), looked up by a
// name that says what it is: the control's name for captions and hints, a descriptive name for
// messages. The language is fixed before the main window is built; traditional Chinese is the
// simplified text converted through GB2312 and Big5 when it is shown.
#include <string>
#include <string_view>
#include <vector>

namespace karvena {

// Process-wide language flags, set once before the main window is built: Chinese texts are
// shown when either is set, converted to traditional characters when ChineseBig5 is.
extern bool ChineseGB;
extern bool ChineseBig5;

enum class TLanguage { English, SimplifiedChinese, TraditionalChinese };

// Sets both flags for a language.
void SetLanguageFlags(TLanguage language);
// The language the flags stand for.
TLanguage CurrentLanguage();
// The language from the KARVENA_LANG environment value (wins when valid) or the stored setting,
// each "en", "zh_CN" or "zh_TW"; simplified Chinese when neither names one.
TLanguage LanguageFromSetting(const std::string& setting, const char* environment);
// The setting value of a language.
std::string LanguageSetting(TLanguage language);

// A Chinese text as it is shown: unchanged, or in traditional characters when ChineseBig5 is
// set (UTF-8 -> GB2312 -> table -> Big5 -> UTF-8; characters outside GB2312 stay as they are).
std::string ToLocalText(const std::string& chinese);

struct TTextEntry {
    std::string_view Name;
    std::string_view English;
    std::string_view Chinese;
};

// Every entry of the table, in table order.
const std::vector<TTextEntry>& AllTexts();
// The entry of a name, or nullptr.
const TTextEntry* FindText(std::string_view name);
// The text of a name in the current language (Chinese through ToLocalText); the name itself
// when the table has no such entry, so a missing text shows up instead of vanishing.
std::string Tx(std::string_view name);
// Puts values[0] where "%1" stands, values[1] for "%2", and so on.
std::string Fill(std::string text, const std::vector<std::string>& values);
// English and Chinese alike, in the current language.
std::string LocalOf(std::string_view english, std::string_view chinese);

} // namespace karvena
