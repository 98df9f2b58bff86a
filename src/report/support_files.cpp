#include "report/support_files.h"

#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/resources.h"
#include "platform/services.h"
#include "util/utf.h"

namespace {

struct SupportFile {
    int id;
    const wchar_t* name;
};

// The files the HTML report refers to, in the order they are written.
constexpr SupportFile kSupportFiles[] = {
    {201, L"common.css"},
    {202, L"gray.gif"},
    {203, L"hd_20x20.gif"},
    {204, L"headerBGBlueGrad.png"},
    {205, L"help_green_20.gif"},
    {206, L"mirk.ico"},
    {207, L"navBarBG.png"},
    {208, L"header_inventory.gif"},
    {209, L"RoundRectBottomLeft.gif"},
    {210, L"RoundRectBottomRight.gif"},
    {211, L"RoundRectTopLeft.gif"},
    {212, L"RoundRectTopRight.gif"},
    {215, L"blue_arrow.gif"},
    {216, L"externalLink.png"},
    {217, L"add.gif"},
    {218, L"del.gif"},
    {219, L"ref.gif"},
    {220, L"red.gif"},
    {221, L"green.gif"},
    {222, L"yellow.gif"},
};

}  // namespace

CSupportFiles::CSupportFiles(std::wstring dataFolder, std::wstring outputFolder)
    : m_dataFolder(std::move(dataFolder)), m_outputFolder(std::move(outputFolder)) {}

std::wstring CSupportFiles::ExtractAll(const RunFlags& flags) {
    const std::wstring tpl =
        m_dataFolder + (flags.yaml ? L"inventory.yaml.tpl" : L"inventory.html.tpl");
    if (!WriteResourceFile(flags.yaml ? kYamlTemplateResource : kHtmlTemplateResource, tpl, true))
        return L"The report template could not be written to '" + tpl + L"'.";
    // A portable report takes its support files from the web; a YAML report has none.
    if (flags.portable || flags.yaml)
        return {};
    platform::CreateFolders(m_outputFolder);
    std::vector<platform::NamedBytes> files;
    for (const SupportFile& file : kSupportFiles)
        files.push_back({file.name, platform::ProgramResource(file.id)});
    const std::wstring problem =
        platform::WriteIntoOwnSubfolder(m_outputFolder, L"inventory_files", files);
    if (problem.empty())
        return {};
    return L"The report's support folder '" + m_outputFolder + L"inventory_files' " + problem +
           L", so no report was written. Remove it, or choose another folder for the "
           L"report.";
}

bool CSupportFiles::WriteResourceFile(int id, const std::wstring& path, bool overwrite) {
    if (!overwrite && platform::FileExists(path))
        return true;
    const std::size_t slash =
        path.find_last_of(std::wstring(L"/") + platform::GetHost().PathSeparator());
    if (slash != std::wstring::npos && slash > 0) {
        const std::wstring folder = path.substr(0, slash);
        if (!platform::IsDirectory(folder))
            platform::CreateFolders(folder);
    }
    const std::string_view bytes = platform::ProgramResource(id);
    return bytes.empty() || platform::WriteFileReplacing(path, std::string(bytes));
}

std::wstring CSupportFiles::LoadTextResource(int id) {
    return Utf8ToWide(platform::ProgramResource(id));
}
