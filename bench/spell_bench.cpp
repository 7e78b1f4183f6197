// Orthon beside hunspell (Debian's libhunspell with its en_US and ru_RU dictionaries), in
// one run:
//  - checking every word of a 100,000-word English text and of a Russian one, made with a
//    fixed seed from the dictionaries' own word lists with one word in twenty misspelt;
//  - 500 misspellings per language (one deletion, insertion, substitution or
//    transposition in a word of the word list, fixed seed, none that either checker
//    accepts): how often the intended word is among the first five suggestions, and the
//    time per suggestion list;
//  - loading the dictionaries.
// Orthon is bound by path through its exports, as the control binds it.
#include <benchmark/benchmark.h>

#include <hunspell.hxx>

#include <algorithm>
#include <chrono>
#include <dlfcn.h>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/base/strings.h"
#include "spell/orthon.h"
#include "tests/support/misspell.h"

namespace {

using plat::String;

constexpr std::size_t kTextWords = 100000;
constexpr int kMisspeltOneIn = 20;
constexpr std::size_t kSuggestionCases = 500;
constexpr std::size_t kTopSuggestions = 5;

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The library's exports, bound by path.
class OrthonBinding {
public:
    OrthonBinding()
    {
        m_handle = dlopen(ORTHON_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
        if (!m_handle) throw std::runtime_error(dlerror());
        load = reinterpret_cast<OrthonLoadSpellCheckFn>(dlsym(m_handle, "LoadSpellCheck"));
        release = reinterpret_cast<OrthonReleaseSpellCheckFn>(dlsym(m_handle, "ReleaseSpellCheck"));
        check = reinterpret_cast<OrthonCheckWordFn>(dlsym(m_handle, "CheckWord"));
        find = reinterpret_cast<OrthonFindWordFn>(dlsym(m_handle, "FindWord"));
        get = reinterpret_cast<OrthonGetWordFn>(dlsym(m_handle, "GetWord"));
        if (!load || !release || !check || !find || !get) throw std::runtime_error("missing export");
        load(plat::Utf8ToUtf16(ORTHON_DICTIONARY_DIR).c_str());
    }
    ~OrthonBinding()
    {
        release();
        dlclose(m_handle);
    }
    OrthonBinding(const OrthonBinding&) = delete;
    OrthonBinding& operator=(const OrthonBinding&) = delete;

    OrthonLoadSpellCheckFn load = nullptr;
    OrthonReleaseSpellCheckFn release = nullptr;
    OrthonCheckWordFn check = nullptr;
    OrthonFindWordFn find = nullptr;
    OrthonGetWordFn get = nullptr;

private:
    void* m_handle = nullptr;
};

std::unique_ptr<Hunspell> LoadHunspell(const std::string& base)
{
    return std::make_unique<Hunspell>((base + ".aff").c_str(), (base + ".dic").c_str());
}

// The word lists the two standard dictionaries were generated from.
std::vector<String> EnglishWords()
{
    std::vector<String> words;
    const std::string text = ReadAll(ORTHON_ENGLISH_WORDS);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string w = text.substr(start, end - start);
        start = end + 1;
        if (w.empty() || w.size() > 18) continue;
        if (std::all_of(w.begin(), w.end(), [](char c) {
                return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '\'';
            }))
            words.push_back(plat::AsciiToUtf16(w));
    }
    return words;
}

std::vector<String> RussianWords()
{
    const std::string bytes = ReadAll(std::string(ORTHON_DICTIONARY_DIR) + "/QlRussia.dic");
    std::vector<String> words;
    String w;
    for (std::size_t k = 0; k + 1 < bytes.size(); k += 2) {
        const auto c = static_cast<char16_t>(static_cast<unsigned char>(bytes[k])
                                             | (static_cast<unsigned char>(bytes[k + 1]) << 8));
        if (c == 0) {
            words.push_back(w);
            w.clear();
        } else {
            w += c;
        }
    }
    return words;
}

const String kEnglishLetters = u"abcdefghijklmnopqrstuvwxyz";
const String kRussianLetters = u"абвгдеёжзийклмнопрстуфхцчшщъыьэюя";

using testsupport::Misspell;

struct Language {
    std::vector<String> words;   // the dictionary's own word list
    String letters;
    std::vector<String> text;    // kTextWords words, one in kMisspeltOneIn misspelt
    std::vector<std::string> textUtf8;
    struct Case {
        String intended;
        String misspelt;
        std::string misspeltUtf8;
    };
    std::vector<Case> cases;
};

struct Fixture {
    std::unique_ptr<OrthonBinding> orthon;
    std::unique_ptr<Hunspell> hunspellEnglish;
    std::unique_ptr<Hunspell> hunspellRussian;
    Language english;
    Language russian;
};

void Prepare(Language& lang, Hunspell& hunspell, OrthonBinding& orthon, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
    for (std::size_t k = 0; k < kTextWords; ++k) {
        String w = lang.words[pick(lang.words.size())];
        if (pick(kMisspeltOneIn) == 0) w = Misspell(w, lang.letters, rng);
        lang.textUtf8.push_back(plat::Utf16ToUtf8(w));
        lang.text.push_back(std::move(w));
    }
    while (lang.cases.size() < kSuggestionCases) {
        const String& intended = lang.words[pick(lang.words.size())];
        String misspelt = Misspell(intended, lang.letters, rng);
        std::string utf8 = plat::Utf16ToUtf8(misspelt);
        // Only words that both checkers call misspelt.
        if (misspelt == intended || orthon.check(misspelt.c_str()) || hunspell.spell(utf8)) continue;
        lang.cases.push_back({intended, std::move(misspelt), std::move(utf8)});
    }
}

Fixture& Data()
{
    static Fixture* f = [] {
        auto* fx = new Fixture;
        fx->orthon = std::make_unique<OrthonBinding>();
        fx->hunspellEnglish = LoadHunspell(HUNSPELL_ENGLISH);
        fx->hunspellRussian = LoadHunspell(HUNSPELL_RUSSIAN);
        fx->english.words = EnglishWords();
        fx->english.letters = kEnglishLetters;
        fx->russian.words = RussianWords();
        fx->russian.letters = kRussianLetters;
        Prepare(fx->english, *fx->hunspellEnglish, *fx->orthon, 20261208);
        Prepare(fx->russian, *fx->hunspellRussian, *fx->orthon, 19450509);
        return fx;
    }();
    return *f;
}

void SetWordsCounters(benchmark::State& state, const Language& lang, std::size_t misspelt)
{
    state.counters["words_per_s"] =
        benchmark::Counter(static_cast<double>(lang.text.size()), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["misspelt"] = static_cast<double>(misspelt);
}

void CheckOrthon(benchmark::State& state, Language Fixture::*which)
{
    Fixture& f = Data();
    const Language& lang = f.*which;
    std::size_t misspelt = 0;
    for (auto _ : state) {
        misspelt = 0;
        for (const String& w : lang.text) misspelt += f.orthon->check(w.c_str()) == 0;
        benchmark::DoNotOptimize(misspelt);
    }
    SetWordsCounters(state, lang, misspelt);
}

void CheckHunspell(benchmark::State& state, Language Fixture::*which, std::unique_ptr<Hunspell> Fixture::*checker)
{
    Fixture& f = Data();
    const Language& lang = f.*which;
    Hunspell& hunspell = *(f.*checker);
    std::size_t misspelt = 0;
    for (auto _ : state) {
        misspelt = 0;
        for (const std::string& w : lang.textUtf8) misspelt += !hunspell.spell(w);
        benchmark::DoNotOptimize(misspelt);
    }
    SetWordsCounters(state, lang, misspelt);
}

// Each iteration asks for every case's suggestion list once.
template <class SuggestFn>
void MeasureSuggestions(benchmark::State& state, const Language& lang, SuggestFn suggest)
{
    std::size_t inTopFive = 0;
    std::size_t anywhere = 0;
    std::size_t listed = 0;
    double seconds = 0;
    std::size_t lists = 0;
    for (auto _ : state) {
        inTopFive = anywhere = listed = 0;
        for (const Language::Case& c : lang.cases) {
            const auto start = std::chrono::steady_clock::now();
            const std::vector<String> list = suggest(c);
            seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            ++lists;
            const auto at = std::find(list.begin(), list.end(), c.intended);
            inTopFive += at != list.end() && static_cast<std::size_t>(at - list.begin()) < kTopSuggestions;
            anywhere += at != list.end();
            listed += list.size();
        }
    }
    const double n = static_cast<double>(lang.cases.size());
    state.counters["top5_pct"] = 100.0 * static_cast<double>(inTopFive) / n;
    state.counters["listed_pct"] = 100.0 * static_cast<double>(anywhere) / n;
    state.counters["avg_suggestions"] = static_cast<double>(listed) / n;
    state.counters["ms_per_list"] = 1000.0 * seconds / static_cast<double>(lists);
}

void SuggestOrthon(benchmark::State& state, Language Fixture::*which)
{
    Fixture& f = Data();
    MeasureSuggestions(state, f.*which, [&](const Language::Case& c) {
        std::vector<String> list;
        const int count = f.orthon->find(c.misspelt.c_str());
        for (int k = 0; k < count; ++k) {
            char16_t buffer[kOrthonSuggestionBufferUnits] = {};
            if (f.orthon->get(k, buffer)) list.emplace_back(buffer);
        }
        return list;
    });
}

void SuggestHunspell(benchmark::State& state, Language Fixture::*which, std::unique_ptr<Hunspell> Fixture::*checker)
{
    Fixture& f = Data();
    Hunspell& hunspell = *(f.*checker);
    MeasureSuggestions(state, f.*which, [&](const Language::Case& c) {
        std::vector<String> list;
        for (const std::string& s : hunspell.suggest(c.misspeltUtf8)) list.push_back(plat::Utf8ToUtf16(s));
        return list;
    });
}

void LoadOrthon(benchmark::State& state)
{
    for (auto _ : state) OrthonBinding binding;
}

// Loading, then one suggestion list per language: whatever the library prepares for
// suggestions counts here even when it waits for the first one.
void LoadOrthonThenSuggest(benchmark::State& state)
{
    const String english = u"recieve";
    const String russian = plat::Utf8ToUtf16("прривет");
    for (auto _ : state) {
        OrthonBinding binding;
        benchmark::DoNotOptimize(binding.find(english.c_str()));
        benchmark::DoNotOptimize(binding.find(russian.c_str()));
    }
}

void LoadHunspellBoth(benchmark::State& state)
{
    for (auto _ : state) {
        auto en = LoadHunspell(HUNSPELL_ENGLISH);
        auto ru = LoadHunspell(HUNSPELL_RUSSIAN);
        benchmark::DoNotOptimize(en.get());
        benchmark::DoNotOptimize(ru.get());
    }
}

} // namespace

BENCHMARK_CAPTURE(CheckOrthon, english, &Fixture::english)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CheckHunspell, english, &Fixture::english, &Fixture::hunspellEnglish)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CheckOrthon, russian, &Fixture::russian)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CheckHunspell, russian, &Fixture::russian, &Fixture::hunspellRussian)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SuggestOrthon, english, &Fixture::english)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(SuggestHunspell, english, &Fixture::english, &Fixture::hunspellEnglish)
    ->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(SuggestOrthon, russian, &Fixture::russian)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(SuggestHunspell, russian, &Fixture::russian, &Fixture::hunspellRussian)
    ->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(LoadOrthon)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadOrthonThenSuggest)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadHunspellBoth)->Unit(benchmark::kMillisecond);
