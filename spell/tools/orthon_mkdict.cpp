// Build-time generator of the standard dictionaries, written with the library's own
// dictionary writers:
//   orthon-mkdict english WORDLIST OUT      one word a line, UTF-8 -> "ViZavizivu.riv"
//   orthon-mkdict russian DIC AFF UNMUNCH OUT
//                                           hunspell stems and affixes, expanded by
//                                           unmunch -> "QlRussia.dic"
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iconv.h>
#include <iostream>
#include <iterator>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "platform/base/system.h"
#include "spell/english_dictionary.h"
#include "spell/russian_word_list.h"

extern char** environ;

namespace {

[[noreturn]] void Fail(const std::string& message)
{
    std::cerr << "orthon-mkdict: " << message << "\n";
    std::exit(1);
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) Fail("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush()) Fail("cannot write " + path);
}

// Converts a whole text between two encodings; any character the target lacks is an error.
std::string Convert(const std::string& text, const std::string& from, const std::string& to)
{
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) Fail("iconv cannot convert " + from + " to " + to);
    std::string out(text.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* dst = out.data();
    size_t outLeft = out.size();
    if (iconv(cd, &in, &inLeft, &dst, &outLeft) == static_cast<size_t>(-1)) {
        iconv_close(cd);
        Fail("cannot convert the text from " + from + " to " + to + " at byte "
             + std::to_string(text.size() - inLeft));
    }
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The header date comes from the clock; SOURCE_DATE_EPOCH pins it for reproducible builds.
void PinClockForReproducibleBuilds()
{
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (!epoch || !*epoch) return;
    const std::int64_t seconds = std::strtoll(epoch, nullptr, 10);
    plat::SetManualClock(seconds * 1000);
}

int MakeEnglish(const std::string& wordList, const std::string& out)
{
    PinClockForReproducibleBuilds();
    CEnglishDictionary dict;
    dict.CreateEmpty();
    std::size_t kept = 0;
    for (const std::string& line : Lines(ReadText(wordList))) {
        // Only words the English speller is ever asked about, and that fit a record.
        if (line.empty() || line.size() > static_cast<size_t>(kEnglishMaxWordChars)) continue;
        const bool english = std::all_of(line.begin(), line.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '\'';
        });
        if (!english) continue;
        if (dict.Add(plat::AsciiToUtf16(line)) != kDictOk) Fail("cannot add " + line);
        ++kept;
    }
    if (kept == 0) Fail("no English words in " + wordList);
    if (dict.WriteTo(plat::Utf8ToUtf16(out)) != kDictOk) Fail("cannot write " + out);
    std::cout << "orthon-mkdict: " << kept << " English words -> " << out << "\n";
    return 0;
}

// The encoding named by the affix file's SET line (hunspell's default when it has none).
std::string AffixEncoding(const std::string& aff)
{
    for (const std::string& line : Lines(aff)) {
        if (line.rfind("SET", 0) == 0) {
            std::istringstream words(line.substr(3));
            std::string name;
            words >> name;
            if (!name.empty()) return name;
        }
    }
    return "ISO8859-1";
}

std::string ReplaceSetLine(const std::string& aff, const std::string& encoding)
{
    std::string out;
    bool replaced = false;
    for (const std::string& line : Lines(aff)) {
        if (!replaced && line.rfind("SET", 0) == 0) {
            out += "SET " + encoding + "\n";
            replaced = true;
        } else {
            out += line + "\n";
        }
    }
    return replaced ? out : "SET " + encoding + "\n" + out;
}

// Runs unmunch with its output in a file; its progress chatter goes nowhere.
void RunUnmunch(const std::string& unmunch, const std::string& dic, const std::string& aff,
                const std::string& out)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv = {const_cast<char*>(unmunch.c_str()), const_cast<char*>(dic.c_str()),
                               const_cast<char*>(aff.c_str()), nullptr};
    pid_t pid = 0;
    const int err = posix_spawn(&pid, unmunch.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (err != 0) Fail("cannot run " + unmunch);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) Fail("lost " + unmunch);
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) Fail(unmunch + " failed");
}

int MakeRussian(const std::string& dicPath, const std::string& affPath, const std::string& unmunch,
                const std::string& out)
{
    // unmunch matches affix conditions byte by byte, so with a multi-byte encoding every
    // condition on a Cyrillic letter fails and many forms (such as "пишу") are never
    // made. Expanding in KOI8-R, one byte a letter, yields every form.
    constexpr const char* kSingleByte = "KOI8-R";
    const std::string aff = ReadText(affPath);
    const std::string encoding = AffixEncoding(aff);
    const std::string work = plat::TempDirUtf8();
    const std::string dic8 = work + "ru.dic";
    const std::string aff8 = work + "ru.aff";
    const std::string expanded = work + "ru.words";
    WriteText(dic8, Convert(ReadText(dicPath), encoding, kSingleByte));
    WriteText(aff8, Convert(ReplaceSetLine(aff, kSingleByte), encoding, kSingleByte));
    RunUnmunch(unmunch, dic8, aff8, expanded);

    const plat::String text = [&] {
        const std::string utf16 = Convert(ReadText(expanded), kSingleByte, "UTF-16LE");
        plat::String s(utf16.size() / 2, u'\0');
        for (size_t k = 0; k < s.size(); ++k)
            s[k] = static_cast<char16_t>(static_cast<unsigned char>(utf16[2 * k])
                                         | (static_cast<unsigned char>(utf16[2 * k + 1]) << 8));
        return s;
    }();
    std::vector<plat::String> words;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(u'\n', start);
        if (end == plat::String::npos) end = text.size();
        plat::StringView w(text.data() + start, end - start);
        if (!w.empty() && w.back() == u'\r') w.remove_suffix(1);
        // Only words the Russian speller is ever asked about.
        const bool russian = !w.empty() && std::all_of(w.begin(), w.end(), [](char16_t c) {
            return c >= 0x0401 && c <= 0x045F;
        });
        if (russian) words.emplace_back(w);
        start = end + 1;
    }
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    if (words.empty()) Fail("unmunch gave no Russian words");

    CRussianWordList list;
    for (const plat::String& w : words) list.Add(w);
    if (!list.SaveTo(plat::Utf8ToUtf16(out))) Fail("cannot write " + out);
    std::cout << "orthon-mkdict: " << words.size() << " Russian words -> " << out << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "english") return MakeEnglish(args[1], args[2]);
    if (args.size() == 5 && args[0] == "russian") return MakeRussian(args[1], args[2], args[3], args[4]);
    std::cerr << "usage: orthon-mkdict english WORDLIST OUT\n"
                 "       orthon-mkdict russian DIC AFF UNMUNCH OUT\n";
    return 2;
}
