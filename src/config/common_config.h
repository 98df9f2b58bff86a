#pragma once
// What the program knows about where things live and about itself. CCommonConfig holds the
// data and keeps the recorded version in "inventory.ini"; the system-specific classes answer
// the platform questions.
#include <string>

class CCommonConfig {
  public:
    virtual int SaveRecordedVersion();
    virtual bool IsWow64() = 0;
    virtual bool IsRunningAsAdmin() = 0;
    virtual std::wstring GetMachineId() = 0;
    virtual int LoadRecordedVersion();
    virtual ~CCommonConfig() = default;

    // The licence is shown again whenever this version has not been run interactively yet.
    bool NeedsAgreement() const;

    std::wstring GetDataFolder() const { return m_dataFolder; }
    std::wstring GetOutputFolder() const { return m_outputFolder; }
    void SetOutputFolder(const std::wstring& folder) { m_outputFolder = folder; }

    int GetFileVersionMajor() const { return m_fileMajor; }
    int GetFileVersionMinor() const { return m_fileMinor; }
    int GetFileVersionRevision() const { return m_fileRevision; }
    int GetRecordedVersionMajor() const { return m_recordedMajor; }
    int GetRecordedVersionMinor() const { return m_recordedMinor; }
    int GetRecordedVersionRevision() const { return m_recordedRevision; }

  protected:
    CCommonConfig() = default;
    // Folders, own version, from the platform; the recorded version is left to the caller.
    void LoadPlatformAnswers();
    // Sets the recorded version from a text such as "1.0.32278".
    void SetRecordedVersion(const std::wstring& text);
    void RecordFileVersion();
    std::wstring FileVersionText() const;

    int m_fileMajor = 0;
    int m_fileMinor = 0;
    int m_fileRevision = 0;
    int m_recordedMajor = 0;
    int m_recordedMinor = 0;
    int m_recordedRevision = 0;
    std::wstring m_dataFolder;
    std::wstring m_outputFolder;
};
