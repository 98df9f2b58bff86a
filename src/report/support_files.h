#pragma once
// CSupportFiles writes the files the program carries inside itself to disk: the report
// template into the data folder, and the style sheet and images that the HTML report refers
// to into "inventory_files" beside the report. Nothing here reports an error: a file that
// cannot be written only spoils the look of the report.
#include <string>

#include "app/run_flags.h"

// Resource ids that are read outside this class.
enum InventoryResource : int {
    kHtmlTemplateResource = 200,
    kLicenceResource = 213,
    kYamlTemplateResource = 214,
};

class CSupportFiles {
  public:
    // Both folders end with the path separator.
    CSupportFiles(std::wstring dataFolder, std::wstring outputFolder);

    // The template of the run's report kind, then, for HTML runs that are not portable, the
    // support files.
    void ExtractAll(const RunFlags& flags);
    void ExtractAll() { ExtractAll(GetRunFlags()); }

    // Writes one resource to one file, creating its folder with all missing parents.
    void WriteResourceFile(int id, const std::wstring& path, bool overwrite);

    // The resource as UTF-8 text; empty when the program does not carry it.
    static std::wstring LoadTextResource(int id);

  private:
    std::wstring m_dataFolder;
    std::wstring m_outputFolder;
};
