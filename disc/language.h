#pragma once

// The disc's two languages. The language chooses the category file, the default description name, which
// description option of a program counts ("op1" Polish, "op2" Czech), the help file and every window's
// pictures.
enum class Language { kPolish, kCzech };

inline constexpr Language kLanguages[] = {Language::kPolish, Language::kCzech};

constexpr Language LanguageOf(bool isPolish) { return isPolish ? Language::kPolish : Language::kCzech; }

// "Polish", "Czech": the language's name in the tools' messages.
constexpr const char* LanguageName(Language language) {
  return language == Language::kPolish ? "Polish" : "Czech";
}

// One value for each language.
template <class T>
struct PerLanguage {
  T polish{};
  T czech{};

  T& operator[](Language language) { return language == Language::kPolish ? polish : czech; }
  const T& operator[](Language language) const { return language == Language::kPolish ? polish : czech; }
};
