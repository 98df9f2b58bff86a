#include "app/command_line.h"

#include <span>
#include <utility>

#include "platform/environment.h"
#include "util/text.h"

namespace {

enum class Option {
    None,
    Path,
    Silent,
    Portable,
    Yaml,
    Diff,
    Help,
    Version,
    Machine,
    About,
    Licence
};

using Spelling = std::pair<const wchar_t*, Option>;

Option Spelled(std::span<const Spelling> spellings, const std::wstring& word) {
    for (const auto& [spelling, option] : spellings) {
        if (word == spelling)
            return option;
    }
    return Option::None;
}

// The names after the option's first character, in the order they are tried. "machine" is not
// in the Windows help text: a described machine is a tool for testing and support.
Option NamedOption(const std::wstring& name) {
    static const Spelling kNames[] = {
        {L"path", Option::Path},       {L"silent", Option::Silent}, {L"portable", Option::Portable},
        {L"yaml", Option::Yaml},       {L"diff", Option::Diff},     {L"?", Option::Help},
        {L"machine", Option::Machine},
    };
    return Spelled(kNames, name);
}

// Posix spellings on top of the Windows ones: "--name", and "--help", "--version",
// "--about", "--license" and "--machine".
Option PosixOption(const std::wstring& word) {
    static const Spelling kWords[] = {
        {L"--about", Option::About},     {L"--license", Option::Licence},
        {L"--licence", Option::Licence}, {L"--help", Option::Help},
        {L"-help", Option::Help},        {L"--version", Option::Version},
        {L"-version", Option::Version},  {L"--machine", Option::Machine},
        {L"-machine", Option::Machine},
    };
    if (const Option option = Spelled(kWords, word); option != Option::None)
        return option;
    const std::size_t dashes = word.rfind(L"--", 0) == 0 ? 2 : 1;
    return NamedOption(word.substr(dashes));
}

void AppendPathWord(std::wstring& pathText, const std::wstring& word) {
    if (!pathText.empty())
        pathText += L' ';
    pathText += word;
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(const std::wstring& text) {
    return Split(text, L' ');
}

CommandLine ParseCommandLine(const std::vector<std::wstring>& words, CommandDialect dialect) {
    CommandLine result;
    bool collectingPath = false;
    bool expectingMachine = false;
    for (const auto& word : words) {
        const bool posix = dialect == CommandDialect::Posix;
        bool isOption = !word.empty() && (word[0] == L'-' || word[0] == L'/');
        Option option = Option::None;
        if (isOption && posix) {
            // "--path=DIR" is the form many terminal users type.
            if (word.rfind(L"--path=", 0) == 0) {
                collectingPath = true;
                AppendPathWord(result.pathText, word.substr(7));
                continue;
            }
            if (word.rfind(L"--machine=", 0) == 0) {
                collectingPath = expectingMachine = false;
                result.machineFile = word.substr(10);
                continue;
            }
            option = word[0] == L'/' ? NamedOption(word.substr(1)) : PosixOption(word);
            isOption = word[0] == L'-' || option != Option::None;
        } else if (isOption) {
            option = word == L"--help" ? Option::Help : NamedOption(word.substr(1));
        }
        if (!isOption) {
            if (expectingMachine)
                result.machineFile = word;
            else if (collectingPath)
                AppendPathWord(result.pathText, word);
            expectingMachine = false;
            continue;
        }
        collectingPath = expectingMachine = false;
        switch (option) {
            case Option::Path:
                collectingPath = true;
                break;
            case Option::Silent:
                result.flags.silent = true;
                break;
            case Option::Portable:
                result.flags.portable = true;
                break;
            case Option::Yaml:
                result.flags.yaml = true;
                break;
            case Option::Diff:
                result.flags.diff = true;
                break;
            case Option::Help:
                result.help = true;
                break;
            case Option::Version:
                result.version = true;
                break;
            case Option::Machine:
                expectingMachine = true;
                break;
            case Option::About:
                result.about = true;
                break;
            case Option::Licence:
                result.licence = true;
                break;
            case Option::None:
                break;
        }
    }
    return result;
}

std::wstring ExpandPathArgument(const std::wstring& text, wchar_t separator) {
    std::wstring path = text;
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
        path = path.substr(1, path.size() - 2);
    std::wstring result;
    const auto pieces = Split(path, L'%');
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i % 2 == 0) {
            result += pieces[i];
        } else if (auto value = platform::EnvironmentValue(pieces[i])) {
            result += *value;
        } else {
            result += L'%' + pieces[i] + L'%';
        }
    }
    if (result.empty())
        return result;
    // Windows takes either slash as a separator; elsewhere a backslash is part of a name.
    const bool endsWithSeparator =
        result.back() == separator || (separator == L'\\' && result.back() == L'/');
    if (!endsWithSeparator)
        result += separator;
    return result;
}
