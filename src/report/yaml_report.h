#pragma once
// CYamlReport writes the inventory as YAML instead of HTML: the whole session, or only the
// changes since the previous run.
#include <fstream>
#include <string>

#include "changes/change_data.h"
#include "store/inventory_types.h"

class CYamlReport {
  public:
    CYamlReport() = default;
    CYamlReport(const CYamlReport&) = delete;
    CYamlReport& operator=(const CYamlReport&) = delete;

    // Creates (or empties) the output file; the template is not read.
    void Open(const std::wstring& templatePath, const std::wstring& outputPath, bool portable);
    void RenderFull(const SessionData& session);
    void RenderChanges(const ChangeData& changes);
    void Close();

  private:
    void Write(const std::wstring& document);

    std::wstring m_templatePath;
    std::wstring m_outputPath;
    std::ofstream m_output;
    std::wstring m_productName;
};

// A text as a double-quoted YAML scalar: quotes, backslashes and control characters escaped,
// so that any inventory value reads back as itself.
std::wstring YamlQuoted(const std::wstring& text);
