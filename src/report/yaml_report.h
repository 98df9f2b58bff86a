#pragma once
// CYamlReport writes the inventory as YAML instead of HTML: the whole session, or only the
// changes since the previous run. The document is kept until Close, which replaces the
// previous report with it in one step.
#include <string>

#include "store/change_data.h"
#include "store/inventory_types.h"

class CYamlReport {
  public:
    CYamlReport() = default;
    CYamlReport(const CYamlReport&) = delete;
    CYamlReport& operator=(const CYamlReport&) = delete;

    // Takes the output path and forgets what was rendered before; neither file is touched
    // (the template is never read).
    void Open(const std::wstring& templatePath, const std::wstring& outputPath, bool portable);
    void RenderFull(const SessionData& session);
    void RenderChanges(const ChangeData& changes);
    // Writes what was rendered since Open, which is nothing after a cancel (an empty file),
    // into "<output>.tmp" beside the output and moves it over the output. True when the
    // output now holds it; false, with the previous output as it was, when it cannot be
    // written (a missing or read-only folder, a full disk) and when Open did not come first:
    // each Open allows one Close.
    bool Close();

  private:
    void Write(const std::wstring& document);

    std::wstring m_outputPath;
    std::wstring m_productName;
    std::string m_bytes;
    bool m_open = false;
};

// A text as a double-quoted YAML scalar that every YAML 1.1 and 1.2 reader reads back as the
// text: quotes and backslashes escaped, and every character outside YAML's printable set,
// with the line breaks NEL, LS and PS as \N, \L, \P and the byte-order mark as \uFEFF. A
// lone surrogate, which no UTF-8 text can hold, becomes U+FFFD as in the UTF-8 conversion.
std::wstring YamlQuoted(const std::wstring& text);

// A name as a mapping key: plain when it is a word that no reader takes for anything but
// text (letters, digits and "_", starting with a letter, not a boolean or null word of YAML
// 1.1), double-quoted otherwise.
std::wstring YamlKey(const std::wstring& name);
