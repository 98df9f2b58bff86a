#include "config/common_config.h"

#include "platform/files.h"
#include "platform/services.h"
#include "util/numbers.h"
#include "util/text.h"
#include "util/utf.h"

namespace {

const wchar_t kIniName[] = L"inventory.ini";

}  // namespace

void CCommonConfig::LoadPlatformAnswers() {
    platform::Host& host = platform::GetHost();
    m_dataFolder = host.DataFolder();
    m_outputFolder = host.TempFolder();
    // Without a per-user folder the database and template would land in whatever the
    // current folder is; a folder under the temp path is at least predictable and writable.
    if (m_dataFolder.empty() && !m_outputFolder.empty())
        m_dataFolder = m_outputFolder + L"Fennock" + host.PathSeparator();
    const platform::FileVersion version = host.OwnFileVersion();
    m_fileMajor = version.major;
    m_fileMinor = version.minor;
    m_fileRevision = version.revision;
}

void CCommonConfig::SetRecordedVersion(const std::wstring& text) {
    const auto parts = Split(text, L'.');
    if (parts.size() > 2) {
        m_recordedMajor = TextToInt(parts[0]);
        m_recordedMinor = TextToInt(parts[1]);
        m_recordedRevision = TextToInt(parts[2]);
    }
}

void CCommonConfig::RecordFileVersion() {
    m_recordedMajor = m_fileMajor;
    m_recordedMinor = m_fileMinor;
    m_recordedRevision = m_fileRevision;
}

std::wstring CCommonConfig::FileVersionText() const {
    return IntToText(m_fileMajor) + L"." + IntToText(m_fileMinor) + L"." +
           IntToText(m_fileRevision);
}

bool CCommonConfig::NeedsAgreement() const {
    return m_recordedMajor != m_fileMajor || m_recordedMinor != m_fileMinor ||
           m_recordedRevision != m_fileRevision;
}

int CCommonConfig::SaveRecordedVersion() {
    RecordFileVersion();
    platform::CreateFolders(m_dataFolder);
    platform::WriteFileReplacing(m_dataFolder + kIniName,
                                 "Version=" + WideToUtf8(FileVersionText()) + "\n");
    return 0;
}

int CCommonConfig::LoadRecordedVersion() {
    m_recordedMajor = m_recordedMinor = m_recordedRevision = 0;
    std::string contents;
    if (!platform::ReadWholeFile(m_dataFolder + kIniName, contents))
        return 0;
    for (const auto& line : Split(Utf8ToWide(contents), L'\n')) {
        const auto parts = Split(line, L'=');
        if (parts.size() != 2)
            continue;
        if (ToLower(Trim(parts[0], kBlankChars)) == L"version")
            SetRecordedVersion(Trim(parts[1], kBlankChars));
    }
    return 0;
}
